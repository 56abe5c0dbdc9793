// Key names and the modifier test.
//
// Scan codes are PC set-1 make codes; keys sent with the E0 prefix (arrows, Insert/Delete block,
// Right Ctrl, Right Alt, keypad Enter and /, Windows keys) have bit 8 set: 0x100 | code, so Right
// Alt is 0x138. As Windows reports them, Num Lock is 0x145 and Pause 0x45.
#pragma once

#include <cstdint>
#include <string>

// Full name of a key code (10000 x modifiers + key): "CTRL+SHFT+A", "F1", "ALT+Num Lock".
// Returns the length of the key part (1 for a character key).
int get_key_name(std::int32_t code, std::string& name);
// The name a Windows user sees for a scan code (at most 32 characters).
std::string scan_code_name(int scan);
// The scan code of a key reported by the Linux input layer (evdev code), 0 when it has none.
int scan_from_evdev(int evdev);
// Virtual-key codes 160..164 (shifts, ctrls, left alt) count as modifiers.
bool is_key_mod(int scan, int vk);
