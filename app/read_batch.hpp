// Batch conversion: a file of named points into flight-plan lines and, on request, a waypoint
// file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/batch_items.hpp"
#include "formats/cup_file.hpp"
#include "app/run_outcome.hpp"
#include "formats/records.hpp"
#include "geo/UTM.hpp"

// An input of another format (a task file, GPX) as a .cup file's bytes (formats/cup_write.hpp),
// which the batch reads instead of the file; its warnings name the places of the source.
struct ConvertedInput {
    std::string cup;
    std::vector<std::string> places;   // of each line of `cup`, "" for a line of no source
    std::vector<FormatFault> skipped;  // points the reader left out
    std::vector<FormatFault> notes;    // what the reader says of what it read
    std::vector<FormatFault> cup_losses;  // rules a .cup output cannot hold
    bool tasks_only = false;           // no waypoints beside its tasks: its first task is meant
};

struct BatchOptions {
    std::string infile;   // batch input (five-item layout, or a .cup file)
    std::string outfile;  // flight-plan output; the waypoint file is named after it
    bool qcup = false;    // also write the waypoint file
    bool qverb = false;   // echo each point and the count
    bool qdbg = false;    // extra diagnostic lines
    bool qline = true;    // messages on the console (true) or in boxes
    float epsl = 0;       // the command line's threshold; a batch does not iterate
    std::string task;     // a .cup input: the task to convert (number from 1, or name)
    const ConvertedInput* converted = nullptr;  // read instead of `infile` when set
    const std::string* bytes = nullptr;  // the input as already read: not read again when set
    bool all_warnings = false;  // every warning out (the window's log keeps them); else 20 a kind
    // A caller that holds its landscape as a value (the window's file job) gives it here: the
    // projection, the landscape's size and name are then these, not what init_conv set up.
    const Utm000* projection = nullptr;
    float xmax = 0, ymax = 0;
    std::string landscape;
    // Where warnings and notices go, each a line as the console shows it; run_message if empty.
    std::function<void(std::string_view)> report;
};

// The waypoint file a batch writes beside the flight plan `outfile`: named after it, or, when
// that would be the input, after the landscape (turnpoints_Demo.cup, then _2, _3...).
std::string waypoint_output_name(const std::string& infile, const std::string& outfile,
                                 std::string_view landscape);
// The stop of a task that lost a point: `point` says which and why ("point \"Pass\", line 12:
// ..."), `infile` is a host path.
std::string broken_task_message(std::string_view task, std::string_view point,
                                std::string_view infile);
// Why a .cup record cannot be a waypoint (its field and text), "" when it can.
std::string cup_record_fault(std::string_view record, const CupColumns& cols);

// Converts the whole batch and says how it ended. A failure settles the outputs first: kept when
// points were written, else the user's earlier files are left untouched. Warnings go out through
// run_message as they arise.
RunOutcome read_batch(const BatchOptions& options);

// Why a line of the batch layout could not be read, naming the item that failed.
std::string describe_bad_batch_line(std::string_view line);
// Why decode_coord's result (lat, lon, type) is no position, naming the item or .cup column as
// the file does and the text as read; "" when it is one.
std::string coordinate_fault(std::string_view lat_text, std::string_view lon_text, float lat,
                             float lon, int type, bool cup_input);

// The messages of batch files (host paths) that cannot be opened, read or written; the
// system's `reason` (Windows-1252), when there is one, on the next line.
enum class BatchFileFailure { open_input, read_input, open_output, write_output };
std::string batch_file_message(BatchFileFailure failure, std::string_view host_path,
                               std::string_view reason = {});

// An output that could not be put in place: the system's reason and what the user can do.
std::string write_failure_message(std::string_view host_path, std::string_view reason);

// The waypoint line of a point that did not come from a .cup input: name, code (the name's first
// 8 characters), latitude, longitude, elevation, style 1.
void append_waypoint(std::string& out, const BatchPoint& p, float lat, float lon);
