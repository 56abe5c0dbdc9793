// Saved form values: one "name=value" line per input box.
#include <algorithm>
#include <cstdio>
#include <string>

#include "forms/my_forms_internal.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "util/line_reader.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

using namespace frm_detail;

namespace {

constexpr std::size_t max_line = 128;
constexpr std::size_t max_key_text = 64;

std::string saved_text(int i) {
    switch (ctx().frmi01.inpt_typ[i]) {
        case typ_int:
        case typ_tck:
            return i2b(ctx().frmi01.inpt_ival[i]);
        case typ_flt:
            return real_text(ctx().frmi01.inpt_rval[i]);
        case typ_ddl:
            if (is_landscape_list(i)) break;  // its name: entry numbers follow the folder
            return i2b(ctx().frmi01.inpt_ival[i]);
        case typ_key: {
            std::string k = k2b(ctx().frmi01.inpt_ival[i]);
            if (k.size() > max_key_text) k.resize(max_key_text);
            return k;
        }
        default:
            break;
    }
    return ctx().frmc01.inpt_cval[i].str();
}

// A value without the blanks and CRs at its end, which a line end would take away when the
// value is written and read again.
std::string_view value_text(std::string_view v) {
    while (!v.empty() && (v.back() == ' ' || v.back() == '\r')) v.remove_suffix(1);
    return v;
}

// Puts one saved value into box i.
void restore(int i, std::string_view value) {
    const auto old_text = ctx().frmc01.inpt_cval[i];
    ctx().frmc01.inpt_cval[i] = value;
    std::int32_t iv;
    switch (ctx().frmi01.inpt_typ[i]) {
        case typ_flt:
            read_free_number(value, ctx().frmi01.inpt_rval[i]);
            break;
        case typ_col: {
            int rgb;
            if (value.size() > 1 && read_hex6(value.substr(1), rgb))
                ctx().frmi01.inpt_ival[i] = rgb;
            break;
        }
        case typ_key:
            // Written by k2b, so read back by its inverse; the view shows the key by its code.
            // An unreadable key leaves the box as it was.
            if (!b2k(value, ctx().frmi01.inpt_ival[i])) {
                ctx().frmc01.inpt_cval[i] = old_text;
                break;
            }
            ctx().frmc01.inpt_cval[i].clear();
            break;
        case typ_ddl: {
            if (is_landscape_list(i)) break;  // keeps the landscape's name
            int k = ctx().frmi01.inpt_ddl[i];
            if (k < 1 || k > max_ddl || !read_free_int(value, iv) || iv < 1 ||
                iv > std::min(ctx().frmi03.ddl_nbli[k], max_ddl_lines))
                break;  // no such entry: the number is not taken
            ctx().frmi01.inpt_ival[i] = iv;
            ctx().frmc01.inpt_cval[i] = ctx().frmi03.ddl_txt[k][iv].view();
            break;
        }
        case typ_chr:
            break;
        default:  // INT, TCK, IFP, OFP, FLD
            if (read_free_int(value, iv)) ctx().frmi01.inpt_ival[i] = iv;
            break;
    }
}

// The values from the lines of `in`, each under the box of its name.
void read_form_data(LineReader& in) {
    for (std::string line; in.next(line);) {
        if (line.size() > max_line) line.resize(max_line);
        if (is_blank(line) || line[0] == '#') continue;
        auto [name, val] = split_key_val(line);
        for (int i = 1; i <= std::min(ctx().frm000.nb_inpt, max_inpt); ++i) {
            if (ctx().frmc01.inpt_nam[i] == name) {
                restore(i, value_text(val));
                break;
            }
        }
    }
}

}  // namespace

std::string frm_form_data_text() {
    std::string text;
    for (int i = 1; i <= std::min(ctx().frm000.nb_inpt, max_inpt); ++i)
        text += ctx().frmc01.inpt_nam[i].str() + "=" + saved_text(i) + "\n";
    return text;
}

int frm_write_form_data(std::string_view fnam) {
    std::string path(trim(fnam));
    std::FILE* f = open_file(path, "w");
    if (!f) return io_status();
    const std::string text = frm_form_data_text();
    std::fwrite(text.data(), 1, text.size(), f);
    int status = std::ferror(f) ? io_status() : 0;
    if (std::fclose(f) != 0 && status == 0) status = io_status();
    diag("frm_write_form_data:", path_text(path), "status", status);
    return status;
}

int frm_read_form_data(std::string_view fnam) {
    std::string path(trim(fnam));
    LineReader in(LineReader::Encoding::bytes);
    if (!in.open(open_file(path, "rb"))) return io_status();
    read_form_data(in);
    const int status = in.failed() ? io_status() : 0;
    diag("frm_read_form_data:", path_text(path), "status", status);
    return status;
}

void frm_read_form_data_bytes(std::string_view bytes) {
    LineReader in(LineReader::Encoding::bytes);
    in.open_bytes(bytes);
    read_form_data(in);
}
