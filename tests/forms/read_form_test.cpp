// Reading definition files: grammar, keys, post-processing, checks and the form log.
#include <cerrno>
#include <string>

#include "tests/forms/forms_fixture.hpp"
#include "util/i18n.hpp"

using ReadForm = FormsTest;

namespace {

// A box that passes every check; `extra` adds or overrides keys.
std::string box(std::string_view name, std::string_view type, std::string_view extra = "") {
    return "{Name=" + std::string(name) + "; Type=" + std::string(type) + "; Pos=10,10; Size=5; " +
           std::string(extra) + "}\n";
}

}  // namespace

TEST_F(ReadForm, GrammarVariants) {
    struct Case {
        const char* what;
        const char* text;
        int nb_inpt;
        const char* name1;  // inpt_nam(1)
        int size1;          // inpt_siz(1)
    };
    const Case cases[] = {
        {"one-line block", "[Input-boxes]\n{Name=A; Type=I; Pos=1,2; Size=3}\n", 1, "A", 3},
        {"block over lines", "[Input-boxes]\n{\n Name=A\n  Type=I\nPos=1,2\nSize=3\n}\n", 1, "A",
         3},
        {"brace after first key", "[Input-boxes]\n{ Name=A\nType=I;Pos=1,2;Size=3 }\n", 1, "A", 3},
        {"CR LF line ends", "[Input-boxes]\r\n{Name=A; Type=I; Pos=1,2; Size=3}\r\n", 1, "A", 3},
        {"comments and blank lines",
         "# c\n\n[Input-boxes]\n# {Name=X}\n{Name=A;Type=I;Pos=1,2;Size=3}\n", 1, "A", 3},
        {"empty part ends the line", "[Input-boxes]\n{Name=A;Type=I;Pos=1,2;;Size=9\nSize=3}\n", 1,
         "A", 3},
        {"key prefixes", "[Input-boxes]\n{Names=A; Types=I; Position=1,2; Sizes=3}\n", 1, "A", 3},
        {"free-form number", "[Input-boxes]\n{Name=A; Type=I; Pos=1,2; Size= 3 px}\n", 1, "A", 3},
        {"quoted semicolon", "[Input-boxes]\n{Name=\"A;B\"; Type=I; Pos=1,2; Size=3}\n", 1, "A;B",
         3},
        {"colon as separator", "[Input-boxes]\n{Name:A; Type:I; Pos:1,2; Size:3}\n", 1, "A", 3},
        {"keys outside a block", "[Input-boxes]\nSize=7\n{Name=A;Type=I;Pos=1,2;Size=3}\nName=B\n",
         1, "A", 3},
        {"unknown header ignored", "[input-boxes]\n{Name=A;Type=I;Pos=1,2;Size=3}\n", 0, "", 0},
        {"empty file", "", 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset_form_model();
        EXPECT_EQ(read_form(c.text), 0) << log();
        EXPECT_EQ(frm_get_count(), c.nb_inpt);
        EXPECT_EQ(frm_context().frmc01.inpt_nam[1].view(), c.name1);
        EXPECT_EQ(frm_context().frmi01.inpt_siz[1], c.size1);
    }
}

TEST_F(ReadForm, LongLinesAreCutAt256) {
    std::string title(300, 'x');
    ASSERT_EQ(read_form("[General]\nWindow Title=" + title + "\n"), 0);
    // 256 bytes of line, less the 13 of the key and "=", cut again to the 127 of the field.
    EXPECT_EQ(frm_context().frmc00.wintit.length(), 127u);
}

TEST_F(ReadForm, GeneralKeys) {
    ASSERT_EQ(read_form("[General]\nWindow Title = My form\nFontName=cour.ttf\nFontSize=14\n"
                        "Version=2210\nActive=yes\nDebug=1\nTickSize=13\nfontsize=99\n"),
              0);
    EXPECT_EQ(frm_context().frmc00.wintit.view(), "My form");
    EXPECT_EQ(frm_context().frmc00.f_name.view(), "cour.ttf");
    EXPECT_EQ(frm_context().frm000.f_size, 14);  // keys of [General] match whole and by case
    EXPECT_EQ(frm_get_version(), 2210);
    EXPECT_EQ(frm_context().frm999.iact, 1);
    EXPECT_TRUE(frm_context().frm999.qdebug);
    EXPECT_EQ(frm_context().frm000.tick_size, 13.0f);

    ASSERT_EQ(read_form("[General]\nVersion=12000\nActive=no\n"), 0);
    EXPECT_EQ(frm_get_version(), 0);
    EXPECT_EQ(frm_context().frm999.iact, 0);
}

TEST_F(ReadForm, TypeNamesAndLetters) {
    const std::pair<const char*, int> cases[] = {
        {"I", 1},   {"R", 2},   {"C", 3},   {"T", 4},    {"K", 5},   {"F", 6},
        {"INT", 1}, {"FLT", 2}, {"CHR", 3}, {"TCK", 4},  {"KEY", 5}, {"COL", 6},
        {"IFP", 7}, {"OFP", 8}, {"FLD", 9}, {"DDL", 10}, {"flt", 0}, {"X", 0},
    };
    for (auto [value, code] : cases) {
        SCOPED_TRACE(value);
        read_form("[Input-boxes]\n" + box("A", value));
        EXPECT_EQ(frm_context().frmi01.inpt_typ[1], code);
    }
}

TEST_F(ReadForm, InputBoxKeysAndAdjustments) {
    ASSERT_EQ(read_form("[General]\nTickSize=13\n[Input-boxes]\n" +
                        box("N1", "INT", "Min=0; Max=10; Arr=1; Var=v1; TxPos=LA; Txt=-Count") +
                        box("F1", "FLT", "Min=-1.5; Max=2.5e3; Arr=1; TxPos=30,40") +
                        box("C1", "CHR", "Arr=1; Ext=*.txt; TxPos=XX") +
                        "{Name=T1; Type=TCK; Pos=-50,20; TxPos=R}\n" + box("K1", "COL", "Size=5") +
                        box("I1", "IFP", "Ext=*.frm") +
                        "{Name=O1; Ext=*.lost; Type=OFP; Pos=1,1; Size=9}\n"),
              0)
        << log();
    EXPECT_EQ(frm_context().frmi01.inpt_min[1], -1.0e9f);  // INT bounds are forced
    EXPECT_EQ(frm_context().frmi01.inpt_max[1], 1.0e9f);
    EXPECT_EQ(frm_context().frmi01.inpt_arr[1], 1);
    EXPECT_EQ(frm_context().frmc01.inpt_txt[1].view(), "Count");
    EXPECT_EQ(frm_context().frmi01.inpt_act[1], 0);
    EXPECT_EQ(frm_context().frmc01.inpt_var[1].view(), "v1");
    EXPECT_EQ(frm_context().frmi01.inpt_pos[1][3], -3);
    EXPECT_EQ(frm_context().frmi01.inpt_pos[1][4], -3);

    EXPECT_EQ(frm_context().frmi01.inpt_min[2], -1.5f);
    EXPECT_EQ(frm_context().frmi01.inpt_max[2], 2500.0f);
    EXPECT_EQ(frm_context().frmi01.inpt_arr[2], 1);
    EXPECT_EQ(frm_context().frmi01.inpt_act[2], 1);
    EXPECT_EQ(frm_context().frmi01.inpt_pos[2][3], 30);
    EXPECT_EQ(frm_context().frmi01.inpt_pos[2][4], 40);

    EXPECT_EQ(frm_context().frmi01.inpt_arr[3], 0);         // arrows only for INT and FLT
    EXPECT_TRUE(frm_context().frmc01.inpt_ext[3].blank());  // filters only for IFP and OFP
    EXPECT_EQ(frm_context().frmi01.inpt_pos[3][3], -1);     // an unknown code is ignored

    EXPECT_EQ(frm_context().frmi01.inpt_siz[4], 13);  // tick size
    EXPECT_EQ(frm_context().frmi01.inpt_pos[4][1], -50);
    EXPECT_EQ(frm_context().frmi01.inpt_pos[4][3], -1);
    EXPECT_EQ(frm_context().frmi01.inpt_siz[5], 7);  // colour boxes are at least 7 wide
    EXPECT_EQ(frm_context().frmc01.inpt_ext[6].view(), "*.frm");
    EXPECT_TRUE(frm_context().frmc01.inpt_ext[7].blank());  // "Ext" before "Type" is lost
}

TEST_F(ReadForm, Dependencies) {
    ASSERT_EQ(read_form("[Input-boxes]\n" + box("A", "TCK") + box("B", "TCK", "Dep=A") +
                        box("C", "INT", "Dep=-B") + box("D", "INT", "Dep=- C") +
                        box("E", "INT", "Dep=Nobody") + box("F", "INT", "Dep=F") +
                        box("G", "INT", "Dep=a")),
              0);
    const int expected[] = {-1, 0, 1001, 1002, -1, -1, -1};
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(frm_context().frmi01.inpt_dep[i], expected[i - 1]) << i;
}

TEST_F(ReadForm, DropDownLists) {
    std::string many = "L";
    for (int e = 1; e <= 55; ++e) many += "," + std::string(1, char('a' + e % 26));
    ASSERT_EQ(read_form("[Input-boxes]\n" + box("A", "DDL", "Txt=Unit,m,km") +
                        box("B", "DDL", "Txt=\"Unit,m,,km\"") + box("C", "DDL", "Txt=Landscape") +
                        box("D", "DDL", "Txt=Single") +
                        box("E", "DDL", "Txt=Long,abcdefghijklmnopqrstuvwxyz0123456789") +
                        box("F", "DDL", "Txt=" + many)),
              0)
        << log();
    struct Expect {
        const char* label;
        int list;
        std::vector<std::string> entries;
    };
    const Expect expect[] = {
        {"Unit", 1, {"m", "km"}},
        {"Unit", 2, {"m"}},
        {"Landscape", 3, {}},
        {"Single", 4, {"Single"}},
        {"Long", 5, {"abcdefghijklmnopqrstuvwxyz01234"}},
    };
    for (int i = 1; i <= 5; ++i) {
        const Expect& x = expect[i - 1];
        SCOPED_TRACE(i);
        EXPECT_EQ(frm_context().frmc01.inpt_txt[i].view(), x.label);
        EXPECT_EQ(frm_context().frmi01.inpt_ddl[i], x.list);
        if (i == 3) continue;  // landscape entries come with the installation
        ASSERT_EQ(frm_context().frmi03.ddl_nbli[x.list], int(x.entries.size()));
        for (int e = 1; e <= int(x.entries.size()); ++e)
            EXPECT_EQ(frm_context().frmi03.ddl_txt[x.list][e].view(), x.entries[e - 1]);
    }
    EXPECT_TRUE(is_landscape_list(3));
    EXPECT_EQ(frm_context().frmi03.ddl_nbli[6], 50);
    EXPECT_EQ(frm_context().frmi03.ddl_txt[6][50].view(), "y");  // entries past 50 are dropped
}

TEST_F(ReadForm, RadioGroupsSeparatorsTextsButtons) {
    ASSERT_EQ(read_form("[Input-boxes]\n" + box("A", "TCK") + box("B", "TCK") +
                        "[Radio-buttons]\n{Set=A, B, Later}\n{Set=B}\n"
                        "[Input-boxes]\n" +
                        box("Later", "TCK") +
                        "[Separators]\n{Separ=1,2,3,4}\n{Separ=5,x,7}\n"
                        "[Text]\n{Title=Hello; Pos=C50%,10}\n{Title=T2}\n{Pos=80,1}\n"
                        "[Buttons]\n{Txt=Go; Pos=C150,8; Size=80; Type=OK}\n{Type=CANCEL}\n"
                        "{Type=105}\n{Type=Maybe}\n"),
              0)
        << log();
    EXPECT_EQ(frm_context().frm000.nb_rdio, 2);
    EXPECT_EQ(frm_context().frmt01.tick_rdio_count[1], 3);
    EXPECT_EQ(frm_context().frmt01.tick_rdio[1][1], 1);
    EXPECT_EQ(frm_context().frmt01.tick_rdio[1][2], 2);
    EXPECT_EQ(frm_context().frmt01.tick_rdio[1][3], -1);  // defined after the group
    EXPECT_EQ(frm_context().frmt01.tick_rdio_count[2], 1);

    EXPECT_EQ(frm_context().frm000.nb_sepa, 2);
    EXPECT_EQ(frm_context().frmi02.sepa_pos[1][4], 4);
    EXPECT_EQ(frm_context().frmi02.sepa_pos[2][1], 5);
    EXPECT_EQ(frm_context().frmi02.sepa_pos[2][2], 0);  // unreadable: unchanged
    EXPECT_EQ(frm_context().frmi02.sepa_pos[2][3], 7);

    EXPECT_EQ(frm_get_txt_count(), 3);
    EXPECT_EQ(frm_context().frmc01.titl_txt[1].view(), "Hello");
    EXPECT_EQ(frm_context().frmi02.titl_pos[1][1], -10500);
    EXPECT_EQ(frm_context().frmi02.titl_pos[1][2], 10);

    EXPECT_EQ(frm_context().frm000.nb_butt, 4);
    EXPECT_EQ(frm_context().frmc01.butt_txt[1].view(), "Go");
    EXPECT_EQ(frm_context().frmi02.butt_pos[1][1], 10150);
    EXPECT_EQ(frm_context().frmi02.butt_pos[1][2], 8);
    EXPECT_EQ(frm_context().frmi02.butt_siz[1], 80);
    const int types[] = {1, -1, 105, 0};
    for (int b = 1; b <= 4; ++b) EXPECT_EQ(frm_context().frmi02.butt_typ[b], types[b - 1]);
}

TEST_F(ReadForm, ChecksWriteTheFormLog) {
    testing::internal::CaptureStdout();
    write("form.frm", "[Input-boxes]\n" + box("A", "INT", "Size=600") + box("B", "flt") +
                          "{Type=CHR; Pos=10,10; Size=5}\n" + box("D", "FLT", "Min=5; Max=1") +
                          "{Name=E; Type=CHR; Size=5}\n" + box("F", "CHR", "Pos=-50,20") +
                          "{Name=G; Type=TCK; Pos=1,1}\n" + box("H", "CHR", "Pos=10001,3") +
                          box("I", "CHR", "Pos=1,10001") +
                          box("J", "CHR", "Pos=-123456789,1234567890"));
    int r = frm_read_form("./form.frm");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(r, 8);
    EXPECT_EQ(log(),
              "./form.frm\n"
              "   1 : invalid size      600\n"
              "   2 : type undefined\n"
              "   3 : name undefined\n"
              "   4 : inpt_min, inpt_max inverted\n"
              "   5 : invalid position       -1       -1\n"
              "   8 : invalid position    10001        3\n"
              "   9 : invalid position        1    10001\n"
              "  10 : invalid position -123456789 1234567890\n");  // wider: still apart
    EXPECT_NE(out.find("./form.frm\n8 errors detected\nsee frm_forms.log"), std::string::npos)
        << out;
    EXPECT_EQ(frm_get_count(), 10);  // the model keeps what was read
}

TEST_F(ReadForm, NameGivenTwiceStopsReading) {
    const std::pair<std::string, std::string> cases[] = {
        {box("Abc", "INT") + box("ABC", "INT"), "NAME: ABC multiple definition\n"},
        {box("A", "INT", "Var=x") + box("B", "INT", "Var=X"), "NAME: X multiple definition\n"},
        {"{Name=A; Name=a}\n", "NAME: a multiple definition\n"},
    };
    for (const auto& [boxes, line] : cases) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(read_form("[Input-boxes]\n" + boxes + "[Buttons]\n{Type=OK}\n"), 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(log(), "form.frm\n" + line);
        EXPECT_EQ(frm_get_count(), 0);
        EXPECT_EQ(frm_context().frm000.nb_butt, 0);
    }
}

TEST_F(ReadForm, OpenFailure) {
    EXPECT_EQ(frm_read_form("missing.frm"), ENOENT);
    EXPECT_EQ(log(), "missing.frm\nERROR OPENING\n");
    EXPECT_EQ(frm_get_count(), 0);
}

TEST_F(ReadForm, ReadErrorEndsTheFile) {
    fs::create_directory(dir() / "adir");  // opens, but reading fails
    EXPECT_EQ(frm_read_form("adir"), EISDIR);
    EXPECT_EQ(log(), "adir\n");
}

TEST_F(ReadForm, SummaryInThePilotsLanguage) {
    // The summary as the terminal shows it (UTF-8).
    const std::pair<Language, std::string> cases[] = {
        {Language::english, "3 errors detected\nsee frm_forms.log"},
        {Language::french, "3 erreurs d\303\251tect\303\251es\nvoir frm_forms.log"},
        {Language::german, "3 Fehler gefunden\nsiehe frm_forms.log"},
    };
    for (const auto& [language, summary] : cases) {
        set_language(language);
        testing::internal::CaptureStdout();
        EXPECT_EQ(read_form("[Input-boxes]\n{Name=A}\n"), 3);  // type, position, size
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(summary), std::string::npos) << out;
    }
    set_language(Language::english);
}

