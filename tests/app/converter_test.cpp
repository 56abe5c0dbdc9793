// The converter window's application side on the headless host: the program's own definition
// file read and handed to the view, the hooks driven as the window drives them, results read
// from the view, and conversions checked against the command line's own results.
#include "app/pages/converter.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>

#include "app/cli/Varnix_vers.hpp"
#include "app/pages/varnix_forms.hpp"
#include "fixture.hpp"
#include "forms/my_forms.hpp"
#include "geo/UTM.hpp"
#include "gui/form_ops.hpp"
#include "gui/form_view.hpp"
#include "host/console.hpp"
#include "host/messages.hpp"
#include "host/registry.hpp"
#include "include/common_data.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

const std::string form_file = std::string(VARNIX_SOURCE_DIR) + "/data/Varnix_form.frm";
const std::string fourteen_x = "XXXXXXXXXXXXXX";

class Converter : public ::testing::Test {
  protected:
    void SetUp() override {
        install.add_version(2);
        install.add_landscape(2, "Alps");
        TrnHeader small;
        small.ncols = 50;
        small.nrows = 40;
        install.add_landscape(2, "Bern", small);
        TrnHeader broken;
        broken.zone = 0;
        install.add_landscape(2, "Broken", broken);
        store = install.write_store();
        old_cwd = std::filesystem::current_path();
        std::filesystem::current_path(work.path());
        setenv("VARNIX_REGISTRY", store.c_str(), 1);
        setenv("VARNIX_NO_DIALOGS", "1", 1);
        setenv("XDG_CONFIG_HOME", (work.path() / "config").c_str(), 1);
        registry_reset();
        reset_messages();
        reset_common_data();
        common_data.nvers = vers_num();
        common_data.cvers = numver_to_char(common_data.nvers);
        common_data.qline = false;
        reset_form_model();
        reset_form_view();
        reset_converter();
        use_converter_hooks();
        utm_reset();
        ASSERT_EQ(frm_read_form(form_file), 0);
        ASSERT_TRUE(find_converter_items());
        add_version_to_title();
        ASSERT_EQ(load_form(), 1);
        show_start_choices();
    }
    void TearDown() override {
        std::filesystem::current_path(old_cwd);
        unsetenv("XDG_CONFIG_HOME");
    }

    // What the user does in the window.
    void type(int n, const std::string& text) { form_view().inpt_cval[n - 1] = text; }
    void choose(int n, int entry) {
        int list = form_view().inpt_ddl[n - 1];
        form_view().inpt_ival[n - 1] = entry - 1;
        form_view().inpt_cval[n - 1] = list == form_view().LndDDL
                                           ? form_view().lnd_nam[entry - 1]
                                           : form_view().ddl_txt[list][entry - 1];
        frm_callback(sec_inpt, n, entry);
    }
    void press(int type) {
        for (int b = 0; b < form_view().nb_butt; ++b)
            if (form_view().butt_typ[b] == type) {
                int v = type;
                frm_callback(sec_butt, b + 1, v);
                return;
            }
        FAIL() << "no button of type " << type;
    }
    // A button as the window presses it: every box checked first, in order, the reasons of
    // refused boxes left in the view, and the press only when all pass.
    bool press_checked(int type) {
        auto& v = form_view();
        bool all = true;
        for (int i = 0; i < v.nb_inpt; ++i)
            all = form_model_ops().check_values(i, 1, v.inpt_ival[i], v.inpt_rval[i],
                                                v.inpt_cval[i], v.inpt_msg[i]) &&
                  all;
        if (all) press(type);
        return all;
    }
    std::string shown(int n) const { return form_view().inpt_cval[n - 1]; }
    // Types a position, picks the notations and converts; the two result lines.
    std::pair<std::string, std::string> convert(int it, int ot, const std::string& in1,
                                                const std::string& in2) {
        choose(common_data.n_it, it);
        choose(common_data.n_ot, ot);
        type(common_data.n_ic1, in1);
        type(common_data.n_ic2, in2);
        press(butt_convert);
        return {line(common_data.n_oc1), line(common_data.n_oc2)};
    }
    std::string line(int t) const { return form_view().subt_txt[t - 1]; }
    std::string label(int n) const { return form_view().inpt_txt[n - 1]; }

