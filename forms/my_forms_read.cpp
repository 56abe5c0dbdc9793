// Reading a form definition file into the model, its checks and the form log.
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "forms/my_forms_internal.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/log_files.hpp"
#include "host/messages.hpp"
#include "util/line_reader.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

using namespace frm_detail;

namespace {

constexpr std::size_t max_line = 256;
constexpr std::size_t max_key_val = 128;
constexpr const char* form_log_name = "frm_forms.log";

constexpr std::array<std::string_view, nb_sections + 1> section_header = {
    "",       "[Input-boxes]", "[Radio-buttons]", "[General]", "[Separators]",
    "[Text]", "[Buttons]",     "[Pictures]"};
// Rows of each section's table; 0 for the section without items.
constexpr std::array<int, nb_sections + 1> section_rows = {0,        max_inpt, max_rdio, 0,
                                                           max_sepa, max_titl, max_butt, max_pict};

constexpr std::array<std::string_view, nb_types + 1> type_name = {
    "", "INT", "FLT", "CHR", "TCK", "KEY", "COL", "IFP", "OFP", "FLD", "DDL"};
constexpr std::string_view type_letters = "IRCTKF";

// "frm_forms.log": the box (or item) number in 4 columns, " : ", the text, each number in 9.
// Lines are collected in `text`, which frm_read_form writes to the file once reading is done.
class FormLog {
  public:
    FormLog(std::string& text, std::string_view first_line) : text_(text) {
        text_.clear();
        line(first_line);
    }

    void line(std::string_view text) {
        text_ += text;
        text_ += '\n';
    }
    void item(int n, std::string_view text, std::initializer_list<long long> numbers = {}) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%4d : ", n);
        std::string l = buf;
        l += text;
        for (long long v : numbers) {
            std::snprintf(buf, sizeof buf, " %8lld", v);  // a wider number keeps a separator
            l += buf;
        }
        line(l);
    }

  private:
    std::string& text_;
};

bool read_int(std::string_view text, int& field) {
    std::int32_t v;
    if (!read_free_int(text, v)) return false;
    field = v;
    return true;
}

bool read_real(std::string_view text, float& field) {
    float v;
    if (!read_free_number(text, v)) return false;
    field = v;
    return true;
}

// Two integers "x,y", each read on its own; an unreadable one leaves its field.
void read_int_pair(std::string_view value, int& a, int& b) {
    std::string rest(value), first;
    extract_comma(first, rest);
    read_int(first, a);
    read_int(rest, b);
}

// Four integers "x0,y0,x1,y1" (a separator's or picture's corners), each read on its own.
void read_corners(std::string_view value, OneBased<int, 4>& corners) {
    std::string rest(value), v;
    for (int k = 1; k <= 4; ++k) {
        extract_comma(v, rest);
        read_int(v, corners[k]);
    }
}

// One pass over the lines of a definition file.
class DefinitionReader {
  public:
    explicit DefinitionReader(FormLog& log) : log_(log) {}

    void line(std::string_view raw);

    bool stopped() const { return stopped_; }  // a name was given twice
    int count(int section) const { return std::min(counter_[section], section_rows[section]); }
    int errors() const { return errors_; }
    const TextField<127>& dep_name(int i) const { return dep_names_[i]; }

  private:
    void open_item();
    void process(std::string_view list);
    void key_value(std::string_view key, std::string_view val);
    void general_key(std::string_view key, std::string_view val);
    void input_key(int i, std::string_view key, std::string_view val);
    void radio_set(int g, std::string_view val);
    void button_type(int b, std::string_view val);
    bool unique(const OneBased<TextField<127>, max_inpt>& names, int i, std::string_view val);

    FormLog& log_;
    int section_ = sec_none;
    std::array<int, nb_sections + 1> counter_{};
    int item_ = 0;               // current item, 0 none
    bool item_dropped_ = false;  // the current item is past its table
    int errors_ = 0;
    bool stopped_ = false;
    OneBased<TextField<127>, max_inpt> dep_names_;  // "Dep" values, resolved after reading
};

