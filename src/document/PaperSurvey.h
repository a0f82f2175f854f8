#pragma once

#include <QList>
#include <QString>

class QIODevice;

namespace db {
class Connection;
}

// The printable questionnaire: every question of the survey file, in survey order, as a bold
// numbered heading followed by room to answer (empty lines, a box after every answer, a grid of
// boxes for a matrix), written as an RTF document.
namespace PaperSurvey {

// The document's body font and size; headings are one point larger and bold.
inline const QString kFont = QStringLiteral("Arial");
constexpr double kPoints = 10;
// The box after every answer.
constexpr char16_t kBox = u'\u2610';

// Writes the questionnaire of the survey file into out. Throws db::Error when a statement fails
// or the document cannot be written whole.
void write(db::Connection& connection, QIODevice& out);

// The width of a text in the body font, in twips.
int textTwips(const QString& text);

// Tab stops, in twips, that give every box and column its own column whatever the captions' length.
// An answer line: a tab, the answer, a tab, its box.
QList<int> answerStops(const QStringList& answers);
// A matrix: its row lines (the row caption, a tab, then a box and a tab per column) and its header
// line (two tabs, then each column caption and a tab), whose captions stand above the boxes.
QList<int> matrixRowStops(const QStringList& rowCaptions, const QStringList& columnCaptions);
QList<int> matrixHeaderStops(const QList<int>& rowStops);

} // namespace PaperSurvey
