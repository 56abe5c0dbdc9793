// Message channels, the program log's exact layout and the language test.
#include "host/messages.hpp"

#include <gtest/gtest.h>

#include "host/diag.hpp"
#include "host_test_util.hpp"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

TEST(Messages, ConsoleLineBreaksAtSlashes) {
    const std::pair<const char*, const char*> cases[] = {
        {"one/two", " one\ntwo\n"},  {"one\\/two", " one/two\n"}, {"/first", " \nfirst\n"},
        {"a\\/b/c   ", " a/b\nc\n"}, {"plain   ", " plain\n"},    {"", " \n"},
    };
    TempDir dir;
    ChangeDir here(dir.path());
    for (const auto& [msg, out] : cases) {
        CaptureStdout();
        EXPECT_EQ(error_message(s_error, msg, true), s_error);
        EXPECT_EQ(GetCapturedStdout(), out) << msg;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "Logfile.txt"));  // the console channel logs nothing
}

TEST(Messages, BoxWithoutDialogsFallsBackToStandardError) {
    EnvOverride env{{"VARNIX_NO_DIALOGS", "1"}};
    const std::string title70(70, 'T');
    struct Case {
        int status;
        int result;
        std::string err;
    };
    const Case cases[] = {
        {s_info, s_info, std::string(63, 'T') + ": one\ntwo\n"},
        {s_error, s_error, std::string(63, 'T') + ": one\ntwo\n"},
        {s_warning, s_warning, std::string(63, 'T') + ": one\ntwo\n"},
        {s_yesno, 1, std::string(63, 'T') + ": one\ntwo\n"},  // the first button
        {s_okcancel, 1, std::string(63, 'T') + ": one\ntwo\n"},
        {s_yesnocancel, 1, std::string(63, 'T') + ": one\ntwo\n"},
        {9, 9, ""},  // no such box: nothing shown
    };
    for (const Case& c : cases) {
        CaptureStdout();
        CaptureStderr();
        EXPECT_EQ(error_message_tit(c.status, title70, "one/two", false), c.result) << c.status;
        EXPECT_EQ(GetCapturedStderr(), c.err) << c.status;
        EXPECT_EQ(GetCapturedStdout(), "") << c.status;
    }
    // Long messages are cut at 511 characters.
    CaptureStderr();
    error_message_tit(s_info, "t", std::string(600, 'm'), false);
    EXPECT_EQ(GetCapturedStderr(), "t: " + std::string(511, 'm') + "\n");
}

TEST(Messages, BatchBoxesAlsoReachStandardErrorOnce) {
    // A stand-in zenity that notes its call: the box opens and the terminal sees the text once.
    TempDir bin;
    write_file(bin.path() / "zenity", "#!/bin/sh\necho \"$@\" >> \"$0.calls\"\n");
    fs::permissions(bin.path() / "zenity", fs::perms::owner_all);
    struct Case {
        const char* no_dialogs;
        bool box_opens;
    };
    for (const Case c : {Case{nullptr, true}, Case{"1", false}}) {
        EnvOverride env{{"VARNIX_NO_DIALOGS",
                         c.no_dialogs ? std::optional<std::string>(c.no_dialogs) : std::nullopt},
                        {"DISPLAY", ":0"},
                        {"PATH", bin.path().string() + ":/usr/bin:/bin"}};
        set_box_echo(true);
        CaptureStderr();
        EXPECT_EQ(error_message(s_error,
                                "*** Impossible to open batch input file :" +
                                    message_literal("a/b.txt") + " ***",
                                false),
                  s_error);
        EXPECT_EQ(GetCapturedStderr(),
                  "Varnix: *** Impossible to open batch input file :a/b.txt ***\n");
        EXPECT_EQ(fs::remove(bin.path() / "zenity.calls"), c.box_opens);
        set_box_echo(false);
    }
}