TEST_F(ReadForm, ItemsPastATableAreRejected) {
    auto repeat = [](int n, const std::function<std::string(int)>& item) {
        std::string s;
        for (int i = 1; i <= n; ++i) s += item(i);
        return s;
    };
    struct Case {
        std::string text;
        std::string log_line;
        int* count;
        int limit;
    };
    std::string names;
    for (int m = 1; m <= 11; ++m) names += (m > 1 ? "," : "") + std::string("A");
    auto& form = frm_context();
    const Case cases[] = {
        {"[Input-boxes]\n" + repeat(101, [](int i) { return box("B" + std::to_string(i), "CHR"); }),
         " 101 : too many items in [Input-boxes], limit      100\n", &form.frm000.nb_inpt, 100},
        {"[Radio-buttons]\n" + repeat(11, [](int) { return "{}\n"; }),
         "  11 : too many items in [Radio-buttons], limit       10\n", &form.frm000.nb_rdio, 10},
        {"[Separators]\n" + repeat(21, [](int) { return "{Separ=1,1,2,2}\n"; }),
         "  21 : too many items in [Separators], limit       20\n", &form.frm000.nb_sepa, 20},
        {"[Text]\n" + repeat(21, [](int) { return "{Title=x}\n"; }),
         "  21 : too many items in [Text], limit       20\n", &form.frm000.nb_titl, 20},
        {"[Buttons]\n" + repeat(11, [](int) { return "{Type=OK}\n"; }),
         "  11 : too many items in [Buttons], limit       10\n", &form.frm000.nb_butt, 10},
        {"[Input-boxes]\n" + box("A", "TCK") + "[Radio-buttons]\n{Set=" + names + "}\n",
         "   1 : too many members in [Radio-buttons], limit       10\n",
         &form.frmt01.tick_rdio_count[1], 10},
        {"[Input-boxes]\n" + repeat(31, [](int i) { return box("D" + std::to_string(i), "DDL"); }),
         "  31 : too many drop-down lists in [Input-boxes], limit       30\n", &form.frm000.nb_inpt,
         31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log_line);
        testing::internal::CaptureStdout();
        EXPECT_EQ(read_form(c.text), 1);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(log(), "form.frm\n" + c.log_line);
        EXPECT_EQ(*c.count, c.limit);
    }
    EXPECT_EQ(frm_context().frmi01.inpt_ddl[31], -1);
}

TEST(HorizontalPosition, Codes) {
    const std::pair<const char*, int> cases[] = {
        {"C50%", -10500},   {"R120", 20120}, {"80", 80},   {"L12", 12},
        {"R50.5%", -20505}, {"25%", -250},   {"C", 0},     {"x9", 0},
        {"99999999999", 0}, {"C1e30%", 0},   {"-40", -40},
    };
    for (auto [text, code] : cases) {
        std::string t = text;
        EXPECT_EQ(get_hor_pos(t), code) << text;
    }
    std::string t = "C50%";
    get_hor_pos(t);
    EXPECT_EQ(t, " 50 ");
}

TEST(KeyNumber, AfterUnderscore) {
    int nb = 5;
    EXPECT_EQ(get_key_num("box_12", nb), 12);
    EXPECT_EQ(nb, 12);
    EXPECT_EQ(get_key_num("7", nb), 7);
    EXPECT_EQ(nb, 12);
    EXPECT_EQ(get_key_num("box_x", nb), 0);
    EXPECT_EQ(nb, 12);
}
