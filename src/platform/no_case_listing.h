#pragma once
// A directory's entries, read once and then looked up without regard to letter
// case. Cache indexes name their files in whatever case the browser kept, and a
// cache copied to this platform has them in another; when many names are not
// found as written, one listing serves them all instead of a scan of the directory
// for each.

#include <dirent.h>

#include <string>
#include <unordered_map>

namespace arkivo {

class NoCaseListing {
  public:
    struct Entry {
        std::string Name;                 // as spelled on disk
        unsigned char Type = DT_UNKNOWN;  // the listing's file type (DT_REG, DT_LNK, ...)
    };

    // Reads the entries of dir ("" for the working directory).
    explicit NoCaseListing(const std::string& dir);

    // False when the directory could not be listed; nothing is found then.
    bool Readable() const { return readable_; }

    // The entry spelled exactly as name when there is one, otherwise one whose name
    // differs from it only in letter case; nullptr when there is none.
    const Entry* Find(const std::string& name) const;

  private:
    bool readable_ = false;
    // Lower-cased name -> the first entry of that name.
    std::unordered_map<std::string, Entry> folded_;
    // Entries that differ from the first of their lower-cased name only in case, by
    // their own name.
    std::unordered_map<std::string, Entry> shadowed_;
};

}  // namespace arkivo
