// Saving the open survey into its file and under another name, without a window: what each leaves
// on disk when it works and when it fails.
#include "ProgramFolder.h"
#include "SurveyFileChecks.h"
#include "document/SurveyFile.h"
#include "document/SurveySession.h"
#include "platform/Rtf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class SafeSaveTest : public ::testing::Test {
protected:
    // Opens a survey file in the session as the main window does.
    void open(const QString& path)
    {
        SurveyFile::openConnection(session.SurveyConnection, path);
        SurveyFile::load(session.SurveyConnection, session.Survey);
        session.CurrentFile = path;
    }

    void setFirstQuestion(const QString& text) { session.Survey.GetQIndex(1)->Question = rtf::fromPlainText(text); }

    // The files of a folder, hidden ones too (a part file left behind would show).
    static QStringList filesIn(const QString& folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    ProgramFolder folder;
    SurveySession session;
};

TEST_F(SafeSaveTest, SaveAsCarriesTheWholeSurveyAndLeavesTheOpenFileAsItWas)
{
    const QString path = writeAnsweredSurvey(folder, QStringLiteral("s.tvq"));
    open(path);
    const QByteArray before = bytesOf(path);
    setFirstQuestion(QStringLiteral("Ever smoked"));
    const QString target = folder.file(QStringLiteral("copy.tvq"));

    EXPECT_EQ(session.saveAs(target), SurveySession::Carried::Everything);

    EXPECT_EQ(questionsIn(target),
        (QStringList { QStringLiteral("Ever smoked|Yes|No>Age"), QStringLiteral("How many"), QStringLiteral("Age") }));
    EXPECT_EQ(count(target, QStringLiteral("Respondent_Responses")), 1);
    EXPECT_EQ(bytesOf(path), before);
    EXPECT_EQ(session.SurveyConnection.path(), path);
    EXPECT_EQ(session.CurrentFile, path);
}

TEST_F(SafeSaveTest, SaveAsGivesTheFileTheModeOfANewFileOrOfTheOneItReplaces)
{
    struct Case {
        const char* what;
        mode_t umask;
        int existing; // the mode of the file replaced; -1: none there
        int expected;
    };
    const Case cases[] = {
        { "new, umask 022", 022, -1, 0644 },
        { "new, umask 077", 077, -1, 0600 },
        { "replaced 0640", 022, 0640, 0640 },
        { "replaced 0664, umask 077", 077, 0664, 0664 },
    };
    open(folder.writeSurvey(QStringLiteral("s.tvq"), { { QTypeOpenEnded, QStringLiteral("Q") } }));
    for (const Case& c : cases) {
        const Umask mask { c.umask };
        const QString target = folder.file(QStringLiteral("out.tvq"));
        QFile::remove(target);
        if (c.existing >= 0) {
            folder.writeSurvey(QStringLiteral("out.tvq"), { { QTypeOpenEnded, QStringLiteral("Old") } });
            ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), mode_t(c.existing)), 0);
        }
        session.saveAs(target);
        EXPECT_EQ(QString::number(modeOf(target), 8), QString::number(c.expected, 8)) << c.what;
        EXPECT_EQ(questionsIn(target), QStringList { QStringLiteral("Q") }) << c.what;
    }
}

TEST_F(SafeSaveTest, SaveAsWritesThroughASymbolicLink)
{
    struct Case {
        const char* what;
        bool relative;
        bool dangling;
    };
    const Case cases[] = {
        { "absolute link", false, false },
        { "relative link", true, false },
        { "link to a file not there yet", false, true },
    };
    open(folder.writeSurvey(QStringLiteral("s.tvq"), { { QTypeOpenEnded, QStringLiteral("New") } }));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("real")));
    const QString real = folder.file(QStringLiteral("real/survey.tvq"));
    const QString link = folder.file(QStringLiteral("link.tvq"));
    for (const Case& c : cases) {
        QFile::remove(real);
        QFile::remove(link);
        if (!c.dangling) {
            folder.writeSurvey(QStringLiteral("real/survey.tvq"), { { QTypeOpenEnded, QStringLiteral("Old") } });
            ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
        }
        const QByteArray pointsTo = c.relative ? QByteArray("real/survey.tvq") : QFile::encodeName(real);
        ASSERT_EQ(::symlink(pointsTo.constData(), QFile::encodeName(link).constData()), 0);

        session.saveAs(link);

        EXPECT_TRUE(QFileInfo(link).isSymLink()) << c.what;
        EXPECT_EQ(questionsIn(real), QStringList { QStringLiteral("New") }) << c.what;
        if (!c.dangling) {
            EXPECT_EQ(modeOf(real), 0640) << c.what;
        }
        EXPECT_EQ(filesIn(folder.file(QStringLiteral("real"))), QStringList { QStringLiteral("survey.tvq") }) << c.what;
    }
}

