// The shell's own windows: the tip of the day, the splash screen, the about box, the Windows
// version tests and the help window with its help file.
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "StartProgram.h"
#include "platform/AppPath.h"
#include "platform/HelpFile.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "shell/MainBas.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"
#include "shell/frmTip.h"
#include "shell/modDetectWindows.h"
#include "widgets/Dialogs.h"
#include "widgets/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBrowser>
#include <QtTest>

namespace {
const QString kOptions = QStringLiteral("Options");

QString currentTipSetting()
{
    return getSetting(appExeName(), kOptions, QStringLiteral("Current Tip"));
}
} // namespace

class ShellWindowsTest : public GuiTest {
    Q_OBJECT

private:
    void writeTips(const QByteArray& text)
    {
        QFile f(folder->file(frmTip::tipsFileName()));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

private Q_SLOTS:
    void init()
    {
        GuiTest::init();
        deleteSetting(appExeName(), kOptions, QStringLiteral("Current Tip"));
        deleteSetting(appExeName(), kOptions, QStringLiteral("Show Tips at Startup"));
    }

    // Tip of the day

    void tipsCycleFromTheOneLastShown_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("stored"); // "Current Tip" before; null when absent
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("storedFirst");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("storedNext");
        QTest::newRow("after the last comes the first") << QByteArray("one\ntwo\nthree\n") << "3"
                                                        << "one"
                                                        << "1"
                                                        << "two"
                                                        << "2";
        QTest::newRow("absent: the second tip") << QByteArray("one\r\ntwo\r\nthree") << QString() << "two"
                                                << "2"
                                                << "three"
                                                << "3";
        QTest::newRow("one tip, always it") << QByteArray("only\n") << "1"
                                            << "only"
                                            << "1"
                                            << "only"
                                            << "1";
        QTest::newRow("empty lines count") << QByteArray("one\n\nthree\n") << "1"
                                           << ""
                                           << "2"
                                           << "three"
                                           << "3";
        QTest::newRow("empty file") << QByteArray() << "5"
                                    << ""
                                    << "1"
                                    << ""
                                    << "1";
        QTest::newRow("a number below the first") << QByteArray("one\ntwo\n") << "-7"
                                                  << "one"
                                                  << "1"
                                                  << "two"
                                                  << "2";
        // A file saved by an older editor in Windows-1252; UTF-8 when it is valid UTF-8.
        QTest::newRow("windows-1252") << QByteArray("Caf\xe9\n\x93Quoted\x94 \x80\n") << "2"
                                      << QString::fromUtf8("Caf\xc3\xa9") << "1"
                                      << QString::fromUtf8("\xe2\x80\x9cQuoted\xe2\x80\x9d \xe2\x82\xac") << "2";
        QTest::newRow("utf-8") << QByteArray("\xef\xbb\xbf"
                                             "Caf\xc3\xa9\n\xe2\x82\xac 5\n")
                               << "2" << QString::fromUtf8("Caf\xc3\xa9") << "1" << QString::fromUtf8("\xe2\x82\xac 5")
                               << "2";
    }

