#pragma once
// Byte streams: a common interface over files and memory, the read-ahead file
// stream that archive.dat is read through, and the copy between streams.
//
// Errors of the underlying file (open, read, write, seek) throw StreamError; the
// callers that read or write whole files catch it.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace arkivo {

class StreamError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class SeekOrigin { Begin, Current, End };

class TStream {
  public:
    virtual ~TStream() = default;
    // Reads up to count bytes; fewer only at the end of the data.
    virtual std::size_t Read(void* destination, std::size_t count) = 0;
    // Writes all count bytes (or throws).
    virtual std::size_t Write(const void* source, std::size_t count) = 0;
    // Moves the position and returns the new one; a position before 0 throws.
    virtual std::uint64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::uint64_t Size() = 0;

    std::uint64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(std::uint64_t position) {
        Seek(static_cast<std::int64_t>(position), SeekOrigin::Begin);
    }
};

// An in-memory stream that grows with every write past its end.
class TMemoryStream : public TStream {
  public:
    std::size_t Read(void* destination, std::size_t count) override;
    std::size_t Write(const void* source, std::size_t count) override;
    std::uint64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::uint64_t Size() override { return bytes_.size(); }

    void Clear();
    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
    std::size_t position_ = 0;
};

enum class FileMode {
    Read,       // existing file, read only
    ReadWrite,  // existing file, read and write
    Create,     // new or truncated file, read and write
};

class TFileStream : public TStream {
  public:
    // Opens the file; throws StreamError when it cannot.
    TFileStream(const std::string& path, FileMode mode);
    // Takes over fd, the file at path opened for reading by the caller (-1, with
    // errno set, when it could not be: the constructor then throws StreamError).
    TFileStream(int fd, const std::string& path);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* destination, std::size_t count) override;
    std::size_t Write(const void* source, std::size_t count) override;
    std::uint64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::uint64_t Size() override;

    // Flushes the file's data to the disk (throws when that fails).
    void Sync();

  private:
    int fd_ = -1;
    std::string path_;
};

// A file stream with a 32768-byte read-ahead buffer, so that the many small reads
// of a stored record do not each reach the file. Read it through BufferedRead only.
class TSimpleBufferFileStream : public TFileStream {
  public:
    static constexpr std::size_t ReadAheadSize = 32768;

    TSimpleBufferFileStream(const std::string& path, FileMode mode) : TFileStream(path, mode) {}
    TSimpleBufferFileStream(int fd, const std::string& path) : TFileStream(fd, path) {}

    TMemoryStream& ReadAhead() { return buffer_; }

  private:
    TMemoryStream buffer_;
};

// Delivers up to count bytes from the read-ahead buffer, refilling it from the file
// when it holds fewer than count (the file is first moved back to the first byte not
// yet delivered). A single request delivers at most ReadAheadSize bytes; 0 means the
// data has ended.
std::size_t BufferedRead(TSimpleBufferFileStream& stream, void* destination, std::size_t count);

// Copies count bytes from source's position to destination (count 0: the whole
// source from its start), cut to what the source still holds. Returns the count
// copied. A source that delivers less than it claimed to hold throws StreamError.
std::uint64_t CopyStream(TStream& destination, TStream& source, std::uint64_t count);

}  // namespace arkivo
