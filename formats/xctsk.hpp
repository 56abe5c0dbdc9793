// XCTrack task files (.xctsk, JSON, version 1): one task of `turnpoints`, each a `waypoint`
// (name, description, lat, lon, altSmoothed) with its cylinder `radius` and an optional `type`
// (TAKEOFF, SSS, ESS), in flying order; `sss` (race or elapsed time, time gates) and `goal`
// (LINE or CYLINDER). Also the compact version 2 that QR codes carry ("XCTSK:" then JSON, each
// point's position, altitude and radius in an encoded polyline `z`).
#pragma once

#include <string_view>

#include "formats/records.hpp"

FormatContent read_xctsk(std::string_view bytes);