    // X and Y of `varnix Alps LAT LON`, the command line's own result.
    std::pair<double, double> command_line_xy(const std::string& lat, const std::string& lon) {
        RunResult r = run_varnix({"Alps", cp1252_to_utf8(lat), cp1252_to_utf8(lon)}, work.path(),
                                 {{"VARNIX_REGISTRY", store.string()}});
        EXPECT_EQ(r.status, 0) << lat << " " << lon << ": " << r.err;
        double x = NAN, y = NAN;
        std::size_t px = r.out.find("TPPosX="), py = r.out.find("TPPosY=");
        if (px != std::string::npos && py != std::string::npos) {
            x = std::atof(r.out.c_str() + px + 7);
            y = std::atof(r.out.c_str() + py + 7);
        }
        return {x, y};
    }

    TempDir root, work;
    Installation install{root.path()};
    fs::path store, old_cwd;
};

TEST_F(Converter, StartsWithTheDefaultsAndTheVersionInTheTitle) {
    const auto& cd = common_data;
    EXPECT_EQ(form_view().subt_txt[0], "Position converter - V2.2.0.0");
    EXPECT_EQ(form_view().inpt_cval[cd.n_it - 1], "Latitude / longitude");
    EXPECT_EQ(form_view().inpt_cval[cd.n_ot - 1], "Landscape X / Y");
    EXPECT_EQ(form_view().inpt_cval[cd.n_lnd - 1], "Alps");
    EXPECT_EQ(cd.landscape.view(), "Alps");
    EXPECT_EQ(label(cd.n_ic1), "Lat");
    EXPECT_EQ(label(cd.n_ic2), "Lon");
    EXPECT_EQ(line(cd.n_oc1), "X=");
    EXPECT_EQ(line(cd.n_oc2), "Y=");
}

TEST_F(Converter, ChoicesSwitchLabelsAndLandscape) {
    const auto& cd = common_data;
    struct Case {
        int box, entry;
        std::string ic1, ic2, oc1, oc2, landscape;
    };
    const Case cases[] = {
        {cd.n_it, 2, "X", "Y", "X=", "Y=", "Alps"},
        {cd.n_ot, 3, "X", "Y", "Lat=", "Lon=", "Alps"},
        {cd.n_lnd, 2, "X", "Y", "Lat=", "Lon=", "Bern"},
        {cd.n_it, 1, "Lat", "Lon", "Lat=", "Lon=", "Bern"},
        {cd.n_ot, 1, "Lat", "Lon", "X=", "Y=", "Bern"},
    };
    for (const auto& c : cases) {
        choose(c.box, c.entry);
        EXPECT_EQ(label(cd.n_ic1), c.ic1) << c.box << " " << c.entry;
        EXPECT_EQ(label(cd.n_ic2), c.ic2) << c.box << " " << c.entry;
        EXPECT_EQ(line(cd.n_oc1), c.oc1) << c.box << " " << c.entry;
        EXPECT_EQ(line(cd.n_oc2), c.oc2) << c.box << " " << c.entry;
        EXPECT_EQ(cd.landscape.view(), c.landscape) << c.box << " " << c.entry;
    }
}

