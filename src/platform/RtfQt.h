#pragma once

#include "platform/RtfModel.h"

class QTextDocument;

namespace rtf::detail {

// The document's paragraphs, their marks and runs, in the styles their formats resolve to on the
// document's default font.
Content contentOf(const QTextDocument& doc);

// Replaces the document's content, as one step that cannot be undone. A content with a word longer
// than a thousand characters sets the document to wrap anywhere, one without to wrap at word
// boundaries or anywhere; a document that does not wrap keeps its mode.
void fill(QTextDocument* doc, const Content& content);

} // namespace rtf::detail