void DefinitionReader::line(std::string_view raw) {
    if (raw.empty() || raw[0] == '#') return;
    std::string_view tr = trim_right(raw);
    if (raw[0] == '[' && !tr.empty() && tr.back() == ']') {
        section_ = sec_none;
        for (int s = 1; s <= nb_sections; ++s)
            if (tr == section_header[s]) section_ = s;
        item_ = 0;
        return;
    }
    if (section_ == sec_none) return;

    std::string_view text = trim_left(raw);
    if (!text.empty() && text[0] == '}') {
        item_ = 0;
        return;
    }
    if (!text.empty() && text[0] == '{') {
        open_item();
        text.remove_prefix(1);
    }
    std::string_view body = trim_right(text);
    bool closes = !body.empty() && body.back() == '}';
    if (closes) body.remove_suffix(1);
    process(body);
    if (closes) item_ = 0;
}

void DefinitionReader::open_item() {
    item_ = ++counter_[section_];
    int rows = section_rows[section_];
    item_dropped_ = rows > 0 && item_ > rows;
    if (section_ == sec_pict && !item_dropped_) ctx().frmi02.pict_grow[item_] = 0;
    if (item_dropped_) {
        ++errors_;
        log_.item(item_, "too many items in " + std::string(section_header[section_]) + ", limit",
                  {rows});
    }
}

void DefinitionReader::process(std::string_view list) {
    while (!stopped_) {
        std::string_view part = next_list_item(list, ';');
        if (is_blank(part)) return;
        auto [key, val] = split_key_val(part);
        val = unquoted(val.substr(0, max_key_val));
        if (is_blank(val)) continue;
        key_value(trim_right(key.substr(0, max_key_val)), trim_right(val));
    }
}

void DefinitionReader::key_value(std::string_view key, std::string_view val) {
    if (section_ == sec_general) {
        general_key(key, val);
        return;
    }
    if (item_ < 1 || item_dropped_) return;
    auto is = [&](std::string_view word) { return key.starts_with(word); };
    int n = item_;
    switch (section_) {
        case sec_inpt:
            input_key(n, key, val);
            break;
        case sec_rdio:
            if (is("Set")) radio_set(n, val);
            break;
        case sec_sepa:
            if (is("Separ")) read_corners(val, ctx().frmi02.sepa_pos[n]);
            break;
        case sec_pict:
            if (is("Picture")) read_corners(val, ctx().frmi02.pict_pos[n]);
            if (is("Grow")) ctx().frmi02.pict_grow[n] = is_true(val) ? 1 : 0;
            break;
        case sec_text:
            if (is("Title")) {
                ctx().frmc01.titl_txt[n] = val;
            } else if (is("Pos")) {
                std::string rest(val), h;
                extract_comma(h, rest);
                ctx().frmi02.titl_pos[n][1] = get_hor_pos(h);
                read_int(rest, ctx().frmi02.titl_pos[n][2]);
            }
            break;
        case sec_butt:
            if (is("Pos")) {
                std::string rest(val), h;
                extract_comma(h, rest);
                ctx().frmi02.butt_pos[n][1] = get_hor_pos(h);
                read_int(rest, ctx().frmi02.butt_pos[n][2]);
            } else if (is("Size")) {
                read_int(val, ctx().frmi02.butt_siz[n]);
            } else if (is("Txt")) {
                ctx().frmc01.butt_txt[n] = val;
            } else if (is("Type")) {
                button_type(n, val);
            }
            break;
        default:
            break;
    }
}

void DefinitionReader::general_key(std::string_view key, std::string_view val) {
    if (key == "Window Title") {
        ctx().frmc00.wintit = val;
    } else if (key == "FontName") {
        ctx().frmc00.f_name = val;
    } else if (key == "FontSize") {
        read_int(val, ctx().frm000.f_size);
    } else if (key == "Version") {
        int v = -1;
        if (read_int(val, v) && v >= 0 && v <= 9999) ctx().frm000.nvers = v;
    } else if (key == "Active") {
        ctx().frm999.iact = log2int(is_true(val));
    } else if (key == "Debug") {
        ctx().frm999.qdebug = is_true(val);
    } else if (key == "TickSize") {
        int v;
        if (read_int(val, v)) ctx().frm000.tick_size = float(v);
    }
}

