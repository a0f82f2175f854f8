// Draws the program's own toolbar icons and pictures into PNG files (they ship in icons.qrc).
// Not part of the normal build: run `cmake --build build --target tessivo_paint_icons` and then
// `build/bin/tessivo_paint_icons resources/icons` to draw them again after a change here.
//
// Each drawing works in a 32 by 32 unit square and is scaled to the picture's size (a picture
// that is not square is 32 units wide and as many high as its shape gives). The XP style
// set is shaded with gradients; the classic set uses flat colours and dark outlines.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>

namespace {

using Draw = std::function<void(QPainter&, bool xp)>;

QBrush fill(bool xp, const QColor& light, const QColor& dark, QPointF from, QPointF to)
{
    if (!xp)
        return QBrush(dark.lighter(115));
    QLinearGradient g(from, to);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    return QBrush(g);
}

QPen outline(bool xp, const QColor& colour)
{
    return QPen(xp ? colour : colour.darker(180), xp ? 0.9 : 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with a folded corner.
void paper(QPainter& p, const QRectF& r, bool xp)
{
    const qreal fold = r.width() * 0.28;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(outline(xp, QColor(90, 100, 120)));
    p.setBrush(fill(xp, Qt::white, QColor(214, 224, 240), r.topLeft(), r.bottomRight()));
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    corner.closeSubpath();
    p.setBrush(xp ? QColor(200, 210, 228) : QColor(192, 192, 192));
    p.drawPath(corner);
}

void textLines(QPainter& p, const QRectF& r, int count, bool xp)
{
    p.setPen(QPen(xp ? QColor(120, 140, 170) : QColor(96, 96, 96), 1.2, Qt::SolidLine, Qt::FlatCap));
    const qreal step = r.height() / count;
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + step * (i + 0.5);
        const qreal right = (i == count - 1) ? r.left() + r.width() * 0.6 : r.right();
        p.drawLine(QPointF(r.left(), y), QPointF(right, y));
    }
}

void plusBadge(QPainter& p, QPointF centre, qreal radius, bool xp)
{
    QRadialGradient g(centre - QPointF(radius * 0.4, radius * 0.4), radius * 1.6);
    g.setColorAt(0, QColor(150, 230, 120));
    g.setColorAt(1, QColor(30, 130, 40));
    p.setPen(outline(xp, QColor(20, 90, 30)));
    p.setBrush(xp ? QBrush(g) : QBrush(QColor(0, 160, 0)));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Qt::white, radius * 0.45, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(centre - QPointF(radius * 0.55, 0), centre + QPointF(radius * 0.55, 0));
    p.drawLine(centre - QPointF(0, radius * 0.55), centre + QPointF(0, radius * 0.55));
}

void pencil(QPainter& p, bool xp)
{
    p.save();
    p.translate(19, 15);
    p.rotate(45);
    // The pencil lies along the x axis, its tip at the left.
    const QRectF body(-6, -2.6, 15, 5.2);
    p.setPen(outline(xp, QColor(150, 90, 0)));
    p.setBrush(fill(xp, QColor(255, 220, 90), QColor(230, 150, 20), body.topLeft(), body.bottomLeft()));
    p.drawRect(body);
    p.setBrush(xp ? QColor(240, 140, 160) : QColor(255, 128, 128));
    p.drawRect(QRectF(9, -2.6, 3.2, 5.2));
    QPainterPath tip;
    tip.moveTo(-6, -2.6);
    tip.lineTo(-12, 0);
    tip.lineTo(-6, 2.6);
    tip.closeSubpath();
    p.setBrush(QColor(240, 215, 170));
    p.drawPath(tip);
    QPainterPath lead;
    lead.moveTo(-10, -0.9);
    lead.lineTo(-12, 0);
    lead.lineTo(-10, 0.9);
    lead.closeSubpath();
    p.setBrush(QColor(50, 50, 50));
    p.drawPath(lead);
    p.restore();
}

void drawDesign(QPainter& p, bool xp)
{
    paper(p, QRectF(4, 3, 19, 26), xp);
    textLines(p, QRectF(7, 10, 11, 15), 5, xp);
    pencil(p, xp);
}

void drawClipboard(QPainter& p, bool xp)
{
    const QRectF board(5, 4, 22, 26);
    p.setPen(outline(xp, QColor(100, 60, 20)));
    p.setBrush(fill(xp, QColor(205, 150, 90), QColor(140, 85, 35), board.topLeft(), board.bottomRight()));
    p.drawRoundedRect(board, 2.5, 2.5);
    const QRectF sheet(8, 8, 16, 19.5);
    p.setPen(outline(xp, QColor(120, 120, 120)));
    p.setBrush(fill(xp, Qt::white, QColor(230, 234, 240), sheet.topLeft(), sheet.bottomLeft()));
    p.drawRect(sheet);
    const QRectF clip(11.5, 2, 9, 5);
    p.setPen(outline(xp, QColor(80, 80, 90)));
    p.setBrush(fill(xp, QColor(240, 240, 245), QColor(140, 145, 160), clip.topLeft(), clip.bottomLeft()));
    p.drawRoundedRect(clip, 1.5, 1.5);
    for (int i = 0; i < 3; ++i) {
        const qreal y = 12.5 + i * 5;
        p.setPen(QPen(xp ? QColor(20, 150, 40) : QColor(0, 128, 0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({ QPointF(9.8, y), QPointF(11.2, y + 1.6), QPointF(13.8, y - 1.4) }));
        p.setPen(QPen(xp ? QColor(120, 140, 170) : QColor(96, 96, 96), 1.2));
        p.drawLine(QPointF(15.5, y + 0.2), QPointF(22, y + 0.2));
    }
}

void drawChart(QPainter& p, bool xp)
{
    struct Bar {
        qreal left, height;
        QColor light, dark;
    };
    const Bar bars[] = { { 6.5, 11, QColor(120, 170, 255), QColor(30, 80, 200) },
        { 13.5, 20, QColor(140, 230, 120), QColor(30, 140, 40) },
        { 20.5, 15, QColor(255, 190, 110), QColor(220, 90, 20) } };
    for (const Bar& b : bars) {
        const QRectF r(b.left, 27 - b.height, 5.5, b.height);
        if (xp) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 50));
            p.drawRect(r.translated(1.2, 0.6));
        }
        p.setPen(outline(xp, b.dark.darker(130)));
        p.setBrush(fill(xp, b.light, b.dark, r.topLeft(), r.topRight()));
        p.drawRect(r);
    }
    p.setPen(QPen(xp ? QColor(60, 60, 70) : Qt::black, 1.5, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(4, 3.5), QPointF(4, 27.5));
    p.drawLine(QPointF(4, 27.5), QPointF(29, 27.5));
}

void drawAddQuestion(QPainter& p, bool xp)
{
    paper(p, QRectF(4, 2, 19, 26), xp);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(19);
    f.setBold(true);
    p.setFont(f);
    p.setPen(xp ? QColor(30, 80, 200) : QColor(0, 0, 160));
    p.drawText(QRectF(4, 4, 17, 22), Qt::AlignCenter, QStringLiteral("?"));
    plusBadge(p, QPointF(23.5, 23.5), 6.5, xp);
}

void drawAddText(QPainter& p, bool xp)
{
    paper(p, QRectF(4, 2, 19, 26), xp);
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(xp ? QColor(60, 60, 80) : Qt::black);
    p.drawText(QRectF(6, 4, 10, 11), Qt::AlignCenter, QStringLiteral("T"));
    textLines(p, QRectF(7, 15, 11, 8), 3, xp);
    plusBadge(p, QPointF(23.5, 23.5), 6.5, xp);
}

void drawGlobe(QPainter& p, bool xp)
{
    const QPointF c(16, 16);
    QRadialGradient g(QPointF(11, 10), 22);
    g.setColorAt(0, QColor(170, 215, 255));
    g.setColorAt(1, QColor(20, 80, 180));
    p.setPen(outline(xp, QColor(10, 50, 120)));
    p.setBrush(xp ? QBrush(g) : QBrush(QColor(0, 96, 192)));
    p.drawEllipse(c, 13, 13);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 6, 13);
    p.drawLine(QPointF(16, 3), QPointF(16, 29));
    p.drawLine(QPointF(3, 16), QPointF(29, 16));
    p.drawLine(QPointF(5, 10), QPointF(27, 10));
    p.drawLine(QPointF(5, 22), QPointF(27, 22));
}

void drawBulb(QPainter& p, bool xp)
{
    p.setPen(QPen(QColor(255, 190, 0), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 7; ++i) {
        p.save();
        p.translate(16, 12);
        p.rotate(-90 + (i - 3) * 30);
        p.drawLine(QPointF(11, 0), QPointF(14, 0));
        p.restore();
    }
    QRadialGradient glass(QPointF(13.5, 9), 11);
    glass.setColorAt(0, QColor(255, 255, 220));
    glass.setColorAt(0.6, QColor(255, 230, 80));
    glass.setColorAt(1, QColor(240, 170, 0));
    QPainterPath bulb;
    bulb.addEllipse(QPointF(16, 12), 8.5, 8.5);
    QPainterPath neck;
    neck.moveTo(11.5, 17);
    neck.lineTo(20.5, 17);
    neck.lineTo(19.5, 22.5);
    neck.lineTo(12.5, 22.5);
    neck.closeSubpath();
    p.setPen(outline(xp, QColor(170, 110, 0)));
    p.setBrush(xp ? QBrush(glass) : QBrush(QColor(255, 255, 0)));
    p.drawPath(bulb.united(neck));
    p.setBrush(fill(xp, QColor(230, 230, 235), QColor(130, 135, 150), QPointF(12, 0), QPointF(20, 0)));
    p.setPen(outline(xp, QColor(70, 70, 80)));
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(12.5, 22.5 + i * 2.2, 7, 2.2), 1, 1);
    p.drawEllipse(QPointF(16, 29.6), 1.6, 1.0);
}

// The program's emblem: a checked clipboard with a chart in front.
void drawEmblem(QPainter& p, bool xp)
{
    QRadialGradient bg(QPointF(12, 10), 22);
    bg.setColorAt(0, QColor(225, 240, 255));
    bg.setColorAt(1, QColor(120, 170, 230));
    p.setPen(xp ? QPen(QColor(70, 120, 190), 0.6) : QPen(Qt::black, 0.6));
    p.setBrush(xp ? QBrush(bg) : QBrush(QColor(0, 128, 128)));
    p.drawEllipse(QPointF(16, 16), 15.4, 15.4);
    p.save();
    p.translate(1.5, 1.8);
    p.scale(0.72, 0.72);
    drawClipboard(p, xp);
    p.restore();
    p.save();
    p.translate(14.5, 14.5);
    p.scale(0.5, 0.5);
    p.setPen(outline(xp, QColor(90, 100, 120)));
    p.setBrush(xp ? QBrush(QColor(255, 255, 255, 235)) : QBrush(Qt::white));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 3, 3);
    drawChart(p, xp);
    p.restore();
}

