// HKEY_CURRENT_USER values, read only. On Windows the system's registry, unless VARNIX_REGISTRY
// names a store file; on Linux always a registry text file, the replacement store.
//
// The store is VARNIX_REGISTRY, else (Linux) $WINEPREFIX/user.reg, else ~/.wine/user.reg, read
// once per process. The reader understands Wine's user.reg and regedit exports (REGEDIT4 ANSI,
// version 5 UTF-16LE). Key and value names match case-insensitively. Values come back as
// Windows-1252 text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Status codes of RdUsrReg (the Windows ones it replaces).
inline constexpr int reg_ok = 0;
inline constexpr int reg_file_not_found = 2;  // no such key or value
inline constexpr int reg_no_store = 3;        // no store file could be read
inline constexpr int reg_more_data = 234;     // longer than the 255-byte value buffer

// Reads value `name` of key `subkey` (relative to HKEY_CURRENT_USER, "\" separators, a trailing
// "\" allowed). 0 when read, else the failing status. String values come back as text (a
// multi-string as its first string), dword values as their decimal text, others as bytes.
int RdUsrReg(std::string_view subkey, std::string_view name, std::string& outval);

// True when values come from the system's own registry (Windows without VARNIX_REGISTRY).
bool registry_is_system();
// The store file in use (after the environment rules above), a path; empty when none.
std::string registry_store_path();
// The Wine prefix that holds the store ("" for a hand-written store outside a prefix).
std::string registry_prefix_dir();

// Maps a Windows path read from the store ("C:\x\y", Windows-1252 text) to a path through the
// prefix's dosdevices links (drive_c for C: when there is no link), matching names without case as
// Windows does; a path that is already an absolute POSIX path is kept, backslashes becoming
// slashes. Returns "" when the drive maps to nothing.
std::string map_windows_path(std::string_view path);

// An environment variable as programs inside the prefix see it: the prefix's "Volatile
// Environment" and "Environment" keys, and USERPROFILE = C:\users\<user> as Wine sets it.
// nullopt outside a prefix or when unknown.
std::optional<std::string> prefix_environment(std::string_view name);

// Drops the cached store (tests that change the environment between reads).
void registry_reset();
