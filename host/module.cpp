#include "host/module.hpp"

#include "host/files.hpp"
#include "host/install.hpp"
#include "host/platform.hpp"

ModuleLookup load_module_entry(std::string_view file_name, const char* entry_name) {
    const std::string dir = get_inst_path();
    const std::string here = dir + std::string(file_name);
    const std::string installed = path_join(path_join(dir, "../lib/varnix"), file_name);
    ModuleLookup found;
    found.path = !file_exists(here) && file_exists(installed) ? installed : here;
    found.entry = platform::module_entry(found.path, entry_name, found.error);
    return found;
}
