#include "util/i18n.hpp"

#include <algorithm>
#include <unordered_map>

#include "util/cp1252.hpp"
#include "util/text.hpp"

namespace {

// A key with parts: the literal pieces around its placeholders, and the placeholder numbers in
// the order they stand in the key.
struct Pattern {
    std::vector<std::string> pieces;  // one more than slots
    std::vector<int> slots;
    std::string text;     // the translation, with the same placeholders
    std::size_t fixed{};  // length of the pieces: longer (more specific) patterns are tried first
};

struct Catalogue {
    std::unordered_map<std::string, std::string> exact;
    std::vector<Pattern> patterns;
};

constexpr int max_depth = 3;  // a part of a part of a part: deeper is no catalogue text

Language shown_language = Language::english;

// Splits "a {1} b {2}" into pieces and slots; false when it has no placeholder, or two with
// nothing between them (which could not be told apart).
bool split_pattern(std::string_view key, Pattern& p) {
    p.pieces.assign(1, std::string());
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] == '{' && i + 2 < key.size() && key[i + 1] >= '1' && key[i + 1] <= '9' &&
            key[i + 2] == '}') {
            if (!p.slots.empty() && p.pieces.back().empty()) return false;
            p.slots.push_back(key[i + 1] - '0');
            p.pieces.emplace_back();
            i += 2;
        } else {
            p.pieces.back() += key[i];
        }
    }
    for (const std::string& piece : p.pieces) p.fixed += piece.size();
    return !p.slots.empty();
}

// Matches text[pos..] against the pieces from `k` on, filling `parts`.
bool match_from(const Pattern& p, std::string_view text, std::size_t k, std::size_t pos,
                std::vector<std::string_view>& parts) {
    const std::string& piece = p.pieces[k];
    if (k + 1 == p.pieces.size()) {  // the last piece ends the text
        if (text.size() - pos < piece.size() || !text.ends_with(piece)) return false;
        parts[k - 1] = text.substr(pos, text.size() - piece.size() - pos);
        return true;
    }
    for (std::size_t at = text.find(piece, pos); at != std::string_view::npos;
         at = text.find(piece, at + 1)) {
        parts[k - 1] = text.substr(pos, at - pos);
        if (match_from(p, text, k + 1, at + piece.size(), parts)) return true;
    }
    return false;
}

std::string lookup(const Catalogue& c, std::string_view text, int depth, bool& found);

std::string fill(const Catalogue& c, const Pattern& p, const std::vector<std::string_view>& parts,
                 int depth) {
    std::string out;
    const std::string& t = p.text;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '{' && i + 2 < t.size() && t[i + 2] == '}') {
            const auto slot = std::find(p.slots.begin(), p.slots.end(), t[i + 1] - '0');
            if (slot != p.slots.end()) {
                bool found = false;
                out += lookup(c, parts[std::size_t(slot - p.slots.begin())], depth + 1, found);
                i += 2;
                continue;
            }
        }
        out += t[i];
    }
    return out;
}

// The translation of one whole text (blanks at its ends kept as they are).
std::string lookup(const Catalogue& c, std::string_view text, int depth, bool& found) {
    const std::string_view core = trim(text);
    found = false;
    if (core.empty() || depth > max_depth) return std::string(text);
    const std::size_t lead = std::size_t(core.data() - text.data());
    const std::string_view before = text.substr(0, lead);
    const std::string_view after = text.substr(lead + core.size());
    if (auto it = c.exact.find(std::string(core)); it != c.exact.end()) {
        found = true;
        return std::string(before) + it->second + std::string(after);
    }
    std::vector<std::string_view> parts;
    for (const Pattern& p : c.patterns) {
        if (core.size() < p.fixed || !core.starts_with(p.pieces.front())) continue;
        parts.assign(p.slots.size(), {});
        if (match_from(p, core, 1, p.pieces.front().size(), parts)) {
            found = true;
            return std::string(before) + fill(c, p, parts, depth) + std::string(after);
        }
    }
    return std::string(text);
}

