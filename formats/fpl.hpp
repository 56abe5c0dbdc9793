// Flight plans as the simulator and Varnix write them: the turnpoint keys (TPName, TPPosX,
// TPPosY, TPPosZ), any case, every other line left alone, and a Landscape= line.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "util/line_reader.hpp"

struct FlightPlanPoint {
    int number = 0;  // N of TPNameN
    std::string name;
    float x = 0, y = 0, z = 0;
    bool has_name = false, has_x = false, has_y = false, has_z = false;
    bool faulty = false;  // a value of it is no number (named in FlightPlan::faults)
    int line = 0;         // the first line naming this turnpoint
};

struct FlightPlan {
    std::string landscape;                            // a Landscape= line; empty when none
    std::vector<FlightPlanPoint> points;              // by turnpoint number, ascending
    std::vector<std::pair<int, std::string>> faults;  // line and what could not be read
};

// Reads the turnpoint keys (case as Windows reads them: any) of a flight plan.
FlightPlan read_flight_plan(LineReader& in);
// The same from the file's bytes, without touching the disk (tests, fuzzing).
FlightPlan read_flight_plan(std::string_view bytes);

// True when `name` ends in .fpl (any case): such an input is read as a flight plan.
bool is_flight_plan_name(std::string_view name);
