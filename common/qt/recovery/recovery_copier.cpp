#include "common/qt/recovery/recovery_copier.h"

#include <algorithm>
#include <chrono>

#include "common/qt/interface_input_watch.h"
#include "common/recovery/recovery_store.h"

namespace scorvane {
namespace {

int64_t now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

RecoveryCopier::RecoveryCopier(RecoveryStore& store, std::string extension, Take take, Describe describe,
                               QObject* parent)
    : QObject(parent),
      store_(store),
      extension_(std::move(extension)),
      take_(std::move(take)),
      describe_(std::move(describe)),
      schedule_(store.interval()),
      id_(store.newCopyId()) {
    // The copies are made on the writer's thread, which gives way while keys come in.
    WatchInterfaceInput();
    timer_.setObjectName(QStringLiteral("recoveryCopyTimer"));
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryCopier::takeCopy);
}

void RecoveryCopier::edited() {
    schedule_.edited(now());
    arm();
}

void RecoveryCopier::changedInBulk() {
    schedule_.changedInBulk(now());
    arm();
}

void RecoveryCopier::settled() {
    schedule_.settled();
    timer_.stop();
    store_.writer().remove(id_, extension_);
}

void RecoveryCopier::adopt(const std::string& id) {
    id_ = id;
}

void RecoveryCopier::arm() {
    const std::optional<int64_t> due = schedule_.due();
    if (!due) {
        return;
    }
    const int64_t wait = std::max<int64_t>(0, *due - now());
    // A timer already set for an earlier moment stays; one for a later moment is brought forward.
    if (!timer_.isActive() || timer_.remainingTime() > wait) {
        timer_.start(static_cast<int>(std::min<int64_t>(wait, 24 * 60 * 60 * 1000)));
    }
}

void RecoveryCopier::takeCopy() {
    timer_.stop();
    if (!schedule_.due()) {
        return;
    }
    RecoveryInfo info = describe_();
    info.session = store_.session();
    store_.writer().write({id_, extension_, take_(), std::move(info)});
    schedule_.copied();
}

}  // namespace scorvane
