// Key names, the modifier test, elapsed time across midnight and modification times.
#include <gtest/gtest.h>

#include "host/keys.hpp"
#include "host/timing.hpp"
#include "host_test_util.hpp"

namespace {

TEST(KeyNames, PrefixesAndKeyParts) {
    struct Case {
        std::int32_t code;
        std::string name;
        int key_length;
    };
    const Case cases[] = {
        {10065, "CTRL+A", 1},
        {20065, "SHFT+A", 1},
        {65, "A", 1},
        {30065, "CTRL+SHFT+A", 1},
        {150065, "LONG+CTRL+SHFT+ALT+A", 1},
        {10000 * 1 - 30, "CTRL+A", 1},  // Ctrl with scan code 30, not a key of 9970
        {40000 - 0x138, "ALT+Right Alt", 9},
        {80000 - 0x3B, "LONG+F1", 2},
        {-0x3B, "F1", 2},
        {-0x01, "Esc", 3},
        {-0x45, "Pause", 5},
        {-0x145, "Num Lock", 8},  // extended, as Windows reports it
        {-0x11C, "Num Enter", 9},
        {-0x153, "Delete", 6},
        {-0x53, "Num Del", 7},
        {-0x7F, "Key 127", 7},  // unnamed: still readable
        {0xB0, "\xB0", 1},
        {20000, "SHFT+", 0},
    };
    for (const Case& c : cases) {
        std::string name = "old";
        EXPECT_EQ(get_key_name(c.code, name), c.key_length) << c.code;
        EXPECT_EQ(name, c.name) << c.code;
    }
}

TEST(KeyNames, EveryExtendedKeyDiffersFromItsPlainKey) {
    for (int scan :
         {0x1C, 0x1D, 0x35, 0x37, 0x38, 0x47, 0x48, 0x49, 0x4B, 0x4D, 0x4F, 0x50, 0x51, 0x52, 0x53})
        EXPECT_NE(scan_code_name(scan), scan_code_name(0x100 | scan)) << scan;
}

TEST(KeyNames, ModifierVirtualKeys) {
    for (int vk = 150; vk < 170; ++vk) EXPECT_EQ(is_key_mod(0, vk), vk >= 160 && vk <= 164) << vk;
}

TEST(Timing, ElapsedAcrossMidnight) {
    const std::int32_t day = 86'400'000;
    const std::array<std::array<std::int32_t, 3>, 5> cases = {{
        {1000, 1500, 500},
        {day - 10, 5, 15},  // the clock passed midnight
        {0, 0, 0},
        {5, day - 1, day - 6},
        {day - 1, 0, 1},
    }};
    for (const auto& [ref, now, want] : cases) EXPECT_EQ(elapsed_between(ref, now), want);
    reset_timing();
    EXPECT_EQ(elapsed_ms(), 0);
    std::int32_t later = elapsed_ms();
    EXPECT_GE(later, 0);
    EXPECT_LT(later, 60'000);
}

TEST(Timing, ModifiedDate) {
    TempDir dir;
    const fs::path file = dir.path() / "FlightPlan.fpl";
    write_file(file, "x");
    set_mtime(file, 1'234'567'890);
    EXPECT_EQ(modified_date(file.string()), 1'234'567'890);
    EXPECT_EQ(modified_date(file.string() + "     "), 1'234'567'890);  // a blank-padded field
    EXPECT_EQ(modified_date((dir.path() / "missing").string()), -1);
    EXPECT_EQ(modified_date(""), -1);
}

}  // namespace
