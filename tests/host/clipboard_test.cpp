// The clipboard: the fatal path with no back-end, and real round trips through the desktop's
// tools under an X server (the test script starts Xvfb and exports DISPLAY).
#include "host/clipboard.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "host_test_util.hpp"

namespace {

std::string run_reader(const std::string& command) {
    std::FILE* p = popen(command.c_str(), "r");
    if (!p) return "<popen failed>";
    std::string got;
    char buf[256];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) got.append(buf, n);
    pclose(p);
    return got;
}

TEST(ClipboardDeathTest, NoBackEndIsFatal) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    auto without_display = [] {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    };
    EXPECT_EXIT((without_display(), wr_clp("x")), testing::ExitedWithCode(1),
                "^Exiting: Can't open clipboard\n$");
    std::string text;
    EXPECT_EXIT((without_display(), rd_clp(text)), testing::ExitedWithCode(1),
                "^Exiting: Can't open clipboard\n$");
    // A display but none of the tools.
    auto without_tools = [] {
        setenv("DISPLAY", ":99", 1);
        unsetenv("WAYLAND_DISPLAY");
        setenv("PATH", "/nonexistent", 1);
    };
    EXPECT_EXIT((without_tools(), wr_clp("x")), testing::ExitedWithCode(1),
                "^Exiting: Can't open clipboard\n$");
}

class Clipboard : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
    }
    // A PATH holding only `tool`, to pin the back-end.
    std::string only(const char* tool) {
        fs::path bin = tools.path() / tool;
        fs::create_directories(bin);
        fs::create_symlink(std::string("/usr/bin/") + tool, bin / tool);
        return bin.string();
    }
    TempDir tools;
    EnvOverride env{{"WAYLAND_DISPLAY", std::nullopt}};
};

TEST_F(Clipboard, RoundTrips) {
    const std::string texts[] = {
        "TPPosX=1234.500\nTPPosY=-20.000",
        "46\xB0"
        "30'N \x80",  // Windows-1252 degree and euro signs
        "",
        std::string(255, 'z'),
    };
    for (const std::string& t : texts) {
        EXPECT_EQ(wr_clp(t), 0);
        std::string back = "old";
        EXPECT_EQ(rd_clp(back), 0);
        EXPECT_EQ(back, t);
    }
    // Other programs get UTF-8 text.
    wr_clp(
        "46\xB0"
        "30'N");
    EXPECT_EQ(run_reader("xclip -selection clipboard -o"),
              "46\xC2\xB0"
              "30'N");
    // At most 255 characters arrive.
    wr_clp(std::string(300, 'y'));
    std::string back;
    rd_clp(back);
    EXPECT_EQ(back, std::string(255, 'y'));
}

TEST_F(Clipboard, EachBackEndReachesTheSameClipboard) {
    const std::string xclip = only("xclip"), xsel = only("xsel");
    const std::string path = std::getenv("PATH");
    std::string back;
    {
        EnvOverride p{{"PATH", xsel}};
        wr_clp("via xsel \xE9");
    }
    {
        EnvOverride p{{"PATH", xclip}};
        rd_clp(back);
    }
    EXPECT_EQ(back, "via xsel \xE9");
    {
        EnvOverride p{{"PATH", xclip}};
        wr_clp("via xclip");
    }
    {
        EnvOverride p{{"PATH", xsel}};
        rd_clp(back);
    }
    EXPECT_EQ(back, "via xclip");
}

}  // namespace
