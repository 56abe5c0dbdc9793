// Ends of the program in the console modes: a stop with a message ("STOP " + text on standard
// error) or a silent stop, both with exit status 0.
#pragma once

#include <string_view>

[[noreturn]] void stop_with_message(std::string_view msg);
[[noreturn]] void stop_silently();
