// The program as a package installs it: `cmake --install` into a folder of the test's own (DESTDIR,
// prefix /usr), which the fixture install_stage then makes read-only. The installed executable
// is started as a user starts it (from the menu, and by a double-click on a survey file), and a
// user's day of work runs on the installed files; nothing may be written under the prefix.
#include "Controls.h"
#include "StartProgram.h"
#include "TestEnvironment.h"
#include "designer/DesignScreen.h"
#include "document/SurveyFile.h"
#include "platform/AppPath.h"
#include "platform/Database.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"
#include "shell/MainBas.h"
#include "shell/frmMain.h"
#include "widgets/Dialogs.h"
#include "widgets/RichTextBox.h"
#include "widgets/TreeNodes.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString kSurveyType = QStringLiteral("application/x-tessivo-survey");
const QString kFirstRunPrompt = QStringLiteral(
    "We've noticed that this is the first time you have launched Orvalen Tessivo. You may find it useful to follow "
    "the getting started tutorial. Would you like to view it now?");

QString prefix()
{
    return QStringLiteral(TESSIVO_STAGE TESSIVO_PREFIX);
}

QString installed(const QString& path)
{
    return prefix() + QLatin1Char('/') + path;
}

// Where the test puts what the desktop's tools make of the installed files (file types, the
// desktop entries' cache), one for each test process; named before the application starts, so
// that it reads the file types.
QString desktopShare()
{
    static const QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tessivo-desktop-XXXXXX"));
    return dir.path();
}

// Every file and folder under a folder, with its size, time and mode.
QStringList snapshot(const QString& folder)
{
    QStringList entries;
    QDirIterator it(
        folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries << QStringLiteral("%1 %2 %3 %4")
                       .arg(info.filePath(), QString::number(info.size()),
                           QString::number(info.lastModified().toMSecsSinceEpoch()),
                           QString::number(int(info.permissions()), 16));
    }
    entries.sort();
    return entries;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QStringList untitledFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("HC*.TMP") }, QDir::Files);
}

// Runs a tool; its exit code and what it wrote.
struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment = {},
    int timeoutMs = 30000)
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.output = QStringLiteral("%1 did not finish: %2").arg(program, QString::fromLocal8Bit(process.readAll()));
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return result;
}

// An environment that knows no desktop, no display and no files of the user's.
QProcessEnvironment plainEnvironment(const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP",
             "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS",
             "QT_QPA_GENERIC_PLUGINS", "QT_PLUGIN_PATH" })
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    return env;
}

// A survey file of the given plain-text open-ended questions.
void writeSurvey(const QString& path, const QStringList& questions)
{
    QVERIFY(QFile::copy(installed(QStringLiteral("share/tessivo/blank.mdb")), path));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    db::Connection c;
    SurveyFile::openConnection(c, path);
    clsSurvey s;
    for (const QString& text : questions)
        s.AddQ(rtf::fromPlainText(text), QTypeOpenEnded, -1, 2);
    SurveyFile::save(c, s);
}

QStringList storedQuestionTexts(const QString& path)
{
    db::Connection c;
    SurveyFile::openConnection(c, path);
    QStringList texts;
    for (db::Recordset rs = c.openRecordset(QStringLiteral("SELECT question FROM question ORDER BY pos")); !rs.atEnd();
         rs.moveNext())
        texts << rtf::toPlainText(NullToEmpty(rs.field(0)));
    return texts;
}

} // namespace

class InstallTest : public QObject {
    Q_OBJECT

private:
    QStringList prefixBefore;

