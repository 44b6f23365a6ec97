// The table window's find and replace: a search with the grid hidden while it runs, the menu of its
// results, a jump to a result's row, clearing the marks, and the replace dialog.
#include <QAction>
#include <QMenu>
#include <QTableView>

#include "common/menu_text.h"
#include "common/qt/dialog_runner.h"
#include "main/document/ui/grade_table_model.h"
#include "main/document/ui/table_window.h"
#include "main/document/ui/table_window_host.h"
#include "main/formula/replace_text.h"
#include "main/formula/ui/replace_dialog.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void TableWindow::find(std::string_view text, const FindOptions& options) {
    commitEditor();
    FindResult result;
    runWithGridHidden([&] { result = FindInTable(document_, text, options); });
    showFindResult(result);
}

void TableWindow::showFindResult(const FindResult& result) {
    findResultMenu_->clear();
    QAction* summary = findResultMenu_->addAction(qs(result.summary));
    summary->setObjectName("menuZD");
    for (const FindResultItem& item : result.items) {
        QAction* a = findResultMenu_->addAction(qs(MenuEntryText(item.caption)));
        a->setObjectName("menuZD");
        a->setData(item.row);
        const int row = item.row;
        connect(a, &QAction::triggered, this, [this, row] { goToFindResult(row); });
    }
    grid_->viewport()->update();
}

void TableWindow::goToFindResult(int row) {
    const std::optional<GridSelection> whole = WholeRow(document_.table, row);
    if (!whole) {
        return;
    }
    setSelection(*whole);
    grid_->scrollTo(model_->indexOf(row, 1), QAbstractItemView::PositionAtTop);
}

void TableWindow::clearFindMarks() {
    commitEditor();
    runWithGridHidden([this] { ClearFindMarks(document_); });
}

void TableWindow::replace() {
    commitEditor();
    BeginReplace(document_);
    const GradeTable& t = document_.table;
    const int row = currentRow();
    const int col = currentCol();
    ReplaceDialog dialog(document_, t.contains(row, col) ? qs(t.cell(row, col)) : QString(),
                         host_.dialogOwner());
    if (host_.dialogRunner().run(dialog) == QDialog::Accepted) {
        tableReset();
    }
}

}  // namespace scorvane
