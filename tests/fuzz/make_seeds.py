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


def dbf(version, fields, records, visual=False, driver=0):
    reclen = 1 + sum(length for _, _, length in fields)
    header_len = 32 + 32 * len(fields) + 1 + (263 if visual else 0)
    out = bytearray(32)
    out[0] = version
    out[29] = driver
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
    # As other programs write tables: UTF-8 text with no code page named; doubles, date-times, amounts
    # and a field of a type not read.
    utf8 = dbf(0x30, [(b"XM", "C", 12), (b"AVG", "B", 8), (b"AT", "T", 8), (b"FEE", "Y", 8), (b"PIC", "G", 4)],
               [["张三".encode(), struct.pack("<d", 92.25), struct.pack("<ii", 2460555, 30615000),
                 struct.pack("<q", 1234500), b"\0" * 4]], visual=True)
    write("dbf", "utf8_double_datetime_currency.bin", fuzz_dbf_input(2, utf8))
    big5 = dbf(0x03, [(b"XM", "C", 8)], [["張三".encode("big5")]], driver=0x4F)
    write("dbf", "big5_driver.bin", fuzz_dbf_input(2, big5))


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
    # A caption of a hundred characters at the largest font size, and one at a size no dialog offers.
    write("report_template", "caption_at_font_size_1638.rvx", "\r\n".join([
        ";KVL'S Scorvane报表模板文件", "[Information]", "LinesNum=-1", "LabelsNum=1", "Page=0", "[Labels]",
        "0=" + "长" * 100 + " 600 300 宋体 0 0 1638 0 0 0", "1=大 0 0 宋体 0 0 99999 0 0 0"]) + "\r\n", "regressions")
    # Labels off the page, one at the largest position a record holds.
    write("report_template", "labels_off_the_page.rvx", "\r\n".join([
        "[Information]", "LinesNum=-1", "LabelsNum=2", "Page=-1", "[Labels]",
        "0=远 2147483647 2147483647 宋体 0 0 9 0 0 0", "1=负 -3000 -3000 宋体 0 0 9 0 0 0",
        "2=竖 16000 100 宋体 0 0 9 0 0 0"]) + "\r\n", "regressions")
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


MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def zipped(members):
    """The members as a zip archive, stored, so that a mutation reaches the XML itself."""
    import io
    import zipfile
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as z:
        for name, data in members:
            z.writestr(zipfile.ZipInfo(name, (1980, 1, 1, 0, 0, 0)), data, compress_type=zipfile.ZIP_STORED)
    return out.getvalue()


def xlsx(sheets, shared=(), num_fmts="", cell_xfs=(0,), date1904=False):
    """An .xlsx workbook with the parts the tests' workbook builder writes."""
    head = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    parts = [("[Content_Types].xml", head + '<Types xmlns="http://schemas.openxmlformats.org/package/2006/'
              'content-types"><Default Extension="xml" ContentType="application/xml"/></Types>'),
             ("_rels/.rels", head + '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" '
              'Target="xl/workbook.xml"/></Relationships>' % (PKG, REL))]
    book = head + '<workbook xmlns="%s" xmlns:r="%s">%s<sheets>' % (
        MAIN, REL, '<workbookPr date1904="1"/>' if date1904 else "")
    rels = head + '<Relationships xmlns="%s">' % PKG
    for i, (name, inner) in enumerate(sheets, 1):
        book += '<sheet name="%s" sheetId="%d" r:id="rId%d"/>' % (name, i, i)
        rels += '<Relationship Id="rId%d" Type="%s/worksheet" Target="worksheets/sheet%d.xml"/>' % (i, REL, i)
        parts.append(("xl/worksheets/sheet%d.xml" % i,
                      head + '<worksheet xmlns="%s" xmlns:r="%s">%s</worksheet>' % (MAIN, REL, inner)))
    rels += ('<Relationship Id="rS" Type="%s/sharedStrings" Target="sharedStrings.xml"/><Relationship Id="rT" '
             'Type="%s/styles" Target="/xl/styles.xml"/></Relationships>' % (REL, REL))
    parts += [("xl/workbook.xml", book + "</sheets></workbook>"), ("xl/_rels/workbook.xml.rels", rels),
              ("xl/sharedStrings.xml", head + '<sst xmlns="%s">%s</sst>' % (
                  MAIN, "".join('<si><t xml:space="preserve">%s</t></si>' % t for t in shared))),
              ("xl/styles.xml", head + '<styleSheet xmlns="%s"><numFmts>%s</numFmts><cellXfs>%s</cellXfs>'
               '</styleSheet>' % (MAIN, num_fmts, "".join('<xf numFmtId="%d"/>' % f for f in cell_xfs)))]
    return zipped([(n, d.encode("utf-8")) for n, d in parts])


