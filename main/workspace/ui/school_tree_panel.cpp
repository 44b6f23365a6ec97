#include "main/workspace/ui/school_tree_panel.h"

#include <QAction>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/menu_text.h"
#include "main/workspace/class_folder.h"
#include "main/workspace/ui/tree_pictures.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr int kKeyRole = Qt::UserRole;

}  // namespace

SchoolTreePanel::SchoolTreePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("Picture1");
    hint_ = new QLabel(QStringLiteral("   右键树形列表项目，可编辑树形目录/新建,打开表格。"), this);
    hint_->setObjectName("Label1");
    hint_->setWordWrap(true);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName("TreeView1");
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setIconSize(QSize(16, 16));
    tree_->setIndentation(19);
    // The classic style draws the tree's lines and its plus and minus buttons.
    if (QStyle* lines = QStyleFactory::create(QStringLiteral("Windows"))) {
        lines->setParent(tree_);
        tree_->setStyle(lines);
    }
    tree_->viewport()->installEventFilter(this);
    tree_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(hint_);
    layout->addWidget(tree_, 1);

    buildPopup();
}

void SchoolTreePanel::buildPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName("menuPop1");
    QAction* edit = popup_->addAction(QStringLiteral("新建/编辑学校关系树(&C)"));
    edit->setObjectName("menuEditTV");
    connect(edit, &QAction::triggered, this, &SchoolTreePanel::editSchoolRequested);
    QAction* outside = popup_->addAction(QStringLiteral("新建一张不棣属任何班级的表格(&D)"));
    outside->setObjectName("menuTabelD");
    connect(outside, &QAction::triggered, this, &SchoolTreePanel::tableOutsideClassRequested);
    newFileMenu_ = popup_->addMenu(QStringLiteral("新建表格(&N)"));
    newFileMenu_->setObjectName("menuNewFileList");
    newFileMenu_->menuAction()->setObjectName("menuNewFile");
    QAction* wizard = newFileMenu_->addAction(QStringLiteral("新建表格向导>>&>"));
    wizard->setObjectName("menuNewXD");
    connect(wizard, &QAction::triggered, this, &SchoolTreePanel::tableWizardRequested);
    QAction* direct = newFileMenu_->addAction(QStringLiteral("直接新建表格(&S)"));
    direct->setObjectName("menuNewonly");
    connect(direct, &QAction::triggered, this, &SchoolTreePanel::tableDirectlyRequested);
    // The grade's entries, enabled on a grade node.
    addGradeEntry(QStringLiteral("年级成绩对比(&G)..."), "menuGradeCompare", &SchoolTreePanel::gradeComparisonRequested);
    addGradeEntry(QStringLiteral("年级排名(&R)..."), "menuGradeRank", &SchoolTreePanel::gradeRankingRequested);
    addGradeEntry(QStringLiteral("考试顺序(&K)..."), "menuExamOrder", &SchoolTreePanel::examOrderRequested);
    addGradeEntry(QStringLiteral("上线分析(&L)..."), "menuLineAnalysis", &SchoolTreePanel::lineAnalysisRequested);
    addGradeEntry(QStringLiteral("临界生(&J)..."), "menuBorderline", &SchoolTreePanel::borderlineRequested);
    addGradeEntry(QStringLiteral("等级赋分(&F)..."), "menuGradeAssignment",
                  &SchoolTreePanel::gradeScoreAssignmentRequested);
    addGradeEntry(QStringLiteral("导入全年级成绩(&I)..."), "menuGradeImport", &SchoolTreePanel::gradeImportRequested);
    addGradeEntry(QStringLiteral("任课表(&T)..."), "menuTeacherTable", &SchoolTreePanel::teacherTableRequested);
    addGradeEntry(QStringLiteral("教学评价(&E)..."), "menuTeachingEvaluation",
                  &SchoolTreePanel::teachingEvaluationRequested);
    classHistory_ = popup_->addAction(QStringLiteral("历次成绩(&H)..."));
    classHistory_->setObjectName("menuClassHistory");
    connect(classHistory_, &QAction::triggered, this, &SchoolTreePanel::examHistoryRequested);
    openHere_ = popup_->addSeparator();
    openHere_->setObjectName("menuOpenHere");
    openHere_->setEnabled(false);
}

void SchoolTreePanel::addGradeEntry(const QString& caption, const char* objectName,
                                    void (SchoolTreePanel::*requested)()) {
    QAction* a = popup_->addAction(caption);
    a->setObjectName(objectName);
    connect(a, &QAction::triggered, this, requested);
    gradeEntries_ << a;
}

