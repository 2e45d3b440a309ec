#include "cli/decipher_command.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include "cli/arguments.h"
#include "cli/usage.h"
#include "movx20xmlgen/error.h"
#include "platform/encoding.h"
#include "platform/env.h"
#include "xml/cipher.h"

namespace mx::cli {

namespace {

constexpr char kUsage[] = "usage: movx20xmlgen decipher FILE [--out FILE]";

struct DecipherOptions {
  std::string input;
  std::optional<std::string> output;
};

DecipherOptions ParseOptions(std::vector<std::string> args) {
  DecipherOptions o;
  bool have_input = false;
  Arguments a(std::move(args));
  while (!a.Done()) {
    const std::string arg = a.Take();
    if (arg == "--out") {
      o.output = a.TakeValue(arg);
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option '" + arg + "'; " + kUsage);
    } else if (!have_input) {
      o.input = arg;
      have_input = true;
    } else {
      throw UsageError(kUsage);
    }
  }
  if (!have_input || o.input.empty() || (o.output && o.output->empty())) {
    throw UsageError(kUsage);
  }
  return o;
}

// The path the file system sees for a command-line path: the Env takes
// Windows-1252 and converts it back, so a character that the code page lacks
// reaches the file system transliterated.
std::filesystem::path SystemPath(const std::string& argument) {
  return std::filesystem::path(Win1252ToUtf8(ComponentText(argument)));
}

// True when both name one file: the same name, a link to it or a hard link.
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(SystemPath(a), SystemPath(b), ec) && !ec;
}

void ReportFailure(const std::string& what, const std::string& path,
                   const VbError& e) {
  std::cerr << "movx20xmlgen: cannot " << what << " " << path << ": "
            << e.number() << "-" << Win1252ToUtf8(e.description()) << "\n";
}

bool WriteToStandardOutput(const std::string& bytes) {
  std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::cout.flush();
  if (std::cout.good()) return true;
  std::cerr << "movx20xmlgen: cannot write the plain text to standard output\n";
  return false;
}

}  // namespace

int DecipherCommand(std::vector<std::string> args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << DecipherHelp();
    return kExitTrue;
  }
  const DecipherOptions o = ParseOptions(std::move(args));
  if (o.output && SameFile(o.input, *o.output)) {
    throw UsageError("--out " + *o.output + " is the input file " + o.input +
                     "; decipher never writes over its input");
  }

  Env* env = Env::Default();
  std::string enciphered;
  try {
    enciphered = env->ReadFile(ComponentText(o.input));
  } catch (const VbError& e) {
    ReportFailure("read", o.input, e);
    return kExitFalse;
  }
  if (enciphered.size() < kCipherSaltLength) {
    std::cerr << "movx20xmlgen: " << o.input << " is not an enciphered file: "
              << "it holds " << enciphered.size() << " bytes, fewer than the "
              << kCipherSaltLength
              << " bytes of the salt it would start with\n";
    return kExitFalse;
  }
  const std::string plain = DecipherText(enciphered);

  if (!o.output) return WriteToStandardOutput(plain) ? kExitTrue : kExitFalse;
  try {
    env->WriteFile(ComponentText(*o.output), plain);
  } catch (const VbError& e) {
    ReportFailure("write", *o.output, e);
    return kExitFalse;
  }
  return kExitTrue;
}

}  // namespace mx::cli
