#include "app/cli/stop.hpp"

#include <cstdio>
#include <string>
#include <utility>

#include "app/jobs/run_log.hpp"
#include "app/jobs/run_outcome.hpp"
#include "host/console.hpp"
#include "host/messages.hpp"
#include "util/i18n.hpp"

namespace {

ExitStatus status_of(Fault::Code code) {
    return code == Fault::Code::clipboard ? ExitStatus::clipboard : ExitStatus::stopped;
}

void show(const Fault& f) {
    switch (f.code) {
        case Fault::Code::none:
        case Fault::Code::reported:
            return;
        case Fault::Code::stop:
            std::fflush(stdout);
            // "STOP" stays as it is, for scripts; the message is the pilot's.
            console_error_line("STOP " + translate_message(f.text));
            return;
        case Fault::Code::report_in_box:
            error_message(s_error, f.text, false);
            [[fallthrough]];
        case Fault::Code::report:
            std::fflush(stdout);
            console_error_line("STOP " + message_shown(translate_message(f.text)));
            log_message_f(f.text);
            return;
        case Fault::Code::clipboard:
            console_error_line("Exiting: " + f.text);
            return;
    }
}

}  // namespace

void end_program(ExitStatus status) { throw RunEnd{status, Fault()}; }

void stop_on(Fault fault) {
    const ExitStatus status = status_of(fault.code);
    throw RunEnd{status, std::move(fault)};
}

void stop_with_message(std::string_view msg) {
    stop_on(Fault(Fault::Code::stop, std::string(msg)));
}

void stop_silently() { end_program(ExitStatus::success); }

void stop_after_report() { stop_on(Fault(Fault::Code::reported, "")); }

void stop_reporting(std::string_view msg, bool qline) {
    stop_on(Fault(qline ? Fault::Code::report : Fault::Code::report_in_box, std::string(msg)));
}

void BailOut(std::string_view msg) { stop_on(Fault(Fault::Code::clipboard, std::string(msg))); }

int settle_end(const RunEnd& end) {
    show(end.fault);
    ExitStatus status = end.status;
    run_log_close();
    // A result that could not be printed (a full disk, a closed pipe) is no success.
    if (status == ExitStatus::success && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
        console_error_line("STOP *** Error writing standard output ***");
        status = ExitStatus::stopped;
    }
    return static_cast<int>(status);
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
