#pragma once

class QWidget;

// Lengths of the window layout are reckoned in twips: 1440 to the inch at the screen's logical
// resolution. Positions are relative to the widget's parent.
namespace Twips {
int ToPixelsX(int twips);
int ToPixelsY(int twips);
int FromPixelsX(int pixels);
int FromPixelsY(int pixels);

void Place(QWidget* widget, int left, int top, int width, int height);
int Left(const QWidget* widget);
int Top(const QWidget* widget);
int Width(const QWidget* widget);
int Height(const QWidget* widget);
void SetLeft(QWidget* widget, int left);
void SetTop(QWidget* widget, int top);
void SetWidth(QWidget* widget, int width);
void SetHeight(QWidget* widget, int height);
}  // namespace Twips
