// Fuzzes the QR form of XCTrack tasks: the bytes after "XCTSK:", their JSON and the polylines
// of their points. No crash, and what it gives holds (fuzz_format_checks.hpp).
#include "formats/xctsk.hpp"
#include "fuzz/fuzz_format_checks.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check_format_content(read_xctsk("XCTSK:" + std::string(as_text(data, size))));
    return 0;
}
