// Reading the lines of a batch input: the five-item layout (number, name, latitude, longitude,
// altitude) and .cup waypoint files. Both give BatchPoint records; neither projects anything.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/cup_write.hpp"
#include "util/text_field.hpp"

struct BatchPoint {
    std::int32_t nump = 0;       // turnpoint number
    std::string name;            // whole; the flight plan keeps flight_plan_name_max of it
    TextField<20> c_lat, c_lon;  // as read, handed to decode_coord
    float alt = 0;               // metres
    // A .cup input: the waypoint output is its record with the latitude and longitude (these
    // spans of it) replaced; an empty elevation stays empty there.
    bool from_cup = false;
    bool alt_empty = false;
    std::string elevation_fault;  // an elevation that could not be read (alt is then 0)
    std::size_t lat_begin = 0, lat_end = 0, lon_begin = 0, lon_end = 0;
    std::size_t elev_begin = 0, elev_end = 0;  // written empty when it cannot be read
};

inline constexpr std::size_t flight_plan_name_max = 36;

enum class LineResult {
    point,
    skip,
    landscape_skipped,  // a data line skipped because it holds "Landscape"
    bad,                // not five readable items
    too_many_items,     // more than five items: a decimal comma, most often
};

// Splits one line of blank- or comma-separated items: quotes (' or ") group a text, a doubled
// quote inside is one quote, a slash outside quotes ends the items. Stops after `max` items.
// Returns the number of items, or -1 for a malformed line (an empty item between two commas,
// an unclosed quote, text glued to a closing quote).
int split_items(std::string_view line, std::vector<std::string>& items, std::size_t max);

// A line of the five-item layout. Empty lines and lines holding "Landscape" are skipped.
// Items past the fifth make the line's coordinates unreliable (too_many_items).
LineResult parse_batch_line(std::string_view line, std::vector<std::string>& scratch,
                            BatchPoint& point);

// The usual line of the five-item layout, read in one pass: five unquoted items (a number of up
// to nine digits, a name without "Landscape", signed decimal degrees of latitude and longitude
// ending in a digit and within range, a plain elevation) and nothing after them. False for any
// other line, which parse_batch_line and decode_coord read; for a line this takes, they give
// this same point.
struct UsualPoint {
    std::int32_t nump = 0;
    std::string_view name;  // a piece of the line
    float lat = 0, lon = 0, alt = 0;
};
bool read_usual_batch_line(std::string_view line, UsualPoint& point);

// Output fields ----------------------------------------------------------------------------------

// The waypoint-file name for a flight-plan file: the name up to its first ".fpl" when the
// file's own name has one, otherwise the name with its extension replaced, then ".cup".
std::string cup_file_name(std::string_view outfile);
