#include "host/timing.hpp"

#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/platform.hpp"
#include "util/text.hpp"

namespace {

constexpr std::int32_t ms_per_day = 86'400'000;

struct TimingState {
    bool first = true;
    std::int32_t reference = 0;  // time of day of the first call, ms
};
TimingState timing_state;

}  // namespace

std::int32_t elapsed_between(std::int32_t reference, std::int32_t now) {
    std::int32_t d = now - reference;
    return d < 0 ? d + ms_per_day : d;
}

std::int32_t elapsed_ms() {
    std::int32_t now = platform::time_of_day_ms();
    if (timing_state.first) {
        timing_state.first = false;
        timing_state.reference = now;
        return 0;
    }
    return elapsed_between(timing_state.reference, now);
}

void reset_timing() { timing_state = TimingState{}; }

long long modified_date(std::string_view path) {
    long long t = platform::file_mtime(std::string(trim_right(path)));
    if (t >= 0) diag("modified_date", t);
    return t;
}
