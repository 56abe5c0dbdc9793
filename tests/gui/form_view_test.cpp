// The FormView tables: registration limits, radio circle, updates and read-back.
#include "gui/form_view.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "util/i18n.hpp"

namespace {

class FormViewTest : public ::testing::Test {
  protected:
    void SetUp() override { reset_form_view(); }

    // Registers `count` inputs of one type, value i at index i.
    static void inputs(int count, int typ, int dep = -1) {
        for (int i = 0; i < count; ++i)
            add_inpt(count, i, "L" + std::to_string(i), "v" + std::to_string(i), {1, 2, -1, -1}, i,
                     float(i), 12, typ, 0, 1, dep, typ == typ_ddl ? 0 : -1, "");
    }
};

}  // namespace

TEST_F(FormViewTest, RegistrationPastATableIsDropped) {
    add_inpt(101, 100, "x", "y", {1, 2, 3, 4}, 0, 0, 5, typ_chr, 0, 1, -1, -1, "");
    EXPECT_EQ(form_view().nb_inpt, 100);  // the count, kept within the table
    add_ddl(30, 3, 0, "x");
    add_ddl(0, 60, 50, "x");
    EXPECT_EQ(form_view().ddl_nbli[0], 50);
    EXPECT_EQ(form_view().ddl_txt[0][49], "");
    add_lnd(1, 400, 399, "far");
    EXPECT_EQ(form_view().LndDDL, 1);
    EXPECT_EQ(form_view().ddl_nbli[1], max_lnd_lines);
    add_subt(21, 20, "x", 1, 1);
    EXPECT_EQ(form_view().nb_subt, 20);
    add_butt(11, 10, "x", 1, 1, 1, 1);
    EXPECT_EQ(form_view().nb_butt, 10);
    add_butt(-3, 0, "x", 1, 1, 1, 1);
    EXPECT_EQ(form_view().nb_butt, 0);
}

TEST_F(FormViewTest, KeyInputsShowTheKeyName) {
    add_inpt(2, 0, "k", "typed", {1, 2, 3, 4}, 10065, 0, 5, typ_key, 0, 1, -1, -1, "");
    add_inpt(2, 1, "k", "typed", {1, 2, 3, 4}, 0, 0, 5, typ_key, 0, 1, -1, -1, "");
    EXPECT_EQ(form_view().inpt_cval[0], "CTRL+A");
    EXPECT_EQ(form_view().inpt_cval[1], "typed");
    set_inpt_val(1, 30065, 0, "ignored");
    EXPECT_EQ(form_view().inpt_cval[1], "CTRL+SHFT+A");
}

TEST_F(FormViewTest, RadioCircle) {
    inputs(3, typ_tck);
    std::array<int, max_rdio> counts{2, 1};
    std::array<std::array<int, max_rdio_memb>, max_rdio> members{};
    members[0] = {1, 2};
    members[1] = {-1};  // a name that matched no box
    add_rdio(2, counts, members);
    EXPECT_EQ(form_view().rdio_set[0], 0);
    EXPECT_EQ(form_view().rdio_set[1], 0);
    EXPECT_EQ(form_view().rdio_set[2], -1);
    EXPECT_EQ(form_view().tick_rdio[1][0], -1);
    ASSERT_EQ(form_view().NCRad, 26);  // size 12
    EXPECT_FLOAT_EQ(form_view().pprad[0][0], float(std::cos(0.7853981633975)));
    EXPECT_FLOAT_EQ(form_view().pprad[0][1], float(std::sin(0.7853981633975)));
    double a13 = 13 * 6.28318530718 / 26 + 0.7853981633975;
    EXPECT_FLOAT_EQ(form_view().pprad[13][0], float(std::cos(a13)));

    // Large boxes: the circle keeps within its vertex table.
    add_inpt(1, 0, "", "", {1, 1, -1, -1}, 0, 0, 200, typ_tck, 0, 1, -1, -1, "");
    counts = {1};
    members = {};
    members[0][0] = 1;
    add_rdio(1, counts, members);
    EXPECT_EQ(form_view().NCRad, max_radio_vertices);
}

