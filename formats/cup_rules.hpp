// A .cup task's rules: the `Options` line (AAT or racing, AAT time, start opening) and one
// `ObsZone=N` line per point (N from 0 at the start; style, radii, angles, line, start height)
// read into the plain records and written from them; and a whole .cup file as plain records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/cup_file.hpp"
#include "formats/records.hpp"

// The Options and ObsZone= lines of `task` (CR LF each), for a task line whose start is field
// `start_field` (2 after a take-off field). A rule .cup cannot hold goes into `notes`.
std::string cup_rule_lines(const FormatTask& task, int task_index, std::vector<FormatFault>& notes);
// The rules and zones of the task `cup` (its Options and ObsZone= lines in `section`) into
// `task`, whose points[0] is the task line's start.
void read_cup_rules(const CupTask& cup, const std::vector<CupRecord>& section, FormatTask& task);
// A .cup file as plain records: its waypoints (decimal degrees), its tasks' routes with their
// rules and STARTS= points; a task point naming no waypoint is skipped with its task's index.
FormatContent read_cup_records(std::string_view bytes);
