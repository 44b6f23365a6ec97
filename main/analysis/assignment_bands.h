#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// The band table of 等级赋分: the bands from the top down, each with its share of the cohort and the
// range of converted scores its students get. Provinces differ, so the table is edited and remembered;
// as text it reads "A=15:100-86,B=35:85-71,C=35:70-56,D=13:55-41,E=2:40-30".

struct AssignmentBand {
    std::string name;
    int shareHundredths = 0;  // the share in hundredths of a per cent: 15 % is 1500
    int top = 0;              // the highest converted score (T2)
    int bottom = 0;           // the lowest converted score (T1)
};
using AssignmentBands = std::vector<AssignmentBand>;

// A 15 % 100–86, B 35 % 85–71, C 35 % 70–56, D 13 % 55–41, E 2 % 40–30.
AssignmentBands DefaultAssignmentBands();

// One row of the table as typed: the band's name, its share in per cent, the highest and the lowest
// converted score.
struct BandRowText {
    std::string name;
    std::string share;
    std::string top;
    std::string bottom;
};
std::vector<BandRowText> BandRowTexts(const AssignmentBands& bands);

// Reads the rows (row 1 first; a row left wholly blank is passed over) and checks them. In this order:
// each row has a name, not that of a row before, a share above 0 with at most two decimals, and a range
// of two whole numbers from 0 to 10000, the higher first; each range lies below the one of the row
// before it (no overlap, the top band first); the shares add up to 100; there is a row at all. Returns
// the first fault's message, naming its row ("赋分规则第 2 行（B）…"; `unit` is how a row is called:
// "行" in the window, "项" for the items of a text), or nothing when the table is sound.
std::optional<std::string> ReadBandRows(const std::vector<BandRowText>& rows, AssignmentBands& out,
                                        std::string_view unit = "行");

// The table as text, and the same read back: items "NAME=SHARE:TOP-BOTTOM" joined by "," (a full-width
// "，" or "：" typed instead is read alike, blanks around the parts are dropped). An item that is not so
// written is named in the message; then ReadBandRows checks the items.
std::string AssignmentBandsText(const AssignmentBands& bands);
std::optional<std::string> ReadAssignmentBandsText(std::string_view text, AssignmentBands& out);

// A share as the tables write it: "15", "2.5", "12.25".
std::string ShareText(int shareHundredths);
// The table in words, for the window and the result's class information:
// "A 15% 100-86，B 35% 85-71，C 35% 70-56，D 13% 55-41，E 2% 40-30".
std::string AssignmentBandsDescription(const AssignmentBands& bands);

}  // namespace scorvane
