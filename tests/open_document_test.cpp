#include "shell/open_document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/dialogs.h"
#include "support/test_support.h"

namespace arkivo {
namespace {

using namespace std::chrono_literals;

// A PATH holding only a fake xdg-open running the given shell commands.
class FakeXdgOpen {
  public:
    explicit FakeXdgOpen(const std::string& commands) {
        testing::WriteFile(dir_ / "xdg-open", "#!/bin/sh\n" + commands + "\n");
        ::chmod((dir_ / "xdg-open").c_str(), 0755);
    }

  private:
    testing::TempDir dir_;
    testing::ScopedEnv path_{"PATH", dir_.Path()};
};

TEST(OpenDocumentTest, ReasonTextsFollowTheResultNumbers) {
    EXPECT_EQ(OpenDocumentReason(2), "The specified file was not found.");
    EXPECT_EQ(OpenDocumentReason(31), "There is no application \r\nassociated with these files.");
    EXPECT_EQ(OpenDocumentReason(0), "The operating system is out \r\nof memory or resources.");
    for (const int other : {1, 4, 12, 25, -1}) {
        EXPECT_EQ(OpenDocumentReason(other), "The requested file could not be opened.") << other;
    }
}

TEST(OpenDocumentTest, MessageHoldsReasonPathAndAdvice) {
    EXPECT_EQ(OpenDocumentMessage(31, "/srv/a/1st_page.htm"),
              "There is no application \r\nassociated with these files.\r\n\r\n"
              "To open the page:\r\n\r\n/srv/a/1st_page.htm\r\n\r\n"
              "use the Open command from\r\nthe browser's File menu.");
}

TEST(OpenDocumentTest, XdgOpenExitStatusesMapToResults) {
    {
        testing::TempDir out;
        FakeXdgOpen fake("echo \"$1\" > '" + out / "argument" + "'; exit 0");
        EXPECT_EQ(LaunchDocument("/srv/a b/page.htm"), ShellSuccess);
        EXPECT_EQ(testing::ReadFile(out / "argument"), "/srv/a b/page.htm\n");
    }
    {
        FakeXdgOpen fake("exit 2");
        EXPECT_EQ(LaunchDocument("/x"), ShellFileNotFound);
    }
    {
        FakeXdgOpen fake("exit 3");
        EXPECT_EQ(LaunchDocument("/x"), ShellNoAssociation);
    }
    {
        FakeXdgOpen fake("exit 4");
        EXPECT_EQ(LaunchDocument("/x"), ShellOtherFailure);
    }
}

TEST(OpenDocumentTest, MissingXdgOpenMeansNoAssociation) {
    testing::TempDir empty;
    testing::ScopedEnv path("PATH", empty.Path());
    EXPECT_EQ(LaunchDocument("/x"), ShellNoAssociation);
}

TEST(OpenDocumentTest, ALaunchStillRunningAfterTheWaitSucceeds) {
    FakeXdgOpen fake("exec /bin/sleep 2");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(LaunchDocument("/x", 200ms), ShellSuccess);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
}

TEST(OpenDocumentTest, OnlyFailuresAreReported) {
    ScriptedDialogs dialogs;
    ScopedDialogs installed(dialogs);
    {
        FakeXdgOpen fake("exit 0");
        OpenDocument("/srv/page.htm");
    }
    EXPECT_TRUE(dialogs.Shown().empty());
    {
        FakeXdgOpen fake("exit 3");
        OpenDocument("/srv/page.htm");
    }
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].Text, OpenDocumentMessage(31, "/srv/page.htm"));
    EXPECT_EQ(dialogs.Shown()[0].Icon, DialogIcon::Error);
    EXPECT_EQ(dialogs.Shown()[0].Buttons, DialogButtons::Ok);
    EXPECT_EQ(dialogs.Shown()[0].HelpContext, 0);
}

}  // namespace
}  // namespace arkivo
