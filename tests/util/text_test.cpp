#include "util/text.hpp"

#include <gtest/gtest.h>

#include "util/text_field.hpp"

TEST(TextField, CutsPadsAndComparesAsBlankPaddedText) {
    TextField<5> f = "abcdefg";
    EXPECT_EQ(f.view(), "abcde");
    f = "ab  ";
    EXPECT_EQ(f.view(), "ab");
    EXPECT_EQ(f.padded(), "ab   ");
    EXPECT_EQ(f, TextField<5>("ab"));
    EXPECT_EQ(f, "ab   ");
    EXPECT_EQ(f[4], ' ');
    EXPECT_EQ(f[99], ' ');
    f = "   ";
    EXPECT_TRUE(f.blank());
}

TEST(StrcpyC2f, CopiesUpToNulOrCount) {
    TextField<8> f;
    EXPECT_EQ(strcpy_c2f("hello", f), 5u);
    EXPECT_EQ(f.view(), "hello");
    EXPECT_EQ(strcpy_c2f("hello", f, 3), 3u);
    EXPECT_EQ(f.view(), "hel");
    EXPECT_EQ(strcpy_c2f("a long text here", f), 8u);
    EXPECT_EQ(f.view(), "a long t");
}

struct ListCase {
    std::string list, item, rest;
};

TEST(ExtractList, TakesFirstItemHonouringQuotes) {
    const ListCase cases[] = {
        {"", "", ""},
        {"   ", "", ""},
        {"abc", "abc", ""},
        {"  abc", "  abc", ""},  // no separator: the whole list, not left-aligned
        {"a,b,c", "a", "b,c"},
        {" a , b", "a ", "b"},
        {"a\"b,c\",d", "a\"b,c\"", "d"},
        {"\"x,y\"", "\"x,y\"", ""},
        {"\"x,y\"z", "\"x,y\"", ""},      // one character after the closing quote dropped
        {"\"x,y\"z,w", "\"x,y\"z", "w"},  // the separator after the quotes counts
        {"a\"b,c", "a\"b", "c"},          // an unmatched quote is ordinary text
    };
    for (const auto& c : cases) {
        std::string val, buff = c.list;
        extract_comma(val, buff);
        EXPECT_EQ(val, c.item) << c.list;
        EXPECT_EQ(buff, c.rest) << c.list;
    }
}

TEST(ReadList, SplitsUntilBlankItem) {
    EXPECT_EQ(read_list("a;b; c", ';'), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(read_list("", ';').empty());
}

TEST(ExtractKeyVal, EqualsWinsOverColon) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"key = value", "key", "value"}, {"Landscape=Alps", "Landscape", "Alps"},
        {"C:\\x=1", "C:\\x", "1"},       {"a: b", "a", "b"},
        {"plain", "plain", ""},          {"k=", "k", ""},
    };
    for (const auto& [line, key, val] : cases) {
        std::string k, v;
        extract_key_val(line, k, v);
        EXPECT_EQ(k, key) << line;
        EXPECT_EQ(v, val) << line;
    }
}

TEST(ExtractKeyValRel, LastOperatorOfTableDecides) {
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        {"a <= 3", "a", "<=", "3"}, {"a!=b", "a", "!=", "b"}, {"a = b", "a", "=", "b"},
        {"x > 1", "x", ">", "1"},   {"x>=1", "x", ">=", "1"}, {"none", "none", "", ""},
    };
    for (const auto& [line, key, rel, val] : cases) {
        std::string k, v, r;
        extract_key_val_rel(line, k, v, r);
        EXPECT_EQ(k, key) << line;
        EXPECT_EQ(r, rel) << line;
        EXPECT_EQ(v, val) << line;
    }
}

TEST(CharacterTests, Table) {
    EXPECT_TRUE(is_true("yes"));
    EXPECT_TRUE(is_true("1"));
    EXPECT_TRUE(is_true("Y"));
    EXPECT_FALSE(is_true("no"));
    EXPECT_FALSE(is_true("true"));
    EXPECT_FALSE(is_true(""));
    EXPECT_TRUE(is_num(" -1.5E3 "));
    EXPECT_TRUE(is_num("--"));
    EXPECT_FALSE(is_num("1 2"));
    EXPECT_FALSE(is_num("  "));
    EXPECT_TRUE(is_uint("123  "));
    EXPECT_FALSE(is_uint(" 123"));
    EXPECT_FALSE(is_uint("-1"));
    EXPECT_TRUE(case_blind_compare("Abc  ", "aBC"));
    EXPECT_FALSE(case_blind_compare("Abc", "aBCd"));
}

TEST(Quotes, RemoveAndAdd) {
    const std::pair<std::string, std::string> cases[] = {
        {"\"abc\"", "abc"}, {"  \"a b\"  ", "  a b"}, {"\"", ""}, {"abc\"", "abc\""}, {"", ""},
        {"\"a\"  ", "a"},       {"\"\"", ""},
    };
    for (const auto& [in, out] : cases) {
        std::string s = in;
        remove_quotes(s);
        EXPECT_EQ(s, out) << in;
        if (!in.starts_with(' ')) {
            EXPECT_EQ(unquoted(in), out) << in;
        }
    }
    std::string s = "'x'";
    remove_simple_quotes(s);
    EXPECT_EQ(s, "x");
    s = "a b";
    quote_spaces(s);
    EXPECT_EQ(s, "\"a b\"");
    s = "ab";
    quote_spaces(s);
    EXPECT_EQ(s, "ab");
}

TEST(SmallConversions, CaseNulsAndLineFeeds) {
    std::string s = "aZ\xe9";
    majusc(s);
    EXPECT_EQ(s, "AZ\xe9");
    minusc(s);
    EXPECT_EQ(s, "az\xe9");
    s = std::string("ab\0cd", 5);
    remove_0(s);
    EXPECT_EQ(s, "abcd");
    s = std::string("ab\0cd", 5);
    remove_trail_0(s);
    EXPECT_EQ(s, "ab   ");
    s = "a\nb\n";
    make_printable(s);
    EXPECT_EQ(s, "a/b/");
}

TEST(CsvConversions, Table) {
    std::string s = "1.5,\"a.b\",x.y,2.25";
    to_frcsv(s);
    EXPECT_EQ(s, "1,5;\"a.b\";x.y;2,25");
    s = "1.5,2";
    subs_dot_comma(s);
    EXPECT_EQ(s, "1,5;2");
    s = "1,5;2";
    from_frcsv(s);
    EXPECT_EQ(s, "1.5,2");
    s = "a,b";
    subs_comma(s);
    EXPECT_EQ(s, "a;b");
}

TEST(RandomChar, DigitsOrCapitals) {
    for (int i = 0; i < 1000; ++i) {
        char c = random_char();
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) << int(c);
    }
}
