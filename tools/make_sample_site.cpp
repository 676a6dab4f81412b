// Writes the small web site the sample caches are made from: pages, pictures, a
// sound, a video and a ZIP archive on three made-up domains, each file under
// OUTPUT_DIRECTORY/<host>/<path>, and OUTPUT_DIRECTORY/manifest.tsv listing every
// resource with its URL, content type, the date it was fetched and its file (see
// sample_manifest.h). make_fat_db and ie_fixture_writer turn the manifest into
// caches; tools/make_samples runs all three.
//
//   make_sample_site OUTPUT_DIRECTORY
//
// Everything is drawn and composed here (GIF, baseline JPEG, PCM WAVE, uncompressed
// AVI, stored ZIP), so the output is the same on every run. The fetch dates lie
// between eight weeks and two days before 1 December 2026.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "model/file_utils.h"
#include "platform/clock.h"
#include "platform/path.h"
#include "sample_manifest.h"
#include "sample_site/harbor_town.h"
#include "sample_site/old_mirror.h"
#include "sample_site/tulip_garden.h"
#include "tool_options.h"

using namespace arkivo;
using namespace arkivo::samples;

namespace {

constexpr char Usage[] = "usage: make_sample_site OUTPUT_DIRECTORY\n";
constexpr DateParts SampleDay{2026, 12, 1, 0, 0, 0, 0};

// "host/path" for an http URL, with "index.html" for a path ending in "/".
std::string ContentFileOf(const std::string& url) {
    const std::string rest = url.substr(std::string_view("http://").size());
    return rest.ends_with('/') ? rest + "index.html" : rest;
}

DateParts FetchDate(const SiteResource& resource) {
    const double day = *EncodeDate(SampleDay) - resource.DaysBefore;
    return DecodeDate(day + (resource.Hour * 60 + resource.Minute) / 1440.0);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    MakeDirectoryPath(DirectoryPart(path));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "make_sample_site: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    tools::TakeNoOptions(argc, argv, "make_sample_site", Usage);
    if (argc != 2) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const std::string output = argv[1];
    std::vector<SiteResource> resources = TulipGardenResources();
    for (auto more : {HarborTownResources(), OldMirrorResources()}) {
        resources.insert(resources.end(), more.begin(), more.end());
    }
    std::string manifest =
        "# The sample site's resources: URL, content type, fetch date, content file.\n";
    for (const SiteResource& resource : resources) {
        const ManifestEntry entry{resource.Url,
                                  resource.ContentType,
                                  FetchDate(resource),
                                  ContentFileOf(resource.Url),
                                  {}};
        if (!WriteBytes(JoinPath(output, entry.ContentFile), resource.Content)) {
            return 1;
        }
        manifest += ManifestLine(entry);
    }
    if (!WriteBytes(JoinPath(output, "manifest.tsv"), manifest)) {
        return 1;
    }
    std::printf("%s\n", JoinPath(output, "manifest.tsv").c_str());
    return 0;
}