def xlsx_cell(ref, attrs, inner):
    return '<c r="%s" %s>%s</c>' % (ref, attrs, inner)


def ods(tables):
    content = ('<?xml version="1.0" encoding="UTF-8"?><office:document-content '
               'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
               'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
               'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2">'
               '<office:body><office:spreadsheet>%s</office:spreadsheet></office:body></office:document-content>'
               % "".join('<table:table table:name="%s">%s</table:table>' % t for t in tables))
    return zipped([("mimetype", b"application/vnd.oasis.opendocument.spreadsheet"),
                   ("content.xml", content.encode("utf-8"))])


def workbooks():
    """The shapes of the workbook readers' tests: every kind of value, merged cells, both date systems."""
    c = xlsx_cell
    rows = ('<sheetData><row r="1">' + c("A1", "", "<v>2024</v>") + c("B1", 't="s"', "<v>0</v>") + "</row>"
            '<row r="2">' + c("A2", 't="s"', "<v>1</v>") + c("B2", 't="s"', "<v>2</v>") + c("C2", 't="s"', "<v>3</v>") +
            '</row><row r="3">' + c("A3", "", "<v>1</v>") + c("B3", 't="inlineStr"',
                                                              "<is><r><t>张</t></r><r><t>三</t></r></is>") +
            c("C3", 's="1"', "<v>45536.5</v>") + c("D3", 't="b"', "<v>1</v>") + c("E3", 't="e"', "<v>#DIV/0!</v>") +
            c("F3", "", "<f>SUM(A3:A3)</f><v>85.5</v>") + c("G3", 't="str"', "<f>B3</f><v>张三</v>") +
            c("H3", 't="d"', "<v>2024-09-01T08:30:00</v>") + c("I3", 's="2"', "<v>45536</v>") +
            '</row></sheetData><mergeCells count="1"><mergeCell ref="A1:C1"/></mergeCells>')
    write("xlsx", "every_kind.xlsx", xlsx([("封面", "<sheetData/>"), ("成绩", rows)],
                                          ["期中成绩", "序号", "姓名", "第一行\n第二行_x000D_"],
                                          '<numFmt numFmtId="164" formatCode="yyyy&quot;年&quot;m&quot;月&quot;"/>',
                                          (0, 22, 164)))
    write("xlsx", "date1904.xlsx", xlsx([("S", '<sheetData><row><c s="1"><v>44074</v></c></row></sheetData>')],
                                        cell_xfs=(0, 14), date1904=True))
    write("xlsx", "shared_string_out_of_range.xlsx",
          xlsx([("S", '<sheetData><row><c t="s"><v>4</v></c></row></sheetData>')]))
    cell = "<table:table-cell office:value-type="
    table = ('<table:table-row><table:table-cell table:number-columns-spanned="2"><text:p>期中成绩</text:p>'
             '</table:table-cell><table:covered-table-cell/></table:table-row>'
             '<table:table-row table:number-rows-repeated="2"><table:table-cell/></table:table-row>'
             '<table:table-row>' + cell + '"string"><text:p>007</text:p></table:table-cell>' + cell +
             '"float" office:value="85.5"><text:p>85.50</text:p></table:table-cell>' + cell +
             '"date" office:date-value="2024-09-01T12:00:00"/>' + cell + '"time" office:time-value="PT08H30M00S"/>' +
             cell + '"boolean" office:boolean-value="true"/><table:table-cell><text:p>一<text:s text:c="2"/>二'
             '</text:p><text:p>三<text:line-break/>四</text:p></table:table-cell></table:table-row>'
             '<table:table-row table:number-rows-repeated="3">' + cell +
             '"percentage" office:value="0.5" table:number-columns-repeated="2"/></table:table-row>')
    write("ods", "every_kind.ods", ods([("封面", ""), ("成绩", table)]))
    write("ods", "repeats.ods", ods([("S", '<table:table-row table:number-rows-repeated="40"><table:table-cell '
                                      'table:number-columns-repeated="30"><text:p>1</text:p></table:table-cell>'
                                      '</table:table-row>')]))
    sys.path.insert(0, os.path.join(ROOT, "tests", "main", "workbook", "xls"))
    import make_xls
    strings, cells = make_xls.values_sheet()
    write("xls", "values.xls", make_xls.compound(make_xls.workbook(
        [("封面", [make_xls.sst_label(0, 0, 0)], [], 1, 1), ("成绩", cells, [(0, 0, 0, 6)], 6, 7)], strings)))
    write("xls", "date1904.xls", make_xls.compound(make_xls.workbook(
        [("S", [make_xls.number(0, 0, 44074, 17)], [], 1, 1)], [], date1904=True)))
    write("xls", "records.xls", make_xls.compound(xls_records()))
    write("xls", "biff5_gbk.xls", make_xls.compound(xls_biff5(), "Book"))
    # Workbooks of other programs: LibreOffice's BIFF8, Gnumeric's BIFF5 in code page 936.
    for name in ("libreoffice.xls", "gnumeric_biff7.xls"):
        with open(os.path.join(ROOT, "tests", "main", "workbook", "xls", name), "rb") as f:
            write("xls", name, f.read())


