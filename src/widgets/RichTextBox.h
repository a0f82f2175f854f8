#pragma once

#include <QTextEdit>

// A rich-text box: a QTextEdit whose content goes in and out as RTF, with the plain text read back
// with CR LF between paragraphs, and key and focus events as signals (key down before the key
// takes effect, key up after it). Ctrl+B, Ctrl+I and Ctrl+U switch bold, italic and underline of
// the selection (or of what is typed next); the clipboard carries the formatting both as Qt's
// rich text and as RTF, so text pasted from another program keeps its formatting too.
class RichTextBox : public QTextEdit {
    Q_OBJECT

public:
    explicit RichTextBox(QWidget* parent = nullptr);

    // The content as RTF. While the box shows only the start of a text given to setTextRTF and
    // nothing has changed the content since, the whole text as it was given.
    QString textRTF() const;
    void setTextRTF(const QString& rtfOrPlain);
    // Shows no more than the first maxChars characters of the text's plain text; true when the
    // text is longer, so that the box shows only its start.
    bool setTextRTF(const QString& rtfOrPlain, qsizetype maxChars);
    // True while the box shows the start of a longer text, unchanged.
    bool showsPart() const { return !wholeText_.isNull(); }
    // The plain text, paragraphs joined by CR LF.
    QString text() const;
    void setText(const QString& plain);

    int selStart() const;
    void setSelStart(int position);
    int selLength() const;
    void setSelLength(int length);
    QString selText() const;

    // Saves the content as an RTF file; false with a message when it cannot be written.
    bool saveFile(const QString& path, QString* error = nullptr) const;

Q_SIGNALS:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void keyUp(int key, Qt::KeyboardModifiers modifiers);
    void gotFocus();
    void lostFocus();

protected:
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Ctrl+B, Ctrl+I or Ctrl+U; false for any other key.
    bool toggleFormat(const QKeyEvent* event);

    // The whole text while the box shows only its start unchanged; null otherwise.
    QString wholeText_;
    bool loading_ = false;
};
