#!/usr/bin/env python3
"""Writes the sample school of examples/: the school file, three grade tables of one class and a field
template, in the system's own formats (GBK text with CR LF, the 128-byte template records).

The output is deterministic: the same script always writes the same bytes.

    python3 scripts/make-examples.py [--outdir examples]
"""

import argparse
import os
import random
import struct

SCHOOL = "星河实验中学"
GRADES = [("高一", ["(1)班", "(2)班"]), ("高二", ["(1)班"])]
CLASS_WITH_TABLES = ("高一", "(1)班")

DATA_MAGIC = "KVL'S Scorvane数据文件"
TEMPLATE_MAGIC = "KVL'S 表格模版文件"
FORMULA = "！公式："  # U+FF01 and U+FF1A

SUBJECTS = ["语文", "数学", "英语", "物理", "化学"]
TITLES = ["姓名", "学号"] + SUBJECTS + ["总分", "平均", "名次"]
FIRST_SUBJECT_COL = 3  # grid column of 语文 (column 0 holds the row numbers)
SUBJECT_REFS = "+".join("cell(?,%d)" % (FIRST_SUBJECT_COL + i) for i in range(len(SUBJECTS)))
TOTAL = FORMULA + SUBJECT_REFS
AVERAGE = FORMULA + "(" + SUBJECT_REFS + ")/%d" % len(SUBJECTS)

STUDENTS = 45
TABLES = [
    ("第一次月考", 11, 2.0),
    ("期中考试", 23, 0.0),
    ("期末考试", 37, 3.0),
]

SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤"
GIVEN = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉萍红建文辉力宇鹏浩然欣怡子涵雨轩梓晨思博嘉琪佳妍俊宏晓东海燕宁波"


def crlf_gbk(lines):
    return "".join(line + "\r\n" for line in lines).encode("gbk")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def school_file():
    lines = [
        ";KVL'S Scorvane 学校信息文档。由 Scorvane 班级编制生成。",
        ";请使用“新建/编辑学校关系树”编辑本文件，手工修改前请先备份。",
        "[School]",
        "Name=" + SCHOOL,
        "Grade=%d" % (len(GRADES) - 1),
    ]
    for i, (grade, classes) in enumerate(GRADES):
        lines.append("Grade%d=%s" % (i, grade))
        lines.append("Grade%dClass=%d" % (i, len(classes) - 1))
    for i, (grade, classes) in enumerate(GRADES):
        if classes:
            lines.append("[Grade%d]" % i)
            lines += ["Class%d=%s" % (j, name) for j, name in enumerate(classes)]
    return crlf_gbk(lines)


def students():
    rng = random.Random(20240901)
    names, seen = [], set()
    while len(names) < STUDENTS:
        name = rng.choice(SURNAMES) + "".join(rng.choice(GIVEN) for _ in range(rng.choice((1, 2))))
        if name not in seen:
            seen.add(name)
            names.append(name)
    # Each student has an ability that carries over from one examination to the next.
    abilities = [rng.gauss(76, 9) for _ in names]
    return names, abilities


def marks_for(abilities, seed, shift):
    rng = random.Random(seed)
    rows = []
    for ability in abilities:
        rows.append([max(30, min(100, int(round(rng.gauss(ability + shift, 7))))) for _ in SUBJECTS])
    return rows


def data_file(title, names, marks):
    cols = len(TITLES) + 1
    totals = [sum(m) for m in marks]
    # Ranks by total, highest first; equal totals keep the order of the student numbers.
    order = sorted(range(len(names)), key=lambda i: -totals[i])
    rank = {student: place + 1 for place, student in enumerate(order)}
    grade, klass = CLASS_WITH_TABLES
    info = "%s%s，学生%d人" % (grade, klass, len(names))
    lines = [DATA_MAGIC, title, str(len(names) + 1), str(cols), "李明华", info, "###.##"]
    lines += ["  "] + TITLES
    for i, name in enumerate(names):
        lines += [str(i + 1), name, "2024%02d%02d" % (1, i + 1)]
        lines += [str(m) for m in marks[i]]
        lines += [TOTAL, AVERAGE, str(rank[i])]
    assert len(lines) == 7 + (len(names) + 1) * cols
    return crlf_gbk(lines)


def template_file(titles):
    def record(text):
        raw = text.encode("gbk")
        assert len(raw) <= 126
        return struct.pack("<H", len(raw)) + raw + b"\0" * (126 - len(raw))

    records = [TEMPLATE_MAGIC, str(len(titles) + 1), "  "] + titles
    return b"".join(record(r) for r in records)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--outdir", default=os.path.join(here, "..", "examples"))
    out = os.path.normpath(parser.parse_args().outdir)

    write(os.path.join(out, "SchoolInfo.ini"), school_file())
    names, abilities = students()
    folder = os.path.join(out, "表格数据", SCHOOL, *CLASS_WITH_TABLES)
    for title, seed, shift in TABLES:
        marks = marks_for(abilities, seed, shift)
        caption = "%s%s%s成绩表" % (CLASS_WITH_TABLES + (title,))
        write(os.path.join(folder, title + ".skv"), data_file(caption, names, marks))
    write(os.path.join(out, "表格模版", "考试成绩.templet"), template_file(TITLES))
    print("sample school written to", out)


if __name__ == "__main__":
    main()
