#pragma once
// One running instance per executable file name. The first instance holds an
// exclusive lock on a file named after its executable's file name and the instance
// identifier, and listens on a local socket of the same name; a later start finds
// the lock taken, asks the first instance through the socket to raise its main
// window, and ends. The kernel drops the lock when a process ends however it ends,
// so a crashed instance never blocks a later start; its socket file is replaced.
//
// Both live in $XDG_RUNTIME_DIR, else in the temporary directory. Two copies of the
// program under different file names do not exclude each other; the directory a
// program runs from does not matter.

#include <string>
#include <string_view>

namespace arkivo {

// The executable's file name followed directly by
// "-- Mutex identifier Quenlow function CheckForSingleInstance()".
std::string InstanceIdentifier(std::string_view executablePath);

// The identifier as a file name in directory: characters other than letters,
// digits, "." and "-" become "_", and a name that would make the socket path too long
// is shortened and given a hash of the whole identifier, so different identifiers
// keep different names.
std::string InstanceFileName(std::string_view identifier, std::string_view directory);

// $XDG_RUNTIME_DIR when set and not empty, else the temporary directory; with a
// trailing separator.
std::string InstanceDirectory();

enum class LockOutcome {
    Acquired,       // this object holds the lock now
    HeldElsewhere,  // another instance holds it
    Unavailable,    // the lock file cannot be opened: no check is possible
};

// Holds the exclusive lock for as long as the object lives.
class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock on path, creating the file when missing.
    LockOutcome Acquire(const std::string& path);

  private:
    int descriptor_ = -1;
};

}  // namespace arkivo
