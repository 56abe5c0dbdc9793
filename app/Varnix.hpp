// The driver: command line, mode selection (single point, batch, converter form) and the one
// conversion set-up that every mode goes through.
#pragma once

#include <string>
#include <vector>

// Runs the whole program on `args` (argument 0 first, already Windows-1252); returns the exit
// status. Stops end the process from inside.
int varnix_main(const std::vector<std::string>& args);

// Sets up the conversion for common_data.landscape: 1 when ready, otherwise the failure value.
int init_conv();

// Makes the flight-plan file name from a batch input name: the file's own name up to its first
// "." (the folders are kept), then ".fpl".
std::string batch_output_name(const std::string& infile);