// False (and reading stops) when `val` equals, ignoring case, a name of boxes 1..i.
bool DefinitionReader::unique(const OneBased<TextField<127>, max_inpt>& names, int i,
                              std::string_view val) {
    TextField<127> candidate(val);
    for (int j = 1; j <= i; ++j) {
        if (!names[j].blank() && case_blind_compare(names[j].view(), candidate.view())) {
            log_.line("NAME: " + candidate.str() + " multiple definition");
            stopped_ = true;
            return false;
        }
    }
    return true;
}

void DefinitionReader::input_key(int i, std::string_view key, std::string_view val) {
    auto is = [&](std::string_view word) { return key.starts_with(word); };
    if (is("Txt")) {
        bool disabled = val[0] == '-';
        ctx().frmc01.inpt_txt[i] = disabled ? val.substr(1) : val;
        ctx().frmi01.inpt_act[i] = disabled ? 0 : 1;
    } else if (is("Name")) {
        if (unique(ctx().frmc01.inpt_nam, i, val)) ctx().frmc01.inpt_nam[i] = val;
    } else if (is("Var")) {
        if (unique(ctx().frmc01.inpt_var, i, val)) ctx().frmc01.inpt_var[i] = val;
    } else if (is("Pos")) {
        read_int_pair(val, ctx().frmi01.inpt_pos[i][1], ctx().frmi01.inpt_pos[i][2]);
    } else if (is("TxPos")) {
        if (val.find(',') != std::string_view::npos) {
            read_int_pair(val, ctx().frmi01.inpt_pos[i][3], ctx().frmi01.inpt_pos[i][4]);
            return;
        }
        static constexpr std::array<std::string_view, 5> codes = {"R", "L", "LA", "TC", "TL"};
        for (int c = 0; c < int(codes.size()); ++c) {
            if (val == codes[c])
                ctx().frmi01.inpt_pos[i][3] = ctx().frmi01.inpt_pos[i][4] = -(c + 1);
        }
    } else if (is("Dep")) {
        dep_names_[i] = val;
    } else if (is("Size")) {
        read_int(val, ctx().frmi01.inpt_siz[i]);
    } else if (is("Type")) {
        int t = 0;
        if (std::size_t p = type_letters.find(val); p != std::string_view::npos) {
            t = int(p) + 1;
        } else {
            for (int c = 1; c <= nb_types; ++c)
                if (val == type_name[c]) t = c;
        }
        ctx().frmi01.inpt_typ[i] = t;
    } else if (is("Min")) {
        read_real(val, ctx().frmi01.inpt_min[i]);
    } else if (is("Max")) {
        read_real(val, ctx().frmi01.inpt_max[i]);
    } else if (is("Arr")) {
        read_int(val, ctx().frmi01.inpt_arr[i]);
    } else if (is("Ext")) {
        if (ctx().frmi01.inpt_typ[i] == typ_ifp || ctx().frmi01.inpt_typ[i] == typ_ofp)
            ctx().frmc01.inpt_ext[i] = val;
    } else if (is("Title")) {
        ctx().frmc01.inpt_tit[i] = val;  // a file box's dialog says what is chosen
    }
}

void DefinitionReader::radio_set(int g, std::string_view val) {
    std::string rest(val), name;
    int nboxes = count(sec_inpt);
    int m = 0;
    for (;;) {
        extract_comma(name, rest);
        if (is_blank(name)) break;
        if (++m > max_rdio_memb) {
            ++errors_;
            log_.item(g, "too many members in [Radio-buttons], limit", {max_rdio_memb});
            continue;
        }
        TextField<16> cut(name);
        int box = -1;
        for (int j = 1; j <= nboxes && box < 0; ++j)
            if (ctx().frmc01.inpt_nam[j] == cut.view()) box = j;
        ctx().frmt01.tick_rdio[g][m] = box;
    }
    ctx().frmt01.tick_rdio_count[g] = std::min(m, max_rdio_memb);
}

