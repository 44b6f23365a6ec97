#include "main/formula/formula_box_check.h"

#include <gtest/gtest.h>

#include "support/scripted_prompter.h"

namespace scorvane {
namespace {

TEST(FormulaBoxCheckTest, ARefusalIsToldOnceWhileTheTypedTextStaysRefused) {
    GradeTable copy(3, 4);
    copy.setCell(2, 1, "2");
    copy.setCell(2, 2, "4");
    copy.setCell(1, 3, "！公式：cell(?,1)+cell(?,2)");
    testing::ScriptedPrompter prompter;
    FormulaBoxCheck box;
    auto check = [&](const char* formula, bool generated) {
        return box.check(copy, formula, {2, 3}, generated, prompter);
    };

    EXPECT_EQ(check("  ", false), (FormulaCheck{false, ""}));  // nothing to accept
    EXPECT_EQ(check("cell(?,1)+cell(1,?)", true), (FormulaCheck{false, ""}));
    EXPECT_EQ(check("cell(?,1)+cell(1,?)+1", false), (FormulaCheck{false, ""}));  // typed on: not told
    EXPECT_EQ(prompter.messages().size(), 1u);
    check("cell(1,?)", true);  // another selection is told again
    EXPECT_EQ(check("cell(?,1)*cell(?,2)", false), (FormulaCheck{true, "8"}));
    check("cell(1,3)", false);  // typed anew into a refusal: told
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>(3, "公式中不可以引用已经包含公式的单元格！")));
}

}  // namespace
}  // namespace scorvane
