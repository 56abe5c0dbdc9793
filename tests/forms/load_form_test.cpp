// Hand-over to the view: every widget kind compared field by field, and the landscape list.
#include <cstdlib>
#include <fstream>
#include <string>

#include "gui/form_view.hpp"
#include "host/registry.hpp"
#include "tests/forms/forms_fixture.hpp"

namespace {

constexpr const char* kEveryKind =
    "[General]\nWindow Title=All kinds\nFontName=arial.ttf\nFontSize=12\nActive=1\nDebug=0\n"
    "TickSize=12\n"
    "[Input-boxes]\n"
    "{Name=N; Txt=Count; Type=INT; Pos=10,20; TxPos=R; Size=5; Arr=1}\n"
    "{Name=F; Txt=-Speed; Type=FLT; Pos=-10,40; Size=8; Arr=1}\n"
    "{Name=T; Txt=On; Type=TCK; Pos=10,60}\n"
    "{Name=U; Txt=Off; Type=TCK; Pos=40,60; Dep=-T}\n"
    "{Name=P; Txt=File; Type=IFP; Ext=*.frm; Title=Open a form; Pos=10,80; TxPos=5,90; Size=20; "
    "Dep=T}\n"
    "{Name=L; Txt=Unit,m,km; Type=DDL; Pos=10,100; Size=6}\n"
    "{Name=K; Txt=Key; Type=KEY; Pos=10,120; Size=6}\n"
    "[Radio-buttons]\n{Set=T,U}\n"
    "[Separators]\n{Separ=0,5,100,5}\n{Separ=1,2,3,4}\n"
    "[Text]\n{Title=Head; Pos=C50%,-15}\n"
    "[Buttons]\n{Txt=OK; Pos=C150,5; Size=80; Type=OK}\n{Txt=Quit; Pos=R390,5; Size=60; "
    "Type=CANCEL}\n";

// A simulator installation in the scratch folder, named by a registry store.
void install(const fs::path& root, std::initializer_list<const char*> landscapes_with_trn,
             std::initializer_list<const char*> other_entries) {
    fs::path inst = root / "Volaro2";
    fs::create_directories(inst / "Logs");
    std::ofstream(inst / "Volaro.exe") << "";
    std::ofstream(inst / "Logs" / "Logfile.txt") << "Volaro version: 2150\n";
    fs::path lands = inst / "Landscapes";
    fs::create_directories(lands);
    for (const char* name : landscapes_with_trn) {
        fs::create_directories(lands / name);
        std::ofstream(lands / name / (std::string(name) + ".trn")) << "header";
    }
    for (const char* name : other_entries) fs::create_directories(lands / name);
    std::ofstream(root / "user.reg") << "WINE REGISTRY Version 2\n\n[Software\\\\Volaro2] 1\n"
                                     << "\"InstallDir\"=\"" << inst.string() << "\"\n";
    setenv("VARNIX_REGISTRY", (root / "user.reg").c_str(), 1);
    registry_reset();
}

}  // namespace

using LoadForm = FormsTest;

