#include "common/recovery/recovery_offer.h"

namespace scorvane {

bool CanRecover(const std::vector<bool>& ticked, const std::vector<bool>& damaged) {
    return !CopiesToRecover(RecoveryChoice::Recover, ticked, damaged).empty();
}

bool CanDiscard(const std::vector<bool>& ticked) {
    return !CopiesToRemove(RecoveryChoice::Discard, ticked).empty();
}

std::vector<size_t> CopiesToRecover(RecoveryChoice choice, const std::vector<bool>& ticked,
                                    const std::vector<bool>& damaged) {
    std::vector<size_t> chosen;
    if (choice == RecoveryChoice::Recover) {
        for (size_t i = 0; i < ticked.size(); ++i) {
            if (ticked[i] && !(i < damaged.size() && damaged[i])) {
                chosen.push_back(i);
            }
        }
    }
    return chosen;
}

std::vector<size_t> CopiesToRemove(RecoveryChoice choice, const std::vector<bool>& ticked) {
    std::vector<size_t> chosen;
    if (choice == RecoveryChoice::Discard) {
        for (size_t i = 0; i < ticked.size(); ++i) {
            if (ticked[i]) {
                chosen.push_back(i);
            }
        }
    }
    return chosen;
}

}  // namespace scorvane
