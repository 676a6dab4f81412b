#include "archiver/archive_names.h"

#include <cstdint>

#include "archive/archive_layout.h"
#include "model/url.h"
#include "platform/byte_set.h"
#include "platform/path.h"
#include "platform/rooted_files.h"

namespace arkivo {
namespace {

constexpr std::size_t NameLimit = 255;

bool IsNameCharacter(unsigned char c) {
    static constexpr ByteSet allowed = AlphanumericsAnd("!#$().@_{}~");
    return allowed[c];
}

std::string FirstChoiceName(const TCacheItem& item, Edition edition,
                            const TExtensionTable& extensions) {
    std::string name;
    if (edition == Edition::Nav) {
        name = NameFromUrl(CutTo(item.Url, NameLimit), item.Kind, extensions);
        if (!IsSafePathComponent(name)) {
            name = "page." + extensions.ExtensionOf(item.Kind);
        }
    } else {
        name = FileNamePart(item.CacheFile);
        if (name.empty() || !IsSafePathComponent(name)) {
            name = "page.htm";
        }
    }
    return name;
}

}  // namespace

std::string NameFromUrl(std::string_view url, int code, const TExtensionTable& extensions) {
    const std::string canonical = CanonicalUrlShort(url);
    std::string_view text = canonical;
    const bool endsWithSlash = !text.empty() && text.back() == '/';
    bool addExtension = endsWithSlash;
    if (endsWithSlash) {
        text.remove_suffix(1);
    }
    const auto slash = text.rfind('/');
    std::string segment(slash == std::string_view::npos ? text : text.substr(slash + 1));
    if (!endsWithSlash && code >= 1 && code <= 4) {
        const auto dot = segment.rfind('.');
        if (dot != std::string::npos) {
            segment.erase(dot);
        }
        addExtension = true;
    }
    std::string name;
    for (char c : segment) {
        if (IsNameCharacter(static_cast<unsigned char>(c))) {
            name += c;
        }
    }
    if (addExtension || name.find('.') == std::string::npos) {
        name += "." + extensions.ExtensionOf(code);
    }
    return CutTo(name, NameLimit);
}

std::string NextCandidateName(std::string_view name) {
    std::string extension;
    const auto dot = name.rfind('.');
    if (dot != std::string_view::npos && name.find_first_of("\\:", dot) == std::string_view::npos) {
        extension = std::string(name.substr(dot));
    }
    std::string rest(name);
    if (!extension.empty()) {
        rest.erase(rest.find(extension));
    }

    std::uint64_t counter = 0;
    if (rest.size() > 3 && rest.back() == ')') {
        std::size_t digitsStart = rest.size() - 1;
        while (digitsStart > 0 && rest[digitsStart - 1] >= '0' && rest[digitsStart - 1] <= '9') {
            --digitsStart;
        }
        const std::size_t digitCount = rest.size() - 1 - digitsStart;
        const bool opensBefore = digitsStart > 0 && rest[digitsStart - 1] == '(';
        const bool onlyDigits = digitsStart == 0;
        // A counter too large for 32 bits is not a counter: the name is kept whole
        // and gets a fresh "(1)", which still makes a new, unique candidate.
        if (digitCount > 0 && digitCount <= 10 && (opensBefore || onlyDigits)) {
            const std::uint64_t value = std::stoull(rest.substr(digitsStart, digitCount));
            if (value < 0xFFFFFFFFULL) {
                counter = value;
                if (opensBefore) {
                    rest.erase(digitsStart - 1);
                }
            }
        }
    }

    const std::string suffix = "(" + std::to_string(counter + 1) + ")";
    if (rest.size() + suffix.size() + extension.size() > NameLimit) {
        const std::size_t room = NameLimit - suffix.size();
        extension = CutTo(extension, room);
        rest = CutTo(rest, room - extension.size());
    }
    return rest + suffix + extension;
}

bool AssignArchiveName(TCacheItem& item, const std::string& archiveDir, Edition edition,
                       const TExtensionTable& extensions, UsedNames& usedNames) {
    const auto folderPath = ArchiveFolderPath(archiveDir, item);
    if (!folderPath) {
        return false;
    }
    MakeDirectoriesBeneath(archiveDir, *folderPath);
    const std::string folder = ArchiveFolderOf(item.Kind);
    std::string name = FirstChoiceName(item, edition, extensions);
    for (;;) {
        const std::string key = UsedNames::KeyOf(item.Domain, folder, name);
        if (!usedNames.Contains(key) && !ExistsBeneath(archiveDir, *folderPath + name)) {
            usedNames.Add(key);
            item.ArchiveName = name;
            return true;
        }
        name = NextCandidateName(name);
    }
}

}  // namespace arkivo
