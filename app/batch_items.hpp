// Reading the lines of a batch input: the five-item layout (number, name, latitude, longitude,
// altitude) and .cup waypoint files. Both give BatchPoint records; neither projects anything.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/text_field.hpp"

struct BatchPoint {
    std::int32_t nump = 0;  // turnpoint number
    TextField<36> name;
    TextField<20> c_lat, c_lon;  // as read, handed to decode_coord
    float alt = 0;               // metres
};

enum class LineResult { point, skip, bad, end };

// Splits one line of blank- or comma-separated items: quotes (' or ") group a text, a doubled
// quote inside is one quote, a slash outside quotes ends the items. Stops after `max` items.
// Returns the number of items, or -1 for a malformed line (an empty item between two commas,
// an unclosed quote, text glued to a closing quote).
int split_items(std::string_view line, std::vector<std::string>& items, std::size_t max);

// A line of the five-item layout. Empty lines and lines holding "Landscape" are skipped.
LineResult parse_batch_line(std::string_view line, std::vector<std::string>& scratch,
                            BatchPoint& point);

// .cup waypoint files as input: column positions, from the header line when there is one.
struct CupColumns {
    int name = 0, lat = 3, lon = 4, elev = 5;
};

// Splits a comma-separated line with double-quote quoting ("" inside quotes is one quote).
// Returns false for an unclosed quote.
bool split_csv(std::string_view line, std::vector<std::string>& fields);
// True when `fields` is a header line (it names the name, lat and lon columns); sets `cols`.
bool read_cup_header(const std::vector<std::string>& fields, CupColumns& cols);
// Elevation text in metres: "504.0m", "1640ft", "504" (metres); empty gives 0.
bool read_cup_elevation(std::string_view text, float& metres);
// The line that ends the waypoints of a .cup file.
bool is_cup_tasks_line(std::string_view line);
// A waypoint line of a .cup file; empty lines are skipped.
LineResult parse_cup_line(std::string_view line, const CupColumns& cols,
                          std::vector<std::string>& scratch, BatchPoint& point);

// Output fields ----------------------------------------------------------------------------------

// A field of a comma-separated line: quoted (embedded quotes doubled) when `always` or when
// it holds a quote, a comma or a line break.
void append_csv_field(std::string& out, std::string_view text, bool always);
// The waypoint-file name for a flight-plan file: the name up to its first ".fpl" when the
// file's own name has one, otherwise the name with its extension replaced, then ".cup".
std::string cup_file_name(std::string_view outfile);
