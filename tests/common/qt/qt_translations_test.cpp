// Qt's own file dialog in Simplified Chinese: Qt's translations, and ours after them for what they lack
// or word badly; the dialog's columns wide enough for what they show.
#include "common/qt/qt_translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <set>
#include <tuple>

#include "common/file_io.h"
#include "common/qt/qt_prompter.h"
#include "support/qt/qt_app.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

// Asked first (installed last), it notes every text asked for and translates none.
class NotingTranslator : public QTranslator {
  public:
    using Text = std::tuple<QString, QString, QString>;  // context, source, disambiguation
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int) const override {
        asked.insert({QString::fromUtf8(context), QString::fromUtf8(source),
                      disambiguation ? QString::fromUtf8(disambiguation) : QString()});
        return {};
    }
    bool isEmpty() const override { return false; }
    mutable std::set<Text> asked;
};

class QtTranslationsTest : public testing::QtTest {
  protected:
    QtTranslationsTest() { InstallQtTranslations(); }
    // The other tests of this program see Qt as it ships.
    ~QtTranslationsTest() override {
        for (QTranslator* t :
             QCoreApplication::instance()->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
        QLocale::setDefault(QLocale::system());
    }
    static QString tr(const char* context, const char* source, const char* disambiguation = nullptr) {
        return QCoreApplication::translate(context, source, disambiguation);
    }

    // Shows the open dialog on a folder that holds a sub-folder and a text file, with `look` run once the
    // folder's files are described.
    void withDialog(const std::function<void(QFileDialog&, QTreeView&)>& look) {
        ASSERT_TRUE(MakeDirectories(dir.file("班级")));
        QFile file(QString::fromStdString(dir.file("说明.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(45000, 'x'));
        file.close();
        bool looked = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            auto* files = dialog->findChild<QFileSystemModel*>();
            ASSERT_NE(view, nullptr);
            ASSERT_NE(files, nullptr);
            const auto described = [&] {
                const QModelIndex root = view->rootIndex();
                for (int r = 0; r < files->rowCount(root); ++r) {
                    if (files->index(r, 2, root).data().toString().isEmpty()) {
                        return false;
                    }
                }
                return files->rowCount(root) == 2;
            };
            EXPECT_TRUE(QTest::qWaitFor(described, 10000));
            QTest::qWait(50);  // the columns are fitted after the descriptions arrived
            look(*dialog, *view);
            looked = true;
            dialog->reject();
        });
        FileDialogSpec spec;
        spec.pattern = "*.txt";
        spec.folder = dir.path();
        spec.title = "打开";
        prompter.chooseOpenFile(spec);
        EXPECT_TRUE(looked);
    }

    testing::TempDir dir;
    QtPrompter prompter;
};

TEST_F(QtTranslationsTest, OurTextsTakeThePlaceOfQtsWhereTheyLackOrAreBadlyWorded) {
    EXPECT_EQ(tr("QAbstractFileIconProvider", "Folder", "All other platforms"), "文件夹");
    EXPECT_EQ(tr("QAbstractFileIconProvider", "Drive"), "驱动器");
    EXPECT_EQ(tr("QFileSystemModel", "Size"), "大小");  // Qt's own says 体积
    EXPECT_EQ(tr("QFileSystemModel", "Type", "All other platforms"), "类型");
    EXPECT_EQ(tr("QFileSystemModel", "Date Modified"), "修改日期");
    // Qt's own translations stay for the rest.
    EXPECT_EQ(tr("QFileDialog", "Look in:"), "查找范围：");
}

TEST_F(QtTranslationsTest, EveryTextTheFileDialogAsksForIsChinese) {
    NotingTranslator noting;
    QCoreApplication::installTranslator(&noting);
    withDialog([](QFileDialog&, QTreeView& view) {
        for (int c = 0; c < view.header()->count(); ++c) {
            view.model()->headerData(c, Qt::Horizontal);
        }
    });
    QCoreApplication::removeTranslator(&noting);
    const std::set<QString> contexts = {"QFileDialog", "QFileSystemModel", "QAbstractFileIconProvider",
                                        "QPlatformTheme", "QDialogButtonBox"};
    const QRegularExpression letters(QStringLiteral("[A-Za-z]{2,}"));
    int checked = 0;
    for (const auto& [context, source, disambiguation] : noting.asked) {
        if (!contexts.count(context) || !source.contains(letters) ||
            source.startsWith(QStringLiteral("Alt+"))) {
            continue;
        }
        const QString text = QCoreApplication::translate(
            context.toUtf8().constData(), source.toUtf8().constData(),
            disambiguation.isEmpty() ? nullptr : disambiguation.toUtf8().constData());
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))))
            << context.toStdString() << " / " << source.toStdString() << " → " << text.toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 20);
}

TEST_F(QtTranslationsTest, TheSizeTypeAndDateColumnsShowTheirTextsWhole) {
    withDialog([](QFileDialog&, QTreeView& view) {
        const QModelIndex root = view.rootIndex();
        for (int column = 1; column <= 3; ++column) {
            for (int r = 0; r < view.model()->rowCount(root); ++r) {
                const QString text = view.model()->index(r, column, root).data().toString();
                EXPECT_GT(view.columnWidth(column), view.fontMetrics().horizontalAdvance(text))
                    << column << " " << text.toStdString();
            }
        }
        // The kind of file is described in Chinese whatever the desktop's language.
        for (int r = 0; r < view.model()->rowCount(root); ++r) {
            const QString kind = view.model()->index(r, 2, root).data().toString();
            EXPECT_TRUE(kind.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))))
                << kind.toStdString();
        }
        // The names made room for them: the dates end within the view, and every name still shows.
        EXPECT_LE(view.header()->length(), view.viewport()->width());
        EXPECT_GT(view.columnWidth(0), view.fontMetrics().horizontalAdvance(QStringLiteral("说明.txt")));
    });
}

}  // namespace
}  // namespace scorvane
