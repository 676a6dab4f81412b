// The installed program: `cmake --install` into a scratch DESTDIR lays out the GNU
// directories, the desktop files pass their validators, and the installed arkivo,
// run by an unprivileged user with a home of its own, archives a cache whose types
// are outside the built-in table without writing anything under the prefix.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "archive/archive_info.h"
#include "cli_tool.h"
#include "model/content_types.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;
namespace fs = std::filesystem;

constexpr const char* Nobody = "65534";
const std::string AsNobody =
    std::string("setpriv --reuid=") + Nobody + " --regid=" + Nobody + " --clear-groups ";

class InstalledProgram : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        root_ = new TempDir;
        ::chmod(root_->Path().c_str(), 0755);  // the unprivileged user walks through it
        installed_ =
            RunCommand("DESTDIR=" + Quote(Stage()) + " " ARKIVO_CMAKE_COMMAND " --install " +
                       Quote(ARKIVO_BINARY_DIR) + " --prefix /usr >/dev/null")
                .Status == 0;
    }
    static void TearDownTestSuite() { delete root_; }

    void SetUp() override { ASSERT_TRUE(installed_) << "cmake --install failed"; }

    static std::string Stage() { return *root_ / "stage"; }
    static std::string Usr() { return Stage() + "/usr/"; }

    // Every path under the prefix with its size and modification time.
    static std::map<std::string, std::string> Snapshot() {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(Stage())) {
            struct stat info {};
            ::lstat(entry.path().c_str(), &info);
            files[entry.path().string()] = std::to_string(info.st_size) + "@" +
                                           std::to_string(info.st_mtim.tv_sec) + "." +
                                           std::to_string(info.st_mtim.tv_nsec);
        }
        return files;
    }

    static bool HasTool(const std::string& tool) {
        return RunCommand("command -v " + tool + " >/dev/null").Status == 0;
    }

    static inline TempDir* root_ = nullptr;
    static inline bool installed_ = false;
};

TEST_F(InstalledProgram, LaysOutTheGnuDirectoriesWithTheDataInShare) {
    for (const char* path :
         {"bin/arkivo", "share/arkivo/images/arkivo.gif", "share/man/man1/arkivo.1.gz",
          "share/doc/arkivo/copyright", "share/doc/arkivo/changelog.Debian.gz"}) {
        EXPECT_TRUE(FileExists(Usr() + path)) << path;
    }
    EXPECT_FALSE(fs::exists(Usr() + "bin/images"));
#ifdef ARKIVO_WINDOWS_BUILT
    for (const char* path : {"bin/ArkivoNav", "bin/ArkivoIE", "share/arkivo/help/Arkivo.html",
                             "share/applications/org.quenlow.ArkivoNav.desktop",
                             "share/applications/org.quenlow.ArkivoIE.desktop",
                             "share/metainfo/org.quenlow.ArkivoNav.metainfo.xml",
                             "share/metainfo/org.quenlow.ArkivoIE.metainfo.xml",
                             "share/icons/hicolor/scalable/apps/org.quenlow.Arkivo.svg",
                             "share/icons/hicolor/48x48/apps/org.quenlow.Arkivo.png",
                             "share/icons/hicolor/128x128/apps/org.quenlow.Arkivo.png",
                             "share/icons/hicolor/256x256/apps/org.quenlow.Arkivo.png"}) {
        EXPECT_TRUE(FileExists(Usr() + path)) << path;
    }
#endif
}

#ifdef ARKIVO_WINDOWS_BUILT
TEST_F(InstalledProgram, DesktopEntriesAndMetainfoPassTheirValidators) {
    if (!HasTool("desktop-file-validate") || !HasTool("appstreamcli")) {
        GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed";
    }
    const CommandResult desktop = RunCommand(
        "desktop-file-validate " + Quote(Usr() + "share/applications/") + "*.desktop 2>&1");
    EXPECT_EQ(desktop.Status, 0) << desktop.Output;
    // validate-tree also checks that each component's launchable desktop entry is there.
    const CommandResult metainfo =
        RunCommand("appstreamcli validate-tree --no-net " + Quote(Usr()) + " 2>&1");
    EXPECT_EQ(metainfo.Status, 0) << metainfo.Output;
}
#endif

TEST_F(InstalledProgram, ArchivesNewTypesForAnUnprivilegedUserWritingNothingUnderThePrefix) {
    if (RunCommand(AsNobody + "true 2>/dev/null").Status != 0) {
        GTEST_SKIP() << "cannot run a command as user " << Nobody << " here (setpriv)";
    }
    const std::string home = *root_ / "home";
    fs::create_directories(home);
    ASSERT_EQ(::chown(home.c_str(), 65534, 65534), 0);
    const std::string cache = WriteTextCache(
        *root_ / "cache/", {{"http://old.example/index.html", "text/html", 1, "<p>page</p>"},
                            {"http://old.example/tune.mod", "audio/x-arkivo-tracker", 1, "MOD"},
                            {"http://old.example/model.wrl", "model/x-arkivo-world", 1, "VRML"}});
    const auto before = Snapshot();

    const CommandResult run =
        RunCommand("env -i HOME=" + Quote(home) + " PATH=/usr/bin:/bin " + AsNobody +
                   Quote(Usr() + "bin/arkivo") + " archive --nav " + Quote(cache) + " 2>&1");

    ASSERT_EQ(run.Status, 0) << run.Output;
    EXPECT_NE(run.Output.find("3 items archived"), std::string::npos) << run.Output;
    const std::string data = home + "/.local/share/Arkivo/";
    LoadMimeTypes(data);  // archive.dat's codes for the new types are this user's
    EXPECT_EQ(LoadArchiveInfo(data + "ARCHIVE/archive.dat").size(), 3u);
    const std::string types = ReadWholeFile(data + "MIMETYPE.DAT").value_or("");
    EXPECT_NE(types.find("audio/x-arkivo-tracker"), std::string::npos) << types;
    EXPECT_NE(types.find("model/x-arkivo-world"), std::string::npos) << types;
    EXPECT_EQ(Snapshot(), before);
}

}  // namespace
}  // namespace arkivo
