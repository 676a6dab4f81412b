#include "archive/archive_info.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "archive/archive_icons.h"
#include "archive/archive_layout.h"
#include "archive/archive_types.h"
#include "model/file_utils.h"
#include "model/url.h"
#include "platform/file_system.h"
#include "platform/path.h"
#include "platform/rooted_files.h"

namespace arkivo {
namespace {

std::string DomainOfUrl(const std::string& url) {
    std::string text = url;
    return FileNameSafe(SplitHost(text));
}

}  // namespace

TCacheItemList LoadArchiveInfo(const std::string& filePath) {
    TCacheItemList entries;
    const std::string archiveDir = DirectoryPart(filePath);
    TArchiveTypes types(archiveDir);
    // Opened within its folder: an archive.dat that is a link out of it is refused.
    TSimpleBufferFileStream stream(OpenRegularFileBeneath(archiveDir, filePath), filePath);
    for (;;) {
        auto item = std::make_unique<TCacheItem>();
        if (item->LoadFromStream(stream)) {
            break;
        }
        item->Domain = DomainOfUrl(item->Url);
        item->Kind = types.CodeOf(item->Kind);
        entries.push_back(std::move(item));
    }
    if (!types.Failure().empty()) {
        // Its items would be looked for in the wrong folders and dropped.
        throw StreamError(types.Failure());
    }
    return entries;
}

Status TArchiveList::ReadArchiveInfo(const std::string& archiveDir, UsedNames& usedNames) {
    entries_.clear();
    const std::string filePath = JoinPath(archiveDir, ArchiveInfoFileName);
    if (::access(filePath.c_str(), F_OK) == 0) {
        try {
            entries_ = LoadArchiveInfo(filePath);
        } catch (const StreamError& error) {
            entries_.clear();
            Reindex();
            return Status::Error(StatusCode::Unreadable, error.what());
        }
        // Keep the entries whose archived copy is still there, in their order.
        std::erase_if(entries_, [&](const std::unique_ptr<TCacheItem>& entry) {
            const auto path = ArchivePathOf(archiveDir, *entry);
            return !path || !IsFileBeneath(archiveDir, *path);
        });
        for (const auto& entry : entries_) {
            usedNames.Add(
                UsedNames::KeyOf(entry->Domain, ArchiveFolderOf(entry->Kind), entry->ArchiveName));
        }
    } else if (!IsDirectory(archiveDir)) {
        MakeDirectoryPath(archiveDir);
    }
    Reindex();
    EnsureIcons(archiveDir);
    return Status::Ok();
}

std::optional<std::string> TArchiveList::FindArchivedName(std::string_view url) const {
    const auto found = firstByUrl_.find(std::string(url));
    if (found == firstByUrl_.end()) {
        return std::nullopt;
    }
    return entries_[found->second]->ArchiveName;
}

void TArchiveList::MergeArchived(const TCacheItem& item) {
    const auto [found, added] = firstByUrl_.emplace(item.Url, entries_.size());
    if (added) {
        entries_.push_back(std::make_unique<TCacheItem>());
    }
    entries_[found->second]->AssignFrom(item);
}

Status TArchiveList::WriteArchiveInfo(const std::string& archiveDir) {
    const std::string filePath = JoinPath(archiveDir, ArchiveInfoFileName);
    Status status;
    if (entries_.empty()) {
        const int removed = RemoveFileBeneath(archiveDir, filePath);
        if (removed != 0 && removed != ENOENT) {
            status = Status::Error(StatusCode::WriteFailed,
                                   "cannot delete " + filePath + ": " + std::strerror(removed));
        }
    } else if (status = WriteArchiveTypes(archiveDir); status.ok()) {
        // The codes below mean what the type table just written says.
        TMemoryStream buffer;
        for (const auto& entry : entries_) {
            entry->SaveToStream(buffer);
        }
        status = WriteFileBeneath(
            archiveDir, filePath, buffer.Bytes(),
            ReplaceOptions{Durability::Synced, std::string(ArchiveInfoTempName), {}});
    }
    entries_.clear();
    firstByUrl_.clear();
    return status;
}

void TArchiveList::Reindex() {
    firstByUrl_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        firstByUrl_.emplace(entries_[i]->Url, i);
    }
}

}  // namespace arkivo
