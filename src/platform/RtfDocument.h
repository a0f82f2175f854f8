#pragma once

#include "platform/BlockWriter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

namespace rtf {

// The format of one appended piece of text; an empty font or 0 points means the document's default.
struct RunFormat {
    QString font;
    double points = 0;
    bool bold = false;
};

// Writes an RTF document for a word processor as it is produced: text is appended at the end, each
// piece with its own format, and goes to the device at once, so a document of any length needs
// little memory. The fonts are declared up front (a font not declared is written in the default).
// Write failures are remembered and reported by ok(); the caller decides what to do with the file
// (with a QSaveFile: commit only when ok()).
class DocumentWriter {
public:
    DocumentWriter(QIODevice& out, const QStringList& fonts, double defaultPoints);
    DocumentWriter(const DocumentWriter&) = delete;
    DocumentWriter& operator=(const DocumentWriter&) = delete;

    // Appends text: CR LF, CR or LF ends a paragraph, TAB moves to the next tab stop.
    void append(const QString& text, const RunFormat& format = {});

    // A piece of text encoded once, for text a document repeats many times (a report's headings
    // and answer names): appending it costs a copy of its bytes. It gives the same document as
    // append(text, format) would.
    class Piece {
    public:
        Piece() = default;

    private:
        friend class DocumentWriter;
        QByteArray bytes_; // as encoded inside an open paragraph with tabStops_
        QList<int> tabStops_;
        QString text_;
        RunFormat format_;
    };
    Piece encode(const QString& text, const RunFormat& format = {}) const;
    void append(const Piece& piece);
    // The tab stops, in twips from the left margin, of the current paragraph and those after it.
    // An empty list goes back to the default stops.
    void setTabStops(const QList<int>& twips);
    // Closes the document; nothing may be appended afterwards.
    void finish();

    bool ok() const { return out_.ok(); }
    QString errorString() const { return out_.errorString(); }

private:
    // Encodes text into out; `open` tells whether a paragraph is open, before and after.
    void encodeRun(const QString& text, const RunFormat& format, QByteArray& out, bool& open) const;
    QByteArray paragraphStartBytes() const;
    void put(const QByteArray& bytes) { out_.put(bytes); }

    BlockWriter out_;
    QStringList fonts_;
    int defaultHalfPoints_;
    QList<int> tabStops_;
    bool paragraphOpen_ = false;
    bool finished_ = false;
};

} // namespace rtf
