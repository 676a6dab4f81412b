#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/mul_div.h"
#include "platform/path.h"
#include "platform/program_dir.h"
#include "platform/user_dirs.h"
#include "platform/user_files.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(Dates, DayCountsFollowTheAutomationConvention) {
    EXPECT_EQ(EncodeDate({1899, 12, 30}), 0.0);
    EXPECT_EQ(EncodeDate({1970, 1, 1}), UnixEpochDate);
    EXPECT_EQ(EncodeDate({2000, 1, 1, 12, 0, 0}), 36526.5);
    EXPECT_EQ(EncodeDate({2000, 2, 30}), std::nullopt);
    EXPECT_EQ(EncodeDate({1999, 2, 29}), std::nullopt);
    EXPECT_NE(EncodeDate({2000, 2, 29}), std::nullopt);
    // Months and days beyond a byte must not wrap into valid ones.
    EXPECT_EQ(EncodeDate({2000, 257, 1}), std::nullopt);
    EXPECT_EQ(EncodeDate({2000, 1, 257}), std::nullopt);
    EXPECT_EQ(DecodeDate(-1.25).Day, 28);  // before day zero: 28 Dec 1899, 18:00
    EXPECT_EQ(DecodeDate(-1.25).Hour, 18);

    const DateParts parts = DecodeDate(*EncodeDate({1998, 7, 15, 23, 59, 58}));
    EXPECT_EQ(parts.Year, 1998);
    EXPECT_EQ(parts.Month, 7);
    EXPECT_EQ(parts.Day, 15);
    EXPECT_EQ(parts.Hour, 23);
    EXPECT_EQ(parts.Minute, 59);
    EXPECT_EQ(parts.Second, 58);
}

TEST(Dates, TheClockCanBeFixed) {
    SetNowForTesting(40000.5);
    EXPECT_EQ(Now(), 40000.5);
    SetNowForTesting(std::nullopt);
    EXPECT_GT(Now(), 40000.0);
}

TEST(Dates, DosDateTimeFromAFileTimeWithoutTimeZoneChange) {
    // 2015-08-20 13:45:31 UTC as 100-ns ticks since 1601.
    const std::uint64_t ticks = (13084551931ULL) * 10000000ULL;
    std::uint16_t date = 0, time = 0;
    ASSERT_TRUE(FileTimeToDosDateTime(ticks, date, time));
    EXPECT_EQ(date, ((2015 - 1980) << 9) | (8 << 5) | 20);
    EXPECT_EQ(time, (13 << 11) | (45 << 5) | (31 / 2));
    EXPECT_EQ(DateFromDosDateTime(date, time), EncodeDate({2015, 8, 20, 13, 45, 30}));

    EXPECT_FALSE(FileTimeToDosDateTime(0, date, time));  // 1601 is before DOS time
    EXPECT_EQ(DateFromDosDateTime(0, 0), std::nullopt);  // month 0
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(150, 150, 200), 113);  // 112.5
    EXPECT_EQ(MulDiv(-150, 150, 200), -113);
    EXPECT_EQ(MulDiv(100, 150, 300), 50);
    EXPECT_EQ(MulDiv(1, 1, 3), 0);
    EXPECT_EQ(MulDiv(2, 1, 3), 1);
    EXPECT_EQ(MulDiv(5, 5, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 2000000000, 1), -1);
}

