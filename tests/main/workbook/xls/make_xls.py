#!/usr/bin/env python3
"""Writes the small .xls workbooks of the workbook reader's tests (see README.md beside this file).

A BIFF8 workbook stream inside a compound file of 512-byte sectors, written from scratch: the records
the reader meets in workbooks of older office suites and school systems, nothing more. Run it again
after changing it; the files are rewritten.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

ENDOFCHAIN, FREESECT, FATSECT, NOSTREAM = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD, 0xFFFFFFFF


def record(kind, data=b""):
    return struct.pack("<HH", kind, len(data)) + data


def wide(text):
    """An XLUnicodeString: length, the flag of 16-bit characters, UTF-16LE."""
    return struct.pack("<HB", len(text.encode("utf-16-le")) // 2, 1) + text.encode("utf-16-le")


def bof(kind):
    return record(0x0809, struct.pack("<HHHHII", 0x0600, kind, 0x0DBB, 0x07CC, 0x41, 6))


def xf(fmt):
    return record(0x00E0, struct.pack("<HHHBBBBIIH", 0, fmt, 0x0001, 0x20, 0, 0, 0, 0, 0, 0x20C0))


def cell(kind, row, col, xf_index, data):
    return record(kind, struct.pack("<HHH", row, col, xf_index) + data)


def number(row, col, value, xf_index=0):
    return cell(0x0203, row, col, xf_index, struct.pack("<d", value))


def sst_label(row, col, index):
    return cell(0x00FD, row, col, 0, struct.pack("<I", index))


def boolerr(row, col, value, error=False):
    return cell(0x0205, row, col, 0, struct.pack("<BB", value, 1 if error else 0))


def formula_number(row, col, value):
    # the formula =1 (ptgInt 1) with its stored result
    return cell(0x0006, row, col, 0, struct.pack("<dHIH", value, 0, 0, 3) + b"\x1e\x01\x00")


def formula_ref(row, col, value, xf_index, ref_row, ref_col):
    # the formula =<cell> (ptgRef) with its stored result, in the cell style `xf_index`
    tokens = struct.pack("<BHH", 0x24, ref_row, ref_col)
    return cell(0x0006, row, col, xf_index, struct.pack("<dHIH", value, 0, 0, len(tokens)) + tokens)


def formula_text(row, col, text):
    result = struct.pack("<BBBBBBH", 0, 0, 0, 0, 0, 0, 0xFFFF)
    return (cell(0x0006, row, col, 0, result + struct.pack("<HIH", 0, 0, 3) + b"\x1e\x01\x00") +
            record(0x0207, wide(text)))


def workbook(sheets, strings, date1904=False, encrypted=False):
    """sheets: (name, cell records, merged ranges, dimension rows, dimension columns)."""
    sst = struct.pack("<II", len(strings), len(strings)) + b"".join(wide(s) for s in strings)
    head = bof(0x0005)
    if encrypted:
        head += record(0x002F, struct.pack("<HHH", 1, 1, 1) + bytes(48))
    head += record(0x0042, struct.pack("<H", 1200)) + record(0x0022, struct.pack("<H", 1 if date1904 else 0))
    head += record(0x041E, struct.pack("<H", 164) + wide("yyyy\"年\"m\"月\"d\"日\""))
    head += b"".join(xf(f) for f in [0] * 16 + [0, 14, 22, 164, 20])  # cell styles 16 .. 20
    bounds_size = sum(len(record(0x0085, struct.pack("<IBB", 0, 0, 0) + struct.pack("<BB", len(n), 1) +
                                 n.encode("utf-16-le"))) for n, *_ in sheets)
    tail = record(0x00FC, sst) + record(0x000A)
    offset = len(head) + bounds_size + len(tail)
    bounds, bodies = b"", b""
    for name, cells, merged, rows, cols in sheets:
        bounds += record(0x0085, struct.pack("<IBB", offset + len(bodies), 0, 0) + struct.pack("<BB", len(name), 1) +
                         name.encode("utf-16-le"))
        body = bof(0x0010) + record(0x0200, struct.pack("<IIHHH", 0, rows, 0, cols, 0)) + b"".join(cells)
        if merged:
            body += record(0x00E5, struct.pack("<H", len(merged)) + b"".join(struct.pack("<HHHH", *m) for m in merged))
        bodies += body + record(0x000A)
    return head + bounds + tail + bodies


def compound(stream, name="Workbook"):
    """The stream as the compound file's stream `name` (padded past the mini stream's 4096 bytes)."""
    stream += bytes(max(0, 4096 - len(stream)))
    stream += bytes(-len(stream) % 512)
    n = len(stream) // 512
    fat = [i + 1 for i in range(n - 1)] + [ENDOFCHAIN, ENDOFCHAIN, FATSECT]  # stream, directory, FAT
    fat += [FREESECT] * (128 - len(fat))

    def entry(name, kind, child, start, size):
        encoded = (name + "\0").encode("utf-16-le")
        return (encoded.ljust(64, b"\0") + struct.pack("<HBB", len(encoded), kind, 1) +
                struct.pack("<III", NOSTREAM, NOSTREAM, child) + bytes(16 + 4 + 16) + struct.pack("<IQ", start, size))

    directory = entry("Root Entry", 5, 1, ENDOFCHAIN, 0) + entry(name, 2, NOSTREAM, 0, len(stream))
    directory = directory.ljust(512, b"\0")
    header = (b"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + bytes(16) +
              struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) + bytes(6) +
              struct.pack("<IIIIIIIII", 0, 1, n, 0, 4096, ENDOFCHAIN, 0, ENDOFCHAIN, 0) +
              struct.pack("<I", n + 1) + struct.pack("<I", FREESECT) * 108)
    return header + stream + directory + b"".join(struct.pack("<I", v) for v in fat)


def values_sheet():
    strings = ["期中成绩", "序号", "姓名", "学号", "语文", "出生", "张三", "007", "第一行\n第二行", "李四"]
    cells = [sst_label(0, 0, 0),                                              # a title merged over A1:G1
             sst_label(2, 0, 1), sst_label(2, 1, 2), sst_label(2, 2, 3), sst_label(2, 3, 4), sst_label(2, 4, 5),
             number(3, 0, 1), sst_label(3, 1, 6), sst_label(3, 2, 7), number(3, 3, 85.5), number(3, 4, 45536, 17),
             number(3, 5, 45536.5, 18), number(3, 6, 45536, 19),
             number(4, 0, 2), sst_label(4, 1, 9), number(4, 2, 2024000001), number(4, 3, 1 / 3),
             boolerr(4, 4, 1), boolerr(4, 5, 0x07, True), formula_number(4, 6, 90),
             number(5, 0, 3), sst_label(5, 1, 8), formula_text(5, 2, "公式文字"), number(5, 3, 0.354166666666667, 20)]
    return strings, cells


def main():
    strings, cells = values_sheet()
    cover = ("封面", [sst_label(0, 0, 0)], [], 1, 1)
    values = workbook([cover, ("成绩", cells, [(0, 0, 0, 6)], 6, 7)], strings)
    files = {
        "values.xls": compound(values),
        "date1904.xls": compound(workbook([("S", [number(0, 0, 44074, 17), number(0, 1, 1),
                                                  formula_ref(0, 2, 44074, 17, 0, 0)], [], 1, 3)], [],
                                          date1904=True)),
        "encrypted.xls": compound(workbook([cover], strings, encrypted=True)),
        "huge_dimension.xls": compound(workbook([("S", [number(0, 0, 1)], [], 65536, 256)], [])),
    }
    files["truncated.xls"] = files["values.xls"][:2500]
    for name, data in files.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
