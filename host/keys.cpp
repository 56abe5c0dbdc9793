#include "host/keys.hpp"

#include <string_view>

#include "util/numbers.hpp"

namespace {

constexpr int extended = 0x100;
constexpr std::size_t max_name = 32;

struct ScanKey {
    int scan;               // as Windows reports it
    int evdev;              // the Linux input layer's code of the same key, 0 none
    std::string_view name;  // as a US keyboard layout gives it on Windows, "" none
};

// Every key of a PC keyboard the program can name or receive. Set-1 codes up to 88 equal the
// evdev codes, but Num Lock and Pause share the make code 0x45: Windows tells Num Lock by the
// extended flag, and saved values written there carry that convention.
constexpr ScanKey scan_keys[] = {
    {0x01, 1, "Esc"},
    {0x02, 2, "1"},
    {0x03, 3, "2"},
    {0x04, 4, "3"},
    {0x05, 5, "4"},
    {0x06, 6, "5"},
    {0x07, 7, "6"},
    {0x08, 8, "7"},
    {0x09, 9, "8"},
    {0x0A, 10, "9"},
    {0x0B, 11, "0"},
    {0x0C, 12, "-"},
    {0x0D, 13, "="},
    {0x0E, 14, "Backspace"},
    {0x0F, 15, "Tab"},
    {0x10, 16, "Q"},
    {0x11, 17, "W"},
    {0x12, 18, "E"},
    {0x13, 19, "R"},
    {0x14, 20, "T"},
    {0x15, 21, "Y"},
    {0x16, 22, "U"},
    {0x17, 23, "I"},
    {0x18, 24, "O"},
    {0x19, 25, "P"},
    {0x1A, 26, "["},
    {0x1B, 27, "]"},
    {0x1C, 28, "Enter"},
    {0x1D, 29, "Ctrl"},
    {0x1E, 30, "A"},
    {0x1F, 31, "S"},
    {0x20, 32, "D"},
    {0x21, 33, "F"},
    {0x22, 34, "G"},
    {0x23, 35, "H"},
    {0x24, 36, "J"},
    {0x25, 37, "K"},
    {0x26, 38, "L"},
    {0x27, 39, ";"},
    {0x28, 40, "'"},
    {0x29, 41, "`"},
    {0x2A, 42, "Shift"},
    {0x2B, 43, "\\"},
    {0x2C, 44, "Z"},
    {0x2D, 45, "X"},
    {0x2E, 46, "C"},
    {0x2F, 47, "V"},
    {0x30, 48, "B"},
    {0x31, 49, "N"},
    {0x32, 50, "M"},
    {0x33, 51, ","},
    {0x34, 52, "."},
    {0x35, 53, "/"},
    {0x36, 54, "Right Shift"},
    {0x37, 55, "Num *"},
    {0x38, 56, "Alt"},
    {0x39, 57, "Space"},
    {0x3A, 58, "Caps Lock"},
    {0x3B, 59, "F1"},
    {0x3C, 60, "F2"},
    {0x3D, 61, "F3"},
    {0x3E, 62, "F4"},
    {0x3F, 63, "F5"},
    {0x40, 64, "F6"},
    {0x41, 65, "F7"},
    {0x42, 66, "F8"},
    {0x43, 67, "F9"},
    {0x44, 68, "F10"},
    {0x45, 119, "Pause"},
    {0x46, 70, "Scroll Lock"},
    {0x47, 71, "Num 7"},
    {0x48, 72, "Num 8"},
    {0x49, 73, "Num 9"},
    {0x4A, 74, "Num -"},
    {0x4B, 75, "Num 4"},
    {0x4C, 76, "Num 5"},
    {0x4D, 77, "Num 6"},
    {0x4E, 78, "Num +"},
    {0x4F, 79, "Num 1"},
    {0x50, 80, "Num 2"},
    {0x51, 81, "Num 3"},
    {0x52, 82, "Num 0"},
    {0x53, 83, "Num Del"},
    {0x54, 0, "Sys Req"},
    {0x55, 85, ""},
    {0x56, 86, "\\"},
    {0x57, 87, "F11"},
    {0x58, 88, "F12"},
    {0x64, 183, "F13"},
    {0x65, 184, "F14"},
    {0x66, 185, "F15"},
    {0x67, 186, "F16"},
    {0x68, 187, "F17"},
    {0x69, 188, "F18"},
    {0x6A, 189, "F19"},
    {0x6B, 190, "F20"},
    {0x6C, 191, "F21"},
    {0x6D, 192, "F22"},
    {0x6E, 193, "F23"},
    {0x76, 194, "F24"},
    {extended | 0x1C, 96, "Num Enter"},
    {extended | 0x1D, 97, "Right Ctrl"},
    {extended | 0x35, 98, "Num /"},
    {extended | 0x37, 99, "Prnt Scrn"},
    {extended | 0x38, 100, "Right Alt"},
    {extended | 0x45, 69, "Num Lock"},
    {extended | 0x46, 0, "Break"},
    {extended | 0x47, 102, "Home"},
    {extended | 0x48, 103, "Up"},
    {extended | 0x49, 104, "Page Up"},
    {extended | 0x4B, 105, "Left"},
    {extended | 0x4D, 106, "Right"},
    {extended | 0x4F, 107, "End"},
    {extended | 0x50, 108, "Down"},
    {extended | 0x51, 109, "Page Down"},
    {extended | 0x52, 110, "Insert"},
    {extended | 0x53, 111, "Delete"},
    {extended | 0x5B, 125, "Left Windows"},
    {extended | 0x5C, 126, "Right Windows"},
    {extended | 0x5D, 127, "Application"},
};

constexpr int mod_ctrl = 1, mod_shift = 2, mod_alt = 4, mod_long = 8;

}  // namespace

std::string scan_code_name(int scan) {
    for (const ScanKey& k : scan_keys)
        if (k.scan == scan && !k.name.empty()) return std::string(k.name);
    // No Windows name: still readable, and distinct from every other key.
    return "Key " + std::to_string(scan);
}

int scan_from_evdev(int evdev) {
    if (evdev <= 0) return 0;
    for (const ScanKey& k : scan_keys)
        if (k.evdev == evdev) return k.scan;
    return 0;
}

int get_key_name(std::int32_t code, std::string& name) {
    auto [m, k] = split_key_code(code);
    name.clear();
    if (m & mod_long) name += "LONG+";
    if (m & mod_ctrl) name += "CTRL+";
    if (m & mod_shift) name += "SHFT+";
    if (m & mod_alt) name += "ALT+";
    std::string key;
    if (k < 0) {
        key = scan_code_name(-k).substr(0, max_name);
    } else if (k > 0 && k <= 0xFF) {
        key = char(k);
    } else if (k > 0xFF) {
        key = "?";  // not a Windows-1252 character
    }
    name += key;
    return int(key.size());
}

bool is_key_mod(int /*scan*/, int vk) { return vk >= 160 && vk <= 164; }
