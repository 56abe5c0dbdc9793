// XCSoar task files (.tsk): one `Task` of `Point`s (type Start, Turn, Area, Finish...), each with
// a `Waypoint` (name, altitude) and its `Location` (latitude, longitude), in flying order.
#pragma once

#include <string_view>

#include "formats/records.hpp"

FormatContent read_tsk(std::string_view bytes);
