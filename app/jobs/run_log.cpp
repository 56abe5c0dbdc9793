#include "app/jobs/run_log.hpp"

#include <cstdio>
#include <string>

#include "host/log_files.hpp"

namespace {

struct RunLog {
    std::string name = "Varnix.log";
    std::FILE* file = nullptr;
};

RunLog run_log;

}  // namespace

void run_log_set_name(std::string_view name) { run_log.name = name; }

const std::string& run_log_name() { return run_log.name; }

void run_log_line(std::string_view line) {
    if (!run_log.file) {
        run_log.file = open_log_file(run_log.name, "w");
        if (!run_log.file)
            return;  // like the program log: a log that cannot be opened anywhere is not reported
    }
    std::fwrite(line.data(), 1, line.size(), run_log.file);
    std::fputc('\n', run_log.file);
    std::fflush(run_log.file);  // a stop ends the process without closing files
}

void run_log_close() {
    if (run_log.file) std::fclose(run_log.file);
    run_log.file = nullptr;
}
