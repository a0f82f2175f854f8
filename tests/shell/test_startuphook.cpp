// The start-up benchmark's hook: the program started with TESSIVO_QUIT_AFTER_FIRST_PAINT writes
// "painted" once its main window has painted, closes the window as a user would and ends, leaving
// no untitled survey behind.
#include "TestEnvironment.h"
#include "platform/Settings.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

class StartUpHookTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // A second start of a fresh install: no tip of the day, the first-run prompt seen.
        QVERIFY(saveSetting(QStringLiteral("tessivo"), QStringLiteral("Options"),
            QStringLiteral("Show Tips at Startup"), QStringLiteral("0")));
        QVERIFY(saveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun"),
            QStringLiteral("False")));
    }

    void programEndsAfterItsFirstPaint()
    {
        const QString program = QStringLiteral(TESSIVO_PROGRAM);
        const QDir folder = QFileInfo(program).absoluteDir();
        const QStringList untitled { QStringLiteral("HC*.TMP"), QStringLiteral("HC*.tmp") };
        const QStringList before = folder.entryList(untitled, QDir::Files);

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TESSIVO_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
        process.setProcessEnvironment(environment);
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(program, {});
        QVERIFY2(process.waitForFinished(60000), "the program did not end by itself");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput(), QByteArray("painted\n"));
        QCOMPARE(folder.entryList(untitled, QDir::Files), before);
    }
};

int main(int argc, char** argv)
{
    initTestEnvironment();
    QCoreApplication app(argc, argv);
    StartUpHookTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_startuphook.moc"
