#include "web/ExchangeFile.h"

#include "document/clsSurvey.h"
#include "platform/AppPath.h"
#include "platform/Database.h"
#include "platform/Rtf.h"
#include "platform/TextUtil.h"

#include <QHash>
#include <QSaveFile>

#include <optional>
#include <vector>

namespace {

const QString kSource = QStringLiteral("Tessivo.ExchangeFile");

struct Column {
    QString id;
    QString name;
};

// The column count and columns of one answer scale, read once per scale.
struct Scale {
    std::optional<QString> count;
    std::vector<Column> columns;
};

class Writer {
public:
    explicit Writer(db::Connection& connection)
        : connection_(connection)
    { }

    void line(int indent, const QString& text)
    {
        text_ += QString(indent, QLatin1Char('\t'));
        text_ += text;
        text_ += QLatin1String("\r\n");
    }

    void element(int indent, const QString& tag, const QString& value)
    {
        line(indent, QLatin1Char('<') + tag + QLatin1Char('>') + value + QLatin1String("</") + tag + QLatin1Char('>'));
    }

    void question(const clsQ& q)
    {
        line(0, QStringLiteral("<q>"));
        element(1, QStringLiteral("DatabaseID"), QString::number(q.DatabaseID));
        element(1, QStringLiteral("Question"), rtf::toPlainText(q.Question));
        element(1, QStringLiteral("QuestionNo"), q.QuestionNo);
        element(1, QStringLiteral("QType"), QString::number(q.qType));
        element(1, QStringLiteral("OpenEnded_NoOfRows"), QString::number(q.OpenEnded_NoOfRows));
        line(1, QStringLiteral("<r>"));
        if (carriesResponses(q.qType)) {
            element(1, QStringLiteral("ResponsesCount"), QString::number(q.ResponsesCount()));
            if (q.ResponsesCount() > 0) {
                line(2, QStringLiteral("<Response>"));
                for (int i = 1; i <= q.ResponsesCount(); ++i)
                    response(q, i);
                line(2, QStringLiteral("</Response>"));
            }
        }
        line(1, QStringLiteral("</r>"));
        line(0, QStringLiteral("</q>"));
    }

    QByteArray bytes() const { return text_.toUtf8(); }

private:
    void response(const clsQ& q, int i)
    {
        const ResponsePtr r = q.GetResponse(i);
        if (q.qType == QTypeMatrix) {
            const Scale& s = scale(q.ResponseMatrixGroupID);
            if (s.count)
                element(3, QStringLiteral("ReponseMatrixCount"), *s.count);
            for (const Column& c : s.columns) {
                element(4, QStringLiteral("ResponseMatrixID"), c.id);
                element(4, QStringLiteral("ResponseMatrixName"), c.name);
            }
        }
        element(3, QStringLiteral("QuestionID"), QString::number(q.DatabaseID));
        element(3, QStringLiteral("Name"), r->Text);
        element(3, QStringLiteral("DatabaseID"), QString::number(r->DatabaseID));
        element(3, QStringLiteral("Pos"), QString::number(i));
        element(3, QStringLiteral("ResponseMatrixGroupID"), QString::number(q.ResponseMatrixGroupID));
    }

    const Scale& scale(int groupId)
    {
        auto found = scales_.find(groupId);
        if (found != scales_.end())
            return found.value();
        Scale s;
        const QString group = QString::number(groupId);
        {
            db::Recordset rs = connection_.openRecordset(
                QStringLiteral("SELECT count(*) FROM responsematrix WHERE responsematrixgroupid = ") + group);
            if (!rs.atEnd())
                s.count = NullToEmpty(rs.field(0));
        }
        db::Recordset rs = connection_.openRecordset(
            QStringLiteral("SELECT id, name FROM responsematrix WHERE responsematrixgroupid = ") + group
            + QStringLiteral(" ORDER BY pos"));
        for (; !rs.atEnd(); rs.moveNext())
            s.columns.push_back({ NullToEmpty(rs.field(0)), NullToEmpty(rs.field(1)) });
        return scales_.insert(groupId, std::move(s)).value();
    }

    db::Connection& connection_;
    QString text_;
    QHash<int, Scale> scales_;
};

} // namespace

namespace ExchangeFile {

QString defaultPath()
{
    return writableFile(QStringLiteral("test.xml"));
}

QByteArray build(const clsSurvey& survey, db::Connection& connection)
{
    Writer w(connection);
    w.line(0, QStringLiteral("<app>Orvalen Tessivo</app>"));
    w.line(0, QStringLiteral("<user></user>"));
    w.line(0, QStringLiteral("<key></key>"));
    w.line(0, QStringLiteral("<version>1.4</version>"));
    for (int i = 1; i <= survey.QCount(); ++i)
        w.question(*survey.GetQIndex(i));
    return w.bytes();
}

void DoSaveXML(const clsSurvey& survey, db::Connection& connection, const QString& path)
{
    const QByteArray bytes = build(survey, connection);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw db::Error(QStringLiteral("Unable to write the survey exchange file %1: %2").arg(path, file.errorString()),
            int(file.error()), kSource);
}

} // namespace ExchangeFile
