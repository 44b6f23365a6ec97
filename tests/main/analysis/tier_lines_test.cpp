#include "main/analysis/tier_lines.h"

#include <gtest/gtest.h>

#include <array>

namespace scorvane {
namespace {

using Strings = std::vector<std::string>;

TEST(TierLines, ArgumentsReadAndWriteNameAndScoreOrCount) {
    const std::vector<std::pair<std::string, std::optional<LineText>>> cases = {
        {"一本=520", LineText{"一本", LineKind::Score, "520"}},
        {" 本科 = 前300 ", LineText{"本科", LineKind::Count, "300"}},
        {"本科=前 300名", LineText{"本科", LineKind::Count, "300"}},
        {"本科＝300名", LineText{"本科", LineKind::Count, "300"}},
        {"特控=5=6", LineText{"特控", LineKind::Score, "5=6"}},
        {"特控＝5=6", LineText{"特控", LineKind::Score, "5=6"}},
        {"一=本＝5", LineText{"一", LineKind::Score, "本＝5"}},
        {"=520", LineText{"", LineKind::Score, "520"}},
        {"一本=名", LineText{"一本", LineKind::Count, ""}},
        {"一本520", std::nullopt},
    };
    for (const auto& [text, line] : cases) {
        EXPECT_EQ(ReadLineArgument(text), line) << text;
    }
    EXPECT_EQ(LineArgument({" 一本", LineKind::Score, "520 "}), "一本=520");
    EXPECT_EQ(LineArgument({"本科", LineKind::Count, "前300名"}), "本科=前300");
    EXPECT_EQ(UnreadableLineMessage("一本520"), "无法识别的分数线“一本520”，应写作 一本=520 或 一本=前150！");
}

TEST(TierLines, AScoreIsReachedAtOrAboveItACountAtTheTotalOfThatPositionWithAllTiedToIt) {
    const std::vector<double> totals = {145, 170, 90, 165, 170, 145, 130, 140};  // 170 170 165 145 145 140 130 90
    const std::vector<std::pair<std::string, double>> cases = {
        {"前1", 170}, {"前2", 170}, {"前3", 165}, {"前4", 145}, {"前5", 145}, {"前8", 90}, {"520", 520}, {"-1.5", -1.5}};
    for (const auto& [value, score] : cases) {
        std::vector<TierLine> lines;
        const std::optional<LineText> text = ReadLineArgument("一本=" + value);
        ASSERT_EQ(ResolveTierLines({*text}, totals, lines), std::nullopt) << value;
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].score, score) << value;
    }
    EXPECT_TRUE(AtOrAbove(520, 520));
    EXPECT_TRUE(AtOrAbove(519.99999999999994, 520));
    EXPECT_FALSE(AtOrAbove(519.9999, 520));
    EXPECT_FALSE(AtOrAbove(-0.0001, 0));
}

TEST(TierLines, LinesGoHighestFirstAndAreWrittenAsGiven) {
    std::vector<TierLine> lines;
    ASSERT_EQ(ResolveTierLines({{"本科", LineKind::Count, "5"},
                                {"", LineKind::Score, " "},
                                {"特控", LineKind::Score, "200"},
                                {"一本", LineKind::Count, "前2"},
                                {"二本", LineKind::Score, "170"}},
                               {170, 170, 165, 145, 145, 90}, lines),
              std::nullopt);
    Strings given;
    for (const TierLine& l : lines) {
        given.push_back(l.name + " " + LineGivenText(l));
    }
    // 一本 and 二本 both stand at 170: in the order given.
    EXPECT_EQ(given, (Strings{"特控 200", "一本 前2名", "二本 170", "本科 前5名"}));
}

