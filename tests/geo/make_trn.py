#!/usr/bin/env python3
"""Writes a 36-byte landscape terrain header (little-endian).

usage: make_trn.py OUT COLUMNS ROWS SPACING_EW SPACING_NS ORIG_E ORIG_N ZONE HEMISPHERE [ORIEN]

ORIG_E is the UTM easting of the landscape's east edge, ORIG_N the northing of its south edge.
The demo landscape was written with:
  make_trn.py data/demo/Volaro2/Landscapes/Demo/Demo.trn 400 300 100 100 540000 5135000 32 N
"""
import struct
import sys


def main(argv):
    if len(argv) not in (10, 11):
        sys.exit(__doc__)
    out, cols, rows, rew, rns, orig_e, orig_n, zone, hemi = argv[1:10]
    orien = float(argv[10]) if len(argv) == 11 else 0.0
    if hemi not in ("N", "S"):
        sys.exit("hemisphere must be N or S")
    header = struct.pack("<iifffffb3xc3x", int(cols), int(rows), orien, float(rew), float(rns),
                         float(orig_e), float(orig_n), int(zone), hemi.encode("ascii"))
    assert len(header) == 36
    with open(out, "wb") as f:
        f.write(header)


if __name__ == "__main__":
    main(sys.argv)
