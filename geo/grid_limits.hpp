// The latitude/longitude limits of a landscape. Apart from the header readers because a terrain
// landscape's limits come from the projection, which itself builds on the readers.
#pragma once

#include <cstdint>
#include <string_view>

// The largest latitude/longitude box inside a terrain landscape, from 101 samples per edge.
// Sets up the projection for that landscape as a side effect. 0 done, 1 failed.
std::int32_t get_trn_lim(std::string_view trnfil, float& rlatmin1, float& rlatmax1, float& rlonmin1,
                         float& rlonmax1);
// Limits of any landscape file: a terrain header's inner box, a grid's own limits.
// 0 done, non-zero failed (1 for an unknown file type).
std::int32_t get_latlon_lim(std::string_view fich, float& rlatmin1, float& rlatmax1,
                            float& rlonmin1, float& rlonmax1);