// The questions in memory are whole even when their file is not: they go into a new survey made
// from the template, with their jumps and the file's own answer scales, and the damaged file is
// left alone.
TEST_F(SafeSaveTest, ADamagedOpenSurveyIsSavedFromTheTemplate)
{
    QList<QPair<qint32, QString>> questions;
    for (int i = 1; i <= 80; ++i)
        questions.append(
            { QTypeOpenEnded, QStringLiteral("Question %1 ").arg(i) + QString(QLatin1Char('x')).repeated(200) });
    questions[0] = { QTypeRadio, QStringLiteral("First|Go on|Skip") };
    const QString path = folder.writeSurvey(QStringLiteral("damaged.tvq"), questions);
    {
        db::Connection c;
        SurveyFile::openConnection(c, path);
        setJump(c, QStringLiteral("Skip"), 80);
        c.execute(QStringLiteral("INSERT INTO responsematrixgroup (id, name) VALUES (7, 'Mine')"));
        c.execute(
            QStringLiteral("INSERT INTO responsematrix (name, responsematrixgroupid, pos) VALUES ('Lots', 7, 0)"));
        c.execute(QStringLiteral("INSERT INTO respondent (source) VALUES ('Paper')"));
    }
    QFile cut(path);
    ASSERT_TRUE(cut.resize(cut.size() - 1));
    const QByteArray damaged = bytesOf(path);
    open(path);
    setFirstQuestion(QStringLiteral("The first"));

    // Saving into the damaged file fails, and Save As is the way round.
    try {
        session.save();
        FAIL() << "saved into a damaged file";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.isDamage()) << e.what();
        EXPECT_TRUE(session.saveAsGetsAround(e));
    }

    const QString target = folder.file(QStringLiteral("recovered.tvq"));
    EXPECT_EQ(session.saveAs(target), SurveySession::Carried::QuestionsAndScales);

    const QStringList saved = questionsIn(target);
    ASSERT_EQ(saved.size(), 80);
    EXPECT_EQ(saved.first(), QStringLiteral("The first|Go on|Skip>") + questions[79].second);
    EXPECT_EQ(count(target, QStringLiteral("responsematrix WHERE responsematrixgroupid = 7")), 1);
    EXPECT_EQ(count(target, QStringLiteral("respondent")), 0);
    EXPECT_EQ(bytesOf(path), damaged);
    EXPECT_EQ(filesIn(folder.path()).filter(QStringLiteral(".part")), QStringList());
}

