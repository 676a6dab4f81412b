#include "webarchive/capture_read_ahead.h"

namespace arkivo {

CaptureReadAhead::CaptureReadAhead(const std::vector<const TCacheItem*>& items, std::size_t ahead)
    : items_(items), ahead_(ahead == 0 ? 1 : ahead), worker_([this] { Run(); }) {}

CaptureReadAhead::~CaptureReadAhead() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void CaptureReadAhead::Run() {
    for (const TCacheItem* item : items_) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || ready_.size() < ahead_; });
            if (stopping_) {
                return;
            }
        }
        PreparedCapture capture = PrepareCapture(*item);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            ready_.push_back(std::move(capture));
        }
        changed_.notify_all();
    }
}

PreparedCapture CaptureReadAhead::Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !ready_.empty(); });
    PreparedCapture capture = std::move(ready_.front());
    ready_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return capture;
}

}  // namespace arkivo