// Latitude/longitude into X/Y agrees with the single-point command line to the shown cent.
TEST_F(Converter, LatLonToXYAgreesWithTheCommandLine) {
    const std::pair<std::string, std::string> points[] = {
        {"46.5", "9.25"},
        {"46\xB0"
         "20'10\"N",
         "9\xB0"
         "10'E"},
        {"4620.500N", "00915.250E"},
        {"46.20.500N", "009.15.250E"},
    };
    for (const auto& [lat, lon] : points) {
        auto [oc1, oc2] = convert(it_latlon, ot_xy, lat, lon);
        auto [x, y] = command_line_xy(lat, lon);
        ASSERT_TRUE(oc1.starts_with("X=") && oc2.starts_with("Y=")) << oc1 << " " << oc2;
        EXPECT_NEAR(std::atof(oc1.c_str() + 2), x, 0.0051) << lat;
        EXPECT_NEAR(std::atof(oc2.c_str() + 2), y, 0.0051) << lon;
    }
}

// X/Y into every geographic notation: each result, given back to the command line, lands on
// the X/Y it came from, within what the notation's last digit can hold.
TEST_F(Converter, XYToEveryNotationReadsBackOnTheCommandLine) {
    struct Case {
        int ot;
        double tolerance;  // metres
    };
    // Single precision alone costs half a metre at these northings.
    const Case cases[] = {{ot_dms, 1.0}, {ot_decimal, 1.0}, {ot_cup, 2.5}, {ot_vlro, 2.5}};
    for (const auto& c : cases) {
        auto [oc1, oc2] = convert(it_xy, c.ot, "12345.5", "6789.25");
        ASSERT_TRUE(oc1.starts_with("Lat=") && oc2.starts_with("Lon=")) << oc1 << " " << oc2;
        auto [x, y] = command_line_xy(oc1.substr(4), oc2.substr(4));
        EXPECT_NEAR(x, 12345.5, c.tolerance) << oc1 << " " << oc2;
        EXPECT_NEAR(y, 6789.25, c.tolerance) << oc1 << " " << oc2;
    }
    // X/Y to X/Y: shown as typed, with two decimals at most.
    EXPECT_EQ(convert(it_xy, ot_xy, "12345.5", "6789.254"),
              std::make_pair(std::string("X=12345.5"), std::string("Y=6789.25")));
}

TEST_F(Converter, ConvertEdgeCases) {
    struct Case {
        std::string what, landscape;
        int it, ot;
        std::string in1, in2, oc1, oc2, message;
    };
    const Case cases[] = {
        {"geographic to geographic needs no landscape", "", it_latlon, ot_decimal, "45.5", "7.25",
         "Lat=45.5", "Lon=7.25", ""},
        {"degrees in waypoint notation", "", it_latlon, ot_cup, "45.5", "7.25", "Lat=4530.000N",
         "Lon=00715.000E", ""},
        {"latitude that does not decode", "Alps", it_latlon, ot_xy, "abc", "9.25", fourteen_x,
         fourteen_x, ""},
        {"longitude that does not decode", "", it_latlon, ot_decimal, "46.5", "9.25Q", fourteen_x,
         fourteen_x, ""},
        {"X that is no number", "Alps", it_xy, ot_dms, "east", "100", fourteen_x, fourteen_x, ""},
        {"landscape no longer installed", "Gone", it_latlon, ot_xy, "46.5", "9.25", fourteen_x,
         fourteen_x, "Landscape Gone not installed or corrupted"},
        {"output type the program does not know", "Alps", it_latlon, 6, "46.5", "9.25", fourteen_x,
         fourteen_x, ""},
    };
    for (const auto& c : cases) {
        form_view().inpt_cval[common_data.n_lnd - 1] = c.landscape;
        testing::internal::CaptureStderr();
        form_view().inpt_ival[common_data.n_it - 1] = c.it - 1;
        form_view().inpt_ival[common_data.n_ot - 1] = c.ot - 1;
        type(common_data.n_ic1, c.in1);
        type(common_data.n_ic2, c.in2);
        press(butt_convert);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(line(common_data.n_oc1), c.oc1) << c.what;
        EXPECT_EQ(line(common_data.n_oc2), c.oc2) << c.what;
        if (!c.message.empty()) {
            EXPECT_NE(err.find(c.message), std::string::npos) << c.what;
        }
    }
}

