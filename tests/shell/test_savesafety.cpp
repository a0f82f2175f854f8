// Saving when the open survey's file is gone, moved or damaged, and what Save As leaves on disk:
// the mode of the file it writes and a target that is a symbolic link.
#include "Controls.h"
#include "GuiTest.h"
#include "ProgramFolder.h"
#include "StartProgram.h"
#include "SurveyFileChecks.h"
#include "TestEnvironment.h"
#include "designer/DesignScreen.h"
#include "document/SurveyFile.h"
#include "platform/Rtf.h"
#include "shell/frmMain.h"
#include "widgets/Dialogs.h"
#include "widgets/RichTextBox.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>
#include <QtTest>

#include <unistd.h>

namespace {

const QString kOffer = QStringLiteral("Do you want to save the survey under another name?");
const QString kDamaged = QStringLiteral(
    "The survey file is damaged. The questions were saved to a new survey made from the template; the answers "
    "could not be carried over.");

} // namespace

class SaveSafetyTest : public GuiTest {
    Q_OBJECT

private:
    // Types a new text for the first question.
    void editFirstQuestion(const QString& text)
    {
        w->design()->selectNode(w->design()->rootNode()->child(0));
        auto* txtQ = control<RichTextBox>(w.get(), "txtQ");
        txtQ->setFocus();
        txtQ->selectAll();
        QTest::keyClicks(txtQ, text);
        QVERIFY(w->IsFileChanged());
    }

private Q_SLOTS:

    void saveAfterTheFileWasDeletedOrMovedOffersSaveAs_data()
    {
        QTest::addColumn<bool>("moved");
        QTest::addColumn<bool>("acceptOffer");
        QTest::newRow("deleted, Save As from the menu") << false << false;
        QTest::newRow("deleted, Save As offered") << false << true;
        QTest::newRow("moved, Save As from the menu") << true << false;
        QTest::newRow("moved, Save As offered") << true << true;
    }

    void saveAfterTheFileWasDeletedOrMovedOffersSaveAs()
    {
        QFETCH(bool, moved);
        QFETCH(bool, acceptOffer);
        const QString path = writeAnsweredSurvey(*folder, QStringLiteral("s.tvq"));
        w = startProgram(path);
        QVERIFY(w);
        editFirstQuestion(QStringLiteral("Ever smoked"));
        const QString away = folder->file(QStringLiteral("elsewhere.tvq"));
        QVERIFY(moved ? QFile::rename(path, away) : QFile::remove(path));
        const QString target = folder->file(QStringLiteral("rescued.tvq"));

        Dialogs::Script::answer(acceptOffer ? Dialogs::Yes : Dialogs::No);
        if (acceptOffer)
            Dialogs::Script::fileName(target);
        QCOMPARE(w->mnuFileSave_Click(), acceptOffer);
        QVERIFY(Dialogs::Script::shown().first().startsWith(QStringLiteral("Unable to write to file ") + path));
        QVERIFY(Dialogs::Script::shown().first().endsWith(kOffer));
        if (!acceptOffer) {
            QCOMPARE(Dialogs::Script::lastButtons(), Dialogs::YesNo);
            QVERIFY(w->IsFileChanged());
            QCOMPARE(w->session().CurrentFile, path);
            Dialogs::Script::fileName(target);
            QVERIFY(w->mnuFileSaveAs_Click());
        }
        QCOMPARE(Dialogs::Script::pending(), 0);
        QCOMPARE(w->session().CurrentFile, target);
        QVERIFY(!w->IsFileChanged());
        // The blank question start-up appended is not stored.
        QCOMPARE(questionsIn(target),
            (QStringList {
                QStringLiteral("Ever smoked|Yes|No>Age"), QStringLiteral("How many"), QStringLiteral("Age") }));
        QCOMPARE(count(target, QStringLiteral("Respondent_Responses")), 1);
        QVERIFY(!QFile::exists(path));
        if (moved)
            QVERIFY(questionsIn(away).first() == QStringLiteral("Smoker|Yes|No>Age"));

        // The new file is the open survey now: Save writes it.
        editFirstQuestion(QStringLiteral("Smoking now"));
        QVERIFY(w->mnuFileSave_Click());
        QCOMPARE(questionsIn(target).first(), QStringLiteral("Smoking now|Yes|No>Age"));
        QCOMPARE(folder->files(QStringLiteral(".tessivo-*")), QStringList());
    }

    void damagedFileSavesTheQuestionsIntoANewSurvey_data()
    {
        QTest::addColumn<bool>("viaSave");
        QTest::newRow("Save, Save As offered") << true;
        QTest::newRow("Save As") << false;
    }

