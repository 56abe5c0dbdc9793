// A registry text file held in memory: Wine's user.reg ("WINE REGISTRY Version 2"), and regedit
// exports ("REGEDIT4" in the ANSI code page, "Windows Registry Editor Version 5.00" in UTF-16LE
// with a BOM, or UTF-8). Keys are relative to HKEY_CURRENT_USER; key and value names match
// without case. Texts come back as Windows-1252.
//
// Lookups scan only the key lines of the file and remember the keys they found, so a large
// user.reg costs one read and a few fast scans, not a parse of everything.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Value types, numbered as in the Windows registry.
inline constexpr int reg_sz = 1, reg_expand_sz = 2, reg_binary = 3, reg_dword = 4, reg_multi_sz = 7;

struct RegValue {
    int type = 0;
    // Strings as Windows-1252 text (multi-strings NUL-separated), dwords as decimal text, other
    // types as their bytes.
    std::string data;
};

class RegFile {
  public:
    // Takes the file's bytes; false when they are not a registry file.
    bool load(std::string bytes);
    bool loaded() const { return format_ != Format::none; }
    // Value `name` ("" or "@": the key's default value) of `key` ("Software\Vendor\App", trailing
    // "\" allowed). False when the key or the value is missing; `key_found` tells which.
    bool query(std::string_view key, std::string_view name, RegValue& value, bool& key_found) const;

  private:
    enum class Format { none, wine, regedit4, regedit5 };
    struct Span {
        std::string key;  // upper-cased
        std::size_t begin = 0, end = 0;
        bool found = false;
    };
    Span find_key(std::string_view key) const;
    bool key_line_is(std::string_view line, std::string_view want) const;
    bool next_char(std::string_view s, std::size_t& pos, char& c) const;
    std::string unescape(std::string_view s, std::size_t& pos, char close) const;
    bool parse_data(std::size_t at, std::size_t end, RegValue& value) const;
    std::string_view line_at(std::size_t pos, std::size_t& next) const;

    Format format_ = Format::none;
    std::string text_;                            // the file as Windows-1252 / ASCII
    mutable std::vector<Span> spans_;             // keys looked up so far
    mutable std::vector<std::size_t> key_lines_;  // offsets of the key lines, on first lookup
    mutable bool indexed_ = false;
};

// RdUsrReg's answer from a store file: the status codes of host/registry.hpp, `outval` set
// only when the value was read.
int read_store_value(const RegFile& file, std::string_view subkey, std::string_view name,
                     std::string& outval);
