#include "analysis/Chart3DView.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kBarColor(54, 110, 196);
const QColor kLineColor(222, 112, 38);
const QColor kAreaColor(58, 158, 92);
const QColor kStepColor(138, 82, 180);

// A step of 1, 2 or 5 times a power of ten that splits `range` into about `ticks` parts.
double niceStep(double range, int ticks)
{
    const double raw = range / ticks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : { 1.0, 2.0, 5.0, 10.0 }) {
        if (raw <= factor * magnitude)
            return factor * magnitude;
    }
    return 10 * magnitude;
}

QString countText(double value)
{
    return QString::number(value, 'g', 12);
}

// The projection of the plot: x in category slotCount (0 to N), v in counts, z in depth (0 front,
// 1 back). Depth goes up and to the right, so the right sides and the tops of bodies show.
class Projection {
public:
    Projection(const QRectF& front, int slotCount, double maxValue, QPointF depth)
        : front_(front)
        , slotCount_(std::max(1, slotCount))
        , max_(maxValue)
        , depth_(depth)
    { }

    QPointF at(double x, double v, double z) const
    {
        return { front_.left() + x * front_.width() / slotCount_ + z * depth_.x(),
            front_.bottom() - v / max_ * front_.height() + z * depth_.y() };
    }
    double slotWidth() const { return front_.width() / slotCount_; }

private:
    QRectF front_;
    int slotCount_;
    double max_;
    QPointF depth_;
};

void face(QPainter& p, const QList<QPointF>& corners, const QBrush& brush, const QColor& edge)
{
    p.setBrush(brush);
    p.setPen(QPen(edge, 1));
    p.drawPolygon(QPolygonF(corners));
}

// A box from x0 to x1, from the floor up to v, from depth z0 to z1: side, top, then front face.
void box(QPainter& p, const Projection& pr, double x0, double x1, double v, double z0, double z1, const QColor& c)
{
    const QColor edge = c.darker(170);
    face(p, { pr.at(x1, 0, z0), pr.at(x1, 0, z1), pr.at(x1, v, z1), pr.at(x1, v, z0) }, c.darker(150), edge);
    face(p, { pr.at(x0, v, z0), pr.at(x1, v, z0), pr.at(x1, v, z1), pr.at(x0, v, z1) }, c.lighter(145), edge);
    if (v > 0) {
        QLinearGradient shade(pr.at(x0, 0, z0), pr.at(x1, 0, z0));
        shade.setColorAt(0, c.lighter(118));
        shade.setColorAt(1, c.darker(112));
        face(p, { pr.at(x0, 0, z0), pr.at(x1, 0, z0), pr.at(x1, v, z0), pr.at(x0, v, z0) }, shade, edge);
    }
}

// A ribbon through the points (category centres) from depth z0 to z1; its upper surface is lit
// by its slope and its front edge has a thickness of its own.
void ribbon(QPainter& p, const Projection& pr, const QList<QPointF>& points, double z0, double z1, const QColor& c,
    double thickness)
{
    const QColor edge = c.darker(170);
    for (qsizetype i = 0; i + 1 < points.size(); ++i) {
        const QPointF a = points.at(i);
        const QPointF b = points.at(i + 1);
        const QColor surface = b.y() > a.y() ? c.lighter(135) : (b.y() < a.y() ? c.darker(115) : c.lighter(115));
        face(p, { pr.at(a.x(), a.y(), z0), pr.at(b.x(), b.y(), z0), pr.at(b.x(), b.y(), z1), pr.at(a.x(), a.y(), z1) },
            surface, edge);
        const QPointF down(0, thickness);
        face(p,
            { pr.at(a.x(), a.y(), z0), pr.at(b.x(), b.y(), z0), pr.at(b.x(), b.y(), z0) + down,
                pr.at(a.x(), a.y(), z0) + down },
            c.darker(125), edge);
    }
}

} // namespace

Chart3DView::Chart3DView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Chart3D"));
    setAutoFillBackground(false);
}

void Chart3DView::setChart(int type, const QList<Chart::Point>& data)
{
    type_ = type;
    data_ = data;
    update();
}

void Chart3DView::setBottomReserve(int pixels)
{
    if (pixels == bottomReserve_)
        return;
    bottomReserve_ = pixels;
    update();
}

