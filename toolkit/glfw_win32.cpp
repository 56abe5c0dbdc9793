// The GLFW backend on Windows.
#include <windows.h>
#define GLFW_EXPOSE_NATIVE_WIN32
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>

#include "toolkit/glfw_platform.hpp"

// The system menu carries the close box; without it the caption has none of the three boxes.
void cpw_glfw_title_only(GLFWwindow* win) {
    HWND hwnd = glfwGetWin32Window(win);
    if (hwnd == nullptr) return;
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    SetWindowLongPtrW(hwnd, GWL_STYLE, style & ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// GLFW reports the scan code as Windows does, the extended flag in bit 8.
int cpw_glfw_scan(int scancode) { return scancode & 0x1FF; }
