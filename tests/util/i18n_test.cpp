// The pilot's language: catalogue lookup, messages built from parts, and the catalogues
// themselves.
#include "util/i18n.hpp"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

namespace {

struct Case {
    Language language;
    std::string english, shown;  // Windows-1252
};

TEST(Translate, TextsAndMessagesBuiltFromParts) {
    const Case cases[] = {
        {Language::french, "Convert", "Convertir"},
        {Language::german, "Convert", "Umrechnen"},
        {Language::english, "Convert", "Convert"},
        // Blanks at the ends stay where the program put them.
        {Language::german, " Usage :", " Aufruf:"},
        // A part is carried over whole, wherever the language puts it.
        {Language::german, "Landscape Alps 2 not installed or corrupted",
         "Landschaft Alps 2 nicht installiert oder besch\xE4"
         "digt"},
        {Language::french, "Landscape  not installed or corrupted",
         "Paysage  non install\xE9 ou endommag\xE9"},
        // A part that is itself a text is translated too.
        {Language::french, "line skipped: its X/Y cannot be computed",
         "ligne ignor\xE9"
         "e : son X/Y ne peut \xEAtre calcul\xE9"},
        {Language::german, " Warning: in.txt, line 3: line skipped: its X/Y cannot be computed",
         " Warnung: in.txt, Zeile 3: Zeile \xFC"
         "bersprungen: ihr X/Y l\xE4sst sich nicht "
         "berechnen"},
        // The more specific of two patterns that fit.
        {Language::german, "turnpoint 4 has no TPPosZ: elevation 0",
         "Wendepunkt 4 hat kein TPPosZ: H\xF6he 0"},
        {Language::german, "turnpoint 4 has no TPPosY", "Wendepunkt 4 hat kein TPPosY"},
        // A text the catalogue does not know, and a result, stay as they are.
        {Language::french, "TPPosX=12345.000", "TPPosX=12345.000"},
        {Language::german, "Landscape", "Landschaft"},
        {Language::german, "Landscapes", "Landscapes"},
        // Lines of a text apart, when the whole has no entry.
        {Language::french, "Convert\nCopy", "Convertir\nCopier"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(translate_to(c.language, c.english), c.shown) << c.english;
}

TEST(Translate, MessageLinesAndLiteralSlashes) {
    const Case cases[] = {
        // "/" breaks a message; each line is looked up on its own.
        {Language::french,
         "*** Impossible to open batch output file :out.fpl ***/Permission denied",
         "*** Impossible d'ouvrir le fichier de sortie :out.fpl ***/Permission refus\xE9"
         "e"},
        // "\/" is a path's own "/": the line is one part.
        {Language::german, "Landscape a\\/b not installed or corrupted",
         "Landschaft a\\/b nicht installiert oder besch\xE4"
         "digt"},
        // The whole message first, where the catalogue has it whole.
        {Language::german, "Version numbers do not match:/App:2200/Form:2100",
         "Versionsnummern passen nicht zusammen:/Programm: 2200/Formular: 2100"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(translate_to(c.language, c.english, true), c.shown) << c.english;
    // Outside a message, "/" is a character like any other.
    EXPECT_EQ(translate_to(Language::french, "Convert/Copy"), "Convert/Copy");
}

TEST(Translate, LanguageOfTheLocale) {
    const std::pair<const char*, Language> cases[] = {
        {"fr_FR.UTF-8", Language::french}, {"fr_CH", Language::french},
        {"fr", Language::french},          {"fr-FR", Language::french},
        {"de_DE.UTF-8", Language::german}, {"de_AT@euro", Language::german},
        {"de", Language::german},          {"C", Language::english},
        {"", Language::english},           {"en_GB.UTF-8", Language::english},
        {"fri", Language::english},        {"dev", Language::english},
    };
    for (const auto& [locale, language] : cases)
        EXPECT_EQ(language_of_locale(locale), language) << locale;
}

TEST(Catalogue, FaultsAreNamed) {
    const std::pair<std::string, std::string> cases[] = {
        {"Convert\n", "line 1: no translation"},
        {"Convert\nCopy\n= Copier\n", "line 1: no translation"},
        {"= Copier\n", "line 1: a translation without its English text"},
        {"Copy\n= \n", "line 2: an empty translation"},
        {"Copy\n= Cop\xE9\n", "line 2: not UTF-8, or a character outside Windows-1252"},
        {"Copy\n= \xE2\x82\xAC\xF0\x9F\x98\x80\n",
         "line 2: not UTF-8, or a character outside Windows-1252"},
    };
    for (const auto& [text, fault] : cases) {
        std::vector<std::string> faults;
        read_catalogue(text, faults);
        ASSERT_EQ(faults.size(), 1u) << text;
        EXPECT_EQ(faults[0], fault) << text;
    }
    std::vector<std::string> faults;
    const auto entries =
        read_catalogue("# note\n\\# of args\n= nombre\n\nCopy\r\n= Copier\r\n", faults);
    EXPECT_TRUE(faults.empty());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, "# of args");
    EXPECT_EQ(entries[1].text, "Copier");
}

// Every text has its French and its German, with the same parts; a text missing in one
// catalogue, or a part lost in a translation, fails here.
TEST(Catalogue, FrenchAndGermanAreComplete) {
    const std::regex slot(R"(\{[1-9]\})");
    auto slots = [&](const std::string& s) {
        std::multiset<std::string> out;
        for (auto it = std::sregex_iterator(s.begin(), s.end(), slot); it != std::sregex_iterator();
             ++it)
            out.insert(it->str());
        return out;
    };
    std::map<std::string, std::set<std::string>> keys;
    for (Language language : {Language::french, Language::german}) {
        std::vector<std::string> faults;
        const auto entries = read_catalogue(catalogue_source(language), faults);
        EXPECT_TRUE(faults.empty()) << faults.front();
        EXPECT_GT(entries.size(), 100u);
        std::set<std::string> seen;
        for (const CatalogueEntry& e : entries) {
            EXPECT_TRUE(seen.insert(e.key).second) << "twice: " << e.key;
            EXPECT_EQ(slots(e.key), slots(e.text)) << e.key << " -> " << e.text;
            // Parts that touch could not be told apart; a key of parts alone fits any text.
            EXPECT_EQ(e.key.find("}{"), std::string::npos) << e.key;
            EXPECT_FALSE(std::regex_match(e.key, std::regex(R"((\{[1-9]\}\s*)+)"))) << e.key;
        }
        keys[language == Language::french ? "fr" : "de"] = seen;
    }
    for (const std::string& k : keys["fr"]) EXPECT_TRUE(keys["de"].count(k)) << "no German: " << k;
    for (const std::string& k : keys["de"]) EXPECT_TRUE(keys["fr"].count(k)) << "no French: " << k;
}

}  // namespace