void DefinitionReader::button_type(int b, std::string_view val) {
    int t = 0;
    if (val == "OK")
        t = 1;
    else if (val == "CANCEL")
        t = -1;
    else
        read_int(val, t);
    ctx().frmi02.butt_typ[b] = t;
}

// Dependency code of box i from its "Dep" text.
int resolve_dependency(int i, std::string_view dep) {
    if (is_blank(dep)) return -1;
    bool negative = dep[0] == '-';
    if (negative) dep = trim_left(dep.substr(1));
    TextField<127> name(dep);
    for (int n = 1; n <= ctx().frm000.nb_inpt; ++n) {
        if (ctx().frmc01.inpt_nam[n] == name)
            return n == i ? -1 : (n - 1 + (negative ? dep_inverted : 0));
    }
    return -1;
}

// Splits a DDL box's "Txt" into its label and the entries of list k (k = 0: no room for a
// list). A landscape list gets its entries from the installation when the form is loaded.
void build_list(int i, int k) {
    std::string txt = ctx().frmc01.inpt_txt[i].str();
    std::string rest = txt, label;
    extract_comma(label, rest);
    remove_quotes(label);
    ctx().frmc01.inpt_txt[i] = label;
    if (k < 1) return;
    ctx().frmi01.inpt_ddl[i] = k;
    if (trim(label) == "Landscape") return;
    if (txt.find(',') == std::string::npos) rest = txt;
    int e = 0;
    for (std::string entry;;) {
        extract_comma(entry, rest);
        if (is_blank(entry)) break;
        if (++e > max_ddl_lines) break;  // further entries are dropped
        remove_quotes(entry);
        ctx().frmi03.ddl_txt[k][e] = entry;
    }
    ctx().frmi03.ddl_nbli[k] = std::min(e, max_ddl_lines);
}

// Type adjustments, list building and the checks of every box; returns the fault count.
int check_boxes(FormLog& log, const DefinitionReader& reader) {
    int errors = 0;
    int lists = 0;
    auto fault = [&](int i, std::string_view text, std::initializer_list<long long> numbers = {}) {
        ++errors;
        log.item(i, text, numbers);
    };
    for (int i = 1; i <= ctx().frm000.nb_inpt; ++i) {
        ctx().frmi01.inpt_dep[i] = resolve_dependency(i, reader.dep_name(i).view());

        int typ = ctx().frmi01.inpt_typ[i];
        if (typ == typ_int) {
            ctx().frmi01.inpt_min[i] = -1.0e9f;
            ctx().frmi01.inpt_max[i] = 1.0e9f;
        }
        if (typ >= typ_chr && typ <= typ_ddl) ctx().frmi01.inpt_arr[i] = 0;
        if (typ == typ_tck)
            ctx().frmi01.inpt_siz[i] = round_to_int(std::trunc(ctx().frm000.tick_size));
        if (typ == typ_col) ctx().frmi01.inpt_siz[i] = std::max(ctx().frmi01.inpt_siz[i], 7);
        if (typ == typ_ddl) {
            int k = ++lists;
            if (k > max_ddl) {
                fault(i, "too many drop-down lists in [Input-boxes], limit", {max_ddl});
                k = 0;
            }
            build_list(i, k);
        }

        if (typ == typ_undef) fault(i, "type undefined");
        if (ctx().frmc01.inpt_nam[i].blank()) fault(i, "name undefined");
        if (ctx().frmi01.inpt_max[i] < ctx().frmi01.inpt_min[i])
            fault(i, "inpt_min, inpt_max inverted");
        int dep = ctx().frmi01.inpt_dep[i];
        int box = dep >= dep_inverted ? dep - dep_inverted : dep;
        if (dep != -1 && !(box >= 0 && box <= ctx().frm000.nb_inpt - 1))
            fault(i, "invalid dependency", {dep});
        int x = ctx().frmi01.inpt_pos[i][1], y = ctx().frmi01.inpt_pos[i][2];
        if (x > 10000 || x < -10000 || y < 0 || y > 10000) fault(i, "invalid position", {x, y});
        int siz = ctx().frmi01.inpt_siz[i];
        if (typ != typ_tck && (siz < 2 || siz > 500)) fault(i, "invalid size", {siz});
    }
    return errors;
}

