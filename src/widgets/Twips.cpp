#include "widgets/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Twips {

namespace {
double dpiX()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}
double dpiY()
{
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}
} // namespace

int toPixelsX(int twips)
{
    return int(std::lround(twips * dpiX() / 1440.0));
}

int toPixelsY(int twips)
{
    return int(std::lround(twips * dpiY() / 1440.0));
}

int fromPixelsX(int pixels)
{
    return int(std::lround(pixels * 1440.0 / dpiX()));
}

int fromPixelsY(int pixels)
{
    return int(std::lround(pixels * 1440.0 / dpiY()));
}

} // namespace Twips

#include <QWidget>

namespace Twips {

void place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height));
}

int leftOf(const QWidget* widget)
{
    return fromPixelsX(widget->x());
}

int topOf(const QWidget* widget)
{
    return fromPixelsY(widget->y());
}

int widthOf(const QWidget* widget)
{
    return fromPixelsX(widget->width());
}

int heightOf(const QWidget* widget)
{
    return fromPixelsY(widget->height());
}

void setLeft(QWidget* widget, int left)
{
    widget->move(toPixelsX(left), widget->y());
}

void setTop(QWidget* widget, int top)
{
    widget->move(widget->x(), toPixelsY(top));
}

void setWidth(QWidget* widget, int width)
{
    widget->resize(toPixelsX(width), widget->height());
}

void setHeight(QWidget* widget, int height)
{
    widget->resize(widget->width(), toPixelsY(height));
}

} // namespace Twips
