// Batch conversion: a file of named points into flight-plan lines and, on request, a waypoint
// file.
#pragma once

#include <string>
#include <string_view>

#include "app/batch_items.hpp"

struct BatchOptions {
    std::string infile;   // batch input (five-item layout, or a .cup file)
    std::string outfile;  // flight-plan output; the waypoint file is named after it
    bool qcup = false;    // also write the waypoint file
    bool qverb = false;   // echo each point and the count
    bool qdbg = false;    // extra diagnostic lines
    bool qline = true;    // messages on the console (true) or in boxes
    float epsl = 0;       // the command line's threshold; a batch does not iterate
    std::string task;     // a .cup input: the task to convert (number from 1, or name)
};

// Converts the whole batch. Returns when every point was written; any failure ends the program
// through app/stop.hpp, after the outputs are settled: kept when points were written, else
// the user's earlier files are left untouched.
void read_batch(const BatchOptions& options);

// The messages of batch files (host paths) that cannot be opened, read or written.
enum class BatchFileFailure { open_input, read_input, open_output, write_output };
std::string batch_file_message(BatchFileFailure failure, std::string_view host_path);

// The waypoint line of a point that did not come from a .cup input: name, code (the name's first
// 8 characters), latitude, longitude, elevation, style 1.
void append_waypoint(std::string& out, const BatchPoint& p, float lat, float lon);
