// The inputs of one document: where its mapping was found (profile and
// working version), its target table, the profile's applications, and the
// conversion object's pre-condition text and source-table list.
#ifndef MX_CONTEXT_CONVERSION_OBJECT_H_
#define MX_CONTEXT_CONVERSION_OBJECT_H_

#include <cstdint>
#include <string>

#include "platform/vb_text.h"

namespace mx {

// How a class holds a table number: the data-dictionary class fits it to 3
// characters, the legacy class keeps it at its full length.
enum TableNumberWidth { kFixedTableNumber, kFullTableNumber };

struct ConversionObject {
  int32_t profile = 0;
  std::string vers, rele, cust;  // fixed width 4, 2, 4
  std::string cpac, cmod;
  std::string sapp, tapp;
  std::string flno;
  std::string prtx;  // pre-condition text
  std::string stbl;  // source-table list

  // T: package + module + table number as stored; U: the same upper-cased.
  std::string TableCode() const { return cpac + cmod + flno; }
  std::string UpperTableCode() const { return vb::UCase(TableCode()); }

  bool operator==(const ConversionObject&) const = default;
};

}  // namespace mx

#endif  // MX_CONTEXT_CONVERSION_OBJECT_H_
