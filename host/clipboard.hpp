// The system clipboard as plain text (wl-copy/wl-paste, xclip, xsel). For the command line a
// failure is a clipboard fault, which the driver ends the run with ("Exiting: " + reason,
// status 1); inside the form window it is shown in a message box and the program goes on, so
// nothing typed is lost.
#pragma once

#include <string>
#include <string_view>

#include "include/fault.hpp"

// Puts `text` (Windows-1252) on the clipboard, available after the program exits. No fault on
// success; else a clipboard fault with the reason ("Can't open clipboard"...).
Fault wr_clp(std::string_view text);
// Reads the clipboard's text (at most 255 bytes, Windows-1252); a fault as wr_clp's.
Fault rd_clp(std::string& text);

// The same for a caller that can go on without the clipboard (a window): false and the reason
// ("Can't open clipboard", "Can't write to clipboard") instead of ending the program.
bool try_wr_clp(std::string_view text, std::string& reason);
bool try_rd_clp(std::string& text, std::string& reason);

// The form window's use: 0 done; 1 failed, the reason shown in an error box.
int wr_clp_form(std::string_view text);
int rd_clp_form(std::string& text);
