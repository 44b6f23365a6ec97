#!/usr/bin/python3
"""A small workbook with every kind of value an import meets, as .xlsx for LibreOffice and Gnumeric to
save as .xls (see make_writers.sh). Its text keeps to GBK, so that a BIFF5 copy in code page 936 holds it
all, but for one sheet of characters beyond it."""
import random
import sys

import openpyxl
from openpyxl.utils.datetime import CALENDAR_MAC_1904

SURNAMES = "赵钱孙李周吴郑王冯陈褚卫蒋沈韩杨朱秦尤许何吕施张孔曹严华金魏陶姜"
GIVEN = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰萍红"


def grades(wb, rng):
    ws = wb.active
    ws.title = "成绩"
    ws["A1"] = "2024学年第一学期期中成绩"
    ws.merge_cells("A1:I1")
    ws.append(["序号", "姓名", "学号", "语文", "数学", "出生", "到校", "备注", "团员"])
    for i in range(1, 41):
        name = rng.choice(SURNAMES) + "".join(rng.choice(GIVEN) for _ in range(rng.choice([1, 2])))
        remark = "".join(rng.choice(SURNAMES + GIVEN) for _ in range(rng.randint(5, 40)))
        if i % 5 == 0:
            remark = "note " + "abcdefghij" * rng.randint(1, 20) + " 中文结尾"  # narrow, then wide
        if i % 9 == 0:
            remark = "第一行\n第二行"
        ws.append([i, name, "%07d" % (2024000 + i), rng.randint(0, 100) + rng.choice([0, 0.5]),
                   rng.randint(0, 150), 40000 + rng.randint(0, 9000), rng.random(), remark,
                   rng.choice([True, False])])
        r = ws.max_row
        ws.cell(r, 3).number_format = "@"
        ws.cell(r, 6).number_format = "yyyy-mm-dd"
        ws.cell(r, 7).number_format = "h:mm:ss"
    # Long strings: the shared strings go on in CONTINUE records, some strings across them.
    ws.append([None, "长文", None, None, None, None, None, "长" * 5000 + "end"])
    ws.append([None, "长文", None, None, None, None, None, "x" * 9000 + "尾"])


def dates(wb):
    d = wb.create_sheet("日期")
    formats = ["yyyy-mm-dd", "mm-dd-yy", "d-mmm-yy", "h:mm", "h:mm:ss", "m/d/yy h:mm", "[h]:mm:ss", "mm:ss",
               'yyyy"年"m"月"d"日"', "yyyy/m/d h:mm:ss", "0.00", "0%", "General", "@", '"d"0', "[Red]0.00",
               'm"月"d"日"', "hh:mm"]
    d.append(["值"] + formats)
    for v in [45536, 45536.5, 0.354166666666667, 60, 61, 1, 0, 45536.99999999, 2958465.5, 36.25, 0.5]:
        d.append([v] + [v] * len(formats))
        for c, f in enumerate(formats, start=2):
            d.cell(d.max_row, c).number_format = f


def formulas(wb):
    f = wb.create_sheet("公式")
    f.append(["公式", "值"])
    f["B2"] = "被引用"
    for i, fm in enumerate(["=1/0", "=NA()", '="文字"&B2', "=1>0", "=1<0", '=""', "=SUM(1,2)", "=DATE(2024,9,1)",
                            "=B2", "=0.1+0.2", "=10/3", '=1+"a"', "=2^40", '=REPT("很长",3000)',
                            '="a"&CHAR(10)&"b"'], start=3):
        f.cell(i, 1, fm[1:])
        f.cell(i, 2, fm)
    f["B10"].number_format = "yyyy-mm-dd"


def numbers(wb):
    n = wb.create_sheet("数字")
    for i, v in enumerate([85.5, 2024000001, 1 / 3, -12.25, 1e20, 1.5e-12, 123456789012345678, 0.1, 100, 1e15,
                           999999999999999, 3.14159265358979, 0.01, 536870911, 536870912, -536870912, 0.3,
                           1e-300, 2 ** 53, 99.99, -0.5], start=1):
        n.cell(i, 1, v)
        n.cell(i, 2, int(v) if abs(v) < 1e9 else v)
    h = wb.create_sheet("隐藏")
    h["A1"] = "隐藏的表"
    h.sheet_state = "hidden"
    wb.create_sheet("空表")


def beyond_gbk(wb):
    s = wb.create_sheet("字符")
    s.append(["emoji 😀", "Ω and é", "café résumé naïve", "  spaces  ", "tab\there"])


def main():
    out, kind = sys.argv[1], sys.argv[2]
    rng = random.Random(7)
    wb = openpyxl.Workbook()
    if kind == "1904":
        wb.epoch = CALENDAR_MAC_1904
    grades(wb, rng)
    dates(wb)
    formulas(wb)
    numbers(wb)
    if kind == "unicode":
        beyond_gbk(wb)
    wb.save(out)


if __name__ == "__main__":
    main()
