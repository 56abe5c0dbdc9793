// The pilot's language: catalogue lookup, messages built from parts, and the catalogues
// themselves.
#include "util/i18n.hpp"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <tuple>

namespace {

TEST(Translate, TextsAndMessagesBuiltFromParts) {
    struct Case {
        Language language;
        bool message;                // "/" breaks a message into lines
        std::string english, shown;  // Windows-1252
    };
    const Case cases[] = {
        {Language::german, false, " Usage :", " Aufruf:"},  // blanks at the ends stay
        // A part is carried over whole, even empty; a part that is a text is translated too.
        {Language::french, false, "Landscape  not installed or corrupted",
         "Paysage  non install\xE9 ou endommag\xE9"},
        {Language::german, false,
         " Warning: in.txt, line 3: line skipped: its X/Y cannot be computed",
         " Warnung: in.txt, Zeile 3: Zeile \374bersprungen: ihr X/Y l\344sst sich nicht berechnen"},
        // The more specific of two patterns that fit.
        {Language::german, false, "turnpoint 4 has no TPPosZ: elevation 0",
         "Wendepunkt 4 hat kein TPPosZ: H\xF6he 0"},
        // Unknown texts and results stay; lines apart when the whole has no entry.
        {Language::german, false, "Landscapes", "Landscapes"},
        {Language::french, false, "Convert\nCopy", "Convertir\nCopier"},
        {Language::french, false, "Convert/Copy", "Convert/Copy"},
        {Language::french, true,
         "*** Impossible to open batch output file :out.fpl ***/Permission denied",
         "*** Impossible d'ouvrir le fichier de sortie :out.fpl ***/Permission refus\351e"},
        // "\/" is a path's own "/": the line is one part.
        {Language::german, true, "Landscape a\\/b not installed or corrupted",
         "Landschaft a\\/b nicht installiert oder besch\344digt"},
        // A reason inside a warning, in the pilot's language too.
        {Language::french, false,
         "Warning: a.cup, line 3: line skipped: lat \"46,5\" is not a latitude",
         "Attention : a.cup, ligne 3 : ligne ignor\xE9"
         "e : lat \xAB 46,5 \xBB n'est pas une latitude"},
        {Language::german, false, "1 point, 1 task", "1 Punkt, 1 Aufgabe"},
        {Language::german, false, "All of them are in /s/Varnix.log", "Alle stehen in /s/Varnix.log"},
        // The whole message first, where the catalogue has it whole.
        {Language::german, true, "Version numbers do not match:/App:2200/Form:2100",
         "Versionsnummern passen nicht zusammen:/Programm: 2200/Formular: 2100"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(translate_to(c.language, c.english, c.message), c.shown) << c.english;
}

// Counts as each language counts them, each form its own text; a label's sense after "|" picks
// its translation and is never shown.
TEST(Translate, PluralsAndLabelsWithASense) {
    struct Case {
        Language language;
        long long n;
        std::string shown;  // Windows-1252
    };
    const Case cases[] = {
        {Language::english, 0, "0 lines skipped in a.txt"},
        {Language::english, 1, "1 line skipped in a.txt"},
        {Language::german, 1,
         "1 Zeile \xFC"
         "bersprungen in a.txt"},
        {Language::german, 0,
         "0 Zeilen \xFC"
         "bersprungen in a.txt"},
        {Language::french, 0,
         "0 ligne ignor\xE9"
         "e dans a.txt"},
        {Language::french, 2,
         "2 lignes ignor\xE9"
         "es dans a.txt"},
    };
    for (const Case& c : cases) {
        set_language(c.language);
        const std::string english =
            plural(c.n, "{1} line skipped in a.txt", "{1} lines skipped in a.txt");
        EXPECT_EQ(translate(english), c.shown) << c.n;
    }
    const std::tuple<Language, const char*, const char*> labels[] = {
        {Language::english, "Output|file", "Output"},
        {Language::german, "Output|file", "Zieldatei"},
        {Language::german, "Output", "Ausgabe"},
        {Language::french, "Landscape|nothing known", "Paysage"},  // no entry: the word's own
    };
    for (const auto& [language, label, shown] : labels) {
        set_language(language);
        EXPECT_EQ(translate_label(label), shown) << label;
    }
    set_language(Language::english);
}

TEST(Translate, LanguageOfTheLocale) {
    const std::pair<const char*, Language> cases[] = {
        {"fr_FR.UTF-8", Language::french}, {"fr-FR", Language::french},
        {"de_AT@euro", Language::german},  {"de", Language::german},
        {"", Language::english},           {"en_GB.UTF-8", Language::english},
        {"fri", Language::english},        {"dev", Language::english},
    };
    for (const auto& [locale, language] : cases)
        EXPECT_EQ(language_of_locale(locale), language) << locale;
}

TEST(Catalogue, FaultsAreNamed) {
    const std::pair<std::string, std::string> cases[] = {
        {"Convert\nCopy\n= Copier\n", "line 1: no translation"},
        {"= Copier\n", "line 1: a translation without its English text"},
        {"Copy\n= \n", "line 2: an empty translation"},
        {"Copy\n= Cop\xE9\n", "line 2: not UTF-8, or a character outside Windows-1252"},
        {"Copy\n= \xE2\x82\xAC\xF0\x9F\x98\x80\n",
         "line 2: not UTF-8, or a character outside Windows-1252"},
        {"# note\n\\# of args\n= nombre\n\nCopy\r\n= Copier\r\n", ""},
    };
    for (const auto& [text, fault] : cases) {
        std::vector<std::string> faults;
        const auto entries = read_catalogue(text, faults);
        EXPECT_EQ(faults, fault.empty() ? std::vector<std::string>{} : std::vector{fault}) << text;
        if (fault.empty()) {
            ASSERT_EQ(entries.size(), 2u);
            EXPECT_EQ(entries[0].key, "# of args");
            EXPECT_EQ(entries[1].text, "Copier");
        }
    }
}

// Every text has its French and its German, with the same parts; a text missing in one
// catalogue, or a part lost in a translation, fails here.
TEST(Catalogue, FrenchAndGermanAreComplete) {
    auto slots = [](const std::string& s) {
        static const std::regex slot(R"(\{[1-9]\})");
        return std::multiset<std::string>(std::sregex_token_iterator(s.begin(), s.end(), slot), {});
    };
    std::map<Language, std::set<std::string>> keys;
    for (Language language : {Language::french, Language::german}) {
        std::vector<std::string> faults;
        const auto entries = read_catalogue(catalogue_source(language), faults);
        EXPECT_EQ(faults, std::vector<std::string>{});
        EXPECT_GT(entries.size(), 100u);
        for (const CatalogueEntry& e : entries) {
            EXPECT_TRUE(keys[language].insert(e.key).second) << "twice: " << e.key;
            EXPECT_EQ(slots(e.key), slots(e.text)) << e.key << " -> " << e.text;
            // Parts that touch could not be told apart; a key of parts alone fits any text.
            EXPECT_EQ(e.key.find("}{"), std::string::npos) << e.key;
            EXPECT_FALSE(std::regex_match(e.key, std::regex(R"((\{[1-9]\}\s*)+)"))) << e.key;
        }
    }
    EXPECT_EQ(keys[Language::french], keys[Language::german]);
}

}  // namespace
