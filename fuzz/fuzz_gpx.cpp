// Fuzzes the GPX reader: no crash, and what it gives holds (fuzz_format_checks.hpp).
#include "formats/gpx.hpp"
#include "fuzz/fuzz_format_checks.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check_format_content(read_gpx(as_text(data, size)));
    return 0;
}
