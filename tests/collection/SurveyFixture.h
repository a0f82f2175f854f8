#pragma once
// Survey files for the Data Collection tests, built through the survey document so that ids,
// positions, scales and jumps are stored as a save stores them.

#include "ProgramFolder.h"
#include "document/SurveyFile.h"
#include "document/clsQ.h"
#include "document/clsSurvey.h"
#include "platform/Database.h"
#include "platform/Rtf.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace collectiontest {

// One question: its type, its text, and its responses (matrix rows for a matrix question, which
// is given answer scale 2 of the template, five columns). A response "text>N" jumps to the
// question at position N.
struct Question {
    qint32 type;
    QString text;
    QStringList responses = {};
};

// A survey of every question type: 1 open, 2 check, 3 radio whose "Dog" jumps to 5, 4 open, 5 matrix
// of two rows, 6 instruction text.
inline const QList<Question> kSurvey = {
    { QTypeOpenEnded, QStringLiteral("Name?") },
    { QTypeCheck, QStringLiteral("Fruit?"), { "A", "B", "C", "D" } },
    { QTypeRadio, QStringLiteral("Pet?"), { "Cat", "Dog>5", "Fish" } },
    { QTypeOpenEnded, QStringLiteral("Why?") },
    { QTypeMatrix, QStringLiteral("Rate"), { "Food", "Room" } },
    { QTypeText, QStringLiteral("Thanks") },
};

inline QString makeSurvey(const ProgramFolder& folder, const QString& name, const QList<Question>& questions)
{
    const QString path = folder.newSurvey(name);
    db::Connection c;
    SurveyFile::openConnection(c, path);
    clsSurvey s;
    QStringList keys;
    for (const Question& q : questions)
        keys << s.AddQ(rtf::fromPlainText(q.text), q.type, -1, 2);
    for (qsizetype i = 0; i < questions.size(); ++i) {
        for (const QString& response : questions.at(i).responses) {
            const QStringList parts = response.split(QLatin1Char('>'));
            const QString jump = parts.size() > 1 ? keys.at(parts.at(1).toInt() - 1) : QString();
            s.GetQ(keys.at(i))->AddResponse(parts.first(), -1, -1, jump);
        }
    }
    SurveyFile::save(c, s);
    return path;
}

// The rows of a query, each as its fields joined by "|", Null as "NULL".
inline QStringList rows(db::Connection& c, const QString& sql, const QVariantList& params = {})
{
    QStringList list;
    db::Recordset rs = c.openRecordset(sql, params);
    for (; !rs.atEnd(); rs.moveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.fieldCount(); ++i)
            fields << (rs.isNull(i) ? QStringLiteral("NULL") : rs.field(i).toString());
        list << fields.join(QLatin1Char('|'));
    }
    return list;
}

inline int number(db::Connection& c, const QString& sql, const QVariantList& params = {})
{
    db::Recordset rs = c.openRecordset(sql, params);
    return rs.atEnd() ? -1 : rs.field(0).toInt();
}

// The id of the question at a position, and of a response of it by its position.
inline int questionId(db::Connection& c, int pos)
{
    return number(c, QStringLiteral("SELECT id FROM question WHERE pos = ?"), { pos });
}

inline int responseId(db::Connection& c, int questionPos, int responsePos)
{
    return number(c, QStringLiteral("SELECT id FROM response WHERE questionid = ? AND pos = ?"),
        { questionId(c, questionPos), responsePos });
}

// The id of column i (1 = first) of answer scale 2.
inline int columnId(db::Connection& c, int i)
{
    return number(c,
        QStringLiteral("SELECT id FROM responsematrix WHERE responsematrixgroupid = 2 ORDER BY pos LIMIT 1 OFFSET ?"),
        { i - 1 });
}

// A respondent's answer rows: question position, ResponseID, SimpleResponse, ResponseMatrixID,
// in the order stored.
inline QStringList answers(db::Connection& c, qint64 respondent)
{
    return rows(c,
        QStringLiteral("SELECT q.pos, a.ResponseID, a.SimpleResponse, a.ResponseMatrixID FROM Respondent_Responses a "
                       "JOIN question q ON q.id = a.QuestionID WHERE a.RespondentID = ? ORDER BY a.id"),
        { respondent });
}

} // namespace collectiontest
