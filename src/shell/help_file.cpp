#include "shell/help_file.h"

#include "platform/file_system.h"
#include "platform/path.h"

namespace arkivo {
namespace {

std::string helpFile;

}  // namespace

std::string LocateHelpFile(const std::string& dataDir) {
    const std::string path = JoinPath(JoinPath(dataDir, "help"), "Arkivo.html");
    return FileExists(path) ? path : std::string();
}

const std::string& HelpFile() {
    return helpFile;
}

void SetHelpFile(std::string path) {
    helpFile = std::move(path);
}

std::string HelpTopicAnchor(int topic) {
    return "topic-" + std::to_string(topic);
}

}  // namespace arkivo
