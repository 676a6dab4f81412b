#include "webarchive/web_archive_export.h"

#include <fcntl.h>
#include <minizip/unzip.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <random>

#include "model/content_types.h"
#include "platform/unique_fd.h"
#include "support/test_support.h"
#include "warc_test_reader.h"
#include "webarchive/digest.h"

namespace arkivo {
namespace {

using testing::ParseWarcRecord;
using testing::ReadGzipMembers;
using testing::TempDir;
using testing::WarcTestRecord;

std::string Sha1Text(std::string_view bytes) {
    Digest sha1(DigestAlgorithm::Sha1);
    sha1.Add(bytes);
    return WarcDigestText(sha1.Finish());
}

std::string Sha256Text(std::string_view bytes) {
    Digest sha256(DigestAlgorithm::Sha256);
    sha256.Add(bytes);
    return "sha256:" + HexText(sha256.Finish());
}

class WebArchiveExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadMimeTypes(dir.Path());
        std::filesystem::create_directories(out.Path());
        outDir = UniqueFd(::open(out.Path().c_str(), O_RDONLY | O_DIRECTORY));
    }

    // An item whose cached file is cache/name, holding bytes unless it is empty.
    TCacheItem& AddItem(const std::string& name, const std::string& bytes, const std::string& url,
                        const std::string& type, const std::string& header = "") {
        const std::string cache = dir / "cache/";
        if (!bytes.empty()) {
            testing::WriteFile(cache + name, bytes);
        }
        auto item = std::make_unique<TCacheItem>();
        item->Url = url;
        item->CacheFile = cache + name;
        item->CacheDirLength = cache.size();
        item->Kind = ContentCodeOf(type);
        auto origin = std::make_shared<CacheOrigin>();
        origin->Url = url;
        origin->ContentType = header.empty() ? type : "";
        origin->ResponseHeader = header;
        origin->IndexFile = cache + "index.dat";
        origin->LastAccess = 1000000000;  // 2001-09-09T01:46:40Z
        origin->HitCount = 7;
        item->Origin = origin;
        items.push_back(std::move(item));
        return *items.back();
    }

    std::vector<const TCacheItem*> Chosen() const {
        std::vector<const TCacheItem*> chosen;
        for (const auto& item : items) {
            chosen.push_back(item.get());
        }
        return chosen;
    }

    WebArchiveExport Export(bool wacz, const ExportProgress& progress = {}) {
        WebArchiveTargets targets;
        targets.WarcName = "cache.warc.gz";
        targets.Warc = ExportTarget{outDir.Get(), "cache.warc.gz", out / "cache.warc.gz"};
        if (wacz) {
            targets.Wacz = ExportTarget{outDir.Get(), "cache.wacz", out / "cache.wacz"};
        }
        return ExportWebArchive(Chosen(), {"/caches/ie", "Internet Explorer cache"}, targets,
                                1764547200, progress);
    }

    TempDir dir;
    TempDir out;
    UniqueFd outDir;
    TCacheItemList items;
};

TEST_F(WebArchiveExportTest, EveryItemBecomesACaptureFollowedByWhatTheCacheKnew) {
    std::string big(3 * 1024 * 1024 + 17, '\0');
    std::mt19937 random(7);
    for (char& c : big) {
        c = static_cast<char>(random());
    }
    AddItem(
        "page.htm", "<html><title> Tulips </title>bulbs</html>", "http://tulip.example/",
        "text/html",
        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nTransfer-Encoding: chunked\r\n\r\n~U:a\r\n");
    AddItem("photo.jpg", big, "https://tulip.example/photo.jpg", "image/jpeg");
    const WebArchiveExport result = Export(false);
    ASSERT_TRUE(result.Error.ok()) << result.Error.message();
    EXPECT_EQ(result.Written, 2u);

    const std::string warc = testing::ReadFile(out / "cache.warc.gz");
    const auto members = ReadGzipMembers(warc);
    ASSERT_EQ(members.size(), 5u);
    std::vector<WarcTestRecord> records;
    for (const auto& member : members) {
        records.push_back(ParseWarcRecord(member.Bytes));
    }
    const WarcTestRecord& info = records[0];
    EXPECT_EQ(info.Fields.at("WARC-Type"), "warcinfo");
    EXPECT_EQ(info.Fields.at("WARC-Filename"), "cache.warc.gz");
    EXPECT_NE(info.Block.find("cache: /caches/ie\r\n"), std::string::npos);

    const WarcTestRecord& page = records[1];
    EXPECT_EQ(page.Fields.at("WARC-Type"), "response");
    EXPECT_EQ(page.Fields.at("WARC-Date"), "2001-09-09T01:46:40Z");
    EXPECT_EQ(page.Block,
              "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nX-Archive-Orig-Transfer-Encoding: "
              "chunked\r\n\r\n<html><title> Tulips </title>bulbs</html>");
    EXPECT_EQ(page.Fields.at("WARC-Payload-Digest"),
              Sha1Text("<html><title> Tulips </title>bulbs</html>"));
    const WarcTestRecord& photo = records[3];
    EXPECT_EQ(photo.Fields.at("WARC-Type"), "resource");
    EXPECT_EQ(photo.Fields.at("Content-Type"), "image/jpeg");
    EXPECT_EQ(photo.Fields.at("WARC-Target-URI"), "https://tulip.example/photo.jpg");
    EXPECT_EQ(photo.Block, big);
    EXPECT_EQ(photo.Fields.at("WARC-Payload-Digest"), Sha1Text(big));

    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].Fields.at("WARC-Block-Digest"), Sha1Text(records[i].Block)) << i;
        if (i > 0) {
            EXPECT_EQ(records[i].Fields.at("WARC-Warcinfo-ID"), info.Fields.at("WARC-Record-ID"));
        }
    }
    for (const std::size_t metadata : {2u, 4u}) {
        const WarcTestRecord& record = records[metadata];
        EXPECT_EQ(record.Fields.at("WARC-Type"), "metadata");
        EXPECT_EQ(record.Fields.at("WARC-Refers-To"),
                  records[metadata - 1].Fields.at("WARC-Record-ID"));
        EXPECT_NE(record.Block.find("hit-count: 7\r\n"), std::string::npos);
        EXPECT_NE(record.Block.find("warc-date-from: last-access\r\n"), std::string::npos);
    }

    // Each index line names the member its capture is in.
    ASSERT_EQ(result.CdxjLines.size(), 2u);
    EXPECT_NE(result.CdxjLines[1].find("\"offset\":\"" + std::to_string(members[3].Offset) +
                                       "\",\"filename\""),
              std::string::npos);
    EXPECT_NE(result.CdxjLines[1].find("\"length\":\"" + std::to_string(members[3].Length) + "\""),
              std::string::npos);
    EXPECT_EQ(result.CdxjLines[0].substr(0, 40), "example,tulip)/ 20010909014640 {\"url\":\"h");
    EXPECT_NE(result.CdxjLines[0].find("\"status\":\"200\""), std::string::npos);
}

