#pragma once

namespace scorvane {

// Qt's own dialogs (files, colours, the printer) speak Simplified Chinese, as the rest of the programs
// do, when Qt's translations are installed; otherwise they stay as Qt ships them. Call once after the
// application object is made.
void InstallQtTranslations();

}  // namespace scorvane
