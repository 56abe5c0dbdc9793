// The pilot's language: what a run in French or German pays. The catalogue is read once, at the
// first text shown; every line shown is then looked up.
#include <benchmark/benchmark.h>

#include "util/i18n.hpp"

namespace {

// Reading a catalogue (UTF-8 to Windows-1252, entries): once per run, in French or German.
void BM_ReadCatalogue(benchmark::State& state) {
    const std::string_view source = catalogue_source(Language::german);
    for (auto _ : state) {
        std::vector<std::string> faults;
        benchmark::DoNotOptimize(read_catalogue(source, faults));
    }
}
BENCHMARK(BM_ReadCatalogue);

// One line shown: a result (no entry: every pattern is tried), an exact text, a message with
// parts, a warning with a text inside it.
void BM_Translate(benchmark::State& state) {
    static const char* const lines[] = {
        "TPPosX=20817.031",
        "Convert",
        "Landscape Alps 2 not installed or corrupted",
        " Warning: /home/pilot/points.txt, line 12: line skipped: its X/Y cannot be computed",
    };
    const char* line = lines[state.range(0)];
    translate_to(Language::german, line);  // the catalogue is built before timing
    for (auto _ : state) benchmark::DoNotOptimize(translate_to(Language::german, line));
}
BENCHMARK(BM_Translate)->DenseRange(0, 3);

}  // namespace
