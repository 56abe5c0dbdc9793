// Shared by the form engine's fuzz targets: the application hooks and the checks that no table
// was overrun.
#pragma once

// Aborts (a crash for the fuzzer) when a count or index of the model or the view lies outside
// its table.
void check_tables();
