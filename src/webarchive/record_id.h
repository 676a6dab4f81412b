#pragma once
// Names for WARC records.

#include <string>

namespace arkivo {

// A fresh random record name, "<urn:uuid:...>" (a version 4 UUID from libuuid).
std::string NewRecordId();

}  // namespace arkivo
