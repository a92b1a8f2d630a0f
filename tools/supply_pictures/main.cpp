// Draws the supply modules' pictures into
// <source-root>/resources/pictures/supply/:
//   air_formula_supply.png   the formula line of Q (281 x 34)
//   air_formula_leakage.png  the formula line of q漏 (122 x 30)
//   air_compressor.png       the compressor station illustration, at the 172 x 169
//                            of the form's boxes
//   water_tank.png           the high-level tank illustration (498 x 187)
#include "drawkit.h"

#include <algorithm>

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <vector>

namespace {

const QColor kSteel(70, 80, 95);
const QColor kAir(30, 110, 200);
const QColor kWater(40, 120, 210);
const QColor kGround(150, 120, 80);

QFont font(double px, bool bold = false) { return kit::font(int(std::lround(px)), bold); }

// --- formula lines ------------------------------------------------------------------

// One piece of a formula line: ordinary text or a subscript.
struct Piece {
    QString text;
    bool sub = false;
};

// A subscript's size beside text of `px`: smaller, but never below 12 px.
double sub_px(double px) { return std::max(12.0, px * 0.62); }

double line_width(const std::vector<Piece>& pieces, double px)
{
    double w = 0;
    for (const Piece& pc : pieces) w += kit::text_width(font(pc.sub ? sub_px(px) : px), pc.text);
    return w;
}

// The line centred in the picture, its font shrunk until it fits.
QImage formula(int w, int h, const std::vector<Piece>& pieces)
{
    QImage img = kit::canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    double px = h * 0.6;
    while (px > 8 && line_width(pieces, px) > w - 8) px -= 0.5;
    double x = (w - line_width(pieces, px)) / 2;
    const double baseline = h * 0.5 + px * 0.32;
    p.setPen(Qt::black);
    for (const Piece& pc : pieces) {
        p.setFont(font(pc.sub ? sub_px(px) : px));
        x = kit::text_at(p, QPointF(x, pc.sub ? baseline + px * 0.22 : baseline), pc.text).right();
    }
    return img;
}

QImage supply_formula()
{
    return formula(281, 34, {{"Q ≥ (1 + K"}, {"备", true}, {")(∑q·K + q"}, {"漏", true}, {")·K"}, {"m", true}});
}

QImage leakage_formula() { return formula(122, 30, {{"q"}, {"漏", true}, {" = a·∑L"}}); }

// --- drawing helpers ------------------------------------------------------------------

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double width = 2)
{
    kit::arrow(p, from, to, QPen(c, width, Qt::SolidLine, Qt::RoundCap), 5 + 2 * width, 0.45);
}

void label(QPainter& p, QPointF at, const QString& text, double px = 12, bool bold = false,
           const QColor& colour = Qt::black)
{
    kit::text_at(p, at, text, font(px, bold), colour);
}

