#include "web/ResultsImport.h"

#include "document/SurveyFile.h"
#include "platform/Database.h"

#include <QElapsedTimer>
#include <QFile>
#include <QUtf8StringView>

#include <algorithm>
#include <charconv>
#include <cstring>
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

// Where a tag first stands in the line, or -1. Every tag begins with "<", so the search runs at
// the speed of memchr through a long value.
qsizetype find(QByteArrayView line, QByteArrayView tag)
{
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    for (const char* p = begin; end - p >= tag.size(); ++p) {
        p = static_cast<const char*>(std::memchr(p, '<', size_t(end - p - tag.size() + 1)));
        if (!p)
            return -1;
        if (std::memcmp(p, tag.data(), size_t(tag.size())) == 0)
            return p - begin;
    }
    return -1;
}

bool holds(QByteArrayView line, QByteArrayView tag)
{
    return find(line, tag) >= 0;
}

// The text between the first opening and the first closing tag of the line, when both stand in
// it in that order.
std::optional<QByteArrayView> element(QByteArrayView line, QByteArrayView open, QByteArrayView close)
{
    const qsizetype start = find(line, open);
    if (start < 0)
        return std::nullopt;
    const qsizetype end = find(line, close);
    const qsizetype from = start + open.size();
    if (end < from)
        return std::nullopt;
    return line.sliced(from, end - from);
}

// A text value as UTF-8: as it is when it is valid UTF-8, otherwise taken as Latin-1, so no
// character is lost.
QByteArray utf8Text(QByteArrayView bytes)
{
    if (QUtf8StringView(bytes.data(), bytes.size()).isValidUtf8())
        return bytes.toByteArray();
    QByteArray text;
    text.reserve(bytes.size() + std::count_if(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; }));
    for (const char c : bytes) {
        const uchar u = uchar(c);
        if (u < 0x80) {
            text += c;
        } else {
            text += char(0xc0 | (u >> 6));
            text += char(0x80 | (u & 0x3f));
        }
    }
    return text;
}

// A value as a message shows it: its start only, and a control character (a NUL...) as the
// replacement character, so that the message shows what it names.
QString shown(QByteArrayView bytes)
{
    constexpr qsizetype kShown = 40;
    qsizetype n = std::min(bytes.size(), kShown);
    // Not in the middle of a character of UTF-8.
    for (int back = 0; back < 3 && n > 0 && n < bytes.size() && (uchar(bytes[n]) & 0xc0) == 0x80; ++back)
        --n;
    QString text = QString::fromUtf8(utf8Text(bytes.first(n)));
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QChar::ReplacementCharacter;
    }
    return n < bytes.size() ? text + QStringLiteral("...") : text;
}

