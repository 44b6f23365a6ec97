#include "main/document/new_table_wizard.h"

#include "main/document/new_table.h"

namespace scorvane {
namespace {

void inform(Prompter& prompter, std::string_view text) {
    prompter.message(text, "提示", Icon::Information);
}

void run(const std::function<void()>& step) {
    if (step) {
        step();
    }
}

}  // namespace

void RunNewTableWizard(Document& document, Prompter& prompter, std::string_view classFullPath,
                       int filesListed, const NewTableWizardSteps& steps) {
    inform(prompter, kWizardIntro);
    WizardNameStep(document, prompter, classFullPath, filesListed);
    inform(prompter, kWizardClassInfo);
    run(steps.classInfo);
    inform(prompter, kWizardDataFormat);
    run(steps.dataFormat);
    inform(prompter, kWizardTitle);
    WizardTitleStep(document, prompter);
    inform(prompter, kWizardFields);
    run(steps.fieldManager);
    inform(prompter, kWizardDone);
}

}  // namespace scorvane
