#include "platform/HelpFile.h"

#include <QFile>
#include <QTextDocument>

#include <algorithm>

bool HelpFile::load(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        topics_.clear();
        plain_.clear();
        return false;
    }
    return parse(QString::fromUtf8(f.readAll()), error);
}

bool HelpFile::parse(const QString& text, QString* error)
{
    topics_.clear();
    plain_.clear();
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (lines.isEmpty() || lines.first().trimmed() != signature()) {
        if (error)
            *error = QStringLiteral("This is not a help file.");
        return false;
    }

    QList<HelpTopic> topics;
    bool inBody = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.startsWith(QLatin1String(".topic "))) {
            bool ok = false;
            const int context = line.mid(7).trimmed().toInt(&ok);
            if (!ok) {
                if (error)
                    *error = QStringLiteral("Line %1: \"%2\" has no context number.").arg(i + 1).arg(line);
                return false;
            }
            topics.append(HelpTopic { context, QString(), QStringList(), QString() });
            inBody = false;
            continue;
        }
        if (topics.isEmpty())
            continue;
        HelpTopic& t = topics.last();
        if (!inBody && line.startsWith(QLatin1String(".title "))) {
            t.title = line.mid(7).trimmed();
        } else if (!inBody && line.startsWith(QLatin1String(".keywords "))) {
            for (const QString& k : line.mid(10).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                if (!k.trimmed().isEmpty())
                    t.keywords << k.trimmed();
            }
        } else if (!inBody && (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))) {
            continue;
        } else {
            inBody = true;
            t.body += line + QLatin1Char('\n');
        }
    }

    topics_ = topics;
    for (const HelpTopic& t : topics_) {
        QTextDocument doc;
        doc.setHtml(t.body);
        plain_ << t.title + QLatin1Char('\n') + doc.toPlainText();
    }
    return true;
}

const HelpTopic* HelpFile::find(int context) const
{
    for (const HelpTopic& t : topics_) {
        if (t.context == context)
            return &t;
    }
    return nullptr;
}

QList<HelpFile::IndexEntry> HelpFile::index() const
{
    QList<IndexEntry> entries;
    for (const HelpTopic& t : topics_) {
        for (const QString& k : t.keywords)
            entries.append({ k, t.context });
    }
    std::stable_sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) {
        const int c = QString::compare(a.keyword, b.keyword, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.context < b.context;
    });
    return entries;
}

QList<int> HelpFile::search(const QString& words) const
{
    const QStringList wanted = words.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<int> found;
    if (wanted.isEmpty())
        return found;
    for (qsizetype i = 0; i < topics_.size(); ++i) {
        const bool all = std::all_of(wanted.begin(), wanted.end(),
            [&](const QString& w) { return plain_.at(i).contains(w, Qt::CaseInsensitive); });
        if (all)
            found << topics_.at(i).context;
    }
    return found;
}