def xls_records():
    """A BIFF8 stream of the records the reader knows that values.xls lacks: a shared string continued in
    wide characters after narrow ones, one with formatting runs and phonetic text, RK and MULRK numbers,
    a formula's text continued in a CONTINUE record, a chart inside the sheet."""
    import make_xls
    r = make_xls.record
    u16 = lambda v: struct.pack("<H", v)
    u32 = lambda v: struct.pack("<I", v)
    sst = (r(0x00FC, u32(2) + u32(2) + u16(5) + b"\x00ab") + r(0x003C, b"\x01" + "中文字".encode("utf-16-le") +
           u16(2) + b"\x0c" + u16(1) + u32(3) + b"hi" + u32(0) + b"xyz"))
    cells = (make_xls.sst_label(0, 0, 0) + make_xls.sst_label(0, 1, 1) +
             r(0x027E, u16(1) + u16(0) + u16(16) + u32((45536 << 2) | 2)) +
             r(0x00BD, u16(1) + u16(1) + u16(0) + u32((8550 << 2) | 3) + u16(0) + u32(0x40040000) + u16(2)) +
             make_xls.cell(0x0006, 2, 0, 0, struct.pack("<BBBBBBH", 0, 0, 0, 0, 0, 0, 0xFFFF) +
                           struct.pack("<HIH", 0, 0, 3) + b"\x1e\x01\x00") +
             r(0x0207, u16(6) + b"\x01" + "很长".encode("utf-16-le")) + r(0x003C, b"\x01" + "很长很长".encode("utf-16-le")) +
             make_xls.bof(0x0020) + make_xls.sst_label(9, 0, 0) + r(0x000A))
    globals_ = (make_xls.bof(0x0005) + r(0x0042, u16(1200)) + b"".join(make_xls.xf(f) for f in [0] * 16 + [14]) +
                r(0x041E, u16(164) + make_xls.wide("[h]:mm")))
    head = globals_ + sst
    name = "成绩".encode("utf-16-le")
    bound = lambda offset: r(0x0085, u32(offset) + b"\x00\x00" + bytes([len(name) // 2, 1]) + name)
    offset = len(head) + len(bound(0)) + len(r(0x000A))
    return head + bound(offset) + r(0x000A) + make_xls.bof(0x0010) + cells + r(0x000A)


def xls_biff5():
    """A BIFF5 stream in code page 936: a sheet name, a label and a formula's text in GBK."""
    import make_xls
    r = make_xls.record
    bof = lambda kind: r(0x0809, struct.pack("<HHHH", 0x0500, kind, 0x0DBB, 0x07CC))
    name = "成绩".encode("gbk")
    label = "张三".encode("gbk")
    text = "公式".encode("gbk")
    head = bof(0x0005) + r(0x0042, struct.pack("<H", 936)) + b"".join(make_xls.xf(0) for _ in range(16))
    bound = lambda offset: r(0x0085, struct.pack("<IBBB", offset, 0, 0, len(name)) + name)
    offset = len(head) + len(bound(0)) + len(r(0x000A))
    cells = (make_xls.cell(0x0204, 0, 0, 0, struct.pack("<H", len(label)) + label) +
             make_xls.cell(0x0006, 0, 1, 0, struct.pack("<BBBBBBH", 0, 0, 0, 0, 0, 0, 0xFFFF) +
                           struct.pack("<HIH", 0, 0, 3) + b"\x1e\x01\x00") +
             r(0x0207, struct.pack("<H", len(text)) + text))
    return head + bound(offset) + r(0x000A) + bof(0x0010) + cells + r(0x000A)


def recovery_infos():
    def info(*lines):
        return "\r\n".join(["KVL'S Scorvane恢复副本"] + list(lines)) + "\r\n"
    write("recovery_info", "table.info", info("Path=/home/王老师/成绩/表格数据/一中/高一/(1)班/期中",
                                              "Title=期中考试", "Workspace=/home/王老师/成绩",
                                              "Time=1714550000", "Session=3f9a1c2b7d4e5f60"))
    write("recovery_info", "escapes.info", info("Path=/tmp/a%25b%0Ac", "Title=%0D%0A标题", "Workspace=",
                                                "Time=0", "Session=ab"))
    write("recovery_info", "damaged.info", info("Path=%4", "Time=x", "Session=a/b", "Session=c"))


def lock_files():
    write("lock_file", "table.lock", "王老师,办公室-1,4242,2024-09-02T08:05:09+08:00".encode())
    write("lock_file", "escaped.lock", "Wang%2C Li,pc%2C1,7,2024-09-02T08:05:09+08:00\n".encode())
    write("lock_file", "broken.lock", b"wang,pc,0,\r\nwang,p%4,+3,t,x\x00\xff")


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
                b"\x00\x40", b"\x02\x00", b"20240901", b"         1", b"B", b"T", b"Y", b"\x7a", b"\x4f"],
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
        "xlsx": [b'<c r="A1" t="s">', b"<v>", b"</v>", b"</c>", b'<row r="1">', b"</row>", b't="inlineStr"',
                 b"<is><t>", b'<mergeCell ref="A1:B2"/>', b's="1"', b't="b"', b't="e"', b't="str"', b't="d"',
                 b"<si><t>", b"_x000D_", b'date1904="1"', b'numFmtId="14"', b"<!DOCTYPE", b"XFD1048576"],
        "ods": [b"<table:table-row>", b"</table:table-row>", b"<table:table-cell ", b"</table:table-cell>",
                b"table:number-rows-repeated=", b"table:number-columns-repeated=", b"office:value-type=",
                b'"float"', b'"date"', b'"time"', b'"boolean"', b'"string"', b"office:value=",
                b"office:date-value=", b"<text:p>", b'<text:s text:c="', b"<text:line-break/>",
                b"<table:covered-table-cell/>", b"<office:annotation>", b"<!DOCTYPE"],
        "xls": [b"\x09\x08\x10\x00\x00\x06", b"\x00\x02\x0e\x00", b"\x03\x02\x0e\x00", b"\xfd\x00\x0a\x00",
                b"\x05\x02\x08\x00", b"\x06\x00", b"\x07\x02", b"\xe5\x00", b"\xfc\x00", b"\x85\x00",
                b"\x2f\x00", b"\x0a\x00\x00\x00", b"\xfe\xff\xff\xff", b"\xff\xff\xff\xff",
                b"\x3c\x00", b"\x42\x00\x02\x00", b"\x22\x00\x02\x00\x01\x00", b"\x1e\x04", b"\xe0\x00",
                b"\x7e\x02\x0a\x00", b"\xbd\x00", b"\x04\x02", b"\xbc\x04", b"\xd6\x00",
                b"\x09\x08\x08\x00\x00\x05", b"\x09\x08\x10\x00\x00\x06\x20\x00", b"\xa8\x03", b"\xb0\x04",
                b"\xff\xff", b"\x00\xd8"],
        "recovery_info": [gbk("KVL'S Scorvane恢复副本"), b"Path=", b"Title=", b"Workspace=", b"Time=",
                          b"Session=", b"%25", b"%0D", b"%0A", b"%", b"9007199254740992", b"\r\n"],
        "lock_file": [b",", b"%2C", b"%25", b"%0A", b"%0D", b"%", b"2147483647", b"2024-09-02T08:05:09+08:00",
                      b"T", b"+08:00", b"\r\n", "未知用户".encode()],
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
    workbooks()
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
    lock_files()
    return 0


if __name__ == "__main__":
    sys.exit(main())
