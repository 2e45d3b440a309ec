#include "xml/mscript_xml.h"

namespace mx::dd {

// Until M-script documents are built, a member fails with a line that says
// so, and the run counts it among the errors.
bool Create_MScript_XML(GeneratorContext& ctx, const ConversionObject& object) {
  ctx.ReportOperationError(
      438, "The M-script builder is missing: conversion object " +
               object.TableCode() +
               " is an M-script member and cannot be written yet");
  return false;
}

}  // namespace mx::dd
