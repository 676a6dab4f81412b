#pragma once
// One run at a time in an archive directory. ArkivoNav, ArkivoIE and the command
// line share the default archive directory, and two runs that each read archive.dat,
// add their items and write it back lose one run's items and leave entries naming
// the other's pages. So a run holds this lock from reading archive.dat until it has
// written it back, and a second run is refused at once rather than made to wait.
//
// The lock is flock(2) on the directory itself: it ends with the process holding
// it, a killed one included. Whoever takes it first removes the temporary files that
// killed runs left behind, as nothing else can be writing them then.

#include <string>

#include "platform/status.h"
#include "platform/unique_fd.h"

namespace arkivo {

inline constexpr const char* ArchiveBusyText = "another archive run is using this directory";

class ArchiveLock {
  public:
    // Takes the lock on archiveDir, an existing directory; status() tells the outcome.
    explicit ArchiveLock(const std::string& archiveDir);

    // Ok while held; Refused, with ArchiveBusyText, when another run holds it;
    // Unreadable when the directory cannot be opened.
    const Status& status() const { return status_; }

  private:
    UniqueFd dir_;
    Status status_;
};

// Removes the temporary files of earlier runs (".arkivo-" names, "archive.tmp") from
// the archive directory dirFd, its domain folders and their type folders, the only
// places a run writes; links are never followed. Only while holding the lock.
void RemoveLeftoverTempFiles(int dirFd);

}  // namespace arkivo
