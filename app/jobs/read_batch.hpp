// Batch conversion: a file of named points into flight-plan lines and, on request, a waypoint
// file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/jobs/batch_lines.hpp"
#include "app/jobs/batch_options.hpp"
#include "app/jobs/job_messages.hpp"
#include "app/jobs/run_outcome.hpp"
#include "formats/batch_items.hpp"
#include "formats/cup_file.hpp"
#include "formats/records.hpp"
#include "geo/UTM.hpp"

// Converts the whole batch and says how it ended. A failure settles the outputs first: kept when
// points were written, else the user's earlier files are left untouched. Warnings go out through
// run_message as they arise.
RunOutcome read_batch(const BatchOptions& options);

// The waypoint file a batch writes beside the flight plan `outfile`: named after it, or, when
// that would be the input, after the landscape (turnpoints_Demo.cup, then _2, _3...).
std::string waypoint_output_name(const std::string& infile, const std::string& outfile,
                                 std::string_view landscape);
