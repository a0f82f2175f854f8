// The Publish and Collect wizards against the loopback double of the web survey service: the
// page frame, the pages' checks, the upload and download sequences, and both wizards end to end
// from the Data Collection menu.
#include "AccessibleControls.h"
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "StartProgram.h"
#include "WebServiceDouble.h"
#include "document/clsQ.h"
#include "platform/AppPath.h"
#include "platform/Internet.h"
#include "platform/Shell.h"
#include "shell/frmMain.h"
#include "web/ExchangeFile.h"
#include "web/ServerList.h"
#include "web/WizardDriver.h"
#include "web/frmWizWebCollect.h"
#include "web/frmWizWebCollect_Download.h"
#include "web/frmWizWebPublish.h"
#include "web/frmWizWebPublish_Upload.h"
#include "web/modWebServer.h"
#include "web/wininet.h"
#include "widgets/Dialogs.h"
#include "widgets/HelpWindow.h"
#include "widgets/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

constexpr int kDeadline = 20000; // ms; every wait of these tests ends by then

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void clearSettings()
{
    QFile::remove(
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tessivo"), ServerList::appName())
            .fileName());
}

// True once the log page's sequence has come to an end, good or bad.
bool sequenceEnded(const WizardLogPage& page)
{
    const QStringList lines = page.messages();
    if (lines.isEmpty())
        return false;
    const QString& last = lines.constLast();
    return last == QLatin1String("Success.") || last == QLatin1String("Finished.")
        || last.endsWith(QLatin1String("Failed."))
        || last.startsWith(QLatin1String("Error - server did not accept new survey."));
}

// Drives the pages of a wizard as the driver shows them: each expected page gets its action once
// it is the active modal window; an action answers true when it is done with the page (it has
// pressed a button that leaves it), false to be asked again a little later. Anything else (an
// unexpected page, a page that does not move on before the deadline) is recorded as a failure and
// the page is cancelled, so that the wizard always ends.
class PageRobot : public QObject {
public:
    using Action = std::function<bool(WizardPage*)>;

    void expect(const QString& page, Action action) { steps_.append({ page, std::move(action) }); }
    // Starts polling; call before the menu command that runs the wizard.
    void start()
    {
        clock_.start();
        connect(&timer_, &QTimer::timeout, this, &PageRobot::poll);
        timer_.start(20);
    }
    void stop() { timer_.stop(); }
    QStringList seen;
    QString failure;
    bool allDone() const { return next_ == steps_.size(); }

private:
    void fail(WizardPage* page, const QString& why)
    {
        if (failure.isEmpty())
            failure = why + QStringLiteral(" after ") + seen.join(QLatin1Char(','));
        page->cmdCancel_Click();
    }

    void poll()
    {
        auto* page = qobject_cast<WizardPage*>(QApplication::activeModalWidget());
        if (!page || page->isClosed() || busy_)
            return;
        if (page == left_) {
            if (pageClock_.elapsed() > kDeadline)
                fail(page, page->objectName() + QStringLiteral(" did not close"));
            return;
        }
        if (page != current_) {
            if (next_ >= steps_.size())
                return fail(page, QStringLiteral("unexpected page ") + page->objectName());
            if (page->objectName() != steps_.at(next_).first)
                return fail(
                    page, QStringLiteral("expected %1, shown %2").arg(steps_.at(next_).first, page->objectName()));
            current_ = page;
            seen << page->objectName();
            pageClock_.start();
        }
        if (clock_.elapsed() > 3 * kDeadline || pageClock_.elapsed() > kDeadline)
            return fail(page, QStringLiteral("timed out on ") + page->objectName());
        busy_ = true; // an action may click a button that waits in a nested event loop
        const bool done = steps_.at(next_).second(page);
        busy_ = false;
        if (done) {
            ++next_;
            left_ = page;
        }
    }

    QList<QPair<QString, Action>> steps_;
    qsizetype next_ = 0;
    QPointer<WizardPage> current_;
    QPointer<WizardPage> left_; // the page an action is done with, until it closes
    QTimer timer_;
    QElapsedTimer clock_;
    QElapsedTimer pageClock_;
    bool busy_ = false;
};

template <typename T> T* as(WizardPage* page)
{
    return qobject_cast<T*>(page);
}

bool pressNext(WizardPage* page)
{
    page->cmdNext->click();
    return true;
}

// Once the page's sequence has ended, checks it with the given test and presses Next.
PageRobot::Action nextAfterSequence(std::function<void(WizardLogPage*)> check = {})
{
    return [check](WizardPage* page) {
        auto* log = as<WizardLogPage>(page);
        if (!sequenceEnded(*log) || !log->cmdNext->isEnabled())
            return false;
        if (check)
            check(log);
        log->cmdNext->click();
        return true;
    };
}

} // namespace

class WebWizardsTest : public GuiTest {
    Q_OBJECT

    std::unique_ptr<WebServiceDouble> service;
    int server = 0; // the loopback server's entry number

