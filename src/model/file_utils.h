#pragma once
// Directory tests and creation and the file copy the archiver uses.

#include <string>

namespace arkivo {

// True when the path exists and is a directory.
bool IsDirectory(const std::string& path);

// Creates the directory and any missing parents. Failures are not reported here:
// callers test IsDirectory afterwards.
void MakeDirectoryPath(const std::string& path);

// Copies the file byte for byte with the kernel's copy, replacing an existing
// target only once the copy is complete. Returns false when the copy could not be
// made; the target is then as it was.
bool CopyFileOver(const std::string& source, const std::string& target);

}  // namespace arkivo
