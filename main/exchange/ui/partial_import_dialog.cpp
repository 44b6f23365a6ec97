#include "main/exchange/ui/partial_import_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"
#include "main/exchange/ui/table_grid_model.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The explanation's colour while key matching is ticked.
const QColor kTickedExplanation(255, 25, 25);

// The column chosen in a grid: the one its selection covers (a click selects a whole column), in table
// coordinates; 0 when none is.
int chosenColumn(const QTableView* grid) {
    const QItemSelection selection = grid->selectionModel()->selection();
    return selection.isEmpty() ? 0 : selection.first().left() + 1;
}

void chooseColumn(QTableView* grid, int col) {
    if (col >= 1 && col <= grid->model()->columnCount() && grid->model()->rowCount() > 0) {
        grid->selectColumn(col - 1);
    } else {
        grid->clearSelection();
    }
}

void fillFields(QComboBox* box, const std::vector<std::string>& fields) {
    box->clear();
    for (const std::string& field : fields) {
        box->addItem(qs(field));
    }
    box->setCurrentIndex(fields.empty() ? -1 : 0);
}

}  // namespace

PartialImportDialog::PartialImportDialog(Document& document, Prompter& prompter, StatusSink& status,
                                         QWidget* parent)
    : QDialog(parent), session_(document), prompter_(prompter), status_(status) {
    setObjectName("frmImport");
    setWindowTitle(qs(kPartialImportCaption));
    setModal(true);

    auto* targetCaption = new QLabel(QStringLiteral("被编辑的表格：(选择要被填充的列，只可导入一列)"), this);
    targetCaption->setObjectName("Label1");
    targetModel_ = new TableGridModel(&document.table);
    targetGrid_ = NewTableGrid(targetModel_, this);
    targetGrid_->setObjectName("MSFlexGrid1");
    auto* sourceCaption = new QLabel(QStringLiteral("需提取数据的表格：(选择要被导入数据的列)"), this);
    sourceCaption->setObjectName("Label2");
    sourceModel_ = new TableGridModel(nullptr);
    sourceGrid_ = NewTableGrid(sourceModel_, this);
    sourceGrid_->setObjectName("MSFlexGrid2");
    // A click anywhere in a column chooses that whole column, and only it.
    for (QTableView* grid : {targetGrid_, sourceGrid_}) {
        grid->setSelectionBehavior(QAbstractItemView::SelectColumns);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
    }

    browse_ = new QPushButton(QStringLiteral("浏览(&B)..."), this);
    browse_->setObjectName("Command1");
    keyMatching_ = new QCheckBox(QStringLiteral("对号入座："), this);
    keyMatching_->setObjectName("Check1");
    targetKey_ = new QComboBox(this);
    targetKey_->setObjectName("Combo1");
    targetKey_->setToolTip(QStringLiteral("被编辑的表格的相关字段"));
    sourceKey_ = new QComboBox(this);
    sourceKey_->setObjectName("Combo2");
    sourceKey_->setToolTip(QStringLiteral("需提取数据的表格的相关字段"));
    for (QComboBox* box : {targetKey_, sourceKey_}) {
        box->setEnabled(false);
        box->setMinimumContentsLength(8);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    explanation_ = new QLabel(qs(kKeyMatchingExplanation), this);
    explanation_->setObjectName("Label3");
    explanation_->setWordWrap(true);
    confirm_ = new QPushButton(QStringLiteral("确认(&O)"), this);
    confirm_->setObjectName("Command2");
    confirm_->setEnabled(false);
    cancel_ = new QPushButton(QStringLiteral("取消(&C)"), this);
    cancel_->setObjectName("Command3");

    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(sourceCaption, 1);
    sourceRow->addWidget(browse_);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(keyMatching_);
    keyRow->addWidget(targetKey_);
    keyRow->addWidget(new QLabel(QStringLiteral("与"), this));
    keyRow->addWidget(sourceKey_);
    keyRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(targetCaption);
    layout->addWidget(targetGrid_, 1);
    layout->addLayout(sourceRow);
    layout->addWidget(sourceGrid_, 1);
    layout->addLayout(keyRow);
    layout->addWidget(explanation_);
    layout->addLayout(buttons);
    resize(680, 600);
    // Tab goes through the controls in reading order (the grids let it pass: arrows move in them).
    QWidget* order[] = {targetGrid_, browse_,    sourceGrid_, keyMatching_,
                        targetKey_,  sourceKey_, confirm_,    cancel_};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    // The copy of the table: its key fields, the first chosen; row 1 current.
    fillFields(targetKey_, session_.targetFields());
    SizeGridColumns(targetGrid_);
    if (targetModel_->rowCount() > 0 && targetModel_->columnCount() > 0) {
        targetGrid_->selectionModel()->setCurrentIndex(targetModel_->index(0, 0),
                                                       QItemSelectionModel::NoUpdate);
    }
    keyMatchingToggled(false);

    connect(browse_, &QPushButton::clicked, this, &PartialImportDialog::browse);
    connect(keyMatching_, &QCheckBox::toggled, this, &PartialImportDialog::keyMatchingToggled);
    connect(confirm_, &QPushButton::clicked, this, &PartialImportDialog::confirm);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

int PartialImportDialog::targetColumn() const {
    return chosenColumn(targetGrid_);
}

int PartialImportDialog::sourceColumn() const {
    return chosenColumn(sourceGrid_);
}

void PartialImportDialog::chooseTargetColumn(int col) {
    chooseColumn(targetGrid_, col);
}

void PartialImportDialog::chooseSourceColumn(int col) {
    chooseColumn(sourceGrid_, col);
}

void PartialImportDialog::keyMatchingToggled(bool ticked) {
    targetKey_->setEnabled(ticked);
    sourceKey_->setEnabled(ticked);
    QPalette palette = explanation_->palette();
    palette.setColor(QPalette::WindowText, ticked ? kTickedExplanation : QColor(Qt::black));
    explanation_->setPalette(palette);
}

void PartialImportDialog::browse() {
    switch (session_.browse(prompter_, status_)) {
        case LoadOutcome::Loaded:
            sourceModel_->setTable(&session_.source());
            SizeGridColumns(sourceGrid_);
            fillFields(sourceKey_, session_.sourceFields());
            confirm_->setEnabled(true);
            break;
        case LoadOutcome::Refused:
            reject();
            break;
        case LoadOutcome::Closed:
            break;
    }
}

void PartialImportDialog::confirm() {
    std::optional<PartialImportSession::KeyPositions> key;
    if (keyMatching_->isChecked()) {
        key = PartialImportSession::KeyPositions{targetKey_->currentIndex(), sourceKey_->currentIndex()};
    }
    if (session_.confirm(targetColumn(), sourceColumn(), key, prompter_) == PartialImportOutcome::Imported) {
        imported_ = true;
        accept();
    }
}

bool RunPartialImportDialog(Document& document, Prompter& prompter, StatusSink& status, DialogRunner& runner,
                            QWidget* owner) {
    PartialImportDialog dialog(document, prompter, status, owner);
    runner.run(dialog);
    return dialog.imported();
}

}  // namespace scorvane
