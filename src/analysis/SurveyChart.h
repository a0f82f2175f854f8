#pragma once

#include "document/ChartData.h"

#include <QList>
#include <QWidget>

class QChartView;
class QStackedLayout;
class Chart3DView;

// The chart of the Analyse screen: one series of counts with category labels, drawn in one of
// twelve styles. The type codes are the chart-style list's: 0 3D bar, 1 2D bar, 2 3D line,
// 3 2D line, 4 3D area, 5 2D area, 6 3D step, 7 2D step, 8 3D combination, 9 2D combination,
// 14 pie, 16 2D X-Y. The 2D styles are Qt Charts; the 3D styles are drawn in an oblique
// projection with depth and shaded faces. Every style that writes counts writes each of them, 0
// too. A screen reader finds one object of the role Chart, named after what it shows.
class SurveyChart : public QWidget {
    Q_OBJECT

public:
    explicit SurveyChart(QWidget* parent = nullptr);

    // The type code of the chart-style list's entry at `position` (0 to 11).
    static int typeForStyle(int position);
    static bool is3D(int type) { return type >= 0 && type <= 8 && type % 2 == 0; }

    int chartType() const { return type_; }
    void setChartType(int type);
    const QList<Chart::Point>& data() const { return data_; }
    // The counts and what they count (a question's text): the chart's accessible name is the
    // subject, its description the subject with every label and count.
    void setData(const QString& subject, const QList<Chart::Point>& data);

    // Keeps the rectangle (in the chart's coordinates; a button over the chart) clear of the
    // drawing: nothing is drawn at, below or just above its top edge.
    void keepClearOf(const QRect& area);

private:
    void rebuild();
    void build2D();
    QMargins chartMargins() const;

    int type_ = 0;
    QList<Chart::Point> data_;
    int bottomReserve_ = 0;
    QStackedLayout* stack_ = nullptr;
    QChartView* view2D_ = nullptr;
    Chart3DView* view3D_ = nullptr;
};
