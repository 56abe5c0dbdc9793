// Value checks, range checks and stepping.
#include <string>

#include "tests/forms/forms_fixture.hpp"

namespace {

// Boxes (view index = number - 1): 1 INT, 2 FLT, 3 CHR, 4 TCK, 5 KEY, 6 COL, 7 IFP, 8 OFP,
// 9 FLD, 10 DDL, 11 FLT 0..10, 12 FLT >= 0.
constexpr const char* kForm =
    "[Input-boxes]\n"
    "{Name=I; Type=INT; Pos=1,1; Size=5}\n"
    "{Name=F; Type=FLT; Pos=1,1; Size=5}\n"
    "{Name=C; Type=CHR; Pos=1,1; Size=5}\n"
    "{Name=T; Type=TCK; Pos=1,1}\n"
    "{Name=K; Type=KEY; Pos=1,1; Size=5}\n"
    "{Name=O; Type=COL; Pos=1,1}\n"
    "{Name=P; Type=IFP; Pos=1,1; Size=5}\n"
    "{Name=Q; Type=OFP; Pos=1,1; Size=5}\n"
    "{Name=D; Type=FLD; Pos=1,1; Size=5}\n"
    "{Name=L; Type=DDL; Pos=1,1; Size=5; Txt=L,a,b}\n"
    "{Name=B; Type=FLT; Pos=1,1; Size=5; Min=0; Max=10}\n"
    "{Name=G; Type=FLT; Pos=1,1; Size=5; Min=0}\n";

class Checks : public FormsTest {
  protected:
    void SetUp() override {
        FormsTest::SetUp();
        ASSERT_EQ(read_form(kForm), 0) << log();
        write("exists.txt", "x");
    }
};

}  // namespace

TEST_F(Checks, ValuesByType) {
    struct Case {
        int box, ival;
        float rval;
        const char* text;
        int ok;
        const char* msg;
        const char* text_back;
        int ival_back;
        int model_ival;          // -99: not looked at
        const char* model_cval;  // nullptr: not looked at
    };
    const Case cases[] = {
        {1, 0, 0, "007", 1, "", "7", 7, 7, "007"},
        {1, 0, 0, "12 apples", 1, "", "12", 12, 12, "12 apples"},
        {1, 3, 0, "", 1, "", "", 3, 0, ""},  // empty: accepted, model unchanged
        {1, 0, 0, "1.5", 0, "Integer value required", "1.5", 0, 0, ""},
        {2, 0, 0, "0", 1, "", "0", 0, 0, "0"},
        {2, 0, 0, "2.5", 1, "", "2.5", 0, 3, "2.5"},
        {2, 0, 0, "2500000", 1, "", "2.5E+06", 0, 2500000, "2500000"},
        {2, 0, 0, "-0.5", 1, "", "-0.5", 0, -1, "-0.5"},
        {2, 0, 0, "abc", 0, "Floating-point value required", "abc", 0, 0, ""},
        {3, 0, 0, "free text  ", 1, "", "free text", 0, 0, "free text"},
        {4, 1, 0, "", 1, "", "", 1, 1, "1"},
        {4, 2, 0, "", 0, "Value must be 0/1", "", 2, 0, ""},
        {5, 300, 0, "", 1, "", "", 172, 172, ""},  // keys past 255 move down by 128
        {5, 10065, 0, "", 1, "", "", 10065, 10065, ""},
        {5, 400, 0, "", 1, "", "", 400, 0, ""},  // outside -382..382: nothing stored
        {6, 0, 0, "#00ff80", 1, "", "#00ff80", 0, 65408, "#00ff80"},
        {6, 0, 0, "00ff80", 0, "Format: #RRGGBB", "00ff80", 0, 0, ""},
        {6, 0, 0, "#00gg80", 0, "Format: #RRGGBB", "#00gg80", 0, 0, ""},
        {7, 0, 0, "folder\\", 1, "", "folder\\", 0, 0, ""},
        {7, 0, 0, "exists.txt", 1, "", "exists.txt", 0, 0, "exists.txt"},
        {7, 0, 0, "missing.txt", 0, "File does not exist", "missing.txt", 0, 0, ""},
        {8, 0, 0, "out.txt", 1, "", "out.txt", 0, 0, "out.txt"},
        {9, 0, 0, "dir", 1, "", "dir", 0, 0, "dir"},
        {10, 0, 0, "a", 1, "", "a", 0, 1, "a"},  // the view's line 0 is entry 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box << " '" << c.text << "'");
        ASSERT_EQ(read_form(kForm), 0);
        int ival = c.ival;
        float rval = c.rval;
        std::string text = c.text, msg = "old";
        testing::internal::CaptureStdout();
        EXPECT_EQ(check_values(c.box - 1, 1, ival, rval, text, msg), c.ok);
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(msg, c.msg);
        EXPECT_EQ(out, c.ok ? "" : std::string(c.msg) + "\n");
        EXPECT_EQ(text, c.text_back);
        EXPECT_EQ(ival, c.ival_back);
        EXPECT_EQ(frm_context().frmi01.inpt_ival[c.box], c.model_ival);
        EXPECT_EQ(frm_context().frmc01.inpt_cval[c.box].view(), c.model_cval);
    }
}

