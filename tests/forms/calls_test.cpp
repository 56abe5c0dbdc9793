// The call interface: ranges, value texts by type, properties, forwarding to the view.
#include <string>
#include <tuple>

#include "gui/form_view.hpp"
#include "tests/forms/forms_fixture.hpp"

namespace {

// Boxes: 1 INT, 2 FLT, 3 COL, 4 DDL (a,b,c), 5 KEY, 6 CHR, 7 landscape list, 8 TCK; one text.
constexpr const char* kForm =
    "[Input-boxes]\n"
    "{Name=N; Type=INT; Pos=1,1; Size=5; Txt=Count; Var=vn}\n"
    "{Name=R; Type=FLT; Pos=1,1; Size=5}\n"
    "{Name=Col; Type=COL; Pos=1,1}\n"
    "{Name=D; Type=DDL; Pos=1,1; Size=5; Txt=Pick,a,b,c}\n"
    "{Name=K; Type=KEY; Pos=1,1; Size=5}\n"
    "{Name=S; Type=CHR; Pos=1,1; Size=5}\n"
    "{Name=L; Type=DDL; Pos=1,1; Size=5; Txt=Landscape}\n"
    "{Name=T; Type=TCK; Pos=1,1}\n"
    "[Text]\n{Title=Result}\n";

class Calls : public FormsTest {
  protected:
    void SetUp() override {
        FormsTest::SetUp();
        ASSERT_EQ(read_form(kForm), 0) << log();
    }
};

}  // namespace

TEST_F(Calls, CountsNamesAndRanges) {
    EXPECT_EQ(frm_get_count(), 8);
    EXPECT_EQ(frm_get_txt_count(), 1);
    EXPECT_EQ(frm_get_number("D"), 4);
    EXPECT_EQ(frm_get_number("d"), 0);  // names are case-sensitive here
    std::string nam = "x";
    EXPECT_EQ(frm_get_name(50, nam), 1);  // the table's range, not the count
    EXPECT_EQ(nam, "");
    EXPECT_EQ(frm_get_name(0, nam), 0);
    EXPECT_EQ(frm_get_name(101, nam), 0);
    EXPECT_EQ(frm_get_txt_name(1, nam), 1);
    EXPECT_EQ(nam, "Result");
    EXPECT_EQ(frm_get_txt_name(21, nam), 0);

    int iv;
    float rv;
    std::string cv;
    int it;
    EXPECT_EQ(frm_get_value(9, iv, rv, cv, it), 0);  // past the count
    EXPECT_EQ(frm_get_cur_value(0, iv, rv, cv, it), 0);
    EXPECT_EQ(frm_set_value(9, 1, 0, "", false), 0);

    EXPECT_EQ(frm_set_count(101), 0);
    EXPECT_EQ(frm_get_count(), 8);
    EXPECT_EQ(frm_set_count(3), 1);
    EXPECT_EQ(frm_get_value(4, iv, rv, cv, it), 0);
}

