// Key translation for the GLFW backend.
#pragma once

// The Windows virtual-key code of a GLFW key (letters follow the active layout), 0 when none.
int cpw_glfw_vk(int key, int scancode);
// The character a key press produces by itself on Windows when it is not a printable one
// (Backspace, Tab, Enter, Escape, Ctrl+letter), 0 otherwise.
int cpw_glfw_control_char(int vk, bool ctrl);
