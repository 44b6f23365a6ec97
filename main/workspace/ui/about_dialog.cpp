#include "main/workspace/ui/about_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "main/workspace/ui/brand_picture.h"

namespace scorvane {
namespace {

class Picture : public QWidget {
  public:
    explicit Picture(QWidget* parent) : QWidget(parent) { setFixedSize(96, 96); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        PaintBrandPicture(p, rect());
    }
};

}  // namespace

AboutDialog::AboutDialog(const QString& versionLine, QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("关于 KVL'S Scorvane"));
    setModal(true);

    auto* title = new QLabel(QStringLiteral("KVL'S Scorvane"), this);
    title->setObjectName("lblTitle");
    QFont big = title->font();
    big.setPointSize(16);
    big.setBold(true);
    title->setFont(big);
    auto* version = new QLabel(QStringLiteral("版本 ") + versionLine, this);
    version->setObjectName("lblVersion");
    auto* description = new QLabel(
        QStringLiteral("学生成绩表格管理：成绩录入、公式计算、排序、查找、导入导出与打印。"), this);
    description->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addWidget(description);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(new Picture(this), 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
    resize(400, 180);
}

}  // namespace scorvane
