// Saved form values: written and read back for every type, and the reading rules.
#include <cerrno>
#include <string>

#include "tests/forms/forms_fixture.hpp"

namespace {

class FormData : public FormsTest {
  protected:
    void SetUp() override {
        FormsTest::SetUp();
        ASSERT_EQ(read_form_file("every_type.frm"), 0) << log();
    }
};

}  // namespace

TEST_F(FormData, WrittenAndReadBack) {
    frm_set_value(1, -42, 0, "", false);
    frm_set_value(2, 1, 0, "", false);
    frm_set_value(3, 0, 12.5f, "", false);
    frm_set_value(4, 0, 0, "a=b; \"quoted\"", false);
    frm_set_value(5, 0x00FF80, 0, "", false);
    frm_set_value(6, 0, 0, "/data/in=1.txt", false);
    frm_set_value(7, 0, 0, "C:\\out.cup", false);
    frm_set_value(8, 0, 0, "/data/dir", false);
    frm_set_value(9, 3, 0, "", false);
    frm_set_value(10, 30065, 0, "", false);  // CTRL+SHFT+"A"
    frm_set_value(11, -59, 0, "", false);    // scan code 59
    frm_set_value(12, 1, 0, "Alps", false);
    frm_context().frmc01.inpt_cval[12] = "Alps";
    frm_set_value(13, 0, 0.0f, "", false);

    ASSERT_EQ(frm_write_form_data("saved.txt"), 0);
    EXPECT_EQ(read("saved.txt"),
              "I=-42\nT=1\nF=12.5\nC=a=b; \"quoted\"\nO=#00FF80\nP=/data/in=1.txt\n"
              "Q=C:\\out.cup\nD=/data/dir\nL=3\nK=CTRL+SHFT+\"A\"\nS=SCN59\nLand=Alps\nG=0\n");

    ASSERT_EQ(read_form_file("every_type.frm"), 0);
    ASSERT_EQ(frm_read_form_data("saved.txt"), 0);
    int iv, it;
    float rv;
    std::string cv;
    struct Expect {
        int ival;
        float rval;
        const char* cval;
    };
    const Expect expect[] = {
        {-42, 0, "-42"},
        {1, 0, "1"},
        {0, 12.5f, "12.5"},
        {0, 0, "a=b; \"quoted\""},
        {0x00FF80, 0, "#00FF80"},
        {0, 0, "/data/in=1.txt"},
        {0, 0, "C:\\out.cup"},
        {0, 0, "/data/dir"},
        {3, 0, "c"},
        {30065, 0, ""},
        {-59, 0, ""},
        {0, 0, "Alps"},
        {0, 0.0f, "0"},
    };
    for (int n = 1; n <= 13; ++n) {
        SCOPED_TRACE(n);
        ASSERT_EQ(frm_get_value(n, iv, rv, cv, it), 1);
        EXPECT_EQ(iv, expect[n - 1].ival);
        EXPECT_EQ(rv, expect[n - 1].rval);
        EXPECT_EQ(cv, expect[n - 1].cval);
    }
}

TEST_F(FormData, ReadingRules) {
    frm_set_value(4, 0, 0, "keep", false);
    write("saved.txt",
          "# a comment\n"
          "\n"
          "Nobody=1\n"
          "c=changed\n"    // letter case differs: no box
          "I=12 apples\n"  // a number first: read
          "F=x\n"          // unreadable: the number stays, the text is stored
          "O=#0000ff\n"
          "L=7\n"  // no entry 7: the number stays
          "K=ASC65\n"
          "S=SCN90\n"
          "Land=5\n"     // a landscape list keeps the name as text only
          "D=/x \r\r\n"  // a line end's CRs are no part of the value
          "P\n");        // no "=": an empty value
    ASSERT_EQ(frm_read_form_data("saved.txt"), 0);
    EXPECT_EQ(frm_context().frmc01.inpt_cval[4].view(), "keep");
    EXPECT_EQ(frm_context().frmi01.inpt_ival[1], 12);
    EXPECT_EQ(frm_context().frmc01.inpt_cval[1].view(), "12 apples");
    EXPECT_EQ(frm_context().frmi01.inpt_rval[3], 0.0f);
    EXPECT_EQ(frm_context().frmc01.inpt_cval[3].view(), "x");
    EXPECT_EQ(frm_context().frmi01.inpt_ival[5], 255);
    EXPECT_EQ(frm_context().frmi01.inpt_ival[9], 0);
    EXPECT_EQ(frm_context().frmc01.inpt_cval[9].view(), "7");
    EXPECT_EQ(frm_context().frmi01.inpt_ival[10], 65);
    EXPECT_EQ(frm_context().frmi01.inpt_ival[11], -90);
    EXPECT_EQ(frm_context().frmi01.inpt_ival[12], 0);
    EXPECT_EQ(frm_context().frmc01.inpt_cval[12].view(), "5");
    EXPECT_TRUE(frm_context().frmc01.inpt_cval[6].blank());
    EXPECT_EQ(frm_context().frmc01.inpt_cval[8].view(), "/x");
}

TEST_F(FormData, KeyNumbersPastTheRangeLeaveTheKey) {
    for (const char* value : {"SCN-2147483648", "CTRL+ASC2147483647", "ASC5001", "SCN5000",
                              "SCN99999999999", "ALT+SCN"}) {
        frm_set_value(10, 10065, 0, "", false);
        frm_context().frmc01.inpt_cval[10] = "before";
        write("saved.txt", std::string("K=") + value + "\n");
        ASSERT_EQ(frm_read_form_data("saved.txt"), 0);
        EXPECT_EQ(frm_context().frmi01.inpt_ival[10], 10065) << value;
        EXPECT_EQ(frm_context().frmc01.inpt_cval[10].view(), "before") << value;
    }
}

TEST_F(FormData, FilesThatCannotBeOpened) {
    EXPECT_EQ(frm_read_form_data("missing.txt"), ENOENT);
    EXPECT_EQ(frm_write_form_data("no/such/folder/saved.txt"), ENOENT);
    fs::create_directory(dir() / "adir");
    EXPECT_EQ(frm_write_form_data("adir"), EISDIR);
    EXPECT_EQ(frm_read_form_data("adir"), EISDIR);  // opens, but reading fails
}
