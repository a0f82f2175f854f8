#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The program's help file ("bhelp.hlp"): topics addressed by context numbers, each with a title,
// index keywords and a body in simple HTML. Links between topics are written "topic:N".
//
// The file is text in UTF-8. Its first line is the signature "TESSIVO HELP 1"; then each topic
// starts with a line ".topic N", followed by ".title ..." and ".keywords a; b; c" lines and the
// body lines. Empty lines and lines starting with "#" before a topic's first body line are
// skipped.
struct HelpTopic {
    int context = 0;
    QString title;
    QStringList keywords;
    QString body; // HTML
};

class HelpFile {
public:
    // Reads the file; false with a reason when it cannot be read or is not a help file.
    bool load(const QString& path, QString* error = nullptr);
    // Reads help-file text (the same format as the file).
    bool parse(const QString& text, QString* error = nullptr);

    const QList<HelpTopic>& topics() const { return topics_; }
    // The topic with the context number; nothing when there is none.
    const HelpTopic* find(int context) const;

    struct IndexEntry {
        QString keyword;
        int context = 0;
    };
    // Every keyword of every topic, sorted without regard to case (then by context number).
    QList<IndexEntry> index() const;
    // The context numbers of the topics whose title or text holds every word given, in file order;
    // words are compared without regard to case.
    QList<int> search(const QString& words) const;

    static QString signature() { return QStringLiteral("TESSIVO HELP 1"); }

private:
    QList<HelpTopic> topics_;
    QList<QString> plain_; // the plain text of each topic, for searching
};
