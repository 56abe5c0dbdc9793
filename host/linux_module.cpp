// Modules on Linux: dlopen.
#include <dlfcn.h>

#include <string>

#include "host/platform.hpp"

namespace {

// dlerror's text without the path it starts with: the caller names the file itself.
std::string reason(const std::string& path, const char* fallback) {
    const char* why = dlerror();
    std::string text = why ? why : fallback;
    if (text.starts_with(path + ": ")) text.erase(0, path.size() + 2);
    return text;
}

}  // namespace

namespace platform {

ModuleFunction module_entry(const std::string& path, const char* name, std::string& error) {
    // The module's undefined symbols are the program's own (host, util, geo): the executable
    // exports them, so they exist once in the process.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        error = reason(path, "cannot be opened");
        return nullptr;
    }
    void* entry = dlsym(module, name);
    if (!entry) {
        error = reason(path, "no entry point");
        return nullptr;
    }
    return reinterpret_cast<ModuleFunction>(entry);
}

}  // namespace platform
