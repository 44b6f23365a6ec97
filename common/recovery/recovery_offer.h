#pragma once

#include <string_view>
#include <vector>

namespace scorvane {

// The offer of recovery copies at start: a list of the copies left by ended programs (all ticked at
// first) with 恢复(&R), 放弃(&D) and 以后再说(&L).

inline constexpr std::string_view kRecoverButton = "恢复(&R)";
inline constexpr std::string_view kDiscardButton = "放弃(&D)";
inline constexpr std::string_view kLaterButton = "以后再说(&L)";
inline constexpr std::string_view kDiscardQuestion =
    "确实要放弃选中的恢复副本么？放弃后，其中未保存的修改将不能再找回。";
inline constexpr std::string_view kDiscardTitle = "确认删除";

enum class RecoveryChoice {
    Later,    // 以后再说 (also closing the window): every copy stays for the next start
    Recover,  // 恢复: the ticked copies that can be read are opened; the others stay
    Discard,  // 放弃, after the question: the ticked copies are removed; the others stay
};

// 恢复 is possible when a ticked copy can be read; 放弃 when any copy is ticked.
bool CanRecover(const std::vector<bool>& ticked, const std::vector<bool>& damaged);
bool CanDiscard(const std::vector<bool>& ticked);

// The copies (by their place in the list) that the choice opens, and those it removes.
std::vector<size_t> CopiesToRecover(RecoveryChoice choice, const std::vector<bool>& ticked,
                                    const std::vector<bool>& damaged);
std::vector<size_t> CopiesToRemove(RecoveryChoice choice, const std::vector<bool>& ticked);

}  // namespace scorvane