// The window icon: the emblem on a rounded square.
void drawAppIcon(QPainter& p, bool)
{
    QLinearGradient g(QPointF(0, 0), QPointF(0, 32));
    g.setColorAt(0, QColor(60, 110, 190));
    g.setColorAt(1, QColor(25, 55, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    p.save();
    p.translate(2, 2);
    p.scale(28.0 / 32, 28.0 / 32);
    drawEmblem(p, true);
    p.restore();
}

// An arrow along the y axis from y0 to y1 (its head at y1), centred on x.
void arrow(QPainter& p, qreal x, qreal y0, qreal y1)
{
    const qreal dir = y1 > y0 ? 1 : -1;
    QPainterPath path;
    path.moveTo(x - 1.3, y0);
    path.lineTo(x + 1.3, y0);
    path.lineTo(x + 1.3, y1 - dir * 3.2);
    path.lineTo(x + 3.2, y1 - dir * 3.2);
    path.lineTo(x, y1);
    path.lineTo(x - 3.2, y1 - dir * 3.2);
    path.lineTo(x - 1.3, y1 - dir * 3.2);
    path.closeSubpath();
    QLinearGradient g(QPointF(x - 3, 0), QPointF(x + 3, 0));
    g.setColorAt(0, QColor(255, 225, 120));
    g.setColorAt(1, QColor(235, 150, 30));
    p.setPen(QPen(QColor(150, 85, 0), 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(path);
}

// The side picture of the web wizards' pages (32 by 59.6 units): the survey sheet going up to
// the web and its answers coming back, on the deep blue of the window icon.
void drawWizardSide(QPainter& p, bool)
{
    const qreal height = 32.0 * 218 / 117;
    QLinearGradient sky(QPointF(0, 0), QPointF(0, height));
    sky.setColorAt(0, QColor(25, 55, 120));
    sky.setColorAt(1, QColor(70, 125, 205));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(QRectF(0, 0, 32, height));
    p.setBrush(QColor(255, 255, 255, 40));
    for (const QPointF& c : { QPointF(5, 4), QPointF(27, 7), QPointF(24, 26), QPointF(6, 31), QPointF(28, 50) })
        p.drawEllipse(c, 0.8, 0.8);
    p.save();
    p.translate(4, 3);
    p.scale(0.75, 0.75);
    drawGlobe(p, true);
    p.restore();
    arrow(p, 11, 37, 29);
    arrow(p, 21, 29, 37);
    paper(p, QRectF(8, 40, 16, 16), true);
    textLines(p, QRectF(10.5, 45, 9, 8), 3, true);
}

bool paintImage(const QString& folder, const QString& name, int width, int height, bool xp, const Draw& draw)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.scale(width / 32.0, width / 32.0);
    draw(p, xp);
    p.end();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool paint(const QString& folder, const QString& name, int size, bool xp, const Draw& draw)
{
    return paintImage(folder, name, size, size, xp, draw);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    struct Picture {
        const char* name;
        int size;
        bool xp;
        Draw draw;
    };
    const Picture pictures[] = {
        { "design", 32, false, drawDesign },
        { "datacollection", 32, false, drawClipboard },
        { "analyse", 32, false, drawChart },
        { "addquestion", 32, false, drawAddQuestion },
        { "addtext", 32, false, drawAddText },
        { "design_xp", 32, true, drawDesign },
        { "datacollection_xp", 32, true, drawClipboard },
        { "analyse_xp", 32, true, drawChart },
        { "addquestion_xp", 32, true, drawAddQuestion },
        { "addtext_xp", 32, true, drawAddText },
        { "web", 32, true, drawGlobe },
        { "tip", 48, true, drawBulb },
        { "tessivo", 64, true, drawAppIcon },
        { "splash_xp", 184, true, drawEmblem },
        { "splash_classic", 128, false, drawEmblem },
        { "about_xp", 96, true, drawEmblem },
        { "about_classic", 96, false, drawEmblem },
    };
    bool ok = true;
    for (const Picture& pic : pictures)
        ok = paint(folder, QString::fromLatin1(pic.name), pic.size, pic.xp, pic.draw) && ok;
    ok = paintImage(folder, QStringLiteral("wizard"), 117, 218, true, drawWizardSide) && ok;
    // The window icon in the sizes of the desktop's icon theme, installed under share/icons.
    for (const int size : { 16, 22, 24, 32, 48, 64, 128, 256 }) {
        const QString sized = QDir(folder).filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
        ok = QDir().mkpath(sized) && paint(sized, QStringLiteral("tessivo"), size, true, drawAppIcon) && ok;
    }
    return ok ? 0 : 1;
}
