#include "control/data_folder.hpp"

#include "common/text.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_run.hpp"

namespace orvel {

std::string data_folder() {
  std::string_view r = trimmed(var_cfg.ruta);
  while (!r.empty() && r.front() == ' ') r.remove_prefix(1);
  return std::string(r);
}

std::string data_folder_path(std::string_view name) { return data_folder() + std::string(name); }

std::string input_path(std::string_view name) {
  if (var_run.datafolder__same_other == 2) return data_folder_path(name);
  return std::string(name);
}

}  // namespace orvel