TEST_F(LoadForm, EveryWidgetKindReachesTheView) {
    ASSERT_EQ(read_form(kEveryKind), 0) << log();
    frm_set_value(1, 42, 0, "", false);
    frm_set_value(3, 1, 0, "", false);
    frm_set_value(6, 2, 0, "", false);
    frm_set_value(7, 10065, 0, "", false);
    // The registration frm_create_form makes, without the layout that follows it.
    set_opt(frm_context().frm999.iact, frm_context().frm000.f_size, frm_context().frm999.qdebug);
    load_form();
    const auto& v = form_view();

    EXPECT_EQ(v.ActWin, 1);
    EXPECT_EQ(v.font_size, 12);
    EXPECT_FALSE(v.debug);

    ASSERT_EQ(v.nb_subt, 1);
    EXPECT_EQ(v.subt_txt[0], "Head");
    EXPECT_EQ(v.subt_pos[0], (std::array<int, 2>{-10500, -15}));
    ASSERT_EQ(v.nb_sepa, 2);
    EXPECT_EQ(v.sepa_pos[0], (Rect{0, 5, 100, 5}));
    EXPECT_EQ(v.sepa_pos[1], (Rect{1, 2, 3, 4}));

    struct Input {
        const char* label;
        const char* value;
        Rect pos;
        std::array<int, 2> ptx;
        int ival, siz, typ, arr, act, dep, ddl;
        const char* ext;
    };
    const Input inputs[] = {
        {"Count", "42", {10, 20, 0, 0}, {-1, -1}, 42, 5, typ_int, 1, 1, -1, -1, ""},
        {"Speed", "", {-10, 40, 0, 0}, {-1, -1}, 0, 8, typ_flt, 1, 0, -1, -1, ""},
        {"On", "", {10, 60, 0, 0}, {-1, -1}, 1, 12, typ_tck, 0, 1, -1, -1, ""},
        {"Off", "", {40, 60, 0, 0}, {-1, -1}, 0, 12, typ_tck, 0, 1, 1002, -1, ""},
        {"File", "", {10, 80, 0, 0}, {5, 90}, 0, 20, typ_ifp, 0, 1, 2, -1, "*.frm"},
        {"Unit", "km", {10, 100, 0, 0}, {-1, -1}, 1, 6, typ_ddl, 0, 1, -1, 0, ""},
        {"Key", "CTRL+A", {10, 120, 0, 0}, {-1, -1}, 10065, 6, typ_key, 0, 1, -1, -1, ""},
    };
    ASSERT_EQ(v.nb_inpt, 7);
    for (int i = 0; i < 7; ++i) {
        const Input& x = inputs[i];
        SCOPED_TRACE(x.label);
        EXPECT_EQ(v.inpt_txt[i], x.label);
        EXPECT_EQ(v.inpt_cval[i], x.value);
        EXPECT_EQ(v.inpt_pos[i], x.pos);
        EXPECT_EQ(v.inpt_ptx[i], x.ptx);
        EXPECT_EQ(v.inpt_ival[i], x.ival);
        EXPECT_EQ(v.inpt_siz[i], x.siz);
        EXPECT_EQ(v.inpt_typ[i], x.typ);
        EXPECT_EQ(v.inpt_arr[i], x.arr);
        EXPECT_EQ(v.inpt_act[i], x.act);
        EXPECT_EQ(v.inpt_dep[i], x.dep);
        EXPECT_EQ(v.inpt_ddl[i], x.ddl);
        EXPECT_EQ(v.inpt_ext[i], x.ext);
        EXPECT_EQ(v.inpt_OK[i], 1);
    }
    EXPECT_EQ(v.inpt_dlg[4], "Open a form");  // the file box's dialog says what it opens
    EXPECT_EQ(v.inpt_dlg[0], "");
    ASSERT_EQ(v.ddl_nbli[0], 2);
    EXPECT_EQ(v.ddl_txt[0][0], "m");
    EXPECT_EQ(v.ddl_txt[0][1], "km");

    ASSERT_EQ(v.nb_rdio, 1);
    EXPECT_EQ(v.tick_rdio_count[0], 2);
    EXPECT_EQ(v.tick_rdio[0][0], 2);
    EXPECT_EQ(v.tick_rdio[0][1], 3);
    EXPECT_EQ(v.rdio_set[2], 0);
    EXPECT_EQ(v.rdio_set[0], -1);
    EXPECT_EQ(v.NCRad, 26);

    ASSERT_EQ(v.nb_butt, 2);
    EXPECT_EQ(v.butt_txt[0], "OK");
    EXPECT_EQ(v.butt_pos[0], (Rect{10150, 5, 0, 0}));
    EXPECT_EQ(v.butt_siz[0], 80);
    EXPECT_EQ(v.butt_typ[0], 1);
    EXPECT_EQ(v.butt_typ[1], -1);
}