// A statement that fails half way through the survey: neither the open file nor a file Save As
// would replace changes, no part file stays, and the questions keep the ids they had.
TEST_F(SafeSaveTest, AFailureLeavesEveryFileAsItWas)
{
    const QString path = folder.writeSurvey(QStringLiteral("s.tvq"), { { QTypeRadio, QStringLiteral("Q|yes") } });
    {
        db::Connection c;
        SurveyFile::openConnection(c, path);
        c.execute(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON response WHEN NEW.name = 'boom' "
                                 "BEGIN SELECT RAISE(ABORT, 'disk trouble'); END"));
    }
    const QString target
        = folder.writeSurvey(QStringLiteral("target.tvq"), { { QTypeOpenEnded, QStringLiteral("Kept") } });
    open(path);
    session.Survey.AddQ(rtf::fromPlainText(QStringLiteral("Added")), QTypeOpenEnded, -1, 2);
    session.Survey.GetQIndex(1)->AddResponse(QStringLiteral("boom"), -1, -1, QString());
    const QByteArray pathBefore = bytesOf(path);
    const QByteArray targetBefore = bytesOf(target);
    const QStringList filesBefore = filesIn(folder.path());

    EXPECT_THROW(session.save(), db::Error);
    for (const QString& name : { target, folder.file(QStringLiteral("new.tvq")) }) {
        try {
            session.saveAs(name);
            ADD_FAILURE() << "saved into " << name.toStdString();
        } catch (const db::Error& e) {
            EXPECT_TRUE(e.description().contains(QStringLiteral("disk trouble"))) << e.what();
            EXPECT_FALSE(session.saveAsGetsAround(e)) << e.what();
        }
        EXPECT_EQ(session.Survey.GetQIndex(2)->DatabaseID, -1);
    }

    // Written whole, but the name is a folder's: the survey cannot take its place.
    session.Survey.GetQIndex(1)->RemoveResponse(2);
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.tvq")));
    EXPECT_THROW(session.saveAs(folder.file(QStringLiteral("taken.tvq"))), db::Error);
    EXPECT_EQ(session.Survey.GetQIndex(2)->DatabaseID, -1);
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("taken.tvq"))).isDir());

    EXPECT_EQ(bytesOf(path), pathBefore);
    EXPECT_EQ(bytesOf(target), targetBefore);
    EXPECT_EQ(filesIn(folder.path()), filesBefore);
    EXPECT_TRUE(session.SurveyConnection.isOpen());
    EXPECT_EQ(session.SurveyConnection.path(), path);
}

// A file deleted while it was open cannot be saved into; the survey in memory can be saved
// elsewhere.
TEST_F(SafeSaveTest, ASurveyWhoseFileWasDeletedIsSavedUnderAnotherName)
{
    const QString path = writeAnsweredSurvey(folder, QStringLiteral("s.tvq"));
    open(path);
    ASSERT_TRUE(QFile::remove(path));
    setFirstQuestion(QStringLiteral("Ever smoked"));
    try {
        session.save();
        FAIL() << "saved into a deleted file";
    } catch (const db::Error& e) {
        EXPECT_TRUE(session.saveAsGetsAround(e)) << e.what();
    }
    const QString target = folder.file(QStringLiteral("rescued.tvq"));
    EXPECT_EQ(session.saveAs(target), SurveySession::Carried::Everything);
    EXPECT_EQ(questionsIn(target).first(), QStringLiteral("Ever smoked|Yes|No>Age"));
    EXPECT_EQ(count(target, QStringLiteral("Respondent_Responses")), 1);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SafeSaveTest, AnUntitledFileIsMadeFromTheTemplateOrNotAtAll)
{
    const QString file = SurveySession::createUntitledFile();
    EXPECT_TRUE(QFileInfo(file).fileName().startsWith(QStringLiteral("HC")));
    EXPECT_TRUE(file.endsWith(QStringLiteral(".TMP")));
    EXPECT_EQ(QFileInfo(file).absolutePath(), QFileInfo(folder.path()).absoluteFilePath());
    EXPECT_EQ(bytesOf(file), bytesOf(folder.file(QStringLiteral("blank.mdb"))));
    ASSERT_TRUE(QFile::remove(file));

    // A template that is no survey file leaves no file behind, and the failure names the template.
    QFile blank(folder.file(QStringLiteral("blank.mdb")));
    ASSERT_TRUE(blank.open(QIODevice::WriteOnly | QIODevice::Truncate));
    blank.write(QByteArray("not a database\n").repeated(100));
    blank.close();
    try {
        SurveySession::createUntitledFile();
        FAIL() << "made a survey from a broken template";
    } catch (const db::Error& e) {
        EXPECT_TRUE(e.description().contains(blank.fileName())) << e.what();
    }
    EXPECT_EQ(folder.files(QStringLiteral("HC*.TMP")), QStringList());
}

} // namespace
