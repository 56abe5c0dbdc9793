// Messages: a console line or a message box (chosen by the caller's qline flag), the program
// log "Logfile.txt", and the console-window and language queries. Nothing here ends the
// process: that is the driver's alone. Texts are given in English and shown in the pilot's
// language (util/i18n.hpp).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "include/messages.hpp"
#include "util/i18n.hpp"

// Console line (qline) or message box with `title`. "/" in `msg` is a line break, "\/" a
// literal "/". Returns the status, or for the question codes (s_yesno...) the answer
// (1 yes/ok, 0 no/cancel, 2 "no" of yes/no/cancel).
int error_message_tit(int msg_status, std::string_view title, std::string_view msg, bool qline);
// `text` with every "/" kept as it is in a message (a path in a message text).
std::string message_literal(std::string_view text);
// A message as it is shown: "/" a line break, "\/" a "/".
std::string message_shown(std::string_view msg);
inline int error_message(int msg_status, std::string_view msg, bool qline) {
    return error_message_tit(msg_status, "Varnix", msg, qline);
}
// In a batch run without a console (qline false), messages shown in a box are also written to
// standard error, so a terminal or a script sees them.
void set_box_echo(bool on);
// Shows the box through the dialog layer; returns the box result (the answer for question
// codes, the status itself otherwise).
int DisplayMessage(std::string_view title, std::string_view message, int status);

// A run's user messages when no one reads the console (the window's file page): while a sink is
// set, run_message lines and error_message texts that ask no question go to it, with their
// status, instead of to standard error or a box. An empty sink puts them back.
using MessageSink = std::function<void(int msg_status, std::string_view text)>;
void set_message_sink(MessageSink sink);
// A warning or notice of a run, as the console shows it: a line on standard error, or the sink's.
void run_message(std::string_view line);

// Lines appended to the log; "{W}", "{I}", "{E}" prefixes add banners. "/" separates lines.
// The console copy of the lines appears only with diagnostics on: whatever the user must see
// reaches the console through error_message.
void log_message_f(std::string_view msg);
void log_message(std::string_view msg);
// The log file name ("Logfile.txt" in the current folder unless a test changes it).
void set_log_file_name(std::string_view name);
// Back to the start-up state (tests).
void reset_messages();

void HideConsole();
// Started from the desktop (a file dropped on the program, "Open with"), not from a shell or a
// script: a lone operand then opens the window on it.
bool started_from_desktop();
bool IsLanguageFrench();
// The user's interface language (Windows: the user's UI language; elsewhere LC_ALL,
// LC_MESSAGES, LANG), English for any language without a catalogue.
Language user_language();
