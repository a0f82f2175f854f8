#include "TestEnvironment.h"

#include "platform/Shell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

void initTestEnvironment()
{
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/tessivo-test-XXXXXX"));
    const QString runtime = root.filePath(QStringLiteral("runtime"));
    const QString config = root.filePath(QStringLiteral("config"));
    const QString data = root.filePath(QStringLiteral("data"));
    QDir().mkpath(runtime);
    QDir().mkpath(config);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    // The user's data folder, where an installed program writes its own files.
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    // Requests to the loopback service double never go through a proxy of the environment.
    qputenv("no_proxy", "*");
    qputenv("NO_PROXY", "*");
    Shell::setRecording(true);
}
