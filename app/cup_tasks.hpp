// The tasks of a .cup file on the command line: -tasks lists them, -task N picks one and gives
// the waypoint records of its route, in order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/cup_file.hpp"
#include "app/run_outcome.hpp"

// The task that `selector` names: a number from 1 in file order, or the task's name. Null with
// `error` saying why.
const CupTask* pick_task(const std::vector<CupTask>& tasks, std::string_view selector,
                         std::string& error);
// The waypoint records of the task's route (task_route), in order. A point naming no waypoint of
// `records` leaves the result empty and says which in `error`. A name the file holds at two
// places is taken at the first, and `notes` says so (once a name).
std::vector<CupRecord> route_records(const CupTask& task, const std::vector<CupRecord>& records,
                                     const CupColumns& cols, std::string& error,
                                     std::vector<std::string>& notes);
// The waypoint records that the task's STARTS= lines (in `section`) name, in their order.
std::vector<CupRecord> start_records(const CupTask& task, const std::vector<CupRecord>& section,
                                     const std::vector<CupRecord>& records,
                                     const CupColumns& cols);
// Prints number, name and route of every task of the .cup file `infile` (a host path) on
// standard output; a stop when the file cannot be read. `bytes`: the file's content, already
// read (a converted input); `broken`: per task, which point it lost ("" none).
RunOutcome list_cup_tasks(const std::string& infile, const std::string* bytes = nullptr,
                          const std::vector<std::string>* broken = nullptr);
