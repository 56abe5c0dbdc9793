// What a batch is given: its files and flags, an input already read or converted, and, for a
// caller that holds its own landscape, the projection and where warnings go.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

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
