#pragma once
// What tests read back from the survey files a save wrote: their bytes, their mode, their
// questions and their row counts; and a survey with a jump and an answer to save.

#include "ProgramFolder.h"
#include "document/SurveyFile.h"
#include "platform/Rtf.h"

#include <QFile>
#include <QStringList>

#include <sys/stat.h>

inline QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The permission bits of the file (of a link itself, not of what it points to); -1 when missing.
inline int modeOf(const QString& path)
{
    struct stat st { };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

// The questions of a survey file as "text" or "text|response>jump target text|...".
inline QStringList questionsIn(const QString& path)
{
    db::Connection c;
    SurveyFile::openConnection(c, path);
    clsSurvey s;
    SurveyFile::load(c, s);
    QStringList list;
    for (int i = 1; i <= s.QCount(); ++i) {
        const QPtr q = s.GetQIndex(i);
        QString line = rtf::toPlainText(q->Question);
        for (int j = 1; j <= q->ResponsesCount(); ++j) {
            const ResponsePtr r = q->GetResponse(j);
            line += QLatin1Char('|') + r->Text;
            if (const QPtr target = s.GetQ(r->LogicJumpToQuestionKey))
                line += QLatin1Char('>') + rtf::toPlainText(target->Question);
        }
        list << line;
    }
    return list;
}

// The rows of a table of a survey file ("respondent", or "table WHERE ...").
inline qint64 count(const QString& path, const QString& table)
{
    db::Connection c;
    SurveyFile::openConnection(c, path);
    return c.openRecordset(QStringLiteral("SELECT count(*) FROM ") + table).field(0).toLongLong();
}

// Makes the response of that name jump to the question at position `pos`; the question's id.
inline qint64 setJump(db::Connection& c, const QString& response, int pos)
{
    const qint64 target
        = c.openRecordset(QStringLiteral("SELECT id FROM question WHERE pos = ?"), { pos }).field(0).toLongLong();
    c.execute(QStringLiteral("UPDATE response SET LogicJumpToQuestionID = ? WHERE name = ?"), { target, response });
    return target;
}

// A survey of a radio question whose second response jumps to the third question, and one
// respondent with an answer to it.
inline QString writeAnsweredSurvey(const ProgramFolder& folder, const QString& name)
{
    const QString path = folder.writeSurvey(name,
        { { QTypeRadio, QStringLiteral("Smoker|Yes|No") }, { QTypeOpenEnded, QStringLiteral("How many") },
            { QTypeOpenEnded, QStringLiteral("Age") } });
    db::Connection c;
    SurveyFile::openConnection(c, path);
    const qint64 age = setJump(c, QStringLiteral("No"), 3);
    c.execute(QStringLiteral("INSERT INTO respondent (source) VALUES ('Paper')"));
    c.execute(QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, SimpleResponse) "
                             "VALUES (?, 1, '42')"),
        { age });
    return path;
}

// Sets the process's umask for the life of the object.
class Umask {
public:
    explicit Umask(mode_t mask)
        : before_(::umask(mask))
    { }
    ~Umask() { ::umask(before_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t before_;
};
