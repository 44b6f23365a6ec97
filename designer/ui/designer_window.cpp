#include "designer/ui/designer_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>

#include "common/prompter.h"
#include "designer/line_editing.h"
#include "designer/template_file_commands.h"
#include "designer/ui/name_list_model.h"
#include "designer/ui/page_viewport.h"
#include "designer/ui/page_widget.h"
#include "designer/ui/side_panel.h"

namespace scorvane::designer {
namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    return a;
}

}  // namespace

DesignerWindow::DesignerWindow(Prompter& prompter, DialogRunner& dialogs, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), dialogs_(dialogs) {
    setObjectName("frmMain");
    setWindowTitle(QStringLiteral("ScorvaneVelmora"));
    exitProgram_ = [] { QCoreApplication::exit(0); };

    auto* central = new QWidget(this);
    panel_ = new SidePanel(central);
    page_ = new PageWidget(doc_, drawing_);
    viewport_ = new PageViewport(page_, central);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(panel_);
    layout->addWidget(viewport_, 1);
    setCentralWidget(central);

    lineNames_ = new NameListModel(doc_.lines.names(), this);
    labelNames_ = new NameListModel(doc_.labels.names(), this);
    panel_->lineList->setModel(lineNames_);
    panel_->labelList->setModel(labelNames_);

    buildMenus();
    wirePanel();

    // At start: portrait, the grid on with its spacing of 0.5 cm, no line under way, an empty template
    // with no file name and the flag clear.
    panel_->gridSwitch->setChecked(true);
    showDocument();
    resize(1100, 800);
}

DesignerWindow::~DesignerWindow() = default;

void DesignerWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName("menuFile");
    connect(addItem(file, "menuNew", QStringLiteral("新建(&N)")), &QAction::triggered, this,
            &DesignerWindow::newTemplate);
    connect(addItem(file, "menuOpen", QStringLiteral("打开(&O)...")), &QAction::triggered, this,
            &DesignerWindow::openTemplate);
    connect(addItem(file, "menuSave", QStringLiteral("保存(&S)")), &QAction::triggered, this,
            &DesignerWindow::saveTemplate);
    connect(addItem(file, "menuSaveAs", QStringLiteral("另存为(&A)...")), &QAction::triggered, this,
            &DesignerWindow::saveTemplateAs);
    file->addSeparator();
    addItem(file, "menuImportPicture", QStringLiteral("导入图形表格样底(&I)"))->setEnabled(false);
    addItem(file, "menuExportBitmap", QStringLiteral("导出为&BMP文件"))->setEnabled(false);
    file->addSeparator();
    addItem(file, "menuPrintSample", QStringLiteral("打印样张(&P)"))->setEnabled(false);
    file->addSeparator();
    connect(addItem(file, "menuExit", QStringLiteral("退出(&X)")), &QAction::triggered, this, [this] {
        exiting_ = true;
        exitProgram_();
    });

    // The label commands; they are not available yet.
    QMenu* labels = menuBar()->addMenu(QStringLiteral("文字标签(&L)"));
    labels->setObjectName("menuLabel");
    addItem(labels, "menuAddLabel", QStringLiteral("添加标签(&A)"))->setEnabled(false);
    addItem(labels, "menuLabelFont", QStringLiteral("更改字体(&F)"))->setEnabled(false);
    addItem(labels, "menuLabelColor", QStringLiteral("更改颜色(&C)"))->setEnabled(false);
    addItem(labels, "menuDeleteLabel", QStringLiteral("删除标签(&D)"))->setEnabled(false);
    labels->addSeparator();
    addItem(labels, "menuAllLabelsFont", QStringLiteral("更改所有标签字体(&O)"))->setEnabled(false);
    addItem(labels, "menuAllLabelsColor", QStringLiteral("更改所有标签颜色(&O)"))->setEnabled(false);

    // The popup of line drawing, not on the menu bar.
    lineMenu_ = new QMenu(this);
    lineMenu_->setObjectName("menuhide1");
    connect(addItem(lineMenu_, "menuFreeLine", QStringLiteral("自由画线(&F)")), &QAction::triggered, this,
            [this] { drawing_.choose(LineMode::Free); });
    connect(addItem(lineMenu_, "menuFixedX", QStringLiteral("固定 &X 坐标(竖线)")), &QAction::triggered, this,
            [this] { drawing_.choose(LineMode::FixedX); });
    connect(addItem(lineMenu_, "menuFixedY", QStringLiteral("固定 &Y 坐标(横线)")), &QAction::triggered, this,
            [this] { drawing_.choose(LineMode::FixedY); });
    addItem(lineMenu_, "menuCancelLine", QStringLiteral("取消(&C)"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName("menuHelp");
    addItem(help, "menuHelpTopics", QStringLiteral("帮助主题"))->setEnabled(false);
    addItem(help, "menuAbout", QStringLiteral("关于(&A)..."))->setEnabled(false);
}

void DesignerWindow::wirePanel() {
    SidePanel* p = panel_;

    // The lists: choosing a line redraws; typing into a list's text marks the template changed.
    connect(p->lineList, &QComboBox::currentIndexChanged, this, [this](int i) {
        doc_.lines.select(i);
        redraw();
    });
    connect(p->labelList, &QComboBox::currentIndexChanged, this, [this](int i) {
        doc_.labels.select(i);
        page_->update();
    });
    for (QComboBox* list : {p->lineList, p->labelList}) {
        connect(list->lineEdit(), &QLineEdit::textEdited, this, [this] { doc_.markChanged(); });
        list->installEventFilter(this);
        list->lineEdit()->installEventFilter(this);
    }
    p->lineListCaption->installEventFilter(this);
    p->labelListCaption->installEventFilter(this);

    // The line editor.
    for (QLineEdit* box : p->coordinateBoxes) {
        box->installEventFilter(this);
    }
    connect(p->moveHorizontal, &QScrollBar::valueChanged, this,
            [this](int v) { afterLineCommand(MoveSelectedLine(doc_, Axis::Horizontal, v)); });
    connect(p->moveVertical, &QScrollBar::valueChanged, this,
            [this](int v) { afterLineCommand(MoveSelectedLine(doc_, Axis::Vertical, v)); });
    connect(p->lengthen, &QPushButton::clicked, this,
            [this] { afterLineCommand(ChangeSelectedLineLength(doc_, kLengthStep)); });
    connect(p->shorten, &QPushButton::clicked, this,
            [this] { afterLineCommand(ChangeSelectedLineLength(doc_, -kLengthStep)); });
    connect(p->copyLine, &QPushButton::clicked, this, [this] {
        if (CopyLastLine(doc_)) {
            showLineList();
            redraw();
        }
    });
    connect(p->deleteLine, &QPushButton::clicked, this, [this] {
        if (DeleteSelectedLine(doc_)) {
            showLineList();
            redraw();
        }
    });

    // The label editor's commands are not available yet.
    for (QWidget* w :
         std::initializer_list<QWidget*>{p->labelLeft, p->labelTop, p->labelText, p->dataLabel, p->addLabel,
                                         p->deleteLabel, p->labelFont, p->labelColor}) {
        w->setEnabled(false);
    }

    const TableMove moves[] = {TableMove::Up, TableMove::Right, TableMove::Left, TableMove::Down};
    for (size_t i = 0; i < 4; ++i) {
        connect(p->tableMoves[i], &QPushButton::clicked, this, [this, move = moves[i]] {
            MoveWholeTable(doc_, move);
            page_->labelsChanged();
            redraw();
        });
    }

    connect(p->gridSwitch, &QCheckBox::toggled, this, [this] { redraw(); });
    connect(p->gridSpacing, &QLineEdit::textChanged, this, [this] { redraw(); });
    connect(p->landscape, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            setOrientation(true);
        }
    });
    connect(p->portrait, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            setOrientation(false);
        }
    });

    // The page.
    connect(page_, &PageWidget::released, this, &DesignerWindow::onPageReleased);
    connect(page_, &PageWidget::labelHovered, this, [this] { panel_->showLabelEditor(); });
}

bool DesignerWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == panel_->lineListCaption || watched == panel_->labelListCaption) {
        if (type == QEvent::Enter || type == QEvent::MouseMove) {
            if (watched == panel_->lineListCaption) {
                panel_->showLineEditor();
            } else {
                panel_->showLabelEditor();
            }
        }
        return false;
    }
    if (type == QEvent::FocusIn) {
        if (watched == panel_->lineList || watched == panel_->lineList->lineEdit()) {
            panel_->showLineEditor();
        } else if (watched == panel_->labelList || watched == panel_->labelList->lineEdit()) {
            panel_->showLabelEditor();
        }
        return false;
    }
    if (type == QEvent::KeyPress) {
        for (QLineEdit* box : panel_->coordinateBoxes) {
            if (watched == box) {
                return coordinateKey(static_cast<QKeyEvent*>(event));
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// A key in a coordinate box: every key that edits marks the template changed; only digits, Backspace
// and Delete reach the box; Enter commits the line. Keys that move the cursor or hold Ctrl pass.
bool DesignerWindow::coordinateKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        doc_.markChanged();
        commitCoordinates();
        return true;
    }
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) {
        doc_.markChanged();
        return false;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint() || (key->modifiers() & Qt::ControlModifier)) {
        return false;
    }
    doc_.markChanged();
    for (QChar c : text) {
        if (c < QChar('0') || c > QChar('9')) {
            return true;  // dropped
        }
    }
    return false;
}

