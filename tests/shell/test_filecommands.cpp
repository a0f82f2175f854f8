#include "Controls.h"
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "StartProgram.h"
#include "collection/CollectScreen.h"
#include "designer/DesignScreen.h"
#include "document/SurveyFile.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"
#include "shell/frmMain.h"
#include "widgets/Dialogs.h"
#include "widgets/RichTextBox.h"
#include "widgets/TreeNodes.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The questions a survey file holds, in order: number, type and plain text, joined by blanks.
QStringList storedQuestions(const QString& path)
{
    db::Connection c;
    SurveyFile::openConnection(c, path);
    QStringList list;
    for (db::Recordset rs
         = c.openRecordset(QStringLiteral("SELECT questionno, qtype, question FROM question ORDER BY pos"));
         !rs.atEnd(); rs.moveNext())
        list << QStringLiteral("%1 %2 %3")
                    .arg(NullToEmpty(rs.field(0)), rs.field(1).toString(), rtf::toPlainText(NullToEmpty(rs.field(2))));
    return list;
}

QStringList captions(const frmMain& w)
{
    QStringList list;
    const QTreeWidgetItem* root = w.design()->rootNode();
    for (int i = 0; root && i < root->childCount(); ++i)
        list << root->child(i)->text(0);
    return list;
}

// Calls back on every focus-out event of the objects it watches.
class FocusOutWatch : public QObject {
public:
    explicit FocusOutWatch(std::function<void()> seen)
        : seen_(std::move(seen))
    { }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut)
            seen_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> seen_;
};

} // namespace

class FileCommandsTest : public GuiTest {
    Q_OBJECT

private:
    // Makes the template unusable: "missing", "text" (not a database), "empty" or "version" 1.6.
    void breakTemplate(const QString& kind)
    {
        const QString blank = folder->file(QStringLiteral("blank.mdb"));
        if (kind == QLatin1String("version")) {
            db::Connection c;
            c.open(blank);
            c.execute(QStringLiteral("UPDATE version SET version = 1.6"));
            return;
        }
        QVERIFY(QFile::remove(blank));
        if (kind == QLatin1String("missing"))
            return;
        QFile f(blank);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("text"))
            f.write(QByteArray("not a survey\n").repeated(100));
    }

    void typeIntoQuestion(const QString& text)
    {
        auto* txtQ = control<RichTextBox>(w.get(), "txtQ");
        txtQ->setFocus();
        QTest::keyClicks(txtQ, text);
    }

