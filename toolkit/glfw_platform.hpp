// What the GLFW backend needs of the window system under GLFW, beyond GLFW's own calls: one
// file per system, chosen by CMake (glfw_x11.cpp, glfw_win32.cpp).
#pragma once

struct GLFWwindow;

// Asks for a title bar without a close box (nor minimise and maximise boxes); called before
// the window is first shown.
void cpw_glfw_title_only(GLFWwindow* win);
// The Windows scan code (bit 8: extended) of a key GLFW reports with `scancode`, 0 when unknown.
int cpw_glfw_scan(int scancode);
