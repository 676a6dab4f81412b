#include "platform/user_files.h"

#include <unistd.h>

#include "platform/program_dir.h"
#include "platform/user_dirs.h"

namespace arkivo {

std::string MimeTypeFileDir() {
    const std::string program = ProgramDir();
    return !IsInstalledProgram() && ::access(program.c_str(), W_OK) == 0 ? program
                                                                         : UserArkivoDir();
}

std::string DefaultArchiveDir() {
    return (IsInstalledProgram() ? UserArkivoDir() : ProgramDir()) + "ARCHIVE/";
}

}  // namespace arkivo
