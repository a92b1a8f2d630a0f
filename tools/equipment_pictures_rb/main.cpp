// Draws the roller and bulldozer forms' pictures into
// <source-root>/resources/pictures/equipment/:
//   roller_machine.png        a smooth-drum road roller (370 x 250)
//   bulldozer_machine.png     a crawler bulldozer (330 x 132)
//   bulldozer_blade_heap.png  the soil heap in front of the blade: blade
//                             height H, slope angle φ, heap base H / tanφ
//                             (330 x 150)
// Each is drawn at the size of the picture box that shows it.
// (The titled placeholders of the two modules' reference tables come from
// tools/table_pictures, listed in its roller_bulldozer.tsv.)
#include "drawkit.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <vector>

namespace {

const QColor kBody(236, 184, 40);
const QColor kBodyDark(190, 140, 20);
const QColor kSteel(80, 84, 90);
const QColor kGlass(170, 205, 230);
const QColor kSoil(196, 160, 110);
const QColor kGround(120, 110, 95);

QFont font(int px, bool italic = false) { return kit::font(px, false, italic); }

void ground(QPainter& p, double x0, double x1, double y)
{
    p.save();
    p.setPen(QPen(kGround, 2));
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    p.setPen(QPen(kGround, 1));
    for (double x = x0 + 4; x < x1; x += 10) p.drawLine(QPointF(x, y + 1), QPointF(x - 6, y + 7));
    p.restore();
}

void wheel(QPainter& p, QPointF c, double r, const QColor& tyre, const QColor& hub)
{
    p.save();
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(tyre);
    p.drawEllipse(c, r, r);
    p.setBrush(hub);
    p.drawEllipse(c, r * 0.45, r * 0.45);
    p.setBrush(Qt::black);
    p.drawEllipse(c, r * 0.1, r * 0.1);
    p.restore();
}

QImage roller_machine()
{
    QImage img = kit::canvas(370, 250);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double y0 = 215; // ground
    ground(p, 10, 360, y0);

    // Front drum: a steel cylinder with its end plate.
    const QPointF drum(100, y0 - 50);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(kSteel);
    p.drawEllipse(drum, 50, 50);
    p.setBrush(QColor(150, 155, 160));
    p.drawEllipse(drum, 40, 40);
    p.setBrush(kBodyDark);
    p.drawEllipse(drum, 14, 14);

    // Yoke over the drum and the articulated frame.
    QPainterPath yoke;
    yoke.moveTo(45, y0 - 50);
    yoke.lineTo(45, y0 - 112);
    yoke.lineTo(160, y0 - 112);
    yoke.lineTo(160, y0 - 50);
    yoke.lineTo(150, y0 - 50);
    yoke.lineTo(150, y0 - 102);
    yoke.lineTo(55, y0 - 102);
    yoke.lineTo(55, y0 - 50);
    yoke.closeSubpath();
    p.setBrush(kBody);
    p.drawPath(yoke);
    p.drawRect(QRectF(160, y0 - 100, 25, 22)); // hitch

    // Rear body with the engine and the cab.
    p.drawRoundedRect(QRectF(185, y0 - 120, 160, 70), 6, 6);
    p.setBrush(kBodyDark);
    for (int k = 0; k < 5; ++k) p.drawRect(QRectF(285 + k * 10, y0 - 110, 5, 30)); // grille
    p.setBrush(kBody);
    p.drawRect(QRectF(195, y0 - 205, 90, 85)); // cab
    p.setBrush(kGlass);
    p.drawRect(QRectF(203, y0 - 197, 34, 55));
    p.drawRect(QRectF(243, y0 - 197, 34, 55));
    p.setBrush(kBodyDark);
    p.drawRect(QRectF(188, y0 - 212, 104, 9)); // roof
    p.setBrush(kSteel);
    p.drawRect(QRectF(320, y0 - 150, 7, 30)); // exhaust

    // Rear tyres.
    wheel(p, {285, y0 - 38}, 38, QColor(40, 40, 40), kBodyDark);
    return img;
}

QImage bulldozer_machine()
{
    QImage img = kit::canvas(330, 132);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double y0 = 122;
    ground(p, 5, 325, y0);

    // Track: a belt around the idler and sprocket, with road wheels.
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(50, 50, 50));
    p.drawRoundedRect(QRectF(95, y0 - 34, 190, 34), 17, 17);
    p.setBrush(QColor(110, 110, 110));
    p.drawRoundedRect(QRectF(101, y0 - 29, 178, 24), 12, 12);
    for (int k = 0; k < 6; ++k) wheel(p, {118 + k * 29.0, y0 - 17}, 9, QColor(70, 70, 70), QColor(150, 150, 150));

    // Hull, engine hood and cab.
    p.setBrush(kBody);
    p.drawRect(QRectF(110, y0 - 56, 160, 22));
    p.drawRect(QRectF(112, y0 - 74, 88, 18)); // hood
    p.setBrush(kBodyDark);
    for (int k = 0; k < 4; ++k) p.drawRect(QRectF(120 + k * 18, y0 - 70, 10, 10));
    p.setBrush(kSteel);
    p.drawRect(QRectF(160, y0 - 96, 6, 22)); // exhaust
    p.setBrush(kBody);
    p.drawRect(QRectF(205, y0 - 116, 60, 60)); // cab
    p.setBrush(kGlass);
    p.drawRect(QRectF(211, y0 - 110, 22, 34));
    p.drawRect(QRectF(238, y0 - 110, 21, 34));

