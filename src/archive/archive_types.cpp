#include "archive/archive_types.h"

#include "model/content_types.h"
#include "platform/path.h"
#include "platform/rooted_files.h"

namespace arkivo {

TArchiveTypes::TArchiveTypes(const std::string& archiveDir) {
    const std::string path = JoinPath(archiveDir, ArchiveTypesFileName);
    if (const auto text = ReadFileBeneath(archiveDir, path)) {
        types_ = AddedMimeTypes(*text);
    }
}

int TArchiveTypes::CodeOf(int storedCode) {
    if (!types_ || storedCode <= BuiltInContentTypeCount) {
        return storedCode;
    }
    const auto [known, added] = codes_.emplace(storedCode, 0);
    if (added) {
        const auto index = static_cast<std::size_t>(storedCode - BuiltInContentTypeCount - 1);
        const std::string type = index < types_->size() ? (*types_)[index] : "text/plain";
        known->second = ContentCodeOf(type);
        if (known->second == UnknownContentCode && failure_.empty()) {
            failure_ = MimeTypeRecordingError();
        }
    }
    return known->second;
}

Status WriteArchiveTypes(const std::string& archiveDir) {
    const std::string path = JoinPath(archiveDir, ArchiveTypesFileName);
    const std::string text = MimeTypeFileText();
    // Most runs meet no new type: their table is the one there already.
    if (ReadFileBeneath(archiveDir, path) == text) {
        return Status::Ok();
    }
    return WriteFileBeneath(archiveDir, path, text, ReplaceOptions{});
}

}  // namespace arkivo