    void tipsCycleFromTheOneLastShown()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, stored);
        QFETCH(QString, first);
        QFETCH(QString, storedFirst);
        QFETCH(QString, next);
        QFETCH(QString, storedNext);
        writeTips(file);
        if (!stored.isNull())
            saveSetting(appExeName(), kOptions, QStringLiteral("Current Tip"), stored);
        frmTip tip;
        QCOMPARE(tip.lblTipText->text(), first);
        QCOMPARE(currentTipSetting(), storedFirst);
        tip.cmdNextTip->click();
        QCOMPARE(tip.lblTipText->text(), next);
        QCOMPARE(currentTipSetting(), storedNext);
        QCOMPARE(tip.lblDidYouKnow->text(), QStringLiteral("Did you know..."));
    }

    void aMissingTipsFileIsExplained()
    {
        QVERIFY(QFile::remove(folder->file(frmTip::tipsFileName())));
        saveSetting(appExeName(), kOptions, QStringLiteral("Current Tip"), QStringLiteral("4"));
        frmTip tip;
        QCOMPARE(tip.lblTipText->text(),
            QStringLiteral("That the TipOfTheDay.txt file was not found? \n\nCreate a text file named "
                           "TipOfTheDay.txt using NotePad with 1 tip per line. Then place it in the same "
                           "directory as the application. "));
        QCOMPARE(currentTipSetting(), QStringLiteral("4"));
        QVERIFY(!tip.LoadTips(QString()));
    }

    void uncheckingTheBoxStopsTheTipsAtStartOnly()
    {
        {
            frmTip tip;
            QVERIFY(tip.chkLoadTipsAtStartup->isChecked());
            QCOMPARE(tip.chkLoadTipsAtStartup->text(), QStringLiteral("&Show Tips at Startup"));
            tip.chkLoadTipsAtStartup->click();
            tip.cmdOK->click();
            QCOMPARE(tip.result(), int(QDialog::Accepted));
        }
        QCOMPARE(getSetting(appExeName(), kOptions, QStringLiteral("Show Tips at Startup")), QStringLiteral("0"));

        saveSetting(QStringLiteral("Orvalen Survey"), QStringLiteral("Config"), QStringLiteral("FirstRun"),
            QStringLiteral("False"));
        quickSplash();
        const auto atStart = handleNextModal(QStringLiteral("frmTip"));
        std::unique_ptr<frmMain> w = runMain(QString());
        QVERIFY(!atStart->shown);

        bool unchecked = false;
        const auto fromMenu = handleNextModal(QStringLiteral("frmTip"), [&](QWidget* dialog) {
            unchecked = !dialog->findChild<QCheckBox*>(QStringLiteral("chkLoadTipsAtStartup"))->isChecked();
        });
        w->action(QStringLiteral("mnuHelpTipOfTheDay"))->trigger();
        QVERIFY(fromMenu->shown);
        QVERIFY(unchecked);
        w->close();
    }

    // Splash screen

    void splashClosesOnAKeyOrAClickOrAfterItsTime()
    {
        frmSplash::setDisplayTime(3000);
        {
            frmSplash splash;
            QCOMPARE(splash.lblCompanyProduct->text(), QStringLiteral("Orvalen"));
            QCOMPARE(splash.lblProductName->text(), QStringLiteral("Tessivo"));
            QCOMPARE(splash.lblPlatform->text(), QStringLiteral("98/2000/XP"));
            QVERIFY(!splash.Picture5->isHidden());
            QVERIFY(splash.Picture2->isHidden());
            QCOMPARE(splash.Timer1->interval(), 3000);
            splash.show();
            QTest::keyClick(&splash, Qt::Key_Space);
            QVERIFY(!splash.isVisible());
        }
        {
            frmSplash splash;
            splash.show();
            QTest::mouseClick(splash.Frame1, Qt::LeftButton);
            QVERIFY(!splash.isVisible());
        }
        frmSplash::setDisplayTime(50);
        frmSplash splash;
        QElapsedTimer clock;
        clock.start();
        splash.exec();
        QVERIFY(clock.elapsed() >= 40);
        QVERIFY(clock.elapsed() < 2000);
        frmSplash::setDisplayTime(3000);
    }

    // About box

    void aboutBoxLinksAndSystemInfo()
    {
        frmAbout about;
        QVERIFY(!about.Picture2->isHidden());
        QVERIFY(about.Picture5->isHidden());
        QCOMPARE(about.lblDescription->text(), QStringLiteral("The fully flexible and easy to use survey system."));
        QCOMPARE(about.cmdSysInfo->text(), QStringLiteral("&System Info..."));
        about.show();

        Dialogs::Script::answer(Dialogs::OK);
        about.cmdSysInfo->click();
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::OKOnly);
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::NoIcon);

        QTest::mouseClick(about.Label2, Qt::LeftButton);
        QTest::mouseClick(about.Picture4, Qt::LeftButton);
        QCOMPARE(Shell::recorded(),
            (QStringList {
                QStringLiteral("https://www.orvalen.example/"), QStringLiteral("https://www.orvalen.example/") }));
        about.cmdOK->click();
        QVERIFY(!about.isVisible());

        SurveySession session;
        db::Connection library;
        frmMain w(session, library);
        const auto shown = handleNextModal(QStringLiteral("frmAbout"));
        w.action(QStringLiteral("mnuAbout"))->trigger();
        QVERIFY(shown->shown);
    }

    void windowsVersionTests()
    {
        struct Case {
            OsVersionInfo v;
            bool w95, w98, w2000, xp;
        };
        const Case cases[] = {
            { { 4, 0, 1 }, true, false, false, false }, // 95
            { { 4, 10, 1 }, false, true, false, false }, // 98
            { { 4, 90, 1 }, false, true, false, false }, // ME
            { { 4, 0, 2 }, false, false, false, false }, // NT 4
            { { 5, 0, 2 }, false, false, true, false }, // 2000
            { { 5, 1, 2 }, false, false, false, true }, // XP
            { { 6, 0, 2 }, false, false, false, false }, // later
        };
        for (const Case& c : cases) {
            QCOMPARE(IsWindows95(c.v), c.w95);
            QCOMPARE(IsWindows98(c.v), c.w98);
            QCOMPARE(IsWindows2000(c.v), c.w2000);
            QCOMPARE(IsWindowsXP(c.v), c.xp);
        }
        QVERIFY(!getVersionEx());
        QVERIFY(!IsWindows95() && !IsWindows98() && !IsWindows2000() && !IsWindowsXP());
    }

    // Help

    void helpFileFormat()
    {
        HelpFile f;
        QString error;
        QVERIFY(!f.parse(QStringLiteral(".topic 1\n<p>x</p>\n"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!f.parse(QStringLiteral("TESSIVO HELP 1\n.topic one\n"), &error));
        QVERIFY(f.parse(QStringLiteral("TESSIVO HELP 1\n# comment\n.topic 3\n.title Getting started\n"
                                       ".keywords tutorial; Answers\n\n<p>Enter <b>answers</b> here.</p>\n"
                                       ".topic 1\n.title Contents\n.keywords answers\n<p>See topic 3.</p>\n"),
            &error));
        QCOMPARE(f.topics().size(), 2);
        QCOMPARE(f.find(3)->title, QStringLiteral("Getting started"));
        QCOMPARE(f.find(3)->body, QStringLiteral("<p>Enter <b>answers</b> here.</p>\n"));
        QVERIFY(!f.find(2));
        QStringList index;
        for (const auto& e : f.index())
            index << e.keyword + QLatin1Char('/') + QString::number(e.context);
        QCOMPARE(index, (QStringList { "answers/1", "Answers/3", "tutorial/3" }));
        QCOMPARE(f.search(QStringLiteral("ANSWERS here")), QList<int> { 3 });
        QCOMPARE(f.search(QStringLiteral("answers")), (QList<int> { 3 }));
        QCOMPARE(f.search(QStringLiteral("topic")), (QList<int> { 1 }));
        QCOMPARE(f.search(QStringLiteral("<b>")), QList<int>());
    }

    void theShippedHelpFileIsWhole()
    {
        HelpFile f;
        QString error;
        QVERIFY2(f.load(appFile(QStringLiteral("bhelp.hlp")), &error), qPrintable(error));
        QVERIFY(f.find(frmMain::kHelpContents));
        QVERIFY(f.find(frmMain::kHelpGettingStarted));
        QSet<int> contexts;
        for (const HelpTopic& t : f.topics()) {
            QVERIFY2(!contexts.contains(t.context), qPrintable(QString::number(t.context)));
            contexts.insert(t.context);
            QVERIFY(!t.title.isEmpty());
            QVERIFY2(!t.keywords.isEmpty(), qPrintable(t.title));
        }
        // Every link leads to a topic of the file.
        static const QRegularExpression link(QStringLiteral("href=\"topic:(\\d+)\""));
        for (const HelpTopic& t : f.topics()) {
            for (const QRegularExpressionMatch& m : link.globalMatch(t.body)) {
                QVERIFY2(contexts.contains(m.captured(1).toInt()),
                    qPrintable(t.title + QStringLiteral(" links to ") + m.captured(1)));
            }
        }
        QVERIFY(f.search(QStringLiteral("respondent")).size() >= 2);
    }

    void helpMenuOpensTheHelpWindowAndTheSupportAddresses()
    {
        SurveySession session;
        db::Connection library;
        frmMain w(session, library);
        quickSplash();
        w.Form_Load(QString());
        w.show();
        w.action(QStringLiteral("mnuHelpContents"))->trigger();
        HelpWindow* help = Help::window(&w);
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentTopic(), 1);
        QCOMPARE(help->fileName(), w.helpFile());
        QVERIFY(help->pageText().startsWith(QStringLiteral("Contents")));

        w.action(QStringLiteral("mnuHelpIndex"))->trigger();
        QCOMPARE(help->currentTab(), HelpWindow::IndexTab);
        QCOMPARE(Help::window(&w), help); // one help window
        QTest::keyClicks(help->txtIndexWord, QStringLiteral("respo"));
        QVERIFY(help->lstIndex->currentItem());
        QVERIFY(help->lstIndex->currentItem()->text().startsWith(QStringLiteral("respo"), Qt::CaseInsensitive));

        w.action(QStringLiteral("mnuHelpSearch"))->trigger();
        QCOMPARE(help->currentTab(), HelpWindow::SearchTab);
        help->txtSearchWords->setText(QStringLiteral("chart style"));
        help->cmdListTopics->click();
        QVERIFY(help->lstSearchResults->count() > 0);
        QTest::keyClick(help->lstSearchResults, Qt::Key_Return);
        QVERIFY(help->pageText().contains(QStringLiteral("chart style"), Qt::CaseInsensitive));

        // A link opens its topic; Back returns.
        Q_EMIT help->txtTopic->anchorClicked(QUrl(QStringLiteral("topic:3")));
        QCOMPARE(help->currentTopic(), 3);
        help->cmdBack->click();
        QVERIFY(help->currentTopic() != 3);

        w.action(QStringLiteral("mnuHelpOnlineSupport"))->trigger();
        w.action(QStringLiteral("mnuHelpSendFeedback"))->trigger();
        QCOMPARE(Shell::recorded(),
            (QStringList { QStringLiteral("https://www.tessivo.example/support"),
                QStringLiteral("mailto:support@tessivo.example") }));

        // Closing the program closes its help window too.
        w.session().setFileChanged(false);
        QVERIFY(w.close());
        QVERIFY(!help->isVisible());
    }

    void aMissingHelpFileIsSaidInTheHelpWindow()
    {
        SurveySession session;
        db::Connection library;
        frmMain w(session, library);
        quickSplash();
        w.Form_Load(QString());
        QVERIFY(QFile::remove(folder->file(QStringLiteral("bhelp.hlp"))));
        w.mnuHelpContents_Click();
        HelpWindow* help = Help::window(&w);
        QVERIFY(help && help->isVisible());
        QVERIFY(help->pageText().contains(QStringLiteral("could not be opened")));
        QCOMPARE(help->lstContents->count(), 0);
        w.session().setFileChanged(false);
        w.close();
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<ShellWindowsTest>(argc, argv);
}

#include "test_shellwindows.moc"
