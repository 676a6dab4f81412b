#pragma once
// Reads the cached files of an export ahead of the writer: a thread of its own
// prepares the captures of the items in order (opens each file, reads its first
// block, takes its digests), a few at a time, so that reading and hashing one item
// overlaps compressing the one before.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "webarchive/warc_writer.h"

namespace arkivo {

class CaptureReadAhead {
  public:
    // items must outlive the object; at most ahead captures wait at a time.
    explicit CaptureReadAhead(const std::vector<const TCacheItem*>& items, std::size_t ahead = 2);
    // Stops the thread, whether or not every capture was taken.
    ~CaptureReadAhead();
    CaptureReadAhead(const CaptureReadAhead&) = delete;
    CaptureReadAhead& operator=(const CaptureReadAhead&) = delete;

    // The next item's capture, in the items' order; call it once per item.
    PreparedCapture Next();

  private:
    void Run();

    const std::vector<const TCacheItem*>& items_;
    const std::size_t ahead_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<PreparedCapture> ready_;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace arkivo
