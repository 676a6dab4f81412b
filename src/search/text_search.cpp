#include "search/text_search.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "model/streams.h"
#include "platform/rooted_files.h"
#include "search/folded_find.h"

namespace arkivo {

void FoldCase(char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        bytes[i] = static_cast<char>(c + ((static_cast<unsigned char>(c - 'A') < 26) << 5));
    }
}

TextSearchResult SearchTextInFile(std::string_view text, const std::string& root,
                                  const std::string& path) {
    std::string needle(text);
    FoldCase(needle.data(), needle.size());
    const bool impossible = needle.find('\0') != std::string::npos;
    try {
        TFileStream file(OpenRegularFileBeneath(root, path), path);
        if (needle.empty()) {
            return TextSearchResult::Found;
        }
        if (impossible) {
            return TextSearchResult::NotFound;
        }
        // The buffer holds the last needle.size() - 1 bytes of the previous block (a
        // match's head that may continue in this one), then the new block.
        const std::size_t carry = needle.size() - 1;
        const auto buffer = std::make_unique_for_overwrite<char[]>(carry + TextSearchBlockSize);
        std::size_t kept = 0;
        for (;;) {
            const std::size_t got = file.Read(buffer.get() + kept, TextSearchBlockSize);
            const std::size_t filled = kept + got;
            if (FindFolded(buffer.get(), filled, needle)) {
                return TextSearchResult::Found;
            }
            if (got < TextSearchBlockSize) {
                return TextSearchResult::NotFound;
            }
            kept = std::min(carry, filled);
            std::memmove(buffer.get(), buffer.get() + filled - kept, kept);
        }
    } catch (const StreamError&) {
        return TextSearchResult::Unreadable;
    }
}

}  // namespace arkivo