    // The program on a saved survey of an open-ended and a check question.
    void start()
    {
        const QString path = folder->writeSurvey(QStringLiteral("staff.tvq"),
            { { QTypeOpenEnded, QStringLiteral("Your name?") }, { QTypeCheck, QStringLiteral("Pets?|Cat|Dog") } });
        TestProgram::start(path);
        QVERIFY(w);
        // The program adds a blank question at start; saving it leaves nothing unsaved.
        QVERIFY(w->DoSave());
        QVERIFY(!w->IsFileChanged());
    }

    // Runs a wizard from its menu item while the robot drives its pages.
    void runWizard(PageRobot& robot, const char* menuItem)
    {
        robot.start();
        w->action(QString::fromLatin1(menuItem))->trigger();
        robot.stop();
    }

    int count(const QString& sql) { return w->session().SurveyConnection.openRecordset(sql).field(0).toInt(); }

    // The values the Publish pages would have stored.
    void publishAs(const QString& user, const QString& password, const QString& surveyName, bool isPublic)
    {
        PublishServerIndex = server;
        PublishUserName = user;
        PublishPassword = password;
        PublishSurveyName = surveyName;
        PublishPublic = isPublic;
    }

    // Runs the upload page on its own until its sequence ends; the log's lines.
    QStringList upload()
    {
        frmWizWebPublish_Upload page(w->session(), w.get());
        page.show();
        [&] { QTRY_VERIFY_WITH_TIMEOUT(sequenceEnded(page), kDeadline); }();
        return page.messages();
    }

private Q_SLOTS:
    void initTestCase()
    {
        service = std::make_unique<WebServiceDouble>();
        net::setLimits({ 5, 5 });
    }

    void cleanupTestCase()
    {
        net::setLimits({});
        service.reset();
    }

    void init()
    {
        service->reset();
        service->setUnreachable(false);
        clearSettings();
        resetWizardState();
        GuiTest::init();
        server = ServerList::add({ QStringLiteral("Loopback"), service->baseUrl(), service->ftpServer(),
            service->ftpUser(), service->ftpPassword() });
    }

