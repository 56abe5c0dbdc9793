// The form engine, model side.
//
// A form definition file (".frm") is read into the form model of the current form context (the
// records frm000 ... frmt01 below); the application creates a context per form, makes it current
// with frm_set_context and drives it through the frm_* calls; the engine calls back the
// application's hooks. Box, line, button and list numbers count from 1 here;
// everything handed to the view (gui/form_view.hpp) counts from 0.
//
// How to use:
//   auto form = frm_create_context(); frm_set_context(form.get());
//   frm_read_form(path)      -> 0, or the number of faults (see frm_forms.log)
//   frm_set_value/frm_set_prop to preset, frm_create_form() -> window id (0: no window)
//   frm_do_form()            -> runs the window; frm_get_cur_value reads what the user entered
//   frm_write_form_data / frm_read_form_data keep the values between runs.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/form_view.hpp"
#include "include/forms_dim.hpp"
#include "util/text_field.hpp"

// A table whose rows are numbered 1..N, as the definition file and the calls number them.
// An index outside 1..N is a programming error and stops the program rather than touching
// memory outside the table.
template <class T, int N>
struct OneBased {
    std::array<T, N> rows{};

    constexpr T& operator[](int i) { return rows[checked(i)]; }
    constexpr const T& operator[](int i) const { return rows[checked(i)]; }
    constexpr void fill(const T& v) { rows.fill(v); }
    static constexpr int size() { return N; }

  private:
    static constexpr std::size_t checked(int i) {
        if (i < 1 || i > N) std::abort();
        return std::size_t(i - 1);
    }
};

// A bound this far from 0 or farther counts as absent; the initial bounds lie past it.
inline constexpr float no_limit = 1.0e25f;
inline constexpr float no_limit_min = -2 * no_limit;
inline constexpr float no_limit_max = 2 * no_limit;

// --- the form model ----------------------------------------------------------------------------

struct Frm000 {           // counts and form-wide numbers
    int nb_rdio = 0;      // radio groups
    int nb_inpt = 0;      // input boxes
    int nb_sepa = 0;      // separators
    int nb_titl = 0;      // text lines
    int nb_butt = 0;      // buttons
    int nb_pict = 0;      // picture areas
    int nb_file = 0;      // reserved, only reset
    float tick_size = 0;  // side of a tick box in pixels ("TickSize")
    int f_size = 0;       // font size ("FontSize")
    int nvers = 0;        // version the form carries ("Version"), 0..9999
};

struct Frm999 {           // window and options
    int window_id = 0;    // made by frm_create_form; 0 = none (not reset by frm_init_form)
    int iact = 0;         // "Active": the window has a close box
    bool qfr = false;     // French messages (set by frm_create_form, not reset)
    bool qdebug = false;  // "Debug": trace lines
    bool qline = true;    // the engine's messages on the console (true) or in boxes (not reset)
};

struct Frmc00 {             // form-wide texts
    TextField<128> f_name;  // font file ("FontName")
    TextField<127> wintit;  // window title ("Window Title")
};

struct Frmc01 {                                    // texts of the widgets
    OneBased<TextField<127>, max_inpt> inpt_txt;   // label (DDL: label and entries until built)
    OneBased<TextField<127>, max_inpt> inpt_nam;   // name, unique ignoring case
    OneBased<TextField<127>, max_inpt> inpt_var;   // variable name, stored only
    OneBased<TextField<63>, max_inpt> inpt_ext;    // file-name patterns of IFP/OFP ("*.a;*.b")
    OneBased<TextField<127>, max_inpt> inpt_tit;   // title of the dialog of an IFP/OFP/FLD box
    OneBased<TextField<255>, max_inpt> inpt_cval;  // current value as text
    OneBased<TextField<127>, max_titl> titl_txt;   // text lines
    OneBased<TextField<127>, max_butt> butt_txt;   // button captions
};

