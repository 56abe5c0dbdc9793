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

// What a task point is to the task. `point`: the format does not say (a GPX route, a .cup task
// without rules); its place in the route then makes it start, turnpoint or finish.
enum class PointRole { point, start, turn, area, finish, optional_start };

// The observation zone of a task point, in XCSoar's set of shapes (the widest of the formats).
struct ObsZone {
    enum class Shape {
        none,  // the format gives none: the reading program's default
        cylinder,
        line,            // `length` across the course
        sector,          // `radius` between the radials
        annular_sector,  // a sector without the disc of `inner_radius`
        fai_sector,
        symmetric_quadrant,  // `radius`, `angle` wide, facing the course's bisector
        keyhole,             // DAeC: 10 km 90-degree sector and a 500 m cylinder
        custom_keyhole,      // `radius` sector with an `inner_radius` cylinder
        bga_start,
        bga_fixed_course,
        bga_enhanced_option,
        mat_cylinder,
    };
    Shape shape = Shape::none;
    double radius = 0, inner_radius = 0, length = 0;     // metres
    double start_radial = 0, end_radial = 0, angle = 0;  // degrees
    bool operator==(const ObsZone&) const = default;
};

struct FormatPoint {
    std::string name;       // UTF-8 as the file has it
    std::string lat, lon;   // decimal degrees, the file's own digits when they are plain
    std::string elevation;  // metres as a number's text; "" when the file gives none
    std::string place;      // where the point is written ("line 12", "turnpoint 3")
    std::string comment;    // the waypoint's description, "" none
    PointRole role = PointRole::point;
    ObsZone zone;
};

// A task's rules where its format has them; -1 (or "") when it has not.
struct TaskRules {
    // XCSoar's task types: RT (racing), AAT, FAIGeneral, FAITriangle, FAIOR, FAIGoal, MAT,
    // Mixed, Touring; "" unknown.
    std::string type;
    int aat_min_time = -1;                  // seconds
    int start_open = -1, start_close = -1;  // seconds of the day
    std::vector<int> time_gates;            // start gates, seconds of the day (UTC)
    double start_max_height = -1;           // metres
    double finish_min_height = -1;          // metres
    std::string start_kind;                 // RACE or ELAPSED-TIME (.xctsk)
    std::string start_direction;            // ENTER or EXIT (.xctsk)
    int end_of_speed = -1;                  // index in points of the end of speed section
    bool operator==(const TaskRules&) const = default;
};

struct FormatTask {
    std::string name;
    std::string place;
    bool has_takeoff = false;         // points[0] is the take-off, flown to first
    std::vector<FormatPoint> points;  // start, turnpoints, finish (after the take-off)
    std::vector<FormatPoint> optional_starts;  // other starts the pilot may take, not flown
    TaskRules rules;
};

struct FormatContent {
    std::vector<FormatPoint> waypoints;  // the file's own waypoints (a task file: none)
    std::vector<FormatTask> tasks;
    std::vector<FormatFault> skipped;  // points left out, each with why
    std::vector<FormatFault> notes;    // what the user should know of what was read or written
    std::string error;                 // why nothing usable could be read, "" when read
};

// The role a point has in its task: its own, else start, turnpoint or finish by its place
// (after the take-off).
PointRole role_in_task(const FormatTask& task, std::size_t index);
// "HH:MM:SS" (seconds optional, a trailing "Z" allowed) as seconds of the day; -1 when it is none.
int read_time_of_day(std::string_view text);
std::string time_of_day_text(int seconds);
// A number as the shortest plain decimal text that reads back as the same double.
std::string number_text(double v);
// Degrees as a point's coordinate text: the shortest plain decimals that keep the float.
std::string degrees_text(double degrees);

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
