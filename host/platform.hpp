// The boundary between host/'s shared code and the operating system. Shared files call only
// these; linux_*.cpp implement them, and another platform would be new files. Texts crossing
// this boundary are UTF-8 unless a comment says otherwise.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/dialogs.hpp"

namespace platform {

// --- console ------------------------------------------------------------------------------------

// Reads the terminal's encoding from the locale (later calls do it on demand).
void console_setup();
// The command line as the user typed it: Linux's argv as given; on Windows the wide command
// line as UTF-8, so a path outside the ANSI code page arrives whole.
std::vector<std::string> command_line(int argc, char** argv);
// Windows-1252 text in the terminal's encoding, and a terminal text (an argument) in
// Windows-1252 (unmappable characters '?', bytes invalid in the terminal's encoding kept).
std::string console_encode(std::string_view cp1252);
std::string console_decode(std::string_view local);
// Writes a Windows-1252 line (its line feed added here) where the system has a way of its own:
// the console's wide output, or the lines kept for a program without a console. False when the
// caller is to write the line's bytes to `stream` itself (a file, a pipe, a terminal).
bool console_write(std::FILE* stream, std::string_view cp1252_line);
// Processes sharing the console (more than one: started from a shell that stays).
int console_process_count();
void console_hide();
// Started from the desktop (a file dropped on the program, "Open with", a shortcut) rather than
// from a shell or a script: a console made for this process alone, or none and no output.
bool started_from_desktop();
// The user-interface locale name ("fr_FR.UTF-8"); "" when none is set.
std::string ui_locale();

// --- environment, executable, files -------------------------------------------------------------
// Paths are UTF-8 (host/files.hpp says why); these functions convert them for the system.

// The separators of a path, the one this system writes first.
std::string_view path_separators();
std::filesystem::path native_path(std::string_view path);
std::string utf8_path(const std::filesystem::path& path);
std::FILE* open_file(std::string_view path, const char* mode);

// The variable's value; nullopt when unset.
std::optional<std::string> get_env(std::string_view name);
// The login name of the user ("" when unknown).
std::string user_name();
// Full path of the running executable; "" when unknown.
std::string executable_path();
// Modification time in seconds since the epoch; -1 when missing.
long long file_mtime(const std::string& path);
// The file a write to `target` reaches: the end of a symbolic link, else `target` itself.
std::string write_target(const std::string& target);
// True when `path` exists and is no regular file (a device, a pipe, a folder).
bool is_special_file(const std::string& path);
// Creates an empty file for writing next to `target` (same folder, hidden unique name) with the
// permissions `target` has, or those a new file gets; sets `temp` to its path. nullptr when it
// cannot be created.
std::FILE* create_file_beside(const std::string& target, std::string& temp);
// Replaces `target` by `source` in one step (both in the same folder), also when `target`
// exists; false (both left as they were) when it cannot.
bool replace_file(const std::string& source, const std::string& target);
// Removes a file create_file_beside made (until then, an interrupted run removes it too).
void remove_temp_file(const std::string& temp);
// Starts writing what has been written to `f` (flushed) out to disk, without waiting for it;
// nothing where the system has no such call.
void start_write_out(std::FILE* f);
// The system's words for why the last file call failed ("Permission denied", "Access is
// denied"), UTF-8; "" when it gave no reason. Call it before anything else touches the error.
std::string last_error_text();
// Local time of day in milliseconds since midnight.
int time_of_day_ms();

// --- clipboard ----------------------------------------------------------------------------------

enum class ClipboardFailure { none, open, write };
ClipboardFailure clipboard_write(std::string_view utf8);
// nullopt when no clipboard can be reached; an empty text when it holds no text.
std::optional<std::string> clipboard_read(std::size_t max_bytes);

// --- dialogs ------------------------------------------------------------------------------------

// Each returns false when no native dialog can be shown (no display, no tool, or disabled);
// the caller then falls back to the console.
bool message_box(std::string_view title, std::string_view text, DialogButtons buttons,
                 DialogIcon icon, int& answer);
enum class FileDialogKind { open, save, folder };
bool file_dialog(FileDialogKind kind, std::string_view title, std::string_view default_path,
                 const std::vector<std::string>& patterns, std::string_view description,
                 std::optional<std::string>& chosen);
bool color_dialog(std::string_view title, std::string_view default_hex,
                  std::optional<std::string>& chosen);

// --- modules ------------------------------------------------------------------------------------

// Opens the module at `path` (file system encoding) with every symbol bound now, so a missing
// one is a message here rather than a crash later, and finds the function `name` in it.
// nullptr with `error` set when either fails.
using ModuleFunction = void (*)();
ModuleFunction module_entry(const std::string& path, const char* name, std::string& error);

}  // namespace platform
