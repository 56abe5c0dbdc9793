// Fuzzes the XContest task reader: no crash, and what it gives holds (fuzz_format_checks.hpp).
#include "formats/xctsk.hpp"
#include "fuzz/fuzz_format_checks.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check_format_content(read_xctsk(as_text(data, size)));
    return 0;
}
