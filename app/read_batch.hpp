// Batch conversion: a file of named points into flight-plan lines and, on request, a waypoint
// file.
#pragma once

#include <string_view>

void read_batch(std::string_view infile, std::string_view outfile, bool qcup, bool qverb, bool qdbg,
                bool qline, float epsl);
