#include "archive/used_names.h"

#include "model/url.h"

namespace arkivo {

std::string UsedNames::KeyOf(std::string_view domain, std::string_view folder,
                             std::string_view name) {
    std::string key;
    key.reserve(domain.size() + folder.size() + name.size() + 2);
    key.append(domain).append(1, '/').append(folder).append(1, '/').append(name);
    return key;
}

bool UsedNames::Contains(const std::string& key) const {
    return keys_.count(LowerCase(key)) > 0;
}

void UsedNames::Add(const std::string& key) {
    keys_.insert(LowerCase(key));
}

}  // namespace arkivo