struct Frmi01 {                                     // numbers of the input boxes
    OneBased<int, max_inpt> inpt_ival;              // integer value (DDL: entry from 1)
    OneBased<float, max_inpt> inpt_rval;            // real value
    OneBased<float, max_inpt> inpt_min;             // lower bound
    OneBased<float, max_inpt> inpt_max;             // upper bound
    OneBased<int, max_inpt> inpt_typ;               // InputType
    OneBased<int, max_inpt> inpt_siz;               // width in characters (TCK: side in pixels)
    OneBased<int, max_inpt> inpt_arr;               // step arrows (INT and FLT only)
    OneBased<int, max_inpt> inpt_act;               // 1 enabled, 0 disabled
    OneBased<int, max_inpt> inpt_dep;               // dependency code (see dep_inverted)
    OneBased<OneBased<int, 4>, max_inpt> inpt_pos;  // [i][1..4]: box x, y, label x, y / code
    OneBased<int, max_inpt> inpt_ddl;               // list number of a DDL box, -1 none
};

struct Frmi02 {                                     // separators, text lines, buttons
    OneBased<OneBased<int, 4>, max_sepa> sepa_pos;  // [s][1..4]: x0, y0, x1, y1
    OneBased<OneBased<int, 2>, max_titl> titl_pos;  // [t][1..2]: horizontal code, y
    OneBased<OneBased<int, 2>, max_butt> butt_pos;  // [b][1..2]: horizontal code, y
    OneBased<int, max_butt> butt_siz;               // width in pixels
    OneBased<int, max_butt> butt_typ;               // 1 "OK", -1 "CANCEL", else as given
    OneBased<OneBased<int, 4>, max_pict> pict_pos;  // [p][1..4]: x0, y0, x1, y1
    OneBased<int, max_pict> pict_grow;  // 1: takes the room of a window made larger ("Grow=yes")
};

struct Frmi03 {                                                         // drop-down lists
    OneBased<int, max_ddl> ddl_nbli;                                    // entries (not reset)
    OneBased<OneBased<TextField<31>, max_ddl_lines>, max_ddl> ddl_txt;  // [k][e]
};

struct Frmt01 {                                                  // radio groups
    OneBased<int, max_rdio> tick_rdio_count;                     // members of group g
    OneBased<OneBased<int, max_rdio_memb>, max_rdio> tick_rdio;  // [g][m]: box number, -1
};

// Back to the start-up state, window id, language, list sizes and hooks included (tests).
void reset_form_model();

// --- definition file ---------------------------------------------------------------------------

// Reads and checks a definition file into the model and writes "frm_forms.log" in the current
// folder. 0 when read without fault; otherwise the number of faults, or the errno of a failed
// open or read (the larger); 1 when a name is given twice.
int frm_read_form(std::string_view fnam);
// The same for a definition held in memory (`name` stands for the file in messages): the form
// log's lines go to `log`, nothing is written to disk.
int frm_read_form_bytes(std::string_view name, std::string_view bytes, std::string& log);
// Resets the model (not window_id, qfr and ddl_nbli).
void frm_init_form();
// Horizontal position code of a text line or button: [L|C|R] then pixels or percent ("C50%").
// The letter and the "%" are blanked in `text`.
int get_hor_pos(std::string& text);
// The integer after the first "_" of `key` (all of it without one); raises nb_val to it.
int get_key_num(std::string_view key, int& nb_val);

// --- calls -------------------------------------------------------------------------------------

int frm_create_form();  // window id, 0 when no window (or no input boxes)
// Why frm_create_form made no window, in the window system's words; empty when it did not say.
std::string frm_create_failure();
int frm_new_form();  // registers the model again in the existing window
int frm_do_form();   // runs the window; its exit status, 0 without a window
int frm_get_count();
int frm_get_txt_count();
int frm_get_version();
int frm_set_count(int nn);
int frm_get_number(std::string_view name);
int frm_get_name(int n, std::string& nam);
int frm_get_txt_name(int n, std::string& nam);
int frm_get_value(int n, int& iv, float& rv, std::string& cv, int& it);
int frm_get_cur_value(int n, int& iv, float& rv, std::string& cv, int& it);
int frm_set_value(int n, int iv, float rv, std::string_view cv, bool qupd);
// The entry (from 1) of list box n whose text is `text` (a landscape list: the installed
// landscape of that name), 0 when none.
int frm_find_entry(int n, std::string_view text);
// Property classes: sec_inpt (1) and sec_text (5). Properties:
inline constexpr int prop_act = 101, prop_typ = 102, prop_min = 201, prop_max = 202, prop_txt = 301,
                     prop_ext = 302, prop_nam = 303, prop_var = 304;
int frm_set_prop(int ncla, int n, int npro, int iv, float rv, std::string_view cv, bool qrefresh);
int frm_get_prop(int ncla, int n, int npro, int& iv, float& rv, std::string& cv);

