#include "analysis/SurveyChart.h"

#include "analysis/Chart3DView.h"

#include <QAccessibleWidget>
#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QStackedLayout>
#include <QValueAxis>

#include <algorithm>

namespace {

const QColor kBarColor(54, 110, 196);
const QColor kLineColor(222, 112, 38);
const QColor kAreaColor(58, 158, 92);
const QColor kStepColor(138, 82, 180);

// The chart's labels as Qt Charts takes them: as rich text, so an answer's name is escaped to show
// as typed ("R&D <30" would lose its "<30", "&amp;" would show as "&").
QStringList categories(const QList<Chart::Point>& data)
{
    QStringList names;
    for (const Chart::Point& point : data) {
        QString name = point.label.trimmed().toHtmlEscaped();
        // Category names must differ from each other on the axis.
        while (names.contains(name))
            name += QLatin1Char(' ');
        names << name;
    }
    return names;
}

// The count axis: from 0 to a little above the largest count, in whole numbers.
QValueAxis* countAxis(const QList<Chart::Point>& data)
{
    double top = 1;
    for (const Chart::Point& point : data)
        top = std::max(top, point.value);
    auto* axis = new QValueAxis;
    axis->setRange(0, top * 1.12);
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->applyNiceNumbers();
    return axis;
}

QLineSeries* line(const QList<QPointF>& points, const QColor& color, bool labels)
{
    auto* series = new QLineSeries;
    series->append(points);
    QPen pen(color, 3);
    series->setPen(pen);
    // The label settings are left alone on a line that bounds an area: Qt Charts 6.4 crashes
    // when they are set on an area's line before the area joins a chart.
    if (labels) {
        series->setPointsVisible(true);
        series->setPointLabelsVisible(true);
        series->setPointLabelsFormat(QStringLiteral("@yPoint"));
        series->setPointLabelsClipping(false);
    }
    return series;
}

QList<QPointF> centres(const QList<Chart::Point>& data, double offset)
{
    QList<QPointF> points;
    for (qsizetype i = 0; i < data.size(); ++i)
        points.append({ double(i) + offset, data.at(i).value });
    return points;
}

QBarSeries* bars(const QList<Chart::Point>& data)
{
    auto* set = new QBarSet(QStringLiteral("Count"));
    for (const Chart::Point& point : data)
        set->append(point.value);
    set->setColor(kBarColor);
    set->setBorderColor(kBarColor.darker(140));
    auto* series = new QBarSeries;
    series->append(set);
    return series;
}

// The counts over the bars: a bar series writes no label for a count of 0, so they are the labels
// of invisible points at the bars' tops.
QScatterSeries* barCounts(const QList<QPointF>& tops)
{
    auto* counts = new QScatterSeries;
    counts->append(tops);
    counts->setMarkerSize(1);
    counts->setColor(Qt::transparent);
    counts->setBorderColor(Qt::transparent);
    counts->setPointLabelsVisible(true);
    counts->setPointLabelsColor(Qt::black);
    counts->setPointLabelsFormat(QStringLiteral("@yPoint"));
    counts->setPointLabelsClipping(false);
    return counts;
}

// The chart's accessible object: a chart, named and described by the widget's accessible name and
// description, whose inner views are no objects of their own.
class ChartAccessible : public QAccessibleWidget {
public:
    explicit ChartAccessible(QWidget* chart)
        : QAccessibleWidget(chart, QAccessible::Chart)
    { }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

QAccessibleInterface* chartAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("SurveyChart") && object && object->isWidgetType())
        return new ChartAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y)
{
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

} // namespace

SurveyChart::SurveyChart(QWidget* parent)
    : QWidget(parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(chartAccessible);
        return true;
    }();
    (void)accessible;
    setAccessibleName(QStringLiteral("Chart"));
    stack_ = new QStackedLayout(this);
    stack_->setContentsMargins(0, 0, 0, 0);
    view2D_ = new QChartView(this);
    view2D_->setObjectName(QStringLiteral("Chart2D"));
    view2D_->setRenderHint(QPainter::Antialiasing);
    view2D_->setFocusPolicy(Qt::NoFocus);
    view2D_->viewport()->setFocusPolicy(Qt::NoFocus);
    view3D_ = new Chart3DView(this);
    stack_->addWidget(view2D_);
    stack_->addWidget(view3D_);
    rebuild();
}

int SurveyChart::typeForStyle(int position)
{
    if (position == 10)
        return 14;
    if (position == 11)
        return 16;
    return position;
}

void SurveyChart::setChartType(int type)
{
    type_ = type;
    rebuild();
}

