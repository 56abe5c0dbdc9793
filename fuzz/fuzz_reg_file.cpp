// Fuzzes the registry store reader (Wine's user.reg, regedit exports in UTF-16 and REGEDIT4)
// with the lookups the program makes, and a few more value kinds. Beyond "no crash": a value is
// found only in a key that is found, and a lookup gives the same answer every time (the reader
// remembers the keys it found).
#include <array>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.hpp"
#include "host/reg_file.hpp"

namespace {

struct Lookup {
    std::string_view key, name;
};

// The program's own lookups first, then the sample files' test key (every value kind).
constexpr std::array<Lookup, 9> lookups = {{
    {"SOFTWARE\\Volaro2\\", "InstallDir"},
    {"SOFTWARE\\Volaro3\\", "InstallDir"},
    {"SOFTWARE\\Volaro2\\", "LastPlayer"},
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\\", "Personal"},
    {"Volatile Environment", "USERPROFILE"},
    {"Software\\TestVendor\\TestApp", "@"},
    {"Software\\TestVendor\\TestApp", "Blob"},
    {"Software\\TestVendor\\TestApp", "ExpandPath"},
    {"Software\\TestVendor\\TestApp", "Hexnext"},
}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RegFile file;
    const bool loaded = file.load(std::string(as_text(data, size)));
    require(loaded == file.loaded(), "load says what loaded() says");
    std::array<RegValue, lookups.size()> first;
    std::array<int, lookups.size()> first_status{};
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < lookups.size(); ++i) {
            RegValue value;
            bool key_found = true;
            const bool found = file.query(lookups[i].key, lookups[i].name, value, key_found);
            require(!found || key_found, "a value is found in a key that is found");
            require(loaded || !key_found, "nothing is found in a file that is not a store");
            const int status = int(found) + 2 * int(key_found);
            if (pass == 0) {
                first[i] = value;
                first_status[i] = status;
            } else {
                require(status == first_status[i] && value.type == first[i].type &&
                            value.data == first[i].data,
                        "a lookup gives the same answer again");
            }
        }
    }
    return 0;
}
