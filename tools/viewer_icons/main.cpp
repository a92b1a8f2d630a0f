// Draws the pictures of the picture pop-up and the diagram viewer:
//   fit.png, zoom_out.png, zoom_in.png   24 x 24 tool-bar icons
//   diagram_start.png                    2400 x 1840, the viewer's picture until a module gives one
//   lookup_start.png                     555 x 379, the pop-up's picture until a module gives one
// under <source-root>/resources/pictures/viewer/.
#include "drawkit.h"

#include <QPainterPath>

#include <algorithm>
#include <vector>

namespace {

const QColor k_ink(0x1f, 0x5f, 0xa8);   // icon strokes
const QColor k_glass(0xe8, 0xf1, 0xfb); // magnifier lens
QImage blank(int w, int h, QColor fill) { return kit::canvas(w, h, fill, QImage::Format_ARGB32); }

// A magnifying glass with a plus or a minus in its lens.
QImage magnifier(bool plus)
{
    QImage img = blank(24, 24, Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPen handle(k_ink, 3.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(handle);
    p.drawLine(QPointF(15.5, 15.5), QPointF(21.5, 21.5));
    p.setPen(QPen(k_ink, 2.0));
    p.setBrush(k_glass);
    p.drawEllipse(QPointF(10, 10), 7.5, 7.5);
    p.setPen(QPen(k_ink, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
    if (plus) p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
    return img;
}

// A picture frame with four arrows pointing out to the corners.
QImage fit_icon()
{
    QImage img = blank(24, 24, Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(k_ink, 1.6));
    p.setBrush(k_glass);
    p.drawRoundedRect(QRectF(8.5, 8.5, 7, 7), 1.0, 1.0);
    p.setPen(QPen(k_ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    // Corner arrows: an L-shaped head at each corner and a short shaft in.
    const QPointF corners[4] = {{2, 2}, {22, 2}, {2, 22}, {22, 22}};
    for (const QPointF& c : corners) {
        double sx = c.x() < 12 ? 1 : -1, sy = c.y() < 12 ? 1 : -1;
        QPainterPath head;
        head.moveTo(c.x() + sx * 5, c.y());
        head.lineTo(c);
        head.lineTo(c.x(), c.y() + sy * 5);
        p.drawPath(head);
        p.drawLine(c, QPointF(c.x() + sx * 5.0, c.y() + sy * 5.0));
    }
    return img;
}

// A white sheet with a light grid, a border and a centred title.
QImage titled_sheet(int w, int h, const QString& title, int title_px, int grid)
{
    QImage img = blank(w, h, Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xe4, 0xe9, 0xf0), 1));
    for (int x = grid; x < w; x += grid) p.drawLine(x, 0, x, h);
    for (int y = grid; y < h; y += grid) p.drawLine(0, y, w, y);
    int border = std::max(2, w / 300);
    p.setPen(QPen(k_ink, border));
    p.drawRect(QRectF(border / 2.0, border / 2.0, w - border, h - border));
    kit::text(p, QRectF(0, 0, w, h), Qt::AlignCenter, title, kit::font(title_px), QColor(0x33, 0x44, 0x55));
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        const QString dir = QStringLiteral("resources/pictures/viewer/");
        return std::vector<kit::Output>{
            kit::picture(dir + "fit.png", fit_icon),
            kit::picture(dir + "zoom_out.png", [] { return magnifier(false); }),
            kit::picture(dir + "zoom_in.png", [] { return magnifier(true); }),
            kit::picture(dir + "diagram_start.png",
                         [] { return titled_sheet(2400, 1840, QStringLiteral("计算示意图"), 160, 80); }),
            kit::picture(dir + "lookup_start.png",
                         [] { return titled_sheet(555, 379, QStringLiteral("查询"), 48, 20); }),
        };
    });
}
