#pragma once

#include <QString>
#include <QVariant>

// The text of a database value; "" for a Null value.
QString NullToEmpty(const QVariant& value);
// The text up to, not including, its first NUL character.
QString TrimNull(const QString& text);
// True when the path names an untitled survey: its last four characters are ".tmp" in any case.
bool isUntitledPath(const QString& path);

// The longest caption shown for a question's text.
constexpr qsizetype kCaptionLength = 300;
// The longest text shown whole where a question's whole text is shown (the summary report), as
// the question editor loads no longer one either: of a longer text only the start is shown, so
// that a huge text is never laid out whole.
constexpr qsizetype kWholeTextLength = 1000000;
// A text as a caption (tree node, list entry, grid cell, label, tooltip): its first maxLength
// characters, with "…" when it was longer. The stored text is not changed.
QString captionText(const QString& plain, qsizetype maxLength = kCaptionLength);
// The text on one line: every line break (CR LF, CR, LF, or a line or paragraph separator) a space.
QString oneLine(const QString& text);

// A text from the survey (a question, an answer, a survey or server name) as the caption of a
// widget that reads "&" as a mnemonic (button, check or radio box, label with a buddy, group
// title, menu item): every "&" doubled, so it shows as typed and makes no shortcut.
QString literalCaption(const QString& text);
