#include "main/document/ui/value_strip.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/qt/screen_twips.h"

namespace scorvane {
namespace {

// The strip's arrangement, in twips.
constexpr int kValueBoxLeft = 2430;
constexpr int kValueBoxTop = 30;
constexpr int kValueBoxHeight = 270;
constexpr int kEditorButtonWidth = 345;
constexpr int kPositionBoxWidth = 1200;
// The value box leaves this much of the window's width to the "…" button and the position box.
constexpr int kStripRightPart = 1700;

}  // namespace

ValueStrip::ValueStrip(QWidget* parent) : QWidget(parent) {
    setObjectName("Strip");
    label1_ = new QLabel(QStringLiteral("值："), this);
    label1_->setObjectName("Label1");
    formulaCheck_ = new QCheckBox(QStringLiteral("公式"), this);
    formulaCheck_->setObjectName("Check1");
    formulaCheck_->setEnabled(false);
    valueLabel_ = new QLabel(this);
    valueLabel_->setObjectName("Label2");
    QFont bold = valueLabel_->font();
    bold.setBold(true);
    valueLabel_->setFont(bold);
    valueLabel_->setStyleSheet("QLabel { color: #0000FF; } QLabel:disabled { color: #808080; }");
    valueBox_ = new QLineEdit(this);
    valueBox_->setObjectName("Text1");
    formulaEditorButton_ = new QPushButton(QStringLiteral("…"), this);
    formulaEditorButton_->setObjectName("Command2");
    formulaEditorButton_->setToolTip(QStringLiteral("公式编辑器"));
    positionBox_ = new QLineEdit(this);
    positionBox_->setObjectName("Text2");
    positionBox_->setReadOnly(true);
    positionBox_->setFocusPolicy(Qt::NoFocus);
}

void ValueStrip::placeAcross(int width) {
    setGeometry(0, 0, width, TwipsToPixelsY(kHeightTwips, *this));

    const int top = TwipsToPixelsY(kValueBoxTop, *this);
    const int boxHeight = TwipsToPixelsY(kValueBoxHeight, *this);
    label1_->setGeometry(TwipsToPixelsX(90, *this), TwipsToPixelsY(60, *this), TwipsToPixelsX(330, *this),
                         boxHeight - TwipsToPixelsY(30, *this));
    formulaCheck_->setGeometry(TwipsToPixelsX(420, *this), top, TwipsToPixelsX(720, *this), boxHeight);
    const int left = TwipsToPixelsX(kValueBoxLeft, *this);
    const int labelLeft = TwipsToPixelsX(1170, *this);
    valueLabel_->setGeometry(labelLeft, top, left - labelLeft - 2, boxHeight);

    // A window too narrow for the strip keeps the strip's last sizes.
    const int boxWidth = width - TwipsToPixelsX(kStripRightPart + kValueBoxLeft, *this);
    if (boxWidth > 0) {
        valueBoxWidth_ = boxWidth;
    }
    valueBox_->setGeometry(left, top, valueBoxWidth_, boxHeight);
    formulaEditorButton_->setGeometry(left + valueBoxWidth_ + TwipsToPixelsX(20, *this), top,
                                      TwipsToPixelsX(kEditorButtonWidth, *this), boxHeight);
    positionBox_->setGeometry(left + valueBoxWidth_ + TwipsToPixelsX(350, *this), top,
                              TwipsToPixelsX(kPositionBoxWidth, *this), boxHeight);
}

}  // namespace scorvane
