#include "app/stop.hpp"

#include <cstdio>
#include <string>

#include "app/run_log.hpp"
#include "app/run_outcome.hpp"
#include "host/console.hpp"
#include "host/messages.hpp"

void end_program(ExitStatus status) {
    run_log_close();
    // A result that could not be printed (a full disk, a closed pipe) is no success.
    if (status == ExitStatus::success && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
        console_error_line("STOP *** Error writing standard output ***");
        status = ExitStatus::stopped;
    }
    exit_program(static_cast<int>(status));
}

void stop_with_message(std::string_view msg) {
    std::fflush(stdout);
    console_error_line("STOP " + std::string(msg));
    end_program(ExitStatus::stopped);
}

void stop_silently() { end_program(ExitStatus::success); }

void stop_after_report() { end_program(ExitStatus::stopped); }

void stop_reporting(std::string_view msg, bool qline) {
    if (!qline) error_message(s_error, msg, qline);
    std::fflush(stdout);
    console_error_line("STOP " + message_shown(msg));
    log_message_f(msg);
    end_program(ExitStatus::stopped);
}

std::string RunOutcome::shown() const {
    return stop == Stop::reported ? message_shown(text) : text;
}

void settle_run(const RunOutcome& outcome, bool qline) {
    switch (outcome.stop) {
        case RunOutcome::Stop::message:
            stop_with_message(outcome.text);
        case RunOutcome::Stop::reported:
            stop_reporting(outcome.text, qline);
        case RunOutcome::Stop::none:
            break;
    }
    if (outcome.status != ExitStatus::success) end_program(outcome.status);
}
