#include "common/recovery/recovery_writer.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>

namespace scorvane {

RecoveryWriter::RecoveryWriter(const RecoveryFolder& folder) : folder_(folder), thread_([this] { run(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RecoveryWriter::write(Job job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto same = std::find_if(queue_.begin(), queue_.end(), [&](const Job& j) { return j.id == job.id; });
        if (same != queue_.end()) {
            *same = std::move(job);
        } else {
            queue_.push_back(std::move(job));
        }
    }
    wake_.notify_all();
}

void RecoveryWriter::remove(const std::string& id, const std::string& extension) {
    std::unique_lock<std::mutex> lock(mutex_);
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [&](const Job& j) { return j.id == id; }),
                 queue_.end());
    idle_.wait(lock, [&] { return writing_ != id; });
    // Removed under the lock, so that no copy of the same id can begin meanwhile.
    folder_.remove(id, extension);
}

void RecoveryWriter::wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [&] { return queue_.empty() && writing_.empty(); });
}

int RecoveryWriter::written() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
}

int RecoveryWriter::failed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failed_;
}

void RecoveryWriter::run() {
    // The copies give way to the window: on a busy machine a key typed is handled first, a copy a
    // moment later.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 19);
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        wake_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) {
            return;  // stopping, and everything asked for is written
        }
        Job job = std::move(queue_.front());
        queue_.pop_front();
        writing_ = job.id;
        lock.unlock();

        job.info.time = static_cast<int64_t>(std::time(nullptr));
        const std::string bytes = job.bytes();
        const bool ok = folder_.write(job.id, job.extension, bytes, job.info);
        job = Job{};  // a table's copy is let go of here, not while others wait for the lock

        lock.lock();
        (ok ? written_ : failed_) += 1;
        writing_.clear();
        idle_.notify_all();
    }
}

}  // namespace scorvane
