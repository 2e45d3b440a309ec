// Generates the documents of a repository through the installed library
// alone: creates the data-dictionary class by its ProgID, sets the settings
// of the demo run by name and calls GenerateXMLFile.
//
//   consumer REPOSITORY XML_PATH
//
// Prints the result, NoOfXMLGenerated and ListOfXMLGenerated; the log goes
// to standard error. Exit status 0 when GenerateXMLFile returned True.
#include <movx20xmlgen/dispatch.h>
#include <movx20xmlgen/error.h>
#include <movx20xmlgen/text_stream.h>
#include <movx20xmlgen/variant.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// The demo's profile and range: every table from tcitm000 to tcord999, every
// mapping status.
void SetDemoSettings(mx::DispatchObject& generator,
                     const std::string& repository,
                     const std::string& xml_path) {
  generator.PutProperty("ConnectionString", "Data Source=" + repository);
  generator.PutProperty("MigrationProfile", mx::Variant(20));
  generator.PutProperty("PackageFrom", "tc");
  generator.PutProperty("ModuleFrom", "itm");
  generator.PutProperty("TableFrom", "000");
  generator.PutProperty("PackageTo", "tc");
  generator.PutProperty("ModuleTo", "ord");
  generator.PutProperty("TableTo", "999");
  generator.PutProperty("XMLPath", xml_path);
  generator.PutProperty("XMLGenerationOption", mx::Variant(5));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: consumer REPOSITORY XML_PATH\n";
    return 2;
  }
  try {
    std::shared_ptr<mx::DispatchObject> generator =
        mx::CreateObject("MOVX20XMLGenerator.ClsXMLGenerator");
    SetDemoSettings(*generator, argv[1], argv[2]);
    auto log = std::make_shared<mx::StdioTextStream>(stderr);
    generator->PutRefProperty(
        "LogFileName", mx::Variant(std::shared_ptr<mx::DispatchObject>(
                           std::make_shared<mx::TextStreamObject>(log))));

    std::vector<mx::Variant> no_args;
    const bool result =
        generator->Invoke("GenerateXMLFile", mx::InvokeKind::kMethod, no_args)
            .ToBool();
    log->Close();
    std::cout << "GenerateXMLFile: " << (result ? "True" : "False") << "\n"
              << "NoOfXMLGenerated: "
              << generator->GetProperty("NoOfXMLGenerated").ToInt32() << "\n"
              << "ListOfXMLGenerated: "
              << generator->GetProperty("ListOfXMLGenerated").ToText() << "\n";
    if (!result) {
      std::cerr << generator->GetProperty("ErrorDescription").ToText() << "\n";
    }
    return result ? 0 : 1;
  } catch (const mx::VbError& e) {
    std::cerr << "consumer: error " << e.number() << ": " << e.description()
              << "\n";
    return 1;
  }
}
