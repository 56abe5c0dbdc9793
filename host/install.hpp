// Simulator installation discovery: which versions (2, 3) are installed, their install,
// user-files and pilots folders, and which one is active. Fills the installation fields of
// common_data (include/common_data.hpp). Paths follow host/files.hpp's rule (UTF-8).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// 3 when version 3 is installed, else 2 when version 2 is, else 0; fills the fields.
int check_volaro_install(std::string_view msgpltfldr);
// check_volaro_install, and when nothing is installed the "no installation" message through
// error_message_tit with `title`, and in the log. True when installed.
bool require_volaro_install(std::string_view title, bool qline);
// The terrain header of landscape `name` (a folder name) under the install folder:
// Landscapes/NAME/NAME.trn, names matched without regard to case as Windows does (an exact match
// wins). "" when there is no such file.
std::string landscape_header(std::string_view install, std::string_view name);
// Decides the active version and copies its folders into vlroinstpath/vlrorootpath/vlropilpath.
void get_active_volaro_version();
// The installed landscapes: the folders under the landscapes folder that hold NAME/NAME.trn, as
// text, in the order Windows lists them. False (the user was told) when nothing is installed.
bool installed_landscapes(std::vector<std::string>& names, bool qline);
// The major version read from the simulator's own log (0 when none); `path` = install folder.
int get_volaro_inst_dir(int nc, std::string& path, bool silent);
int get_volaro_2_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot,
                      std::string& volarouserpath);
int get_volaro_user_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot, bool qdocreg,
                         std::string& volarouserpath);
// Folder of the running executable, ending with a separator; "" when unknown.
std::string get_inst_path();
// Length of the environment variable's value (0 when unset); `value` receives it.
std::size_t MyGetEnv(std::string_view name, std::string& value);
