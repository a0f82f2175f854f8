#include "platform/RichTextBox.h"

#include "platform/Rtf.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(true);
    setTabChangesFocus(false);
}

QString RichTextBox::TextRTF() const
{
    return rtf::write(*document());
}

void RichTextBox::setTextRTF(const QString& rtfOrPlain)
{
    rtf::read(rtfOrPlain, document());
    moveCursor(QTextCursor::Start);
}

QString RichTextBox::Text() const
{
    return rtf::plainText(*document());
}

void RichTextBox::setText(const QString& plain)
{
    setPlainText(QString(plain).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

int RichTextBox::SelStart() const
{
    return textCursor().selectionStart();
}

void RichTextBox::setSelStart(int position)
{
    QTextCursor c = textCursor();
    c.setPosition(qBound(0, position, document()->characterCount() - 1));
    setTextCursor(c);
}

int RichTextBox::SelLength() const
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

QString RichTextBox::SelText() const
{
    return textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
}

bool RichTextBox::SaveFile(const QString& path, QString* error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(TextRTF().toLatin1());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    Q_EMIT keyDown(event->key(), event->modifiers());
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