void SurveyChart::setData(const QString& subject, const QList<Chart::Point>& data)
{
    data_ = data;
    setAccessibleName(subject.trimmed().isEmpty() ? QStringLiteral("Chart") : subject);
    setAccessibleDescription(Chart::description(subject, data));
    rebuild();
}

void SurveyChart::keepClearOf(const QRect& area)
{
    const QRect overlap = area.intersected(rect());
    // A gap of a few pixels above the area, so that no label touches it.
    const int reserve = overlap.isEmpty() ? 0 : std::min(height(), height() - overlap.top() + 4);
    if (reserve == bottomReserve_)
        return;
    bottomReserve_ = reserve;
    view3D_->setBottomReserve(reserve);
    if (QChart* chart = view2D_->chart())
        chart->setMargins(chartMargins());
}

QMargins SurveyChart::chartMargins() const
{
    return QMargins(4, 4, 4, 4 + bottomReserve_);
}

void SurveyChart::rebuild()
{
    if (is3D(type_)) {
        view3D_->setChart(type_, data_);
        stack_->setCurrentWidget(view3D_);
    } else {
        build2D();
        stack_->setCurrentWidget(view2D_);
    }
}

void SurveyChart::build2D()
{
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    chart->setMargins(chartMargins());
    const QStringList names = categories(data_);

    if (type_ == 14) {
        auto* pie = new QPieSeries;
        for (qsizetype i = 0; i < data_.size(); ++i) {
            QPieSlice* slice = pie->append(
                names.at(i) + QStringLiteral(": ") + QString::number(data_.at(i).value), data_.at(i).value);
            slice->setLabelVisible(data_.at(i).value > 0);
            slice->setLabelPosition(QPieSlice::LabelOutside);
        }
        pie->setPieSize(0.62);
        chart->addSeries(pie);
        // The legend names every answer, those nobody chose too.
        chart->legend()->show();
        chart->legend()->setAlignment(Qt::AlignRight);
    } else if (type_ == 16) {
        auto* x = new QCategoryAxis;
        x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        for (qsizetype i = 0; i < names.size(); ++i)
            x->append(names.at(i), double(i + 1));
        x->setRange(0.5, double(std::max<qsizetype>(1, names.size())) + 0.5);
        QValueAxis* y = countAxis(data_);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        const QList<QPointF> points = centres(data_, 1);
        attach(chart, line(points, kLineColor.darker(110), false), x, y);
        // The counts go with the markers, which are drawn over the line.
        auto* dots = new QScatterSeries;
        dots->append(points);
        dots->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        dots->setMarkerSize(11);
        dots->setColor(kBarColor);
        dots->setPointLabelsVisible(true);
        dots->setPointLabelsFormat(QStringLiteral("@yPoint"));
        dots->setPointLabelsClipping(false);
        attach(chart, dots, x, y);
    } else {
        auto* x = new QBarCategoryAxis;
        x->append(names);
        QValueAxis* y = countAxis(data_);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        switch (type_) {
        case 1:
            attach(chart, bars(data_), x, y);
            attach(chart, barCounts(centres(data_, 0)), x, y);
            break;
        case 3:
            attach(chart, line(centres(data_, 0), kLineColor, true), x, y);
            break;
        case 5: {
            QLineSeries* upper = line(centres(data_, 0), kAreaColor, false);
            auto* area = new QAreaSeries(upper);
            // An area does not own the line that bounds it: it goes with the area.
            upper->setParent(area);
            area->setColor(kAreaColor.lighter(120));
            area->setBorderColor(kAreaColor.darker(130));
            area->setPointLabelsVisible(true);
            area->setPointLabelsFormat(QStringLiteral("@yPoint"));
            area->setPointLabelsClipping(false);
            attach(chart, area, x, y);
            break;
        }
        case 7: {
            // Each count a level across its whole category, joined by risers.
            QList<QPointF> steps;
            for (qsizetype i = 0; i < data_.size(); ++i) {
                steps.append({ double(i) - 0.5, data_.at(i).value });
                steps.append({ double(i) + 0.5, data_.at(i).value });
            }
            attach(chart, line(steps, kStepColor, false), x, y);
            auto* labels = new QScatterSeries;
            labels->append(centres(data_, 0));
            labels->setMarkerSize(7);
            labels->setColor(kStepColor);
            labels->setPointLabelsVisible(true);
            labels->setPointLabelsFormat(QStringLiteral("@yPoint"));
            labels->setPointLabelsClipping(false);
            attach(chart, labels, x, y);
            break;
        }
        case 9:
        default:
            attach(chart, bars(data_), x, y);
            attach(chart, line(centres(data_, 0), kLineColor, false), x, y);
            attach(chart, barCounts(centres(data_, 0)), x, y);
            break;
        }
    }

    QChart* old = view2D_->chart();
    view2D_->setChart(chart);
    delete old;
}
