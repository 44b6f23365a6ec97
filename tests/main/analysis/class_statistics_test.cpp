#include "main/analysis/class_statistics.h"

#include <gtest/gtest.h>

#include "support/sample_table.h"

namespace scorvane {
namespace {

using testing::MakeTable;
using Strings = std::vector<std::string>;

constexpr const char* kTotal = "！公式：cell(?,3)+cell(?,4)";

// Marks with empty cells, the three absence marks, text, decimals and formula cells (a failing one where
// a mark is an absence mark), and a row with nothing but its formula.
GradeTable Exam() {
    return MakeTable({"姓名", "学号", "语文", "数学", "总分", "备注"},
                     {{"甲", "01", "90", "58.5", kTotal, "转学"},
                      {"乙", "02", "60", "缺考", kTotal},
                      {"丙", "03", "", "85", kTotal},
                      {"丁", "04", " 39.5 ", "免考", kTotal},
                      {"戊", "05", "缓考", "71.25", kTotal},
                      {"己", "06", "85", "  ", kTotal},
                      {"", "", "", "", kTotal}},
                     "期中");
}

Strings Row(const GradeTable& t, int row) {
    Strings out;
    for (int c = 1; c < t.cols(); ++c) {
        out.push_back(t.cell(row, c));
    }
    return out;
}

AnalysisSettings Read(const GradeTable& t, AnalysisTexts texts) {
    AnalysisSettings s;
    EXPECT_EQ(ReadAnalysisTexts(texts, t.fieldTitles(), DefaultStatisticsFields(t), s), std::nullopt);
    return s;
}

TEST(ClassStatistics, ReadsMarksAndAbsenceMarks) {
    struct Case {
        const char* text;
        bool mark;
        double value;
        bool absent;
    };
    for (const Case& c :
         {Case{" 85 ", true, 85, false}, Case{"+5", true, 5, false}, Case{"-3", true, -3, false},
          Case{".5", true, 0.5, false}, Case{"5.", true, 5, false}, Case{"007", true, 7, false},
          Case{"1e3", false, 0, false}, Case{"85分", false, 0, false}, Case{".", false, 0, false},
          Case{"", false, 0, false}, Case{" 缺考", false, 0, true}, Case{"免考", false, 0, true},
          Case{"缓考 ", false, 0, true}, Case{"请假", false, 0, false}}) {
        double value = 0;
        EXPECT_EQ(ReadMark(c.text, value), c.mark) << c.text;
        if (c.mark) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        EXPECT_EQ(IsAbsenceMark(c.text), c.absent) << c.text;
    }
}

TEST(ClassStatistics, FormulaCellsCountThroughTheirValues) {
    GradeTable t =
        MakeTable({"姓名", "语文", "数学", "总分"}, {{"甲", "0", "0", "！公式：cell(?,2)+cell(?,3)"},
                                                     {"乙", "0.25", "0.25", "！公式：cell(?,2)+cell(?,3)"},
                                                     {"丙", "缺考", "1", "！公式：cell(?,2)+cell(?,3)"},
                                                     {"丁", "1", "1", "！公式：cell(?,?)"},
                                                     {"", "", "", "！公式：cell(?,2)+7"}});
    // 0 shows as nothing and .5 without its 0; both are marks. A failing formula, a self-reference and a
    // formula in a row without a student are neither marks nor text.
    const FieldMarks m = CollectFieldMarks(t, 4);
    EXPECT_EQ(m.marks, (std::vector<double>{0, 0.5}));
    EXPECT_EQ(m.absent, 0);
    EXPECT_TRUE(m.texts.empty());
}

TEST(ClassStatistics, DefaultFieldsHoldMarksAndAreNoIdentifiersOrRanks) {
    EXPECT_EQ(DefaultStatisticsFields(Exam()), (Strings{"语文", "数学", "总分"}));
    // 英语 holds no mark, 体育 nothing; 语文's one text mark leaves it a field of marks.
    GradeTable t = MakeTable({"座号", "名次", "班级排名", "英语", "体育", "语文"},
                             {{"1", "2", "3", "缺考", "", "良"}, {"2", "1", "1", "免考", "", "90"}});
    EXPECT_EQ(DefaultStatisticsFields(t), (Strings{"语文"}));
}

TEST(ClassStatistics, EachFigureOfEachField) {
    AnalysisTexts texts;
    texts.fieldFullMarks = {{"总分", "200"}};
    const ClassStatistics s = ComputeClassStatistics(Exam(), Read(Exam(), texts));
    EXPECT_EQ(s.figures.title, "期中 成绩统计");
    EXPECT_EQ(Row(s.figures, 0),
              (Strings{"科目", "参考人数", "平均分", "最高分", "最低分", "标准差", "及格人数", "及格率",
                       "优秀人数", "优秀率", "低分人数", "低分率", "缺考人数"}));
    // 语文 90 60 39.5 85: mean 274.5 / 4; squares about it 456.890625 + 74.390625 + 848.265625 +
    // 268.140625 = 1647.6875, / 4 = 411.921875, root 20.2959.
    EXPECT_EQ(Row(s.figures, 1), (Strings{"语文", "4", "68.63", "90.00", "39.50", "20.30", "3", "75.00%", "2",
                                          "50.00%", "1", "25.00%", "1"}));
    // 数学 58.5 85 71.25: mean 214.75 / 3; squares 171.17 + 180.01 + 0.11 = 351.29, / 3, root 10.821.
    EXPECT_EQ(Row(s.figures, 2), (Strings{"数学", "3", "71.58", "85.00", "58.50", "10.82", "2", "66.67%", "1",
                                          "33.33%", "0", "0.00%", "2"}));
    // 总分 148.5 85 85 of 200: pass line 120, excellent 170, low 80.
    EXPECT_EQ(Row(s.figures, 3), (Strings{"总分", "3", "106.17", "148.50", "85.00", "29.93", "1", "33.33%",
                                          "0", "0.00%", "0", "0.00%", "0"}));
    EXPECT_EQ(s.figures.rows(), 4);
    EXPECT_EQ(s.figures.cell(3, 0), "3");
    EXPECT_EQ(s.figures.headerLayout(),
              "  |科目|参考人数|平均分|最高分|最低分|标准差|及格人数|及格率|优秀人数|"
              "优秀率|低分人数|低分率|缺考人数");
}

TEST(ClassStatistics, StandardDeviationIsThePopulationOne) {
    GradeTable t = MakeTable({"分"}, {{"2"}, {"4"}, {"4"}, {"4"}, {"5"}, {"5"}, {"7"}, {"9"}});
    // Squares about the mean 5: 9+1+1+1+0+0+4+16 = 32; 32 / 8 = 4 gives 2 (32 / 7 would give 2.14).
    EXPECT_EQ(ComputeClassStatistics(t, Read(t, {})).figures.cell(1, 6), "2.00");
}

TEST(ClassStatistics, MarksExactlyOnEachLine) {
    // Full marks 150 with lines 60 / 85 / 40: pass at 90, excellent at 127.5, low below 60.
    GradeTable t = MakeTable({"数学"}, {{"127.5"}, {"127.4"}, {"90"}, {"89.9"}, {"60"}, {"59.9"}});
    AnalysisTexts texts;
    texts.fullMarks = "150";
    Strings row = Row(ComputeClassStatistics(t, Read(t, texts)).figures, 1);
    EXPECT_EQ(row[6], "3");   // 及格: 127.5 127.4 90
    EXPECT_EQ(row[8], "1");   // 优秀: 127.5
    EXPECT_EQ(row[10], "1");  // 低分: 59.9
    // Lines of one's own: pass 50, excellent 90, low 30 of 100.
    GradeTable u = MakeTable({"语文"}, {{"90"}, {"89.5"}, {"50"}, {"49.5"}, {"30"}, {"29.5"}});
    texts = {};
    texts.pass = "50";
    texts.excellent = "90";
    texts.low = "30";
    row = Row(ComputeClassStatistics(u, Read(u, texts)).figures, 1);
    EXPECT_EQ(row[6], "3");
    EXPECT_EQ(row[8], "1");
    EXPECT_EQ(row[10], "1");
}

TEST(ClassStatistics, BandsIncludeTheFullMarkAndZero) {
    GradeTable t = MakeTable({"语文"}, {{"100"}, {"105"}, {"90"}, {"89.5"}, {"10"}, {"9.99"}, {"0"}, {"-2"}});
    const GradeTable bands = ComputeClassStatistics(t, Read(t, {})).bands;
    EXPECT_EQ(bands.title, "T 分数段");
    EXPECT_EQ(Row(bands, 0), (Strings{"科目", "满分人数", "90%～100%", "80%～90%", "70%～80%", "60%～70%",
                                      "50%～60%", "40%～50%", "30%～40%", "20%～30%", "10%～20%", "0～10%"}));
    EXPECT_EQ(Row(bands, 1), (Strings{"语文", "2", "1", "1", "0", "0", "0", "0", "0", "0", "1", "3"}));
    // Full marks 150 in bands of 15 %: 22.5 marks each, the highest from 90 % (135) to 100 %.
    GradeTable u = MakeTable({"数学"}, {{"150"}, {"135"}, {"134.9"}, {"22.5"}, {"22.4"}});
    AnalysisTexts texts;
    texts.fullMarks = "150";
    texts.bandWidth = "15";
    const GradeTable wide = ComputeClassStatistics(u, Read(u, texts)).bands;
    EXPECT_EQ(Row(wide, 0), (Strings{"科目", "满分人数", "90%～100%", "75%～90%", "60%～75%", "45%～60%",
                                     "30%～45%", "15%～30%", "0～15%"}));
    EXPECT_EQ(Row(wide, 1), (Strings{"数学", "1", "1", "1", "0", "0", "0", "1", "1"}));
}

TEST(ClassStatistics, FieldWithoutNumbersGivesEmptyFigures) {
    AnalysisTexts texts;
    texts.fields = {"备注"};
    const ClassStatistics s = ComputeClassStatistics(Exam(), Read(Exam(), texts));
    EXPECT_EQ(Row(s.figures, 1), (Strings{"备注", "0", "", "", "", "", "0", "", "0", "", "0", "", "0"}));
    EXPECT_EQ(Row(s.bands, 1), (Strings{"备注", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST(ClassStatistics, BadSettingsAreRefusedWithTheirMessage) {
    struct Case {
        AnalysisTexts texts;
        std::string message;
    };
    auto with = [](auto change) {
        AnalysisTexts t;
        change(t);
        return t;
    };
    const std::vector<Case> cases = {
        {with([](AnalysisTexts& t) { t.fields = {"物理"}; }), "表格中没有字段“物理”！"},
        {with([](AnalysisTexts& t) {
             t.fieldFullMarks = {{"化学", "100"}};
         }),
         "表格中没有字段“化学”！"},
        {with([](AnalysisTexts& t) { t.fullMarks = "0"; }), "“语文”的满分必须是大于 0 的数！"},
        {with([](AnalysisTexts& t) {
             t.fieldFullMarks = {{"数学", "-5"}};
         }),
         "“数学”的满分必须是大于 0 的数！"},
        {with([](AnalysisTexts& t) { t.fullMarks = "满分"; }), "“语文”的满分必须是大于 0 的数！"},
        {with([](AnalysisTexts& t) { t.pass = "101"; }), std::string(kLinesOutOfRangeMessage)},
        {with([](AnalysisTexts& t) { t.low = "-1"; }), std::string(kLinesOutOfRangeMessage)},
        {with([](AnalysisTexts& t) { t.excellent = "八十五"; }), std::string(kLinesOutOfRangeMessage)},
        {with([](AnalysisTexts& t) { t.pass = "90"; }), "及格线不能高于优秀线！"},
        {with([](AnalysisTexts& t) {
             t.pass = "81";
             t.excellent = "80";
         }),
         "及格线不能高于优秀线！"},
        {with([](AnalysisTexts& t) { t.bandWidth = "0.5"; }), std::string(kBandWidthMessage)},
        {with([](AnalysisTexts& t) { t.bandWidth = "101"; }), std::string(kBandWidthMessage)},
    };
    const GradeTable t = Exam();
    for (const Case& c : cases) {
        AnalysisSettings s;
        s.fields = {"kept"};
        EXPECT_EQ(ReadAnalysisTexts(c.texts, t.fieldTitles(), DefaultStatisticsFields(t), s), c.message);
        EXPECT_EQ(s.fields, Strings{"kept"});
    }
    AnalysisSettings s;
    EXPECT_EQ(ReadAnalysisTexts({}, t.fieldTitles(), {}, s), std::string(kNoFieldChosenMessage));
    // A pass line equal to the excellent line is sound.
    s = Read(t, with([](AnalysisTexts& t) { t.pass = t.excellent = "80"; }));
    EXPECT_EQ(s.lines.pass, 80);
    // The defaults: every default field of 100 marks, lines 60 / 85 / 40, bands of 10.
    s = Read(t, {});
    EXPECT_EQ(s.fields, (Strings{"语文", "数学", "总分"}));
    EXPECT_EQ(s.fullMarks, (std::vector<double>{100, 100, 100}));
    EXPECT_EQ(s.lines.pass, 60);
    EXPECT_EQ(s.lines.excellent, 85);
    EXPECT_EQ(s.lines.low, 40);
    EXPECT_EQ(s.bandWidth, 10);
}

TEST(ClassStatistics, TotalsAndAveragesAreReadFromTheirFormulas) {
    // Columns: 1 姓名, 2 语文, 3 数学, 4 英语, 5 the formula's field, 6 备注.
    struct Case {
        std::string formula;
        FieldDerivation::Kind kind;
        Strings fields;
    };
    using K = FieldDerivation::Kind;
    const std::vector<Case> cases = {
        {"cell(?,2)+cell(?,3)+cell(?,4)", K::Sum, {"语文", "数学", "英语"}},
        {" CELL( ?, 2 ) + Cell(?,3)", K::Sum, {"语文", "数学"}},
        {"cell(1,2)+cell(1,3)", K::Sum, {"语文", "数学"}},  // its own row by number
        {"(cell(?,2)+cell(?,3)+cell(?,4))/3", K::Average, {"语文", "数学", "英语"}},
        {"(cell(?,2)+cell(?,3))", K::None, {}},
        {"(cell(?,2)+cell(?,3))/3", K::None, {}},  // not divided by the count
        {"(cell(?,2)+cell(?,3))/2+1", K::None, {}},
        {"cell(?,2)+cell(?,3)/2", K::None, {}},
        {"cell(?,2)-cell(?,3)", K::None, {}},
        {"cell(?,2)*cell(?,3)", K::None, {}},
        {"cell(?,2)+5", K::None, {}},
        {"cell(2,2)+cell(2,3)", K::None, {}},  // another student's row
        {"cell(?,5)+cell(?,2)", K::None, {}},  // itself
        {"cell(?,0)+cell(?,2)", K::None, {}},  // the row numbers
        {"cell(?,2)+cell(?,9)", K::None, {}},  // outside the table
        {"cell(?,2)++cell(?,3)", K::None, {}},
        {"", K::None, {}},
    };
    for (const Case& c : cases) {
        GradeTable t =
            MakeTable({"姓名", "语文", "数学", "英语", "总", "备注"},
                      {{"甲", "80", "90", "70", "！公式：" + c.formula}, {"乙", "60", "60", "60", ""}});
        const FieldDerivation d = DeriveField(t, 5);
        EXPECT_EQ(d.kind, c.kind) << c.formula;
        EXPECT_EQ(d.fields, c.fields) << c.formula;
    }
    // Every formula of the column must say the same; cells without one are passed over.
    GradeTable mixed = MakeTable({"语文", "数学", "总分"}, {{"1", "2", "！公式：cell(?,1)+cell(?,2)"},
                                                            {"3", "4", "7"},
                                                            {"5", "6", "！公式：cell(?,1)+cell(?,1)"}});
    EXPECT_EQ(DeriveField(mixed, 3).kind, K::None);
    mixed.setCell(3, 3, "！公式：cell(3,1)+cell(?,2)");
    EXPECT_EQ(DeriveFields(mixed), (DerivedFields{{"总分", {K::Sum, {"语文", "数学"}}}}));
}

TEST(ClassStatistics, FullMarksOfTotalsAndAveragesFollowTheirFields) {
    const DerivedFields derived = {{"总分", {FieldDerivation::Kind::Sum, {"语文", "数学", "英语"}}},
                                   {"平均", {FieldDerivation::Kind::Average, {"语文", "数学"}}}};
    struct Case {
        std::string field;
        std::vector<std::pair<std::string, std::string>> own;
        std::string common, offered;
    };
    const std::vector<Case> cases = {
        {"总分", {}, "100", "300"},
        {"总分", {{"语文", "150"}, {"数学", "150"}}, "100", "400"},
        {"总分", {{"总分", "750"}, {"语文", "150"}}, "100", "750"},  // its own wins
        {"平均", {{"语文", "150"}}, "100", "125"},
        {"平均", {{"语文", "120"}, {"数学", "105"}}, "100", "112.5"},
        {"平均", {}, "120", "120"},
        {"总分", {{"英语", "满分"}}, "100", "100"},  // a part that is no number: the common marks
        {"语文", {{"语文", "150"}}, "100", "150"},
        {"物理", {{"语文", "150"}}, "100", "100"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OfferedFullMarks(c.field, c.own, c.common, derived), c.offered) << c.field << c.offered;
    }
    // Reading the settings offers the same; the sample's total and average are right by default.
    AnalysisTexts texts;
    texts.derived = derived;
    texts.fieldFullMarks = {{"语文", "150"}};
    AnalysisSettings s;
    ASSERT_EQ(ReadAnalysisTexts(texts, {"语文", "数学", "英语", "总分", "平均"},
                                {"语文", "数学", "英语", "总分", "平均"}, s),
              std::nullopt);
    EXPECT_EQ(s.fullMarks, (std::vector<double>{150, 100, 100, 350, 125}));
}

TEST(ClassStatistics, ResultsSayHowTheyWereMadeAndMarksAboveFullMarksAreNamed) {
    GradeTable t = MakeTable({"语文", "数学"}, {{"120", "101"}, {"150", "100"}, {"151", "99.5"}});
    t.classInfo = "高一(1)班，学生3人";
    AnalysisTexts texts;
    texts.fieldFullMarks = {{"语文", "150"}};
    texts.pass = "60.5";
    const AnalysisSettings settings = Read(t, texts);
    const ClassStatistics s = ComputeClassStatistics(t, settings);
    const std::string made = "高一(1)班，学生3人；满分：语文 150，数学 100；及格 60.5%，优秀 85%，低分 40%";
    EXPECT_EQ(s.figures.classInfo, made);
    EXPECT_EQ(s.bands.classInfo, made);
    t.classInfo = " ";
    EXPECT_EQ(ComputeClassStatistics(t, settings).figures.classInfo, made.substr(made.find("满分")));
    EXPECT_EQ(ClassMarksAboveFullMarks(t, settings),
              "“语文”有 1 个成绩高于满分 150，“数学”有 1 个成绩高于满分 100，请检查满分设置。");
    texts.fieldFullMarks = {{"语文", "151"}, {"数学", "101"}};
    EXPECT_EQ(ClassMarksAboveFullMarks(t, Read(t, texts)), "");
}

}  // namespace
}  // namespace scorvane
