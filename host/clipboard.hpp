// The system clipboard as plain text (wl-copy/wl-paste, xclip, xsel). For the command line a
// failure is fatal (BailOut: "Exiting: " + reason, status 1); inside the form window it is
// shown in a message box and the program goes on, so nothing typed is lost.
#pragma once

#include <string>
#include <string_view>

// Puts `text` (Windows-1252) on the clipboard, available after the program exits. Returns 0.
int wr_clp(std::string_view text);
// Reads the clipboard's text (at most 255 bytes, Windows-1252). Returns 0.
int rd_clp(std::string& text);

// The same for a caller that can go on without the clipboard (a window): false and the reason
// ("Can't open clipboard", "Can't write to clipboard") instead of ending the program.
bool try_wr_clp(std::string_view text, std::string& reason);
bool try_rd_clp(std::string& text, std::string& reason);

// The form window's use: 0 done; 1 failed, the reason shown in an error box.
int wr_clp_form(std::string_view text);
int rd_clp_form(std::string& text);
