// Texts the command line and the window both show about a file job, worded for where they are
// read (a console takes options, a window has lists and buttons) and with their counts right.
// English, as every module writes; the catalogues translate each form.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What the pilot can do with the tasks a converted .cup file holds: on the console the -task
// and -tasks options, in a window the page's Task list. `file` as shown (path_text).
std::string tasks_held_text(std::string_view file, std::size_t tasks, bool window);
// "1 line skipped in FILE", "3 lines skipped in FILE".
std::string lines_skipped_text(std::size_t skipped, std::string_view file);
// The reason of a coordinate that did not read, with what to type when it was written with a
// decimal comma, which a batch line or the command line cannot take ("use a point: 46.5").
std::string with_point_advice(std::string reason, std::string_view coordinate_text);
// The file page's summary of an opened file: "12 points, 1 task", and the lines that cannot
// be read when there are any.
std::string contents_text(std::size_t points, std::size_t tasks, std::size_t unreadable = 0);
