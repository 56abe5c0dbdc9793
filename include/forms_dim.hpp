// Table limits and codes of the form engine, shared by the model (forms/) and the view (gui/).
#pragma once

inline constexpr int max_inpt = 100;       // input boxes
inline constexpr int max_rdio = 10;        // radio groups
inline constexpr int max_rdio_memb = 10;   // members of one radio group
inline constexpr int max_sepa = 20;        // separators
inline constexpr int max_titl = 20;        // text lines
inline constexpr int max_butt = 10;        // buttons
inline constexpr int max_ddl = 30;         // drop-down lists
inline constexpr int max_ddl_lines = 50;   // entries of one drop-down list
inline constexpr int max_lnd_lines = 333;  // entries of the landscape list (view side)
inline constexpr int max_pict = 4;         // picture areas
inline constexpr int nb_sections = 7;      // sections of a definition file
inline constexpr int nb_types = 10;        // input types

// Dependency codes of inputs: -1 none; a tick box's index (from 0): the input is enabled while
// the box is ticked; the index + dep_inverted: enabled while it is clear.
inline constexpr int dep_inverted = 1000;

// Input type codes.
enum InputType : int {
    typ_undef = 0,
    typ_int = 1,
    typ_flt = 2,
    typ_chr = 3,
    typ_tck = 4,
    typ_key = 5,
    typ_col = 6,
    typ_ifp = 7,
    typ_ofp = 8,
    typ_fld = 9,
    typ_ddl = 10,
};

// Button type codes: below 0 ends the form at once (Close, Cancel); OK validates and ends it;
// above butt_validates the inputs are validated first, above butt_ends_form the form then ends.
inline constexpr int butt_cancel = -1;
inline constexpr int butt_ok = 1;
inline constexpr int butt_validates = 100;
inline constexpr int butt_ends_form = 1000;
// ExitStat when the user closed the window with its close box.
inline constexpr int exit_closed = -999;

// Sections of a definition file; the number is also the property class of frm_set_prop and the
// class of the application callback (sec_inpt for an input box, sec_butt for a button).
enum FormSection : int {
    sec_none = 0,
    sec_inpt = 1,
    sec_rdio = 2,
    sec_general = 3,
    sec_sepa = 4,
    sec_text = 5,
    sec_butt = 6,
    sec_pict = 7,
};
