// Draws the trestle bridge form's four diagrams into
// <source-root>/resources/pictures/trestle/:
//   span_load_cases.png     the span with the bending and the shear load case
//                           and the overlaps at both ends (567 x 232)
//   vehicle_axles.png       the heaviest vehicle's axles (203 x 130)
//   beam_cross_section.png  the two beams of welded I-beams (240 x 138)
//   welded_beam.png         one beam: section and elevation (312 x 128)
// Each is drawn at the size of the picture box that shows it. The numbers
// are not drawn: the form lays its labels over the dimension lines, which
// sit where the form's definition expects them.
#include "drawkit.h"

#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <vector>

namespace {

const QColor kSteel(70, 90, 120);
const QColor kSteelLight(150, 170, 200);
const QColor kLoad(200, 40, 40);
const QColor kDim(60, 60, 60);
const QColor kGround(150, 130, 100);
const QColor kBody(236, 184, 40);

using kit::font;

void text_centered(QPainter& p, double cx, double y, const QString& s, int px)
{
    kit::text(p, QRectF(cx - 60, y, 120, px + 4), Qt::AlignHCenter | Qt::AlignTop, s, font(px));
}

// A horizontal dimension line with ticks at the given points.
void dimension(QPainter& p, double y, std::initializer_list<double> xs)
{
    p.save();
    p.setPen(QPen(kDim, 1));
    const double x0 = *xs.begin(), x1 = *(xs.end() - 1);
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    for (double x : xs) {
        p.drawLine(QPointF(x, y - 4), QPointF(x, y + 4));
        p.drawLine(QPointF(x - 3, y + 3), QPointF(x + 3, y - 3));
    }
    p.restore();
}

void load_arrow(QPainter& p, double x, double top, double tip, const QString& name)
{
    p.save();
    p.setPen(QPen(kLoad, 2));
    p.drawLine(QPointF(x, top), QPointF(x, tip - 6));
    p.setBrush(kLoad);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(x - 4, tip - 8), QPointF(x + 4, tip - 8), QPointF(x, tip)}));
    p.setPen(kLoad);
    p.setFont(font(12, true));
    kit::text_at(p, QPointF(x + 4, top + 9), name);
    p.restore();
}

// Ground under an overlap, hatched.
void bank(QPainter& p, double x0, double x1, double y, double h)
{
    p.save();
    p.setPen(QPen(kGround, 1));
    p.setBrush(QColor(235, 225, 205));
    p.drawRect(QRectF(x0, y, x1 - x0, h));
    p.setClipRect(QRectF(x0, y, x1 - x0, h));
    for (double x = x0 - h; x < x1; x += 7) p.drawLine(QPointF(x, y + h), QPointF(x + h, y));
    p.restore();
}

void support(QPainter& p, double x, double y)
{
    p.save();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(x, y), QPointF(x - 5, y + 8), QPointF(x + 5, y + 8)}));
    p.restore();
}