void SchoolTreePanel::rebuild() {
    tree_->clear();
    school_ = watch_.readTree(ProgramFolder());
    QHash<QString, QTreeWidgetItem*> items;
    for (const SchoolNode& node : school_.nodes) {
        QTreeWidgetItem* parent = items.value(qs(node.parentKey));
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
        item->setText(0, qs(node.text));
        item->setIcon(0, TreePicture(static_cast<int>(node.image)));
        item->setData(0, kKeyRole, qs(node.key));
        items.insert(qs(node.key), item);
        if (node.image == SchoolNodeImage::Grade) {
            item->setExpanded(true);
        }
    }
    if (QTreeWidgetItem* school = items.value(QStringLiteral("School1"))) {
        school->setExpanded(true);
    }
    tree_->clearSelection();
    tree_->setEnabled(school_.enabled);
}

const SchoolNode* SchoolTreePanel::selectedNode() const {
    QTreeWidgetItem* node = tree_->currentItem();
    if (!node || !node->isSelected()) {
        const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
        node = selected.isEmpty() ? nullptr : selected.first();
    }
    return node ? school_.find(node->data(0, kKeyRole).toString().toStdString()) : nullptr;
}

bool SchoolTreePanel::eventFilter(QObject* watched, QEvent* event) {
    // From the keyboard the pop-up menu opens with the Menu key or Shift+F10, at the current node; the
    // context-menu event that follows (or that a right press brings) is the same menu, already shown.
    if (watched == tree_ || watched == tree_->viewport()) {
        if (event->type() == QEvent::ContextMenu) {
            return true;
        }
        if (watched == tree_ && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Menu ||
                (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
                QTreeWidgetItem* item = tree_->currentItem();
                const QRect place = item ? tree_->visualItemRect(item) : QRect();
                rightPressed(item,
                             tree_->viewport()->mapToGlobal(place.isValid() ? place.center() : QPoint()));
                return true;
            }
        }
    }
    if (watched == tree_->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                rightPressed(tree_->itemAt(mouse->position().toPoint()), mouse->globalPosition().toPoint());
                return true;
            }
            openHere_->setEnabled(false);
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                doubleClicked(tree_->itemAt(mouse->position().toPoint()), mouse->globalPosition().toPoint());
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SchoolTreePanel::rightPressed(QTreeWidgetItem* item, const QPoint& globalPos) {
    // The node under the pointer is the one the menu is about.
    if (item) {
        tree_->setCurrentItem(item);
        item->setSelected(true);
    }
    preparePopup(true);
    popup_->popup(globalPos);
}

void SchoolTreePanel::doubleClicked(QTreeWidgetItem* item, const QPoint& globalPos) {
    if (item && IsClassNodeKey(item->data(0, kKeyRole).toString().toStdString())) {
        rightPressed(item, globalPos);
    }
}

void SchoolTreePanel::showPopup(const QPoint& globalPos) {
    preparePopup(false);
    popup_->popup(globalPos);
}

void SchoolTreePanel::preparePopup(bool listTables) {
    openHere_->setEnabled(false);
    for (QAction* a : tableEntries_) {
        popup_->removeAction(a);
        delete a;
    }
    tableEntries_.clear();
    listedTables_.clear();

    const SchoolNode* node = selectedNode();
    const bool isClass = node && IsClassNodeKey(node->key);
    newFileMenu_->menuAction()->setEnabled(isClass);
    const bool isGrade = node && node->image == SchoolNodeImage::Grade;
    for (QAction* a : gradeEntries_) {
        a->setEnabled(isGrade);
    }
    classHistory_->setEnabled(isClass);
    if (!isClass || !listTables) {
        return;
    }
    listedTables_ = PrepareClassTables(node->fullPath);
    for (const std::string& name : listedTables_) {
        QAction* a = popup_->addAction(qs(MenuEntryText(name)));
        a->setObjectName("menufileList");
        const QString table = qs(name);
        connect(a, &QAction::triggered, this, [this, table] { chooseListedTable(table); });
        tableEntries_ << a;
    }
}

void SchoolTreePanel::chooseListedTable(const QString& name) {
    const SchoolNode* node = selectedNode();
    if (!node) {
        return;
    }
    const std::string path = ClassTablePath(node->fullPath, name.toStdString());
    if (!path.empty()) {
        emit tableChosen(path);
    }
}

}  // namespace scorvane
