#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into tests/fuzz/corpus/<target>/.

The seeds are the sample files of examples/ and small inputs in the shapes the tests use: tables with
formulas, templates, comma-separated texts, dBASE tables with memo files of each kind, expressions and
number formats. Run it again after changing it; files are rewritten, never merged.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
EXAMPLES = os.path.join(ROOT, "examples")


def gbk(text):
    return text.encode("gb18030")


def write(target, name, data, kind="corpus"):
    folder = os.path.join(HERE, kind, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else gbk(data))


def example(*parts):
    with open(os.path.join(EXAMPLES, *parts), "rb") as f:
        return f.read()


def data_file(title, titles, rows, fmt="###.##"):
    lines = ["KVL'S Scorvane数据文件", title, str(len(rows) + 1), str(len(titles) + 1), "王老师",
             "高一(1)班[/]共 %d 人" % len(rows), fmt, "  "] + titles
    for i, row in enumerate(rows, 1):
        lines += [str(i)] + row
    return gbk("\r\n".join(lines) + "\r\n")


FORMULA_TOTAL = "！公式：cell(?,2)+cell(?,3)+cell(?,4)"


def data_files():
    table = os.path.join("表格数据", "星河实验中学", "高一", "(1)班")
    for i, name in enumerate(sorted(os.listdir(os.path.join(EXAMPLES, table)))):
        write("data_file", "example_%d.skv" % i, example(table, name))
    write("data_file", "formulas.skv", data_file("期中", ["姓名", "语文", "数学", "总分"], [
        ["张三", "80", "90", FORMULA_TOTAL], ["李四", "85.5", "", "！公式：cell(?,?)*2"], ["王五", "缺考", "-5", ""]]))
    write("data_file", "one_cell.skv", gbk("KVL'S Scorvane数据文件\r\nT\r\n1\r\n1\r\n\r\n\r\n###.##\r\n  \r\n"))
    utf8 = "KVL'S Scorvane数据文件\nUTF-8 表\n2\n2\n\n\n0.00\n  \n名\n1\n甲\n"
    write("data_file", "utf8.skv", utf8.encode("utf-8"))
    write("data_file", "short.skv", gbk("KVL'S Scorvane数据文件\r\nT\r\n3\r\n3\r\n\r\n\r\n###.##\r\n  \r\nA\r\n"))


def school_files():
    write("school_file", "example_SchoolInfo.ini", example("SchoolInfo.ini"))
    write("school_file", "gaps.ini", "\r\n".join([
        ";c", "[School]", "Name=一中", "Grade=2", "Grade0=高一", "Grade0Class=3", "Grade1=高二", "Grade1Class=-1",
        "Grade2=高三", "Grade2Class=0", "[Grade0]", "Class0=(1)班", "Class3=(4)班", "[grade2]", "class0 = 理科班 ",
        "[School]", "Name=second"]) + "\r\n")
    write("school_file", "damaged.ini", "[School]\r\nGrade=99999\r\nGrade0=一\r\nGrade0Class=99999\r\n"
                                        "Grade1Class=abc\r\n[Grade0]\r\nClass32766=z\r\n")


def record(text):
    data = gbk(text)
    return struct.pack("<H", len(data)) + data + b"\0" * (126 - len(data))


def field_templates():
    write("field_template", "example.templet", example("表格模版", "考试成绩.templet"))
    titles = ["姓名", "学号", "语文", "总分"]
    write("field_template", "small.templet",
          b"".join(record(t) for t in ["KVL'S 表格模版文件", str(len(titles) + 1), "  "] + titles))
    write("field_template", "count_only.templet", record("KVL'S 表格模版文件") + record("32767") + record("  "))


def csv_texts():
    write("csv", "marks.csv", "成绩表\r\n,  ,姓名,语文\r\n,1,张三,85\r\n,2,李四,90\r\n\r\n")
    write("csv", "quoted.csv", '85,"9,0",  77 \r\n"two\r\nlines","say ""hi""" tail,\r\n,,\r\n"unclosed')
    write("csv", "bom.csv", b"\xef\xbb\xbf" + "85\n90\n百分\n".encode("utf-8"))


