#include "web/ResultsImport.h"

#include "document/SurveyFile.h"
#include "platform/Database.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringDecoder>

#include <optional>
#include <vector>

namespace {

const QString kSource = QStringLiteral("Tessivo.ResultsImport");
constexpr qint64 kChunk = 256 * 1024;
constexpr int kProgressMs = 50;

[[noreturn]] void fail(qint64 line, const QString& what)
{
    throw db::Error(
        QStringLiteral("Line %1 of the results file: %2 Nothing was imported.").arg(line).arg(what), 13, kSource);
}

[[noreturn]] void cancelled()
{
    throw db::Error(QStringLiteral("The import was cancelled. Nothing was imported."), 0, kSource);
}

// The text between the first opening and the first closing tag of the line, when both stand in
// it in that order.
std::optional<QByteArrayView> element(QByteArrayView line, QByteArrayView open, QByteArrayView close)
{
    const qsizetype start = line.indexOf(open);
    if (start < 0)
        return std::nullopt;
    const qsizetype end = line.indexOf(close);
    const qsizetype from = start + open.size();
    if (end < from)
        return std::nullopt;
    return line.sliced(from, end - from);
}

// Text values are UTF-8; a value that is not valid UTF-8 is taken as Latin-1, so no character
// is lost.
QString decode(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

std::optional<qint64> toInteger(QByteArrayView text)
{
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

// A value of the file with the line it stands on.
struct Value {
    QByteArray text;
    qint64 line = 0;
};

qint64 id(const Value& v, const char* what)
{
    const std::optional<qint64> n = toInteger(v.text);
    if (!n)
        fail(v.line, QStringLiteral("the %1 \"%2\" is not a number.").arg(QLatin1String(what), decode(v.text)));
    return *n;
}

class Importer {
public:
    explicit Importer(db::Connection& connection)
        : connection_(connection)
        , addRespondent_(connection, QStringLiteral("INSERT INTO respondent (source) VALUES ('Web')"))
        , addAnswer_(connection,
              QStringLiteral("INSERT INTO Respondent_Responses (QuestionID, RespondentID, "
                             "ResponseID, SimpleResponse, ResponseMatrixID) VALUES (?, ?, ?, ?, ?)"))
    { }

    int respondents() const { return respondents_; }

    void line(QByteArrayView line, qint64 number)
    {
        if (line.contains("<userresponse>"))
            state_ = 1;
        if (state_ == 1 && line.contains("<r>")) {
            state_ = 2;
            databaseId_ = {};
            questionNo_ = {};
            qType_ = {};
            qTypeNumber_ = 0;
            text_.clear();
            responses_.clear();
        }
        if (state_ == 2)
            fields(line, number);
        if (state_ == 2 && line.contains("</r>")) {
            state_ = 1;
            endGroup();
        }
        if (line.contains("</userresponse>")) {
            state_ = 0;
            respondent_ = 0;
        }
    }

private:
    void fields(QByteArrayView line, qint64 number)
    {
        if (auto v = element(line, "<DatabaseID>", "</DatabaseID>"))
            databaseId_ = { v->toByteArray(), number };
        if (auto v = element(line, "<QuestionNo>", "</QuestionNo>"))
            questionNo_ = { v->toByteArray(), number };
        if (auto v = element(line, "<QType>", "</QType>")) {
            qType_ = { v->toByteArray(), number };
            // An empty type drops the group at its end; any other text must be a whole number.
            if (!v->isEmpty()) {
                const std::optional<qint64> n = toInteger(*v);
                if (!n)
                    fail(number, QStringLiteral("the question type \"%1\" is not a whole number.").arg(decode(*v)));
                qTypeNumber_ = *n;
            }
        }
        if (auto v = element(line, "<Response>", "</Response>"))
            responses_.push_back({ v->toByteArray(), number });
        if (auto v = element(line, "<text>", "</text>"))
            text_ = decode(*v);
    }

    void endGroup()
    {
        if (questionNo_.text.isEmpty() || databaseId_.text.isEmpty() || qType_.text.isEmpty())
            return;
        const qint64 question = id(databaseId_, "question id");
        if (respondent_ == 0) {
            addRespondent_.execute();
            respondent_ = SurveyFile::NewId(connection_.lastInsertId(), QStringLiteral("respondent"));
            ++respondents_;
        }
        const QString empty(QLatin1String(""));
        switch (qTypeNumber_) {
        case 0:
            addAnswer_.execute({ question, respondent_, 1, text_.isNull() ? empty : text_, QVariant() });
            break;
        case 1:
            for (const Value& r : responses_)
                addAnswer_.execute({ question, respondent_, id(r, "response id"), empty, QVariant() });
            break;
        case 2:
            if (!responses_.empty())
                addAnswer_.execute({ question, respondent_, id(responses_.front(), "response id"), empty, QVariant() });
            break;
        case 3:
            for (const Value& r : responses_) {
                const qsizetype comma = r.text.indexOf(',');
                if (comma < 0)
                    fail(r.line, QStringLiteral("the matrix answer \"%1\" has no \",\".").arg(decode(r.text)));
                const qsizetype second = r.text.indexOf(',', comma + 1);
                const Value column { r.text.left(comma), r.line };
                const Value row { r.text.mid(comma + 1, second < 0 ? -1 : second - comma - 1), r.line };
                addAnswer_.execute(
                    { question, respondent_, id(row, "response id"), empty, id(column, "answer-scale column id") });
            }
            break;
        default:
            break; // other types carry no answer rows
        }
    }

    db::Connection& connection_;
    db::Statement addRespondent_;
    db::Statement addAnswer_;
    int state_ = 0;
    qint64 respondent_ = 0;
    int respondents_ = 0;
    Value databaseId_;
    Value questionNo_;
    Value qType_;
    qint64 qTypeNumber_ = 0;
    QString text_;
    std::vector<Value> responses_;
};

} // namespace

namespace ResultsImport {

int DoLoadXML(db::Connection& connection, const QString& path, const Progress& progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw db::Error(QStringLiteral("Unable to open the results file %1: %2").arg(path, file.errorString()),
            int(file.error()), kSource);
    const qint64 total = file.size();

    db::Transaction transaction(connection);
    Importer importer(connection);
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    QByteArray buffer;
    qint64 lineNumber = 0;
    qint64 read = 0;
    bool atEnd = false;
    while (!atEnd) {
        const QByteArray chunk = file.read(kChunk);
        if (chunk.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                throw db::Error(QStringLiteral("Unable to read the results file %1: %2").arg(path, file.errorString()),
                    int(file.error()), kSource);
            atEnd = true;
        }
        read += chunk.size();
        buffer += chunk;
        qsizetype start = 0;
        for (;;) {
            qsizetype end = buffer.indexOf('\n', start);
            if (end < 0) {
                // The text after the last line break is a line of its own at the end of the file.
                if (!atEnd || start >= buffer.size())
                    break;
                end = buffer.size();
            }
            QByteArrayView line(buffer.constData() + start, end - start);
            if (line.endsWith('\r'))
                line.chop(1);
            importer.line(line, ++lineNumber);
            start = end + 1;
        }
        buffer.remove(0, std::min(start, buffer.size()));
        if (progress && !atEnd && sinceProgress.elapsed() >= kProgressMs) {
            if (!progress(read, total))
                cancelled();
            sinceProgress.restart();
        }
    }
    if (progress && !progress(read, total))
        cancelled();
    transaction.commit();
    return importer.respondents();
}

} // namespace ResultsImport
