// What a program without a console shows as it ends: the lines it would have written there,
// less those repeating a box already seen, cut to what fits a box.
#include <gtest/gtest.h>

#include "host/console.hpp"

namespace {

TEST(ConsoleKeep, LinesShownAtTheEnd) {
    struct Case {
        const char* what;
        std::vector<std::string> lines, boxes;  // boxes in UTF-8, as the dialog layer shows them
        std::size_t max_lines;
        std::string text;
        bool stopped, warned;
    };
    const Case cases[] = {
        {"a warning, then the result",
         {" Warning: the point lies outside landscape Demo", "TPPosX=1\nTPPosY=2"}, {}, 40,
         " Warning: the point lies outside landscape Demo\nTPPosX=1\nTPPosY=2", false, true},
        {"a box's echo and its STOP line are not shown twice",
         {"Varnix: Landscape Nowhere not installed", " a detail",
          "STOP Landscape Nowhere not installed"},
         {"Landscape Nowhere not installed"}, 40, " a detail", false, false},
        {"a box seen in UTF-8, its lines kept in Windows-1252",
         {"STOP No waypoint in \305ngsj\366.cup"},
         {"No waypoint in \xC3\x85ngsj\xC3\xB6.cup"}, 40, "", false, false},
        {"a box with other text leaves the line", {"STOP one thing"}, {"another thing"}, 40,
         "STOP one thing", true, false},
        {"an empty box repeats nothing", {"STOP x"}, {""}, 40, "STOP x", true, false},
        {"cut to the box, a STOP past the cut still counts", {"1", "2", "3", "STOP 4"}, {}, 2,
         "1\n2\n...", true, false},
    };
    for (const Case& c : cases) {
        reset_console_keep();
        for (const std::string& line : c.lines) console_keep(line);
        for (const std::string& box : c.boxes) console_box_shown(box);
        const KeptLines kept = console_kept(c.max_lines);
        EXPECT_EQ(kept.text, c.text) << c.what;
        EXPECT_EQ(kept.stopped, c.stopped) << c.what;
        EXPECT_EQ(kept.warned, c.warned) << c.what;
    }
    reset_console_keep();
}

}  // namespace
