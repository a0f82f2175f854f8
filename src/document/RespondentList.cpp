#include "document/RespondentList.h"

#include "document/RespondentAnswers.h"
#include "platform/Database.h"

#include <algorithm>
#include <cstring>

namespace {

// The example answers kept at most: many screens of rows, a few hundred kilobytes.
constexpr int kKeptAnswers = 4096;
// Rows read beyond those in view, above and below: a scroll by a few rows finds them read. Each
// answer read costs a look-up in the answer index, which a large survey file may have to fetch
// from the disk, so the margin stays small.
constexpr int kMargin = 8;
// Rows read from one asked for outside those in view, onwards: a caller going down the list
// reads them in blocks.
constexpr int kBlock = 64;

// "yyyy-MM-dd HH:mm:ss": where the digits are, and the other characters.
constexpr int kDateLength = 19;
constexpr char kDateShape[] = "0000-00-00 00:00:00";

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

namespace RespondentAnswers {

qint64 List::dateKey(QByteArrayView stored)
{
    if (stored.isNull())
        return kNull;
    if (stored.size() == kDateLength) {
        qint64 digits = 0;
        bool shaped = true;
        for (int i = 0; i < kDateLength && shaped; ++i) {
            const char c = stored.at(i);
            if (kDateShape[i] == '0') {
                shaped = isDigit(c);
                digits = digits * 10 + (c - '0');
            } else {
                shaped = c == kDateShape[i];
            }
        }
        if (shaped)
            return digits;
    }
    const QByteArray text = stored.toByteArray();
    const auto known = otherDateKeys_.constFind(text);
    if (known != otherDateKeys_.cend())
        return *known;
    const qint64 key = kOther - qint64(otherDates_.size());
    otherDates_.push_back(text);
    otherDateKeys_.insert(text, key);
    return key;
}

quint32 List::sourceKey(QByteArrayView stored)
{
    // A survey has few sources: they are compared before anything is hashed.
    constexpr qsizetype kFew = 8;
    for (qsizetype i = 0; i < std::min(kFew, qsizetype(sourceTexts_.size())); ++i) {
        if (stored == QByteArrayView(sourceTexts_[size_t(i)]))
            return quint32(i);
    }
    const QByteArray text = QByteArray::fromRawData(stored.data(), stored.size());
    const auto known = sourceKeys_.constFind(text);
    if (known != sourceKeys_.cend())
        return *known;
    const auto key = quint32(sources_.size());
    sources_.append(QString::fromUtf8(stored));
    sourceTexts_.push_back(stored.toByteArray());
    sourceKeys_.insert(sourceTexts_.back(), key);
    return key;
}

QByteArrayView List::dateText(qint64 when, char* buffer) const
{
    if (when == kNull)
        return {};
    if (when <= kOther)
        return otherDates_[size_t(kOther - when)];
    for (int i = kDateLength - 1; i >= 0; --i) {
        if (kDateShape[i] == '0') {
            buffer[i] = char('0' + when % 10);
            when /= 10;
        } else {
            buffer[i] = kDateShape[i];
        }
    }
    return QByteArrayView(buffer, kDateLength);
}

int List::compareDates(qint64 a, qint64 b) const
{
    if (a == b)
        return 0;
    if (a >= 0 && b >= 0)
        return a < b ? -1 : 1;
    if (a == kNull || b == kNull)
        return a == kNull ? -1 : 1;
    char bufferA[kDateLength];
    char bufferB[kDateLength];
    const QByteArrayView textA = dateText(a, bufferA);
    const QByteArrayView textB = dateText(b, bufferB);
    const int common = std::memcmp(textA.data(), textB.data(), size_t(std::min(textA.size(), textB.size())));
    if (common != 0)
        return common;
    return textA.size() < textB.size() ? -1 : (textA.size() > textB.size() ? 1 : 0);
}

bool List::before(const Row& a, const Row& b) const
{
    // Two dates of the usual shape, as their numbers.
    if (a.when >= 0 && b.when >= 0)
        return a.when != b.when ? a.when > b.when : a.id > b.id;
    const int dates = compareDates(a.when, b.when);
    return dates != 0 ? dates > 0 : a.id > b.id;
}

bool List::readable(const db::Connection& connection) const
{
    return connection.isOpen() && connection.path() == path_;
}

void List::read(db::Connection& connection)
{
    List fresh;
    fresh.question_ = question_;
    fresh.path_ = connection.path();
    // In the table's own order, which needs no index, then sorted here: far quicker than the
    // date index, which visits the table's rows in the order of the dates.
    db::Recordset rs = connection.openRecordset(QStringLiteral("SELECT id, submitteddate, source FROM respondent"));
    for (; !rs.atEnd(); rs.moveNext()) {
        const auto id = qint32(rs.int64(0));
        fresh.rows_.push_back({ fresh.dateKey(rs.utf8(1)), id, fresh.sourceKey(rs.utf8(2)) });
        fresh.maxId_ = std::max(fresh.maxId_, id);
    }
    rs = db::Recordset();
    // Respondents are mostly added in the order of their dates, newest last: then the reverse is
    // the list's order.
    std::reverse(fresh.rows_.begin(), fresh.rows_.end());
    const auto before = [&fresh](const Row& a, const Row& b) { return fresh.before(a, b); };
    if (!std::is_sorted(fresh.rows_.begin(), fresh.rows_.end(), before))
        std::sort(fresh.rows_.begin(), fresh.rows_.end(), before);
    fresh.rows_.shrink_to_fit();
    *this = std::move(fresh);
}

void List::clear()
{
    *this = List();
}

QString List::submitted(int row) const
{
    char buffer[kDateLength];
    return QString::fromUtf8(dateText(rows_[size_t(row)].when, buffer));
}

int List::rowOf(qint32 id) const
{
    const auto found = std::find_if(rows_.cbegin(), rows_.cend(), [id](const Row& row) { return row.id == id; });
    return found == rows_.cend() ? -1 : int(found - rows_.cbegin());
}

List::Moved List::update(db::Connection& connection, qint32 id)
{
    db::Recordset rs
        = connection.openRecordset(QStringLiteral("SELECT submitteddate, source FROM respondent WHERE id = ?"), { id });
    std::optional<Row> now;
    if (!rs.atEnd())
        now = Row { dateKey(rs.utf8(0)), id, sourceKey(rs.utf8(1)) };
    rs = db::Recordset();

    Moved moved;
    moved.from = rowOf(id);
    if (moved.from >= 0)
        rows_.erase(rows_.begin() + moved.from);
    answers_.remove(id);
    if (now) {
        const auto place = std::lower_bound(
            rows_.begin(), rows_.end(), *now, [this](const Row& a, const Row& b) { return before(a, b); });
        moved.to = int(place - rows_.begin());
        rows_.insert(place, *now);
        maxId_ = std::max(maxId_, id);
    } else if (id == maxId_) {
        maxId_ = 0;
        for (const Row& row : rows_)
            maxId_ = std::max(maxId_, row.id);
    }
    return moved;
}

bool List::matchesFile(db::Connection& connection) const
{
    if (!readable(connection))
        return false;
    // Two statements, so that SQLite counts from the b-tree and finds the highest id at its end,
    // rather than visiting every row for both.
    if (connection.openRecordset(QStringLiteral("SELECT COUNT(*) FROM respondent")).int64(0) != qint64(rows_.size()))
        return false;
    return rows_.empty()
        || connection.openRecordset(QStringLiteral("SELECT MAX(id) FROM respondent")).int64(0) == maxId_;
}

void List::setExampleQuestion(int questionId)
{
    if (questionId == question_)
        return;
    question_ = questionId;
    answers_.clear();
}

std::optional<QString> List::exampleAnswer(db::Connection& connection, int row)
{
    if (question_ < 0 || row < 0 || row >= size())
        return QString();
    const auto known = answers_.constFind(id(row));
    if (known != answers_.cend())
        return *known;
    if (!readable(connection))
        return std::nullopt;
    readAnswers(connection, row, row + kBlock - 1);
    return answers_.value(id(row));
}

void List::readExampleAnswers(db::Connection& connection, int first, int last)
{
    readAnswers(connection, first - kMargin, last + kMargin);
}

void List::readAnswers(db::Connection& connection, int first, int last)
{
    if (question_ < 0 || !readable(connection))
        return;
    first = std::max(0, first);
    last = std::min(size() - 1, last);
    std::vector<qint32> ids;
    for (int row = first; row <= last; ++row) {
        if (!answers_.contains(id(row)))
            ids.push_back(id(row));
    }
    if (ids.empty())
        return;
    if (answers_.size() + qsizetype(ids.size()) > kKeptAnswers) {
        answers_.clear();
        ids.clear();
        for (int row = first; row <= last; ++row)
            ids.push_back(id(row));
    }
    const QStringList read = RespondentAnswers::readExampleAnswers(connection, question_, ids);
    for (size_t i = 0; i < ids.size(); ++i)
        answers_.insert(ids[i], read.at(qsizetype(i)));
}

} // namespace RespondentAnswers
