// The one reader of text files: line ends, the byte-order mark, numbering, encodings.
#include "util/line_reader.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/common/temp_dir.hpp"

namespace {

struct Read {
    std::vector<std::string> lines;
    std::vector<bool> lossy;
    int last_number = 0;
};

Read read_all(const std::string& bytes, LineReader::Encoding encoding) {
    TempDir dir;
    std::ofstream(dir.file("f.txt"), std::ios::binary) << bytes;
    LineReader in(encoding);
    Read r;
    EXPECT_TRUE(in.open(std::fopen(dir.file("f.txt").c_str(), "rb")));
    for (std::string line; in.next(line);) {
        r.lines.push_back(line);
        r.lossy.push_back(in.lossy());
        r.last_number = in.line_number();
    }
    EXPECT_FALSE(in.failed());
    return r;
}

TEST(LineReader, LineEndsMarkAndEncodings) {
    using E = LineReader::Encoding;
    struct Case {
        const char* what;
        std::string bytes;
        E encoding;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"LF and CR LF", "a\nb\r\nc", E::to_cp1252, {"a", "b", "c"}},
        {"CRs at the end are no part of the line", "a\r\r\nb\r", E::to_cp1252, {"a", "b"}},
        {"a CR inside stays", "a\rb\n", E::to_cp1252, {"a\rb"}},
        {"CR-only line ends (old Mac files)", "a\rb\r\rc\r", E::to_cp1252, {"a", "b", "", "c"}},
        {"empty lines count", "\n\nx\n", E::to_cp1252, {"", "", "x"}},
        {"a UTF-8 mark at the start is skipped",
         "\xEF\xBB\xBFLandscape=A\n",
         E::to_cp1252,
         {"Landscape=A"}},
        {"only at the start",
         "a\n\xEF\xBB\xBF"
         "b\n",
         E::bytes,
         {"a",
          "\xEF\xBB\xBF"
          "b"}},
        {"UTF-8 becomes Windows-1252", "Z\xC3\xBCrich\n", E::to_cp1252, {"Z\xFCrich"}},
        {"Windows-1252 stays", "Z\xFCrich\n", E::to_cp1252, {"Z\xFCrich"}},
        {"bytes mode keeps bytes", "Z\xC3\xBCrich\n", E::bytes, {"Z\xC3\xBCrich"}},
        {"nothing", "", E::to_cp1252, {}},
    };
    for (const Case& c : cases) {
        Read r = read_all(c.bytes, c.encoding);
        EXPECT_EQ(r.lines, c.lines) << c.what;
        EXPECT_EQ(r.last_number, int(c.lines.size())) << c.what;
        // Bytes in memory read as the same file would.
        LineReader mem(c.encoding);
        mem.open_bytes(c.bytes);
        std::vector<std::string> lines;
        for (std::string line; mem.next(line);) lines.push_back(line);
        EXPECT_EQ(lines, c.lines) << c.what;
        EXPECT_EQ(mem.had_bom(), c.bytes.starts_with("\xEF\xBB\xBF")) << c.what;
    }
}

TEST(LineReader, LongLinesAcrossBuffersAndLossyLines) {
    const std::string long_line(200000, 'x');
    Read r = read_all(long_line +
                          "\n\xC5\x81"
                          "eba\nok\n",
                      LineReader::Encoding::to_cp1252);
    ASSERT_EQ(r.lines.size(), 3u);
    EXPECT_EQ(r.lines[0], long_line);
    EXPECT_EQ(r.lines[1], "Leba");  // the closest spelling Windows-1252 holds
    EXPECT_EQ(r.lossy, (std::vector<bool>{false, true, false}));
    LineReader in;
    EXPECT_FALSE(in.open(nullptr));
}

}  // namespace
