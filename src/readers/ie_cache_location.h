#pragma once
// Where the Internet Explorer cache lives. A cache is a Content.IE5 directory: its
// index.dat and the cache sub-directories the index names. The default cache is the
// one named by the environment variable ARKIVO_IE_CACHE (the directory or its
// index.dat), else the one chosen in ArkivoIE's Properties, else the first
// Content.IE5 index found in the usual cache folders of the user profiles of the
// Wine prefix ($WINEPREFIX, default ~/.wine).

#include <string>

#include "platform/status.h"

namespace arkivo {

struct IeCachePaths {
    std::string IndexPath;       // the index.dat file
    std::string CacheDirectory;  // the directory holding it, with a trailing separator
};

// The default cache as a path (a directory or an index file); chosen is the cache
// chosen in the Properties (empty: none). Empty when there is none.
std::string DefaultIeCache(const std::string& chosen = std::string());

// The index file and directory of cache: a Content.IE5 directory (its index.dat
// found without regard to letter case) or the index file itself. An empty cache
// stands for DefaultIeCache(). NotFound when there is no index file, with the
// reason.
Status ResolveIeCache(const std::string& cache, IeCachePaths& paths);

}  // namespace arkivo
