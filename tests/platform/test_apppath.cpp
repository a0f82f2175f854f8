#include "platform/AppPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString dataFolder()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

// A layout of the program's files in a folder of the test's own: "build" (everything in bin/) or
// "installed" (bin/ and share/tessivo/). The program uses it while the object lives.
class Layout {
public:
    explicit Layout(const QString& kind)
    {
        QDir(dataFolder()).removeRecursively();
        const QString shipped = kind == QLatin1String("build") ? bin() : dir_.filePath(QStringLiteral("share/tessivo"));
        QDir().mkpath(bin());
        writeFile(QDir(shipped).filePath(QStringLiteral("blank.mdb")), "template");
        writeFile(QDir(shipped).filePath(QStringLiteral("Library.mdb")), "library 1");
        setProgramFolders(findProgramFolders(bin()));
    }
    ~Layout()
    {
        setAppPath(QString());
        QDir(dataFolder()).removeRecursively();
    }
    QString bin() const { return dir_.filePath(QStringLiteral("bin")); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace

TEST(ProgramFolders, ABuildReadsAndWritesBesideTheExecutable)
{
    const Layout build(QStringLiteral("build"));
    EXPECT_EQ(appPath(), build.bin());
    EXPECT_EQ(writablePath(), build.bin());
    EXPECT_EQ(libraryFile(), build.file(QStringLiteral("bin/Library.mdb")));
    EXPECT_FALSE(QFileInfo::exists(dataFolder()));
}

TEST(ProgramFolders, AnInstallReadsShareAndWritesTheUsersDataFolder)
{
    const Layout installed(QStringLiteral("installed"));
    EXPECT_EQ(appPath(), installed.file(QStringLiteral("share/tessivo")));
    EXPECT_EQ(appFile(QStringLiteral("blank.mdb")), installed.file(QStringLiteral("share/tessivo/blank.mdb")));
    // Even where the user could write into the install (as here, or as root), the install is left alone.
    EXPECT_TRUE(QFileInfo(appPath()).isWritable());
    EXPECT_EQ(writablePath(), dataFolder());
    EXPECT_EQ(writableFile(QStringLiteral("result.htm")), dataFolder() + QStringLiteral("/result.htm"));
    EXPECT_EQ(QFileInfo(dataFolder()).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
}

TEST(ProgramFolders, ABuildFolderTheUserMayNotWriteWritesTheDataFolder)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "every folder is writable to root";
    const Layout build(QStringLiteral("build"));
    ASSERT_TRUE(QFile::setPermissions(build.bin(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    setProgramFolders(findProgramFolders(build.bin()));
    EXPECT_EQ(appPath(), build.bin());
    EXPECT_EQ(writablePath(), dataFolder());
    QFile::setPermissions(build.bin(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(ProgramFolders, TheLibraryIsCopiedOnFirstUseAndKeptThroughUpdates)
{
    const Layout installed(QStringLiteral("installed"));
    const QString shipped = installed.file(QStringLiteral("share/tessivo/Library.mdb"));
    const QString own = dataFolder() + QStringLiteral("/Library.mdb");
    EXPECT_EQ(libraryFile(), own);
    EXPECT_EQ(readFile(own), QByteArray("library 1"));
    EXPECT_TRUE(QFileInfo(own).permissions() & QFileDevice::WriteOwner);

    // The user's additions stay, also when an update brings another library.
    writeFile(own, "library 1 and mine");
    writeFile(shipped, "library 2");
    EXPECT_EQ(libraryFile(), own);
    EXPECT_EQ(readFile(own), QByteArray("library 1 and mine"));
    EXPECT_EQ(readFile(shipped), QByteArray("library 2"));
}

TEST(ProgramFolders, WithoutAShippedLibraryNoCopyIsMade)
{
    const Layout installed(QStringLiteral("installed"));
    const QString shipped = installed.file(QStringLiteral("share/tessivo/Library.mdb"));
    ASSERT_TRUE(QFile::remove(shipped));
    EXPECT_EQ(libraryFile(), shipped); // its open says that it is missing
    EXPECT_FALSE(QFileInfo::exists(dataFolder() + QStringLiteral("/Library.mdb")));
}
