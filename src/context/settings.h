// The settings of the two generator classes as they are stored (the storing
// rules live with the classes). A run reads them and never changes them.
#ifndef MX_CONTEXT_SETTINGS_H_
#define MX_CONTEXT_SETTINGS_H_

#include <cstdint>
#include <string>

namespace mx {

// The settings of both classes, as stored (the storing rules live with the
// classes). Members that one class lacks stay at their defaults there.
struct GeneratorSettings {
  int32_t migration_profile = 0;
  std::string package_from, module_from, table_from;
  std::string package_to, module_to, table_to;
  std::string connection_string;
  std::string xml_path;
  bool include_2gb_check = false;
  int32_t xml_generation_option = 0;
  std::string status_filter;
  std::string user_name;
  std::string list_of_mapping_objects_selected;
  bool traverse_generation = false;
  bool consider_checked_out_versions = false;
  bool split_vshells = false;
  std::string schema_ini_path;
};

}  // namespace mx

#endif  // MX_CONTEXT_SETTINGS_H_
