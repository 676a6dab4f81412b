#pragma once
// The archive's own type table: "archive_types.dat" beside archive.dat holds the
// added content types (codes above the built-in table) that the codes of archive.dat
// stand for, in the MIMETYPE.DAT format (model/content_types.h): a header line, then
// one type per line, CR LF line ends. Each run writes the table it used, so an
// archive copied to another machine, whose MIMETYPE.DAT gives those codes other
// types or none, still reads right. The file is untrusted: it is read beneath the
// archive directory and no line of it becomes a path.
//
// Reading an archive turns each stored code into the code MimeTypes gives the same
// type, adding the type to MimeTypes (and MIMETYPE.DAT) when it is new there. An
// archive without the file keeps its codes as they stand.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/status.h"

namespace arkivo {

inline constexpr std::string_view ArchiveTypesFileName = "archive_types.dat";

class TArchiveTypes {
  public:
    // Reads archiveDir's archive_types.dat, if there is one.
    explicit TArchiveTypes(const std::string& archiveDir);

    // The code in MimeTypes of what the stored code means in this archive: a code
    // beyond the archive's table reads as "text/plain", as beyond any table.
    int CodeOf(int storedCode);

    // Why a type of the archive could not be added to MimeTypes; empty when all could.
    const std::string& Failure() const { return failure_; }

  private:
    std::optional<std::vector<std::string>> types_;
    std::unordered_map<int, int> codes_;
    std::string failure_;
};

// Replaces archiveDir's archive_types.dat with the types added to MimeTypes now,
// unless it holds them already.
Status WriteArchiveTypes(const std::string& archiveDir);

}  // namespace arkivo
