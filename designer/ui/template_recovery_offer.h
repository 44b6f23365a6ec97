#pragma once

#include <functional>
#include <string>

namespace scorvane {
class RecoveryStore;
}  // namespace scorvane

namespace scorvane::designer {

class DesignerWindow;

// At start: when designers that ended without saving left copies of their templates, the window
// "恢复未保存的报表" lists them (template, folder, time of the copy). 恢复 puts the first chosen copy
// into this window, unsaved, under its own file name, and starts another designer for each further
// one (`startAnother` is given the copy's id); 放弃 removes the chosen copies after a question; 以后再说
// keeps them. True when a copy came into this window.
bool OfferTemplateRecovery(DesignerWindow& window, RecoveryStore& store,
                           const std::function<void(const std::string& id)>& startAnother);

// "velmora --recover ID": the copy `id` into this window, without the offer; false when it is gone,
// damaged or held by a designer that runs.
bool RecoverTemplateCopy(DesignerWindow& window, RecoveryStore& store, const std::string& id);

}  // namespace scorvane::designer
