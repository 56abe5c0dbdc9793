// One point through the path of a batch line: decode the two coordinate texts, project into the
// landscape, write X and Y with three decimals.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <string>

#include "geo/UTM.hpp"
#include "geo/decode_coord.hpp"
#include "geo/read_trn.hpp"

namespace {

// The demo landscape: zone 32 N, 40 km x 30 km.
bool set_up_landscape() {
    static const bool ok = [] {
        TrnHeader h;
        h.long_ = 400;
        h.larg = 300;
        h.rew = h.rns = 100;
        h.orig_e = 540000;
        h.orig_n = 5135000;
        h.zlon = 32;
        h.zlat = 'N';
        const std::string path = "/tmp/varnix_geo_bench.trn";
        float rxm = 0, rym = 0;
        bool done = write_trn_hdr(path, h) == 1 && utm_init(path, rxm, rym) == 1;
        std::remove(path.c_str());
        return done;
    }();
    return ok;
}

void convert_point(benchmark::State& state, const char* lat_text, const char* lon_text) {
    if (!set_up_landscape()) {
        state.SkipWithError("landscape set-up failed");
        return;
    }
    const TextField<20> lat0(lat_text), lon0(lon_text);
    char out[64];
    for (auto _ : state) {
        TextField<20> lat = lat0, lon = lon0;  // decoding may rewrite the fields
        float xlat = 0, xlon = 0, x = 0, y = 0;
        int type = 0;
        decode_coord(lat, lon, xlat, xlon, type);
        latlontoxy(xlat, xlon, x, y);
        char* p = std::to_chars(out, out + 32, x, std::chars_format::fixed, 3).ptr;
        *p++ = ' ';
        p = std::to_chars(p, out + sizeof out, y, std::chars_format::fixed, 3).ptr;
        benchmark::DoNotOptimize(out);
        benchmark::DoNotOptimize(p);
    }
}

BENCHMARK_CAPTURE(convert_point, decimal, "46.5", "9.25");
BENCHMARK_CAPTURE(convert_point, waypoint, "4630.000N", "00915.000E");
BENCHMARK_CAPTURE(convert_point, simulator, "46.30.000N", "009.15.000E");
BENCHMARK_CAPTURE(convert_point, degree_sign,
                  "46\xB0"
                  "30'15.5\"N",
                  "9\xB0"
                  "15'00\"E");

void project_only(benchmark::State& state) {
    if (!set_up_landscape()) {
        state.SkipWithError("landscape set-up failed");
        return;
    }
    float x = 0, y = 0, lat = 46.5f;
    for (auto _ : state) {
        latlontoxy(lat, 9.25f, x, y);
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
        benchmark::DoNotOptimize(lat);
    }
}
BENCHMARK(project_only);

void format_lat_cu(benchmark::State& state) {
    float v = 46.504166f;
    for (auto _ : state) {
        CoordText t = lat_cu(v);
        benchmark::DoNotOptimize(t);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(format_lat_cu);

}  // namespace
