#include "main/exchange/ui/partial_export_dialog.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/dialog_runner.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The row list: one entry per data row, showing the row's first field. Read from the table on demand,
// so 20,000 students cost nothing until they are scrolled to.
class RowListModel : public QAbstractListModel {
  public:
    RowListModel(const GradeTable& table, QObject* parent) : QAbstractListModel(parent), table_(table) {}
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : std::max(0, table_.rows() - 1);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || !table_.contains(index.row() + 1, 1)) {
            return {};
        }
        return qs(table_.cell(index.row() + 1, 1));
    }

  private:
    const GradeTable& table_;
};

// The rows of a list's selection, each + 1 (the table's numbering), ascending.
std::vector<int> selectedNumbers(const QItemSelectionModel* selection) {
    std::vector<int> numbers;
    for (const QItemSelectionRange& range : selection->selection()) {
        for (int r = range.top(); r <= range.bottom(); ++r) {
            numbers.push_back(r + 1);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void selectAllOrNone(QAbstractItemView* list, bool all) {
    if (all) {
        list->selectAll();
    } else {
        list->clearSelection();
    }
}

}  // namespace

PartialExportDialog::PartialExportDialog(const GradeTable& table, Prompter& prompter, StatusSink& status,
                                         QWidget* parent)
    : QDialog(parent), table_(table), prompter_(prompter), status_(status) {
    setObjectName("frmExpTable");
    setWindowTitle(qs(kPartialExportCaption));
    setModal(true);

    auto* explanation = new QLabel(qs(kPartialExportExplanation), this);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);

    rows_ = new QListView(this);
    rows_->setObjectName("List2");
    rows_->setModel(new RowListModel(table_, rows_));
    rows_->setUniformItemSizes(true);
    rows_->setSelectionMode(QAbstractItemView::MultiSelection);
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    fields_ = new QListWidget(this);
    fields_->setObjectName("List1");
    fields_->setSelectionMode(QAbstractItemView::MultiSelection);
    for (const std::string& field : table_.fieldTitles()) {
        fields_->addItem(qs(field));
    }
    if (fields_->count() > 0) {
        fields_->setCurrentRow(fields_->count() - 1, QItemSelectionModel::NoUpdate);
    }

    allRows_ = new QCheckBox(QStringLiteral("全选"), this);
    allRows_->setObjectName("Check1");
    allFields_ = new QCheckBox(QStringLiteral("全选"), this);
    allFields_->setObjectName("Check2");
    eachRow_ = new QCheckBox(QStringLiteral("单独导出每行"), this);
    eachRow_->setObjectName("Check3");
    eachRow_->setToolTip(QStringLiteral("暂未提供此功能"));
    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    save_ = new QPushButton(QStringLiteral("保存(&S)"), this);
    save_->setObjectName("Command3");
    save_->setToolTip(QStringLiteral("暂未提供此功能"));
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* lists = new QGridLayout;
    lists->addWidget(rows_, 0, 0);
    lists->addWidget(fields_, 0, 1);
    lists->addWidget(allRows_, 1, 0);
    lists->addWidget(allFields_, 1, 1);
    lists->setColumnStretch(0, 3);
    lists->setColumnStretch(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(eachRow_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(save_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(460, 420);

    connect(allRows_, &QCheckBox::toggled, this, [this](bool all) { selectAllOrNone(rows_, all); });
    connect(allFields_, &QCheckBox::toggled, this, [this](bool all) { selectAllOrNone(fields_, all); });
    connect(ok_, &QPushButton::clicked, this, &PartialExportDialog::exportChosen);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

std::vector<int> PartialExportDialog::chosenRows() const {
    return selectedNumbers(rows_->selectionModel());
}

std::vector<int> PartialExportDialog::chosenFields() const {
    return selectedNumbers(fields_->selectionModel());
}

void PartialExportDialog::exportChosen() {
    const PartialExportResult result =
        ExportPartialTable(table_, chosenRows(), chosenFields(), prompter_, status_);
    if (result.outcome == PartialExportOutcome::Open) {
        fileToOpen_ = result.path;
        accept();
    }
}

std::optional<std::string> RunPartialExportDialog(const GradeTable& table, Prompter& prompter,
                                                  StatusSink& status, DialogRunner& runner, QWidget* owner) {
    PartialExportDialog dialog(table, prompter, status, owner);
    runner.run(dialog);
    return dialog.fileToOpen();
}

}  // namespace scorvane