TEST_F(WebArchiveExportTest, UnreadableItemsAreSkippedAndCounted) {
    AddItem("gone.htm", "", "http://a.example/gone", "text/html");
    AddItem("ok.txt", "fine", "http://a.example/ok", "text/plain");
    std::filesystem::create_symlink("/etc/passwd", dir / "cache/outside.txt");
    AddItem("outside.txt", "", "http://a.example/outside", "text/plain");
    const WebArchiveExport result = Export(false);
    ASSERT_TRUE(result.Error.ok()) << result.Error.message();
    EXPECT_EQ(result.Written, 1u);
    EXPECT_EQ(result.Skipped, 2u);
    EXPECT_NE(result.FirstSkip.find("gone.htm"), std::string::npos);
    EXPECT_EQ(ReadGzipMembers(testing::ReadFile(out / "cache.warc.gz")).size(), 3u);
}

TEST_F(WebArchiveExportTest, ACancelledExportLeavesTheTargetsAsTheyWere) {
    // Enough items that the files read ahead are still waiting when it stops.
    for (int i = 0; i < 50; ++i) {
        const std::string name = std::to_string(i) + ".txt";
        AddItem(name, name, "http://a.example/" + name, "text/plain");
    }
    testing::WriteFile(out / "cache.warc.gz", "older");
    const WebArchiveExport result = Export(true, [](std::size_t done) { return done < 2; });
    EXPECT_TRUE(result.Cancelled);
    EXPECT_FALSE(result.Error.ok());
    EXPECT_EQ(testing::ReadFile(out / "cache.warc.gz"), "older");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(out.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u);  // no package, no temporary file
}

// A file of the package, read with minizip's reader.
std::string ZipEntry(unzFile zip, const std::string& name, int* method = nullptr) {
    EXPECT_EQ(unzLocateFile(zip, name.c_str(), 1), UNZ_OK) << name;
    unz_file_info64 info{};
    unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (method != nullptr) {
        *method = static_cast<int>(info.compression_method);
    }
    std::string bytes(info.uncompressed_size, '\0');
    unzOpenCurrentFile(zip);
    EXPECT_EQ(unzReadCurrentFile(zip, bytes.data(), static_cast<unsigned>(bytes.size())),
              static_cast<int>(bytes.size()));
    EXPECT_EQ(unzCloseCurrentFile(zip), UNZ_OK);  // checks the CRC
    return bytes;
}

TEST_F(WebArchiveExportTest, ThePackageHoldsTheSameWarcStoredAndTheHashOfEveryFile) {
    AddItem("page.htm", "<title>Home</title>", "http://a.example/", "text/html");
    AddItem("b.gif", "GIF89a", "http://a.example/b.gif", "image/gif");
    ASSERT_TRUE(Export(true).Error.ok());

    unzFile zip = unzOpen64((out / "cache.wacz").c_str());
    ASSERT_NE(zip, nullptr);
    int method = -1;
    const std::string warc = ZipEntry(zip, "archive/cache.warc.gz", &method);
    EXPECT_EQ(method, 0);
    EXPECT_EQ(warc, testing::ReadFile(out / "cache.warc.gz"));
    const std::string index = ZipEntry(zip, "indexes/index.cdxj");
    const std::string pages = ZipEntry(zip, "pages/pages.jsonl");
    EXPECT_EQ(pages.substr(pages.find('\n') + 1),
              "{\"url\": \"http://a.example/\", \"ts\": \"2001-09-09T01:46:40Z\", \"title\": "
              "\"Home\"}\n");
    const std::string package = ZipEntry(zip, "datapackage.json");
    for (const auto& [path, bytes] : {std::pair{"archive/cache.warc.gz", warc},
                                      {"indexes/index.cdxj", index},
                                      {"pages/pages.jsonl", pages}}) {
        EXPECT_NE(
            package.find("\"path\": \"" + std::string(path) + "\", \"hash\": \"" +
                         Sha256Text(bytes) + "\", \"bytes\": " + std::to_string(bytes.size())),
            std::string::npos)
            << path;
    }
    EXPECT_EQ(ZipEntry(zip, "datapackage-digest.json"),
              "{\"path\": \"datapackage.json\", \"hash\": \"" + Sha256Text(package) + "\"}\n");
    unzClose(zip);
}

}  // namespace
}  // namespace arkivo
