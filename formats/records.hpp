// The plain records every reader of an outside task or waypoint format gives: waypoints, tasks
// with their points in flying order, and the faults it met with the place they were met. No
// reader here prints, exits, projects or opens a file: they take the file's bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct FormatFault {
    std::string place;  // "line 12", or where a file without lines has it ("turnpoint 3")
    std::string what;   // what is wrong, naming the field ("lat \"x\" is not a latitude")
    int task = -1;      // the task whose point it is (index into FormatContent::tasks), -1 none
    std::string text() const { return place.empty() ? what : place + ": " + what; }
};

struct FormatPoint {
    std::string name;       // UTF-8 as the file has it
    std::string lat, lon;   // decimal degrees, the file's own digits when they are plain
    std::string elevation;  // metres as a number's text; "" when the file gives none
    std::string place;      // where the point is written ("line 12", "turnpoint 3")
};

struct FormatTask {
    std::string name;
    std::string place;
    bool has_takeoff = false;         // points[0] is the take-off, flown to first
    std::vector<FormatPoint> points;  // start, turnpoints, finish (after the take-off)
};

struct FormatContent {
    std::vector<FormatPoint> waypoints;  // the file's own waypoints (a task file: none)
    std::vector<FormatTask> tasks;
    std::vector<FormatFault> skipped;  // points left out, each with why
    std::string error;                 // why nothing usable could be read, "" when read
};

// A latitude or longitude attribute or value as a point's text: true with `out` the text
// decode_coord reads as the same number (the file's own when it is plain decimal degrees that
// fit), false when it is no number or out of range. `limit` is 90 or 180.
bool format_degrees(std::string_view text, double limit, std::string& out);
// An elevation in metres as text: true with `out` a plain number ("" for an empty one).
bool format_elevation(std::string_view text, std::string& out);
// A name as a waypoint file can hold it: line breaks, tabs and other control characters become
// blanks, and blanks at its ends go.
std::string point_name(std::string_view text);
// "line N" for a byte offset of a file's bytes, found by halving the line starts.
class LinePlaces {
  public:
    explicit LinePlaces(std::string_view bytes);
    std::string at(std::size_t offset) const;

  private:
    std::vector<std::size_t> starts_;
};
