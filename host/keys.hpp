// Key names and modifier test.
#pragma once

#include <cstdint>
#include <string>

// Full name of a key code ("CTRL+SHFT+A", "F1", "Num Lock"); returns the length of the key
// part (1 for a character key).
int get_key_name(std::int32_t code, std::string& name);
// The name a Windows user sees for a PC set-1 scan code (bit 8 = extended, E0 prefix).
std::string scan_code_name(int scan);
// Virtual-key codes 160..164 (shifts, ctrls, left alt) count as modifiers.
bool is_key_mod(int scan, int vk);
