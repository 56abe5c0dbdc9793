// The one conversion set-up every mode goes through: the landscape of the shared program state
// into the process-wide projection (init_conv), or, for code that holds its own landscape, a
// projection value (landscape_setup); and the names a batch derives.
#pragma once

#include <string>
#include <string_view>

#include "geo/UTM.hpp"

// Sets up the conversion for common_data.landscape: 1 when ready, otherwise the failure value
// (init_conv_no_install when the installation names no folder: the run cannot go on).
inline constexpr int init_conv_no_install = -1;
int init_conv();
// Why the last init_conv failed: the text of its message ("/" in a name written "\/"); empty
// after a success or when the installation's own message said why.
std::string_view init_conv_failure();

// A landscape's projection as a value, for a job that holds its own (the window's file job):
// nothing of the process-wide projection changes.
struct LandscapeSetup {
    Utm000 projection;
    float xmax = 0, ymax = 0;
    bool outside(float x, float y) const { return !(x >= 0 && x <= xmax && y >= 0 && y <= ymax); }
};
// Sets `out` up for landscape `name` (a folder name): "" when done, else why not, in the words
// init_conv would show. `install`: the install folder, "" to find it.
std::string landscape_setup(std::string_view name, LandscapeSetup& out,
                            std::string_view install = {});
// The install folder of the active simulator version; "" with `why` set when there is none.
std::string active_install_folder(std::string& why);

// True when landscape X/Y lie outside the landscape set up by init_conv (the point is still
// converted: the simulator takes it, the user may not expect it).
bool outside_landscape(float x, float y);

// Makes the flight-plan file name from a batch input name: the file's own name up to its first
// "." (the folders are kept), then ".fpl".
std::string batch_output_name(const std::string& infile);
