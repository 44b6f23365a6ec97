#include "main/document/ui/class_info_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

ClassInfoDialog::ClassInfoDialog(const ClassInfoValues& values, QWidget* parent) : QDialog(parent) {
    setObjectName("frmClassInfo");
    setWindowTitle(QStringLiteral("班级信息设置："));
    setModal(true);

    classSize_ = new QLineEdit(this);
    classSize_->setObjectName("Text1");
    // Digits only; the size is held to the rows a table can keep.
    classSize_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), classSize_));
    teacher_ = new QLineEdit(this);
    teacher_->setObjectName("Text2");
    classInfo_ = new QPlainTextEdit(this);
    classInfo_->setObjectName("Text3");
    classInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    classInfo_->setTabChangesFocus(true);

    auto* hint = new QLabel(QStringLiteral("班级人数将决定表格的行数，所以，请准确填写。"), this);
    hint->setObjectName("Label4");
    hint->setWordWrap(true);
    hint->setStyleSheet("color: #800000;");

    confirm_ = new QPushButton(QStringLiteral("完成"), this);
    confirm_->setObjectName("Command1");
    confirm_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("班级人数："), this), 0, 0);
    grid->addWidget(classSize_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("教师："), this), 1, 0);
    grid->addWidget(teacher_, 1, 1);
    auto* infoLabel = new QLabel(QStringLiteral("班级信息："), this);
    infoLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(infoLabel, 2, 0);
    grid->addWidget(classInfo_, 2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    resize(380, 300);

    classSize_->setText(QString::number(values.classSize));
    teacher_->setText(qs(values.teacher));
    // The box shows line breaks as it types them; the table keeps them as CR LF.
    classInfo_->setPlainText(qs(values.info).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    connect(classSize_, &QLineEdit::textChanged, this, &ClassInfoDialog::classSizeEdited);
    connect(confirm_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void ClassInfoDialog::classSizeEdited(const QString& text) {
    QString normal = QString::fromStdString(NormalizeClassSizeText(text.toStdString()));
    if (normal != text) {
        classSize_->setText(normal);
        classSize_->selectAll();
    }
}

QString ClassInfoDialog::classSizeText() const {
    return classSize_->text();
}

std::string ClassInfoDialog::teacher() const {
    return teacher_->text().toStdString();
}

std::string ClassInfoDialog::classInfo() const {
    return classInfo_->toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
}

ClassInfoValues& SharedClassInfo() {
    static ClassInfoValues values;
    return values;
}

bool RunClassInfoDialog(Document& document, DialogRunner& runner, QWidget* owner) {
    ClassInfoDialog dialog(SharedClassInfo(), owner);
    if (runner.run(dialog) != QDialog::Accepted) {
        return false;
    }
    ConfirmClassInfo(document, SharedClassInfo(), dialog.classSizeText().toStdString(), dialog.teacher(),
                     dialog.classInfo());
    return true;
}

}  // namespace scorvane
