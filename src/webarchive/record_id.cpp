#include "webarchive/record_id.h"

#include <uuid/uuid.h>

namespace arkivo {

std::string NewRecordId() {
    uuid_t id;
    uuid_generate_random(id);
    char text[37];
    uuid_unparse_lower(id, text);
    return std::string("<urn:uuid:") + text + ">";
}

}  // namespace arkivo
