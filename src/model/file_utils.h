#pragma once
// Directory tests and creation and the file copy the archiver uses.

#include <string>

#include "platform/status.h"

namespace arkivo {

// True when the path exists and is a directory.
bool IsDirectory(const std::string& path);

// Creates the directory and any missing parents. Failures are not reported here:
// callers test IsDirectory afterwards.
void MakeDirectoryPath(const std::string& path);

// Copies the open file source byte for byte with the kernel's copy to target, a
// path beneath root (platform/rooted_files.h), replacing an existing target only
// once the copy is complete. When the copy cannot be made, the target is as it was
// and the status says why.
Status CopyFileBeneath(int source, const std::string& root, const std::string& target);

}  // namespace arkivo
