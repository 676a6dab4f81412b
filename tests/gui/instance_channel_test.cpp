// CheckForSingleInstance: one instance per executable file name, activation of the
// first by a later start, and leftovers of a crashed instance.

#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "gui/common/instance_channel.h"
#include "gui_test_support.h"

namespace arkivo {

class InstanceChannelTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::GuiEnvironment> env_;

    // A program started with the test's private directories, offscreen.
    std::unique_ptr<QProcess> StartProgram(const QString& program) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(program, {});
        return process;
    }

    static bool WaitForFile(const QString& path) {
        QDeadlineTimer deadline(10000);
        while (!QFile::exists(path) && !deadline.hasExpired()) {
            QTest::qWait(50);
        }
        return QFile::exists(path);
    }

    static void Stop(QProcess& process) {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

  private slots:
    void init() { env_ = std::make_unique<testing::GuiEnvironment>(); }
    void cleanup() { env_.reset(); }

    void laterStartActivatesTheFirst() {
        TInstanceChannel first("/opt/arkivo/ArkivoNav");
        QVERIFY(first.CheckForSingleInstance());
        QSignalSpy activated(&first, &TInstanceChannel::ActivationRequested);

        TInstanceChannel second("/elsewhere/ArkivoNav");
        QVERIFY(!second.CheckForSingleInstance());
        QVERIFY(second.ActivateFirstInstance());
        QVERIFY(activated.wait(5000));
    }

    void differentFileNamesDoNotExcludeEachOther() {
        TInstanceChannel nav("/opt/arkivo/ArkivoNav");
        TInstanceChannel ie("/opt/arkivo/ArkivoIE");
        QVERIFY(nav.CheckForSingleInstance());
        QVERIFY(ie.CheckForSingleInstance());
    }

    void aSocketLeftByACrashDoesNotBlock() {
        TInstanceChannel probe("/opt/arkivo/ArkivoNav");
        QFile stale(probe.SocketPath());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();

        TInstanceChannel first("/opt/arkivo/ArkivoNav");
        QVERIFY(first.CheckForSingleInstance());
        QSignalSpy activated(&first, &TInstanceChannel::ActivationRequested);
        TInstanceChannel second("/opt/arkivo/ArkivoNav");
        QVERIFY(!second.CheckForSingleInstance());
        QVERIFY(second.ActivateFirstInstance());
        QVERIFY(activated.wait(5000));
    }

    void aFirstInstanceThatCannotBeReachedIsReported() {
        TInstanceChannel first("/opt/arkivo/ArkivoNav");
        QVERIFY(first.CheckForSingleInstance());
        QLocalServer::removeServer(first.SocketPath());
        TInstanceChannel second("/opt/arkivo/ArkivoNav");
        QVERIFY(!second.CheckForSingleInstance());
        QVERIFY(!second.ActivateFirstInstance(300));
    }

    void secondProgramEndsAtOnceAndTheFirstRuns() {
        const QString socket = TInstanceChannel(ARKIVO_NAV_PROGRAM).SocketPath();
        auto first = StartProgram(QStringLiteral(ARKIVO_NAV_PROGRAM));
        QVERIFY(first->waitForStarted(5000));
        QVERIFY(WaitForFile(socket));

        auto second = StartProgram(QStringLiteral(ARKIVO_NAV_PROGRAM));
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);

        // A copy under another name is an instance of its own: it keeps running.
        const QString copy = QString::fromStdString(env_->Path("program/ArkivoCopy"));
        QVERIFY(QFile::copy(QStringLiteral(ARKIVO_NAV_PROGRAM), copy));
        auto other = StartProgram(copy);
        QVERIFY(other->waitForStarted(5000));
        QVERIFY(!other->waitForFinished(1500));
        Stop(*other);
        Stop(*first);
    }
};

}  // namespace arkivo

QTEST_MAIN(arkivo::InstanceChannelTest)
#include "instance_channel_test.moc"