// One load case: title, the bridge on its banks, the three wheel loads and
// the dimension line of its segments.
void load_case(QPainter& p, double y, const QString& title, double xl, double xr, double w1, double w2, double w3)
{
    p.setFont(font(12, true));
    p.setPen(Qt::black);
    kit::text_at(p, QPointF(6, y + 13), title);
    const double beam = y + 42;
    bank(p, 20, xl, beam + 8, 12);
    bank(p, xr, 547, beam + 8, 12);
    // The open invert between the supports.
    p.save();
    p.setPen(QPen(kGround, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    QPainterPath invert;
    invert.moveTo(xl, beam + 8);
    invert.quadTo((xl + xr) / 2, beam + 26, xr, beam + 8);
    p.drawPath(invert);
    p.restore();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(kSteelLight);
    p.drawRect(QRectF(20, beam, 527, 8));
    support(p, xl, beam + 8);
    support(p, xr, beam + 8);
    load_arrow(p, w1, y + 18, beam, "P1");
    load_arrow(p, w2, y + 18, beam, "P2");
    load_arrow(p, w3, y + 18, beam, "P3");
}

QImage span_load_cases()
{
    QImage img = kit::canvas(567, 232);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // 18000 mm over 527 px: overlaps of 2000, the span of 14000 between.
    const double s = 527.0 / 18000.0;
    const double xl = 20 + 2000 * s, xr = 547 - 2000 * s;
    auto at = [&](double mm) { return xl + mm * s; };

    // Bending case: 3500 / 3500 / 1300 / 5700, the first rear wheel at mid-span.
    load_case(p, 2, "弯矩最不利荷载工况", xl, xr, at(3500), at(7000), at(8300));
    dimension(p, 68, {xl, at(3500), at(7000), at(8300), xr});
    // Shear case: 9200 / 3500 / 1300, the second rear wheel over support B.
    load_case(p, 92, "剪力最不利荷载工况", xl, xr, at(9200), at(12700), xr);
    dimension(p, 158, {xl, at(9200), at(12700), xr});

    // The whole bridge: the two overlaps and the clear span.
    dimension(p, 194, {20.0, xl, xr, 547.0});
    text_centered(p, (20 + xl) / 2, 214, "搭接段", 12);
    text_centered(p, (xr + 547) / 2, 214, "搭接段", 12);
    return img;
}

void wheel(QPainter& p, QPointF c, double r)
{
    p.save();
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(50, 50, 50));
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(190, 190, 190));
    p.drawEllipse(c, r * 0.45, r * 0.45);
    p.restore();
}

QImage vehicle_axles()
{
    QImage img = kit::canvas(203, 130);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double front = 40, rear1 = 130, rear2 = 168, cy = 76, r = 15;
    p.setPen(QPen(kGround, 2));
    p.drawLine(QPointF(4, cy + r), QPointF(199, cy + r));
    // Cab and dump body.
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(kBody);
    QPainterPath cab;
    cab.moveTo(14, 66);
    cab.lineTo(14, 40);
    cab.lineTo(26, 22);
    cab.lineTo(66, 22);
    cab.lineTo(66, 66);
    cab.closeSubpath();
    p.drawPath(cab);
    p.setBrush(QColor(170, 205, 230));
    p.drawPolygon(QPolygonF({QPointF(28, 27), QPointF(60, 27), QPointF(60, 42), QPointF(20, 42)}));
    p.setBrush(kBody.darker(115));
    p.drawPolygon(QPolygonF({QPointF(72, 14), QPointF(196, 14), QPointF(190, 60), QPointF(76, 60)}));
    p.setBrush(QColor(80, 80, 80));
    p.drawRect(QRectF(12, 60, 184, 6));
    wheel(p, QPointF(front, cy), r);
    wheel(p, QPointF(rear1, cy), r);
    wheel(p, QPointF(rear2, cy), r);
    // Axle lines down to the dimension line.
    p.setPen(QPen(kDim, 1, Qt::DashDotLine));
    for (double x : {front, rear1, rear2}) p.drawLine(QPointF(x, cy), QPointF(x, 104));
    dimension(p, 100, {front, rear1, rear2});
    p.setFont(font(12));
    p.setPen(Qt::black);
    text_centered(p, (front + rear1) / 2, 116, "轴距", 12);
    text_centered(p, (rear1 + rear2) / 2, 116, "后桥轴距", 12);
    return img;
}

// An I-beam section standing on the x axis at the given box.
void ibeam(QPainter& p, const QRectF& box)
{
    const double t = std::max(2.0, box.height() * 0.07), web = std::max(1.5, box.width() * 0.14);
    QPainterPath s;
    s.addRect(QRectF(box.left(), box.top(), box.width(), t));
    s.addRect(QRectF(box.left(), box.bottom() - t, box.width(), t));
    s.addRect(QRectF(box.center().x() - web / 2, box.top() + t, web, box.height() - 2 * t));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kSteel);
    p.drawPath(s.simplified());
    p.restore();
}

