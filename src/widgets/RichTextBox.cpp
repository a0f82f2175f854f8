#include "widgets/RichTextBox.h"

#include "platform/Rtf.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {
const QString kRtfMime = QStringLiteral("text/rtf");
const QString kRtfMimeAlt = QStringLiteral("application/rtf");
} // namespace

RichTextBox::RichTextBox(QWidget* parent)
    : QTextEdit(parent)
{
    setAcceptRichText(true);
    setTabChangesFocus(false);
    // Any change of the content, by the user or by code, ends the showing of a text's start.
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (!loading_)
            wholeText_ = QString();
    });
}

QString RichTextBox::textRTF() const
{
    if (showsPart())
        return wholeText_;
    return rtf::write(*document());
}

void RichTextBox::setTextRTF(const QString& rtfOrPlain)
{
    setTextRTF(rtfOrPlain, -1);
}

bool RichTextBox::setTextRTF(const QString& rtfOrPlain, qsizetype maxChars)
{
    loading_ = true;
    bool cut = false;
    if (maxChars < 0)
        rtf::read(rtfOrPlain, document());
    else
        cut = rtf::readLeading(rtfOrPlain, document(), maxChars);
    // Cut, the text is longer than nothing, so never null.
    wholeText_ = cut ? rtfOrPlain : QString();
    // The reader chose the wrap mode for the text; the box takes it over, which lays out nothing
    // again as the document already has it.
    if (lineWrapMode() != NoWrap)
        setWordWrapMode(document()->defaultTextOption().wrapMode());
    moveCursor(QTextCursor::Start);
    loading_ = false;
    return cut;
}

QString RichTextBox::text() const
{
    return rtf::plainText(*document());
}

void RichTextBox::setText(const QString& plain)
{
    setPlainText(QString(plain).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

int RichTextBox::selStart() const
{
    return textCursor().selectionStart();
}

void RichTextBox::setSelStart(int position)
{
    QTextCursor c = textCursor();
    c.setPosition(qBound(0, position, document()->characterCount() - 1));
    setTextCursor(c);
}

int RichTextBox::selLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void RichTextBox::setSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(qBound(start, start + length, document()->characterCount() - 1), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextBox::selText() const
{
    return textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
}

bool RichTextBox::saveFile(const QString& path, QString* error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(textRTF().toLatin1());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool RichTextBox::toggleFormat(const QKeyEvent* event)
{
    if (isReadOnly())
        return false;
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return false;
    const QTextCharFormat current = currentCharFormat();
    QTextCharFormat change;
    switch (event->key()) {
    case Qt::Key_B:
        change.setFontWeight(current.fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
        break;
    case Qt::Key_I:
        change.setFontItalic(!current.fontItalic());
        break;
    case Qt::Key_U:
        change.setFontUnderline(!current.fontUnderline());
        break;
    default:
        return false;
    }
    mergeCurrentCharFormat(change);
    return true;
}

QMimeData* RichTextBox::createMimeDataFromSelection() const
{
    QMimeData* data = QTextEdit::createMimeDataFromSelection();
    QTextDocument selection;
    selection.setDefaultFont(document()->defaultFont());
    QTextCursor(&selection).insertFragment(textCursor().selection());
    data->setData(kRtfMime, rtf::write(selection).toLatin1());
    return data;
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(kRtfMime) || source->hasFormat(kRtfMimeAlt) || QTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    // Qt's own rich text comes first; RTF serves what other programs put on the clipboard.
    if (source->hasHtml() || !(source->hasFormat(kRtfMime) || source->hasFormat(kRtfMimeAlt))) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    const QByteArray bytes = source->data(source->hasFormat(kRtfMime) ? kRtfMime : kRtfMimeAlt);
    QTextDocument pasted;
    rtf::readBytes(bytes, &pasted);
    QTextCursor cursor = textCursor();
    cursor.insertFragment(QTextDocumentFragment(&pasted));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    Q_EMIT keyDown(event->key(), event->modifiers());
    if (toggleFormat(event)) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextBox::keyReleaseEvent(QKeyEvent* event)
{
    QTextEdit::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        Q_EMIT keyUp(event->key(), event->modifiers());
}

void RichTextBox::focusInEvent(QFocusEvent* event)
{
    QTextEdit::focusInEvent(event);
    Q_EMIT gotFocus();
}

void RichTextBox::focusOutEvent(QFocusEvent* event)
{
    QTextEdit::focusOutEvent(event);
    Q_EMIT lostFocus();
}
