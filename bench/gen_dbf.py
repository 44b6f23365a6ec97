#!/usr/bin/env python3
"""Generate a FoxPro-style student list (.dbf) for the converter's benchmark.

Usage:  gen_dbf.py N [--outdir DIR] [--seed S]

Writes DIR/grades_N.dbf (default DIR: ./data): a dBASE III / FoxPro table without memo
(version byte 0x03) of N records with the fields XH (student number, C 10), XM (name, C 8,
GBK) and the ten subjects' marks as N(3,0) fields, drawn from the same deterministic
students as gen_table.py (same seed, same names, numbers and marks).
"""
import argparse
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_table import make_rows  # noqa: E402

FIELDS = [("XH", "C", 10), ("XM", "C", 8)] + [
    (name, "N", 3) for name in ("YW", "SX", "YY", "WL", "HX", "SW", "ZZ", "LS", "DL", "TY")]


def write_dbf(path, rows):
    record_length = 1 + sum(length for _, _, length in FIELDS)
    header_length = 32 + 32 * len(FIELDS) + 1
    out = bytearray()
    out += struct.pack("<BBBBIHH20x", 0x03, 124, 9, 1, len(rows), header_length, record_length)
    for name, kind, length in FIELDS:
        out += struct.pack("<11sc4xBB14x", name.encode("ascii"), kind.encode("ascii"), length, 0)
    out += b"\x0D"
    for name, number, marks in rows:
        values = [number.encode("ascii").ljust(10), name.encode("gbk").ljust(8)]
        values += [str(m).encode("ascii").rjust(3) for m in marks]
        out += b" " + b"".join(values)
    out += b"\x1A"
    with open(path, "wb") as f:
        f.write(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("n", type=int)
    parser.add_argument("--outdir", default="data")
    parser.add_argument("--seed", type=int, default=20240901)
    args = parser.parse_args()
    os.makedirs(args.outdir, exist_ok=True)
    path = os.path.join(args.outdir, "grades_%d.dbf" % args.n)
    write_dbf(path, make_rows(args.n, args.seed))
    print(path)


if __name__ == "__main__":
    main()
