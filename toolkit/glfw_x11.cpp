// The GLFW backend on X11.
#include <GLFW/glfw3.h>
#include <X11/Xlib.h>

// HACK: glfw3native.h would also need the Xrandr headers for these two declarations.
extern "C" Display* glfwGetX11Display(void);
extern "C" Window glfwGetX11Window(GLFWwindow* window);

#include "toolkit/cpw_host.hpp"
#include "toolkit/glfw_platform.hpp"

// Asked of the window manager through the Motif hints most managers honour. Where a manager
// ignores them, the toolkit still ignores the close request.
void cpw_glfw_title_only(GLFWwindow* win) {
    Display* dpy = glfwGetX11Display();
    if (dpy == nullptr) return;                               // not on X11
    enum : unsigned long { functions = 1, decorations = 2 };  // which fields count
    enum : unsigned long { func_move = 4, decor_border = 2, decor_title = 8 };
    struct {  // format 32: each field a long, as Xlib wants it
        unsigned long flags, functions, decorations;
        long input_mode;
        unsigned long status;
    } hints{functions | decorations, func_move, decor_border | decor_title, 0, 0};
    const Atom atom = XInternAtom(dpy, "_MOTIF_WM_HINTS", False);
    XChangeProperty(dpy, glfwGetX11Window(win), atom, atom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
}

int cpw_glfw_scan(int scancode) { return cpw_scan_from_evdev(scancode - 8); }  // evdev + 8