void DesignerWindow::commitCoordinates() {
    std::array<std::string, 4> boxes;
    for (size_t i = 0; i < 4; ++i) {
        boxes[i] = panel_->coordinateBoxes[i]->text().toStdString();
    }
    afterLineCommand(CommitCoordinates(doc_, boxes));
}

void DesignerWindow::afterLineCommand(bool changed) {
    if (changed) {
        redraw();
    }
}

void DesignerWindow::onPageReleased(Qt::MouseButton button, double x, double y) {
    panel_->showLineEditor();
    switch (drawing_.release(doc_, button == Qt::LeftButton, x, y)) {
        case LineDrawing::Release::AskMode:
            lineMenu_->popup(QCursor::pos());
            break;
        case LineDrawing::Release::Started:
            page_->rubberBandChanged();
            break;
        case LineDrawing::Release::Finished:
            showLineList();
            redraw();
            break;
    }
}

void DesignerWindow::redraw() {
    page_->redraw(panel_->gridSwitch->isChecked(), panel_->gridSpacing->text().toStdString());
    if (!doc_.lines.hasSelection()) {
        for (QLineEdit* box : panel_->coordinateBoxes) {
            box->clear();
        }
        return;
    }
    // A record that does not parse leaves the later boxes as they were; a bar keeps its place when the
    // line lies outside its range. Neither rewrites the line.
    const LineCoordinates xy = GetLineXY(doc_.lines.record(static_cast<size_t>(doc_.lines.selected())));
    for (size_t i = 0; i < 4; ++i) {
        if (xy[i]) {
            panel_->coordinateBoxes[i]->setText(QString::number(*xy[i]));
        }
    }
    const std::pair<QScrollBar*, std::optional<long long>> bars[] = {{panel_->moveHorizontal, xy[0]},
                                                                     {panel_->moveVertical, xy[1]}};
    for (const auto& [bar, value] : bars) {
        if (value && *value >= bar->minimum() && *value <= bar->maximum()) {
            const QSignalBlocker quiet(bar);
            bar->setValue(static_cast<int>(*value));
        }
    }
}

void DesignerWindow::showLineList() {
    const QSignalBlocker quiet(panel_->lineList);
    lineNames_->reset();
    panel_->lineList->setCurrentIndex(doc_.lines.selected());
}

void DesignerWindow::showLabelList() {
    const QSignalBlocker quiet(panel_->labelList);
    labelNames_->reset();
    panel_->labelList->setCurrentIndex(doc_.labels.selected());
}

void DesignerWindow::layOutPage() {
    {
        const QSignalBlocker quietLandscape(panel_->landscape);
        const QSignalBlocker quietPortrait(panel_->portrait);
        (doc_.landscape ? panel_->landscape : panel_->portrait)->setChecked(true);
    }
    for (auto [bar, max] : {std::pair{panel_->moveHorizontal, doc_.pageWidth()},
                            std::pair{panel_->moveVertical, doc_.pageHeight()}}) {
        const QSignalBlocker quiet(bar);
        bar->setRange(0, static_cast<int>(max));
    }
}

void DesignerWindow::showDocument() {
    showLineList();
    showLabelList();
    layOutPage();
    page_->labelsChanged();
    redraw();
    viewport_->SetPageSize();
}

void DesignerWindow::setOrientation(bool landscape) {
    SetOrientation(doc_, landscape);
    layOutPage();
    redraw();
    viewport_->SetPageSize();
}

bool DesignerWindow::openAtStart(const std::string& path) {
    if (!OpenTemplateFile(doc_, path, prompter_)) {
        return false;
    }
    showDocument();
    return true;
}

void DesignerWindow::newTemplate() {
    if (NewTemplate(doc_, prompter_)) {
        showDocument();
    }
}

void DesignerWindow::openTemplate() {
    if (OpenTemplate(doc_, prompter_)) {
        showDocument();
    }
}

void DesignerWindow::saveTemplate() {
    SaveTemplate(doc_, prompter_);
}

void DesignerWindow::saveTemplateAs() {
    SaveTemplateAs(doc_, prompter_);
}

void DesignerWindow::closeEvent(QCloseEvent* event) {
    if (exiting_ || MayCloseTemplate(doc_, prompter_)) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace scorvane::designer
