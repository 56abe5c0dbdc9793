// Console boundary on Linux: the terminal's encoding comes from the locale (LC_ALL, LC_CTYPE,
// LANG) and foreign encodings go through iconv; UTF-8, the usual case, needs no iconv at all.
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/console.hpp"
#include "host/platform.hpp"

namespace {

struct ConsoleState {
    bool ready = false;
    bool utf8 = true;
    iconv_t to_local = iconv_t(-1);    // CP1252 -> terminal
    iconv_t from_local = iconv_t(-1);  // terminal -> UTF-32LE
};
ConsoleState console_state;

// True when the locale's name settles it without loading the locale: none, C, POSIX and every
// ".UTF-8" name give UTF-8 below, installed or not.
bool utf8_by_name() {
    std::string_view name;
    for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) {
            name = v;
            break;
        }
    }
    if (name.empty() || name == "C" || name == "POSIX") return true;
    name = name.substr(0, name.find('@'));
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    std::string codeset;
    for (char c : name.substr(dot + 1))
        if (c != '-') codeset += char(std::tolower(static_cast<unsigned char>(c)));
    return codeset == "utf8";
}

void read_locale() {
    for (iconv_t* cd : {&console_state.to_local, &console_state.from_local}) {
        if (*cd != iconv_t(-1)) iconv_close(*cd);
        *cd = iconv_t(-1);
    }
    console_state.ready = true;
    console_state.utf8 = true;
    if (utf8_by_name()) return;  // a start without reading the locale files
    locale_t loc = newlocale(LC_CTYPE_MASK, "", locale_t(0));
    if (loc == locale_t(0)) loc = newlocale(LC_CTYPE_MASK, "C", locale_t(0));
    std::string codeset = loc ? nl_langinfo_l(CODESET, loc) : "ANSI_X3.4-1968";
    if (loc) freelocale(loc);
    // The C/POSIX locale, also what a UTF-8 locale that is not installed falls back to, says
    // ASCII; today's terminals speak UTF-8 there, and UTF-8 keeps ASCII as it is.
    console_state.utf8 = codeset == "UTF-8" || codeset == "ANSI_X3.4-1968";
    if (!console_state.utf8) {
        console_state.to_local = iconv_open(codeset.c_str(), "CP1252");
        console_state.from_local = iconv_open("UTF-32LE", codeset.c_str());
    }
}

void setup() {
    if (!console_state.ready) read_locale();
}

// Runs iconv over `in`; a byte it cannot take is handed to `bad` and skipped.
template <class Bad>
std::string convert(iconv_t cd, std::string_view in, Bad bad) {
    std::string out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    char buf[256];
    while (src_left > 0) {
        char* dst = buf;
        std::size_t dst_left = sizeof buf;
        std::size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
        out.append(buf, std::size_t(dst - buf));
        if (r == std::size_t(-1) && errno != E2BIG) {
            bad(out, *src);
            ++src;
            --src_left;
        }
    }
    return out;
}

}  // namespace

namespace platform {

void console_setup() { read_locale(); }

// A terminal takes bytes in its locale's encoding, which console_encode gives.
bool console_write(std::FILE*, std::string_view) { return false; }

std::vector<std::string> command_line(int argc, char** argv) { return {argv, argv + argc}; }

std::string console_encode(std::string_view cp1252) {
    setup();
    if (console_state.utf8) return cp1252_to_utf8(cp1252);
    if (console_state.to_local == iconv_t(-1)) return std::string(cp1252);
    return convert(console_state.to_local, cp1252, [](std::string& out, char) { out += '?'; });
}

std::string console_decode(std::string_view local) {
    setup();
    if (console_state.utf8) return utf8_or_cp1252_to_cp1252(local);
    if (console_state.from_local == iconv_t(-1)) return std::string(local);
    std::string wide = convert(console_state.from_local, local, [](std::string& out, char c) {
        // An invalid byte is kept as the Windows-1252 byte it already is.
        char32_t u = cp1252_to_unicode(static_cast<unsigned char>(c));
        for (int k = 0; k < 4; ++k) out += char((u >> (8 * k)) & 0xFF);
    });
    std::string out;
    for (std::size_t i = 0; i + 4 <= wide.size(); i += 4) {
        char32_t cp = 0;
        for (int k = 3; k >= 0; --k) cp = (cp << 8) | static_cast<unsigned char>(wide[i + k]);
        int b = unicode_to_cp1252(cp);
        out += b < 0 ? '?' : char(b);
    }
    return out;
}

int console_process_count() {
    // A shell that started us from a terminal stays attached to it.
    return (isatty(STDIN_FILENO) || isatty(STDOUT_FILENO)) ? 2 : 1;
}

// A file manager starts the desktop entry, which asks for the window itself (-gui %f).
bool started_from_desktop() { return false; }

void console_hide() {}  // a terminal window is not ours to hide

std::string ui_locale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) return v;
    }
    return {};
}

}  // namespace platform
