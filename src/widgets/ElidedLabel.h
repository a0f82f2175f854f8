#pragma once

#include <QLabel>

// A one-line label for text that may be longer than the room it gets, such as a file path: it
// shows the text cut in the middle with "…" when it does not fit, and the whole text as its
// tooltip and accessible name. However long the text, it asks its window for no more than a few
// characters of width.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The whole text; text() is what is shown.
    QString fullText() const { return full_; }
    void setFullText(const QString& text);

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showElided();

    QString full_;
};