    // The installed program started as the desktop starts it, with a person who closes it once it is
    // up (UserPlugin.cpp); the lines that person wrote.
    QStringList startInstalledProgram(const QString& home, const QStringList& arguments)
    {
        const QString log = home + QStringLiteral("/user.log");
        QProcessEnvironment env = plainEnvironment(home);
        const QString runtime = home + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(TESSIVO_USER_PLUGINS));
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("tessivouser"));
        env.insert(QStringLiteral("TESSIVO_USER_LOG"), log);

        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(home);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(installed(QStringLiteral("bin/tessivo")), arguments);
        const bool finished = program.waitForFinished(120000);
        if (!finished)
            program.kill();
        program.waitForFinished();
        const QString output = QString::fromLocal8Bit(program.readAll());
        [&] {
            QVERIFY2(finished, qPrintable(output));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QVERIFY2(program.exitCode() == 0, qPrintable(output));
        }();
        return QString::fromUtf8(bytesOf(log)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo::exists(installed(QStringLiteral("bin/tessivo"))),
            "no install: the fixture install_stage runs first (ctest -R install)");
        // Read-only, as a package's files are to their user.
        for (const QString& folder : { QStringLiteral("bin"), QStringLiteral("share/tessivo") })
            QCOMPARE(
                QFileInfo(installed(folder)).permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteOther), 0);
        prefixBefore = snapshot(prefix());
        QVERIFY(QDir().mkpath(desktopShare() + QStringLiteral("/mime/packages")));
        QVERIFY(QDir().mkpath(desktopShare() + QStringLiteral("/applications")));
        QVERIFY(QFile::copy(installed(QStringLiteral("share/mime/packages/tessivo.xml")),
            desktopShare() + QStringLiteral("/mime/packages/tessivo.xml")));
        QVERIFY(QFile::copy(installed(QStringLiteral("share/applications/tessivo.desktop")),
            desktopShare() + QStringLiteral("/applications/tessivo.desktop")));
        // As the triggers of shared-mime-info and desktop-file-utils do after a package is installed.
        const Run mime = run(QStringLiteral("update-mime-database"), { desktopShare() + QStringLiteral("/mime") });
        QVERIFY2(mime.exitCode == 0, qPrintable(mime.output));
        const Run desktop
            = run(QStringLiteral("update-desktop-database"), { desktopShare() + QStringLiteral("/applications") });
        QVERIFY2(desktop.exitCode == 0, qPrintable(desktop.output));
        Dialogs::Script::begin();
    }

    void cleanup()
    {
        setAppPath(QString());
        const QStringList unexpected = Dialogs::Script::unexpected();
        Dialogs::Script::begin();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QLatin1String(" | "))));
        // Nothing is ever written under the prefix (root, who may write anywhere, included).
        QCOMPARE(snapshot(prefix()), prefixBefore);
    }

    void theInstallHoldsTheProgramAndWhatTheDesktopNeeds()
    {
        QVERIFY(QFileInfo(installed(QStringLiteral("bin/tessivo"))).isExecutable());
        for (const char* name : { "blank.mdb", "Library.mdb", "TipOfTheDay.txt", "bhelp.hlp" }) {
            const QString path = installed(QStringLiteral("share/tessivo/") + QString::fromLatin1(name));
            QCOMPARE(bytesOf(path), bytesOf(QStringLiteral(TESSIVO_BIN_DIR "/") + QString::fromLatin1(name)));
        }
        QVERIFY(QFileInfo::exists(installed(QStringLiteral("share/applications/tessivo.desktop"))));
        QVERIFY(QFileInfo::exists(installed(QStringLiteral("share/mime/packages/tessivo.xml"))));
        // The program's icon in the icon theme's sizes, each a picture of its size.
        for (const int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
            const QImage icon(installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/tessivo.png").arg(size)));
            QCOMPARE(icon.size(), QSize(size, size));
        }
    }

    void theDesktopEntryIsValidAndOpensSurveyFiles()
    {
        const QString entry = installed(QStringLiteral("share/applications/tessivo.desktop"));
        const Run validate = run(QStringLiteral("desktop-file-validate"), { entry });
        QVERIFY2(validate.exitCode == 0 && validate.output.isEmpty(), qPrintable(validate.output));

        QSettings desktop(entry, QSettings::IniFormat);
        desktop.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(desktop.value(QStringLiteral("Exec")).toString(), QStringLiteral("tessivo %f"));
        QCOMPARE(desktop.value(QStringLiteral("TryExec")).toString(), QStringLiteral("tessivo"));
        QCOMPARE(desktop.value(QStringLiteral("Icon")).toString(), QStringLiteral("tessivo"));
        QVERIFY(desktop.value(QStringLiteral("MimeType")).toString().split(QLatin1Char(';')).contains(kSurveyType));
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("tessivo"));
    }

    // The desktop's tools make their caches of the installed files, as the package's triggers do on
    // a real system; the file manager then knows survey files and opens them with the program.
    void surveyFilesAreKnownAndOpenWithTheProgram_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("sqlite");
        QTest::addColumn<QString>("type");
        QTest::newRow("a survey") << "survey.tvq" << true << kSurveyType;
        QTest::newRow("a survey, capital letters") << "SURVEY.TVQ" << true << kSurveyType;
        QTest::newRow("another SQLite database") << "notes.sqlite3" << true << "application/vnd.sqlite3";
        QTest::newRow("a survey without its extension") << "survey" << true << "application/vnd.sqlite3";
    }

    void surveyFilesAreKnownAndOpenWithTheProgram()
    {
        QFETCH(QString, name);
        QFETCH(bool, sqlite);
        QFETCH(QString, type);
        QTemporaryDir files;
        const QString path = files.filePath(name);
        if (sqlite)
            QVERIFY(QFile::copy(installed(QStringLiteral("share/tessivo/blank.mdb")), path));

        const QMimeType found = QMimeDatabase().mimeTypeForFile(path);
        QCOMPARE(found.name(), type);
        if (type == kSurveyType) {
            QVERIFY(found.inherits(QStringLiteral("application/vnd.sqlite3")));
            QCOMPARE(found.comment(), QStringLiteral("Tessivo survey"));
            QCOMPARE(found.iconName(), QStringLiteral("tessivo"));
        }

        // The desktop's default for survey files is the program's entry.
        QTemporaryDir home;
        QProcessEnvironment env = plainEnvironment(home.path());
        env.insert(QStringLiteral("XDG_DATA_DIRS"), desktopShare());
        env.insert(QStringLiteral("XDG_CONFIG_DIRS"), home.filePath(QStringLiteral("etc")));
        const Run query
            = run(QStringLiteral("xdg-mime"), { QStringLiteral("query"), QStringLiteral("default"), kSurveyType }, env);
        QCOMPARE(query.output, QStringLiteral("tessivo.desktop"));
    }

    void startedFromTheMenuItWritesOnlyInTheUsersFolders()
    {
        QTemporaryDir home;
        const QStringList steps = startInstalledProgram(home.path(), {});
        QVERIFY(!QTest::currentTestFailed());
        const QString data = home.filePath(QStringLiteral(".local/share/tessivo"));

        // The first start's prompt, and no other message (a load failure would show one).
        QCOMPARE(
            steps.filter(QStringLiteral("message: ")), QStringList { QStringLiteral("message: ") + kFirstRunPrompt });
        QVERIFY2(steps.contains(QStringLiteral("dialog: frmTip")), qPrintable(steps.join(QLatin1Char('\n'))));
        // While it ran: the untitled survey and the user's copy of the question library.
        const QStringList running = steps.filter(QStringLiteral("files: "));
        QCOMPARE(running.size(), 1);
        QVERIFY2(running.first().contains(QStringLiteral(" Library.mdb")), qPrintable(running.first()));
        QVERIFY2(running.first().contains(QStringLiteral(" HC")), qPrintable(running.first()));
        QVERIFY(steps.contains(QStringLiteral("closing")));
        // Closed: the untitled survey is gone; the library stays for the next start.
        QCOMPARE(QDir(data).entryList(QDir::Files), QStringList { QStringLiteral("Library.mdb") });
        QCOMPARE(bytesOf(data + QStringLiteral("/Library.mdb")),
            bytesOf(installed(QStringLiteral("share/tessivo/Library.mdb"))));
    }

    void openedByADoubleClickTheSurveyStaysAsItWas()
    {
        QTemporaryDir home;
        const QString survey = home.filePath(QStringLiteral("five questions.tvq"));
        writeSurvey(survey,
            { QStringLiteral("Name"), QStringLiteral("Age"), QStringLiteral("Town"), QStringLiteral("Job"),
                QStringLiteral("Remarks") });
        const QByteArray before = bytesOf(survey);

        const QStringList steps = startInstalledProgram(home.path(), { survey });
        QVERIFY(!QTest::currentTestFailed());
        // The blank question start-up adds is nothing to save.
        QCOMPARE(
            steps.filter(QStringLiteral("message: ")), QStringList { QStringLiteral("message: ") + kFirstRunPrompt });
        QCOMPARE(steps.filter(QStringLiteral("files: ")), QStringList { QStringLiteral("files: Library.mdb") });
        QCOMPARE(bytesOf(survey), before);
        QCOMPARE(untitledFiles(home.filePath(QStringLiteral(".local/share/tessivo"))), QStringList());
    }

    // A day's work on the installed files, in this process: the program's folders are those of the
    // installed executable.
    void aUsersDayOfWork()
    {
        setProgramFolders(findProgramFolders(installed(QStringLiteral("bin"))));
        QCOMPARE(appPath(), installed(QStringLiteral("share/tessivo")));
        const QString data = dataFolder();
        QVERIFY(QDir(data).removeRecursively());
        QCOMPARE(writablePath(), data);
        QTemporaryDir home;

        std::unique_ptr<frmMain> w = startProgram();
        QVERIFY(w);
        QVERIFY(w->session().CurrentFile.startsWith(data + QStringLiteral("/HC")));
        QCOMPARE(w->LibraryConnection().path(), data + QStringLiteral("/Library.mdb"));
        QCOMPARE(w->helpFile(), installed(QStringLiteral("share/tessivo/bhelp.hlp")));

        w->action(QStringLiteral("mnuNew"))->trigger();
        QCOMPARE(untitledFiles(data).size(), 1);
        w->action(QStringLiteral("mnuDesignAddOpenEndedQuestion"))->trigger();
        control<RichTextBox>(w->design(), "txtQ")->setFocus();
        QTest::keyClicks(control<RichTextBox>(w->design(), "txtQ"), QStringLiteral("How did you hear of us?"));

        // A question taken from the library.
        QTreeWidget* library = control<QTreeWidget>(w->design(), "tvTreeLibrary");
        QTreeWidgetItem* question = library->topLevelItem(0)->child(0)->child(0);
        QVERIFY(question && TreeNodes::keyOf(question).startsWith(QLatin1String("Q_")));
        library->setCurrentItem(question);
        control<QPushButton>(w->design(), "cmdLibraryAdd")->click();
        QCOMPARE(w->session().Survey.QCount(), 2);

        const QString survey = home.filePath(QStringLiteral("customers.tvq"));
        Dialogs::Script::fileName(survey);
        w->action(QStringLiteral("mnuFileSave"))->trigger();
        QCOMPARE(w->session().CurrentFile, survey);
        QCOMPARE(storedQuestionTexts(survey),
            (QStringList { QStringLiteral("How did you hear of us?"), question->text(0) }));
        QCOMPARE(untitledFiles(data), QStringList());

        // An answer typed in, exported.
        db::Connection& file = w->session().SurveyConnection;
        file.execute(QStringLiteral("INSERT INTO respondent (source) VALUES ('Manual Entry')"));
        file.execute(QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
                                    "SimpleResponse) SELECT id, 1, 1, 'A friend' FROM question WHERE pos = 1"));
        const QString csv = home.filePath(QStringLiteral("SurveyExport.csv"));
        Dialogs::Script::fileName(csv);
        w->action(QStringLiteral("mnuFileExport"))->trigger();
        QVERIFY(bytesOf(csv).contains("A friend"));

        // The exchange file of publishing.
        w->DoSaveXML();
        QVERIFY(bytesOf(data + QStringLiteral("/test.xml")).contains("<Question>How did you hear of us?</Question>"));

        QVERIFY(w->close());
        w.reset();
        QCOMPARE(untitledFiles(data), QStringList());

        // What the user adds to the library is there at the next start.
        {
            db::Connection own;
            own.open(data + QStringLiteral("/Library.mdb"));
            own.execute(QStringLiteral("INSERT INTO category (id, name) VALUES (900, 'My own')"));
            own.execute(QStringLiteral(
                "INSERT INTO question (id, name, categoryid) VALUES (900, 'Would you come back?', 900)"));
        }
        w = startProgram();
        QVERIFY(w);
        QVERIFY(!control<QTreeWidget>(w->design(), "tvTreeLibrary")
                     ->findItems(QStringLiteral("Would you come back?"), Qt::MatchExactly | Qt::MatchRecursive)
                     .isEmpty());
        QVERIFY(w->close());
        w.reset();
        QCOMPARE(untitledFiles(data), QStringList());
    }
};

int main(int argc, char** argv)
{
    initTestEnvironment();
    qputenv("XDG_DATA_DIRS", (desktopShare() + QStringLiteral(":/usr/share")).toLocal8Bit());

    QApplication app(argc, argv);
    setApplicationIdentity();
    InstallTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_install.moc"
