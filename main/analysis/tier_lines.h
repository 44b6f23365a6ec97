#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// Tier lines (特控线, 一本线, 本科线): a name and either a score of the total or a count of the grade's best
// students; and the 有效分 a subject has for a line by the same-share rule.

enum class LineKind { Score, Count };

// A line as the teacher gives it: its name, how it is given (分数 or 名次) and the number as typed.
struct LineText {
    std::string name;
    LineKind kind = LineKind::Score;
    std::string value;

    bool operator==(const LineText&) const = default;
};

inline constexpr int kMaxTierLines = 5;
inline constexpr std::string_view kNoTierLineMessage = "请至少设定一条分数线！";
inline constexpr std::string_view kTooManyTierLinesMessage = "最多只能设定 5 条分数线！";

// A line as the command line and the user's settings write it: "一本=520", "本科=前300".
std::string LineArgument(const LineText& line);
// Reads such a text: the name before the first "=" (or full-width "＝"), the number after it, blanks
// around both dropped; "前N", "前N名" or "N名" is a count, anything else a score (checked by
// ResolveTierLines). Nothing when the text has no "=".
std::optional<LineText> ReadLineArgument(std::string_view text);
// 无法识别的分数线“一本520”，应写作 一本=520 或 一本=前150！
std::string UnreadableLineMessage(std::string_view text);

// A line placed on the grade's totals.
struct TierLine {
    std::string name;
    LineKind kind = LineKind::Score;
    double given = 0;  // the score, or the count
    double score = 0;  // the total that reaches the line
};

// How the line was given, for the class information: "520", "前150名".
std::string LineGivenText(const TierLine& line);

// True when `mark` is at or above `line`, allowing for the last bits of binary fractions (a total of
// decimals that computes 519.99999999999994 reaches 520).
bool AtOrAbove(double mark, double line);

// Reads the lines against the totals of the students taking part (one each; their order does not
// matter). A line whose name and number are both blank is passed over. Checks, in this order: a line
// without a name ("第 2 条分数线没有名称！"), a name with "=" in it, a name given twice, more than five
// lines, none at all, a line without its number ("“一本”没有填写分数！"), a score that is not a number, a count that is not a whole number above 0, a count
// beyond the students taking part. A count N places the line at the total of the student at position N
// of the ranking (the N-th highest total), so that everyone tied with that student reaches it too.
// `out` receives the lines, highest first (equal lines in the order given). Returns the first fault's
// message, or nothing when all is sound.
std::optional<std::string> ResolveTierLines(const std::vector<LineText>& texts, const std::vector<double>& totals,
                                            std::vector<TierLine>& out);

// The line offered the first time: 一本 by count, 15 % of the students taking part, rounded half up, at
// least 1 (no line when no one takes part).
std::optional<LineText> DefaultTierLine(int takingPart);

// The same-share rule: the share r = reaching ÷ takingPart of the students taking part in the total
// reach the line; a subject whose marks are held by `withMark` students takes its k = r × withMark best,
// rounded half up, at least 1. 0 when no one takes part or no one has a mark.
int SameShareCount(int reaching, int takingPart, int withMark);

// The 有效分 of a subject for a line: the k-th highest of its marks (SameShareCount; equal marks each take
// a position). Nothing when no one reaches the line or the subject holds no mark.
std::optional<double> EffectiveMark(std::vector<double> marks, int reaching, int takingPart);

}  // namespace scorvane
