// Flight plans as input: the turnpoints of a flight-plan fragment that Varnix wrote, or of a
// simulator flight plan (TPName/TPPosX/TPPosY/TPPosZ keys; every other line is left alone),
// turned back into latitude/longitude as a .cup waypoint file with the plan as its one task.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/read_batch.hpp"
#include "app/run_outcome.hpp"
#include "formats/fpl.hpp"

// Converts the flight plan `infile` (host path) into the waypoint file `outfile` through the
// landscape set up by init_conv (or the projection, landscape and report `given` holds), and
// says how it ended.
RunOutcome convert_flight_plan(const std::string& infile, const std::string& outfile,
                               const BatchOptions* given = nullptr);
