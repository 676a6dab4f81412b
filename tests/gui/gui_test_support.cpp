#include "gui_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/program_dir.h"
#include "shell/help_file.h"
#include "shell/program_values.h"

namespace arkivo::testing {

GuiEnvironment::GuiEnvironment() : oldPath_(qgetenv("PATH")) {
    for (const char* sub : {"config", "runtime", "wine", "program"}) {
        QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
    }
    QFile::setPermissions(QString::fromStdString(Path("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Path("config")));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(Path("data")));
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(Path("runtime")));
    qputenv("WINEPREFIX", QByteArray::fromStdString(Path("wine")));
    SetProgramDirForTesting(ProgramDirectory());
    SetHelpFile("");
    TheProgramValues() = ProgramValues();
}

GuiEnvironment::~GuiEnvironment() {
    qputenv("PATH", oldPath_);
    SetHelpFile("");
}

std::string GuiEnvironment::Path(const std::string& name) const {
    return dir_.path().toStdString() + "/" + name;
}

void GuiEnvironment::FakeXdgOpen(const std::string& commands) {
    const std::string bin = Path("bin/");
    WriteTestFile(bin + "xdg-open", "#!/bin/sh\n" + commands + "\n");
    QFile::setPermissions(QString::fromStdString(bin + "xdg-open"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("PATH", QByteArray::fromStdString(bin) + ":" + oldPath_);
}

void WriteTestFile(const std::string& path, const std::string& bytes) {
    const QString name = QString::fromStdString(path);
    QDir().mkpath(QFileInfo(name).path());
    QFile file(name);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
}

}  // namespace arkivo::testing
