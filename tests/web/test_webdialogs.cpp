// The add-server dialog, and the main window's exchange file and results import.
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "StartProgram.h"
#include "platform/Settings.h"
#include "shell/frmMain.h"
#include "web/ServerList.h"
#include "web/frmAddServer.h"
#include "widgets/Dialogs.h"
#include "widgets/LongWork.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QtTest>

namespace {

QString settingsFile()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("tessivo"), ServerList::appName())
        .fileName();
}

void fill(frmAddServer& d, const QStringList& texts)
{
    const QList<QLineEdit*> boxes { d.txtServerName, d.txtServerURL, d.txtFTPServer, d.txtFTPUsername,
        d.txtFTPPassword };
    for (int i = 0; i < boxes.size(); ++i)
        boxes.at(i)->setText(texts.value(i));
}

// The control Tab moves to from w.
QWidget* nextTabStop(QWidget* w)
{
    QWidget* next = w->nextInFocusChain();
    while (next != w && !(next->focusPolicy() & Qt::TabFocus))
        next = next->nextInFocusChain();
    return next;
}

} // namespace

class WebDialogsTest : public GuiTest {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QFile::remove(settingsFile());
        GuiTest::init();
    }

    void addServerRefusesAnEmptyNameUrlOrFtpServer_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("name") << QStringList { "", "http://h/", "ftp.h" }
                              << "No Server Name has been entered. Please enter a Server Name to continue."
                              << "txtServerName";
        QTest::newRow("url") << QStringList { "Mine", "", "ftp.h" }
                             << "No Server URL has been entered. Please enter a Server URL to continue."
                             << "txtServerURL";
        QTest::newRow("ftp") << QStringList { "Mine", "http://h/", "" }
                             << "No FTP Server has been entered. Please enter a FTP Server to continue."
                             << "txtFTPServer";
    }

    void addServerRefusesAnEmptyNameUrlOrFtpServer()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        frmAddServer d;
        d.show();
        fill(d, texts);
        Dialogs::Script::answer(Dialogs::OK);
        d.cmdOK->click();
        QCOMPARE(Dialogs::Script::lastText(), message);
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::OKOnly);
        QVERIFY(d.isVisible());
        QVERIFY(d.focusWidget());
        QCOMPARE(d.focusWidget()->objectName(), focus);
        QCOMPARE(d.txtServerName->text(), texts.at(0));
        QCOMPARE(d.txtServerURL->text(), texts.at(1));
        QVERIFY(getAllSettings(ServerList::appName(), QStringLiteral("ServerList")).isEmpty());
    }

    void addServerStoresTheEntryAsTyped()
    {
        frmAddServer d;
        QCOMPARE(d.windowTitle(), QStringLiteral("Add Survey Server"));
        // The boxes in tab order, each named by its label.
        const QList<QLineEdit*> order { d.txtServerName, d.txtServerURL, d.txtFTPServer, d.txtFTPUsername,
            d.txtFTPPassword };
        for (int i = 0; i < order.size(); ++i) {
            QVERIFY(!order.at(i)->accessibleName().isEmpty());
            QCOMPARE(order.at(i)->echoMode(), QLineEdit::Normal);
            if (i + 1 < order.size())
                QCOMPARE(nextTabStop(order.at(i)), order.at(i + 1));
        }
        QCOMPARE(d.findChildren<QLabel*>().size(), 5);
        for (const QLabel* label : d.findChildren<QLabel*>())
            QVERIFY2(label->buddy() && label->text().endsWith(QLatin1Char(':')), qPrintable(label->text()));
        QVERIFY(d.cmdOK->isDefault());

        d.show();
        fill(d, { "  ", " http://h/x", "127.0.0.1:2121", "", "p w" });
        d.cmdOK->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(getSetting(ServerList::appName(), "Config", "TotalServers"), QStringLiteral("1"));
        QString name, url, ftp, user, password;
        QVERIFY(GetServerInfo(1, name, url, ftp, user, password));
        QCOMPARE((QStringList { name, url, ftp, user, password }),
            (QStringList { "  ", " http://h/x/", "127.0.0.1:2121", "", "p w" }));
        QCOMPARE(getSetting(ServerList::appName(), "ServerList", "ServerURL1"), QStringLiteral(" http://h/x"));
    }

    // A server list whose last number is taken: the message, the dialog open with what was typed,
    // the settings as they were.
    void addServerRefusesWhenNoNumberIsLeft()
    {
        saveSetting(ServerList::appName(), "Config", "TotalServers", "2147483647");
        frmAddServer d;
        d.show();
        fill(d, { "Mine", "http://h/", "ftp.h", "ann", "pw" });
        Dialogs::Script::answer(Dialogs::OK);
        d.cmdOK->click();
        QCOMPARE(Dialogs::Script::lastText(),
            QStringLiteral("Unable to save the server entry: the server list has no entry number left (the highest, "
                           "2147483647, is taken)."));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QVERIFY(d.isVisible());
        QCOMPARE(d.txtFTPPassword->text(), QStringLiteral("pw"));
        QCOMPARE(getSetting(ServerList::appName(), "Config", "TotalServers"), QStringLiteral("2147483647"));
        QVERIFY(getAllSettings(ServerList::appName(), QStringLiteral("ServerList")).isEmpty());
    }

    void cancelAndEscapeStoreNothing()
    {
        for (const bool escape : { false, true }) {
            frmAddServer d;
            d.show();
            fill(d, { "Mine", "http://h/", "ftp.h" });
            if (escape)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                d.cmdCancel->click();
            QCOMPARE(d.result(), int(QDialog::Rejected));
            QVERIFY(!d.isVisible());
        }
        QVERIFY(!QFile::exists(settingsFile()));
    }

    void mainWindowWritesTheExchangeFileAndImportsResults()
    {
        start();
        w->DoSaveXML();
        QFile xml(folder->file(QStringLiteral("test.xml")));
        QVERIFY(xml.open(QIODevice::ReadOnly));
        const QByteArray text = xml.readAll();
        QVERIFY(text.startsWith("<app>Orvalen Tessivo</app>\r\n"));
        QVERIFY(text.contains("\t<QType>0</QType>\r\n"));

        const QString results = folder->file(QStringLiteral("17-4.txt"));
        QFile r(results);
        QVERIFY(r.open(QIODevice::WriteOnly));
        r.write("<userresponse>\r\n<r><DatabaseID>1</DatabaseID><QuestionNo>1</QuestionNo><QType>0</QType>"
                "<text>hi</text></r>\r\n</userresponse>\r\n");
        r.close();
        Dialogs::Script::answer(Dialogs::OK);
        w->DoLoadXML(results);
        QCOMPARE(Dialogs::Script::lastText(), QStringLiteral("Successfully imported 1 respondent(s)."));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Information);
        QCOMPARE(w->session().SurveyConnection.openRecordset("SELECT count(*) FROM respondent").field(0).toInt(), 1);
        QVERIFY(!w->IsFileChanged());

        // A failure reaches the caller; no message is shown and nothing is imported.
        QVERIFY(r.open(QIODevice::WriteOnly));
        r.write("<userresponse>\r\n<r><DatabaseID>1</DatabaseID><QuestionNo>1</QuestionNo><QType>z</QType></r>\r\n");
        r.close();
        const int shown = Dialogs::Script::shown().size();
        QVERIFY_THROWS_EXCEPTION(db::Error, w->DoLoadXML(results));
        QCOMPARE(Dialogs::Script::shown().size(), shown);
        QCOMPARE(w->session().SurveyConnection.openRecordset("SELECT count(*) FROM respondent").field(0).toInt(), 1);

        // Cancel in the progress window imports nothing either.
        QVERIFY(r.open(QIODevice::WriteOnly));
        r.write("<userresponse>\r\n<r><DatabaseID>1</DatabaseID><QuestionNo>1</QuestionNo><QType>0</QType></r>\r\n");
        r.close();
        LongWork::cancelNextAfter(0);
        QVERIFY_THROWS_EXCEPTION(db::Error, w->DoLoadXML(results));
        QCOMPARE(Dialogs::Script::shown().size(), shown);
        QCOMPARE(w->session().SurveyConnection.openRecordset("SELECT count(*) FROM respondent").field(0).toInt(), 1);
        // The untitled survey holds the imported respondents: closing asks before they go.
        Dialogs::Script::answer(Dialogs::No);
        const QString unexpected = stopProgram(w);
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected));
        Dialogs::Script::begin();
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<WebDialogsTest>(argc, argv);
}

#include "test_webdialogs.moc"
