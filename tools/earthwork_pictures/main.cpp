// Draws the pictures the earthwork and rock-drill forms show:
//   <source-root>/resources/pictures/earthwork/slope_diagram.png         (549 x 292)
//       a cut back to the slope θ, the sliding wedge on the plane α
//   <source-root>/resources/pictures/earthwork/vertical_cut_diagram.png  (437 x 254)
//       an unsupported vertical cut under a berm load q, with the active
//       earth-pressure diagram
//   <source-root>/resources/pictures/equipment/rock_drill_machines.png   (440 x 200)
//       two rock drills on a bench fed by an air compressor
// (The titled placeholders of the reference tables come from
// tools/table_pictures, listed in its earthwork_rockdrill.tsv.)
#include "drawkit.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <vector>

namespace {

const QColor kSoil(236, 226, 200);
const QColor kSoilHatch(165, 145, 105);
const QColor kWedge(238, 186, 130);
const QColor kSlip(200, 40, 40);
const QColor kPressure(70, 120, 200);
const double kDeg = 3.14159265358979 / 180;

void text(QPainter& p, QPointF at, const QString& s, int px = 13, const QColor& c = Qt::black, bool bold = false)
{
    kit::text_at(p, at, s, kit::font(px, bold), c);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c = Qt::black, double width = 1.5)
{
    kit::arrow(p, from, to, QPen(c, width), 8);
}

// A vertical dimension with arrows at both ends and its text beside it.
void vertical_dimension(QPainter& p, double x, double y0, double y1, const QString& label)
{
    p.save();
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(x, y0), QPointF(x, y1));
    p.drawLine(QPointF(x - 5, y0), QPointF(x + 5, y0));
    p.drawLine(QPointF(x - 5, y1), QPointF(x + 5, y1));
    p.restore();
    kit::arrow_head(p, {x, (y0 + y1) / 2}, {x, y0}, 7, Qt::black);
    kit::arrow_head(p, {x, (y0 + y1) / 2}, {x, y1}, 7, Qt::black);
    text(p, {x + 6, (y0 + y1) / 2 + 6}, label, 16, Qt::black, true);
}

void dashed(QPainter& p, QPointF a, QPointF b) { kit::dashed(p, a, b, QColor(90, 90, 90)); }

// The soil mass: a solid fill with a light hatch.
void soil(QPainter& p, const QPolygonF& body)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kSoil);
    p.drawPolygon(body);
    p.setBrush(QBrush(kSoilHatch, Qt::BDiagPattern));
    p.drawPolygon(body);
    p.restore();
}

// An angle arc at `at` from the horizontal (pointing right) up to `degrees`.
void angle_arc(QPainter& p, QPointF at, double radius, double degrees, const QString& label, double label_at,
               double label_radius)
{
    p.save();
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius), 0, int(degrees * 16));
    p.restore();
    const QPointF l(at.x() + label_radius * std::cos(label_at * kDeg), at.y() - label_radius * std::sin(label_at * kDeg));
    text(p, l + QPointF(-5, 6), label, 16, Qt::black, true);
}

QImage slope_diagram()
{
    QImage img = kit::canvas(549, 292);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double h = 166, theta = 65, alpha = 40;
    const QPointF toe(210, 236);
    const QPointF crest(toe.x() + h / std::tan(theta * kDeg), toe.y() - h);
    const QPointF slip_top(toe.x() + h / std::tan(alpha * kDeg), toe.y() - h);

    soil(p, QPolygonF() << QPointF(14, toe.y()) << toe << crest << QPointF(535, crest.y()) << QPointF(535, 282)
                        << QPointF(14, 282));
    p.setPen(Qt::NoPen);
    p.setBrush(kWedge);
    p.drawPolygon(QPolygonF() << toe << crest << slip_top);
    p.setBrush(QBrush(QColor(190, 120, 60), Qt::FDiagPattern));
    p.drawPolygon(QPolygonF() << toe << crest << slip_top);

    p.setPen(QPen(Qt::black, 2.5));
    p.drawPolyline(QPolygonF() << QPointF(14, toe.y()) << toe << crest << QPointF(535, crest.y()));
    p.setPen(QPen(kSlip, 2.2, Qt::DashLine));
    p.drawLine(toe, slip_top);

    dashed(p, toe, {470, toe.y()});
    angle_arc(p, toe, 44, theta, QStringLiteral("θ"), 54, 58);
    angle_arc(p, toe, 84, alpha, QStringLiteral("α"), 18, 98);

    // The weight of the wedge acts at its centroid.
    const QPointF g((toe.x() + crest.x() + slip_top.x()) / 3, (toe.y() + crest.y() + slip_top.y()) / 3);
    arrow(p, g + QPointF(0, -8), g + QPointF(0, 22), Qt::black, 2);
    text(p, g + QPointF(5, 22), QStringLiteral("W"), 14, Qt::black, true);
    text(p, {crest.x() + 8, crest.y() + 28}, QStringLiteral("滑动土楔"), 13);

    dashed(p, crest, {100, crest.y()});
    vertical_dimension(p, 116, crest.y(), toe.y(), QStringLiteral("h"));

    text(p, {slip_top.x() + 6, slip_top.y() - 6}, QStringLiteral("地面"), 13);
    text(p, {slip_top.x() - 30, slip_top.y() + 70}, QStringLiteral("滑动面"), 13, kSlip, true);
    text(p, {20, toe.y() - 8}, QStringLiteral("基坑底"), 13);
    text(p, {392, 228}, QStringLiteral("α = (θ + ψ) / 2"), 13);
    text(p, {400, 262}, QStringLiteral("γ、c、ψ"), 14);
    text(p, {14, 26}, QStringLiteral("放坡开挖边坡稳定计算简图"), 15, Qt::black, true);
    return img;
}

