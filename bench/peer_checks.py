#!/usr/bin/env python3
"""Checks the files that bench/peers.sh has each program write, against the generator's expectations.

Usage:
  peer_checks.py csv FILE EXPECTED.csv [--ours] [--ranked]
      Comma-separated text: every student's row with its total and average, in the table's order (or,
      with --ranked, sorted by total from the highest down, each row whole). --ours: our export (GBK,
      the title on the first line, every row led by a comma and the row number, an empty last line).
  peer_checks.py pdf FILE STUDENTS
      Printed table: every page carries the field titles, every student number is printed exactly once.
      Prints the page count.
  peer_checks.py xlsx FILE EXPECTED.csv
      Workbook: the field titles, and for every student the name, number and marks as values and the
      total and average as formulas whose computed results are right.
Exits with status 1 and a reason on the first fault.
"""
import csv
import io
import re
import subprocess
import sys
import zipfile
import xml.etree.ElementTree as ET


def fail(why):
    sys.exit("check failed: " + why)


def expected_rows(path):
    with open(path, encoding="utf-8", newline="") as f:
        rows = list(csv.reader(f))
    return rows[0], rows[1:]


def same_number(a, b):
    try:
        return abs(float(a) - float(b)) < 1e-9
    except ValueError:
        return False


def same_row(got, want):
    if len(got) != len(want):
        return False
    return all(g == w or same_number(g, w) for g, w in zip(got, want))


def check_csv(path, expected, ours, ranked):
    titles, want = expected_rows(expected)
    data = open(path, "rb").read()
    text = data.decode("gb18030" if ours else "utf-8")
    lines = list(csv.reader(io.StringIO(text, newline="")))
    if ours:
        if not text.endswith("\r\n\r\n"):
            fail("%s does not end in an empty line" % path)
        lines = [line for line in lines[1:] if line]  # the title first, the empty line last
        header, body = lines[0], lines[1:]
        if header[:2] != ["", "  "]:
            fail("%s: the title row does not start with a comma and the corner" % path)
        header = header[2:]
        for i, row in enumerate(body, start=1):
            if row[:2] != ["", str(i)]:
                fail("%s: row %d is not numbered %d" % (path, i, i))
        body = [row[2:] for row in body]
    else:
        header, body = lines[0], lines[1:]
    if header != titles:
        fail("%s: field titles %s" % (path, header))
    if len(body) != len(want):
        fail("%s: %d rows instead of %d" % (path, len(body), len(want)))
    if ranked:
        totals = [float(row[12]) for row in body]
        if any(a < b for a, b in zip(totals, totals[1:])):
            fail("%s: the totals do not fall from the top" % path)
        key = lambda row: row[1]  # the student number
        body, want = sorted(body, key=key), sorted(want, key=key)
    for got, row in zip(body, want):
        if not same_row(got, row):
            fail("%s: %s instead of %s" % (path, got, row))


def check_pdf(path, students):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True, check=True).stdout
    pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    text = subprocess.run(["pdftotext", "-enc", "UTF-8", path, "-"], capture_output=True, text=True,
                          check=True).stdout
    sheets = text.split("\f")
    if sheets and not sheets[-1].strip():
        sheets.pop()
    if len(sheets) != pages:
        fail("%s: %d pages of text, %d pages" % (path, len(sheets), pages))
    for n, sheet in enumerate(sheets, start=1):
        if "姓名" not in sheet or "总分" not in sheet:
            fail("%s: page %d without the field titles" % (path, n))
    numbers = re.findall(r"2024\d{6}", text)
    if len(numbers) != students or len(set(numbers)) != students:
        fail("%s: %d student numbers printed (%d different) instead of %d" %
             (path, len(numbers), len(set(numbers)), students))
    print(pages)


def column_index(ref):
    letters = re.match(r"[A-Z]+", ref).group(0)
    n = 0
    for ch in letters:
        n = n * 26 + ord(ch) - 64
    return n - 1, int(ref[len(letters):]) - 1


def check_xlsx(path, expected):
    titles, want = expected_rows(expected)
    ns = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}"
    with zipfile.ZipFile(path) as z:
        shared = []
        if "xl/sharedStrings.xml" in z.namelist():
            for si in ET.fromstring(z.read("xl/sharedStrings.xml")).iter(ns + "si"):
                shared.append("".join(t.text or "" for t in si.iter(ns + "t")))
        sheet = z.read("xl/worksheets/sheet1.xml")
    cells = {}  # (row, column) -> (value, formula)
    for c in ET.fromstring(sheet).iter(ns + "c"):
        col, row = column_index(c.get("r"))
        kind = c.get("t")
        v = c.find(ns + "v")
        f = c.find(ns + "f")
        if kind == "s":
            value = shared[int(v.text)]
        elif kind == "inlineStr":
            value = "".join(t.text or "" for t in c.iter(ns + "t"))
        else:
            value = v.text if v is not None and v.text is not None else ""
        cells[(row, col)] = (value, f is not None)
    place = [key for key, (value, _) in cells.items() if value == titles[0]]
    if not place:
        fail("%s: no field titles" % path)
    top, left = min(place)
    if [cells.get((top, left + i), ("", False))[0] for i in range(len(titles))] != titles:
        fail("%s: field titles" % path)
    for i, row in enumerate(want, start=1):
        got = [cells.get((top + i, left + k), ("", False)) for k in range(len(titles))]
        if not same_row([value for value, _ in got], row):
            fail("%s: row %d is %s instead of %s" % (path, i, [value for value, _ in got], row))
        if not got[12][1] or not got[13][1]:
            fail("%s: row %d: total and average are no formulas" % (path, i))
    if (top + len(want) + 1, left) in cells:
        fail("%s: rows beyond the students" % path)


def main():
    args = sys.argv[1:]
    if len(args) >= 3 and args[0] == "csv":
        check_csv(args[1], args[2], "--ours" in args[3:], "--ranked" in args[3:])
    elif len(args) == 3 and args[0] == "pdf":
        check_pdf(args[1], int(args[2]))
    elif len(args) == 3 and args[0] == "xlsx":
        check_xlsx(args[1], args[2])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
