// The program's window icon: a PAM image embedded at build time, decoded once.
#include <charconv>
#include <string_view>

#include "toolkit/cpw_host.hpp"

extern const unsigned char cpw_icon_pam[];
extern const std::size_t cpw_icon_pam_size;

bool cpw_decode_pam(const std::uint8_t* data, std::size_t size, CpwImage& out) {
    constexpr int max_side = 4096;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!text.starts_with("P7\n")) return false;
    std::size_t pos = 3;
    int width = -1, height = -1, depth = -1, maxval = -1;
    for (;;) {
        const std::size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) return false;
        const std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        if (line == "ENDHDR") break;
        if (line.empty() || line[0] == '#') continue;
        const std::size_t sp = line.find(' ');
        const std::string_view key = line.substr(0, sp);
        if (key == "TUPLTYPE") continue;
        int* slot = key == "WIDTH"    ? &width
                    : key == "HEIGHT" ? &height
                    : key == "DEPTH"  ? &depth
                    : key == "MAXVAL" ? &maxval
                                      : nullptr;
        if (slot == nullptr || sp == std::string_view::npos) return false;
        const std::string_view value = line.substr(sp + 1);
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), *slot);
        if (ec != std::errc{} || end != value.data() + value.size()) return false;
    }
    if (width < 1 || width > max_side || height < 1 || height > max_side) return false;
    if ((depth != 3 && depth != 4) || maxval != 255) return false;
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    if (size - pos < pixels * depth) return false;

    out.width = width;
    out.height = height;
    out.rgba.resize(pixels * 4);
    const std::uint8_t* src = data + pos;
    for (std::size_t i = 0; i < pixels; ++i, src += depth) {
        out.rgba[i * 4 + 0] = src[0];
        out.rgba[i * 4 + 1] = src[1];
        out.rgba[i * 4 + 2] = src[2];
        out.rgba[i * 4 + 3] = depth == 4 ? src[3] : 255;
    }
    return true;
}

const CpwImage& cpw_program_icon() {
    static const CpwImage icon = [] {
        CpwImage img;
        if (!cpw_decode_pam(cpw_icon_pam, cpw_icon_pam_size, img)) img = {};
        return img;
    }();
    return icon;
}
