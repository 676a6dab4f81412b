#pragma once
// Where the files Arkivo writes for its user go. Whether the program is installed
// is told by its layout (platform/program_dir.h), never by permissions: an installed
// program writes nothing beside itself, whoever runs it. A build tree or an unpacked
// copy keeps its files beside the program, as far as it may write there.

#include <string>

namespace arkivo {

// The directory of MIMETYPE.DAT: the program directory when the program is not
// installed and that directory is writable, else UserArkivoDir().
std::string MimeTypeFileDir();

// The default archive directory: ProgramDir() + "ARCHIVE/" when the program is not
// installed, else UserArkivoDir() + "ARCHIVE/".
std::string DefaultArchiveDir();

}  // namespace arkivo