void gauge(QPainter& p, QPointF c, double r)
{
    p.save();
    p.setPen(QPen(kSteel, 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(c, r, r);
    p.drawLine(c, QPointF(c.x() + r * 0.6, c.y() - r * 0.5));
    p.restore();
}

void valve(QPainter& p, QPointF c, double s)
{
    p.save();
    p.setPen(QPen(kSteel, 1.5));
    p.setBrush(QColor(200, 60, 50));
    QPolygonF bow;
    bow << QPointF(c.x() - s, c.y() - s * 0.7) << QPointF(c.x() + s, c.y() + s * 0.7)
        << QPointF(c.x() + s, c.y() - s * 0.7) << QPointF(c.x() - s, c.y() + s * 0.7);
    p.drawPolygon(bow);
    p.drawLine(QPointF(c.x(), c.y()), QPointF(c.x(), c.y() - s * 1.6));
    p.drawLine(QPointF(c.x() - s * 0.7, c.y() - s * 1.6), QPointF(c.x() + s * 0.7, c.y() - s * 1.6));
    p.restore();
}

// A vertical dimension from y0 to y1 at x, its text beside it.
void vertical_dimension(QPainter& p, double x, double y0, double y1, const QString& text)
{
    p.save();
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(x - 6, y0), QPointF(x + 6, y0));
    p.drawLine(QPointF(x - 6, y1), QPointF(x + 6, y1));
    p.restore();
    arrow(p, {x, (y0 + y1) / 2}, {x, y0 + 1}, Qt::black, 1);
    arrow(p, {x, (y0 + y1) / 2}, {x, y1 - 1}, Qt::black, 1);
    label(p, {x + 5, (y0 + y1) / 2 + 5}, text, 13, true);
}

// --- compressor station -----------------------------------------------------------------

// Laid out on 353 x 347 and drawn at the 172 x 169 of the form's two boxes;
// its labels are sized for the box.
const QSizeF kCompressorLayout(353, 347);
const QSize kCompressorBox(172, 169);

QImage compressor()
{
    QImage img = kit::canvas(kCompressorBox.width(), kCompressorBox.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kCompressorBox.width() / kCompressorLayout.width(), kCompressorBox.height() / kCompressorLayout.height());
    label(p, {8, 30}, QStringLiteral("洞外空压机站"), 25, true);

    // Ground and concrete pad.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(215, 210, 200));
    p.drawRect(QRectF(0, 292, 353, 55));
    p.setBrush(QBrush(kGround, Qt::Dense6Pattern));
    p.drawRect(QRectF(0, 292, 353, 55));
    p.setBrush(QColor(180, 180, 178));
    p.setPen(QPen(kSteel, 1));
    p.drawRect(QRectF(16, 280, 322, 12));

    // Screw compressor: an enclosure on a skid with louvres and a panel.
    p.setPen(QPen(kSteel, 2));
    p.setBrush(QColor(70, 130, 180));
    p.drawRoundedRect(QRectF(24, 150, 180, 122), 6, 6);
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(20, 270, 188, 10));
    p.setPen(QPen(QColor(30, 70, 110), 2));
    for (double y = 164; y < 260; y += 10) p.drawLine(QPointF(120, y), QPointF(194, y));
    p.setPen(QPen(kSteel, 1.5));
    p.setBrush(QColor(235, 240, 245));
    p.drawRect(QRectF(36, 164, 68, 46));
    gauge(p, {56, 187}, 11);
    p.setBrush(QColor(40, 170, 70));
    p.drawEllipse(QPointF(86, 181), 5, 5);
    p.setBrush(QColor(200, 50, 40));
    p.drawEllipse(QPointF(86, 197), 5, 5);
    label(p, {32, 236}, QStringLiteral("螺杆式空压机"), 25, true, Qt::white);
    label(p, {40, 266}, QStringLiteral("24 m³/min"), 25, false, Qt::white);

    // Outlet pipe from the compressor to the air receiver.
    p.setPen(QPen(kSteel, 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(180, 150), QPointF(180, 120));
    p.drawLine(QPointF(178, 120), QPointF(262, 120));
    valve(p, {220, 120}, 7);

    // Air receiver: an upright vessel with domed ends, a gauge and a safety valve.
    QPainterPath vessel;
    vessel.addRoundedRect(QRectF(262, 96, 58, 176), 29, 24);
    p.setPen(QPen(kSteel, 2));
    p.setBrush(QColor(225, 228, 232));
    p.drawPath(vessel);
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(268, 272, 8, 8));
    p.drawRect(QRectF(306, 272, 8, 8));
    gauge(p, {291, 150}, 10);
    kit::text(p, QRectF(262, 168, 58, 100), Qt::AlignCenter, QStringLiteral("储\n气\n罐"), font(25, true));

    // Main line from the receiver's top to the tunnel.
    p.setPen(QPen(kSteel, 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(291, 98), QPointF(291, 66));
    p.drawLine(QPointF(289, 66), QPointF(353, 66));
    valve(p, {325, 66}, 7);
    arrow(p, {180, 48}, {340, 48}, kAir, 2.5);
    label(p, {174, 40}, QStringLiteral("至洞内高压风管"), 25);
    label(p, {128, 94}, QStringLiteral("0.7~0.8 MPa"), 25);
    arrow(p, {190, 135}, {250, 135}, kAir, 1.5);
    return img;
}

// --- high-level tank (498 x 187) -----------------------------------------------------

QImage tank()
{
    QImage img = kit::canvas(498, 187);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // Hill with the tank on its top, the portal in the rock face on the right.
    QPolygonF hill;
    hill << QPointF(0, 187) << QPointF(0, 120) << QPointF(60, 80) << QPointF(110, 52) << QPointF(170, 52)
         << QPointF(240, 100) << QPointF(300, 150) << QPointF(400, 150) << QPointF(400, 187);
    p.setPen(QPen(kGround, 1.5));
    p.setBrush(QColor(222, 210, 185));
    p.drawPolygon(hill);
    QPolygonF rock;
    rock << QPointF(420, 187) << QPointF(420, 60) << QPointF(498, 40) << QPointF(498, 187);
    p.setBrush(QColor(200, 195, 185));
    p.drawPolygon(rock);
    p.setBrush(QBrush(QColor(160, 150, 135), Qt::BDiagPattern));
    p.drawPolygon(rock);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(70, 70, 70));
    QPainterPath portal;
    portal.moveTo(430, 150);
    portal.lineTo(430, 115);
    portal.arcTo(QRectF(430, 95, 50, 40), 180, -180);
    portal.lineTo(480, 150);
    portal.closeSubpath();
    p.drawPath(portal);
    p.setPen(QPen(kGround, 2));
    p.drawLine(QPointF(300, 150), QPointF(498, 150));
    label(p, {436, 170}, QStringLiteral("隧道洞口"), 12);

    // The tank, half full.
    p.setPen(QPen(kSteel, 2));
    p.setBrush(QColor(235, 240, 245));
    p.drawRect(QRectF(110, 20, 60, 32));
    p.setPen(Qt::NoPen);
    p.setBrush(kWater);
    p.drawRect(QRectF(112, 34, 56, 16));
    label(p, {104, 14}, QStringLiteral("高位水池"), 13, true);

    // Gravity main from the tank down the slope to the distribution point.
    p.setPen(QPen(kWater, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF main;
    main << QPointF(170, 46) << QPointF(240, 94) << QPointF(300, 144) << QPointF(410, 144);
    p.drawPolyline(main);
    arrow(p, {250, 112}, {282, 138}, kWater, 2);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(200, 60, 50));
    p.drawEllipse(QPointF(410, 144), 5, 5);
    label(p, {334, 138}, QStringLiteral("配水点"), 12);

    // Source and pump at the foot of the hill, the rising main up to the tank.
    p.setPen(Qt::NoPen);
    p.setBrush(kWater);
    p.drawEllipse(QRectF(6, 160, 56, 18));
    label(p, {14, 156}, QStringLiteral("水源"), 12);
    p.setPen(QPen(kSteel, 1.5));
    p.setBrush(QColor(240, 200, 60));
    p.drawRect(QRectF(70, 150, 22, 16));
    label(p, {64, 182}, QStringLiteral("水泵"), 12);
    p.setPen(QPen(kSteel, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPolygonF rising;
    rising << QPointF(81, 150) << QPointF(81, 112) << QPointF(116, 84) << QPointF(116, 52);
    p.drawPolyline(rising);
    arrow(p, {96, 106}, {110, 90}, kSteel, 1.5);
    label(p, {20, 108}, QStringLiteral("扬程H′"), 12, true);

    // H from the tank's bottom to the distribution point.
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    p.drawLine(QPointF(170, 52), QPointF(385, 52));
    p.drawLine(QPointF(300, 144), QPointF(385, 144));
    vertical_dimension(p, 380, 52, 144, QStringLiteral("H"));
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        const QString dir = QStringLiteral("resources/pictures/supply/");
        // Eight-bit colour keeps the embedded bytes small; the drawings use few colours.
        return std::vector<kit::Output>{
            kit::picture(dir + "air_formula_supply.png", supply_formula, kit::Store::Palette, 9),
            kit::picture(dir + "air_formula_leakage.png", leakage_formula, kit::Store::Palette, 9),
            kit::picture(dir + "air_compressor.png", compressor, kit::Store::Palette, 9),
            kit::picture(dir + "water_tank.png", tank, kit::Store::Palette, 9),
        };
    });
}
