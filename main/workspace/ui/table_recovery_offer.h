#pragma once

#include <QList>
#include <string>

namespace scorvane {

class MainWindow;
class RecoveryStore;
class TableWindow;

// At start, after the splash and before anything else: when programs that ended without saving left
// copies of tables on this workspace, the window "恢复未保存的表格" lists them (table, class, time of
// the copy). 恢复 opens each chosen copy in a table window of the frame, unsaved, under the table's
// own file path, its copier going on with the copy; 放弃 removes the chosen copies after a question;
// 以后再说 keeps them for the next start. Returns the windows it opened.
QList<TableWindow*> OfferTableRecovery(MainWindow& frame, RecoveryStore& store, const std::string& workspace);

}  // namespace scorvane
