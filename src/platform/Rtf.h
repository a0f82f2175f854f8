#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Rich text as question texts are stored: RTF, read into and written from a QTextDocument.
namespace rtf {

// True when the text is an RTF document ("{\rtf" after optional white space).
bool isRtf(const QString& text);

// Replaces the content of doc with the text: RTF is parsed, anything else is taken as plain text
// (lines split at CR LF, CR or LF). Never fails and never crashes: malformed RTF gives whatever
// text could be read. A text with a word longer than a thousand characters sets the document to
// wrap anywhere (its default text option), one without to wrap at word boundaries or anywhere:
// breaking such a word only between words would make its layout quadratic. A document that does
// not wrap keeps its mode.
void read(const QString& text, QTextDocument* doc);

// The same with no more than the first maxChars characters of the text's plain text (as
// toPlainText counts them), reading no further into the text than those need; true when the text
// is longer, so that the document holds only its start.
bool readLeading(const QString& text, QTextDocument* doc, qsizetype maxChars);

// The same for a source given as bytes, as files and the clipboard carry RTF: bytes outside ASCII
// in its text are characters of the document's code page, as \'hh escapes are. Bytes that are not
// RTF are plain text in UTF-8, or in Windows-1252 when they are not valid UTF-8.
void readBytes(const QByteArray& bytes, QTextDocument* doc);

// The document's text with its paragraphs joined by CR LF (no trailing CR LF).
QString plainText(const QTextDocument& doc);

// The plain text of a stored text (RTF or plain), paragraphs joined by CR LF.
QString toPlainText(const QString& text);
// Its first maxChars characters, as toPlainText(text).left(maxChars) gives them, reading no
// further into the text than they need: what captions of texts of any length use.
QString toPlainText(const QString& text, qsizetype maxChars);
// The caption of a stored text (tree nodes, lists, grids): the start of its plain text cut as
// captionText cuts it, read no further into the text than the caption needs.
QString captionOf(const QString& text);

// The document as RTF: paragraphs, bold, italic, underline, font name and size, colour, tabs and
// every character (\uN for those outside ASCII, with a '?' fallback).
QString write(const QTextDocument& doc);

// Plain text (lines split at CR LF, CR or LF) as an RTF document.
QString fromPlainText(const QString& text);

} // namespace rtf
