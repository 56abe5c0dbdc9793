// The driver: command line, options, mode selection (single point, batch, converter form) and
// how a run ends. The conversion set-up every mode goes through is app/jobs/conversion_setup.
#pragma once

#include <string>
#include <vector>


// Runs the whole program on `args` (argument 0 first) as the system gives them: paths and
// landscape names keep their bytes; coordinates become Windows-1252 where they are read.
// The one place a run ends: every stop below hands its fault up to here, which shows it and
// returns the exit status.
int varnix_main(const std::vector<std::string>& args);