TEST(Paths, SeparatorHelpers) {
    EXPECT_EQ(IncludeTrailingSeparator("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingSeparator("/a/"), "/a/");
    EXPECT_EQ(IncludeTrailingSeparator(""), "");
    EXPECT_EQ(DirectoryPart("/a/b/FAT.DB"), "/a/b/");
    EXPECT_EQ(FileNamePart("/a/b/FAT.DB"), "FAT.DB");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    for (const char* bad : {"", ".", "..", "a/b", "a\\b"}) {
        EXPECT_FALSE(IsSafePathComponent(bad)) << bad;
    }
    EXPECT_FALSE(IsSafePathComponent(std::string("a\0b", 3)));
    EXPECT_TRUE(IsSafePathComponent("...."));
    EXPECT_TRUE(IsSafePathComponent("www.example.com"));
}

TEST(Files, LookupIgnoresCaseAndPrefersTheExactName) {
    TempDir dir;
    WriteFile(dir / "Fat.db", "x");
    EXPECT_EQ(FindFileNoCase(dir.Path(), "FAT.DB"), dir / "Fat.db");
    EXPECT_EQ(FindFileNoCase(dir.Path(), "fat"), "");
    WriteFile(dir / "FAT.DB", "y");
    EXPECT_EQ(FindFileNoCase(dir.Path(), "FAT.DB"), dir / "FAT.DB");
    EXPECT_EQ(FindFileNoCase(dir / "missing", "x"), "");
}

TEST(Files, WholeFilesAreReadWhateverTheirSize) {
    TempDir dir;
    std::string large;
    for (int i = 0; large.size() < 200000; ++i) {
        large += std::to_string(i) + ' ';
    }
    WriteFile(dir / "empty", "");
    WriteFile(dir / "large", large);
    EXPECT_EQ(ReadWholeFile(dir / "empty"), "");
    EXPECT_EQ(ReadWholeFile(dir / "large"), large);
    EXPECT_EQ(ReadWholeFile(dir / "missing"), std::nullopt);
    EXPECT_EQ(ReadWholeFile(dir.Path()), std::nullopt);

    // The rest of a file already partly read, and a pipe, whose size is not known
    // beforehand.
    const int fd = ::open((dir / "large").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    char head[10];
    ASSERT_EQ(::read(fd, head, sizeof head), 10);
    std::string rest = "old";
    EXPECT_TRUE(ReadRest(fd, rest));
    EXPECT_EQ(rest, large.substr(10));
    ::close(fd);

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::thread writer([&] {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(::write(ends[1], large.data(), large.size()),
                      static_cast<ssize_t>(large.size()));
        }
        ::close(ends[1]);
    });
    std::string piped;
    EXPECT_TRUE(ReadRest(ends[0], piped));
    writer.join();
    ::close(ends[0]);
    EXPECT_EQ(piped, large + large + large + large);
}

TEST(Files, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
    TempDir dir;
    WriteFile(dir / "f", "old");
    ASSERT_TRUE(WriteFileAtomically(dir / "f", "new contents").ok());
    EXPECT_EQ(ReadFile(dir / "f"), "new contents");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"f"});  // no temporary file left behind

    const Status failed = WriteFileAtomically(dir / "missing/f", "x");
    EXPECT_EQ(failed.code(), StatusCode::WriteFailed);
    EXPECT_FALSE(failed.message().empty());
}

TEST(ProgramLayout, InstalledWhenItsDataLieInShareArkivo) {
    TempDir prefix;
    WriteFile(prefix / "bin/arkivo", "");
    SetProgramDirForTesting(prefix / "bin");
    EXPECT_FALSE(IsInstalledProgram());
    EXPECT_EQ(ProgramDataDir(), prefix / "bin/");
    std::filesystem::create_directories(prefix / "share/arkivo");
    EXPECT_TRUE(IsInstalledProgram());
    EXPECT_EQ(ProgramDataDir(), prefix / "bin/../share/arkivo/");
}

TEST(ProgramLayout, AnInstalledProgramKeepsUserFilesInTheUsersDataDirectory) {
    TempDir prefix;
    const testing::ScopedEnv data("XDG_DATA_HOME", prefix / "data");
    SetProgramDirForTesting(prefix / "bin");
    std::filesystem::create_directories(prefix / "bin");
    EXPECT_EQ(MimeTypeFileDir(), prefix / "bin/");
    EXPECT_EQ(DefaultArchiveDir(), prefix / "bin/ARCHIVE/");
    if (::geteuid() != 0) {
        ::chmod((prefix / "bin").c_str(), 0555);
        EXPECT_EQ(MimeTypeFileDir(), prefix / "data/Arkivo/");
        EXPECT_EQ(DefaultArchiveDir(), prefix / "bin/ARCHIVE/");
        ::chmod((prefix / "bin").c_str(), 0755);
    }
    std::filesystem::create_directories(prefix / "share/arkivo");
    EXPECT_EQ(MimeTypeFileDir(), prefix / "data/Arkivo/");
    EXPECT_EQ(DefaultArchiveDir(), prefix / "data/Arkivo/ARCHIVE/");
}

TEST(UserDirs, XdgVariablesFirstThenHome) {
    const testing::ScopedEnv home("HOME", "/home/u");
    {
        const testing::ScopedEnv data("XDG_DATA_HOME", "");
        const testing::ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(UserArkivoDir(), "/home/u/.local/share/Arkivo/");
        EXPECT_EQ(UserConfigHome(), "/cfg");
    }
    const testing::ScopedEnv data("XDG_DATA_HOME", "/data");
    EXPECT_EQ(UserArkivoDir(), "/data/Arkivo/");
}

}  // namespace
}  // namespace arkivo