    // The frame all twelve pages share, their names, captions, help topics and accessible names.
    void everyPageHasTheFrame()
    {
        start();
        PublishedURL = QStringLiteral("http://127.0.0.1/survey.php?id=4");
        struct Page {
            std::function<WizardPage*()> make;
            QString name, caption;
            int help;
        };
        SurveySession& s = w->session();
        QWidget* owner = w.get();
        const QList<Page> pages {
            { [&] { return new frmWizWebPublish_Welcome(owner); }, "frmWizWebPublish_Welcome", "Web Publish Wizard",
                9 },
            { [&] { return new frmWizWebPublish_ServerType(owner); }, "frmWizWebPublish_ServerType",
                "Choose your web server", 9 },
            { [&] { return new frmWizWebPublish_Login(owner); }, "frmWizWebPublish_Login", "Enter your login details",
                9 },
            { [&] { return new frmWizWebPublish_SurveyName(owner); }, "frmWizWebPublish_SurveyName",
                "Enter your survey name", 9 },
            { [&] { return new frmWizWebPublish_Upload(s, owner); }, "frmWizWebPublish_Upload", "Uploading Survey", 9 },
            { [&] { return new frmWizWebPublish_Complete(owner); }, "frmWizWebPublish_Complete", "Finished", 9 },
            { [&] { return new frmWizWebCollect_Welcome(owner); }, "frmWizWebCollect_Welcome", "Configuration Wizard",
                10 },
            { [&] { return new frmWizWebCollect_ServerType(owner); }, "frmWizWebCollect_ServerType",
                "Choose your web server", 10 },
            { [&] { return new frmWizWebCollect_Login(owner); }, "frmWizWebCollect_Login", "Enter your login details",
                10 },
            { [&] { return new frmWizWebCollect_SelectSurvey(owner); }, "frmWizWebCollect_SelectSurvey",
                "Select the Survey", 10 },
            { [&] { return new frmWizWebCollect_Download(s, owner); }, "frmWizWebCollect_Download",
                "Downloading Results", 10 },
            { [&] { return new frmWizWebCollect_Complete(owner); }, "frmWizWebCollect_Complete", "Finished", 10 },
        };
        for (int i = 0; i < pages.size(); ++i) {
            const Page& expected = pages.at(i);
            std::unique_ptr<WizardPage> page(expected.make());
            const bool first = i % 6 == 0, last = i % 6 == 5, logPage = i % 6 == 4;
            const QString name = expected.name;
            QCOMPARE(page->objectName(), name);
            QCOMPARE(page->windowTitle(), expected.caption);
            QCOMPARE(page->size(), QSize(Twips::toPixelsX(6660), Twips::toPixelsY(4395)));
            QCOMPARE(page->minimumSize(), page->maximumSize());
            QVERIFY(!(page->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QCOMPARE(page->picWizard->pixmap().size(), QSize(117, 218));
            QVERIFY(page->cmdNext->isDefault());
            QCOMPARE(page->cmdNext->text(), last ? QStringLiteral("&Finish") : QStringLiteral("&Next"));
            QCOMPARE(Twips::leftOf(page->cmdNext), last ? 5520 : 4200);
            QCOMPARE(Twips::topOf(page->fraButtons), 3690);
            page->show();
            QVERIFY(QTest::qWaitForWindowExposed(page.get()));
            QCOMPARE(page->cmdBack->isVisible(), !first && !last);
            QCOMPARE(page->cmdCancel->isVisible(), !last);
            // Next on the upload and download pages waits for their sequence.
            QCOMPARE(page->cmdNext->isEnabled(), !logPage);
            QCOMPARE(page->helpContextID(), expected.help);
            QCOMPARE(page->property("HelpContextID").toInt(), expected.help);
            for (QWidget* child : page->findChildren<QWidget*>())
                QCOMPARE(child->property("HelpContextID").toInt(), expected.help);
            QCOMPARE(unnamedControls(page.get()), QStringList());
            QCOMPARE(repeatedNames(page.get()), QStringList());
            // Esc does nothing; F1 opens the page's help topic.
            QTest::keyClick(page.get(), Qt::Key_Escape);
            QVERIFY(page->isVisible());
            QVERIFY(!page->isClosed());
            QTest::keyClick(page.get(), Qt::Key_F1);
            QVERIFY(Help::window(page.get()));
            QCOMPARE(Help::window(page.get())->currentTopic(), expected.help);
            page->cmdCancel_Click(); // ends the page's timer work, if any, before it starts
        }
    }

    // Back, Next and Cancel, the close box counted as Cancel, and what a second run shows again.
    void theDriverWalksThePages()
    {
        start();
        PageRobot robot;
        robot.expect("frmWizWebPublish_Welcome", pressNext);
        robot.expect("frmWizWebPublish_ServerType", [](WizardPage* p) {
            p->cmdBack->click();
            return true;
        });
        robot.expect("frmWizWebPublish_Welcome", [](WizardPage* p) {
            // Enter presses Next.
            QTest::keyClick(p, Qt::Key_Return);
            return true;
        });
        robot.expect("frmWizWebPublish_ServerType", pressNext);
        robot.expect("frmWizWebPublish_Login", [](WizardPage* p) {
            auto* login = as<frmWizWebPublish_Login>(p);
            login->txtName->setText(QStringLiteral("ann"));
            login->txtPassword->setText(QStringLiteral("secret"));
            return pressNext(p);
        });
        robot.expect("frmWizWebPublish_SurveyName", [](WizardPage* p) {
            auto* page = as<frmWizWebPublish_SurveyName>(p);
            page->txtName->setText(QStringLiteral("typed, then cancelled"));
            page->close(); // the close box
            return true;
        });
        runWizard(robot, "mnuDataPublishWeb");
        QVERIFY2(robot.failure.isEmpty(), qPrintable(robot.failure));
        QVERIFY(robot.allDone());
        QVERIFY(WizardCancelled);
        QCOMPARE(WizardStep, 4);
        QCOMPARE(PublishServerIndex, server);
        QCOMPARE(PublishUserName, QStringLiteral("ann"));
        QCOMPARE(PublishSurveyName, QString());

        // A second run starts at the welcome page and shows the stored values.
        PageRobot again;
        again.expect("frmWizWebPublish_Welcome", pressNext);
        again.expect("frmWizWebPublish_ServerType", pressNext);
        again.expect("frmWizWebPublish_Login", [](WizardPage* p) {
            auto* login = as<frmWizWebPublish_Login>(p);
            if (login->txtName->text() != QLatin1String("ann") || login->txtPassword->text() != QLatin1String("secret"))
                return false;
            login->cmdCancel->click();
            return true;
        });
        runWizard(again, "mnuDataPublishWeb");
        QVERIFY2(again.failure.isEmpty(), qPrintable(again.failure));
        QVERIFY(again.allDone());
    }

    // The server list, the account page, the empty-field checks and the finish page's address.
    void publishPagesCheckAndStoreTheirInput()
    {
        start();
        ServerList::add({ QStringLiteral("Second"), QStringLiteral("http://second.example/base"),
            QStringLiteral("ftp.second.example"), QString(), QString() });
        for (int n = 3; n <= 10; ++n)
            ServerList::add({ QStringLiteral("Server %1").arg(n), QStringLiteral("http://h/"), QStringLiteral("f"),
                QString(), QString() });
        {
            frmWizWebPublish_ServerType page(w.get());
            QCOMPARE(page.cboName->count(), 11);
            QCOMPARE(page.cboName->itemText(0), QStringLiteral("Brelloc Server"));
            QCOMPARE(page.cboName->itemData(0).toInt(), -1);
            QCOMPARE(page.cboName->itemText(2), QStringLiteral("Second"));
            // The newest entry is the last one, also past nine.
            QCOMPARE(page.cboName->currentText(), QStringLiteral("Server 10"));
            page.cboName->setCurrentIndex(2);
            page.cmdNext->click();
            QCOMPARE(PublishServerIndex, 2);
            QCOMPARE(WizardStep, 1);
        }
        {
            frmWizWebPublish_Login page(w.get());
            page.cmdCreate->click();
            QCOMPARE(Shell::recorded(), QStringList { "http://second.example/base/CreateAccount.php" });
            page.txtName->setText(QStringLiteral("ann"));
            Dialogs::Script::answer(Dialogs::OK);
            page.cmdNext->click();
            QCOMPARE(Dialogs::Script::lastText(),
                QStringLiteral("No username/password has been entered. Please enter your username and password, or "
                               "press Create New Account to continue."));
            QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
            QVERIFY(!page.isClosed());
            QCOMPARE(PublishUserName, QString());
            page.txtPassword->setText(QStringLiteral("  "));
            page.cmdNext->click();
            QVERIFY(page.isClosed());
            QCOMPARE(PublishPassword, QStringLiteral("  "));

            PublishServerIndex = 99; // an entry that does not exist
            frmWizWebPublish_Login again(w.get());
            Dialogs::Script::answer(Dialogs::OK);
            again.cmdCreate->click();
            QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("Error - unable to retrieve server information."));
        }
        {
            frmWizWebPublish_SurveyName page(w.get());
            QCOMPARE(page.txtName->text(), QString());
            QVERIFY(!page.chkPublic->isChecked());
            Dialogs::Script::answer(Dialogs::OK);
            page.cmdNext->click();
            QCOMPARE(Dialogs::Script::lastText(),
                QStringLiteral("No survey name has been entered. Please enter a name for your survey to continue."));
            QVERIFY(!page.isClosed());
        }
        {
            frmWizWebPublish_Complete page(w.get());
            page.show();
            QCOMPARE(page.lblMessage->text(), QStringLiteral("Your survey was not uploaded."));
            QVERIFY(!page.Label6->isVisible());
            QVERIFY(!page.cmdCopy->isVisible());
        }
        PublishedURL = QStringLiteral("http://127.0.0.1/survey.php?id=4");
        frmWizWebPublish_Complete page(w.get());
        page.show();
        QCOMPARE(page.lblMessage->text(),
            QStringLiteral("Your survey has been uploaded and can be accessed at the URL below."));
        QCOMPARE(page.Label6->text(), PublishedURL);
        QTest::mouseClick(page.Label6, Qt::LeftButton);
        QCOMPARE(Shell::recorded().constLast(), PublishedURL);
        QVERIFY(!page.isClosed());
        Dialogs::Script::answer(Dialogs::OK);
        page.cmdCopy->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), PublishedURL);
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("URL copied to clipboard."));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Information);
    }

    // A whole publish from the menu: the unsaved survey is saved first, the file arrives as the
    // exchange file was written, and the finish page shows the address.
    void aWholePublish()
    {
        start();
        service->addAccount(QStringLiteral("ann"), QStringLiteral("secret"));
        w->MarkFileChanged();

        // Declining the save ends the wizard before its first page.
        PageRobot none;
        Dialogs::Script::answer(Dialogs::No);
        runWizard(none, "mnuDataPublishWeb");
        QCOMPARE(Dialogs::Script::lastText(),
            QStringLiteral("You must save the survey before publishing it. Do you want to save it now?"));
        QVERIFY(none.seen.isEmpty());
        QVERIFY(w->IsFileChanged());

        QStringList log;
        int progress = 0;
        QString shownUrl;
        PageRobot robot;
        robot.expect("frmWizWebPublish_Welcome", pressNext);
        robot.expect("frmWizWebPublish_ServerType", pressNext);
        robot.expect("frmWizWebPublish_Login", [](WizardPage* p) {
            auto* login = as<frmWizWebPublish_Login>(p);
            login->txtName->setText(QStringLiteral("ann"));
            login->txtPassword->setText(QStringLiteral("secret"));
            return pressNext(p);
        });
        robot.expect("frmWizWebPublish_SurveyName", [](WizardPage* p) {
            auto* page = as<frmWizWebPublish_SurveyName>(p);
            page->txtName->setText(QStringLiteral("Staff & pets"));
            page->chkPublic->setChecked(true);
            return pressNext(p);
        });
        robot.expect("frmWizWebPublish_Upload", nextAfterSequence([&](WizardLogPage* p) {
            log = p->messages();
            progress = p->ProgressBar1->value();
        }));
        robot.expect("frmWizWebPublish_Complete", [&](WizardPage* p) {
            shownUrl = as<frmWizWebPublish_Complete>(p)->Label6->text();
            return pressNext(p);
        });
        Dialogs::Script::answer(Dialogs::Yes);
        runWizard(robot, "mnuDataPublishWeb");
        QVERIFY2(robot.failure.isEmpty(), qPrintable(robot.failure));
        QVERIFY(robot.allDone());
        QVERIFY(!w->IsFileChanged());
        QVERIFY(!WizardCancelled);
        QCOMPARE(WizardStep, 7);

        const QJsonObject survey = service->state().value("surveys").toObject().value("4").toObject();
        const QString url = survey.value("url").toString();
        QVERIFY(!url.isEmpty());
        QCOMPARE(survey.value("name").toString(), QStringLiteral("Staff & pets"));
        QVERIFY(survey.value("public").toBool());
        QCOMPARE(log,
            (QStringList { "Creating local survey.", "Created local survey.", "Logging ann into Loopback.",
                "ann logged into Loopback.", "Checking for status of Staff & pets.",
                "Creating new survey Staff & pets.", "Survey successfully transfered.",
                "Asking server to accept new public survey.", "Server has published new survey at " + url + ".",
                "Success." }));
        QCOMPARE(progress, 9);
        QCOMPARE(shownUrl, url);
        QCOMPARE(PublishedURL, url);
        // The service moved what arrived in "incoming" to its published surveys: byte for byte the
        // exchange file, whose questions carry their stored ids.
        const QByteArray sent = readFile(appFile(QStringLiteral("test.xml")));
        QCOMPARE(readFile(service->publishedFolder() + QStringLiteral("/17-4.xml")), sent);
        QVERIFY(sent.contains("<Question>Pets?</Question>"));
        QVERIFY(!sent.contains("<DatabaseID>-1</DatabaseID>"));
    }

    // An existing survey of the same name: Yes updates it under its own id, No stops.
    void theUpdateQuestion_data()
    {
        QTest::addColumn<bool>("update");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void theUpdateQuestion()
    {
        QFETCH(bool, update);
        start();
        const int user = service->addAccount(QStringLiteral("ann"), QStringLiteral("secret"));
        service->addSurvey(user, QStringLiteral("Staff"), 9);
        publishAs(QStringLiteral("ann"), QStringLiteral("secret"), QStringLiteral("Staff"), false);
        Dialogs::Script::answer(update ? Dialogs::Yes : Dialogs::No);
        const QStringList log = upload();
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("This survey already exists. Do you want to update it?"));
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::YesNo);
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Question);
        if (update) {
            QCOMPARE(log.at(5), QStringLiteral("Updating existing survey Staff."));
            QCOMPARE(log.at(7), QStringLiteral("Asking server to accept new private survey."));
            QCOMPARE(log.constLast(), QStringLiteral("Success."));
            QCOMPARE(service->state().value("published").toArray(), QJsonArray { "17-9.xml" });
            QCOMPARE(service->state().value("surveys").toObject().size(), 1);
        } else {
            QCOMPARE(log.mid(5), (QStringList { "Cancelled survey update.", "Failed." }));
            QVERIFY(service->state().value("incoming").toArray().isEmpty());
            QCOMPARE(PublishedURL, QString());
        }
    }

    // Failures of the service and of the FTP server: the message, the log and a Next that stays off.
    void uploadFailures_data()
    {
        QTest::addColumn<bool>("knownServer");
        QTest::addColumn<QString>("password");
        // "ftp " and the FTP server's failure mode; "exchange file" (it cannot be written); or a
        // function of the service and the answer it gives instead.
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message"); // "" when none is shown
        QTest::addColumn<QStringList>("lastLines");
        const auto row = [](const char* name, bool knownServer, const QString& password, const QString& fault,
                             const QString& message, const QStringList& lastLines) {
            QTest::newRow(name) << knownServer << password << fault << message << lastLines;
        };
        const QString noServer = QStringLiteral("Error - unable to retrieve server information.");
        const QString badLogin = QStringLiteral("Unable to login. Error Error: invalid username or password.");
        const QString ftpLogin
            = QStringLiteral("FTP Connection error ") + GetInternetErrorText(net::kIncorrectPassword);
        row("no server entry", false, "secret", "", noServer, { noServer, "Failed." });
        row("refused login", true, "wrong", "", badLogin, { badLogin, "Failed." });
        row("ftp login", true, "secret", "ftp login", ftpLogin, { ftpLogin, "Failed." });
        row("ftp directory", true, "secret", "ftp cwd", "", { "Error (FtpSetCurrentDirectory) 12003", "Failed." });
        row("ftp put", true, "secret", "ftp put", "", { "Error (FtpPutFile) 12003", "Failed." });
        // A reply that trickles in is abandoned at the (shortened) limit with the timeout's number.
        row("ftp trickle", true, "secret", "ftp trickle", "", { "Error (FtpSetCurrentDirectory) 12002", "Failed." });
        row("exchange file", true, "secret", "exchange file", "", { "Creating local survey.", "Failed." });
        row("survey not created", true, "secret", "CreateSurvey Error: no more surveys.",
            "Unable to create survey. Error Error: no more surveys.", { "Creating new survey Staff.", "Failed." });
        row("not published", true, "secret", "MoveNewSurvey Error: not accepted.", "",
            { "Asking server to accept new private survey.",
                "Error - server did not accept new survey. Error: not accepted." });
        row("published nowhere", true, "secret", "MoveNewSurvey Success<br><br>", "",
            { "Asking server to accept new private survey.", "Error - server did not accept new survey. Success" });
    }

    void uploadFailures()
    {
        QFETCH(bool, knownServer);
        QFETCH(QString, password);
        QFETCH(QString, fault);
        QFETCH(QString, message);
        QFETCH(QStringList, lastLines);
        start();
        service->addAccount(QStringLiteral("ann"), QStringLiteral("secret"));
        const bool uploaded = fault.startsWith(QLatin1String("MoveNewSurvey"));
        if (fault.startsWith(QLatin1String("ftp ")))
            service->setFtpFailure(fault.mid(4));
        else if (fault == QLatin1String("exchange file"))
            QVERIFY(QDir().mkpath(appFile(QStringLiteral("test.xml")) + QStringLiteral("/taken")));
        else if (!fault.isEmpty())
            service->setAnswer(fault.section(QLatin1Char(' '), 0, 0), fault.section(QLatin1Char(' '), 1));
        publishAs(QStringLiteral("ann"), password, QStringLiteral("Staff"), false);
        if (!knownServer)
            PublishServerIndex = 99;
        if (!message.isEmpty())
            Dialogs::Script::answer(Dialogs::OK);
        frmWizWebPublish_Upload page(w->session(), w.get());
        page.show();
        QTRY_VERIFY_WITH_TIMEOUT(sequenceEnded(page), kDeadline);
        QCOMPARE(page.messages().mid(page.messages().size() - 2), lastLines);
        if (!message.isEmpty()) {
            QCOMPARE(Dialogs::Script::lastText(), message);
            QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        }
        QVERIFY(!page.cmdNext->isEnabled());
        QCOMPARE(service->state().value("incoming").toArray().isEmpty(), !uploaded);
        QCOMPARE(PublishedURL, QString());
    }

    // A server that cannot be reached ends in the failure messages with nothing after "Error ",
    // quickly, on every page that asks it something.
    void anUnreachableServer()
    {
        start();
        service->setUnreachable(true);
        QElapsedTimer clock;
        clock.start();

        publishAs(QStringLiteral("ann"), QStringLiteral("secret"), QStringLiteral("Staff"), false);
        Dialogs::Script::answer(Dialogs::OK);
        QCOMPARE(upload().mid(3), (QStringList { "Unable to login. Error ", "Failed." }));

        CollectServerIndex = server;
        {
            frmWizWebCollect_Login page(w.get());
            page.txtName->setText(QStringLiteral("ann"));
            page.txtPassword->setText(QStringLiteral("secret"));
            Dialogs::Script::answer(Dialogs::OK);
            page.cmdNext->click();
            QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("Unable to login. Error "));
            QVERIFY(!page.isClosed());
            QCOMPARE(CollectWebUserID, QStringLiteral("-1"));
        }
        CollectWebUserID = QStringLiteral("17");
        CollectSurveyID = 4;
        Dialogs::Script::answer(Dialogs::OK);
        frmWizWebCollect_Download page(w->session(), w.get());
        page.show();
        QTRY_VERIFY_WITH_TIMEOUT(sequenceEnded(page), kDeadline);
        const QString fileUrl = service->baseUrl() + QStringLiteral("17-4.txt");
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("Unable to download results file.") + fileUrl);
        QCOMPARE(page.messages(),
            (QStringList { "Downloading survey results 17-4.txt.", "Unable to download results file. Error " + fileUrl,
                " - Failed." }));
        QVERIFY(!page.cmdNext->isEnabled());
        QVERIFY(clock.elapsed() < kDeadline);
    }

    // The survey list leaves out a survey without a name and keeps two of the same name apart.
    void theSurveyList()
    {
        start();
        const int user = service->addAccount(QStringLiteral("ann"), QStringLiteral("secret"));
        service->addSurvey(user, QStringLiteral("Staff"), 4);
        service->addSurvey(user, QString(), 9);
        service->addSurvey(user, QStringLiteral("Staff"), 12);
        service->addSurvey(user + 1, QStringLiteral("Someone else's"), 13);
        CollectServerIndex = server;
        CollectWebUserID = QString::number(user);
        frmWizWebCollect_SelectSurvey page(w.get());
        page.show();
        // Before the list is in, Next finds nothing selected.
        Dialogs::Script::answer(Dialogs::OK);
        page.cmdNext->click();
        QCOMPARE(Dialogs::Script::lastText(),
            QStringLiteral("No Survey has been selected. Please select a survey to continue."));
        QTRY_COMPARE_WITH_TIMEOUT(page.lstSurveys->count(), 2, kDeadline);
        QTRY_VERIFY_WITH_TIMEOUT(page.cmdNext->isEnabled(), kDeadline);
        QCOMPARE(page.lstSurveys->item(0)->text(), QStringLiteral("Staff"));
        QCOMPARE(page.lstSurveys->item(0)->data(Qt::UserRole).toInt(), 4);
        QCOMPARE(page.lstSurveys->item(1)->data(Qt::UserRole).toInt(), 12);
        QCOMPARE(page.lstSurveys->currentRow(), 0);
        QCOMPARE(page.lstSurveys->selectedItems().size(), 1);
        page.lstSurveys->setCurrentRow(1);
        page.cmdNext->click();
        QCOMPARE(CollectSurveyID, 12);

        // No surveys: the list stays empty, Next off, no message.
        CollectWebUserID = QStringLiteral("99");
        const int shown = Dialogs::Script::shown().size();
        frmWizWebCollect_SelectSurvey empty(w.get());
        empty.show();
        QTRY_VERIFY_WITH_TIMEOUT(!empty.Timer1->isActive() && !empty.cmdNext->isEnabled(), kDeadline);
        QTest::qWait(200);
        QCOMPARE(empty.lstSurveys->count(), 0);
        QCOMPARE(Dialogs::Script::shown().size(), shown);
    }

    // A whole collect from the menu: a refused login first, then two respondents imported, and
    // the delete question answered both ways.
    void aWholeCollect_data()
    {
        QTest::addColumn<bool>("deleteOnServer");
        QTest::addColumn<bool>("refused"); // the service does not delete it
        QTest::newRow("delete") << true << false;
        QTest::newRow("keep") << false << false;
        QTest::newRow("refused") << true << true;
    }

    void aWholeCollect()
    {
        QFETCH(bool, deleteOnServer);
        QFETCH(bool, refused);
        start();
        const int user = service->addAccount(QStringLiteral("ann"), QStringLiteral("secret"));
        service->addSurvey(user, QStringLiteral("Staff"), 4);
        const int open = count("SELECT min(id) FROM question");
        const int check = count("SELECT max(id) FROM question WHERE qtype = 1");
        const int cat = count(QStringLiteral("SELECT min(id) FROM response WHERE questionid = %1").arg(check));
        const QString respondent = QStringLiteral(
            "<userresponse>\r\n<r>\r\n<DatabaseID>%1</DatabaseID>\r\n<QuestionNo>1</QuestionNo>\r\n<QType>0</QType>\r\n"
            "<text>%3</text>\r\n</r>\r\n<r><DatabaseID>%2</DatabaseID><QuestionNo>2</QuestionNo><QType>1</QType>"
            "<Response>%4</Response></r>\r\n</userresponse>\r\n");
        service->setResults(QStringLiteral("17-4.txt"),
            (respondent.arg(open).arg(check).arg("Ann").arg(cat) + respondent.arg(open).arg(check).arg("Bo").arg(cat))
                .toUtf8());

        QStringList log;
        PageRobot robot;
        robot.expect("frmWizWebCollect_Welcome", pressNext);
        robot.expect("frmWizWebCollect_ServerType", pressNext);
        robot.expect("frmWizWebCollect_Login", [](WizardPage* p) {
            auto* login = as<frmWizWebCollect_Login>(p);
            login->txtName->setText(QStringLiteral("ann"));
            login->txtPassword->setText(QStringLiteral("wrong"));
            Dialogs::Script::answer(Dialogs::OK);
            login->cmdNext->click();
            if (login->isClosed()
                || Dialogs::Script::lastText()
                    != QLatin1String("Unable to login. Error Error: invalid username or password."))
                return true; // the robot then sees the wrong page and fails
            login->txtPassword->setText(QStringLiteral("secret"));
            return pressNext(p);
        });
        robot.expect("frmWizWebCollect_SelectSurvey", [=](WizardPage* p) {
            // Next is live before the list arrives (and then finds nothing selected).
            if (as<frmWizWebCollect_SelectSurvey>(p)->lstSurveys->count() == 0 || !p->cmdNext->isEnabled())
                return false;
            Dialogs::Script::answer(Dialogs::OK); // the import's closing message
            Dialogs::Script::answer(deleteOnServer ? Dialogs::Yes : Dialogs::No);
            return pressNext(p);
        });
        robot.expect("frmWizWebCollect_Download", nextAfterSequence([&](WizardLogPage* p) { log = p->messages(); }));
        robot.expect("frmWizWebCollect_Complete", [](WizardPage* p) {
            if (p->lblMessage->text() != QLatin1String("Your survey results have been downloaded."))
                return false;
            return pressNext(p);
        });
        if (refused)
            service->setAnswer(QStringLiteral("DeleteSurveyResultsFile"), QStringLiteral("Error: refused."));
        runWizard(robot, "mnuDataCollectWeb");
        QVERIFY2(robot.failure.isEmpty(), qPrintable(robot.failure));
        QVERIFY(robot.allDone());
        QCOMPARE(WizardStep, 7);
        QCOMPARE(CollectWebUserID, QStringLiteral("17"));
        QCOMPARE(CollectSurveyID, 4);

        QStringList expected { "Downloading survey results 17-4.txt.", "Downloaded results file.",
            "Importing results file 17-4.txt.", "Imported results file." };
        if (deleteOnServer)
            expected << (refused ? "Unable to delete old results file on server."
                                 : "Deleted old results file on server.");
        expected << "Finished.";
        QCOMPARE(log, expected);
        QVERIFY(Dialogs::Script::shown().contains(QStringLiteral("Successfully imported 2 respondent(s).")));
        QVERIFY(Dialogs::Script::shown().contains(QStringLiteral(
            "Survey results file has been imported. Do you want to delete the old copy so it is not imported again?")));
        QCOMPARE(count("SELECT count(*) FROM respondent WHERE source = 'Web'"), 2);
        QCOMPARE(
            count(QStringLiteral("SELECT count(*) FROM Respondent_Responses WHERE QuestionID = %1 AND ResponseID = %2")
                      .arg(check)
                      .arg(cat)),
            2);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM Respondent_Responses WHERE QuestionID = %1 AND "
                                      "SimpleResponse IN ('Ann', 'Bo')")
                           .arg(open)),
            2);
        QCOMPARE(readFile(appFile(QStringLiteral("17-4.txt"))).count("<userresponse>"), 2);
        QCOMPARE(service->state().value("results").toArray().isEmpty(), deleteOnServer && !refused);
    }

    // A failure answer leaves the file of an earlier download as it was; an import that fails is
    // logged with its reason.
    void downloadFailures()
    {
        start();
        CollectServerIndex = server;
        CollectWebUserID = QStringLiteral("17");
        CollectSurveyID = 4;
        QFile earlier(appFile(QStringLiteral("17-4.txt")));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier download");
        earlier.close();
        {
            Dialogs::Script::answer(Dialogs::OK);
            frmWizWebCollect_Download page(w->session(), w.get());
            page.show();
            QTRY_VERIFY_WITH_TIMEOUT(sequenceEnded(page), kDeadline);
            QCOMPARE(page.messages().constLast(), QStringLiteral(" - Failed."));
            QCOMPARE(LastWebError, QStringLiteral("Failure: no results file."));
            QCOMPARE(readFile(appFile(QStringLiteral("17-4.txt"))), QByteArray("earlier download"));
        }
        service->setResults(QStringLiteral("17-4.txt"),
            "<userresponse>\r\n<r><DatabaseID>1</DatabaseID><QuestionNo>1</QuestionNo><QType>x</QType></r>\r\n");
        frmWizWebCollect_Download page(w->session(), w.get());
        page.show();
        QTRY_VERIFY_WITH_TIMEOUT(sequenceEnded(page), kDeadline);
        const QStringList log = page.messages();
        QCOMPARE(log.size(), 4);
        QCOMPARE(log.at(2), QStringLiteral("Importing results file 17-4.txt."));
        QVERIFY2(log.at(3).endsWith(QLatin1String(" - Failed.")) && log.at(3).size() > 10, qPrintable(log.at(3)));
        QVERIFY(!page.cmdNext->isEnabled());
        QCOMPARE(count("SELECT count(*) FROM respondent"), 0);
    }

    // Cancel or the close box while the upload waits for the service: the wizard ends at once, the
    // transfer with it, and the page shows nothing more.
    void closingAPageWhileItWaits_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("close box") << true;
        QTest::newRow("cancel") << false;
    }

    void closingAPageWhileItWaits()
    {
        QFETCH(bool, closeBox);
        start();
        service->addAccount(QStringLiteral("ann"), QStringLiteral("secret"));
        service->setSlow(8);
        publishAs(QStringLiteral("ann"), QStringLiteral("secret"), QStringLiteral("Staff"), false);
        QPointer<WizardLogPage> uploading;
        PageRobot robot;
        robot.expect("frmWizWebPublish_Welcome", pressNext);
        robot.expect("frmWizWebPublish_ServerType", pressNext);
        robot.expect("frmWizWebPublish_Login", pressNext);
        robot.expect("frmWizWebPublish_SurveyName", pressNext);
        robot.expect("frmWizWebPublish_Upload", [&](WizardPage* p) {
            uploading = as<WizardLogPage>(p);
            if (uploading->messages().size() < 3) // logging in
                return false;
            if (closeBox)
                p->close();
            else
                p->cmdCancel->click();
            return true;
        });
        const int shown = Dialogs::Script::shown().size();
        QElapsedTimer clock;
        clock.start();
        runWizard(robot, "mnuDataPublishWeb");
        QVERIFY2(robot.failure.isEmpty(), qPrintable(robot.failure));
        QVERIFY(robot.allDone());
        QVERIFY(WizardCancelled);
        QCOMPARE(WizardStep, 5);
        QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!uploading); // the driver has let the page go
        QCOMPARE(Dialogs::Script::shown().size(), shown);
        QCOMPARE(PublishedURL, QString());
        service->setSlow(0);
    }

    // A page that works by itself starts its work half a second after it is made, so the user
    // sees the page before its first line (the other tests shorten the wait).
    void thePagesStartTheirWorkHalfASecondLater()
    {
        start();
        WizardPage::setStartDelay(WizardPage::kStartDelay);
        service->addAccount(QStringLiteral("ann"), QStringLiteral("secret"));
        publishAs(QStringLiteral("ann"), QStringLiteral("secret"), QStringLiteral("Staff"), false);
        QElapsedTimer clock;
        clock.start();
        frmWizWebPublish_Upload page(w->session(), w.get());
        QCOMPARE(page.Timer1->interval(), 500);
        QVERIFY(page.Timer1->isActive());
        qint64 firstLine = -1;
        connect(page.txtMessages, &QPlainTextEdit::textChanged, this, [&] {
            if (firstLine < 0)
                firstLine = clock.elapsed();
        });
        page.show();
        QTRY_VERIFY_WITH_TIMEOUT(sequenceEnded(page), kDeadline);
        QCOMPARE(page.messages().constLast(), QStringLiteral("Success."));
        // A coarse timer may fire up to 5% early.
        QVERIFY2(firstLine >= 475, qPrintable(QString::number(firstLine)));
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<WebWizardsTest>(argc, argv);
}

#include "test_webwizards.moc"