QImage vertical_cut_diagram()
{
    QImage img = kit::canvas(437, 254);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double face = 160, top = 62, floor = 214, phi = 20;
    const QPointF toe(face, floor);
    const QPointF slip_top(face + (floor - top) / std::tan((45 + phi / 2) * kDeg), top);

    soil(p, QPolygonF() << QPointF(12, floor) << toe << QPointF(face, top) << QPointF(425, top) << QPointF(425, 246)
                        << QPointF(12, 246));
    p.setPen(QPen(Qt::black, 2.5));
    p.drawPolyline(QPolygonF() << QPointF(12, floor) << toe << QPointF(face, top) << QPointF(425, top));
    p.setPen(QPen(kSlip, 2, Qt::DashLine));
    p.drawLine(toe, slip_top);
    angle_arc(p, toe, 34, 45 + phi / 2, QString(), 0, 0);
    text(p, {toe.x() + 40, toe.y() - 6}, QStringLiteral("45°+ψ/2"), 12);

    // The uniform load q on the berm.
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(185, 32), QPointF(405, 32));
    for (double x = 185; x <= 405.1; x += 20) arrow(p, {x, 32}, {x, top - 1});
    text(p, {410, 38}, QStringLiteral("q"), 16, Qt::black, true);

    // Active pressure on the face: tension down to z0, then growing with depth.
    const double z0 = top + 34;
    p.setPen(QPen(kPressure, 1.5));
    p.setBrush(QBrush(kPressure, Qt::Dense6Pattern));
    p.drawPolygon(QPolygonF() << QPointF(face, top) << QPointF(face + 22, top) << QPointF(face, z0));
    p.setBrush(QBrush(kPressure, Qt::Dense5Pattern));
    p.drawPolygon(QPolygonF() << QPointF(face, z0) << QPointF(face - 78, floor) << QPointF(face, floor));
    text(p, {face + 26, top + 16}, QStringLiteral("拉力区"), 12, kPressure);
    text(p, {face - 26, z0 - 10}, QStringLiteral("z₀"), 13, kPressure, true);
    text(p, {16, 196}, QStringLiteral("主动土压力"), 13, kPressure, true);

    dashed(p, {face, top}, {34, top});
    vertical_dimension(p, 46, top, floor, QStringLiteral("h"));
    text(p, {300, 150}, QStringLiteral("γ、c、ψ"), 14);
    text(p, {12, 24}, QStringLiteral("无支撑垂直开挖计算简图"), 15, Qt::black, true);
    return img;
}

void rock_drill(QPainter& p, double x, double ground)
{
    // Drill rod and bit into the rock.
    p.setPen(QPen(QColor(80, 80, 80), 3));
    p.drawLine(QPointF(x + 13, 108), QPointF(x + 13, ground + 14));
    // Body, handle and the feed cylinder of the hand-held drill.
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(70, 110, 160));
    p.drawRoundedRect(QRectF(x, 52, 26, 58), 5, 5);
    p.setBrush(QColor(50, 50, 50));
    p.drawRoundedRect(QRectF(x - 14, 42, 54, 10), 4, 4);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(x + 5, 66, 16, 6));
    text(p, {x - 8, 34}, QStringLiteral("凿岩机"), 13, Qt::black, true);
}

QImage rock_drill_machines()
{
    QImage img = kit::canvas(440, 200);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double ground = 160;

    // The bench the drills stand on, and the compressor's ground.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(205, 200, 190));
    p.drawRect(QRectF(8, ground, 424, 34));
    p.setBrush(QBrush(QColor(150, 145, 130), Qt::BDiagPattern));
    p.drawRect(QRectF(8, ground, 424, 34));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(8, ground), QPointF(432, ground));

    // Air hoses from the compressor's outlet to both drills.
    const QPointF outlet(246, 96);
    p.setPen(QPen(QColor(30, 30, 30), 3));
    p.setBrush(Qt::NoBrush);
    for (double x : {60.0, 150.0}) {
        QPainterPath hose(outlet);
        hose.cubicTo(outlet + QPointF(-40, 50), QPointF(x + 60, 140), QPointF(x + 26, 90));
        p.drawPath(hose);
    }
    rock_drill(p, 60, ground);
    rock_drill(p, 150, ground);

    // The compressor on its two-wheel trailer.
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(240, 190, 40));
    p.drawRoundedRect(QRectF(250, 62, 160, 76), 10, 10);
    p.setPen(QPen(QColor(120, 90, 20), 2));
    for (double x = 330; x <= 396; x += 11) p.drawLine(QPointF(x, 74), QPointF(x, 126));
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(240, 90, 10, 12));
    p.drawLine(QPointF(410, 128), QPointF(432, 146));
    for (double x : {282.0, 378.0}) {
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(x, 144), 16, 16);
        p.setBrush(QColor(180, 180, 180));
        p.drawEllipse(QPointF(x, 144), 6, 6);
    }
    text(p, {288, 54}, QStringLiteral("空气压缩机"), 13, Qt::black, true);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        // Full colour: an eight-bit palette turns the light soil tones pink.
        return std::vector<kit::Output>{
            kit::picture("resources/pictures/earthwork/slope_diagram.png", slope_diagram, kit::Store::Rgb888, 9),
            kit::picture("resources/pictures/earthwork/vertical_cut_diagram.png", vertical_cut_diagram,
                         kit::Store::Rgb888, 9),
            kit::picture("resources/pictures/equipment/rock_drill_machines.png", rock_drill_machines,
                         kit::Store::Rgb888, 9),
        };
    });
}
