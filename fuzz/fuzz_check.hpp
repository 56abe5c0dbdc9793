// What the fuzz targets assert beyond "no crash, no sanitizer report": a failed check prints
// what failed and aborts, which libFuzzer reports as a crash and keeps the input that caused it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

inline void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
