#include "document/SurveyFile.h"

#include "platform/TextUtil.h"

#include <vector>

namespace SurveyFile {

namespace {

constexpr double kVersion = 1.7;

// The error a Null gives where a number or a required text is read.
[[noreturn]] void throwNull(const QString& what)
{
    throw db::Error(QStringLiteral("Invalid use of Null (%1)").arg(what), 94, QStringLiteral("Tessivo"));
}

int requiredInt(const db::Recordset& rs, const QString& column)
{
    const QVariant v = rs.field(column);
    if (v.isNull())
        throwNull(column);
    if (v.typeId() == QMetaType::LongLong)
        return int(v.toLongLong());  // what toInt gives, without the general conversion
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok)
        throw db::Error(QStringLiteral("Type mismatch (%1)").arg(column), 13, QStringLiteral("Tessivo"));
    return n;
}

}  // namespace

QStringList RequiredTables()
{
    return {QStringLiteral("version"), QStringLiteral("question"), QStringLiteral("response"),
            QStringLiteral("responsematrixgroup"), QStringLiteral("responsematrix"),
            QStringLiteral("respondent"), QStringLiteral("Respondent_Responses")};
}

void OpenConnection(db::Connection& connection, const QString& path)
{
    connection.Open(path, RequiredTables());
}

std::optional<QString> VersionMismatch(db::Connection& connection)
{
    db::Recordset rs = connection.OpenRecordset(QStringLiteral("SELECT * FROM version"));
    if (rs.atEnd())
        return std::nullopt;
    const QVariant value = rs.field(0);
    bool ok = false;
    const double version = value.toDouble(&ok);
    if (!value.isNull() && ok && version == kVersion)
        return std::nullopt;
    return NullToEmpty(value);
}

QString VersionMismatchMessage(const QString& found)
{
    return QStringLiteral("Unable to open survey file - expecting version 1.7, but found version ") + found;
}

void Load(db::Connection& connection, clsSurvey& survey)
{
    survey.ClearAll();
    // One read lock for the whole survey instead of one per statement.
    const db::ReadTransaction reading(connection);
    // Stored question id to key, for the jumps: the first question with an id wins, as
    // GetKeyFromDatabaseID answers.
    QHash<int, QString> keyOfId;
    {
        db::Recordset rs = connection.OpenRecordset(QStringLiteral("SELECT * FROM question ORDER BY pos"));
        for (; !rs.atEnd(); rs.MoveNext()) {
            auto q = std::make_shared<clsQ>();
            q->Question = NullToEmpty(rs.field(QStringLiteral("question")));
            q->qType = requiredInt(rs, QStringLiteral("qtype"));
            q->DatabaseID = requiredInt(rs, QStringLiteral("id"));
            q->QuestionNo = NullToEmpty(rs.field(QStringLiteral("questionno")));
            q->ResponseMatrixGroupID = 1;
            const QString key = survey.AddQ2(q);
            if (!keyOfId.contains(q->DatabaseID))
                keyOfId.insert(q->DatabaseID, key);
        }
    }

    // Responses come after every question is in, so a jump to a later question resolves too.
    db::Statement responses(connection,
        QStringLiteral("SELECT id, name, responseMatrixGroupID, LogicJumpToQuestionID FROM response "
                       "WHERE questionid = ? ORDER BY pos"));
    for (int i = 1; i <= survey.QCount(); ++i) {
        const QPtr q = survey.GetQIndex(i);
        if (!CarriesResponses(q->qType))
            continue;
        db::Recordset rs = responses.query({q->DatabaseID});
        bool first = true;
        for (; !rs.atEnd(); rs.MoveNext()) {
            if (first) {
                q->ResponseMatrixGroupID = requiredInt(rs, QStringLiteral("responseMatrixGroupID"));
                first = false;
            }
            const QVariant name = rs.field(QStringLiteral("name"));
            if (name.isNull())
                throwNull(QStringLiteral("name"));
            int jumpId = -1;
            QString jumpKey;
            if (!rs.isNull(QStringLiteral("LogicJumpToQuestionID"))) {
                jumpId = requiredInt(rs, QStringLiteral("LogicJumpToQuestionID"));
                jumpKey = keyOfId.value(jumpId);
            }
            q->AddResponse(name.toString(), requiredInt(rs, QStringLiteral("id")), jumpId, jumpKey);
        }
        // q is the stored object itself: there is nothing to store back with SetQ.
    }
}

