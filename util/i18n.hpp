// The pilot's language: the program's English texts are the keys, and a catalogue per language
// (data/lang/LANG.txt, compiled in) holds their French and German. Texts are translated where
// they leave the program (the console, a message box, the window's view), so a module only
// ever writes English, and a new text needs nothing but its catalogue lines.
//
// A catalogue entry is a key line (the English text, blanks at either end left out; a "\"
// before a text that begins with "#" or "= ") and a line "= " + translation; "#" begins a
// comment line. "{1}", "{2}"... stand for the parts a message is built from (a path, a
// name, a number); a part that is itself a text of the catalogue is translated too. A message
// of several lines ("/" between them, message_shown) is looked up whole, else line by line.
// Texts are Windows-1252, as everywhere inside the program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class Language { english, french, german };

// The language of the texts shown from now on (English until set).
void set_language(Language language);
Language current_language();
// The language a locale name asks for ("fr_CH.UTF-8", "de", "fr-FR"); English for any other.
Language language_of_locale(std::string_view locale);

// `text` (its lines apart when it has several) in the current language; `text` itself in
// English, or when no entry fits.
std::string translate(std::string_view text);
// "1 task", "2 tasks": `one` or `many` (English texts of the catalogue, "{1}" standing for the
// number) as the pilot's language counts n, with n in place of "{1}". French takes the singular
// for 0 too; English and German for 1 alone.
std::string plural(long long n, std::string_view one, std::string_view many);
// A label of a form: where one English word needs two translations, the form's definition
// names the label's sense after a "|" ("Output|file"), which is looked up whole and never shown.
std::string translate_label(std::string_view label);
// A message text, where "/" breaks the lines and "\/" is a literal "/" (host/messages.hpp).
std::string translate_message(std::string_view msg);
// The same in a given language (tests).
std::string translate_to(Language language, std::string_view text, bool message = false);

// One catalogue as read: its keys in file order, with their translations.
struct CatalogueEntry {
    std::string key, text;
    int line = 0;  // where the key stands in the catalogue file
};
// Reads catalogue text (UTF-8); faults (a key without translation, a line that is neither)
// are named in `faults` as "line N: what".
std::vector<CatalogueEntry> read_catalogue(std::string_view utf8, std::vector<std::string>& faults);
// The compiled-in catalogue text of a language ("" for English).
std::string_view catalogue_source(Language language);