TEST_F(Converter, PointOutsideTheLandscapeIsShownWithANotice) {
    testing::internal::CaptureStderr();
    auto [oc1, oc2] = convert(it_latlon, ot_xy, "47.5", "9.25");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Varnix: *** Outside landscape ***"), std::string::npos) << err;
    EXPECT_TRUE(oc1.starts_with("X=") && oc1 != "X=") << oc1;
    EXPECT_TRUE(oc2.starts_with("Y=") && oc2 != "Y=") << oc2;
}

TEST_F(Converter, TypedValuesAreCheckedByTheirLabel) {
    struct Case {
        std::string label, landscape, text;
        int result;
        std::string msg, kept;  // the message, and the text the box keeps
    };
    // Alps: 400 x 300 cells of 100 m.
    const Case cases[] = {
        {"X", "Alps", "abc", 0, "Floating-point value required", "abc"},
        {"X", "Alps", "-1", 0, "X-value must be in [0,40000]", "-1"},
        {"X", "Alps", "40000", 1, "", "40000"},
        {"Y", "Alps", "30000.5", 0, "Y-value must be in [0,30000]", "30000.5"},
        {"Y", "Bern", "4500", 0, "Y-value must be in [0,4000]", "4500"},
        {"X", "", "-1", 1, "", "-1"},
        {"X", "Gone", "10", 0, "Landscape Gone not installed or corrupted", "10"},
        {"Lat", "", "46.30.250N", 1, "", "4630.250N"},
        {"Lat", "", "north", 0, "Invalid Lat/Lon format", "north"},
        {"Lon", "", "9.25", 1, "", "9.25"},
        {"Lon", "", "4630.250N", 0, "Invalid Lat/Lon format", "4630.250N"},
        {"Lon", "", "9 15 00 E", 0, "Invalid Lat/Lon format", "9 15 00 E"},
        {"Lat", "", "46.30.2N", 0, "Invalid Lat/Lon format", "46.30.2N"},
        // One coordinate with a decimal comma, as French and German pilots type it.
        {"Lat", "", "46,5", 1, "", "46.5"},
        {"Lon", "", "-9,25", 1, "", "-9.25"},
        {"Lat", "", "46,5,3", 0, "Invalid Lat/Lon format", "46,5,3"},
        {"Landscape", "", "anything", 1, "", "anything"},
    };
    for (const auto& c : cases) {
        common_data.landscape = c.landscape;
        TextField<255> cval = c.text;
        int ival = 0;
        float rval = 0;
        std::string msg = "stale";
        testing::internal::CaptureStderr();
        int result = check_values_app(common_data.n_ic1, c.label, ival, rval, cval, msg);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, c.result) << c.label << " " << c.text;
        EXPECT_EQ(msg, c.msg) << c.label << " " << c.text;
        EXPECT_EQ(cval.view(), c.kept) << c.label << " " << c.text;
    }
}

// Copy copies the result on screen, and only a real one; after whatever removed the result
// (another notation, a refused or failed Convert, another landscape) it says so and leaves the
// clipboard alone. Without a clipboard an attempt shows as its error.
TEST_F(Converter, CopyTakesOnlyTheResultOnScreen) {
    const auto& cd = common_data;
    const std::string display = getenv("DISPLAY") ? getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    auto copies = [&](const std::string& what) {
        testing::internal::CaptureStderr();
        press(butt_copy);
        bool tried = testing::internal::GetCapturedStderr().find("Can't open clipboard") !=
                     std::string::npos;
        EXPECT_EQ(line(cd.n_oc1) == "Nothing to copy: convert a position first", !tried) << what;
        return tried;
    };
    EXPECT_FALSE(copies("before any conversion"));
    convert(it_latlon, ot_decimal, "45.5", "7.25");
    EXPECT_TRUE(copies("a result"));
    EXPECT_EQ(line(cd.n_oc1), "Lat=45.5");
    choose(cd.n_ot, ot_cup);
    EXPECT_FALSE(copies("another notation"));
    convert(it_latlon, ot_decimal, "45.5", "7.25");
    type(cd.n_ic1, "north");
    EXPECT_FALSE(press_checked(butt_convert));
    EXPECT_EQ(line(cd.n_oc1), "Invalid Lat/Lon format");  // why the box is red, unpointed at
    EXPECT_FALSE(copies("a refused Convert"));
    choose(cd.n_lnd, 3);
    convert(it_latlon, ot_xy, "46.5", "9.25");
    EXPECT_FALSE(copies("a failed Convert"));
    choose(cd.n_lnd, 1);
    convert(it_latlon, ot_xy, "46.5", "9.25");
    choose(cd.n_lnd, 2);
    EXPECT_EQ(line(cd.n_oc1), "X=");
    EXPECT_FALSE(copies("another landscape under an X/Y result"));
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
}

