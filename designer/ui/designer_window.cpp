#include "designer/ui/designer_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>

#include "common/prompter.h"
#include "common/qt/print_path.h"
#include "common/qt/qt_surface.h"
#include "common/report_template.h"
#include "designer/bitmap_export.h"
#include "designer/help_about.h"
#include "designer/label_editing.h"
#include "designer/line_editing.h"
#include "designer/page_geometry.h"
#include "designer/sample_print.h"
#include "designer/template_file_commands.h"
#include "designer/ui/background_picture.h"
#include "designer/ui/label_color_dialog.h"
#include "designer/ui/label_font_dialog.h"
#include "designer/ui/line_editor_commands.h"
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

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

DesignerWindow::DesignerWindow(Prompter& prompter, DialogRunner& dialogs, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), dialogs_(dialogs) {
    setObjectName("frmMain");
    exitProgram_ = [] { QCoreApplication::exit(0); };
    doc_.changeObserver = [this] { showTitle(); };
    statusBar()->setObjectName("StatusBar");
    printPath_ = std::make_unique<PrintPath>(prompter_, dialogs_, static_cast<StatusSink&>(*this), this);

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
    for (QWidget* w : panel_->findChildren<QWidget*>()) {
        w->installEventFilter(this);
    }
    page_->installEventFilter(this);

    // At start: portrait, the grid on with its spacing of 0.5 cm, no line under way, an empty template
    // with no file name and the flag clear.
    panel_->gridSwitch->setChecked(true);
    showDocument();
    setStatus(kStatusReady);
    resize(1100, 800);
}

DesignerWindow::~DesignerWindow() {
    doc_.changeObserver = nullptr;
    // The lists and the page show the document, which goes before the window's children would: they go
    // first.
    QWidget* central = takeCentralWidget();
    panel_ = nullptr;  // the event filter lets the panel's last events pass
    delete central;
}

void DesignerWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName("menuFile");
    QAction* newAction = addItem(file, "menuNew", QStringLiteral("新建(&N)"));
    newAction->setShortcut(QKeySequence::New);
    connect(newAction, &QAction::triggered, this, &DesignerWindow::newTemplate);
    QAction* openAction = addItem(file, "menuOpen", QStringLiteral("打开(&O)..."));
    openAction->setShortcut(QKeySequence::Open);
    connect(openAction, &QAction::triggered, this, &DesignerWindow::openTemplate);
    QAction* saveAction = addItem(file, "menuSave", QStringLiteral("保存(&S)"));
    saveAction->setShortcut(QKeySequence::Save);
    connect(saveAction, &QAction::triggered, this, &DesignerWindow::saveTemplate);
    connect(addItem(file, "menuSaveAs", QStringLiteral("另存为(&A)...")), &QAction::triggered, this,
            &DesignerWindow::saveTemplateAs);
    file->addSeparator();
    connect(addItem(file, "menuImportPicture", QStringLiteral("导入图形表格样底(&I)")), &QAction::triggered,
            this, &DesignerWindow::importPicture);
    connect(addItem(file, "menuExportBitmap", QStringLiteral("导出为&BMP文件")), &QAction::triggered, this,
            &DesignerWindow::exportBitmap);
    file->addSeparator();
    connect(addItem(file, "menuPrintSample", QStringLiteral("打印样张(&P)")), &QAction::triggered, this,
            &DesignerWindow::printSample);
    file->addSeparator();
    // Unsaved work is not lost by leaving: the same question as the window's close button.
    connect(addItem(file, "menuExit", QStringLiteral("退出(&X)")), &QAction::triggered, this, [this] {
        commitPendingEdits();
        if (!MayCloseTemplate(doc_, prompter_)) {
            return;
        }
        exiting_ = true;
        emit templateSettled();  // the unsaved changes were given up, as by a discarding close
        doc_.file.release();
        exitProgram_();
    });

    QMenu* labels = menuBar()->addMenu(QStringLiteral("文字标签(&L)"));
    labels->setObjectName("menuLabel");
    connect(addItem(labels, "menuAddLabel", QStringLiteral("添加标签(&A)")), &QAction::triggered, this,
            &DesignerWindow::addLabel);
    connect(addItem(labels, "menuLabelFont", QStringLiteral("更改字体(&F)")), &QAction::triggered, this,
            [this] { changeLabelFont(LabelScope::Selected); });
    connect(addItem(labels, "menuLabelColor", QStringLiteral("更改颜色(&C)")), &QAction::triggered, this,
            [this] { changeLabelColor(LabelScope::Selected); });
    connect(addItem(labels, "menuDeleteLabel", QStringLiteral("删除标签(&D)")), &QAction::triggered, this,
            &DesignerWindow::deleteLabel);
    labels->addSeparator();
    connect(addItem(labels, "menuAllLabelsFont", QStringLiteral("更改所有标签字体(&O)")), &QAction::triggered,
            this, [this] { changeLabelFont(LabelScope::All); });
    connect(addItem(labels, "menuAllLabelsColor", QStringLiteral("更改所有标签颜色(&O)")),
            &QAction::triggered, this, [this] { changeLabelColor(LabelScope::All); });

    // The popup of line drawing, not on the menu bar.
    lineMenu_ = new QMenu(this);
    lineMenu_->setObjectName("menuhide1");
    connect(addItem(lineMenu_, "menuFreeLine", QStringLiteral("自由画线(&F)")), &QAction::triggered, this,
            [this] { drawing_.choose(LineMode::Free); });
    connect(addItem(lineMenu_, "menuFixedX", QStringLiteral("固定 &X 坐标(竖线)")), &QAction::triggered, this,
            [this] { drawing_.choose(LineMode::FixedX); });
    connect(addItem(lineMenu_, "menuFixedY", QStringLiteral("固定 &Y 坐标(横线)")), &QAction::triggered, this,
            [this] { drawing_.choose(LineMode::FixedY); });
    connect(addItem(lineMenu_, "menuCancelLine", QStringLiteral("取消(&C)")), &QAction::triggered, this,
            [this] { drawing_.cancel(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->setObjectName("menuHelp");
    connect(addItem(help, "menuHelpTopics", QStringLiteral("帮助主题")), &QAction::triggered, this,
            &DesignerWindow::showHelp);
    connect(addItem(help, "menuAbout", QStringLiteral("关于(&A)...")), &QAction::triggered, this,
            &DesignerWindow::showAbout);
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
        showLabelEditorFields();
        page_->update();
    });
    for (QComboBox* list : {p->lineList, p->labelList}) {
        connect(list->lineEdit(), &QLineEdit::textEdited, this, [this] { doc_.markChanged(); });
    }

    // The line editor.
    auto* lines = new LineEditorCommands(*p, doc_, this);
    connect(lines, &LineEditorCommands::lineChanged, this, &DesignerWindow::redraw);
    connect(lines, &LineEditorCommands::linesChanged, this, [this] {
        showLineList();
        redraw();
    });

    // The label editor.
    connect(p->addLabel, &QPushButton::clicked, this, &DesignerWindow::addLabel);
    connect(p->deleteLabel, &QPushButton::clicked, this, &DesignerWindow::deleteLabel);
    connect(p->labelFont, &QPushButton::clicked, this, [this] { changeLabelFont(LabelScope::Selected); });
    // "更改字体(&F)" shares its letter with "文件(&F)", and two owners of Alt+F would each only take the
    // focus in turn: Alt+F is the button's while the focus is in the label editor (altKey), the menu's
    // elsewhere; the same command is also Alt+L, F through "文字标签(&L)".
    p->labelFont->setShortcut(QKeySequence());
    connect(p->labelColor, &QPushButton::clicked, this, [this] { changeLabelColor(LabelScope::Selected); });
    connect(p->labelText, &QLineEdit::returnPressed, this, &DesignerWindow::commitLabelText);
    // Leaving the box commits an edit too, as text fields do.
    connect(p->labelText, &QLineEdit::editingFinished, this, &DesignerWindow::commitPendingEdits);
    connect(p->labelLeft, &QLineEdit::returnPressed, this, &DesignerWindow::commitLabelPosition);
    connect(p->labelTop, &QLineEdit::returnPressed, this, &DesignerWindow::commitLabelPosition);
    connect(p->dataLabel, &QCheckBox::clicked, this, &DesignerWindow::makeDataLabel);

    const TableMove moves[] = {TableMove::Up, TableMove::Right, TableMove::Left, TableMove::Down};
    for (size_t i = 0; i < 4; ++i) {
        connect(p->tableMoves[i], &QPushButton::clicked, this, [this, move = moves[i]] {
            MoveWholeTable(doc_, move);
            page_->labelsChanged();
            showLabelEditorFields();  // the selected label moved with the table
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
    connect(page_, &PageWidget::labelPressed, this, [this](int index) {
        panel_->showLabelEditor();
        selectLabel(index);
    });
    connect(page_, &PageWidget::labelDragged, this,
            [this](int, QRect proxy) { viewport_->ensureVisible(proxy); });
    connect(page_, &PageWidget::labelDropped, this, &DesignerWindow::dropLabel);
    connect(page_, &PageWidget::arrowKey, this, &DesignerWindow::nudgeLabel);
}

bool DesignerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!panel_) {
        return false;
    }
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::ShortcutOverride) &&
        panel_->takeAltKey(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
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
    // The boxes and bars show the selected line without rewriting it.
    std::optional<LineCoordinates> xy;
    if (doc_.lines.hasSelection()) {
        xy = GetLineXY(doc_.lines.record(static_cast<size_t>(doc_.lines.selected())));
    }
    panel_->showLine(xy);
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
    panel_->showPage(doc_.landscape, doc_.pageWidth(), doc_.pageHeight());
}

void DesignerWindow::showTitle() {
    setWindowTitle(qs(ReadOnlyCaption(DocumentTitle(doc_), doc_.file)) + QStringLiteral("[*] - ") +
                   qs(kDesignerCaption));
    setWindowModified(doc_.changed);
}

void DesignerWindow::showDocument() {
    showTitle();
    showLineList();
    showLabelList();
    showLabelEditorFields();
    layOutPage();
    page_->forgetLabels();
    redraw();
    viewport_->SetPageSize();
}

void DesignerWindow::setOrientation(bool landscape) {
    const int moved = SetOrientation(doc_, landscape);
    layOutPage();
    page_->labelsChanged();
    showMovedLabelsWhole();
    showLabelEditorFields();
    redraw();
    viewport_->SetPageSize();
    setStatus(moved > 0 ? MovedLabelsMessage(moved) : std::string(kStatusReady));
}

bool DesignerWindow::openAtStart(const std::string& path) {
    if (!OpenTemplateFile(doc_, path, prompter_, *this)) {
        return false;
    }
    showDocument();
    showMovedLabelsWhole();
    return true;
}

void DesignerWindow::showMovedLabelsWhole() {
    const double tpp = page_->twipsPerPixel();
    const bool moved = ShowMovedLabelsWhole(doc_, [this, tpp](size_t i) {
        const QSize whole = page_->wholeSize(static_cast<int>(i));
        return std::pair{whole.width() * tpp, whole.height() * tpp};
    });
    if (moved) {
        page_->labelsChanged();
        showLabelEditorFields();
    }
}

void DesignerWindow::newTemplate() {
    commitPendingEdits();
    if (NewTemplate(doc_, prompter_)) {
        drawing_.cancel();
        showDocument();
        setStatus(kStatusReady);
        emit templateSettled();
    }
}

void DesignerWindow::openTemplate() {
    commitPendingEdits();
    if (OpenTemplate(doc_, prompter_, *this)) {
        drawing_.cancel();
        showDocument();
        showMovedLabelsWhole();
        emit templateSettled();
    }
}

void DesignerWindow::saveTemplate() {
    commitPendingEdits();
    if (SaveTemplate(doc_, prompter_)) {
        emit templateSettled();
    }
    showTitle();
}

void DesignerWindow::saveTemplateAs() {
    commitPendingEdits();
    if (SaveTemplateAs(doc_, prompter_)) {
        emit templateSettled();
    }
    showTitle();
}

void DesignerWindow::keyPressEvent(QKeyEvent* event) {
    // Escape gives up the line under way, as "取消(&C)" does.
    if (event->key() == Qt::Key_Escape && drawing_.underWay()) {
        drawing_.cancel();
        page_->rubberBandChanged();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

SurfaceColor DesignerWindow::WindowBackground() {
    const QColor c = QApplication::palette().color(QPalette::Base);
    return Rgb(c.red(), c.green(), c.blue());
}

// ---- labels

void DesignerWindow::addLabel() {
    commitPendingEdits();
    // Below the label added last, or at the top-left corner of the part of the page in view.
    const double tpp = page_->twipsPerPixel();
    const double lastHeight = page_->labelRect(doc_.lastAddedLabel).height() * tpp;
    const auto [left, top] =
        NewLabelPlace(doc_, lastHeight, kScrollStep * viewport_->horizontalBar()->value(),
                      kScrollStep * viewport_->verticalBar()->value());
    const size_t added = AddLabel(doc_, left, top);
    panel_->showLabelEditor();
    showLabelList();
    page_->labelsChanged();
    showLabelEditorFields();
    viewport_->ensureVisible(page_->labelRect(static_cast<int>(added)));
    // The new label's caption is typed next.
    panel_->labelText->setFocus(Qt::OtherFocusReason);
    panel_->labelText->selectAll();
}

void DesignerWindow::nudgeLabel(Qt::Key key) {
    const TableMove direction = key == Qt::Key_Left    ? TableMove::Left
                                : key == Qt::Key_Right ? TableMove::Right
                                : key == Qt::Key_Up    ? TableMove::Up
                                                       : TableMove::Down;
    if (!doc_.labels.hasSelection()) {
        // Without a label to move, the keys scroll the page.
        QScrollBar* bar = (direction == TableMove::Left || direction == TableMove::Right)
                              ? viewport_->horizontalBar()
                              : viewport_->verticalBar();
        const bool forward = direction == TableMove::Right || direction == TableMove::Down;
        bar->triggerAction(forward ? QAbstractSlider::SliderSingleStepAdd
                                   : QAbstractSlider::SliderSingleStepSub);
        return;
    }
    std::optional<GridDivisions> grid;
    if (panel_->gridSwitch->isChecked()) {
        grid = GridDivisionsFor(static_cast<double>(doc_.pageWidth()), static_cast<double>(doc_.pageHeight()),
                                panel_->gridSpacing->text().toStdString());
    }
    if (NudgeLabel(doc_, direction, grid)) {
        page_->labelsChanged();
        showLabelEditorFields();
        viewport_->ensureVisible(page_->labelRect(doc_.labels.selected()));
    }
}

void DesignerWindow::deleteLabel() {
    if (DeleteSelectedLabel(doc_)) {
        showLabelList();
        page_->labelsChanged();
        showLabelEditorFields();
    }
}

void DesignerWindow::selectLabel(int index) {
    doc_.labels.select(index);
    showLabelList();
    showLabelEditorFields();
    page_->update();
}

void DesignerWindow::showLabelEditorFields() {
    panel_->showLabel(doc_.labels.hasSelection()
                          ? &doc_.labels.label(static_cast<size_t>(doc_.labels.selected()))
                          : nullptr);
}

void DesignerWindow::commitPendingEdits() {
    if (panel_ && panel_->labelText->isModified()) {
        commitLabelText();
    }
}

void DesignerWindow::commitLabelText() {
    panel_->labelText->setModified(false);
    SetLabelText(doc_, panel_->labelText->text().toStdString());
    panel_->dataLabel->setChecked(IsDataLabel(doc_.labels.target()));
    page_->labelsChanged();
}

void DesignerWindow::commitLabelPosition() {
    if (CommitLabelPosition(doc_, panel_->labelLeft->text().toStdString(),
                            panel_->labelTop->text().toStdString())) {
        page_->labelsChanged();
        showLabelEditorFields();
    }
}

void DesignerWindow::makeDataLabel(bool ticked) {
    // Clearing the box does nothing.
    if (!ticked) {
        return;
    }
    panel_->labelText->setText(qs(kDataLabelCaption));
    commitLabelText();
}

void DesignerWindow::dropLabel(int index, double x, double y) {
    if (index < 0 || !MoveLabel(doc_, static_cast<size_t>(index), x, y)) {
        return;
    }
    page_->labelsChanged();
    if (doc_.labels.selected() == index) {
        showLabelEditorFields();
    }
}

void DesignerWindow::changeLabelFont(LabelScope scope) {
    if (ChangeLabelFont(doc_, scope, [this](const LabelFontChoice& start) {
            return RunLabelFontDialog(start, dialogs_, this);
        })) {
        page_->labelsChanged();
    }
}

void DesignerWindow::changeLabelColor(LabelScope scope) {
    if (ChangeLabelColor(doc_, scope,
                         [this](SurfaceColor start) { return RunLabelColorDialog(start, dialogs_, this); })) {
        page_->labelsChanged();
    }
}

// ---- pictures, help and about

void DesignerWindow::importPicture() {
    const std::string path = prompter_.chooseOpenFile(BitmapDialog(false));
    if (path.empty()) {
        return;
    }
    const QImage picture =
        ReadBackgroundPicture(QString::fromStdString(path), 1440.0 / page_->twipsPerPixel());
    if (picture.isNull()) {
        prompter_.message(kReadFailedMessage, "错误", Icon::Error);
        return;
    }
    page_->setBackground(picture);
}

void DesignerWindow::exportBitmap() {
    commitPendingEdits();
    const double dpi = 1440.0 / page_->twipsPerPixel();
    ExportBitmap(
        doc_, WindowBackground(),
        [dpi](double w, double h) -> std::unique_ptr<DrawingSurface> {
            auto picture = QtSurface::ForImage(w, h, dpi);
            picture->setAntialiased(false);  // rules a pixel wide, as on the page
            return picture;
        },
        prompter_);
}

void DesignerWindow::printSample() {
    commitPendingEdits();
    printPath_->print(
        PrintJob{SampleJobName(doc_), [this](DrawingSurface& printer) { DrawSamplePage(doc_, printer); }});
}

void DesignerWindow::setStatus(std::string_view text) {
    statusBar()->showMessage(qs(text));
}

void DesignerWindow::setBusy(bool busy) {
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}

void DesignerWindow::showHelp() {
    prompter_.message(kNoHelpMessage, kHelpTitle, Icon::Information);
}

void DesignerWindow::showAbout() {
    prompter_.message(AboutText(SCORVANE_VERSION), kAboutTitle, Icon::Information);
}

void DesignerWindow::closeEvent(QCloseEvent* event) {
    commitPendingEdits();
    if (exiting_ || MayCloseTemplate(doc_, prompter_)) {
        if (!exiting_) {
            emit templateSettled();
        }
        doc_.file.release();  // the template's lock goes with the window
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace scorvane::designer
