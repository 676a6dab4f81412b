#pragma once
// The archive search: reads an archive directory's archive.dat record by record and
// reports every archived item whose canonical URL holds the URL text and, when a
// page text is given, whose archived HTML page holds that text. The search window
// and `arkivo search` both drive it; it never changes the archive.
//
// A record is skipped when its archived copy is not there (deleted since the last
// archive run) or when its names are not safe path components (a hostile
// archive.dat never makes the search read outside the archive). Hits come in the
// order of the file. After every record the caller's pending work is done and the
// stop request tested, so a window stays usable and Stop takes effect between
// records; hits found before a stop or a read error stay reported.

#include <functional>
#include <string>

#include "model/content_types.h"

namespace arkivo {

// What to look for and where. The texts are cut to 255 characters and folded to
// lower case (A to Z) when the search starts; an empty text matches everything.
struct SearchRequest {
    std::string Directory;  // the archive directory, with or without a trailing separator
    std::string UrlText;
    std::string PageText;
};

// One found item.
struct SearchHit {
    std::string Url;   // the item's URL in canonical form (CanonicalUrlShort)
    FileClass Class;   // of the item's content code
    std::string File;  // full path of the archived copy
};

struct SearchCallbacks {
    std::function<void(const SearchHit&)> HitFound;
    std::function<void()> ProcessPendingMessages;  // after every record; may be empty
    std::function<bool()> StopRequested;           // tested after every record; may be empty
};

enum class SearchEnd {
    Finished,               // archive.dat was read to its end
    Stopped,                // the stop request ended it
    ArchiveInfoUnreadable,  // archive.dat could not be opened or read
    Failed,                 // an archived page could not be read
};

struct SearchOutcome {
    SearchEnd End = SearchEnd::Finished;
    std::size_t HitCount = 0;
};

SearchOutcome SearchArchive(const SearchRequest& request, const SearchCallbacks& callbacks);

}  // namespace arkivo
