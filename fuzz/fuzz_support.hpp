// Shared by the fuzz targets: scratch files and the checks that no table was overrun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file in the system's temp folder private to this process, removed at exit.
std::string scratch_file(const char* suffix);
void write_bytes(const std::string& path, const std::uint8_t* data, std::size_t size);
std::string read_bytes(const std::string& path);
// Aborts (a crash for the fuzzer) when a count or index of the model or the view lies outside
// its table.
void check_tables();