TEST(TierLines, FaultsAreNamedBeforeAnythingIsComputed) {
    const std::vector<double> totals = {170, 160, 150};
    const std::vector<std::pair<std::vector<LineText>, std::string>> cases = {
        {{{"一本", LineKind::Score, "520"}, {" ", LineKind::Count, "3"}}, "第 2 条分数线没有名称！"},
        {{{"一=本", LineKind::Score, "520"}}, "分数线的名称“一=本”中不能有“=”！"},
        {{{"一本", LineKind::Score, "520"}, {" 一本", LineKind::Count, "1"}}, "有两条分数线都叫“一本”！"},
        {{{"1", LineKind::Score, "1"}, {"2", LineKind::Score, "1"}, {"3", LineKind::Score, "1"},
          {"4", LineKind::Score, "1"}, {"5", LineKind::Score, "1"}, {"6", LineKind::Score, "1"}},
         "最多只能设定 5 条分数线！"},
        {{}, "请至少设定一条分数线！"},
        {{{"", LineKind::Score, ""}}, "请至少设定一条分数线！"},
        {{{"一本", LineKind::Score, "五百"}}, "“一本”的分数“五百”不是数！"},
        {{{"一本", LineKind::Score, " "}}, "“一本”没有填写分数！"},
        {{{"一本", LineKind::Count, ""}}, "“一本”没有填写名次！"},
        {{{"一本", LineKind::Count, "1.5"}}, "“一本”的名次“1.5”必须是大于 0 的整数！"},
        {{{"一本", LineKind::Count, "0"}}, "“一本”的名次“0”必须是大于 0 的整数！"},
        {{{"一本", LineKind::Count, "4"}}, "“一本”的名次 4 超过了参考人数 3！"},
    };
    for (const auto& [texts, message] : cases) {
        std::vector<TierLine> lines{{"旧", LineKind::Score, 1, 1}};
        EXPECT_EQ(ResolveTierLines(texts, totals, lines), message);
        EXPECT_TRUE(lines.empty());
    }
    // Five lines are allowed, and a count of every student.
    std::vector<TierLine> lines;
    EXPECT_EQ(ResolveTierLines({{"1", LineKind::Score, "1"}, {"2", LineKind::Score, "1"}, {"3", LineKind::Score, "1"},
                                {"4", LineKind::Score, "1"}, {"5", LineKind::Count, "3"}},
                               totals, lines),
              std::nullopt);
    EXPECT_EQ(lines.size(), 5u);
}

TEST(TierLines, TheFirstLineIsFifteenPercentOfTheStudentsHalfUp) {
    const std::vector<std::pair<int, std::string>> cases = {{130, "20"}, {131, "20"}, {10, "2"}, {90, "14"},
                                                            {8, "1"},    {3, "1"},    {1, "1"}};
    for (const auto& [students, count] : cases) {
        EXPECT_EQ(DefaultTierLine(students), (LineText{"一本", LineKind::Count, count})) << students;
    }
    EXPECT_EQ(DefaultTierLine(0), std::nullopt);
}

TEST(TierLines, TheSameShareCountIsRoundedHalfUpAndAtLeastOne) {
    // {reaching, taking part, with a mark} -> k
    const std::vector<std::pair<std::array<int, 3>, int>> cases = {
        {{1, 2, 5}, 3},  {{2, 8, 7}, 2}, {{2, 8, 9}, 2},  {{5, 8, 7}, 4}, {{5, 8, 9}, 6},  {{1, 7, 1}, 1},
        {{7, 7, 6}, 6}, {{0, 7, 6}, 1}, {{3, 10, 5}, 2}, {{1, 4, 2}, 1}, {{1, 0, 5}, 0}, {{1, 5, 0}, 0}};
    for (const auto& [in, k] : cases) {
        EXPECT_EQ(SameShareCount(in[0], in[1], in[2]), k) << in[0] << "/" << in[1] << "×" << in[2];
    }
}

TEST(TierLines, TheEffectiveMarkIsTheKthHighestEqualMarksEachTakingAPosition) {
    const std::vector<double> marks = {80, 85, 70, 90, 85};  // 90 85 85 80 70
    // {reaching, taking part} -> the 有效分
    const std::vector<std::pair<std::pair<int, int>, std::optional<double>>> cases = {
        {{1, 2}, 85},  // k = 2.5 -> 3: the second 85
        {{2, 5}, 85}, {{4, 5}, 80}, {{3, 10}, 85}, {{1, 10}, 90}, {{1, 20}, 90}, {{5, 5}, 70}, {{0, 5}, std::nullopt}};
    for (const auto& [in, mark] : cases) {
        EXPECT_EQ(EffectiveMark(marks, in.first, in.second), mark) << in.first << "/" << in.second;
    }
    EXPECT_EQ(EffectiveMark({}, 1, 2), std::nullopt);
    EXPECT_EQ(EffectiveMark(marks, 1, 0), std::nullopt);
}

}  // namespace
}  // namespace scorvane
