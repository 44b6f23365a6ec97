#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <string>
#include <vector>

#include "designer/ui/designer_window.h"
#include "support/qt/qt_app.h"
#include "support/qt/scripted_dialogs.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace scorvane::designer::testing_support {

using Strings = std::vector<std::string>;

// The designer's window shown offscreen with scripted questions and dialogs, and its controls found by
// their object names.
class DesignerWindowFixture : public testing::QtTest {
  protected:
    DesignerWindowFixture() : window(prompter, dialogs) {
        window.resize(1100, 800);
        window.show();
        QCoreApplication::processEvents();
    }
    template <class T>
    T* find(const char* name) {
        T* w = window.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction* action(const char* name) { return find<QAction>(name); }

    testing::ScriptedPrompter prompter;
    testing::ScriptedDialogs dialogs;
    DesignerWindow window;
    testing::TempDir dir;
};

}  // namespace scorvane::designer::testing_support