TEST_F(Checks, ApplicationHook) {
    int ival = 0;
    float rval = 0;
    std::string text = "not a number", msg;
    // A disabled box is not type-checked, but the application still judges it.
    EXPECT_EQ(check_values(0, 0, ival, rval, text, msg), 1);
    EXPECT_EQ(frm_context().frmi01.inpt_act[1], 0);
    EXPECT_EQ(test_app.checked, std::vector<int>{1});

    test_app.check = [](int, int& iv, float&, TextField<255>& cv, std::string& m) {
        iv = 77;
        cv = "normalised";
        m = "No thanks";
        return 0;
    };
    text = "5";
    EXPECT_EQ(check_values(2, 1, ival, rval, text, msg), 0);
    EXPECT_EQ(msg, "No thanks");
    EXPECT_EQ(frm_context().frmi01.inpt_ival[3], 77);
    EXPECT_EQ(frm_context().frmc01.inpt_cval[3].view(), "normalised");
    EXPECT_EQ(text, "normalised");  // the box shows the application's text

    // A refusal by the engine does not ask the application.
    test_app.checked.clear();
    text = "x";
    testing::internal::CaptureStdout();
    EXPECT_EQ(check_values(0, 1, ival, rval, text, msg), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(test_app.checked.empty());
}

TEST_F(Checks, RangeMessages) {
    struct Case {
        int box;
        float min, max, value;
        const char* msg;
    };
    const Case cases[] = {
        {1, -1.0e9f, 1.0e9f, 2.0e9f, "Value must be in [-1000000000,1000000000]"},
        {1, -2.0e25f, 10.0f, 11.0f, "Value must be <= 10"},
        {1, 2.5f, 2.0e25f, 1.0f, "Value must be >= 3"},
        {1, -3.0e12f, -2.0e12f, 0.0f, "Value must be in [-2147483648,-2147483648]"},
        {12, 0.0f, 2.0e25f, -1.0f, "Value must be >= 0"},
        {11, 0.0f, 10.0f, 10.5f, "Value must be in [0,10]"},
        {11, 0.0f, 10.0f, 10.0f, ""},
        {11, 5.0f, 5.0f, 99.0f, ""},  // no range
        {3, 0.0f, 1.0f, 5.0f, ""},    // only numbers have ranges
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.msg);
        frm_context().frmi01.inpt_min[c.box] = c.min;
        frm_context().frmi01.inpt_max[c.box] = c.max;
        frm_context().frmi01.inpt_rval[c.box] = c.value;
        std::string msg = "old";
        testing::internal::CaptureStdout();
        EXPECT_EQ(check_minmax(c.box - 1, 0, 0, "", msg), *c.msg ? 0 : 1);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(msg, c.msg);
    }
}

TEST(Increment, RoundSteps) {
    const std::pair<double, double> cases[] = {
        {30, 1},      {100, 5}, {1000, 50}, {2500, 100}, {0.5, 0.02},
        {12345, 500}, {0, 1},   {-100, 5},  {5, 0.2},    {2.0e25, 1.0e24},
    };
    for (auto [val, step] : cases) EXPECT_NEAR(get_incr(val), step, step * 1e-12) << val;
}

TEST_F(Checks, Stepping) {
    struct Case {
        int box;
        float stored;  // the model's value, which decides the step
        float min, max;
        const char* text;
        int incr;
        int ok;
        const char* text_after;
    };
    const Case cases[] = {
        {1, 25, -1.0e9f, 1.0e9f, "25", 1, 1, "26"},
        {1, 100, -1.0e9f, 1.0e9f, "100", 1, 1, "105"},
        {1, 100, -1.0e9f, 103.0f, "100", 1, 1, "103"},
        {1, 0, -1.0e9f, 1.0e9f, "1000000000", 1, 1, "1000000000"},
        {1, 0, -2.0e25f, 2.0e25f, "2147483647", 1, 1, "2147483647"},  // no overflow
        {1, 0, -1.0e9f, 1.0e9f, "x", 1, 0, "x"},
        {2, 0, 0.0f, 10.0f, "0", 1, 1, "0.2"},
        {2, 0, -2.0e25f, 2.0e25f, "0", 1, 1, "1.000000014E+24"},  // 1e24 as a float
        {2, 100, -2.0e25f, 2.0e25f, "100", -1, 1, "95"},
        {2, 0, 0.0f, 10.0f, "0", -1, 1, "0"},
        {2, 0, 0.0f, 10.0f, "x", 1, 0, "x"},
        {3, 0, 0.0f, 10.0f, "0", 1, 0, "0"},  // only numbers step
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box << " " << c.text << " " << c.incr);
        frm_context().frmi01.inpt_ival[c.box] = int(c.stored);
        frm_context().frmi01.inpt_rval[c.box] = c.stored;
        frm_context().frmi01.inpt_min[c.box] = c.min;
        frm_context().frmi01.inpt_max[c.box] = c.max;
        int ival = 0;
        float rval = 0;
        std::string text = c.text;
        testing::internal::CaptureStdout();
        EXPECT_EQ(incrm_val(c.box - 1, ival, rval, text, c.incr), c.ok);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(text, c.text_after);
        if (c.ok) {
            EXPECT_EQ(frm_context().frmc01.inpt_cval[c.box].view(), c.text_after);
        }
    }
}
