#include "model/streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/file_system.h"

namespace arkivo {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw StreamError(what + " " + path + ": " + std::strerror(errno));
}

constexpr std::size_t CopyChunkSize = 61440;

}  // namespace

std::size_t TMemoryStream::Read(void* destination, std::size_t count) {
    const std::size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const std::size_t delivered = std::min(count, available);
    if (delivered > 0) {
        std::memcpy(destination, bytes_.data() + position_, delivered);
        position_ += delivered;
    }
    return delivered;
}

std::size_t TMemoryStream::Write(const void* source, std::size_t count) {
    if (position_ + count > bytes_.size()) {
        bytes_.resize(position_ + count);
    }
    std::memcpy(bytes_.data() + position_, source, count);
    position_ += count;
    return count;
}

std::uint64_t TMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    const std::int64_t base = origin == SeekOrigin::Begin ? 0
                              : origin == SeekOrigin::Current
                                  ? static_cast<std::int64_t>(position_)
                                  : static_cast<std::int64_t>(bytes_.size());
    if (base + offset < 0) {
        throw StreamError("seek before the start of a memory stream");
    }
    position_ = static_cast<std::size_t>(base + offset);
    return position_;
}

void TMemoryStream::Clear() {
    bytes_.clear();
    position_ = 0;
}

TFileStream::TFileStream(const std::string& path, FileMode mode) : path_(path) {
    const int flags = mode == FileMode::Read        ? O_RDONLY
                      : mode == FileMode::ReadWrite ? O_RDWR
                                                    : O_RDWR | O_CREAT | O_TRUNC;
    // Input must be a regular file, opened without blocking on a FIFO.
    fd_ = mode == FileMode::Read ? OpenRegularFile(path)
                                 : ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        Fail("cannot open", path);
    }
}

TFileStream::TFileStream(int fd, const std::string& path) : fd_(fd), path_(path) {
    if (fd_ < 0) {
        Fail("cannot open", path);
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t TFileStream::Read(void* destination, std::size_t count) {
    std::size_t delivered = 0;
    auto* out = static_cast<char*>(destination);
    while (delivered < count) {
        const ssize_t got = ::read(fd_, out + delivered, count - delivered);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            Fail("cannot read", path_);
        }
        if (got == 0) {
            break;
        }
        delivered += static_cast<std::size_t>(got);
    }
    return delivered;
}

std::size_t TFileStream::Write(const void* source, std::size_t count) {
    std::size_t written = 0;
    const auto* in = static_cast<const char*>(source);
    while (written < count) {
        const ssize_t put = ::write(fd_, in + written, count - written);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            Fail("cannot write", path_);
        }
        written += static_cast<std::size_t>(put);
    }
    return written;
}

std::uint64_t TFileStream::Seek(std::int64_t offset, SeekOrigin origin) {
    const int whence = origin == SeekOrigin::Begin     ? SEEK_SET
                       : origin == SeekOrigin::Current ? SEEK_CUR
                                                       : SEEK_END;
    const off_t position = ::lseek(fd_, offset, whence);
    if (position < 0) {
        Fail("cannot seek in", path_);
    }
    return static_cast<std::uint64_t>(position);
}

std::uint64_t TFileStream::Size() {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        Fail("cannot read the size of", path_);
    }
    return static_cast<std::uint64_t>(info.st_size);
}

void TFileStream::Sync() {
    if (::fsync(fd_) != 0) {
        Fail("cannot sync", path_);
    }
}

std::size_t BufferedRead(TSimpleBufferFileStream& stream, void* destination, std::size_t count) {
    TMemoryStream& buffer = stream.ReadAhead();
    const std::uint64_t avail = buffer.Size() - std::min(buffer.Size(), buffer.Position());
    if (avail < count) {
        stream.Seek(-static_cast<std::int64_t>(avail), SeekOrigin::Current);
        buffer.Clear();
        if (CopyStream(buffer, stream, TSimpleBufferFileStream::ReadAheadSize) == 0) {
            return 0;
        }
        buffer.SetPosition(0);
    }
    return buffer.Read(destination, count);
}

std::uint64_t CopyStream(TStream& destination, TStream& source, std::uint64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const std::uint64_t size = source.Size();
    const std::uint64_t position = source.Position();
    const std::uint64_t remaining = size > position ? size - position : 0;
    count = std::min(count, remaining);
    if (count == 0) {
        return 0;
    }
    std::vector<char> transfer(
        static_cast<std::size_t>(std::min<std::uint64_t>(count, CopyChunkSize)));
    for (std::uint64_t left = count; left > 0;) {
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, transfer.size()));
        if (source.Read(transfer.data(), piece) != piece) {
            throw StreamError("the source stream ended before its size");
        }
        destination.Write(transfer.data(), piece);
        left -= piece;
    }
    return count;
}

}  // namespace arkivo
