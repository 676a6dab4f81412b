#pragma once
// A WACZ package (Web Archive Collection Zipped, the 1.1.1 recommendation; its
// 1.2.0 successor is still a draft): a ZIP holding the WARC file under archive/,
// stored without ZIP compression so that readers can seek into it, its CDXJ index
// under indexes/, the page list pages/pages.jsonl, datapackage.json naming every
// other file with its size and SHA-256, and datapackage-digest.json with the
// SHA-256 of datapackage.json. The ZIP structure is minizip's.
//
// The WARC is streamed into its entry as it is written, hashed on the way.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "webarchive/warc_writer.h"

namespace arkivo {

class WaczPackage {
  public:
    // Writes the package into fd, a new empty file open for reading and writing;
    // now is the creation time it records.
    WaczPackage(int fd, std::int64_t now);
    ~WaczPackage();
    WaczPackage(const WaczPackage&) = delete;
    WaczPackage& operator=(const WaczPackage&) = delete;

    // The WARC entry: archive/<name>, then its bytes piece by piece. An entry that
    // may reach 4 GB (large) carries zip64 fields; others do not, as replay tools
    // read an entry's sizes from its local header and minizip leaves them zero in
    // the zip64 fields of an entry that turned out small.
    bool BeginWarc(const std::string& name, bool large);
    bool AddWarcBytes(std::string_view bytes);
    bool EndWarc();

    // Adds the index, the page list and the package description, and closes the
    // ZIP. cdxjLines must be sorted.
    bool Finish(const std::vector<std::string>& cdxjLines, const std::vector<WarcPage>& pages,
                const std::string& title);

  private:
    struct Resource;
    bool BeginEntry(const std::string& path, bool compressed, bool large);
    bool AddFile(const std::string& path, std::string_view bytes, bool listed);

    struct State;
    std::unique_ptr<State> state_;
};

// The lines of pages/pages.jsonl: the header line, then one page per line.
std::string PagesJsonl(const std::vector<WarcPage>& pages);

}  // namespace arkivo
