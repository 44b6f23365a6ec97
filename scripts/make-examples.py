#!/usr/bin/env python3
"""Writes the sample school of examples/: the school file, a grade of three classes with three exams
each (a grade worth analysing: 年级排名, 进退步, 历次成绩, 标准分) and a field template, in the system's
own formats (GBK text with CR LF, the 128-byte template records).

The output is deterministic: the same script always writes the same bytes.

    python3 scripts/make-examples.py [--outdir examples]
    python3 scripts/make-examples.py --times-only --outdir COPY   # only the exam dates of a copy

The tables get the dates of their exams as modification times, so that the analyses, which list exams
oldest first by default, list them in the order they were held. A checkout or a copy does not keep those
times: scripts/run gives them to its copy again with --times-only.
"""

import argparse
import io
import os
import random
import struct
import zipfile

SCHOOL = "星河实验中学"
GRADES = [("高一", ["(1)班", "(2)班", "(3)班"]), ("高二", ["(1)班"])]
GRADE_WITH_TABLES = "高一"
# Each class of that grade: its name, number of students, teacher, and the seed of its students.
CLASSES = [
    ("(1)班", 45, "李明华", 20240901),
    ("(2)班", 42, "王静", 20240902),
    ("(3)班", 48, "陈晓东", 20240903),
]

DATA_MAGIC = "KVL'S Scorvane数据文件"
TEMPLATE_MAGIC = "KVL'S 表格模版文件"
FORMULA = "！公式："  # U+FF01 and U+FF1A
ABSENT = "缺考"

SUBJECTS = ["语文", "数学", "英语", "物理", "化学"]
# How each subject's marks lie about a student's ability: shift and spread.
SUBJECT_SHAPE = {"语文": (2, 6), "数学": (-4, 10), "英语": (0, 8), "物理": (-3, 9), "化学": (1, 7)}
# 生物 came later: its marks are drawn from a generator of their own, so the other subjects' marks stay as
# they were. Its wide spread puts students in every band of 等级赋分.
ADDED_SUBJECTS = ["生物"]
SUBJECT_SHAPE["生物"] = (-2, 11)
ALL_SUBJECTS = SUBJECTS + ADDED_SUBJECTS
TITLES = ["姓名", "学号"] + ALL_SUBJECTS + ["总分", "平均", "名次"]
FIRST_SUBJECT_COL = 3  # grid column of 语文 (column 0 holds the row numbers)

# The exams in the order they were written: name, seed, how hard (a shift of every mark), and the day
# the marks were typed in (the table's modification time).
TABLES = [
    ("第一次月考", 11, 2.0, "2024-10-10 16:30"),
    ("期中考试", 23, 0.0, "2024-11-15 17:00"),
    ("期末考试", 37, 3.0, "2025-01-20 15:45"),
]
# One class sat one exam without 物理 (its teacher had it written later).
WITHOUT_PHYSICS = ("(3)班", "期中考试")

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


def students(count, seed):
    rng = random.Random(seed)
    names, seen = [], set()
    while len(names) < count:
        name = rng.choice(SURNAMES) + "".join(rng.choice(GIVEN) for _ in range(rng.choice((1, 2))))
        if name not in seen:
            seen.add(name)
            names.append(name)
    # Each student has an ability that carries over from one examination to the next, and a course:
    # some rise through the year, some fall back.
    abilities = [rng.gauss(76, 9) for _ in names]
    trends = [rng.gauss(0, 3) for _ in names]
    return names, abilities, trends


def marks_for(abilities, trends, exam, seed, shift, subjects):
    rng = random.Random(seed)
    added = random.Random(seed * 31 + 7)
    rows = []
    for ability, trend in zip(abilities, trends):
        level = ability + shift + trend * (exam - 1)
        row = {}
        for subject in SUBJECTS:
            offset, spread = SUBJECT_SHAPE[subject]
            row[subject] = max(25, min(100, int(round(rng.gauss(level + offset, spread)))))
        for subject in ADDED_SUBJECTS:
            offset, spread = SUBJECT_SHAPE[subject]
            row[subject] = max(25, min(100, int(round(added.gauss(level + offset, spread)))))
        rows.append([row[subject] for subject in subjects])
    # A student or two missed the exam.
    absent = set(rng.sample(range(len(abilities) - 1), rng.choice((1, 2))))
    return rows, absent


