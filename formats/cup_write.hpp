// The .cup waypoint files Varnix writes: their fields, and the records of any task or waypoint
// format as a .cup file, which the conversion then reads as it reads a .cup input.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/records.hpp"

// The header line of the waypoint files we write.
inline constexpr std::string_view cup_header =
    "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc";
// A field of a comma-separated line: quoted (embedded quotes doubled) when `always` or when
// it holds a quote, a comma or a line break.
void append_csv_field(std::string& out, std::string_view text, bool always);
// A waypoint record: name, code (the name's first 8 characters, whole UTF-8 characters), the
// coordinate texts as given, the elevation in metres ("" none), style 1, the comment as the
// description. No line end.
void append_cup_record(std::string& out, const FormatPoint& p);

// `c` as a .cup file (CR LF lines): its waypoints (a file of tasks only: the tasks' points,
// each name and place once), then each task line with "???" for an unknown take-off and the
// landing, its Options and ObsZone= lines, a STARTS= line naming its optional starts, and a
// Point= line for a point that is no waypoint of the file. An unnamed task is named
// `task_name`. `places[i]` is where line i + 1 comes from in the source ("" none); `notes` gets
// each rule a .cup file cannot hold.
std::string write_cup(const FormatContent& c, std::string_view task_name,
                      std::vector<std::string>& places, std::vector<FormatFault>* notes = nullptr);
