// The window's file page: a batch, waypoint, task or flight-plan file converted with the mouse,
// as the command line converts it, with a picture of where its points lie. It shares the
// converter's window: the converter's Files button shows it, its Converter button goes back.
#pragma once

#include <cmath>
#include <string>

#include "util/text_field.hpp"

// The converter's button that shows the file page, and the page's own buttons.
inline constexpr int butt_files = 4;
inline constexpr int butt_warnings = 5;
// Not validated by the engine: its boxes hold paths as Windows-1252 text, and the page keeps
// the real paths itself.
inline constexpr int butt_convert_file = 7;

// Shows the file page in the window of the current (converter) form; with `file` (a host path),
// opens that file on it. False when the page's definition cannot be read (the user was told).
bool show_file_page(const std::string& file);
// The converter is current again (the window closed on the file page); the page stays until the
// program ends.
void leave_file_page();

// "Varnix_files.frm", found where the converter's definition is.
std::string file_page_form_file();

// --- the page's pieces, for tests ----------------------------------------------------------------

// The line of task `number` (from 1) in the task list: number, name, point count, its length
// (metres; NaN: none) and whether it lost a point.
std::string task_line(int number, std::string_view name, std::size_t points, bool broken = false,
                      double length_m = std::nan(""));

// "Points written: ..." after a conversion.
std::string outcome_line(int written, int outside, int skipped);
