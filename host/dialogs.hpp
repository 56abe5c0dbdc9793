// The dialog layer: message boxes and the file, folder and colour choosers of the form.
// On Linux it runs zenity. With no display, no zenity, or VARNIX_NO_DIALOGS=1, a message box
// writes its title and text to standard error and answers with its default button, and the
// choosers return nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class DialogButtons { ok, okcancel, yesno, yesnocancel };
enum class DialogIcon { info, warning, error, question };

// A dialog is another program the caller waits for, while its own windows still need drawing:
// from now on `pump` is called every few milliseconds while a dialog is up, and `done` once
// when it has ended. Empty functions: the caller just waits.
void set_dialog_waiter(std::function<void()> pump, std::function<void()> done);

// True when VARNIX_NO_DIALOGS=1 turns every dialog into its console fallback.
bool dialogs_disabled();

// Returns 1 for ok/yes, 0 for cancel/no, 2 for "no" in a yes/no/cancel box.
// `default_button` is the answer of the console fallback.
int tinyfd_messageBox(std::string_view title, std::string_view message, DialogButtons buttons,
                      DialogIcon icon, int default_button);
// File and folder choosers: the chosen path (Windows-1252), or nothing on cancel.
std::optional<std::string> tinyfd_openFileDialog(std::string_view title,
                                                 std::string_view default_path,
                                                 const std::vector<std::string>& patterns,
                                                 std::string_view filter_description);
std::optional<std::string> tinyfd_saveFileDialog(std::string_view title,
                                                 std::string_view default_path,
                                                 const std::vector<std::string>& patterns,
                                                 std::string_view filter_description);
std::optional<std::string> tinyfd_selectFolderDialog(std::string_view title,
                                                     std::string_view default_path);
// A file dialog starts where the box's path points; a box without a folder starts in the
// folder used last in this run, else in Documents (Windows) or the home folder.
// Forgets the folder used last (tests).
void forget_dialog_folder();
// Colour chooser: "#rrggbb" in and out.
std::optional<std::string> tinyfd_colorChooser(std::string_view title,
                                               std::string_view default_hex);
// "#rrggbb" (either case) as 0xRRGGBB; nothing for any other text.
std::optional<int> parse_hex_colour(std::string_view hex);