void Save(db::Connection& connection, clsSurvey& survey)
{
    // New questions get their ids during the save; they are put back if the save fails, so that
    // a later save does not take an id the rolled-back rows had for another question's row.
    std::vector<int> idsBefore;
    idsBefore.reserve(size_t(survey.QCount()));
    for (int i = 1; i <= survey.QCount(); ++i)
        idsBefore.push_back(survey.GetQIndex(i)->DatabaseID);

    try {
        db::Transaction transaction(connection);

        connection.Execute(QStringLiteral("UPDATE question SET deleteme = true"));
        connection.Execute(QStringLiteral("UPDATE response SET deleteme = true"));

        db::Statement findQuestion(connection, QStringLiteral("SELECT id FROM question WHERE id = ?"));
        db::Statement updateQuestion(connection,
            QStringLiteral("UPDATE question SET Deleteme = false, questionno = ?, question = ?, qtype = ?, "
                           "pos = ? WHERE id = ?"));
        for (int i = 1; i <= survey.QCount(); ++i) {
            const QPtr q = survey.GetQIndex(i);
            const bool stored = !findQuestion.query({q->DatabaseID}).atEnd();
            if (!stored) {
                q->DatabaseID = int(connection.AppendRow(QStringLiteral("question"), {
                    {QStringLiteral("question"), q->Question},
                    {QStringLiteral("questionno"), q->QuestionNo},
                    {QStringLiteral("qtype"), q->qType},
                    {QStringLiteral("pos"), i},
                    {QStringLiteral("Deleteme"), false},
                }));
            } else {
                updateQuestion.execute({q->QuestionNo, q->Question, q->qType, i, q->DatabaseID});
            }
        }

        db::Statement findResponse(connection, QStringLiteral("SELECT id FROM response WHERE id = ?"));
        db::Statement updateResponse(connection,
            QStringLiteral("UPDATE response SET Deleteme = false, name = ?, responseMatrixGroupID = ?, "
                           "LogicJumpToQuestionID = ?, pos = ? WHERE id = ?"));
        for (int i = 1; i <= survey.QCount(); ++i) {
            const QPtr q = survey.GetQIndex(i);
            if (findQuestion.query({q->DatabaseID}).atEnd())
                continue;
            if (!CarriesResponses(q->qType))
                continue;  // its rows stay marked and are swept
            for (int j = 1; j <= q->ResponsesCount(); ++j) {
                const ResponsePtr r = q->GetResponse(j);
                QVariant jump;  // Null: no jump
                if (!r->LogicJumpToQuestionKey.isEmpty()) {
                    if (const QPtr target = survey.GetQ(r->LogicJumpToQuestionKey))
                        jump = target->DatabaseID;
                }
                if (!findResponse.query({r->DatabaseID}).atEnd()) {
                    updateResponse.execute({r->Text, q->ResponseMatrixGroupID, jump, j, r->DatabaseID});
                } else {
                    connection.AppendRow(QStringLiteral("response"), {
                        {QStringLiteral("questionid"), q->DatabaseID},
                        {QStringLiteral("name"), r->Text},
                        {QStringLiteral("pos"), j},
                        {QStringLiteral("responseMatrixGroupID"), q->ResponseMatrixGroupID},
                        {QStringLiteral("LogicJumpToQuestionID"), jump},
                    });
                }
                q->UpdateResponse(j, r);
            }
        }

        connection.Execute(QStringLiteral("DELETE FROM response WHERE deleteme = true;"));
        connection.Execute(QStringLiteral("DELETE FROM question WHERE deleteme = true;"));
        transaction.commit();
    } catch (...) {
        for (int i = 1; i <= survey.QCount() && size_t(i - 1) < idsBefore.size(); ++i)
            survey.GetQIndex(i)->DatabaseID = idsBefore[size_t(i - 1)];
        throw;
    }
}

// Writing into a new file

void SaveAsNew(db::Connection& connection, const clsSurvey& survey)
{
    // A copy without ids: the questions and responses of the survey are shared objects, which the
    // save would otherwise give the new file's ids.
    clsSurvey fresh;
    QHash<QString, QString> keyInCopy;
    for (int i = 1; i <= survey.QCount(); ++i) {
        const QPtr q = survey.GetQIndex(i);
        auto copy = std::make_shared<clsQ>(*q);
        copy->DatabaseID = -1;
        copy->ClearAllResponses();
        const QString key = fresh.AddQ2(copy);
        if (!keyInCopy.contains(q->Key))
            keyInCopy.insert(q->Key, key);
    }
    for (int i = 1; i <= survey.QCount(); ++i) {
        const QPtr q = survey.GetQIndex(i);
        const QPtr copy = fresh.GetQIndex(i);
        for (int j = 1; j <= q->ResponsesCount(); ++j) {
            const ResponsePtr r = q->GetResponse(j);
            copy->AddResponse(r->Text, -1, -1, keyInCopy.value(r->LogicJumpToQuestionKey));
        }
    }
    Save(connection, fresh);
}

void CopyAnswerScales(db::Connection& from, db::Connection& to)
{
    std::vector<std::vector<QVariant>> groups;
    std::vector<std::vector<QVariant>> columns;
    {
        const db::ReadTransaction reading(from);
        groups = from.OpenRecordset(QStringLiteral("SELECT id, name FROM responsematrixgroup")).readAll();
        columns = from.OpenRecordset(QStringLiteral("SELECT id, name, responsematrixgroupid, pos FROM responsematrix"))
                      .readAll();
    }
    db::Transaction transaction(to);
    to.Execute(QStringLiteral("DELETE FROM responsematrix"));
    to.Execute(QStringLiteral("DELETE FROM responsematrixgroup"));
    for (const std::vector<QVariant>& row : groups)
        to.Execute(QStringLiteral("INSERT INTO responsematrixgroup (id, name) VALUES (?, ?)"), {row[0], row[1]});
    for (const std::vector<QVariant>& row : columns) {
        to.Execute(QStringLiteral("INSERT INTO responsematrix (id, name, responsematrixgroupid, pos) VALUES (?, ?, ?, ?)"),
                   {row[0], row[1], row[2], row[3]});
    }
    transaction.commit();
}

}  // namespace SurveyFile
