// The Debian package CPack makes of the build: its dependencies are computed from
// the programs' libraries, it carries the copyright file, the Debian changelog and
// the compressed manual page, and lintian finds no error in it.

#include <filesystem>

#include "cli_tool.h"

namespace arkivo {
namespace {

using namespace arkivo::testing;
namespace fs = std::filesystem;

class DebianPackage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        const CommandResult made =
            RunCommand(ARKIVO_CPACK_COMMAND " -G DEB --config " +
                       Quote(std::string(ARKIVO_BINARY_DIR) + "/CPackConfig.cmake") + " -B " +
                       Quote(dir_->Path()) + " 2>&1");
        log_ = made.Output;
        for (const auto& entry : fs::directory_iterator(dir_->Path())) {
            if (entry.path().extension() == ".deb") {
                deb_ = entry.path().string();
            }
        }
    }
    static void TearDownTestSuite() { delete dir_; }

    void SetUp() override { ASSERT_FALSE(deb_.empty()) << "cpack made no .deb:\n" << log_; }

    static inline TempDir* dir_ = nullptr;
    static inline std::string deb_, log_;
};

TEST_F(DebianPackage, DependsOnTheLibrariesItLinksAndCarriesTheDebianDocuments) {
    const std::string depends = RunCommand("dpkg-deb -f " + Quote(deb_) + " Depends").Output;
    EXPECT_NE(depends.find("libc6"), std::string::npos) << depends;
#ifdef ARKIVO_WINDOWS_BUILT
    EXPECT_NE(depends.find("libqt6widgets6"), std::string::npos) << depends;
#endif
    const std::string contents = RunCommand("dpkg-deb -c " + Quote(deb_)).Output;
    for (const char* path :
         {"./usr/bin/arkivo", "./usr/share/doc/arkivo/copyright",
          "./usr/share/doc/arkivo/changelog.Debian.gz", "./usr/share/man/man1/arkivo.1.gz"}) {
        EXPECT_NE(contents.find(path), std::string::npos) << path;
    }
}

TEST_F(DebianPackage, LintianFindsNoError) {
    if (RunCommand("command -v lintian >/dev/null").Status != 0) {
        GTEST_SKIP() << "lintian is not installed";
    }
    const CommandResult lint = RunCommand("lintian --fail-on error " + Quote(deb_) + " 2>&1");
    EXPECT_EQ(lint.Status, 0) << lint.Output;
}

}  // namespace
}  // namespace arkivo
