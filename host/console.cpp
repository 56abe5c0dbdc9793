#include "host/console.hpp"

#include <cstdio>

#include "host/platform.hpp"
#include "util/i18n.hpp"

namespace {

// Lines leave in the pilot's language (util/i18n.hpp): the program writes English.
void write_line(std::FILE* stream, std::string_view text) {
    std::string out = console_from_cp1252(translate(text));
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stream);
}

}  // namespace

void console_init() { platform::console_setup(); }

std::vector<std::string> console_arguments(int argc, char** argv) {
    return platform::command_line(argc, argv);
}

std::string console_arg_to_cp1252(std::string_view arg) {
    return is_ascii(arg) ? std::string(arg) : platform::console_decode(arg);
}

std::string console_from_cp1252(std::string_view text) {
    return is_ascii(text) ? std::string(text) : platform::console_encode(text);
}

void console_line(std::string_view text) { write_line(stdout, text); }

void console_error_line(std::string_view text) { write_line(stderr, text); }
