#include "webarchive/wacz_package.h"

#include <minizip/zip.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/file_system.h"
#include "platform/json_text.h"
#include "webarchive/cdxj.h"
#include "webarchive/digest.h"
#include "webarchive/warc_time.h"

namespace arkivo {
namespace {

constexpr int StoredMethod = 0;
constexpr int DeflateLevel = 6;

// minizip reads and writes through these, on the package's descriptor, which it
// never opens or closes itself. The descriptor plus one is minizip's "stream", as
// a null stream means failure to it.
voidpf OpenDescriptor(voidpf opaque, const void*, int) {
    return opaque;
}

int FdOf(voidpf stream) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(stream)) - 1;
}

uLong ReadDescriptor(voidpf, voidpf stream, void* buffer, uLong size) {
    const ssize_t got = ::read(FdOf(stream), buffer, size);
    return got < 0 ? 0 : static_cast<uLong>(got);
}

uLong WriteDescriptor(voidpf, voidpf stream, const void* buffer, uLong size) {
    const int fd = FdOf(stream);
    return WriteAll(fd, std::string_view(static_cast<const char*>(buffer), size)) ? size : 0;
}

ZPOS64_T TellDescriptor(voidpf, voidpf stream) {
    const off_t at = ::lseek(FdOf(stream), 0, SEEK_CUR);
    return at < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(at);
}

long SeekDescriptor(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    const int whence = origin == ZLIB_FILEFUNC_SEEK_CUR   ? SEEK_CUR
                       : origin == ZLIB_FILEFUNC_SEEK_END ? SEEK_END
                                                          : SEEK_SET;
    return ::lseek(FdOf(stream), static_cast<off_t>(offset), whence) < 0 ? -1 : 0;
}

int CloseDescriptor(voidpf, voidpf) {
    return 0;
}
int DescriptorError(voidpf, voidpf) {
    return 0;
}

zip_fileinfo EntryInfo(std::int64_t now) {
    const auto time = static_cast<std::time_t>(now);
    std::tm parts{};
    gmtime_r(&time, &parts);
    zip_fileinfo info{};
    info.tmz_date.tm_sec = static_cast<uInt>(parts.tm_sec);
    info.tmz_date.tm_min = static_cast<uInt>(parts.tm_min);
    info.tmz_date.tm_hour = static_cast<uInt>(parts.tm_hour);
    info.tmz_date.tm_mday = static_cast<uInt>(parts.tm_mday);
    info.tmz_date.tm_mon = static_cast<uInt>(parts.tm_mon);
    info.tmz_date.tm_year = static_cast<uInt>(parts.tm_year + 1900);
    return info;
}

std::string FileNameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

struct WaczPackage::Resource {
    std::string Path;
    std::string Sha256;
    std::uint64_t Bytes = 0;
};

struct WaczPackage::State {
    zipFile Zip = nullptr;
    std::int64_t Now = 0;
    Digest Sha256{DigestAlgorithm::Sha256};
    Resource Current;
    std::vector<Resource> Resources;
};

WaczPackage::WaczPackage(int fd, std::int64_t now) : state_(std::make_unique<State>()) {
    state_->Now = now;
    zlib_filefunc64_def functions{};
    functions.zopen64_file = OpenDescriptor;
    functions.zread_file = ReadDescriptor;
    functions.zwrite_file = WriteDescriptor;
    functions.ztell64_file = TellDescriptor;
    functions.zseek64_file = SeekDescriptor;
    functions.zclose_file = CloseDescriptor;
    functions.zerror_file = DescriptorError;
    functions.opaque = reinterpret_cast<voidpf>(static_cast<std::intptr_t>(fd) + 1);
    state_->Zip = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &functions);
}

WaczPackage::~WaczPackage() {
    if (state_->Zip != nullptr) {
        zipClose(state_->Zip, nullptr);
    }
}