private Q_SLOTS:

    void startsUntitledWithOneBlankQuestionAndClosesWithoutAsking()
    {
        start();
        QCOMPARE(w->windowTitle(), QStringLiteral("Orvalen Tessivo v1.12"));
        const QStringList temps = folder->files(QStringLiteral("HC*.TMP"));
        QCOMPARE(temps.size(), 1);
        QCOMPARE(QFileInfo(w->session().CurrentFile).fileName(), temps.first());
        QCOMPARE(w->statusBarPanel1(), QString());
        QCOMPARE(w->session().Survey.QCount(), 1);
        QCOMPARE(captions(*w), QStringList { QStringLiteral("<Text not yet entered>") });
        QVERIFY(w->session().FileChanged());
        QVERIFY(!w->IsFileChanged());

        QVERIFY(w->close());
        QVERIFY(folder->files(QStringLiteral("HC*.TMP")).isEmpty());
        w.reset();
    }

    void aSingleQuestionCountsAsUnchangedOnlyWhileUntouched()
    {
        start();
        QVERIFY(!w->IsFileChanged());
        // A response, even without any text, is something a save would write.
        w->session().Survey.GetQIndex(1)->AddResponse(QStringLiteral("Yes"), -1, -1, QString());
        QVERIFY(w->IsFileChanged());
        Dialogs::Script::answer(Dialogs::Cancel);
        QVERIFY(!w->close());
        QCOMPARE(Dialogs::Script::shown(), QStringList { QStringLiteral("Do you want to save the changes you made?") });
    }

    void closingAChangedUntitledSurvey_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("giveName");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Yes, saved") << int(Dialogs::Yes) << true << true;
        QTest::newRow("Yes, Save As cancelled") << int(Dialogs::Yes) << false << false;
        QTest::newRow("No") << int(Dialogs::No) << false << true;
        QTest::newRow("Cancel") << int(Dialogs::Cancel) << false << false;
    }

    void closingAChangedUntitledSurvey()
    {
        QFETCH(int, answer);
        QFETCH(bool, giveName);
        QFETCH(bool, closes);
        start();
        typeIntoQuestion(QStringLiteral("Age"));
        QVERIFY(w->IsFileChanged());
        const QString temp = w->session().CurrentFile;
        const QString target = folder->file(QStringLiteral("mine.tvq"));

        Dialogs::Script::answer(Dialogs::Answer(answer));
        if (answer == Dialogs::Yes) {
            if (giveName)
                Dialogs::Script::fileName(target);
            else
                Dialogs::Script::cancelFile();
        }
        QCOMPARE(w->close(), closes);
        QCOMPARE(Dialogs::Script::shown().first(), QStringLiteral("Do you want to save the changes you made?"));
        QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::YesNoCancel);
        QCOMPARE(QFile::exists(target), giveName);
        if (giveName) {
            clsSurvey saved;
            db::Connection c;
            SurveyFile::openConnection(c, target);
            SurveyFile::load(c, saved);
            QCOMPARE(saved.QCount(), 1);
            QCOMPARE(rtf::toPlainText(saved.GetQIndex(1)->Question), QStringLiteral("Age"));
        }
        // Saved under a name or discarded, the untitled file goes; it stays with the open survey.
        QCOMPARE(QFile::exists(temp), !closes);
        if (closes)
            w.reset();
        else
            QCOMPARE(captions(*w), QStringList { QStringLiteral("1. Age") });
    }

    void userTmpFileIsNeverDeleted()
    {
        const QString own
            = folder->writeSurvey(QStringLiteral("notes.tmp"), { { QTypeOpenEnded, QStringLiteral("Q") } });
        start(own);
        QCOMPARE(w->statusBarPanel1(), QString()); // it looks untitled
        w->session().setFileChanged(false);
        control<QTreeWidget>(w->design(), "tvTreeView")->clear();
        w->session().Survey.DeleteQ(w->session().Survey.GetQIndex(2)->Key);
        QVERIFY(w->close());
        QVERIFY(QFile::exists(own));
        w.reset();
    }

    void openAsksFirstAndShowsTheFirstQuestionWithItsResponses()
    {
        const QString path = folder->writeSurvey(QStringLiteral("s.tvq"),
            { { QTypeCheck, QStringLiteral("Fruit|Apple|Pear") }, { QTypeOpenEnded, QStringLiteral("Why") } });
        start();
        typeIntoQuestion(QStringLiteral("Draft"));
        const QStringList before = captions(*w);

        Dialogs::Script::answer(Dialogs::Cancel);
        w->action(QStringLiteral("mnuFileOpen"))->trigger();
        QCOMPARE(captions(*w), before);
        QVERIFY(w->session().FileChanged());

        Dialogs::Script::answer(Dialogs::No);
        Dialogs::Script::fileName(path);
        w->action(QStringLiteral("mnuFileOpen"))->trigger();
        QCOMPARE(Dialogs::Script::lastFileRequest().filter, QStringLiteral("Orvalen Tessivo (*.tvq)|*.tvq"));
        QVERIFY(Dialogs::Script::lastFileRequest().flags & Dialogs::FileMustExist);
        QCOMPARE(w->session().CurrentFile, path);
        QCOMPARE(w->statusBarPanel1(), path);
        QVERIFY(!w->session().FileChanged());
        QCOMPARE(captions(*w), (QStringList { QStringLiteral("1. Fruit"), QStringLiteral("2. Why") }));
        QCOMPARE(TreeNodes::keyOf(control<QTreeWidget>(w->design(), "tvTreeView")->currentItem()),
            w->session().Survey.GetQIndex(1)->Key);
        QCOMPARE(control<QListWidget>(w->design(), "lstCheckResponses")->count(), 2);
        QCOMPARE(control<RichTextBox>(w->design(), "txtQ")->text(), QStringLiteral("Fruit"));
    }

    void saveKeepsTheSelectionAndGivesNewRowsTheirIds()
    {
        const QString path = folder->writeSurvey(QStringLiteral("s.tvq"),
            { { QTypeOpenEnded, QStringLiteral("A") }, { QTypeOpenEnded, QStringLiteral("B") } });
        start(path);
        QCOMPARE(w->session().Survey.QCount(), 3); // start-up appended a blank placeholder
        w->AddBlankOpenEndedQuestion();
        w->design()->selectNode(w->design()->rootNode()->child(1));
        w->action(QStringLiteral("mnuFileSave"))->trigger();
        QVERIFY(Dialogs::Script::shown().isEmpty());
        QVERIFY(!w->session().FileChanged());
        QCOMPARE(w->session().Survey.QCount(), 4);
        QCOMPARE(TreeNodes::keyOf(control<QTreeWidget>(w->design(), "tvTreeView")->currentItem()),
            w->session().Survey.GetQIndex(2)->Key);
        for (int i = 1; i <= 3; ++i)
            QVERIFY(w->session().Survey.GetQIndex(i)->DatabaseID > 0);
        // The question added by the user is stored; the placeholder is not, and is back at the end.
        QCOMPARE(w->session().Survey.GetQIndex(4)->DatabaseID, -1);
        QCOMPARE(w->session().PlaceholderKey, w->session().Survey.GetQIndex(4)->Key);
        QCOMPARE(captions(*w),
            (QStringList { QStringLiteral("1. A"), QStringLiteral("2. B"), QStringLiteral("3. "),
                QStringLiteral("<Text not yet entered>") }));
    }

    void saveOnUntitledRunsSaveAsWithAnEmptyName()
    {
        start();
        const QString temp = w->session().CurrentFile;
        typeIntoQuestion(QStringLiteral("Name"));
        const QString target = folder->file(QStringLiteral("named.tvq"));
        Dialogs::Script::fileName(target);
        w->action(QStringLiteral("mnuFileSave"))->trigger();
        const Dialogs::FileRequest r = Dialogs::Script::lastFileRequest();
        QCOMPARE(r.fileName, QString());
        QCOMPARE(r.filter, QStringLiteral("Orvalen Tessivo (*.tvq)|*.tvq"));
        QVERIFY(r.flags & Dialogs::OverwritePrompt);
        QVERIFY(r.flags & Dialogs::PathMustExist);
        QCOMPARE(w->session().CurrentFile, target);
        QCOMPARE(w->statusBarPanel1(), target);
        QVERIFY(!QFile::exists(temp)); // saved under a name: the untitled file is gone
        QCOMPARE(folder->files(QStringLiteral("HC*.TMP")), QStringList());
        QCOMPARE(captions(*w), QStringList { QStringLiteral("1. Name") });
        QVERIFY(!w->IsFileChanged());

        // Save As on a named survey offers its name.
        Dialogs::Script::cancelFile();
        w->action(QStringLiteral("mnuFileSaveAs"))->trigger();
        QCOMPARE(Dialogs::Script::lastFileRequest().fileName, target);
        QCOMPARE(w->session().CurrentFile, target);
    }

    void failedSaveIsReportedAndLosesNothing()
    {
        const QString path = folder->writeSurvey(QStringLiteral("s.tvq"), { { QTypeRadio, QStringLiteral("Q|yes") } });
        {
            db::Connection c;
            SurveyFile::openConnection(c, path);
            c.execute(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON response WHEN NEW.name = 'boom' "
                                     "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END"));
        }
        const QByteArray before = bytesOf(path);
        start(path);
        w->design()->selectNode(w->design()->rootNode()->child(0));
        w->session().Survey.GetQIndex(1)->AddResponse(QStringLiteral("boom"), -1, -1, QString());
        const QStringList treeBefore = captions(*w);

        Dialogs::Script::answer(Dialogs::OK);
        w->action(QStringLiteral("mnuFileSave"))->trigger();
        QVERIFY(Dialogs::Script::lastText().startsWith(
            QStringLiteral("Unable to write to file ") + path + QLatin1Char(' ')));
        QVERIFY(Dialogs::Script::lastText().contains(QStringLiteral("disk trouble")));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QCOMPARE(captions(*w), treeBefore);
        QCOMPARE(w->session().Survey.QCount(), 2);
        QCOMPARE(w->session().Survey.GetQIndex(1)->ResponsesCount(), 2);
        QVERIFY(w->IsFileChanged());

        // Save As into a new name fails the same way and leaves no file behind.
        const QString target = folder->file(QStringLiteral("copy.tvq"));
        Dialogs::Script::fileName(target);
        Dialogs::Script::answer(Dialogs::OK);
        QVERIFY(!w->mnuFileSaveAs_Click());
        QVERIFY(Dialogs::Script::lastText().startsWith(
            QStringLiteral("Unable to write to file ") + target + QLatin1Char(' ')));
        QVERIFY(!QFile::exists(target));
        QCOMPARE(w->session().CurrentFile, path);
        QVERIFY(w->session().SurveyConnection.isOpen());

        // Closing asks; Yes with a failing save keeps the window open.
        Dialogs::Script::answer(Dialogs::Yes);
        Dialogs::Script::answer(Dialogs::OK);
        QVERIFY(!w->close());
        w->session().SurveyConnection.close();
        QCOMPARE(bytesOf(path), before);
    }

    void rejectedFilesLeaveASoundNewSurvey_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("version 1.6") << "version"
                                     << "Unable to open survey file - expecting version 1.7, but found version 1.6";
        QTest::newRow("not a database") << "text"
                                        << "Unable to open %1. The file '%1' is not a database. 26";
    }

    void rejectedFilesLeaveASoundNewSurvey()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QString path;
        if (kind == QLatin1String("version")) {
            path = folder->writeSurvey(QStringLiteral("old.tvq"), { { QTypeOpenEnded, QStringLiteral("Old") } });
            db::Connection c;
            c.open(path);
            c.execute(QStringLiteral("UPDATE version SET version = 1.6"));
        } else {
            path = folder->file(QStringLiteral("letter.tvq"));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("Dear reader,\n").repeated(100));
        }
        const QByteArray before = bytesOf(path);
        start();
        Dialogs::Script::fileName(path);
        Dialogs::Script::answer(Dialogs::OK);
        w->mnuFileOpen_Click();
        QCOMPARE(Dialogs::Script::shown().value(1), QString(message).replace(QLatin1String("%1"), path));
        QCOMPARE(Dialogs::Script::lastIcon(), kind == QLatin1String("version") ? Dialogs::NoIcon : Dialogs::Critical);
        QVERIFY(isUntitledPath(w->session().CurrentFile));
        QVERIFY(w->session().SurveyConnection.path() != path);
        QCOMPARE(w->session().Survey.QCount(), 0);

        // A save now goes to a new file; the rejected one is never written.
        w->AddBlankOpenEndedQuestion();
        Dialogs::Script::fileName(folder->file(QStringLiteral("fresh.tvq")));
        QVERIFY(w->mnuFileSave_Click());
        QCOMPARE(bytesOf(path), before);
    }

    void newWithoutTemplateKeepsTheOpenSurvey()
    {
        start();
        typeIntoQuestion(QStringLiteral("Keep me"));
        const QString current = w->session().CurrentFile;
        QVERIFY(QFile::remove(folder->file(QStringLiteral("blank.mdb"))));
        Dialogs::Script::answer(Dialogs::No);
        Dialogs::Script::answer(Dialogs::OK);
        QVERIFY(!w->mnuNew_Click());
        QVERIFY(Dialogs::Script::lastText().startsWith(QStringLiteral("Unable to create a new survey. ")));
        QCOMPARE(w->session().CurrentFile, current);
        QVERIFY(w->session().SurveyConnection.isOpen());
        QCOMPARE(captions(*w), QStringList { QStringLiteral("1. Keep me") });
        QCOMPARE(folder->files(QStringLiteral("HC*.TMP")).size(), 1);
    }

    void newWithAnUnusableTemplateKeepsTheOpenSurvey_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << "text";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("version 1.6") << "version";
    }

    void newWithAnUnusableTemplateKeepsTheOpenSurvey()
    {
        QFETCH(QString, kind);
        start();
        typeIntoQuestion(QStringLiteral("Keep me"));
        const QString current = w->session().CurrentFile;
        const QString blank = folder->file(QStringLiteral("blank.mdb"));
        breakTemplate(kind);

        Dialogs::Script::answer(Dialogs::No);
        Dialogs::Script::answer(Dialogs::OK);
        QVERIFY(!w->mnuNew_Click());
        const QString message = Dialogs::Script::lastText();
        QVERIFY2(message.startsWith(QStringLiteral("Unable to create a new survey. ")), qPrintable(message));
        QVERIFY2(message.contains(blank), qPrintable(message));
        QVERIFY2(!message.contains(QStringLiteral(".TMP")), qPrintable(message));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QCOMPARE(w->session().CurrentFile, current);
        QVERIFY(w->session().SurveyConnection.isOpen());
        QCOMPARE(captions(*w), QStringList { QStringLiteral("1. Keep me") });
        QCOMPARE(folder->files(QStringLiteral("HC*.TMP")), QStringList { QFileInfo(current).fileName() });
    }

    void failedOpenWithoutAUsableTemplateSaysWhy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("template missing") << "missing";
        QTest::newRow("template not a database") << "text";
    }

    void failedOpenWithoutAUsableTemplateSaysWhy()
    {
        QFETCH(QString, kind);
        const QString letter = folder->file(QStringLiteral("letter.tvq"));
        {
            QFile f(letter);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("Dear reader,\n").repeated(100));
        }
        start();
        breakTemplate(kind);
        Dialogs::Script::fileName(letter);
        Dialogs::Script::answer(Dialogs::OK);
        Dialogs::Script::answer(Dialogs::OK);
        w->mnuFileOpen_Click();
        QCOMPARE(Dialogs::Script::pending(), 0);
        QVERIFY(Dialogs::Script::shown().value(1).startsWith(QStringLiteral("Unable to open ") + letter));
        QVERIFY2(Dialogs::Script::lastText().startsWith(QStringLiteral("Unable to create a new survey. ")),
            qPrintable(Dialogs::Script::lastText()));
        QVERIFY(Dialogs::Script::lastText().contains(folder->file(QStringLiteral("blank.mdb"))));
        QCOMPARE(Dialogs::Script::lastIcon(), Dialogs::Critical);
        QVERIFY(!w->session().SurveyConnection.isOpen());
        QCOMPARE(w->session().CurrentFile, QString());
    }

    void newAndCloseMakeAFreshUntitledFileEachTime()
    {
        start();
        const QString first = w->session().CurrentFile;
        w->mnuNew_Click(); // nothing to save: no prompt
        const QString second = w->session().CurrentFile;
        QVERIFY(second != first);
        QVERIFY(!QFile::exists(first));
        w->action(QStringLiteral("mnuFileClose"))->trigger();
        QVERIFY(w->session().CurrentFile != second);
        QCOMPARE(
            folder->files(QStringLiteral("HC*.TMP")), QStringList { QFileInfo(w->session().CurrentFile).fileName() });
        QCOMPARE(w->session().Survey.QCount(), 0);
        QCOMPARE(captions(*w), QStringList());
        QCOMPARE(w->design()->rootNode()->text(0), QStringLiteral("Survey"));
    }

    // Untitled files

    void untitledFilesGoOnceTheirSurveyIsSavedOrDiscarded_data()
    {
        QTest::addColumn<QString>("command"); // the menu command that replaces the survey
        QTest::addColumn<int>("answer"); // to the save question
        QTest::newRow("New, changes discarded") << "mnuNew" << int(Dialogs::No);
        QTest::newRow("New, changes saved") << "mnuNew" << int(Dialogs::Yes);
        QTest::newRow("Open, changes discarded") << "mnuFileOpen" << int(Dialogs::No);
        QTest::newRow("Open, changes saved") << "mnuFileOpen" << int(Dialogs::Yes);
        QTest::newRow("Close, changes discarded") << "mnuFileClose" << int(Dialogs::No);
        QTest::newRow("New, cancelled") << "mnuNew" << int(Dialogs::Cancel);
    }

    void untitledFilesGoOnceTheirSurveyIsSavedOrDiscarded()
    {
        QFETCH(QString, command);
        QFETCH(int, answer);
        const QString other
            = folder->writeSurvey(QStringLiteral("other.tvq"), { { QTypeOpenEnded, QStringLiteral("Other") } });
        const QString draft = folder->file(QStringLiteral("draft.tvq"));
        start();
        typeIntoQuestion(QStringLiteral("Draft"));
        const QString temp = w->session().CurrentFile;

        Dialogs::Script::answer(Dialogs::Answer(answer));
        if (answer == Dialogs::Yes)
            Dialogs::Script::fileName(draft);
        if (command == QLatin1String("mnuFileOpen") && answer != Dialogs::Cancel)
            Dialogs::Script::fileName(other);
        w->action(command)->trigger();
        QCOMPARE(Dialogs::Script::pending(), 0);

        const bool cancelled = answer == Dialogs::Cancel;
        QCOMPARE(QFile::exists(temp), cancelled);
        QCOMPARE(QFile::exists(draft), answer == Dialogs::Yes);
        if (answer == Dialogs::Yes)
            QCOMPARE(storedQuestions(draft), QStringList { QStringLiteral("1 0 Draft") });
        QStringList left;
        if (cancelled || command != QLatin1String("mnuFileOpen"))
            left << QFileInfo(w->session().CurrentFile).fileName();
        QCOMPARE(folder->files(QStringLiteral("HC*.TMP")), left);
    }

    void untitledSurveyWithRespondentsAsksBeforeItGoes()
    {
        start();
        const QString temp = w->session().CurrentFile;
        // Answers typed in or imported before the survey was ever saved.
        w->session().SurveyConnection.execute(QStringLiteral("INSERT INTO respondent (source) VALUES ('Web')"));
        QVERIFY(!w->IsFileChanged());

        Dialogs::Script::answer(Dialogs::Cancel);
        QVERIFY(!w->mnuNew_Click());
        QCOMPARE(Dialogs::Script::shown(), QStringList { QStringLiteral("Do you want to save the changes you made?") });
        QCOMPARE(w->session().CurrentFile, temp);
        QVERIFY(QFile::exists(temp));

        const QString kept = folder->file(QStringLiteral("answers.tvq"));
        Dialogs::Script::answer(Dialogs::Yes);
        Dialogs::Script::fileName(kept);
        QVERIFY(w->close());
        w.reset();
        db::Connection c;
        SurveyFile::openConnection(c, kept);
        QCOMPARE(c.openRecordset(QStringLiteral("SELECT count(*) FROM respondent")).field(0).toInt(), 1);
        QVERIFY(!QFile::exists(temp));
    }

    void anUntitledFileSavedUnderItsOwnNameIsTheUsers()
    {
        start();
        typeIntoQuestion(QStringLiteral("Kept"));
        const QString temp = w->session().CurrentFile;
        Dialogs::Script::fileName(temp);
        QVERIFY(w->mnuFileSaveAs_Click());
        QVERIFY(w->close());
        w.reset();
        QVERIFY(QFile::exists(temp));
        QCOMPARE(storedQuestions(temp), QStringList { QStringLiteral("1 0 Kept") });
    }

    void untitledFilesOfEarlierRunsAreLeftAlone()
    {
        // The file of a program that was killed may hold unsaved work.
        const QString earlier = folder->file(QStringLiteral("HC1.TMP"));
        QVERIFY(QFile::copy(folder->file(QStringLiteral("blank.mdb")), earlier));
        start();
        w->mnuNew_Click();
        QVERIFY(w->close());
        w.reset();
        QCOMPARE(folder->files(QStringLiteral("HC*.TMP")), QStringList { QStringLiteral("HC1.TMP") });
    }

    // The blank placeholder of a survey opened from the command line

    void aSurveyOpenedFromTheCommandLineStaysAsItWas()
    {
        const QString path = folder->writeSurvey(QStringLiteral("five.tvq"),
            { { QTypeOpenEnded, QStringLiteral("Name") }, { QTypeCheck, QStringLiteral("Pets|Cat|Dog") },
                { QTypeRadio, QStringLiteral("Smoker|Yes|No") }, { QTypeOpenEnded, QStringLiteral("Age") },
                { QTypeOpenEnded, QStringLiteral("Remarks") } });
        const QByteArray before = bytesOf(path);
        start(path);
        QCOMPARE(w->session().Survey.QCount(), 6);
        QVERIFY(!w->IsFileChanged());

        // Nothing to save before adding responses, nor when the window closes.
        w->action(QStringLiteral("mnuViewDataCollection"))->trigger();
        QVERIFY(!w->collect()->isHidden());
        w->action(QStringLiteral("mnuViewDesign"))->trigger();
        QVERIFY(w->close());
        QCOMPARE(Dialogs::Script::shown(), QStringList());
        w.reset();
        QCOMPARE(bytesOf(path), before);
    }

    void savesLeaveTheBlankPlaceholderOut_data()
    {
        QTest::addColumn<QString>("edit"); // what the user does before saving
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<QStringList>("stored"); // number, type and text of each stored question
        QTest::addColumn<bool>("placeholderBack"); // the placeholder is in the tree after the save
        const QStringList two { QStringLiteral("1 0 First"), QStringLiteral("2 2 Second") };
        QTest::newRow("another question edited") << "edit" << false << two << true;
        QTest::newRow("another question edited, Save As") << "edit" << true << two << true;
        QTest::newRow("a question added after it")
            << "add" << false << (two + QStringList { QStringLiteral("3 2 ") }) << true;
        QTest::newRow("a question added after it, Save As")
            << "add" << true << (two + QStringList { QStringLiteral("3 2 ") }) << true;
        QTest::newRow("text typed into it")
            << "type" << false << (two + QStringList { QStringLiteral("3 0 Third") }) << false;
        QTest::newRow("another type given")
            << "retype" << false << (two + QStringList { QStringLiteral("3 1 ") }) << false;
        QTest::newRow("a jump to it") << "jump" << false << (two + QStringList { QStringLiteral("3 0 ") }) << false;
    }

    void savesLeaveTheBlankPlaceholderOut()
    {
        QFETCH(QString, edit);
        QFETCH(bool, saveAs);
        QFETCH(QStringList, stored);
        QFETCH(bool, placeholderBack);
        const QString path = folder->writeSurvey(QStringLiteral("s.tvq"),
            { { QTypeOpenEnded, QStringLiteral("First") }, { QTypeRadio, QStringLiteral("Second|Yes|No") } });
        start(path);
        clsSurvey& survey = w->session().Survey;
        const QString placeholder = w->session().PlaceholderKey;
        QCOMPARE(survey.GetQIndex(3)->Key, placeholder);

        if (edit == QLatin1String("edit")) {
            survey.GetQIndex(2)->GetResponse(2)->Text = QStringLiteral("No");
            w->MarkFileChanged();
        } else if (edit == QLatin1String("add")) {
            w->action(QStringLiteral("mnuDesignAddRadioQuestion"))->trigger();
        } else if (edit == QLatin1String("type")) {
            typeIntoQuestion(QStringLiteral("Third"));
        } else if (edit == QLatin1String("retype")) {
            survey.UpdateQuestionType(placeholder, QTypeCheck);
            w->MarkFileChanged();
        } else {
            survey.GetQIndex(2)->GetResponse(1)->LogicJumpToQuestionKey = placeholder;
            w->MarkFileChanged();
        }
        QVERIFY(w->IsFileChanged());

        QString file = path;
        if (saveAs) {
            file = folder->file(QStringLiteral("other.tvq"));
            Dialogs::Script::fileName(file);
            QVERIFY(w->mnuFileSaveAs_Click());
        } else {
            QVERIFY(w->mnuFileSave_Click());
        }
        QCOMPARE(storedQuestions(file), stored);
        QVERIFY(!w->IsFileChanged());
        QCOMPARE(survey.QCount(), int(stored.size()) + (placeholderBack ? 1 : 0));
        QCOMPARE(w->session().PlaceholderKey.isEmpty(), !placeholderBack);
        if (placeholderBack) {
            const QPtr blank = survey.GetQIndex(survey.QCount());
            QCOMPARE(blank->Key, w->session().PlaceholderKey);
            QCOMPARE(blank->DatabaseID, -1);
            QCOMPARE(captions(*w).last(), QStringLiteral("<Text not yet entered>"));
        }
        if (edit == QLatin1String("jump")) {
            const QPtr target = survey.GetQIndex(3);
            QCOMPARE(survey.GetQIndex(2)->GetResponse(1)->LogicJumpToQuestionKey, target->Key);
        }
        QCOMPARE(Dialogs::Script::shown().size(), saveAs ? 1 : 0); // no message, only the file dialog
    }

    void aNewSurveyKeepsItsBlankQuestion()
    {
        start();
        const QString file = folder->file(QStringLiteral("new.tvq"));
        Dialogs::Script::fileName(file);
        QVERIFY(w->mnuFileSave_Click());
        QCOMPARE(storedQuestions(file), QStringList { QStringLiteral("1 0 ") });
        QVERIFY(w->session().PlaceholderKey.isEmpty());
    }

    void theExchangeFileLeavesTheBlankPlaceholderOut()
    {
        const QString path = folder->writeSurvey(QStringLiteral("s.tvq"),
            { { QTypeOpenEnded, QStringLiteral("First") }, { QTypeOpenEnded, QStringLiteral("Second") } });
        start(path);
        w->DoSaveXML();
        QCOMPARE(bytesOf(folder->file(QStringLiteral("test.xml"))).count("<q>"), 2);
        typeIntoQuestion(QStringLiteral("Third"));
        w->DoSaveXML();
        QCOMPARE(bytesOf(folder->file(QStringLiteral("test.xml"))).count("<q>"), 3);
    }

    void destroyingTheShownWindowWithTheFocusInAnEditor_data()
    {
        QTest::addColumn<QString>("editorName");
        QTest::newRow("question text") << QStringLiteral("txtQ");
        QTest::newRow("number of answer lines") << QStringLiteral("cmdOpenEndedNoOfRows");
    }

    void destroyingTheShownWindowWithTheFocusInAnEditor()
    {
        QFETCH(QString, editorName);
        start();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QVERIFY(TreeNodes::keyOf(control<QTreeWidget>(w->design(), "tvTreeView")->currentItem())
            != QLatin1String("S_Parent"));
        auto* editor = control<QWidget>(w.get(), qPrintable(editorName));
        editor->setFocus();
        QTRY_VERIFY(editor->hasFocus());

        // The editor's focus handlers work on the survey: the focus must leave it before the
        // window's session is gone (under the sanitizer build, a late handler reads freed memory).
        bool sessionGone = false;
        bool lateFocusOut = false;
        connect(&w->session(), &QObject::destroyed, this, [&] { sessionGone = true; });
        FocusOutWatch watch([&] { lateFocusOut = lateFocusOut || sessionGone; });
        editor->installEventFilter(&watch);
        w.reset(); // destroyed while still shown, without close()
        QVERIFY(sessionGone);
        QVERIFY(!lateFocusOut);
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<FileCommandsTest>(argc, argv);
}

#include "test_filecommands.moc"