def competition_ranks(totals):
    """Highest first; equal totals share a rank and the next is skipped; None has no rank."""
    ranked = sorted(t for t in totals if t is not None)
    ranked.reverse()
    first = {}
    for place, total in enumerate(ranked):
        first.setdefault(total, place + 1)
    return [first[t] if t is not None else None for t in totals]


def data_file(title, klass, teacher, names, marks, absent, subjects):
    titles = ["姓名", "学号"] + subjects + ["总分", "平均", "名次"]
    refs = "+".join("cell(?,%d)" % (FIRST_SUBJECT_COL + i) for i in range(len(subjects)))
    total_formula = FORMULA + refs
    average_formula = FORMULA + "(" + refs + ")/%d" % len(subjects)
    cols = len(titles) + 1
    totals = [None if i in absent else sum(m) for i, m in enumerate(marks)]
    ranks = competition_ranks(totals)
    number = int(klass.strip("()班"))
    info = "%s%s，学生%d人" % (GRADE_WITH_TABLES, klass, len(names))
    lines = [DATA_MAGIC, title, str(len(names) + 1), str(cols), teacher, info, "###.##"]
    lines += ["  "] + titles
    for i, name in enumerate(names):
        lines += [str(i + 1), name, "2024%02d%02d" % (number, i + 1)]
        if i in absent:
            lines += [ABSENT] * (len(subjects) + 2) + [""]
        else:
            lines += [str(m) for m in marks[i]]
            lines += [total_formula, average_formula, str(ranks[i])]
    assert len(lines) == 7 + (len(names) + 1) * cols
    return crlf_gbk(lines)


def template_file(titles):
    def record(text):
        raw = text.encode("gbk")
        assert len(raw) <= 126
        return struct.pack("<H", len(raw)) + raw + b"\0" * (126 - len(raw))

    records = [TEMPLATE_MAGIC, str(len(titles) + 1), "  "] + titles
    return b"".join(record(r) for r in records)


# The grade's teachers (任课表) and the marking system's workbook of the last exam, made from the same data
# as the tables, so that they stay true to them when subjects or classes change.
GRADE_FOLDER_TEACHERS = "任课表"
WORKBOOK_EXAM = "期末考试"
WORKBOOK_NAME = "%s%s（全年级）.xlsx" % (GRADE_WITH_TABLES, WORKBOOK_EXAM)
WORKBOOK_TIME = (2025, 1, 20, 9, 30, 0)


def teacher_names():
    """A teacher for each subject and class; the first subject's teacher of the first class also teaches
    the second, as a teacher of two classes does."""
    rng = random.Random(20240820)
    seen, names = set(), {}
    for subject in ALL_SUBJECTS:
        for k, (klass, _, _, _) in enumerate(CLASSES):
            if subject == SUBJECTS[0] and k == 1:
                names[(klass, subject)] = names[(CLASSES[0][0], subject)]
                continue
            while True:
                name = rng.choice(SURNAMES) + "".join(rng.choice(GIVEN) for _ in range(2))
                if name not in seen:
                    break
            seen.add(name)
            names[(klass, subject)] = name
    return names


def teacher_table():
    titles = ["班级"] + ALL_SUBJECTS
    names = teacher_names()
    lines = [DATA_MAGIC, GRADE_WITH_TABLES + GRADE_FOLDER_TEACHERS, str(len(CLASSES) + 1), str(len(titles) + 1),
             "", "", "###.##", "  "] + titles
    for k, (klass, _, _, _) in enumerate(CLASSES):
        lines += [str(k + 1), klass] + [names[(klass, s)] for s in ALL_SUBJECTS]
    return crlf_gbk(lines)


