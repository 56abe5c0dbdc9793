// XCSoar task files (.tsk): one `Task` (type, AAT time, start and finish rules) of `Point`s
// (Start, Turn, Area, Finish, OptionalStart), each with a `Waypoint` (name, comment, altitude),
// its `Location` and its `ObservationZone`, in flying order; optional starts come after the
// finish and are kept aside.
#pragma once

#include <string_view>

#include "formats/records.hpp"

FormatContent read_tsk(std::string_view bytes);
// XCSoar's names of a zone shape and a point role ("" for no shape).
const char* tsk_shape_name(ObsZone::Shape shape);
const char* tsk_role_name(PointRole role);