// Another input type converts the typed position, so the boxes describe the same point; boxes
// without a position are cleared; a landscape that cannot be set up keeps boxes and type.
TEST_F(Converter, ChangingTheInputTypeKeepsThePoint) {
    const auto& cd = common_data;
    auto [oc1, oc2] = convert(it_latlon, ot_xy, "46.5", "9.25");
    choose(cd.n_it, it_xy);
    EXPECT_EQ("X=" + shown(cd.n_ic1) + " Y=" + shown(cd.n_ic2), oc1 + " " + oc2);
    choose(cd.n_it, it_latlon);
    EXPECT_NEAR(std::atof(shown(cd.n_ic1).c_str()), 46.5, 1e-5);
    EXPECT_NEAR(std::atof(shown(cd.n_ic2).c_str()), 9.25, 1e-5);
    struct Case {
        int lnd, from, to;
        std::string in1, in2, after;  // afterwards: IC1 + "|" + IC2 + "|" + IC1's label
    };
    const Case cases[] = {{1, it_latlon, it_xy, "north", "9.25", "||X"},
                          {1, it_xy, it_latlon, "100", "", "||Lat"},
                          {3, it_latlon, it_xy, "46.5", "9.25", "46.5|9.25|Lat"}};
    for (const auto& c : cases) {
        choose(cd.n_lnd, c.lnd);
        choose(cd.n_it, c.from);
        type(cd.n_ic1, c.in1);
        type(cd.n_ic2, c.in2);
        testing::internal::CaptureStderr();
        choose(cd.n_it, c.to);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(shown(cd.n_ic1) + "|" + shown(cd.n_ic2) + "|" + label(cd.n_ic1), c.after);
        EXPECT_EQ(shown(cd.n_it),
                  c.after.ends_with("X") ? "Landscape X / Y" : "Latitude / longitude");
    }
}

// A position pasted whole into the first box fills both boxes when the window checks it.
TEST_F(Converter, APastedPairFillsBothBoxes) {
    const auto& cd = common_data;
    choose(cd.n_ot, ot_decimal);
    type(cd.n_ic1,
         "46\xB0"
         "30\x92N, 9\xB0"
         "15'E");
    EXPECT_TRUE(press_checked(butt_convert));
    EXPECT_EQ(shown(cd.n_ic1) + " " + shown(cd.n_ic2),
              "46\xB0"
              "30'N 9\xB0"
              "15'E");
    EXPECT_EQ(line(cd.n_oc1) + " " + line(cd.n_oc2), "Lat=46.5 Lon=9.25");
}

// A landscape whose header cannot be read: told once per Convert, the reason on both boxes.
TEST_F(Converter, ALandscapeThatCannotBeSetUpIsToldOncePerConvert) {
    const auto& cd = common_data;
    const std::string why = "Landscape Broken not installed or corrupted";
    choose(cd.n_lnd, 3);
    choose(cd.n_it, it_xy);
    type(cd.n_ic1, "100");
    type(cd.n_ic2, "200");
    for (int round = 0; round < 2; ++round) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(press_checked(butt_convert));
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.find(why), err.rfind(why)) << err;
        EXPECT_NE(err.find(why), std::string::npos);
        EXPECT_EQ(form_view().inpt_msg[cd.n_ic1 - 1] + form_view().inpt_msg[cd.n_ic2 - 1],
                  why + why);
    }
}

