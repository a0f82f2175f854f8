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
}  // namespace

int ToPixelsX(int twips)
{
    return int(std::lround(twips * dpiX() / 1440.0));
}

int ToPixelsY(int twips)
{
    return int(std::lround(twips * dpiY() / 1440.0));
}

int FromPixelsX(int pixels)
{
    return int(std::lround(pixels * 1440.0 / dpiX()));
}

int FromPixelsY(int pixels)
{
    return int(std::lround(pixels * 1440.0 / dpiY()));
}

}  // namespace Twips

#include <QWidget>

namespace Twips {

void Place(QWidget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(ToPixelsX(left), ToPixelsY(top), ToPixelsX(width), ToPixelsY(height));
}

int Left(const QWidget* widget)
{
    return FromPixelsX(widget->x());
}

int Top(const QWidget* widget)
{
    return FromPixelsY(widget->y());
}

int Width(const QWidget* widget)
{
    return FromPixelsX(widget->width());
}

int Height(const QWidget* widget)
{
    return FromPixelsY(widget->height());
}

void SetLeft(QWidget* widget, int left)
{
    widget->move(ToPixelsX(left), widget->y());
}

void SetTop(QWidget* widget, int top)
{
    widget->move(widget->x(), ToPixelsY(top));
}

void SetWidth(QWidget* widget, int width)
{
    widget->resize(ToPixelsX(width), widget->height());
}

void SetHeight(QWidget* widget, int height)
{
    widget->resize(widget->width(), ToPixelsY(height));
}

}  // namespace Twips
