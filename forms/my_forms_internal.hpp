// Helpers shared by the form engine's own files; not part of its interface.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "forms/my_forms.hpp"

namespace frm_detail {

// The current form.
inline FormContext& ctx() { return frm_context(); }

// Nearest integer, halves away from zero, clamped to the 32-bit range (NaN gives 0).
std::int32_t round_to_int(double x);

// Real text of the checks, the stepping and the saved values: scientific with 9 decimals when
// |x| > 1.0e6 or |x| < 0.001 (zero included), else fixed with 6 decimals; trailing zeros of the
// mantissa dropped.
std::string real_text(float x);
// Real text of frm_set_value: scientific with 6 decimals when |x| > 1.0e6 or
// 1.0e-10 < |x| < 0.001, else fixed with 6 decimals.
std::string set_value_text(float x);
// "d.ddd...E+xx" with `decimals` decimals, trailing zeros of the mantissa (and a bare point)
// dropped; zero gives "0".
std::string scientific_text(double x, int decimals);
// "#RRGGBB" of a colour value.
std::string colour_text(int rgb);
// Up to six hexadecimal digits (blanks ignored); false when none or another character.
bool read_hex6(std::string_view text, int& value);

bool is_blank(std::string_view s);

// The application's hooks as frm_set_app_hooks left them.
const FormAppHooks& app_hooks();

// errno after a failed call, never 0.
int io_status();

}  // namespace frm_detail