// --- remembered choices ----------------------------------------------------------------------

class Remembered : public Converter {
  protected:
    std::string saved_file() const { return (work.path() / "config/varnix/Varnix_form.dat"); }
    // A new start of the window, reading what the last one saved.
    void restart() {
        reset_form_model();
        reset_form_view();
        use_converter_hooks();
        ASSERT_EQ(frm_read_form(form_file), 0);
        ASSERT_TRUE(find_converter_items());
        ASSERT_EQ(load_form(), 1);
        show_start_choices();
    }
};

TEST_F(Remembered, ChoicesComeBackAtTheNextStart) {
    const auto& cd = common_data;
    choose(cd.n_lnd, 2);
    choose(cd.n_it, 2);
    choose(cd.n_ot, 4);
    type(cd.n_ic1, "1200.5");
    type(cd.n_ic2, "830");
    save_choices();
    EXPECT_TRUE(fs::exists(saved_file()));
    restart();
    EXPECT_EQ(shown(cd.n_lnd), "Bern");
    EXPECT_EQ(cd.landscape.view(), "Bern");
    EXPECT_EQ(shown(cd.n_it), "Landscape X / Y");
    EXPECT_EQ(shown(cd.n_ot), "Waypoint file (cup)");
    EXPECT_EQ(shown(cd.n_ic1), "1200.5");
    EXPECT_EQ(shown(cd.n_ic2), "830");
    EXPECT_EQ(label(cd.n_ic1), "X");
    EXPECT_EQ(line(cd.n_oc1), "Lat=");
    press(butt_convert);
    EXPECT_TRUE(line(cd.n_oc1).starts_with("Lat=") && line(cd.n_oc1).size() > 4);
}

// A settings folder named outside ASCII (a home such as /home/jürgen); the second save replaces
// the file the first one wrote.
TEST_F(Remembered, ComeBackFromAFolderWithANonAsciiNameAndAreReplaced) {
    const auto& cd = common_data;
    const fs::path config = work.path() / "J\xC3\xBCrgen";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    for (const auto& [entry, name] : {std::pair{2, "Bern"}, std::pair{1, "Alps"}}) {
        choose(cd.n_lnd, entry);
        save_choices();
        restart();
        EXPECT_EQ(shown(cd.n_lnd), name);
    }
    EXPECT_TRUE(fs::exists(config / "varnix" / "Varnix_form.dat"));
}

TEST_F(Remembered, UnusableFilesGiveTheDefaults) {
    const auto& cd = common_data;
    const std::string files[] = {
        "LND=Gone\nIT=2\nOT=3\nIC1=5\nIC2=6\n",  // a landscape no longer installed
        "LND=Bern\nIT=7\nOT=0\n",                // choices the window does not have
        "",
    };
    for (const auto& text : files) {
        write_text(saved_file(), text);
        restart();
        bool bern = text.starts_with("LND=Bern");
        EXPECT_EQ(shown(cd.n_lnd), bern ? "Bern" : "Alps") << text;
        EXPECT_EQ(shown(cd.n_it), "Latitude / longitude") << text;
        EXPECT_EQ(shown(cd.n_ot), "Landscape X / Y") << text;
        EXPECT_EQ(shown(cd.n_ic1), "") << text;
        EXPECT_EQ(label(cd.n_ic1), "Lat") << text;
    }
    fs::remove(saved_file());
    fs::create_directories(saved_file());  // unreadable as a file
    restart();
    EXPECT_EQ(shown(cd.n_lnd), "Alps");
}

}  // namespace
