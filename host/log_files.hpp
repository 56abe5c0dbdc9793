// Where the logs are written: in the current folder, as they always were; when it cannot be
// written (a program folder a user may not write to, a read-only medium), in the user's own log
// folder (user_dirs.hpp), so that no run stops or goes silent for want of a log.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Opens the log `name` in text mode (CR LF line ends on Windows): "a" to append, "w" to
// rewrite. An appended log past log_rotate_bytes is first moved to NAME.old.EXT (one older
// copy kept). nullptr when neither folder takes it.
std::FILE* open_log_file(std::string_view name, const char* mode);
// Where `name` was last written in this run (the name itself when not yet opened).
std::string log_file_path(std::string_view name);
// `name` made absolute against the current folder: which log a name means now.
std::string log_file_key(std::string_view name);
// A window's run (the converter or the file page, however it was started) keeps its logs in
// the user's log folder from now on, never beside the pilot's files or in the home folder; a
// command-line run keeps them in the current folder. Logs already opened stay where they are.
void keep_logs_in_user_folder();
// Forgets the folders chosen in this run, and the window's rule (tests).
void reset_log_files();

inline constexpr std::uintmax_t log_rotate_bytes = std::uintmax_t(1) << 20;