TEST(ProgramLog, ExactLayout) {
    auto rep = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "+-";
        return s;
    };
    const std::string warn = "+ WARNING " + rep(34), info = "+ INFO " + rep(36),
                      err = "+ ERROR " + rep(35), closing = rep(39);
    ASSERT_EQ(warn.size(), 78u);
    ASSERT_EQ(info.size(), 79u);
    ASSERT_EQ(err.size(), 78u);

    const std::pair<std::string, std::string> cases[] = {
        {"{W}careful", warn + "\ncareful\n" + closing + "\n"},
        {"{I}a/b", info + "\na\nb\n" + closing + "\n"},
        {"{E}", err + "\n \n" + closing + "\n"},
        {"a/b/", "a\nb\n\n"},
        {"a   /b   ", "a\nb\n"},
        {"", " \n"},
        {"   ", " \n"},
        {"\"x/y\"  ", "x/y\n"},
        {"line1\nline2", "line1\nline2\n"},
        {"\"Volaro 2 install path: /p\"", "Volaro 2 install path: /p\n"},
    };
    for (const auto& [msg, text] : cases) {
        TempDir dir;
        ChangeDir here(dir.path());
        reset_messages();
        CaptureStdout();
        log_message_f(msg);
        EXPECT_EQ(GetCapturedStdout(), "");  // not on the console unless diagnostics are on
        EXPECT_EQ(read_file(dir.path() / "Logfile.txt"), text) << msg;
    }
}

TEST(ProgramLog, AppendsAcrossCallsAndRuns) {
    TempDir dir;
    ChangeDir here(dir.path());
    reset_messages();
    write_file(dir.path() / "Logfile.txt", "earlier\n");
    log_message_f("one");
    log_message(std::string(1100, 'x'));  // cut to its 1024-character field
    EXPECT_EQ(read_file(dir.path() / "Logfile.txt"),
              "earlier\none\n" + std::string(1024, 'x') + "\n");
}

TEST(ProgramLog, ConsoleCopyWithDiagnosticsAndUnwritableLog) {
    TempDir dir, state;
    EnvOverride env{{"XDG_STATE_HOME", state.path().string()}};  // where the log then goes
    reset_messages();
    set_log_file_name((dir.path() / "missing" / "Logfile.txt").string());
    set_diag_on(true);
    CaptureStdout();
    log_message_f("{I}hello");
    std::string out = GetCapturedStdout();
    set_diag_on(false);
    reset_messages();
    EXPECT_NE(out.find(" hello\n"), std::string::npos) << out;
    EXPECT_NE(out.find(" + INFO +-"), std::string::npos) << out;
}

TEST(Language, FrenchFromTheLocale) {
    struct Case {
        std::optional<std::string> all, messages, lang;
        bool french;
    };
    const Case cases[] = {
        {"fr_FR.UTF-8", std::nullopt, std::nullopt, true},
        {"", "fr_CA", "en_US", true},  // empty values do not count
        {std::nullopt, std::nullopt, "fr", true},
        {std::nullopt, std::nullopt, "fr.UTF-8", true},
        {"en_US.UTF-8", std::nullopt, "fr_FR", false},
        {"C", std::nullopt, "fr_FR", false},
        {std::nullopt, std::nullopt, "fri", false},
        {std::nullopt, std::nullopt, "de_FR", false},
        {std::nullopt, std::nullopt, std::nullopt, false},
    };
    for (const Case& c : cases) {
        EnvOverride env{{"LC_ALL", c.all}, {"LC_MESSAGES", c.messages}, {"LANG", c.lang}};
        EXPECT_EQ(IsLanguageFrench(), c.french)
            << c.all.value_or("-") << " " << c.messages.value_or("-") << " "
            << c.lang.value_or("-");
    }
}

TEST(HideConsole, ReportsOnlyAsDiagnostics) {
    CaptureStdout();
    HideConsole();
    EXPECT_EQ(GetCapturedStdout(), "");
}

}  // namespace
