// Tasks written in the other task formats, from the plain records: an XCSoar task file, an
// XCTrack task file (version 1) and a GPX file (the waypoints, and each task as a route). Each
// gives the file's bytes; a rule the format cannot hold goes into `notes` with its task's index.
#pragma once

#include <string>
#include <vector>

#include "formats/records.hpp"

std::string write_tsk(const FormatTask& task, int task_index, std::vector<FormatFault>& notes);
std::string write_xctsk(const FormatTask& task, int task_index, std::vector<FormatFault>& notes);
std::string write_gpx(const FormatContent& content, std::vector<FormatFault>& notes);

// The writer an output file's name asks for: .tsk, .xctsk or .gpx (any case); none otherwise.
enum class TaskFormat { none, tsk, xctsk, gpx };
TaskFormat task_format_of(std::string_view file_name);