Catalogue build(Language language) {
    Catalogue c;
    std::vector<std::string> faults;  // a test holds the catalogues free of them
    for (CatalogueEntry& e : read_catalogue(catalogue_source(language), faults)) {
        Pattern p;
        if (split_pattern(e.key, p)) {
            p.text = std::move(e.text);
            c.patterns.push_back(std::move(p));
        } else {
            c.exact.emplace(std::move(e.key), std::move(e.text));
        }
    }
    std::stable_sort(c.patterns.begin(), c.patterns.end(),
                     [](const Pattern& a, const Pattern& b) { return a.fixed > b.fixed; });
    return c;
}

// Built at its first use, and only the language shown: a run in one language never reads the
// other's catalogue.
const Catalogue& catalogue(Language language) {
    if (language == Language::french) {
        static const Catalogue french = build(Language::french);
        return french;
    }
    static const Catalogue german = build(Language::german);
    return german;
}

// Each line on its own: lines end at a line feed, and in a message at a "/" ("\/" is none).
std::string lookup_lines(const Catalogue& c, std::string_view text, bool message) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const bool slash = message && text[i] == '/' && (i == 0 || text[i - 1] != '\\');
        if (!end && !slash && text[i] != '\n') continue;
        bool found = false;
        out += lookup(c, text.substr(start, i - start), 0, found);
        if (!end) out += text[i];
        start = i + 1;
    }
    return out;
}

}  // namespace

void set_language(Language language) { shown_language = language; }

Language current_language() { return shown_language; }

Language language_of_locale(std::string_view locale) {
    auto is = [&](std::string_view code) {
        return locale.starts_with(code) &&
               (locale.size() == 2 ||
                std::string_view("_-.@").find(locale[2]) != std::string_view::npos);
    };
    if (is("fr")) return Language::french;
    if (is("de")) return Language::german;
    return Language::english;
}

std::string translate(std::string_view text) { return translate_to(shown_language, text); }

std::string plural(long long n, std::string_view one, std::string_view many) {
    const bool singular = n == 1 || (n == 0 && shown_language == Language::french);
    std::string text(singular ? one : many);
    if (const std::size_t at = text.find("{1}"); at != std::string::npos)
        text.replace(at, 3, std::to_string(n));
    return text;
}

std::string translate_label(std::string_view label) {
    const std::size_t bar = label.find('|');
    if (bar == std::string_view::npos) return translate(label);
    if (shown_language != Language::english) {
        bool found = false;
        std::string whole = lookup(catalogue(shown_language), label, 0, found);
        if (found) return whole;
    }
    return translate(label.substr(0, bar));
}

std::string translate_message(std::string_view msg) {
    return translate_to(shown_language, msg, true);
}

std::string translate_to(Language language, std::string_view text, bool message) {
    if (language == Language::english) return std::string(text);
    const Catalogue& c = catalogue(language);
    bool found = false;
    std::string whole = lookup(c, text, 0, found);
    return found ? whole : lookup_lines(c, text, message);
}

std::vector<CatalogueEntry> read_catalogue(std::string_view utf8,
                                           std::vector<std::string>& faults) {
    std::vector<CatalogueEntry> entries;
    bool open_key = false;  // the last entry still waits for its translation
    int number = 0;
    auto fault = [&](int line, std::string_view what) {
        faults.push_back("line " + std::to_string(line) + ": " + std::string(what));
    };
    while (!utf8.empty()) {
        const std::size_t nl = utf8.find('\n');
        std::string_view raw = utf8.substr(0, nl);
        utf8 = nl == std::string_view::npos ? std::string_view{} : utf8.substr(nl + 1);
        ++number;
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        std::string line;
        if (!utf8_to_cp1252(raw, line))
            fault(number, "not UTF-8, or a character outside Windows-1252");
        if (trim(line).empty() || line.starts_with('#')) continue;
        if (line.starts_with("= ")) {
            if (!open_key) {
                fault(number, "a translation without its English text");
                continue;
            }
            entries.back().text = std::string(trim(std::string_view(line).substr(2)));
            if (entries.back().text.empty()) fault(number, "an empty translation");
            open_key = false;
            continue;
        }
        if (open_key) {
            fault(entries.back().line, "no translation");
            entries.pop_back();
        }
        // "\" before a key that begins with "#" or "= " keeps it a key.
        std::string_view key = trim(line);
        if (key.starts_with('\\')) key.remove_prefix(1);
        entries.push_back({std::string(key), {}, number});
        open_key = true;
    }
    if (open_key) {
        fault(entries.back().line, "no translation");
        entries.pop_back();
    }
    return entries;
}
