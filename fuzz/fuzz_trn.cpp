// Fuzzes the landscape header readers: the same bytes as a terrain header (.trn), a binary
// grid header (.dem) and a text grid header (.asc). Beyond "no crash": a terrain header that
// passes the soundness check gives a finite, positive landscape size, and a grid's zone and
// hemisphere are what its limits say.
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzz_check.hpp"
#include "geo/read_trn.hpp"

namespace {

void check_grid(std::int32_t status, double latmin, double latmax, double lonmin, double lonmax,
                std::int32_t nzon, char zlat) {
    if (status != 0) return;
    require(zlat == 'N' || zlat == 'S', "grid hemisphere letter");
    require(nzon == grid_zone(lonmin, lonmax), "grid zone from its limits");
    require(zlat == grid_hemisphere(latmin, latmax), "grid hemisphere from its limits");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(as_text(data, size));

    std::istringstream trn(bytes);
    TrnHeader h;
    const std::int32_t trn_status = read_trn_raw(trn, h);
    require(trn_status == 0 || trn_status == hdr_short, "terrain header status");
    require(trn_status != hdr_short || size < trn_header_size, "a whole header is read");
    if (trn_status == 0 && trn_header_sound(h)) {
        // What read_trn_hdr derives for the projection's set-up.
        const float xmax = std::fabs(static_cast<float>(h.long_) * h.rew);
        const float ymax = std::fabs(static_cast<float>(h.larg) * h.rns);
        require(xmax >= 0 && ymax >= 0 && !std::isnan(xmax) && !std::isnan(ymax),
                "a sound header has a size");
    }

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
