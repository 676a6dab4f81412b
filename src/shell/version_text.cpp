#include "shell/version_text.h"

namespace arkivo {

std::string VersionText() {
    return "Version 6.0 (Build " + std::to_string(BuildNumber) + ")";
}

}  // namespace arkivo
