#include "main/analysis/ui/tier_line_grid.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Enter keeps what was typed and stays in the grid (the window's default button waits for the next
// Enter); 方式 is chosen from its two entries.
class LineCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() != TierLineGrid::kKindColumn) {
            return QStyledItemDelegate::createEditor(parent, option, index);
        }
        auto* box = new QComboBox(parent);
        box->addItems({TierLineGrid::kindText(LineKind::Score), TierLineGrid::kindText(LineKind::Count)});
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentText(index.data().toString());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, box->currentText());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }
};

}  // namespace

QString TierLineGrid::kindText(LineKind kind) {
    return kind == LineKind::Count ? QStringLiteral("名次") : QStringLiteral("分数");
}

TierLineGrid::TierLineGrid(QWidget* parent) : QTableWidget(kMaxTierLines, 3, parent) {
    setObjectName("Grid1");
    setHorizontalHeaderLabels({QStringLiteral("名称"), QStringLiteral("方式"), QStringLiteral("数值")});
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    // Tab goes on to the next control instead of from cell to cell.
    setTabKeyNavigation(false);
    setItemDelegate(new LineCellDelegate(this));
    setLines({});
    setCurrentCell(0, 0);
    connect(this, &QTableWidget::itemChanged, this, [this] {
        if (!filling_) {
            emit edited();
        }
    });
}

void TierLineGrid::setLines(const std::vector<LineText>& lines) {
    filling_ = true;
    for (int r = 0; r < rowCount(); ++r) {
        const bool given = static_cast<size_t>(r) < lines.size();
        const LineText line = given ? lines[static_cast<size_t>(r)] : LineText{};
        setItem(r, kNameColumn, new QTableWidgetItem(qs(line.name)));
        setItem(r, kKindColumn, new QTableWidgetItem(kindText(line.kind)));
        setItem(r, kValueColumn, new QTableWidgetItem(qs(line.value)));
    }
    filling_ = false;
}

std::vector<LineText> TierLineGrid::lines() const {
    std::vector<LineText> out;
    for (int r = 0; r < rowCount(); ++r) {
        auto text = [&](int c) { return item(r, c) ? item(r, c)->text().toStdString() : std::string(); };
        out.push_back({text(kNameColumn), text(kKindColumn) == kindText(LineKind::Count).toStdString()
                                              ? LineKind::Count
                                              : LineKind::Score,
                       text(kValueColumn)});
    }
    return out;
}

void TierLineGrid::commitEdit() {
    QWidget* editor = QApplication::focusWidget();
    if (state() == QAbstractItemView::EditingState && editor && viewport()->isAncestorOf(editor)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

}  // namespace scorvane
