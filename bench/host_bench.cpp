// Registry store and installation discovery: the first lookup in a large user.reg (paid once per
// process), and a repeated discovery as the converter form repeats it (store cached).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "host/install.hpp"
#include "host/registry.hpp"
#include "include/common_data.hpp"

namespace fs = std::filesystem;

namespace {

// A Wine-like prefix with version 2 installed, its keys after ~400 kB of unrelated ones.
struct Fixture {
    fs::path root;
    Fixture() {
        std::string tmpl = (fs::temp_directory_path() / "varnix-bench-XXXXXX").string();
        root = mkdtemp(tmpl.data());
        fs::create_directories(root / "drive_c" / "Volaro2" / "Logs");
        fs::create_directories(root / "dosdevices");
        fs::create_directory_symlink("../drive_c", root / "dosdevices" / "c:");
        std::ofstream(root / "drive_c" / "Volaro2" / "Volaro.exe") << "";
        std::ofstream(root / "drive_c" / "Volaro2" / "Logs" / "Logfile.txt")
            << "Volaro version: 2150\r\n";
        std::ofstream reg(root / "user.reg");
        reg << "WINE REGISTRY Version 2\n\n";
        for (int i = 0; reg.tellp() < 400'000; ++i)
            reg << "[Software\\\\Vendor" << i / 20 << "\\\\Product" << i
                << "\\\\Settings] 1796672679\n#time=1db3a4c2f7d1e00\n"
                   "\"Path\"=\"C:\\\\Program Files\\\\Vendor\\\\bin\"\n\"Count\"=dword:0000002a\n"
                   "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,\\\n"
                   "  13,14,15,16,17,18,19,1a,1b,1c,1d,1e,1f\n\n";
        reg << "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\User Shell "
               "Folders] 1\n\"Personal\"=str(2):\"%USERPROFILE%\\\\Documents\"\n\n"
               "[Software\\\\Volaro2] 1\n\"InstallDir\"=\"C:\\\\Volaro2\"\n"
               "\"LastPlayer\"=\"Pilot\"\n\n"
               "[Volatile Environment] 1\n\"USERPROFILE\"=\"C:\\\\users\\\\pilot\"\n";
        reg.close();
        setenv("VARNIX_REGISTRY", (root / "user.reg").c_str(), 1);
        unsetenv("USERPROFILE");
    }
    ~Fixture() { fs::remove_all(root); }
};

void BM_FirstLookupInLargeStore(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        registry_reset();
        std::string value;
        benchmark::DoNotOptimize(RdUsrReg("SOFTWARE\\Volaro2\\", "InstallDir", value));
    }
}
BENCHMARK(BM_FirstLookupInLargeStore)->Unit(benchmark::kMicrosecond);

void BM_WholeDiscoveryFirstTime(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        registry_reset();
        benchmark::DoNotOptimize(check_volaro_install(""));
        get_active_volaro_version();
    }
}
BENCHMARK(BM_WholeDiscoveryFirstTime)->Unit(benchmark::kMicrosecond);

void BM_RepeatedDiscovery(benchmark::State& state) {
    Fixture f;
    registry_reset();
    check_volaro_install("");
    for (auto _ : state) {
        benchmark::DoNotOptimize(check_volaro_install(""));
        get_active_volaro_version();
    }
}
BENCHMARK(BM_RepeatedDiscovery)->Unit(benchmark::kMicrosecond);

}  // namespace
