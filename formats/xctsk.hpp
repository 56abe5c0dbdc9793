// XContest task files (.xctsk, JSON, version 1): one task of `turnpoints`, each a `waypoint`
// (name, lat, lon, altSmoothed) with an optional `type` (TAKEOFF, SSS, ESS), in flying order.
#pragma once

#include <string_view>

#include "formats/records.hpp"

FormatContent read_xctsk(std::string_view bytes);
