#include "common/qt/interface_input_watch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include "common/interface_input.h"

namespace scorvane {
namespace {

class InputWatch : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::InputMethod:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
                NoteInterfaceInput();
                break;
            default:
                break;
        }
        return false;
    }
};

}  // namespace

void WatchInterfaceInput() {
    static QPointer<InputWatch> watch;
    QCoreApplication* app = QCoreApplication::instance();
    if (!watch && app) {
        watch = new InputWatch(app);
        app->installEventFilter(watch);
    }
}

}  // namespace scorvane
