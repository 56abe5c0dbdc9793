// The run log "Varnix.log" in the current folder (else the user's log folder): rewritten by a run
// that writes to it, left as it was by a run that writes nothing (it is created on the first line,
// not at start-up).
#pragma once

#include <string>
#include <string_view>

void run_log_line(std::string_view line);
void run_log_close();
// The file name ("Varnix.log"); tests may point it elsewhere.
void run_log_set_name(std::string_view name);
const std::string& run_log_name();