void beam_of_ibeams(QPainter& p, double x0, double x1, double top, double bottom, int count)
{
    const double slot = (x1 - x0) / count;
    for (int i = 0; i < count; ++i) ibeam(p, QRectF(x0 + i * slot + 0.8, top, slot - 1.6, bottom - top));
}

QImage beam_cross_section()
{
    QImage img = kit::canvas(240, 138);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // 3400 mm over 200 px: two beams of 1250 whose centre lines are 2150 apart.
    const double s = 200.0 / 3400.0;
    const double l0 = 20, l1 = 20 + 1250 * s, r1 = 220, r0 = 220 - 1250 * s;
    const double lc = (l0 + l1) / 2, rc = (r0 + r1) / 2;
    const double top = 32, bottom = 70;

    p.setFont(font(12));
    p.setPen(Qt::black);
    kit::text_at(p, QPointF(4, 12), "梁中心宽度");
    dimension(p, 18, {lc, rc});
    p.setPen(QPen(kDim, 1, Qt::DashDotLine));
    p.drawLine(QPointF(lc, 14), QPointF(lc, 78));
    p.drawLine(QPointF(rc, 14), QPointF(rc, 78));

    beam_of_ibeams(p, l0, l1, top, bottom, 5);
    beam_of_ibeams(p, r0, r1, top, bottom, 5);
    // Bars welded across each beam's webs, and the tie between the beams.
    p.setPen(QPen(kLoad, 1.5));
    p.drawLine(QPointF(l0, 51), QPointF(l1, 51));
    p.drawLine(QPointF(r0, 51), QPointF(r1, 51));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(kSteelLight);
    p.drawRect(QRectF(l1, bottom - 6, r0 - l1, 4));
    text_centered(p, (l1 + r0) / 2, 38, "连梁", 12);
    // Leader from the caption to a bar.
    p.setPen(QPen(kDim, 1));
    p.drawLine(QPointF(14, 104), QPointF(28, 52));
    p.setPen(Qt::black);
    p.setFont(font(12));
    kit::text_at(p, QPointF(2, 114), "连接筋");

    dimension(p, 80, {l0, l1, r0, r1});
    return img;
}

QImage welded_beam()
{
    QImage img = kit::canvas(312, 128);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double top = 16, bottom = 76;
    // Section: the I-beams side by side, the welded bar through their webs.
    beam_of_ibeams(p, 12, 112, top, bottom, 5);
    p.setPen(QPen(kLoad, 1.5));
    p.drawLine(QPointF(12, 46), QPointF(112, 46));
    text_centered(p, 62, 82, "截面", 12);

    // Elevation: one long beam with the weld seams of the bars.
    const double x0 = 130, x1 = 300;
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(kSteelLight);
    p.drawRect(QRectF(x0, top, x1 - x0, 5));
    p.drawRect(QRectF(x0, bottom - 5, x1 - x0, 5));
    p.setBrush(QColor(205, 215, 230));
    p.drawRect(QRectF(x0, top + 5, x1 - x0, bottom - top - 10));
    p.setPen(QPen(kLoad, 1.5));
    for (double x = x0 + 17; x < x1 - 5; x += 34) p.drawLine(QPointF(x, top + 5), QPointF(x, bottom - 5));
    support(p, x0 + 6, bottom);
    support(p, x1 - 6, bottom);
    text_centered(p, (x0 + x1) / 2, 82, "立面", 12);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        const QString dir = QStringLiteral("resources/pictures/trestle/");
        // Eight-bit colour keeps the embedded bytes small; the drawings use few colours.
        std::vector<kit::Output> pictures{
            kit::picture(dir + "span_load_cases.png", span_load_cases, kit::Store::Palette, 9),
            kit::picture(dir + "vehicle_axles.png", vehicle_axles, kit::Store::Palette, 9),
            kit::picture(dir + "beam_cross_section.png", beam_cross_section, kit::Store::Palette, 9),
            kit::picture(dir + "welded_beam.png", welded_beam, kit::Store::Palette, 9),
        };
        return pictures;
    });
}
