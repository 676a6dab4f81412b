#pragma once
// The names taken in one archive run: keys of the form domain/folder/name compared
// without regard to letter case, so that no two items of a run, and no item and a
// surviving archive entry, share a file in one folder.

#include <string>
#include <string_view>
#include <unordered_set>

namespace arkivo {

class UsedNames {
  public:
    static std::string KeyOf(std::string_view domain, std::string_view folder,
                             std::string_view name);

    bool Contains(const std::string& key) const;
    void Add(const std::string& key);
    void Clear() { keys_.clear(); }
    std::size_t Count() const { return keys_.size(); }

  private:
    std::unordered_set<std::string> keys_;  // lower-cased
};

}  // namespace arkivo
