#include "main/exchange/ui/dbf_converter_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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

}  // namespace

DbfConverterDialog::DbfConverterDialog(Prompter& prompter, StatusSink& status, QWidget* parent)
    : QDialog(parent), prompter_(prompter), status_(status) {
    setObjectName("Form2");
    setWindowTitle(qs(kDbfConverterCaption));
    setModal(true);

    path_ = new QLineEdit(this);
    path_->setObjectName("Text1");
    path_->setReadOnly(true);
    open_ = new QPushButton(QStringLiteral("打开(&O)"), this);
    open_->setObjectName("Command1");
    model_ = new TableGridModel(nullptr);
    grid_ = NewTableGrid(model_, this);
    grid_->setObjectName("MSFlexGrid1");

    auto* frame = new QGroupBox(QStringLiteral("格式："), this);
    frame->setObjectName("Frame1");
    title_ = new QLineEdit(frame);
    title_->setObjectName("Text3");
    teacher_ = new QLineEdit(frame);
    teacher_->setObjectName("Text4");
    classInfo_ = new QPlainTextEdit(frame);
    classInfo_->setObjectName("Text5");
    classInfo_->setTabChangesFocus(true);
    classInfo_->setFixedHeight(classInfo_->fontMetrics().lineSpacing() * 3 + 12);
    auto* fields = new QGridLayout(frame);
    auto addLabel = [&](const QString& text, QWidget* buddy, int row) {
        auto* label = new QLabel(text, frame);
        label->setBuddy(buddy);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        fields->addWidget(label, row, 0);
        fields->addWidget(buddy, row, 1);
    };
    addLabel(QStringLiteral("表格标题："), title_, 0);
    addLabel(QStringLiteral("教师    ："), teacher_, 1);
    addLabel(QStringLiteral("班级信息："), classInfo_, 2);

    save_ = new QPushButton(QStringLiteral("转换保存(&S)..."), this);
    save_->setObjectName("Command2");
    save_->setEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(path_, 1);
    top->addWidget(open_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(frame, 1);
    auto* saveColumn = new QVBoxLayout;
    saveColumn->addStretch();
    saveColumn->addWidget(save_);
    bottom->addLayout(saveColumn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(bottom);
    resize(640, 520);
    // Tab goes through the controls in reading order (the grid lets it pass: arrows move in it).
    QWidget* order[] = {path_, open_, grid_, title_, teacher_, classInfo_, save_};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    connect(open_, &QPushButton::clicked, this, &DbfConverterDialog::openTable);
    connect(save_, &QPushButton::clicked, this, &DbfConverterDialog::saveTable);
}

ConvertedTableInfo DbfConverterDialog::info() const {
    return {title_->text().toStdString(), teacher_->text().toStdString(),
            classInfo_->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString()};
}

void DbfConverterDialog::openTable() {
    const bool read = converter_.open(prompter_, status_);
    path_->setText(qs(converter_.path()));
    if (read) {
        model_->setTable(&converter_.grid());
        SizeGridColumns(grid_);
    }
    save_->setEnabled(converter_.canSave());
}

void DbfConverterDialog::saveTable() {
    converter_.save(info(), prompter_, status_);
}

void RunDbfConverterDialog(Prompter& prompter, StatusSink& status, DialogRunner& runner, QWidget* owner) {
    DbfConverterDialog dialog(prompter, status, owner);
    runner.run(dialog);
}

}  // namespace scorvane
