// The system clipboard as plain text (wl-copy/wl-paste, xclip, xsel). Failures are fatal
// (BailOut: "Exiting: " + reason, status 1).
#pragma once

#include <string>
#include <string_view>

// Puts `text` (Windows-1252) on the clipboard, available after the program exits. Returns 0.
int wr_clp(std::string_view text);
// The same for a caller that can go on without the clipboard (a window): false and the reason
// ("Can't open clipboard", "Can't write to clipboard") instead of ending the program.
bool try_wr_clp(std::string_view text, std::string& reason);
// Reads the clipboard's text (at most 255 bytes, Windows-1252). Returns 0.
int rd_clp(std::string& text);