def xml_text(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def column_name(index):
    name = ""
    index += 1
    while index:
        index, rest = divmod(index - 1, 26)
        name = chr(65 + rest) + name
    return name


def grade_workbook(latest_seed):
    """The last exam of the whole grade as a marking system exports it: a title row, then 考号, 班级 written
    "高一1班", 姓名, 学号 and the marks, class after class, 缺考 for a student who missed the exam."""
    exam = [i for i, t in enumerate(TABLES) if t[0] == WORKBOOK_EXAM][0]
    title, exam_seed, shift, _ = TABLES[exam]
    if exam == len(TABLES) - 1:
        exam_seed = latest_seed
    rows = []
    for k, (klass, count, _, seed) in enumerate(CLASSES):
        names, abilities, trends = students(count, seed)
        subjects = [s for s in ALL_SUBJECTS if (klass, title) != WITHOUT_PHYSICS or s != "物理"]
        marks, absent = marks_for(abilities, trends, exam, exam_seed + 100 * k, shift, subjects)
        number = int(klass.strip("()班"))
        for i, name in enumerate(names):
            row = ["25%02d%03d" % (number, i + 1), "%s%d班" % (GRADE_WITH_TABLES, number), name,
                   "2024%02d%02d" % (number, i + 1)]
            by_subject = dict(zip(subjects, marks[i]))
            row += [ABSENT if i in absent or s not in by_subject else by_subject[s] for s in ALL_SUBJECTS]
            rows.append(row)
    header = ["考号", "班级", "姓名", "学号"] + ALL_SUBJECTS
    last = column_name(len(header) - 1)

    def cell(ref, value, style):
        if isinstance(value, int):
            return '<c r="%s" s="%d"><v>%d</v></c>' % (ref, style, value)
        return '<c r="%s" s="%d" t="inlineStr"><is><t>%s</t></is></c>' % (ref, style, xml_text(value))

    sheet_rows = ['<row r="1">%s</row>' % cell("A1", GRADE_WITH_TABLES + WORKBOOK_EXAM, 1),
                  '<row r="2">%s</row>' % "".join(cell(column_name(c) + "2", h, 2) for c, h in enumerate(header))]
    for r, row in enumerate(rows, start=3):
        sheet_rows.append('<row r="%d">%s</row>' % (
            r, "".join(cell("%s%d" % (column_name(c), r), v, 0) for c, v in enumerate(row))))
    head = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    main_ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    rel_ns = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
    parts = [
        ("[Content_Types].xml", head +
         '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
         '<Default Extension="xml" ContentType="application/xml"/>'
         '<Override PartName="/xl/workbook.xml" '
         'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
         '<Override PartName="/xl/worksheets/sheet1.xml" '
         'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
         '<Override PartName="/xl/styles.xml" '
         'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
         '</Types>'),
        ("_rels/.rels", head +
         '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
         '<Relationship Id="rId1" '
         'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" '
         'Target="xl/workbook.xml"/></Relationships>'),
        ("xl/workbook.xml", head + '<workbook %s %s><sheets><sheet name="成绩" sheetId="1" r:id="rId1"/>'
         '</sheets></workbook>' % (main_ns, rel_ns)),
        ("xl/_rels/workbook.xml.rels", head +
         '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
         '<Relationship Id="rId1" '
         'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" '
         'Target="worksheets/sheet1.xml"/>'
         '<Relationship Id="rId2" '
         'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" '
         'Target="styles.xml"/></Relationships>'),
        ("xl/styles.xml", head + '<styleSheet %s>'
         '<fonts count="3"><font><sz val="11"/><name val="宋体"/></font>'
         '<font><b/><sz val="14"/><name val="黑体"/></font><font><b/><sz val="11"/><name val="宋体"/></font></fonts>'
         '<fills count="2"><fill><patternFill patternType="none"/></fill>'
         '<fill><patternFill patternType="gray125"/></fill></fills>'
         '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
         '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
         '<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
         '<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/>'
         '<xf numFmtId="0" fontId="2" fillId="0" borderId="0" xfId="0" applyFont="1"/></cellXfs>'
         '</styleSheet>' % main_ns),
        ("xl/worksheets/sheet1.xml", head + '<worksheet %s %s><dimension ref="A1:%s%d"/>'
         '<sheetData>%s</sheetData><mergeCells count="1"><mergeCell ref="A1:%s1"/></mergeCells></worksheet>'
         % (main_ns, rel_ns, last, len(rows) + 2, "".join(sheet_rows), last)),
    ]
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as book:
        for name, text in parts:
            info = zipfile.ZipInfo(name, date_time=WORKBOOK_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            book.writestr(info, text.encode("utf-8"))
    return buffer.getvalue()


def set_exam_times(out):
    """Gives every class's tables the day of their exam as modification time."""
    import datetime
    for klass, _, _, _ in CLASSES:
        folder = os.path.join(out, "表格数据", SCHOOL, GRADE_WITH_TABLES, klass)
        for title, _, _, day in TABLES:
            path = os.path.join(folder, title + ".skv")
            if os.path.exists(path):
                stamp = datetime.datetime.strptime(day, "%Y-%m-%d %H:%M").timestamp()
                os.utime(path, (stamp, stamp))


def borderline_in_every_class(totals_by_class):
    """True when every class has students just below and just above the line the 上线分析 and 临界生 windows
    offer the first time: 一本 at the total of place 15 % (rounded half up) of the grade's students who sat
    the exam, 20 below and 10 above it."""
    everyone = sorted((t for totals in totals_by_class for t in totals if t is not None), reverse=True)
    line = everyone[max(1, (15 * len(everyone) + 50) // 100) - 1]
    for totals in totals_by_class:
        near = [t - line for t in totals if t is not None and line - 20 <= t < line + 10]
        if not any(d < 0 for d in near) or not any(d >= 0 for d in near):
            return False
    return True


def latest_exam_seed():
    """The seed of the latest exam's marks: the first from its own whose draw leaves students on both sides
    of that line in every class, so that the grade's windows show 临界生 everywhere with their defaults."""
    exam = len(TABLES) - 1
    title, seed, shift, _ = TABLES[exam]
    while True:
        totals = []
        for k, (klass, count, _, class_seed) in enumerate(CLASSES):
            _, abilities, trends = students(count, class_seed)
            subjects = [s for s in ALL_SUBJECTS if (klass, title) != WITHOUT_PHYSICS or s != "物理"]
            marks, absent = marks_for(abilities, trends, exam, seed + 100 * k, shift, subjects)
            totals.append([None if i in absent else sum(m) for i, m in enumerate(marks)])
        if borderline_in_every_class(totals):
            return seed
        seed += 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--outdir", default=os.path.join(here, "..", "examples"))
    parser.add_argument("--times-only", action="store_true", help="only give the tables their exam dates")
    args = parser.parse_args()
    out = os.path.normpath(args.outdir)
    if args.times_only:
        set_exam_times(out)
        return

    write(os.path.join(out, "SchoolInfo.ini"), school_file())
    latest_seed = latest_exam_seed()
    for k, (klass, count, teacher, seed) in enumerate(CLASSES):
        names, abilities, trends = students(count, seed)
        folder = os.path.join(out, "表格数据", SCHOOL, GRADE_WITH_TABLES, klass)
        for exam, (title, exam_seed, shift, _) in enumerate(TABLES):
            subjects = [s for s in ALL_SUBJECTS if (klass, title) != WITHOUT_PHYSICS or s != "物理"]
            if exam == len(TABLES) - 1:
                exam_seed = latest_seed
            marks, absent = marks_for(abilities, trends, exam, exam_seed + 100 * k, shift, subjects)
            caption = "%s%s%s成绩表" % (GRADE_WITH_TABLES, klass, title)
            write(os.path.join(folder, title + ".skv"),
                  data_file(caption, klass, teacher, names, marks, absent, subjects))
    write(os.path.join(out, "表格模版", "考试成绩.templet"), template_file(TITLES))
    write(os.path.join(out, "表格数据", SCHOOL, GRADE_WITH_TABLES, GRADE_FOLDER_TEACHERS + ".skv"), teacher_table())
    write(os.path.join(out, WORKBOOK_NAME), grade_workbook(latest_seed))
    set_exam_times(out)
    print("sample school written to", out)


if __name__ == "__main__":
    main()