TEST_F(Calls, SetValueTextsByType) {
    struct Case {
        int n, iv;
        float rv;
        const char* cv;
        const char* text;
    };
    const Case cases[] = {
        {1, 42, 0, "", "42"},
        {1, 42, 0, "007", "007"},
        {2, 0, 0.0f, "", "0"},
        {2, 0, 12.5f, "", "12.5"},
        {2, 0, 0.0005f, "", "5E-04"},
        {2, 0, 1.0e-12f, "", "0"},
        {2, 0, 2.5e6f, "", "2.5E+06"},
        {2, 0, -1.25e7f, "", "-1.25E+07"},
        {2, 0, 1.0f, "1.0", "1.0"},
        {3, 255, 0, "", "#0000FF"},
        {3, 0xABCDEF, 0, "", "#ABCDEF"},
        {3, 0, 0, "", "#000000"},
        {3, 0xFFFFFF, 0, "", "#FFFFFF"},
        {4, 3, 0, "", "c"},
        {4, 0, 0, "", "a"},
        {5, 10065, 0, "ignored", ""},
        {6, 0, 0, "some text", "some text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.n << " " << c.iv << " " << c.rv << " " << c.cv);
        ASSERT_EQ(frm_set_value(c.n, c.iv, c.rv, c.cv, false), 1);
        int iv, it;
        float rv;
        std::string cv;
        ASSERT_EQ(frm_get_value(c.n, iv, rv, cv, it), 1);
        EXPECT_EQ(cv, c.text);
        EXPECT_EQ(iv, c.iv);
        EXPECT_EQ(rv, c.rv);
        EXPECT_EQ(it, frm_context().frmi01.inpt_typ[c.n]);
    }
    // No such entry in the list, no such colour, and nothing changed.
    EXPECT_EQ(frm_set_value(4, 4, 0, "", false), 0);
    EXPECT_EQ(frm_set_value(4, 51, 0, "", false), 0);
    EXPECT_EQ(frm_context().frmi01.inpt_ival[4], 0);
    for (int rgb : {-1, 0x1000000, INT32_MIN}) EXPECT_EQ(frm_set_value(3, rgb, 0, "", true), 0);
    EXPECT_EQ(frm_context().frmi01.inpt_ival[3], 0xFFFFFF);
    EXPECT_EQ(frm_context().frmc01.inpt_cval[3].view(), "#FFFFFF");
}

TEST_F(Calls, PropertiesAndTheirRanges) {
    int iv = -7;
    float rv = -7;
    std::string cv = "untouched";
    EXPECT_EQ(frm_get_prop(sec_rdio, 1, prop_act, iv, rv, cv), 1);  // nothing to give
    EXPECT_EQ(iv, -7);
    EXPECT_EQ(cv, "untouched");
    EXPECT_EQ(frm_set_prop(sec_rdio, 1, prop_act, 0, 0, "", false), 0);
    EXPECT_EQ(frm_set_prop(sec_inpt, 9, prop_act, 0, 0, "", false), 0);
    EXPECT_EQ(frm_set_prop(sec_inpt, 1, 999, 0, 0, "", false), 0);
    EXPECT_EQ(frm_set_prop(sec_inpt, 1, prop_var, 0, 0, "v", false), 0);
    EXPECT_EQ(frm_set_prop(sec_text, 1, prop_act, 0, 0, "", false), 0);
    EXPECT_EQ(frm_set_prop(sec_text, 2, prop_txt, 0, 0, "x", false), 0);
    EXPECT_EQ(frm_get_prop(sec_text, 2, prop_txt, iv, rv, cv), 0);

    struct Case {
        int npro, iv;
        float rv;
        const char* cv;
    };
    const Case cases[] = {
        {prop_act, 0, 0, ""},        {prop_typ, 2, 0, ""},      {prop_min, 0, -3.5f, ""},
        {prop_max, 0, 99.0f, ""},    {prop_txt, 0, 0, "Label"}, {prop_ext, 0, 0, "*.cup"},
        {prop_nam, 0, 0, "NewName"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.npro);
        ASSERT_EQ(frm_set_prop(sec_inpt, 1, c.npro, c.iv, c.rv, c.cv, true), 1);
        ASSERT_EQ(frm_get_prop(sec_inpt, 1, c.npro, iv, rv, cv), 1);
        switch (c.npro / 100) {
            case 1:
                EXPECT_EQ(iv, c.iv);
                break;
            case 2:
                EXPECT_EQ(rv, c.rv);
                break;
            default:
                EXPECT_EQ(cv, c.cv);
                break;
        }
    }
    ASSERT_EQ(frm_get_prop(sec_inpt, 1, prop_var, iv, rv, cv), 1);
    EXPECT_EQ(cv, "vn");
    ASSERT_EQ(frm_set_prop(sec_text, 1, prop_txt, 0, 0, "Done", false), 1);
    ASSERT_EQ(frm_get_prop(sec_text, 1, prop_txt, iv, rv, cv), 1);
    EXPECT_EQ(cv, "Done");
}

TEST_F(Calls, NoWindowRefusals) {
    EXPECT_EQ(frm_create_form(), 0);
    EXPECT_EQ(frm_context().frm999.window_id, 0);
    EXPECT_EQ(frm_new_form(), 0);
    EXPECT_EQ(frm_do_form(), 0);

    ASSERT_EQ(read_form("[General]\nWindow Title=Empty\n"), 0);
    reset_form_view();
    EXPECT_EQ(frm_create_form(), 0);
    EXPECT_EQ(form_view().nb_inpt, 0);  // nothing registered for a form without boxes
    EXPECT_EQ(form_view().Title, "Form");
    EXPECT_EQ(frm_do_form(), 0);
}

TEST_F(Calls, ForwardingToTheView) {
    frm_create_form();  // registers the model even though no window can be made
    ASSERT_EQ(form_view().nb_inpt, 8);

    ASSERT_EQ(frm_set_value(4, 3, 0, "", true), 1);
    EXPECT_EQ(form_view().inpt_ival[3], 2);  // the view counts list lines from 0
    EXPECT_EQ(form_view().inpt_cval[3], "c");
    int iv, it;
    float rv;
    std::string cv;
    ASSERT_EQ(frm_get_cur_value(4, iv, rv, cv, it), 1);
    EXPECT_EQ(iv, 3);
    EXPECT_EQ(cv, "c");
    EXPECT_EQ(it, typ_ddl);

    form_view().inpt_cval[0] = "typed";  // the user typed; the model does not know yet
    ASSERT_EQ(frm_get_cur_value(1, iv, rv, cv, it), 1);
    EXPECT_EQ(cv, "typed");
    ASSERT_EQ(frm_get_value(1, iv, rv, cv, it), 1);
    EXPECT_EQ(cv, "");

    ASSERT_EQ(frm_set_value(1, 5, 0, "", false), 1);
    EXPECT_EQ(form_view().inpt_cval[0], "typed");  // not forwarded

    form_view().redraw = false;
    ASSERT_EQ(frm_set_prop(sec_inpt, 2, prop_txt, 0, 0, "  Speed  ", true), 1);
    EXPECT_EQ(form_view().inpt_txt[1], "  Speed");
    EXPECT_TRUE(form_view().redraw);
    ASSERT_EQ(frm_set_prop(sec_inpt, 2, prop_min, 0, 1.0f, "", true), 1);
    ASSERT_EQ(frm_set_prop(sec_inpt, 2, prop_act, 0, 0, "", false), 1);
    EXPECT_EQ(form_view().inpt_act[1], 0);
    ASSERT_EQ(frm_set_prop(sec_text, 1, prop_txt, 0, 0, "X=12", true), 1);
    EXPECT_EQ(form_view().subt_txt[0], "X=12");
}

// A list entry found by its text, the landscape list's among the names the view holds.
TEST_F(Calls, FindEntryByText) {
    frm_create_form();
    add_lnd(form_view().inpt_ddl[6], 2, 0, "Alps");
    add_lnd(form_view().inpt_ddl[6], 2, 1, "Bern");
    const std::tuple<int, const char*, int> cases[] = {// box, text, entry
                                                       {4, "c", 3},    {4, "d", 0},    {4, "", 0},
                                                       {7, "Bern", 2}, {7, "bern", 0}, {6, "b", 0},
                                                       {9, "b", 0}};
    for (const auto& [box, text, entry] : cases)
        EXPECT_EQ(frm_find_entry(box, text), entry) << text;
    ASSERT_EQ(frm_set_value(7, 2, 0, "", false), 1);
    EXPECT_EQ(frm_context().frmc01.inpt_cval[7].view(), "Bern");  // a landscape list keeps the name
}

// Two forms at once: each context keeps its own model, view and hooks; the calls act on the one
// made current, and a list or picture filled on one is not seen on the other.
TEST_F(Calls, TwoFormsAtOnce) {
    FormContext* const first = frm_current_context();
    const auto second = frm_create_context();
    frm_set_context(second.get());
    ASSERT_EQ(read_form("[General]\nWindow Title=Second\n[Input-boxes]\n"
                        "{Name=TSK; Txt=Task,All; Type=DDL; Pos=10,10; Size=20}\n"
                        "[Pictures]\n{Picture=0,0,50,40; Grow=yes}\n"),
              0)
        << log();
    load_form();
    EXPECT_EQ(form_view().GrowPict, 0);  // its window may be made larger
    EXPECT_EQ(frm_set_list(1, {"All", "1 Triangle (4)"}, 2), 1);
    PictureItems north;
    north.north = "N";
    EXPECT_EQ(frm_set_picture(1, north), 1);
    EXPECT_EQ(frm_set_picture(2, {}), 0);  // no second picture

    frm_set_context(first);
    EXPECT_EQ(frm_get_count(), 8);  // the first form's boxes, untouched
    EXPECT_EQ(form_view().GrowPict, -1);
    EXPECT_EQ(frm_set_picture(1, {}), 0);
    EXPECT_EQ(frm_get_number("TSK"), 0);

    frm_set_context(second.get());
    int iv = 0, it = 0;
    float rv = 0;
    std::string cv;
    frm_get_cur_value(1, iv, rv, cv, it);
    EXPECT_EQ(iv, 2);
    EXPECT_EQ(cv, "1 Triangle (4)");
    EXPECT_EQ(form_view().pict[0].north, "N");
    EXPECT_EQ(form_view().pict_pos[0], (Rect{0, 0, 50, 40}));
    frm_set_context(first);
}
