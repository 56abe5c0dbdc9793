// The replacement registry store: HKEY_CURRENT_USER values read from a registry text file.
//
// The store is VARNIX_REGISTRY, else $WINEPREFIX/user.reg, else ~/.wine/user.reg. The reader
// understands Wine's user.reg and regedit exports (REGEDIT4 ANSI, version 5 UTF-16LE). Key and
// value names match case-insensitively. Values come back as Windows-1252 text.
#pragma once

#include <string>
#include <string_view>

// Status codes of RdUsrReg (the Windows ones it replaces).
inline constexpr int reg_ok = 0;
inline constexpr int reg_file_not_found = 2;  // no such key or value
inline constexpr int reg_no_store = 3;        // no store file could be read

// Reads value `name` of key `subkey` (relative to HKEY_CURRENT_USER, "\" separators, a trailing
// "\" allowed). 0 when read, else the failing status. String values come back as text,
// dword values as their decimal text.
int RdUsrReg(std::string_view subkey, std::string_view name, std::string& outval);

// The store file in use (after the environment rules above); empty when none.
std::string registry_store_path();
// The Wine prefix that holds the store ("" for a hand-written store outside a prefix).
std::string registry_prefix_dir();

// Maps a Windows path read from the store ("C:\x\y") to a host path through the prefix's
// dosdevices links; a path that is already an absolute POSIX path is returned as it is.
// Returns "" when the drive maps to nothing.
std::string map_windows_path(std::string_view path);

// Drops the cached store (tests that change the environment between reads).
void registry_reset();
