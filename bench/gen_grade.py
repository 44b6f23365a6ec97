#!/usr/bin/env python3
"""Writes a city's joint exam as one grade folder: CLASSES class folders of STUDENTS students each, every
class holding the same table 期中考试.skv (姓名, 学号, ten subjects among them 化学, 生物, 政治 and 地理,
总分 and 平均 as formulas), in the system's data file format (GBK, CR LF). Deterministic.

    python3 bench/gen_grade.py OUTDIR [--classes 4000] [--students 50] [--seed 1]

The grade folder is OUTDIR/表格数据/联考/高一; its total size in bytes is printed.
"""

import argparse
import os
import random

SUBJECTS = ["语文", "数学", "英语", "物理", "化学", "生物", "政治", "历史", "地理", "体育"]
SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁"
GIVEN = "伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉萍红建文辉力宇鹏浩然欣怡子涵雨轩梓晨思博嘉琪"


def table(number, students, rng):
    first = 3  # grid column of the first subject
    refs = "+".join("cell(?,%d)" % (first + i) for i in range(len(SUBJECTS)))
    titles = ["姓名", "学号"] + SUBJECTS + ["总分", "平均"]
    cols = len(titles) + 1
    lines = ["KVL'S Scorvane数据文件", "联考(%d)班期中考试" % number, str(students + 1), str(cols), "",
             "(%d)班" % number, "###.##", "  "] + titles
    for r in range(1, students + 1):
        name = rng.choice(SURNAMES) + "".join(rng.choice(GIVEN) for _ in range(rng.choice((1, 2))))
        ability = rng.gauss(72, 12)
        lines += [str(r), name, "%d%05d" % (number, r)]
        for _ in SUBJECTS:
            lines.append(str(max(0, min(100, int(round(rng.gauss(ability, 10)))))))
        lines += ["！公式：" + refs, "！公式：(" + refs + ")/%d" % len(SUBJECTS)]
    return "".join(line + "\r\n" for line in lines).encode("gbk")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("outdir")
    parser.add_argument("--classes", type=int, default=4000)
    parser.add_argument("--students", type=int, default=50)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    grade = os.path.join(args.outdir, "表格数据", "联考", "高一")
    total = 0
    for k in range(1, args.classes + 1):
        folder = os.path.join(grade, "(%d)班" % k)
        os.makedirs(folder, exist_ok=True)
        data = table(k, args.students, rng)
        with open(os.path.join(folder, "期中考试.skv"), "wb") as f:
            f.write(data)
        total += len(data)
    print(total)


if __name__ == "__main__":
    main()