def dbf(version, fields, records, visual=False):
    reclen = 1 + sum(length for _, _, length in fields)
    header_len = 32 + 32 * len(fields) + 1 + (263 if visual else 0)
    out = bytearray(32)
    out[0] = version
    struct.pack_into("<IHH", out, 4, len(records), header_len, reclen)
    for name, typ, length in fields:
        d = bytearray(32)
        d[0:len(name)] = name
        d[11] = ord(typ)
        d[16] = length
        out += d
    out += b"\r" + b"\0" * (263 if visual else 0)
    for values in records:
        out += b" "
        for (name, typ, length), v in zip(fields, values):
            out += v.ljust(length, b" ")[:length]
    return bytes(out) + b"\x1a"


def memo_file(kind, texts):
    size = 64 if kind == "fpt" else 512
    out = bytearray(512)
    if kind == "fpt":
        struct.pack_into(">H", out, 6, size)
    elif kind == "dbt4":
        struct.pack_into("<H", out, 20, size)
    blocks = []
    for t in texts:
        blocks.append(len(out) // size)
        if kind == "fpt":
            block = struct.pack(">II", 1, len(t)) + t
        elif kind == "dbt3":
            block = t + b"\x1a\x1a"
        else:
            block = b"\xff\xff\x08\x00" + struct.pack("<I", len(t) + 8) + t
        block += b"\0" * ((-len(block)) % size)
        out += block
    return bytes(out), blocks


def fuzz_dbf_input(flags, table, memo=b""):
    return bytes([flags]) + struct.pack("<I", len(table)) + table + memo


def dbf_tables():
    plain = dbf(0x03, [(b"XH", "C", 10), (b"XM", "C", 8), (b"FS", "N", 5)],
                [[b"2024001", gbk("张三"), b" 85.5"], [b"2024002", gbk("欧阳修"), b"   90"]])
    write("dbf", "plain.bin", fuzz_dbf_input(2, plain))
    memo, blocks = memo_file("fpt", [gbk("评语：优秀"), b"short"])
    fox = dbf(0x30, [(b"NAME", "C", 12), (b"AGE", "I", 4), (b"BORN", "D", 8), (b"OK", "L", 1),
                     (b"NOTE", "M", 4)],
              [[gbk("张三"), struct.pack("<i", -5), b"20240901", b"T", struct.pack("<I", blocks[0])],
               [b"x", struct.pack("<i", 7), b"        ", b"?", struct.pack("<I", blocks[1])]], visual=True)
    write("dbf", "visual_foxpro_memo.bin", fuzz_dbf_input(1, fox, memo))
    memo3, blocks3 = memo_file("dbt3", [gbk("评语"), b"b"])
    d3 = dbf(0x83, [(b"XM", "C", 4), (b"PY", "M", 10)],
             [[b"a", str(blocks3[0]).rjust(10).encode()], [b"c", str(blocks3[1]).encode()]])
    write("dbf", "dbase3_memo.bin", fuzz_dbf_input(0, d3, memo3))
    memo4, blocks4 = memo_file("dbt4", [gbk("第一行\r\n第二行")])
    d4 = dbf(0x8B, [(b"XM", "C", 4), (b"PY", "M", 10)], [[b"a", str(blocks4[0]).encode()]])
    write("dbf", "dbase4_memo.bin", fuzz_dbf_input(0, d4, memo4))


def report_templates():
    write("report_template", "example.rvx", example("成绩通知单.rvx"))
    write("report_template", "spaces.rvx", "\r\n".join([
        ";KVL'S Scorvane报表模板文件", ";x", "[Information]", "LinesNum=2", "LabelsNum=2", "Page=-1", "[Lines]",
        "0=9000,1500,1000,1500,1", "2=1,2,3,4,2", "[Labels]", "0=文字标签 1 600 3500 Noto Sans CJK SC -1 0 16 0 0 0",
        "1= 1187.5 1200 宋体 0 0 10.5 0 0 255", "2=两行[/]文字 1 2 宋体 1 1 9 1 1 16777215"]) + "\r\n")


EXPRESSIONS = [
    "2*3-5+(2^3-5/(6-2))-3+sin(30)", "-2+3", "(2+3", "2^3^2", "1/3", "ans*3", "cos 60", "isn(0.5)", "1e5",
    "sr(9+7)", "LOG(100)", "2pi", "3sr(4)", "ihcc(0-2)", "(((((7", "1..2", "10^400", "0.0001", "hsn(30)",
    "17976931348623157" + "0" * 292,
]


def expressions():
    for i, text in enumerate(EXPRESSIONS):
        write("evaluator", "expr_%02d.txt" % i, text.encode())


def formula_tables():
    write("formula_cells", "totals.txt", "  \n姓名\n语文\n总分\n1\n张三\n80\n=cell(?,2)*2\n2\n李四\n\n"
                                         "=cell(?,2)+cell(1,2)\n3\n王五\n-5\n=cell(?,?)\n4\n赵六\n 60 \n=CELL(4,2)/0")
    write("formula_cells", "refs.txt", "=cell(1,?)\n=cell( 2 , 3 )\n=cell(9,9)\n=cell(1,1\n=ans+1\n")
    write("formula_cells", "long.txt", "1" + " " * 2000 + "\n=cell(0,0)+cell(0,0)+cell(0,0)\n")


def number_formats():
    for i, (number, pattern) in enumerate([("85.456", "###.##"), ("0.5", "###.##"), ("0", "###.##"),
                                           ("-0.001", "0.00"), ("1.5E-07", "###.000000000000000"),
                                           ("1E+15", "###.##"), ("1.005", "#.##"), ("公式错误", "###.##"),
                                           ("123", "0000"), ("1.79769313486232E+308", "###.#")]):
        write("number_format", "format_%02d.txt" % i, (number + "\n" + pattern).encode())


def texts():
    write("text_codec", "gbk.txt", gbk("KVL'S Scorvane数据文件 成绩通知单 欧阳修 €"))
    write("text_codec", "gb18030_four_byte.txt", "𠀀 㐀 😀".encode("gb18030"))
    write("text_codec", "utf8.txt", "成绩 ½ 😀".encode("utf-8"))
    write("text_codec", "broken.txt", b"\x81\x30\x81\xff\x80\xa1")


def regressions():
    """The inputs of the faults found before fuzzing, each replayed ever since."""
    write("report_template", "count_and_key_2147483647.rvx",
          "[Information]\r\nLinesNum=2147483647\r\n[Lines]\r\n2147483647=1\r\n", "regressions")
    grades = 1000
    school = ["[School]", "Name=一中", "Grade=99999"]
    sections = []
    for i in range(grades):
        school += ["Grade%d=年级%d" % (i, i), "Grade%dClass=99999" % i]
        sections += ["[Grade%d]" % i, "Class0=(1)班"]
    write("school_file", "grades_claiming_99999_classes.ini", "\r\n".join(school + sections) + "\r\n",
          "regressions")
    write("formula_cells", "many_references_to_a_long_cell.txt",
          ("1" * 30000 + "\n=" + "+".join(["cell(0,0)"] * 3000)).encode(), "regressions")
    memo, blocks = memo_file("fpt", [b"x" * 100000])
    shared = dbf(0xF5, [(b"XM", "C", 1), (b"PY", "M", 10)], [[b"a", str(blocks[0]).encode()]] * 200)
    write("dbf", "every_memo_in_one_block.bin", fuzz_dbf_input(1, shared, memo), "regressions")
    memo3 = b"\0" * 512 + b"y" * 100000
    unended = dbf(0x83, [(b"XM", "C", 1), (b"PY", "M", 10)], [[b"a", b"1"]] * 200)
    write("dbf", "dbase3_memo_without_end_mark.bin", fuzz_dbf_input(0, unended, memo3), "regressions")
    write("evaluator", "largest_double.txt", ("17976931348623157" + "0" * 292).encode(), "regressions")


def recovery_infos():
    def info(*lines):
        return "\r\n".join(["KVL'S Scorvane恢复副本"] + list(lines)) + "\r\n"
    write("recovery_info", "table.info", info("Path=/home/王老师/成绩/表格数据/一中/高一/(1)班/期中",
                                              "Title=期中考试", "Workspace=/home/王老师/成绩",
                                              "Time=1714550000", "Session=3f9a1c2b7d4e5f60"))
    write("recovery_info", "escapes.info", info("Path=/tmp/a%25b%0Ac", "Title=%0D%0A标题", "Workspace=",
                                                "Time=0", "Session=ab"))
    write("recovery_info", "damaged.info", info("Path=%4", "Time=x", "Session=a/b", "Session=c"))


def dictionary_entry(data):
    return '"' + "".join(chr(b) if 0x20 <= b < 0x7f and chr(b) not in '"\\' else "\\x%02X" % b
                         for b in data) + '"'


def dictionaries():
    """The keywords of each format, GBK where the format is GBK, for libFuzzer's -dict."""
    words = {
        "data_file": [gbk("KVL'S Scorvane数据文件"), b"\r\n", b"[/]", b"32767", b"###.##", gbk("！公式："),
                      "KVL'S Scorvane数据文件".encode(), b"\xef\xbb\xbf"],
        "school_file": [b"[School]", b"Name=", b"Grade=", b"Grade0=", b"Grade0Class=", b"[Grade0]", b"Class0=",
                        b"Class32766=", b"-1", b"99999", b";", b"\r\n", b"[/]"],
        "field_template": [b"\x12\x00" + gbk("KVL'S 表格模版文件"), b"\x05\x00" + b"32767", b"\x02\x00  ",
                           b"\x00" * 16, b"\x7e\x00"],
        "csv": [b",", b'"', b'""', b"\r\n", b"\xef\xbb\xbf", b" \t"],
        "dbf": [b"\x03", b"\x30", b"\x83", b"\x8b", b"\xf5", b"\x0d", b"\x1a", b"\x1a\x1a", b"*",
                b"C", b"N", b"F", b"I", b"D", b"L", b"M", b"\xff\xff\x08\x00", b"\x00\x00\x00\x01",
                b"\x00\x40", b"\x02\x00", b"20240901", b"         1"],
        "report_template": [gbk(";KVL'S Scorvane报表模板文件"), b"[Information]", b"LinesNum=", b"LabelsNum=",
                            b"Page=-1", b"[Lines]", b"[Labels]", b"0=", b"2147483647", b"[/]", b",",
                            gbk(" 宋体 "), b" -1 0 9 0 0 ", b"16777215", b"1187.5"],
        "evaluator": [b"pi", b"e", b"ans", b"help", b"sr", b"log", b"ln", b"sin", b"cos", b"tan", b"sec", b"csc",
                      b"cot", b"hsn", b"hcs", b"htn", b"hsc", b"hcc", b"hct", b"isn", b"ics", b"itn", b"isc",
                      b"icc", b"ict", b"ihs", b"ihc", b"iht", b"ihsc", b"ihcc", b"ihct", b"^(", b"(", b")",
                      b"..", b"1797693134862315", b"0.000000000000000000001"],
        "formula_cells": ["！公式：".encode(), b"=", b"cell(", b"CELL(", b"(?,", b",?)", b"cell(?,?)", b"cell(1,2)",
                          b"cell(0,0)", b"\n", b"ans", b"sr(", b"-", b"   "],
        "number_format": [b"###.##", b"0.000", b"#", b".", b"E+", b"E-", b"E+308", b"E-324", b"\n", b"-0"],
        "recovery_info": [gbk("KVL'S Scorvane恢复副本"), b"Path=", b"Title=", b"Workspace=", b"Time=",
                          b"Session=", b"%25", b"%0D", b"%0A", b"%", b"9007199254740992", b"\r\n"],
        "text_codec": [b"\x81\x30\x81\x30", b"\xa1\xa1", b"\x80", b"\xff", b"\xef\xbb\xbf", b"\xc0\x80",
                       b"\xed\xa0\x80", b"\xf4\x90\x80\x80", b"\xe6\x88\x90"],
    }
    folder = os.path.join(HERE, "dict")
    os.makedirs(folder, exist_ok=True)
    for target, entries in words.items():
        with open(os.path.join(folder, target + ".dict"), "w") as f:
            f.write("# Keywords of the %s format for libFuzzer (made by make_seeds.py).\n" % target)
            for i, data in enumerate(entries):
                f.write("kw%d=%s\n" % (i, dictionary_entry(data)))


def main():
    dictionaries()
    regressions()
    data_files()
    school_files()
    field_templates()
    csv_texts()
    dbf_tables()
    report_templates()
    expressions()
    formula_tables()
    number_formats()
    texts()
    recovery_infos()
    return 0


if __name__ == "__main__":
    sys.exit(main())