// Reads the definition's lines from `in` into the model; `path` names it in messages.
int read_definition(LineReader& in, const std::string& path, FormLog& log) {
    DefinitionReader reader(log);
    for (std::string line; !reader.stopped() && in.next(line);) {
        if (line.size() > max_line) line.resize(max_line);
        reader.line(line);
    }
    const int read_status = in.failed() ? io_status() : 0;
    in.close();
    if (reader.stopped()) return 1;

    ctx().frm000.nb_inpt = reader.count(sec_inpt);
    ctx().frm000.nb_rdio = reader.count(sec_rdio);
    ctx().frm000.nb_sepa = reader.count(sec_sepa);
    ctx().frm000.nb_titl = reader.count(sec_text);
    ctx().frm000.nb_butt = reader.count(sec_butt);
    ctx().frm000.nb_pict = std::min(reader.count(sec_pict), max_pict);

    int errors = reader.errors() + check_boxes(log, reader);
    diag("frm_read_form:", path_text(path), "boxes", ctx().frm000.nb_inpt, "errors", errors,
         "status", read_status);
    if (errors != 0) {
        // The path stays whole: a path is not bound by the message's text field.
        std::string msg = message_literal(path_text(path)) + "/" + i2b(errors) +
                          " errors detected/see frm_forms.log";
        error_message(s_error, msg, ctx().frm999.qline);
    }
    return std::max(errors, read_status);
}

}  // namespace

int frm_read_form(std::string_view fnam) {
    frm_init_form();
    std::string path(trim(fnam));
    std::string text;
    FormLog log(text, path_text(path));

    LineReader in(LineReader::Encoding::bytes);
    int status;
    if (in.open(open_file(path, "rb"))) {
        status = read_definition(in, path, log);
    } else {
        status = io_status();
        log.line("ERROR OPENING");
        diag("frm_read_form: cannot open", path_text(path), status);
    }
    if (std::FILE* f = open_log_file(form_log_name, "w")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    return status;
}

int frm_read_form_bytes(std::string_view name, std::string_view bytes, std::string& log_text) {
    frm_init_form();
    std::string path(trim(name));
    FormLog log(log_text, path);
    LineReader in(LineReader::Encoding::bytes);
    in.open_bytes(bytes);
    return read_definition(in, path, log);
}

int get_hor_pos(std::string& text) {
    if (text.size() > 16) text.resize(16);
    int a = 0;
    if (!text.empty() && (text[0] == 'L' || text[0] == 'C' || text[0] == 'R')) {
        a = text[0] == 'L' ? 0 : text[0] == 'C' ? 1 : 2;
        text[0] = ' ';
    }
    std::size_t last = text.find_last_not_of(' ');
    double code;
    if (last != std::string::npos && text[last] == '%') {
        text[last] = ' ';
        float x;
        if (!read_free_number(text, x)) return 0;
        code = -(a * 10000.0 + std::round(double(x) * 10));
    } else {
        std::int32_t p;
        if (!read_free_int(text, p)) return 0;
        code = a * 10000.0 + p;
    }
    if (std::fabs(code) > std::numeric_limits<std::int32_t>::max()) return 0;
    return int(code);
}

int get_key_num(std::string_view key, int& nb_val) {
    std::size_t u = key.find('_');
    std::int32_t v;
    if (!read_free_int(u == std::string_view::npos ? key : key.substr(u + 1), v)) return 0;
    nb_val = std::max(nb_val, int(v));
    return v;
}