bool WaczPackage::BeginEntry(const std::string& path, bool compressed, bool large) {
    if (state_->Zip == nullptr) {
        return false;
    }
    const zip_fileinfo info = EntryInfo(state_->Now);
    state_->Current = Resource{path, {}, 0};
    return zipOpenNewFileInZip4_64(state_->Zip, path.c_str(), &info, nullptr, 0, nullptr, 0,
                                   nullptr, compressed ? Z_DEFLATED : StoredMethod,
                                   compressed ? DeflateLevel : 0, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                   Z_DEFAULT_STRATEGY, nullptr, 0, 0, 0, large ? 1 : 0) == ZIP_OK;
}

bool WaczPackage::BeginWarc(const std::string& name, bool large) {
    return BeginEntry("archive/" + name, false, large);
}

bool WaczPackage::AddWarcBytes(std::string_view bytes) {
    state_->Sha256.Add(bytes);
    state_->Current.Bytes += bytes.size();
    return zipWriteInFileInZip(state_->Zip, bytes.data(), static_cast<unsigned>(bytes.size())) ==
           ZIP_OK;
}

bool WaczPackage::EndWarc() {
    state_->Current.Sha256 = HexText(state_->Sha256.Finish());
    state_->Resources.push_back(state_->Current);
    return zipCloseFileInZip(state_->Zip) == ZIP_OK;
}

bool WaczPackage::AddFile(const std::string& path, std::string_view bytes, bool listed) {
    if (!BeginEntry(path, true, false)) {
        return false;
    }
    // Written in slices: minizip takes 32-bit lengths.
    constexpr std::size_t Slice = 1u << 20;
    for (std::size_t at = 0; at < bytes.size(); at += Slice) {
        const std::string_view slice = bytes.substr(at, Slice);
        if (zipWriteInFileInZip(state_->Zip, slice.data(), static_cast<unsigned>(slice.size())) !=
            ZIP_OK) {
            return false;
        }
    }
    if (listed) {
        state_->Sha256.Add(bytes);
        state_->Resources.push_back({path, HexText(state_->Sha256.Finish()), bytes.size()});
    }
    return zipCloseFileInZip(state_->Zip) == ZIP_OK;
}

bool WaczPackage::Finish(const std::vector<std::string>& cdxjLines,
                         const std::vector<WarcPage>& pages, const std::string& title) {
    if (!AddFile("indexes/index.cdxj", CdxjText(cdxjLines), true) ||
        !AddFile("pages/pages.jsonl", PagesJsonl(pages), true)) {
        return false;
    }
    std::string package = "{\n  \"profile\": \"data-package\",\n  \"wacz_version\": \"1.1.1\",\n";
    package += "  \"title\": " + JsonString(title) + ",\n";
    package += "  \"created\": \"" + WarcDate(state_->Now) + "\",\n";
    package += std::string("  \"software\": \"Arkivo ") + ARKIVO_VERSION + "\",\n";
    package += "  \"resources\": [";
    for (std::size_t i = 0; i < state_->Resources.size(); ++i) {
        const Resource& resource = state_->Resources[i];
        package += i == 0 ? "\n" : ",\n";
        package += "    {\"name\": " + JsonString(FileNameOf(resource.Path)) +
                   ", \"path\": " + JsonString(resource.Path) +
                   ", \"hash\": \"sha256:" + resource.Sha256 +
                   "\", \"bytes\": " + std::to_string(resource.Bytes) + "}";
    }
    package += "\n  ]\n}\n";
    state_->Sha256.Add(package);
    const std::string digest =
        "{\"path\": \"datapackage.json\", \"hash\": \"sha256:" + HexText(state_->Sha256.Finish()) +
        "\"}\n";
    if (!AddFile("datapackage.json", package, false) ||
        !AddFile("datapackage-digest.json", digest, false)) {
        return false;
    }
    const bool closed = zipClose(state_->Zip, nullptr) == ZIP_OK;
    state_->Zip = nullptr;
    return closed;
}

std::string PagesJsonl(const std::vector<WarcPage>& pages) {
    std::string lines =
        "{\"format\": \"json-pages-1.0\", \"id\": \"pages\", \"title\": \"All "
        "Pages\"}\n";
    for (const WarcPage& page : pages) {
        lines += "{\"url\": " + JsonString(page.Url) + ", \"ts\": \"" + WarcDate(page.Time) +
                 "\", \"title\": " + JsonString(page.Title) + "}\n";
    }
    return lines;
}

}  // namespace arkivo