// Replaces the entries of list box n (from 1) with `lines` (up to max_ddl_lines, each cut at 31
// characters) and shows entry `entry` (from 1; 0 none). 0 when n is no list box.
int frm_set_list(int n, const std::vector<std::string>& lines, int entry);
// Replaces what picture area p (from 1, in the definition's order) shows. 0 when there is none.
int frm_set_picture(int p, PictureItems items);
// Sets the window's title (a document's name, say).
void frm_set_title(std::string_view title);
// Shows `lines` over the form under `title` (English texts, shown in the pilot's language), each
// line whole and the whole list scrolled, until the pilot closes it (Close, Enter or Escape).
void frm_show_lines(std::string_view title, const std::vector<std::string>& lines);

// True for a DDL box whose list is filled from the simulator's landscapes.
bool is_landscape_list(int n);

// --- value checks and stepping (box numbers from 0, as the view counts) -----------------------

int check_values(int n_c, int kact, int& ival, float& rval, std::string& cval, std::string& msg);
int check_minmax(int n_c, int ival, float rval, std::string_view cval, std::string& msg);
int incrm_val(int n_c, int& ival, float& rval, std::string& cval, int incr);
double get_incr(double val);
bool check_minmax_0(float x, float xmin, float xmax);

// --- saved values ------------------------------------------------------------------------------

int frm_write_form_data(std::string_view fnam);  // 0, or errno of the failed open/write
int frm_read_form_data(std::string_view fnam);   // 0, or errno of the failed open/read
// The same in memory: the text frm_write_form_data writes, and values read from such a text.
std::string frm_form_data_text();
void frm_read_form_data_bytes(std::string_view bytes);

// --- hand-over to the view ---------------------------------------------------------------------

// Registers the whole model with the view. 0 when it stopped at a landscape list for want of
// a simulator installation, else 1.
int load_form();

// --- application hooks -------------------------------------------------------------------------

// What the application hands the engine, so the engine never names the application (the form
// engine is a library). A hook left empty calls nothing, or accepts every value.
struct FormAppHooks {
    // After a user action: ncla sec_inpt = input box n (value: its integer, a DDL entry from 1),
    // sec_butt = button n (value: its type code, which the hook may change).
    std::function<void(int ncla, int n, int& value)> frm_callback;
    // After the engine accepted box n (from 1): the application's own check. It may change the
    // model's values and fill msg (at most 256 characters); 1 accepts, 0 refuses. The message
    // of a refusal is the reason the view shows for the box (FormView.inpt_msg).
    std::function<int(int n, std::string_view label, int& ival, float& rval, TextField<255>& cval,
                      std::string& msg)>
        check_values_app;
    // Files dropped on the window (host paths, UTF-8).
    std::function<void(const std::vector<std::string>& paths)> frm_drop;
    // The entries of list box n (from 1) when the application fills it (a "Landscape" list):
    // false when there are none to be had (the user was told why), which ends the hand-over.
    std::function<bool(int n, std::vector<std::string>& lines)> fill_list;
};
// Replaces the hooks; reset_form_model empties them.
void frm_set_app_hooks(FormAppHooks hooks);

// --- the form context --------------------------------------------------------------------------

// Everything the engine keeps of one form: the model's records, the application's hooks and the
// view's copy with its interaction state. Several can exist; the engine's calls act on the one
// made current. One window serves them all: a context made current while another's window is
// shown takes that window over (frm_new_form).
struct FormContext {
    Frm000 frm000;
    Frm999 frm999;
    Frmc00 frmc00;
    Frmc01 frmc01;
    Frmi01 frmi01;
    Frmi02 frmi02;
    Frmi03 frmi03;
    Frmt01 frmt01;
    FormAppHooks hooks;
    FormViewState FormView;
};
// A new form in its start-up state (on the heap: the records are large).
std::unique_ptr<FormContext> frm_create_context();
// Makes `form` the one the engine's calls act on; null leaves none (a call then aborts).
void frm_set_context(FormContext* form);
FormContext& frm_context();
FormContext* frm_current_context();  // null when none
// Shows form `to` in the window of the current form and makes it current; its window id, 0 when
// the current form has no window. A form shown before comes back as the user left it.
int frm_switch_form(FormContext* to);
