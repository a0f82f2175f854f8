#include "widgets/ElidedLabel.h"

#include <QResizeEvent>

ElidedLabel::ElidedLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::setFullText(const QString& text)
{
    full_ = text;
    setToolTip(text);
    setAccessibleName(text);
    showElided();
}

QSize ElidedLabel::minimumSizeHint() const
{
    QSize size = QLabel::minimumSizeHint();
    size.setWidth(qMin(size.width(), fontMetrics().horizontalAdvance(QStringLiteral("…")) * 4));
    return size;
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showElided();
}

void ElidedLabel::showElided()
{
    const QString shown = fontMetrics().elidedText(full_, Qt::ElideMiddle, qMax(0, contentsRect().width()));
    if (shown != text())
        setText(shown);
}
