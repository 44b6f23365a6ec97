#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "common/status_sink.h"
#include "designer/label_appearance.h"
#include "designer/line_drawing.h"
#include "designer/template_document.h"

class QAction;
class QMenu;

namespace scorvane {
class DialogRunner;
class PrintPath;
class Prompter;
}  // namespace scorvane

namespace scorvane::designer {

class NameListModel;
class PageViewport;
class PageWidget;
class SidePanel;

// The designer's one window, "ScorvaneVelmora": the menus, the side panel, the A4 page in its viewport
// and a status bar. It holds the template document and the line-drawing state, forwards every user
// action to the document's commands and shows the document again. Its title names the template's file
// ("无标题" for a new one) and marks unsaved changes.
class DesignerWindow : public QMainWindow, private StatusSink {
    Q_OBJECT
  public:
    DesignerWindow(Prompter& prompter, DialogRunner& dialogs, QWidget* parent = nullptr);
    ~DesignerWindow() override;

    TemplateDocument& document() { return doc_; }
    const LineDrawing& lineDrawing() const { return drawing_; }
    SidePanel* panel() const { return panel_; }
    PageWidget* page() const { return page_; }
    PageViewport* viewport() const { return viewport_; }
    QMenu* lineMenu() const { return lineMenu_; }
    DialogRunner& dialogs() const { return dialogs_; }
    Prompter& prompter() const { return prompter_; }
    // The print path of "打印样张(&P)" (tests choose whether printers are installed).
    PrintPath& printPath() const { return *printPath_; }

    // Opens the template named on the command line; false (after the message) when it cannot be read.
    bool openAtStart(const std::string& path);
    // What "退出(&X)" does once the unsaved-changes question, if any, was answered Yes: ends the program
    // (tests put something else here).
    void setExitHandler(std::function<void()> exit) { exitProgram_ = std::move(exit); }

    // The redraw (also what selecting in the line list does): the page picture cleared and drawn anew,
    // the selected line's coordinates shown in the coordinate boxes and the move bars.
    void redraw();
    // Shows the whole document again: both lists, the orientation, the labels and the page.
    void showDocument();

    // The window's background colour, which the exported bitmap is painted with.
    static SurfaceColor WindowBackground();

  signals:
    // The template matches its file again (新建, 打开, 保存, 另存为), or the window closes or 退出 ends the
    // program without keeping its changes (the question answered): its recovery copy is no longer wanted.
    void templateSettled();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void wirePanel();
    void showLineList();
    void showLabelList();
    void layOutPage();
    void showTitle();
    // An edit of "标签文字：" not yet committed goes to the label before another command runs.
    void commitPendingEdits();
    void nudgeLabel(Qt::Key key);
    // The labels an opening or a turned page moved onto the page are brought in to show whole.
    void showMovedLabelsWhole();

    void onPageReleased(Qt::MouseButton button, double x, double y);
    void setOrientation(bool landscape);

    void newTemplate();
    void openTemplate();
    void saveTemplate();
    void saveTemplateAs();

    // The labels.
    void addLabel();
    void deleteLabel();
    void selectLabel(int index);
    void showLabelEditorFields();
    void commitLabelText();
    void commitLabelPosition();
    void makeDataLabel(bool ticked);
    void dropLabel(int index, double x, double y);
    void changeLabelFont(LabelScope scope);
    void changeLabelColor(LabelScope scope);

    void importPicture();
    void exportBitmap();
    void printSample();
    void showHelp();
    void showAbout();

    // The status bar's text, and the busy pointer while a sample page prints.
    void setStatus(std::string_view text) override;
    void setBusy(bool busy) override;

    Prompter& prompter_;
    DialogRunner& dialogs_;
    TemplateDocument doc_;
    LineDrawing drawing_;
    std::unique_ptr<PrintPath> printPath_;
    std::function<void()> exitProgram_;
    bool exiting_ = false;

    SidePanel* panel_ = nullptr;
    PageWidget* page_ = nullptr;
    PageViewport* viewport_ = nullptr;
    NameListModel* lineNames_ = nullptr;
    NameListModel* labelNames_ = nullptr;
    QMenu* lineMenu_ = nullptr;  // menuhide1
};

}  // namespace scorvane::designer
