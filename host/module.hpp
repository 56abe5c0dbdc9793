// Parts of the program kept in modules (shared objects) and opened only when a run needs them:
// the window stack is one, so a command-line run never maps GLFW, OpenGL or FreeType.
#pragma once

#include <string>
#include <string_view>

// The function a module offers the program: it takes nothing and returns when its work is done.
using ModuleEntry = void (*)();

struct ModuleLookup {
    ModuleEntry entry = nullptr;  // nullptr when the module could not be opened or lacks it
    std::string path;             // the file opened, else where it was looked for first
    std::string error;            // the system's reason when entry is nullptr
};

// Opens `file_name` next to the executable, else in ../lib/varnix/ beside its folder (the
// installed layout), and finds the function `entry_name` in it. The module stays open until the
// process ends.
ModuleLookup load_module_entry(std::string_view file_name, const char* entry_name);
