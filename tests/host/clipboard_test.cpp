// The clipboard: the fault with no back-end, and real round trips through the desktop's
// tools under a private X server.
#include "host/clipboard.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

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

// Without a back-end the clipboard is a fault for the driver to end the run with; the process
// goes on.
TEST(ClipboardFault, NoBackEnd) {
    struct Case {
        const char* what;
        std::optional<std::string> display, path;  // PATH left as it is when none
    };
    const Case cases[] = {
        {"no display", std::nullopt, std::nullopt},
        {"a display but none of the tools", ":99", "/nonexistent"},
    };
    const char* path = std::getenv("PATH");
    for (const Case& c : cases) {
        EnvOverride env{{"DISPLAY", c.display},
                        {"WAYLAND_DISPLAY", std::nullopt},
                        {"PATH", c.path ? c.path
                                 : path ? std::optional<std::string>(path)
                                        : std::nullopt}};
        const Fault written = wr_clp("x");
        EXPECT_EQ(written.code, Fault::Code::clipboard) << c.what;
        EXPECT_EQ(written.text, "Can't open clipboard") << c.what;
        std::string text;
        const Fault read = rd_clp(text);
        EXPECT_EQ(read.code, Fault::Code::clipboard) << c.what;
        EXPECT_EQ(read.text, "Can't open clipboard") << c.what;
    }
}

// A private X server per test process: the clipboard is shared by everything on a display,
// and other tests may use the common one at the same time.
class PrivateDisplay {
  public:
    PrivateDisplay() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            int null = open("/dev/null", O_RDWR);
            dup2(null, 1);
            dup2(null, 2);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "64x64x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes the display number, then a line feed, once it takes connections.
        std::string number;
        char c = 0;
        while (pid_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (c == '\n' && !number.empty()) display_ = ":" + number;
    }
    ~PrivateDisplay() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

class Clipboard : public ::testing::Test {
  protected:
    void SetUp() override {
        if (x.display().empty()) GTEST_SKIP() << "needs Xvfb";
    }
    PrivateDisplay x;
    EnvOverride env{{"WAYLAND_DISPLAY", std::nullopt}, {"DISPLAY", x.display()}};
    TempDir tools;

    // A PATH holding only `tool`, to pin the back-end.
    std::string only(const char* tool) {
        fs::path bin = tools.path() / tool;
        fs::create_directories(bin);
        fs::create_symlink(std::string("/usr/bin/") + tool, bin / tool);
        return bin.string();
    }
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
        EXPECT_FALSE(wr_clp(t));
        std::string back = "old";
        EXPECT_FALSE(rd_clp(back));
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