    void damagedFileSavesTheQuestionsIntoANewSurvey()
    {
        QFETCH(bool, viaSave);
        QList<QPair<qint32, QString>> questions;
        for (int i = 1; i <= 80; ++i)
            questions.append(
                { QTypeOpenEnded, QStringLiteral("Question %1 ").arg(i) + QString(QLatin1Char('x')).repeated(200) });
        questions[0] = { QTypeRadio, QStringLiteral("First|Go on|Skip") };
        const QString path = folder->writeSurvey(QStringLiteral("damaged.tvq"), questions);
        {
            db::Connection c;
            SurveyFile::openConnection(c, path);
            setJump(c, QStringLiteral("Skip"), 80);
            c.execute(QStringLiteral("INSERT INTO responsematrixgroup (id, name) VALUES (7, 'Mine')"));
            c.execute(
                QStringLiteral("INSERT INTO responsematrix (name, responsematrixgroupid, pos) VALUES ('Lots', 7, 0)"));
        }
        QFile cut(path);
        QVERIFY(cut.resize(cut.size() - 1));
        const QByteArray damaged = bytesOf(path);

        w = startProgram(path);
        QVERIFY(w);
        QCOMPARE(w->session().Survey.QCount(), 81); // start-up added a blank question
        editFirstQuestion(QStringLiteral("The first"));
        const QString target = folder->file(QStringLiteral("recovered.tvq"));
        if (viaSave) {
            Dialogs::Script::answer(Dialogs::Yes);
            Dialogs::Script::fileName(target);
            Dialogs::Script::answer(Dialogs::OK);
            QVERIFY(w->mnuFileSave_Click());
            QVERIFY(Dialogs::Script::shown().first().contains(QStringLiteral("malformed")));
            QVERIFY(Dialogs::Script::shown().first().endsWith(kOffer));
        } else {
            Dialogs::Script::fileName(target);
            Dialogs::Script::answer(Dialogs::OK);
            QVERIFY(w->mnuFileSaveAs_Click());
        }
        QCOMPARE(Dialogs::Script::lastText(), kDamaged);
        QCOMPARE(Dialogs::Script::pending(), 0);

        QCOMPARE(w->session().CurrentFile, target);
        QCOMPARE(w->session().Survey.QCount(), 81);
        QVERIFY(!w->IsFileChanged());
        const QStringList saved = questionsIn(target);
        QCOMPARE(saved.size(), 80); // without the blank question start-up added
        QCOMPARE(saved.first(), QStringLiteral("The first|Go on|Skip>") + questions[79].second);
        QCOMPARE(saved.at(79), questions[79].second);
        QCOMPARE(count(target, QStringLiteral("responsematrix WHERE responsematrixgroupid = 7")), 1);
        QCOMPARE(count(target, QStringLiteral("respondent")), 0);
        QCOMPARE(bytesOf(path), damaged);

        // Saving the new survey again works as for any other.
        editFirstQuestion(QStringLiteral("Now first"));
        QVERIFY(w->mnuFileSave_Click());
        QCOMPARE(questionsIn(target).first(), QStringLiteral("Now first|Go on|Skip>") + questions[79].second);
    }

    void saveAsGivesTheFileTheModeOfANewFileOrOfTheOneItReplaces_data()
    {
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("existing"); // the mode of the file replaced; -1: none there
        QTest::addColumn<int>("expected");
        QTest::newRow("new, umask 022") << 022 << -1 << 0644;
        QTest::newRow("new, umask 002") << 002 << -1 << 0664;
        QTest::newRow("new, umask 077") << 077 << -1 << 0600;
        QTest::newRow("replaced 0640") << 022 << 0640 << 0640;
        QTest::newRow("replaced 0664, umask 077") << 077 << 0664 << 0664;
    }

    void saveAsGivesTheFileTheModeOfANewFileOrOfTheOneItReplaces()
    {
        QFETCH(int, umask);
        QFETCH(int, existing);
        QFETCH(int, expected);
        const Umask mask { mode_t(umask) };
        w = startProgram(folder->writeSurvey(QStringLiteral("s.tvq"), { { QTypeOpenEnded, QStringLiteral("Q") } }));
        QVERIFY(w);
        const QString target = folder->file(QStringLiteral("out.tvq"));
        if (existing >= 0) {
            folder->writeSurvey(QStringLiteral("out.tvq"), { { QTypeOpenEnded, QStringLiteral("Old") } });
            QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(existing)), 0);
        }
        Dialogs::Script::fileName(target);
        QVERIFY(w->mnuFileSaveAs_Click());
        QCOMPARE(QString::number(modeOf(target), 8), QString::number(expected, 8));
        QCOMPARE(questionsIn(target), QStringList { QStringLiteral("Q") });
    }

    void saveAsWritesThroughASymbolicLink_data()
    {
        QTest::addColumn<bool>("relative");
        QTest::addColumn<bool>("dangling");
        QTest::newRow("absolute link") << false << false;
        QTest::newRow("relative link") << true << false;
        QTest::newRow("link to a file not there yet") << false << true;
    }

    void saveAsWritesThroughASymbolicLink()
    {
        QFETCH(bool, relative);
        QFETCH(bool, dangling);
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("real")));
        const QString real = folder->file(QStringLiteral("real/survey.tvq"));
        if (!dangling) {
            folder->writeSurvey(QStringLiteral("real/survey.tvq"), { { QTypeOpenEnded, QStringLiteral("Old") } });
            QCOMPARE(::chmod(QFile::encodeName(real).constData(), 0640), 0);
        }
        const QString link = folder->file(QStringLiteral("link.tvq"));
        const QByteArray pointsTo = relative ? QByteArray("real/survey.tvq") : QFile::encodeName(real);
        QCOMPARE(::symlink(pointsTo.constData(), QFile::encodeName(link).constData()), 0);
        QVERIFY(QFileInfo(link).isSymLink());

        w = startProgram(folder->writeSurvey(QStringLiteral("s.tvq"), { { QTypeOpenEnded, QStringLiteral("New") } }));
        QVERIFY(w);
        Dialogs::Script::fileName(link);
        QVERIFY(w->mnuFileSaveAs_Click());
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(w->session().CurrentFile, link);
        QCOMPARE(questionsIn(real), QStringList { QStringLiteral("New") });
        if (!dangling)
            QCOMPARE(modeOf(real), 0640);
        QCOMPARE(QDir(folder->path() + QStringLiteral("/real")).entryList(QDir::Files | QDir::Hidden),
            QStringList { QStringLiteral("survey.tvq") });
    }
};

int main(int argc, char** argv)
{
    return runGuiTest<SaveSafetyTest>(argc, argv);
}

#include "test_savesafety.moc"
