#pragma once

class QWidget;

// Lengths of the window layout are reckoned in twips: 1440 to the inch at the screen's logical
// resolution. Positions are relative to the widget's parent.
namespace Twips {
int toPixelsX(int twips);
int toPixelsY(int twips);
int fromPixelsX(int pixels);
int fromPixelsY(int pixels);

void place(QWidget* widget, int left, int top, int width, int height);
int leftOf(const QWidget* widget);
int topOf(const QWidget* widget);
int widthOf(const QWidget* widget);
int heightOf(const QWidget* widget);
void setLeft(QWidget* widget, int left);
void setTop(QWidget* widget, int top);
void setWidth(QWidget* widget, int width);
void setHeight(QWidget* widget, int height);
} // namespace Twips