void Chart3DView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const int height = this->height() - bottomReserve_;

    const int n = int(data_.size());
    double maxValue = 1;
    for (const Chart::Point& point : data_)
        maxValue = std::max(maxValue, point.value);
    // Counts are whole numbers: so are the grid's steps.
    const double step = std::max(1.0, niceStep(maxValue, 5));
    maxValue = std::ceil(maxValue * 1.08 / step) * step;

    const QFontMetricsF fm(font());
    const double depthLength = std::clamp(std::min(width(), height) * 0.09, 10.0, 42.0);
    const QPointF depth(depthLength * 0.8, -depthLength * 0.6);
    const double valueWidth = fm.horizontalAdvance(countText(maxValue)) + 12;
    const QRectF front(valueWidth, 12 + fm.height() - depth.y(), width() - valueWidth - depth.x() - 12,
        height - (12 + fm.height() - depth.y()) - 2.4 * fm.height() - 8);
    if (front.width() < 10 || front.height() < 10)
        return;
    const Projection pr(front, n, maxValue, depth);
    const int slotCount = std::max(1, n);

    // Floor, back wall and left wall, with the value grid on both walls.
    const QColor wallEdge(150, 150, 150);
    face(p, { pr.at(0, 0, 0), pr.at(slotCount, 0, 0), pr.at(slotCount, 0, 1), pr.at(0, 0, 1) }, QColor(214, 214, 214),
        wallEdge);
    face(p, { pr.at(0, 0, 1), pr.at(slotCount, 0, 1), pr.at(slotCount, maxValue, 1), pr.at(0, maxValue, 1) },
        QColor(246, 246, 246), wallEdge);
    face(p, { pr.at(0, 0, 0), pr.at(0, 0, 1), pr.at(0, maxValue, 1), pr.at(0, maxValue, 0) }, QColor(232, 232, 232),
        wallEdge);
    p.setPen(QPen(QColor(190, 190, 190), 1));
    for (double v = step; v <= maxValue + step / 2; v += step) {
        p.drawLine(pr.at(0, v, 1), pr.at(slotCount, v, 1));
        p.drawLine(pr.at(0, v, 0), pr.at(0, v, 1));
    }
    p.setPen(Qt::black);
    for (double v = 0; v <= maxValue + step / 2; v += step) {
        const QPointF at = pr.at(0, v, 0);
        p.drawText(QRectF(0, at.y() - fm.height() / 2, valueWidth - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
            countText(v));
    }

    // The category labels under the floor's front edge, two lines at most.
    for (int i = 0; i < n; ++i) {
        const QPointF at = pr.at(i + 0.5, 0, 0);
        const double w = pr.slotWidth();
        p.drawText(QRectF(at.x() - w / 2, at.y() + 4, w, 2.2 * fm.height()),
            Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, data_.at(i).label.trimmed());
    }

    QList<QPointF> centres;
    for (int i = 0; i < n; ++i)
        centres.append({ i + 0.5, data_.at(i).value });
    QList<QPointF> labelAt; // where each count is written: above its body, at mid depth

    switch (type_) {
    case 0: // bars
        for (int i = 0; i < n; ++i) {
            box(p, pr, i + 0.18, i + 0.82, centres.at(i).y(), 0.15, 0.85, kBarColor);
            labelAt.append(pr.at(i + 0.5, centres.at(i).y(), 0.5));
        }
        break;
    case 2: { // line: a ribbon through the counts
        QList<QPointF> points = centres;
        if (n == 1)
            points = { { 0.2, centres.at(0).y() }, { 0.8, centres.at(0).y() } };
        ribbon(p, pr, points, 0.2, 0.8, kLineColor, 5);
        for (const QPointF& c : centres)
            labelAt.append(pr.at(c.x(), c.y(), 0.5));
        break;
    }
    case 4: { // area: a solid body under the line of the counts
        if (n == 0)
            break;
        QList<QPointF> points = centres;
        if (n == 1)
            points = { { 0.2, centres.at(0).y() }, { 0.8, centres.at(0).y() } };
        ribbon(p, pr, points, 0.1, 0.9, kAreaColor, 0);
        const QPointF last = points.last();
        face(p,
            { pr.at(last.x(), 0, 0.1), pr.at(last.x(), 0, 0.9), pr.at(last.x(), last.y(), 0.9),
                pr.at(last.x(), last.y(), 0.1) },
            kAreaColor.darker(150), kAreaColor.darker(170));
        QList<QPointF> outline { pr.at(points.first().x(), 0, 0.1) };
        for (const QPointF& c : points)
            outline.append(pr.at(c.x(), c.y(), 0.1));
        outline.append(pr.at(last.x(), 0, 0.1));
        QLinearGradient shade(pr.at(0, maxValue, 0.1), pr.at(0, 0, 0.1));
        shade.setColorAt(0, kAreaColor.lighter(125));
        shade.setColorAt(1, kAreaColor.darker(115));
        face(p, outline, shade, kAreaColor.darker(170));
        for (const QPointF& c : centres)
            labelAt.append(pr.at(c.x(), c.y(), 0.5));
        break;
    }
    case 6: // steps: blocks side by side, each as wide as its slot
        for (int i = 0; i < n; ++i) {
            box(p, pr, i, i + 1, centres.at(i).y(), 0.1, 0.9, kStepColor);
            labelAt.append(pr.at(i + 0.5, centres.at(i).y(), 0.5));
        }
        break;
    case 8: { // combination: bars at the back, a line ribbon in front of them
        for (int i = 0; i < n; ++i)
            box(p, pr, i + 0.2, i + 0.8, centres.at(i).y(), 0.45, 0.95, kBarColor);
        QList<QPointF> points = centres;
        if (n == 1)
            points = { { 0.2, centres.at(0).y() }, { 0.8, centres.at(0).y() } };
        ribbon(p, pr, points, 0.05, 0.35, kLineColor, 4);
        for (const QPointF& c : centres)
            labelAt.append(pr.at(c.x(), c.y(), 0.2));
        break;
    }
    default:
        break;
    }

    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(Qt::black);
    const QFontMetricsF boldMetrics(bold);
    for (int i = 0; i < int(labelAt.size()) && i < n; ++i) {
        const QString text = countText(data_.at(i).value);
        const double w = boldMetrics.horizontalAdvance(text) + 4;
        const QPointF at = labelAt.at(i);
        p.drawText(
            QRectF(at.x() - w / 2, at.y() - boldMetrics.height() - 3, w, boldMetrics.height()), Qt::AlignCenter, text);
    }
}
