#pragma once

namespace scorvane {

// The texts of Qt's own file dialog that Qt 6.4's Simplified Chinese translations lack ("Folder" in the
// type column) or word badly ("体积" for a file's size), compiled from
// common/qt/translations/qt_dialogs_zh_CN.ts at build time and built into the programs.
inline constexpr const char* kQtDialogTexts = ":/translations/qt_dialogs_zh_CN.qm";

// Qt's own dialogs (files, colours, the printer) speak Simplified Chinese, as the rest of the programs
// do, when Qt's translations are installed; otherwise they stay as Qt ships them, except for the texts
// of our own translation (kQtDialogTexts), which is installed after Qt's and so takes precedence. Call
// once after the application object is made.
void InstallQtTranslations();

}  // namespace scorvane