TEST_F(LoadForm, LandscapeListFromTheInstallation) {
    install(dir(), {"beta", "Alpha", "Gamma"}, {"Empty", "zeta.trn"});
    fs::create_directories(dir() / "Volaro2" / "Landscapes" / "Delta");
    std::ofstream(dir() / "Volaro2" / "Landscapes" / "Delta" / "other.trn") << "";
    ASSERT_EQ(read_form("[Input-boxes]\n"
                        "{Name=Lnd; Txt=Landscape; Type=DDL; Pos=1,1; Size=9}\n"
                        "{Name=U; Txt=Unit,m,km; Type=DDL; Pos=1,30; Size=9}\n"
                        "[Buttons]\n{Txt=OK; Pos=10,5; Size=80; Type=OK}\n"),
              0);
    testing::internal::CaptureStdout();
    frm_create_form();
    testing::internal::GetCapturedStdout();
    const auto& v = form_view();
    EXPECT_EQ(v.LndDDL, 0);
    ASSERT_EQ(v.ddl_nbli[0], 3);
    EXPECT_EQ(v.lnd_nam[0], "Alpha");  // in the order Windows lists them
    EXPECT_EQ(v.lnd_nam[1], "beta");
    EXPECT_EQ(v.lnd_nam[2], "Gamma");
    EXPECT_EQ(frm_context().frmi03.ddl_nbli[1], 3);
    EXPECT_EQ(v.ddl_nbli[1], 2);  // the list after it
    EXPECT_EQ(v.nb_butt, 1);
    EXPECT_FALSE(fs::exists(dir() / "Landscapes_tmp.txt"));

    // The view shows the chosen landscape by its name.
    ASSERT_EQ(frm_set_value(1, 2, 0, "", true), 1);
    int iv, it;
    float rv;
    std::string cv;
    frm_get_cur_value(1, iv, rv, cv, it);
    EXPECT_EQ(iv, 2);
    EXPECT_EQ(cv, "beta");

    // A second hand-over lists the folder as it is then.
    fs::remove(dir() / "Volaro2" / "Landscapes" / "beta" / "beta.trn");
    load_form();
    EXPECT_EQ(v.ddl_nbli[0], 2);
    EXPECT_EQ(v.lnd_nam[1], "Gamma");
}

TEST_F(LoadForm, NoInstallationStopsTheHandOver) {
    ASSERT_EQ(read_form("[Input-boxes]\n"
                        "{Name=A; Type=TCK; Pos=1,1}\n"
                        "{Name=Lnd; Txt=Landscape; Type=DDL; Pos=1,1; Size=9}\n"
                        "{Name=U; Txt=Unit,m,km; Type=DDL; Pos=1,30; Size=9}\n"
                        "[Radio-buttons]\n{Set=A}\n"
                        "[Buttons]\n{Txt=OK; Pos=10,5; Size=80; Type=OK}\n"),
              0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(load_form(), 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("*** No Volaro installation found (2 or 3) ***"), std::string::npos) << out;
    EXPECT_EQ(form_view().nb_inpt, 3);  // the boxes came first
    EXPECT_EQ(form_view().ddl_nbli[1], 0);
    EXPECT_EQ(form_view().nb_rdio, 0);
    EXPECT_EQ(form_view().nb_butt, 0);
}

TEST_F(LoadForm, ANewFormForgetsTheOldLists) {
    install(dir(), {"Alpha"}, {});
    ASSERT_EQ(read_form("[Input-boxes]\n{Name=Lnd; Txt=Landscape; Type=DDL; Pos=1,1; Size=9}\n"
                        "[Buttons]\n{Txt=OK; Pos=10,5; Size=80; Type=OK}\n"),
              0);
    testing::internal::CaptureStdout();
    ASSERT_EQ(load_form(), 1);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(form_view().LndDDL, 0);

    // The next form's list 0 is an ordinary one, and it has no buttons.
    ASSERT_EQ(read_form("[Input-boxes]\n{Name=U; Txt=Unit,m,km; Type=DDL; Pos=1,30; Size=9}\n"), 0);
    ASSERT_EQ(load_form(), 1);
    EXPECT_EQ(form_view().LndDDL, -1);
    EXPECT_EQ(form_view().lnd_nam[0], "");
    EXPECT_EQ(form_view().nb_butt, 0);
    ASSERT_EQ(frm_set_value(1, 2, 0, "", true), 1);
    EXPECT_EQ(form_view().inpt_cval[0], "km");
}
