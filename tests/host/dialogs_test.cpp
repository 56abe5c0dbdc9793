// The dialog layer against a stand-in zenity that records its arguments and answers as told,
// and the console fallback when no dialog can be shown.
#include "host/dialogs.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "host_test_util.hpp"

namespace {

class Dialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        write_file(bin.path() / "zenity",
                   "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$ZENITY_ARGS\"\n"
                   "printf '%s' \"$ZENITY_OUT\"\nexit \"$ZENITY_STATUS\"\n");
        chmod((bin.path() / "zenity").c_str(), 0755);
        forget_dialog_folder();
    }
    void answer(const std::string& out, int status) {
        setenv("ZENITY_OUT", out.c_str(), 1);
        setenv("ZENITY_STATUS", std::to_string(status).c_str(), 1);
    }
    std::string args() { return read_file(bin.path() / "args"); }

    TempDir bin;
    EnvOverride env{{"PATH", bin.path().string() + ":/usr/bin:/bin"},
                    {"DISPLAY", ":0"},
                    {"VARNIX_NO_DIALOGS", std::nullopt},
                    {"LC_ALL", "C.UTF-8"},
                    {"ZENITY_ARGS", (bin.path() / "args").string()}};
};

TEST_F(Dialogs, MessageBoxAnswers) {
    struct Case {
        DialogButtons buttons;
        DialogIcon icon;
        std::string out;
        int status, answer;
        std::string first_args;
    };
    const Case cases[] = {
        {DialogButtons::ok, DialogIcon::error, "", 0, 1, "--error\n"},
        {DialogButtons::ok, DialogIcon::warning, "", 1, 0, "--warning\n"},
        {DialogButtons::yesno, DialogIcon::question, "", 0, 1,
         "--question\n--ok-label=Yes\n--cancel-label=No\n"},
        {DialogButtons::yesno, DialogIcon::question, "", 1, 0, "--question\n"},
        {DialogButtons::okcancel, DialogIcon::question, "", 1, 0,
         "--question\n--ok-label=OK\n--cancel-label=Cancel\n"},
        {DialogButtons::yesnocancel, DialogIcon::question, "No\n", 1, 2,
         "--question\n--ok-label=Yes\n--cancel-label=Cancel\n--extra-button=No\n"},
        {DialogButtons::yesnocancel, DialogIcon::question, "", 1, 0, "--question\n"},
        {DialogButtons::yesnocancel, DialogIcon::question, "", 0, 1, "--question\n"},
    };
    for (const Case& c : cases) {
        answer(c.out, c.status);
        EXPECT_EQ(tinyfd_messageBox("T\xEEtle", "one\ntwo /x", c.buttons, c.icon, 1), c.answer)
            << c.first_args;
        std::string a = args();
        EXPECT_TRUE(a.starts_with(c.first_args)) << a;
        // Texts go over as UTF-8, never as markup.
        EXPECT_NE(a.find("--title=T\xC3\xAEtle\n--text=one\ntwo /x\n--no-markup\n"),
                  std::string::npos)
            << a;
    }
}

TEST_F(Dialogs, ChoosersReturnTheChoiceOrNothing) {
    answer("/home/pilot/J\xC3\xBCrgen.fpl\n", 0);
    EXPECT_EQ(
        tinyfd_saveFileDialog("Save", "/home/pilot/x.fpl", {"*.fpl", "*.txt"}, "Flight plans"),
        "/home/pilot/J\xFCrgen.fpl");
    EXPECT_EQ(args(),
              "--file-selection\n--title=Save\n--save\n--confirm-overwrite\n"
              "--filename=/home/pilot/x.fpl\n--file-filter=Flight plans | *.fpl *.txt\n"
              "--file-filter=All files | *\n");
    // Without a folder of its own a dialog starts in the one used last, else at home; never
    // in the program's folder.
    answer("/srv\n", 0);
    EXPECT_EQ(tinyfd_selectFolderDialog("Folder", ""), "/srv");
    EXPECT_EQ(args(), "--file-selection\n--title=Folder\n--directory\n--filename=/home/pilot/\n");
    answer("", 1);
    EXPECT_EQ(tinyfd_openFileDialog("Open", "x.cup", {}, ""), std::nullopt);
    EXPECT_EQ(args(), "--file-selection\n--title=Open\n--filename=/srv/x.cup\n");
    forget_dialog_folder();
    {
        EnvOverride home{{"HOME", "/home/else"}};
        EXPECT_EQ(tinyfd_openFileDialog("Open", "", {}, ""), std::nullopt);
        EXPECT_EQ(args(), "--file-selection\n--title=Open\n--filename=/home/else/\n");
    }

    const std::pair<std::string, std::optional<std::string>> colours[] = {
        {"rgb(255,128,0)\n", "#ff8000"},
        {"rgba(1,2,3,0.5)\n", "#010203"},
        {"#A0b0C0\n", "#a0b0c0"},
        {"garbage\n", std::nullopt},
    };
    for (const auto& [out, want] : colours) {
        answer(out, 0);
        EXPECT_EQ(tinyfd_colorChooser("Colour", "#102030"), want) << out;
    }
    EXPECT_EQ(args(), "--color-selection\n--title=Colour\n--color=#102030\n");
}

TEST_F(Dialogs, ConsoleFallbackWithoutDisplayToolOrPermission) {
    const std::vector<std::pair<const char*, std::optional<std::string>>> setups[] = {
        {{"DISPLAY", std::nullopt}},
        {{"PATH", "/nonexistent"}},
        {{"VARNIX_NO_DIALOGS", "1"}},
    };
    answer("", 0);
    for (const auto& setup : setups) {
        for (const auto& [name, value] : setup)
            value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        testing::internal::CaptureStderr();
        EXPECT_EQ(tinyfd_messageBox("Varnix", "a\nb", DialogButtons::yesnocancel,
                                    DialogIcon::question, 2),
                  2);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Varnix: a\nb\n");
        EXPECT_EQ(tinyfd_openFileDialog("Open", "", {}, ""), std::nullopt);
        EXPECT_EQ(tinyfd_colorChooser("Colour", "#000000"), std::nullopt);
        setenv("DISPLAY", ":0", 1);
        setenv("PATH", (bin.path().string() + ":/usr/bin:/bin").c_str(), 1);
        unsetenv("VARNIX_NO_DIALOGS");
    }
}

}  // namespace
