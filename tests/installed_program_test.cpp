// The installed program: `cmake --install` into a scratch DESTDIR lays out the GNU
// directories, and the desktop files pass their validators.

#include <filesystem>

#include "cli_tool.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;
namespace fs = std::filesystem;

class InstalledProgram : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        root_ = new TempDir;
        installed_ =
            RunCommand("DESTDIR=" + Quote(Stage()) + " " ARKIVO_CMAKE_COMMAND " --install " +
                       Quote(ARKIVO_BINARY_DIR) + " --prefix /usr >/dev/null")
                .Status == 0;
    }
    static void TearDownTestSuite() { delete root_; }

    void SetUp() override { ASSERT_TRUE(installed_) << "cmake --install failed"; }

    static std::string Stage() { return *root_ / "stage"; }
    static std::string Usr() { return Stage() + "/usr/"; }

    static bool HasTool(const std::string& tool) {
        return RunCommand("command -v " + tool + " >/dev/null").Status == 0;
    }

    static inline TempDir* root_ = nullptr;
    static inline bool installed_ = false;
};

TEST_F(InstalledProgram, LaysOutTheGnuDirectoriesWithTheDataInShare) {
    for (const char* path :
         {"bin/arkivo", "share/arkivo/images/arkivo.gif", "share/man/man1/arkivo.1.gz"}) {
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

}  // namespace
}  // namespace arkivo