TEST_F(FormViewTest, UpdatesPastTheLiveCountDoNothing) {
    inputs(2, typ_chr);
    add_subt(1, 0, "t", 0, 0);
    set_inpt_props(2, "new", 0, typ_int, "", 1);
    set_inpt_val(2, 5, 5, "new");
    set_inpt_val(-1, 5, 5, "new");
    set_subt(1, "new", 1);
    EXPECT_EQ(form_view().inpt_txt[2], "");
    EXPECT_EQ(form_view().inpt_cval[2], "");
    EXPECT_EQ(form_view().subt_txt[1], "");
    EXPECT_FALSE(form_view().redraw);

    set_inpt_props(1, "new", 0, typ_int, "*.x", 0);
    EXPECT_EQ(form_view().inpt_txt[1], "new");
    EXPECT_EQ(form_view().inpt_act[1], 0);
    EXPECT_EQ(form_view().inpt_typ[1], typ_int);
    EXPECT_FALSE(form_view().redraw);
    set_subt(0, "changed", 1);
    EXPECT_EQ(form_view().subt_txt[0], "changed");
    EXPECT_TRUE(form_view().redraw);
}

TEST_F(FormViewTest, ListValues) {
    inputs(1, typ_ddl);
    for (int e = 0; e < 3; ++e) add_ddl(0, 3, e, std::string(1, char('a' + e)));
    set_inpt_val(0, 2, 0, "ignored");
    EXPECT_EQ(form_view().inpt_cval[0], "c");
    set_inpt_val(0, 3, 0, "ignored");  // no such line
    EXPECT_EQ(form_view().inpt_cval[0], "");
    set_inpt_val(0, 0, 0, "");
    int ival;
    float rval;
    std::string text;
    ASSERT_EQ(get_box_val(0, ival, rval, text), 1);
    EXPECT_EQ(ival, 1);  // lists report their lines from 1
    EXPECT_EQ(text, "a");
    EXPECT_EQ(get_box_val(99, ival, rval, text), 1);
    EXPECT_EQ(get_box_val(100, ival, rval, text), 0);
    EXPECT_EQ(get_box_val(-1, ival, rval, text), 0);
}

TEST_F(FormViewTest, DependenciesFollowTickBoxes) {
    inputs(4, typ_chr);
    add_inpt(4, 0, "t", "", {1, 1, -1, -1}, 0, 0, 12, typ_tck, 0, 1, -1, -1, "");
    add_inpt(4, 1, "a", "", {1, 1, -1, -1}, 0, 0, 5, typ_chr, 0, 1, 0, -1, "");
    add_inpt(4, 2, "b", "", {1, 1, -1, -1}, 0, 0, 5, typ_chr, 0, 0, 1000, -1, "");
    add_inpt(4, 3, "c", "", {1, 1, -1, -1}, 0, 0, 5, typ_chr, 0, 1, 999, -1, "");  // no box 999
    set_inpt_val(0, 0, 0, "");
    EXPECT_EQ(form_view().inpt_act[1], 0);
    EXPECT_EQ(form_view().inpt_act[2], 1);
    EXPECT_EQ(form_view().inpt_act[3], 1);
    set_inpt_val(0, 1, 0, "");
    EXPECT_EQ(form_view().inpt_act[1], 1);
    EXPECT_EQ(form_view().inpt_act[2], 0);
}

// The form file's texts reach the view in the pilot's language; a landscape's name and a
// typed value stay as they are.
TEST_F(FormViewTest, TextsShownInThePilotsLanguage) {
    using Texts = std::tuple<std::string, std::string, std::string, std::string>;
    const std::pair<Language, Texts> cases[] = {
        {Language::english, {"Landscape", "Decimal degrees", "Result", "Convert"}},
        {Language::french, {"Paysage", "Degr\351s d\351cimaux", "R\351sultat", "Convertir"}},
        {Language::german, {"Landschaft", "Dezimalgrad", "Ergebnis", "Umrechnen"}},
    };
    for (const auto& [language, texts] : cases) {
        set_language(language);
        reset_form_view();
        add_inpt(2, 0, "Landscape", "Landscape", {1, 2, 3, 4}, 0, 0, 5, typ_chr, 0, 1, -1, -1, "");
        add_ddl(0, 1, 0, "Decimal degrees");
        add_lnd(1, 1, 0, "Landscape");
        add_subt(2, 0, "Title", 1, 1);
        add_butt(1, 0, "Convert", 1, 1, 1, 1);
        set_subt(0, "Result", 0);
        const auto& v = form_view();
        EXPECT_EQ(Texts(v.inpt_txt[0], v.ddl_txt[0][0], v.subt_txt[0], v.butt_txt[0]), texts);
        EXPECT_EQ(v.inpt_cval[0] + "|" + v.lnd_nam[0], "Landscape|Landscape");
        set_inpt_props(0, "Lon", 1, typ_chr, "", 0);
        EXPECT_EQ(v.inpt_txt[0], translate_to(language, "Lon"));
    }
    set_language(Language::english);
}