// A whole number in decimal, with blanks around it allowed: every other byte of the field (a
// NUL, a letter, a second number) makes it none.
std::optional<qint64> toInteger(QByteArrayView text)
{
    text = text.trimmed();
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (end - begin > 1 && *begin == '+' && begin[1] != '-')
        ++begin;
    qint64 n = 0;
    const auto [stop, error] = std::from_chars(begin, end, n);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return n;
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
        fail(v.line, QStringLiteral("the %1 \"%2\" is not a number.").arg(QLatin1String(what), shown(v.text)));
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
        if (holds(line, "<userresponse>"))
            state_ = 1;
        if (state_ == 1 && holds(line, "<r>")) {
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
        if (state_ == 2 && holds(line, "</r>")) {
            state_ = 1;
            endGroup();
        }
        if (holds(line, "</userresponse>")) {
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
                    fail(number, QStringLiteral("the question type \"%1\" is not a whole number.").arg(shown(*v)));
                qTypeNumber_ = *n;
            }
        }
        if (auto v = element(line, "<Response>", "</Response>"))
            responses_.push_back({ v->toByteArray(), number });
        if (auto v = element(line, "<text>", "</text>"))
            text_ = utf8Text(*v);
    }

    void endGroup()
    {
        if (questionNo_.text.isEmpty() || databaseId_.text.isEmpty() || qType_.text.isEmpty())
            return;
        const qint64 question = id(databaseId_, "question id");
        if (respondent_ == 0) {
            addRespondent_.execute();
            respondent_ = SurveyFile::newId(connection_.lastInsertId(), QStringLiteral("respondent"));
            ++respondents_;
        }
        const QString empty(QLatin1String(""));
        switch (qTypeNumber_) {
        case 0:
            // The text is bound as it is, so that a long answer is not copied on its way.
            addAnswer_.execute({ question, respondent_, 1, QVariant::fromValue(db::Utf8Text { text_ }), QVariant() });
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
                    fail(r.line, QStringLiteral("the matrix answer \"%1\" has no \",\".").arg(shown(r.text)));
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
    QByteArray text_; // UTF-8
    std::vector<Value> responses_;
};

// The lines of a results file, read in blocks. The file's first line end says how its lines end,
// CR LF or LF alone, and only that one ends a line: a value keeps any other line break. The text
// after the last line end is a line too.
class LineReader {
public:
    explicit LineReader(QFile& file)
        : file_(file)
        , size_(file.size())
    { }

    // The next line without its line end, valid until the next call; nothing at the end.
    std::optional<QByteArrayView> next()
    {
        // A buffer grown for a long line is given back once the line is done, before the lines
        // after it are used (the answer it held may be stored while they are read).
        if (buffer_.capacity() > 4 * kChunk && buffer_.size() - start_ < kChunk)
            dropReadLines(true);
        for (;;) {
            const qsizetype end = lineEnd();
            if (end >= 0) {
                const qsizetype from = start_;
                start_ = scanned_ = end + 1;
                return QByteArrayView(buffer_.constData() + from, end - from - (ends_ == Ends::CrLf ? 1 : 0));
            }
            if (atEnd_) {
                if (start_ >= buffer_.size())
                    return std::nullopt;
                const qsizetype from = start_;
                start_ = scanned_ = buffer_.size();
                return QByteArrayView(buffer_.constData() + from, buffer_.size() - from);
            }
            readBlock();
        }
    }

    qint64 bytesRead() const { return read_; }

private:
    enum class Ends { NotSeen, CrLf, Lf };

    // The position of the LF that ends the line at start_, or -1 when the buffer holds no line end
    // yet. The search goes on from where the last one stopped, so every byte is looked at once.
    qsizetype lineEnd()
    {
        for (;;) {
            const qsizetype lf = buffer_.indexOf('\n', scanned_);
            if (lf < 0) {
                scanned_ = buffer_.size();
                return -1;
            }
            // Nothing before the first line end has left the buffer yet.
            const bool crBefore = lf > start_ && buffer_.at(lf - 1) == '\r';
            if (ends_ == Ends::NotSeen)
                ends_ = crBefore ? Ends::CrLf : Ends::Lf;
            if (ends_ == Ends::Lf || crBefore)
                return lf;
            scanned_ = lf + 1;
        }
    }

    // Takes the lines already read out of the buffer; shrink: into a buffer of their size.
    void dropReadLines(bool shrink)
    {
        if (shrink)
            buffer_ = buffer_.sliced(start_);
        else if (start_ > 0)
            buffer_.remove(0, start_);
        scanned_ -= start_;
        start_ = 0;
    }

    void readBlock()
    {
        dropReadLines(false);
        // A long line grows the buffer by half again each time, but never beyond what the rest
        // of the file can fill, so a line the size of the file takes about its size.
        const qsizetype kept = buffer_.size();
        if (buffer_.capacity() - kept < kChunk) {
            const qint64 rest = std::max<qint64>(size_ - read_, kChunk);
            buffer_.reserve(qsizetype(std::min<qint64>(kept + std::max<qint64>(kept / 2, kChunk), kept + rest)));
        }
        buffer_.resize(kept + kChunk);
        const qint64 n = file_.read(buffer_.data() + kept, kChunk);
        if (n < 0)
            throw db::Error(
                QStringLiteral("Unable to read the results file %1: %2").arg(file_.fileName(), file_.errorString()),
                int(file_.error()), kSource);
        buffer_.resize(kept + qsizetype(n));
        read_ += n;
        atEnd_ = n == 0;
    }

    QFile& file_;
    const qint64 size_;
    QByteArray buffer_;
    qsizetype start_ = 0; // where the next line begins
    qsizetype scanned_ = 0; // no line end before this, from start_ on
    Ends ends_ = Ends::NotSeen;
    qint64 read_ = 0;
    bool atEnd_ = false;
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
    LineReader lines(file);
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    qint64 lineNumber = 0;
    qint64 reported = 0;
    while (const std::optional<QByteArrayView> line = lines.next()) {
        importer.line(*line, ++lineNumber);
        if (progress && lines.bytesRead() != reported && sinceProgress.elapsed() >= kProgressMs) {
            reported = lines.bytesRead();
            if (!progress(reported, total))
                cancelled();
            sinceProgress.restart();
        }
    }
    if (progress && !progress(lines.bytesRead(), total))
        cancelled();
    transaction.commit();
    return importer.respondents();
}

} // namespace ResultsImport
