#pragma once

#include "document/ChartData.h"

#include <QList>
#include <QWidget>

// The 3D styles of the chart (bar, line, area, step, combination), drawn by hand in an oblique
// projection: a floor and two walls with grid lines, bodies with depth whose front, top and side
// faces are shaded differently, the counts over the bodies and the category labels under them.
class Chart3DView : public QWidget {
public:
    explicit Chart3DView(QWidget* parent = nullptr);

    void setChart(int type, const QList<Chart::Point>& data);
    // Keeps the lowest `pixels` rows free of the drawing.
    void setBottomReserve(int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int type_ = 0;
    QList<Chart::Point> data_;
    int bottomReserve_ = 0;
};
