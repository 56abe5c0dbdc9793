// The system clipboard as plain text (wl-copy/wl-paste, xclip, xsel). Failures are fatal
// (BailOut: "Exiting: " + reason, status 1).
#pragma once

#include <string>
#include <string_view>

// Puts `text` (Windows-1252) on the clipboard, available after the program exits. Returns 0.
int wr_clp(std::string_view text);
// Reads the clipboard's text (at most 255 bytes, Windows-1252). Returns 0.
int rd_clp(std::string& text);
