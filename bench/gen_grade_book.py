#!/usr/bin/env python3
"""Writes a workspace with one grade of CLASSES classes (一中/高一/(1)班 …) and, beside it, the whole
grade's marks as one grade table (STUDENTS students per class, the classes' rows mixed, highest total first,
as a marking system lists them): 考号, 班级 ("高一3班"), 姓名, 学号 and nine subjects; and the grade's 任课表
(a teacher per subject teaching two classes). Deterministic.

    python3 bench/gen_grade_book.py OUTDIR [CLASSES (30)] [STUDENTS (60)]

OUTDIR/ws is the workspace, OUTDIR/whole.skv the grade table (turn it into a workbook with
`scorvane-cli xlsx OUTDIR/whole.skv -o OUTDIR/whole.xlsx`).
"""

import os
import random
import sys

SUBJECTS = ["语文", "数学", "英语", "物理", "化学", "生物", "政治", "历史", "地理"]
MAGIC = "KVL'S Scorvane数据文件"


def table(title, titles, rows):
    lines = [MAGIC, title, str(len(rows) + 1), str(len(titles) + 1), "", "", "###.##", "  "] + titles
    for i, row in enumerate(rows):
        lines += [str(i + 1)] + [str(v) for v in row]
    return "".join(line + "\r\n" for line in lines).encode("gb18030")


def main():
    out = sys.argv[1]
    classes = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    students = int(sys.argv[3]) if len(sys.argv) > 3 else 60
    rng = random.Random(42)
    grade = os.path.join(out, "ws", "表格数据", "一中", "高一")
    names = ["(%d)班" % (k + 1) for k in range(classes)]
    for name in names:
        os.makedirs(os.path.join(grade, name), exist_ok=True)
    school = ["[School]", "Name=一中", "Grade=0", "Grade0=高一", "Grade0Class=%d" % (classes - 1), "[Grade0]"]
    school += ["Class%d=%s" % (k, name) for k, name in enumerate(names)]
    with open(os.path.join(out, "ws", "SchoolInfo.ini"), "wb") as f:
        f.write("".join(line + "\r\n" for line in school).encode("gb18030"))

    rows = []
    for k in range(classes):
        for s in range(students):
            marks = [min(100, max(0, int(rng.gauss(72, 14)))) for _ in SUBJECTS]
            if rng.random() < 0.01:
                marks = ["缺考"] * len(SUBJECTS)
            rows.append(["25%02d%03d" % (k + 1, s + 1), "高一%d班" % (k + 1), "学生%d_%d" % (k + 1, s + 1),
                         "2024%02d%03d" % (k + 1, s + 1)] + marks)
    rows.sort(key=lambda r: -sum(m for m in r[4:] if isinstance(m, int)))
    with open(os.path.join(out, "whole.skv"), "wb") as f:
        f.write(table("高一期中考试", ["考号", "班级", "姓名", "学号"] + SUBJECTS, rows))

    teachers = [[name] + ["%s老师%d" % (subject, k // 2 + 1) for subject in SUBJECTS] for k, name in enumerate(names)]
    with open(os.path.join(grade, "任课表.skv"), "wb") as f:
        f.write(table("高一任课表", ["班级"] + SUBJECTS, teachers))


if __name__ == "__main__":
    main()
