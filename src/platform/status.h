#pragma once
// The core's one error style: an operation that can fail returns a Status. The
// message is for people (a window shows it, the command line prints it); tests and
// callers decide on the code.

#include <string>
#include <utility>

namespace arkivo {

enum class StatusCode {
    Ok,
    NotFound,     // a file or directory that should be there is not
    Unreadable,   // it is there but cannot be opened or read
    Malformed,    // its contents are not what the format allows
    WriteFailed,  // creating, writing, syncing or renaming failed
    Cancelled,    // the user stopped the operation
    Refused,      // the operation would be unsafe and was not started
};

class Status {
  public:
    Status() = default;
    static Status Ok() { return {}; }
    static Status Error(StatusCode code, std::string message) {
        Status status;
        status.code_ = code;
        status.message_ = std::move(message);
        return status;
    }

    bool ok() const { return code_ == StatusCode::Ok; }
    StatusCode code() const { return code_; }
    const std::string& message() const { return message_; }

  private:
    StatusCode code_ = StatusCode::Ok;
    std::string message_;
};

}  // namespace arkivo
