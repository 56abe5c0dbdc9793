// GPX 1.0 and 1.1: every `wpt` a waypoint, every `rte` a task of its `rtept`s (name, `ele` in
// metres, `lat`/`lon` attributes). Tracks are no tasks and are passed over.
#pragma once

#include <string_view>

#include "formats/records.hpp"

FormatContent read_gpx(std::string_view bytes);
