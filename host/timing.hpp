// Elapsed milliseconds and file modification times.
#pragma once

#include <cstdint>
#include <string_view>

// Milliseconds since the first call (0 on the first call), across midnight.
std::int32_t elapsed_ms();
// The same rule on given times of day (ms since midnight), for tests.
std::int32_t elapsed_between(std::int32_t reference, std::int32_t now);
// Modification time in seconds since the epoch, -1 when the file does not exist. Trailing
// blanks of the name (a blank-padded field) are ignored.
long long modified_date(std::string_view path);
// Forgets the reference time (tests).
void reset_timing();
