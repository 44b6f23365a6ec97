#include "main/analysis/analysis_result.h"

namespace scorvane {

bool TellAnalysisResult(const AnalysisResult& result, Prompter& prompter) {
    if (!result.table) {
        if (!result.refusal.empty()) {
            prompter.message(result.refusal, "提示", Icon::Information);
        }
        return false;
    }
    if (!result.notice.empty()) {
        prompter.message(result.notice, "提示", Icon::Information);
    }
    return true;
}

}  // namespace scorvane
