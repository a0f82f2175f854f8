#include "SampleSurvey.h"

#include "document/SurveyFile.h"
#include "platform/Rtf.h"

SurveyWriter::SurveyWriter(const QString& path)
{
    SurveyFile::openConnection(connection, path);
}

qint64 SurveyWriter::question(
    qint32 type, const QString& number, const QString& text, const QStringList& responses, qint64 scale)
{
    connection.execute(QStringLiteral("INSERT INTO question (question, questionno, qtype, pos) VALUES (?, ?, ?, ?)"),
        { rtf::fromPlainText(text), number, type, ++pos_ });
    const qint64 id = connection.lastInsertId();
    int pos = 0;
    for (const QString& name : responses)
        connection.execute(
            QStringLiteral("INSERT INTO response (questionid, name, pos, responseMatrixGroupID) VALUES (?, ?, ?, ?)"),
            { id, name, ++pos, scale });
    return id;
}

qint64 SurveyWriter::response(qint64 question, int index)
{
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT id FROM response WHERE questionid = ? AND pos = ?"), { question, index });
    return rs.field(0).toLongLong();
}

qint64 SurveyWriter::scale(const QStringList& columns)
{
    connection.execute(QStringLiteral("INSERT INTO responsematrixgroup (name) VALUES ('User Added')"));
    const qint64 id = connection.lastInsertId();
    int pos = 0;
    for (const QString& name : columns)
        connection.execute(
            QStringLiteral("INSERT INTO responsematrix (name, responsematrixgroupid, pos) VALUES (?, ?, ?)"),
            { name, id, pos++ });
    return id;
}

qint64 SurveyWriter::column(qint64 scale, int index)
{
    db::Recordset rs = connection.openRecordset(
        QStringLiteral("SELECT id FROM responsematrix WHERE responsematrixgroupid = ? ORDER BY pos LIMIT 1 OFFSET ?"),
        { scale, index - 1 });
    return rs.field(0).toLongLong();
}

qint64 SurveyWriter::respondent(const QVariant& source, const QString& submitted)
{
    connection.execute(
        QStringLiteral("INSERT INTO respondent (source, submitteddate) VALUES (?, ?)"), { source, submitted });
    return connection.lastInsertId();
}

void SurveyWriter::answer(
    qint64 respondent, qint64 question, qint64 response, const QVariant& text, const QVariant& column)
{
    connection.execute(QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, ResponseID, "
                                      "SimpleResponse, ResponseMatrixID) VALUES (?, ?, ?, ?, ?)"),
        { question, respondent, response, text, column });
}

SampleSurvey::SampleSurvey(const QString& path)
    : w(path)
{
    scale = w.scale({ QStringLiteral("Good"), QStringLiteral("Fair"), QStringLiteral("Poor") });
    open = w.question(0, QStringLiteral("1"), QStringLiteral("What is your name?"));
    check = w.question(1, QStringLiteral("2"), QStringLiteral("Which fruits?"),
        { QStringLiteral("Apple"), QStringLiteral("Banana"), QStringLiteral("Cherry") });
    text = w.question(4, QString(), QStringLiteral("Thank you."));
    radio = w.question(
        2, QStringLiteral("3"), QStringLiteral("Age?"), { QStringLiteral("Under 30"), QStringLiteral("30 or over") });
    matrix = w.question(
        3, QStringLiteral("4"), QStringLiteral("Rate"), { QStringLiteral("Taste"), QStringLiteral("Price") }, scale);
    apple = w.response(check, 1);
    banana = w.response(check, 2);
    cherry = w.response(check, 3);
    under30 = w.response(radio, 1);
    over30 = w.response(radio, 2);
    taste = w.response(matrix, 1);
    price = w.response(matrix, 2);
    good = w.column(scale, 1);
    fair = w.column(scale, 2);
    poor = w.column(scale, 3);

    manual = w.respondent(QStringLiteral("Manual Entry"), QStringLiteral("2024-03-01 09:00:00"));
    web = w.respondent(QStringLiteral("Web"), QStringLiteral("2024-03-02 00:00:00"));
    imported = w.respondent(QStringLiteral("Imported"), QStringLiteral("2024-02-28 10:30:00"));
    paper = w.respondent(QStringLiteral("Paper"), QStringLiteral("2024-03-03 12:00:00"));

    w.answer(manual, open, 1, QStringLiteral("Ann"));
    // Stored in another order than the responses'.
    w.answer(manual, check, cherry);
    w.answer(manual, check, apple);
    w.answer(manual, radio, under30);
    w.answer(manual, matrix, taste, {}, good);
    w.answer(manual, matrix, price, {}, poor);
    w.answer(web, radio, over30);
    w.answer(web, matrix, taste, {}, fair);
    w.answer(imported, open, 1, QStringLiteral("line one\r\nline two"));
    w.answer(imported, check, banana);
}