    // Push arm and the curved blade in front.
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(kBodyDark);
    QPolygonF arm;
    arm << QPointF(58, y0 - 20) << QPointF(120, y0 - 24) << QPointF(120, y0 - 16) << QPointF(58, y0 - 12);
    p.drawPolygon(arm);
    p.drawLine(QPointF(60, y0 - 62), QPointF(115, y0 - 50)); // lift cylinder
    QPainterPath blade;
    blade.moveTo(40, y0);
    blade.cubicTo(62, y0 - 25, 62, y0 - 55, 44, y0 - 76);
    blade.lineTo(56, y0 - 76);
    blade.cubicTo(72, y0 - 55, 72, y0 - 25, 54, y0);
    blade.closeSubpath();
    p.setBrush(kBody);
    p.drawPath(blade);
    p.setBrush(kSteel);
    p.drawRect(QRectF(36, y0 - 4, 20, 4)); // cutting edge
    return img;
}

// The heap in front of the blade as the heap-length formula reads it: a
// triangle of height H whose slope stands at φ, so its base is H / tanφ.
QImage blade_heap()
{
    QImage img = kit::canvas(330, 150);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double y0 = 118, blade_x = 200, H = 78;
    const double phi = 40 * 3.14159265358979 / 180;
    const double toe = blade_x - H / std::tan(phi);

    // Soil heap, dotted.
    QPolygonF heap;
    heap << QPointF(toe, y0) << QPointF(blade_x, y0 - H) << QPointF(blade_x, y0);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(kSoil);
    p.drawPolygon(heap);
    p.setPen(QPen(QColor(120, 90, 50), 2));
    for (double y = y0 - 6; y > y0 - H + 6; y -= 9)
        for (double x = blade_x - 6; x > toe + (y0 - y) / std::tan(phi) + 4; x -= 11) p.drawPoint(QPointF(x - int(y) % 5, y));
    ground(p, 10, 320, y0);

    // Blade and a stub of the machine behind it.
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(kBody);
    p.drawRect(QRectF(blade_x, y0 - H - 4, 8, H + 4));
    p.setBrush(kBodyDark);
    p.drawRect(QRectF(blade_x + 8, y0 - 30, 62, 8));
    p.setBrush(QColor(60, 60, 60));
    p.drawRoundedRect(QRectF(blade_x + 70, y0 - 24, 50, 24), 12, 12);
    p.setBrush(kBody);
    p.drawRect(QRectF(blade_x + 74, y0 - 54, 42, 30));

    // Slope angle at the toe.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    const double r = 26;
    p.drawArc(QRectF(toe - r, y0 - r, 2 * r, 2 * r), 0, int(phi * 180 / 3.14159265358979 * 16));
    p.setFont(font(14, true));
    kit::text_at(p, QPointF(toe + r + 3, y0 - 6), QStringLiteral("φ"));

    // Blade height H.
    const double dx = blade_x + 30;
    p.drawLine(QPointF(dx, y0 - H), QPointF(dx, y0));
    p.drawLine(QPointF(blade_x + 10, y0 - H), QPointF(dx + 6, y0 - H));
    for (double yy : {y0 - H, y0}) {
        p.drawLine(QPointF(dx, yy), QPointF(dx - 3, yy + (yy < y0 ? 7 : -7)));
        p.drawLine(QPointF(dx, yy), QPointF(dx + 3, yy + (yy < y0 ? 7 : -7)));
    }
    p.fillRect(QRectF(dx - 8, y0 - H / 2 - 30, 16, 18), Qt::white);
    kit::text_at(p, QPointF(dx - 5, y0 - H / 2 - 16), QStringLiteral("H"));

    // Heap base H / tanφ.
    const double by = y0 + 16; // high enough for the descender of φ
    p.drawLine(QPointF(toe, y0 + 2), QPointF(toe, by + 4));
    p.drawLine(QPointF(blade_x, y0 + 2), QPointF(blade_x, by + 4));
    p.drawLine(QPointF(toe, by), QPointF(blade_x, by));
    p.setFont(font(13, true));
    kit::text(p, QRectF(toe - 60, by + 1, blade_x - toe + 120, 16), Qt::AlignHCenter, QStringLiteral("H / tanφ"));

    // Captions.
    p.setFont(font(12));
    kit::text_at(p, QPointF(toe + 18, y0 - H + 10), QStringLiteral("土堆"));
    kit::text_at(p, QPointF(blade_x - 14, y0 - H - 10), QStringLiteral("铲刀"));
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        const QString dir = QStringLiteral("resources/pictures/equipment/");
        // Eight-bit colour keeps the embedded bytes small; the drawings use few colours.
        return std::vector<kit::Output>{
            kit::picture(dir + "roller_machine.png", roller_machine, kit::Store::Palette, 9),
            kit::picture(dir + "bulldozer_machine.png", bulldozer_machine, kit::Store::Palette, 9),
            kit::picture(dir + "bulldozer_blade_heap.png", blade_heap, kit::Store::Palette, 9),
        };
    });
}
