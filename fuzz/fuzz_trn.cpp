// Fuzzes the landscape header readers: the same bytes as a terrain header (.trn), a binary
// grid header (.dem) and a text grid header (.asc), and the projection's set-up from the terrain
// header. Beyond "no crash": a header is read whole or not at all, a grid's zone and hemisphere
// are what its limits say, and a landscape set up has a finite size.
// (Fitting a landscape into a grid walks the grid in 90 m steps, thousands per input: too slow
// to fuzz here; the grid headers are read on their own.)
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "fuzz/fuzz_check.hpp"
#include "geo/UTM.hpp"
#include "geo/read_trn.hpp"
#include "host/messages.hpp"

namespace {

// The set-up reads a header by a file name ending in .trn: a link, made once, to an in-memory
// file that every input rewrites.
struct HeaderFile {
    int fd = -1;
    std::string name;
};

const HeaderFile& header_file() {
    static const HeaderFile file = [] {
        HeaderFile f;
        f.fd = memfd_create("varnix-fuzz-header", 0);
        require(f.fd >= 0, "an in-memory file");
        f.name = (std::filesystem::temp_directory_path() /
                  ("varnix_fuzz_" + std::to_string(getpid()) + ".trn"))
                     .string();
        std::filesystem::remove(f.name);
        std::filesystem::create_symlink("/proc/self/fd/" + std::to_string(f.fd), f.name);
        return f;
    }();
    return file;
}

void remove_link() { std::remove(header_file().name.c_str()); }

void check_set_up(const std::uint8_t* data, std::size_t size) {
    const HeaderFile& f = header_file();
    require(ftruncate(f.fd, 0) == 0 && pwrite(f.fd, data, size, 0) == static_cast<ssize_t>(size),
            "the header written to memory");
    utm_reset();  // the set-up remembers the last file by name
    float rxm = 0, rym = 0;
    if (utm_init(f.name, rxm, rym) != 1) return;
    require(std::isfinite(rxm) && std::isfinite(rym) && rxm >= 0 && rym >= 0,
            "a landscape set up has a size");
    float lat = 0, lon = 0, x = 0, y = 0;
    xytolatlon(rxm / 2, rym / 2, lat, lon);
    latlontoxy(lat, lon, x, y);
}

void check_grid(std::int32_t status, double latmin, double latmax, double lonmin, double lonmax,
                std::int32_t nzon, char zlat) {
    if (status != 0) return;
    require(zlat == 'N' || zlat == 'S', "grid hemisphere letter");
    require(nzon == grid_zone(lonmin, lonmax), "grid zone from its limits");
    require(zlat == grid_hemisphere(latmin, latmax), "grid hemisphere from its limits");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    set_log_file_name("");  // a header refused is logged; an empty name opens nothing
    header_file();
    std::atexit(remove_link);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check_set_up(data, size);
    const std::string bytes(as_text(data, size));

    std::istringstream trn(bytes);
    TrnHeader h;
    const std::int32_t trn_status = read_trn_raw(trn, h);
    require(trn_status == 0 || trn_status == hdr_short, "terrain header status");
    require(trn_status != hdr_short || size < trn_header_size, "a whole header is read");

    double latmin = 0, latmax = 0, lonmin = 0, lonmax = 0;
    std::int32_t long_ = 0, larg = 0, nzon = 0;
    char zlat = ' ';
    std::istringstream dem(bytes);
    const std::int32_t dem_status =
        read_dem_hdr(dem, latmin, latmax, lonmin, lonmax, long_, larg, nzon, zlat);
    check_grid(dem_status, latmin, latmax, lonmin, lonmax, nzon, zlat);

    zlat = ' ';
    std::istringstream asc(bytes);
    const std::int32_t asc_status =
        read_ascdem_hdr(asc, latmin, latmax, lonmin, lonmax, long_, larg, nzon, zlat);
    require(asc_status == 0 || asc_status == hdr_short || asc_status == hdr_bad_keys,
            "text grid status");
    check_grid(asc_status, latmin, latmax, lonmin, lonmax, nzon, zlat);
    return 0;
}
