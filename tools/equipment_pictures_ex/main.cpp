// Draws the excavator forms' pictures into
// <source-root>/resources/pictures/equipment/:
//   excavator_machine.png     a crawler excavator digging, with the parts the
//                             productivity formula speaks of (400 x 396)
//   excavator_dump_truck.png  a dump truck being loaded by an excavator's
//                             bucket (560 x 124)
#include "drawkit.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <vector>

namespace {

const QColor kBody(236, 178, 32);     // machine yellow
const QColor kBodyDark(190, 138, 20);
const QColor kSteel(70, 70, 74);
const QColor kGlass(170, 205, 230);
const QColor kSoil(150, 110, 70);
const QColor kSoilLight(186, 148, 104);
const QColor kInk(40, 40, 40);

using kit::font;

// A crawler track seen from the side: a rounded band with its rollers.
void track(QPainter& p, QRectF r)
{
    p.save();
    p.setPen(QPen(kSteel, 2));
    p.setBrush(QColor(55, 55, 58));
    p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    p.setBrush(QColor(120, 120, 124));
    const double rr = r.height() * 0.28;
    const int n = 5;
    for (int i = 0; i < n; ++i) {
        const double x = r.left() + r.height() / 2 + i * (r.width() - r.height()) / (n - 1);
        p.drawEllipse(QPointF(x, r.center().y()), rr, rr);
    }
    // grousers along the bottom
    p.setPen(QPen(QColor(30, 30, 30), 2));
    for (double x = r.left() + r.height() / 2; x < r.right() - r.height() / 2; x += 9)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + 4, r.bottom()));
    p.restore();
}

// A thick arm between two pins, drawn as a tapered beam.
void beam(QPainter& p, QPointF a, QPointF b, double wa, double wb, const QColor& fill)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len = std::hypot(dx, dy);
    const double nx = -dy / len, ny = dx / len;
    QPolygonF poly;
    poly << QPointF(a.x() + nx * wa, a.y() + ny * wa) << QPointF(b.x() + nx * wb, b.y() + ny * wb)
         << QPointF(b.x() - nx * wb, b.y() - ny * wb) << QPointF(a.x() - nx * wa, a.y() - ny * wa);
    p.save();
    p.setPen(QPen(kBodyDark, 1.5));
    p.setBrush(fill);
    p.drawPolygon(poly);
    p.setBrush(kSteel);
    p.setPen(Qt::NoPen);
    p.drawEllipse(a, 4, 4);
    p.drawEllipse(b, 4, 4);
    p.restore();
}

void cylinder(QPainter& p, QPointF a, QPointF b)
{
    p.save();
    p.setPen(QPen(QColor(90, 90, 95), 6, Qt::SolidLine, Qt::RoundCap));
    const QPointF mid = a + (b - a) * 0.55;
    p.drawLine(a, mid);
    p.setPen(QPen(QColor(200, 200, 205), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(mid, b);
    p.restore();
}

// The bucket hanging at `tip`, opening toward -x (digging toward the machine).
void bucket(QPainter& p, QPointF tip, double s, double angle_deg, bool full)
{
    p.save();
    p.translate(tip);
    p.rotate(angle_deg);
    QPainterPath b;
    b.moveTo(0, 0);
    b.lineTo(14 * s, 6 * s);
    b.quadTo(18 * s, 30 * s, -2 * s, 38 * s);
    b.lineTo(-16 * s, 34 * s);
    b.lineTo(-10 * s, 26 * s);
    b.quadTo(-4 * s, 12 * s, 0, 0);
    p.setPen(QPen(kSteel, 2));
    p.setBrush(kBody.darker(115));
    p.drawPath(b);
    // teeth
    p.setBrush(kSteel);
    for (int k = 0; k < 3; ++k) {
        QPolygonF t;
        const double y = 31 * s + k * 2.5 * s;
        t << QPointF(-14 * s, y) << QPointF(-22 * s, y + 2 * s) << QPointF(-14 * s, y + 3 * s);
        p.drawPolygon(t);
    }
    if (full) {
        p.setPen(Qt::NoPen);
        p.setBrush(kSoil);
        p.drawEllipse(QPointF(-4 * s, 22 * s), 10 * s, 7 * s);
    }
    p.restore();
}

void caption(QPainter& p, const QRectF& r, const QString& text, int px, int align = Qt::AlignCenter)
{
    kit::text(p, r, align, text, font(px, true), kInk);
}

void leader(QPainter& p, QPointF from, QPointF to, const QString& text)
{
    p.save();
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawLine(from, to);
    p.setBrush(QColor(90, 90, 90));
    p.drawEllipse(from, 2, 2);
    p.setFont(font(13));
    p.setPen(kInk);
    const bool left = to.x() < from.x();
    const QRectF box(left ? to.x() - 86 : to.x() + 4, to.y() - 10, 82, 20);
    kit::text(p, box, (left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
    p.restore();
}

QImage excavator_machine()
{
    const int W = 400, H = 396;
    QImage img = kit::canvas(W, H);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    // Sky fade and ground with the dug face and a spoil heap.
    QLinearGradient sky(0, 0, 0, 280);
    sky.setColorAt(0, QColor(226, 238, 248));
    sky.setColorAt(1, Qt::white);
    p.fillRect(QRectF(0, 0, W, 290), sky);
    const double ground = 290;
    QPainterPath earth;
    earth.moveTo(0, ground);
    earth.lineTo(W, ground);
    earth.lineTo(W, H - 40);
    earth.lineTo(0, H - 40);
    earth.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kSoilLight);
    p.drawPath(earth);
    // the pit in front of the machine
    QPainterPath pit;
    pit.moveTo(40, ground);
    pit.quadTo(70, ground + 58, 150, ground + 56);
    pit.lineTo(170, ground);
    pit.closeSubpath();
    p.setBrush(kSoil.darker(110));
    p.drawPath(pit);
    p.setPen(QPen(kSoil.darker(140), 2));
    p.drawLine(QPointF(0, ground), QPointF(40, ground));
    p.drawLine(QPointF(170, ground), QPointF(W, ground));

    // Undercarriage and upper structure, facing left.
    track(p, QRectF(196, ground - 34, 176, 34));
    p.setPen(QPen(kBodyDark, 2));
    p.setBrush(QColor(80, 80, 84));
    p.drawRect(QRectF(240, ground - 44, 90, 10)); // slewing ring
    QPainterPath house;
    house.moveTo(208, ground - 46);
    house.lineTo(380, ground - 46);
    house.lineTo(380, ground - 104);
    house.lineTo(300, ground - 104);
    house.lineTo(300, ground - 96);
    house.lineTo(214, ground - 96);
    house.closeSubpath();
    p.setBrush(kBody);
    p.drawPath(house);
    // counterweight
    p.setBrush(kBodyDark);
    p.drawRoundedRect(QRectF(356, ground - 80, 30, 36), 6, 6);
    // cab
    QPainterPath cab;
    cab.moveTo(214, ground - 96);
    cab.lineTo(214, ground - 150);
    cab.lineTo(262, ground - 150);
    cab.lineTo(272, ground - 96);
    cab.closeSubpath();
    p.setBrush(kBody);
    p.drawPath(cab);
    QPainterPath glass;
    glass.moveTo(220, ground - 102);
    glass.lineTo(220, ground - 144);
    glass.lineTo(257, ground - 144);
    glass.lineTo(265, ground - 102);
    glass.closeSubpath();
    p.setBrush(kGlass);
    p.setPen(QPen(kSteel, 1.5));
    p.drawPath(glass);
    // exhaust
    p.setPen(QPen(kSteel, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(330, ground - 104), QPointF(330, ground - 122));

    // Boom, stick and bucket reaching into the pit; the boom rises beside
    // the cab, so its cylinder stays clear of the cab's glass.
    const QPointF boom_foot(284, ground - 98);
    const QPointF boom_bend(238, ground - 212);
    const QPointF boom_knee(170, ground - 228);
    const QPointF stick_tip(108, ground + 6);
    cylinder(p, QPointF(300, ground - 62), QPointF(258, ground - 168));
    beam(p, boom_foot, boom_bend, 13, 11, kBody);
    beam(p, boom_bend, boom_knee, 11, 9, kBody);
    cylinder(p, QPointF(232, ground - 200), QPointF(176, ground - 246));
    beam(p, QPointF(176, ground - 242), stick_tip, 8, 6, kBody);
    bucket(p, stick_tip, 1.25, 10, true);

    // Names of the parts.
    leader(p, QPointF(262, ground - 156), QPointF(320, ground - 196), QStringLiteral("动臂"));
    leader(p, QPointF(146, ground - 110), QPointF(96, ground - 130), QStringLiteral("斗杆"));
    leader(p, QPointF(118, ground + 34), QPointF(186, ground + 50), QStringLiteral("铲斗 q"));
    leader(p, QPointF(236, ground - 124), QPointF(322, ground - 150), QStringLiteral("驾驶室"));
    leader(p, QPointF(300, ground - 18), QPointF(330, ground + 26), QStringLiteral("履带"));

    // One work cycle: dig, swing, dump, swing back; the head points along
    // the way round at the arc's end.
    p.save();
    const QColor cycle(30, 110, 200);
    p.setPen(QPen(cycle, 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    const QRectF arc(12, 14, 128, 80);
    p.drawArc(arc, 20 * 16, 300 * 16);
    const double th = 320 * 3.14159265 / 180;
    const double a = arc.width() / 2, b = arc.height() / 2;
    const QPointF end(arc.center().x() + a * std::cos(th), arc.center().y() - b * std::sin(th));
    const double tx = -a * std::sin(th), ty = -b * std::cos(th), tl = std::hypot(tx, ty);
    const QPointF dir(tx / tl, ty / tl), nrm(-dir.y(), dir.x());
    QPolygonF head;
    head << end + dir * 9 << end - dir * 3 + nrm * 6 << end - dir * 3 - nrm * 6;
    p.setPen(Qt::NoPen);
    p.setBrush(cycle);
    p.drawPolygon(head);
    p.setPen(cycle);
    p.setFont(font(13));
    kit::text(p, arc, Qt::AlignCenter, QStringLiteral("挖掘→回转\n卸土→返回\n一个循环 t"));
    p.restore();

    // Title strip.
    p.fillRect(QRectF(0, H - 40, W, 40), QColor(60, 70, 86));
    p.setPen(Qt::white);
    p.setFont(font(18, true));
    kit::text(p, QRectF(0, H - 40, W, 40), Qt::AlignCenter, QStringLiteral("单斗挖掘机"));
    p.end();
    return img;
}

QImage dump_truck()
{
    const int W = 560, H = 124;
    QImage img = kit::canvas(W, H);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, H);
    sky.setColorAt(0, QColor(226, 238, 248));
    sky.setColorAt(1, Qt::white);
    p.fillRect(QRectF(0, 0, W, H), sky);

    const double road = 108;
    p.setPen(QPen(QColor(110, 110, 110), 3));
    p.drawLine(QPointF(0, road), QPointF(W, road));
    p.setPen(QPen(QColor(170, 170, 170), 2, Qt::DashLine));
    p.drawLine(QPointF(0, road + 8), QPointF(W, road + 8));

    // Truck facing right: dump body at the back, cab at the front.
    const double x0 = 150;
    QPainterPath body;
    body.moveTo(x0, road - 70);
    body.lineTo(x0 + 170, road - 70);
    body.lineTo(x0 + 176, road - 30);
    body.lineTo(x0 + 10, road - 30);
    body.closeSubpath();
    p.setPen(QPen(kBodyDark.darker(120), 2));
    p.setBrush(QColor(200, 70, 50));
    p.drawPath(body);
    // ribs of the body
    p.setPen(QPen(QColor(160, 50, 36), 2));
    for (int k = 1; k < 5; ++k) p.drawLine(QPointF(x0 + 8 + k * 33, road - 68), QPointF(x0 + 10 + k * 33, road - 32));
    // soil heaped in the body
    QPainterPath heap;
    heap.moveTo(x0 + 4, road - 70);
    heap.quadTo(x0 + 90, road - 102, x0 + 168, road - 70);
    heap.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kSoil);
    p.drawPath(heap);
    // chassis
    p.setBrush(kSteel);
    p.drawRect(QRectF(x0 + 4, road - 30, 262, 10));
    // cab
    QPainterPath cab;
    cab.moveTo(x0 + 186, road - 20);
    cab.lineTo(x0 + 186, road - 74);
    cab.lineTo(x0 + 232, road - 74);
    cab.lineTo(x0 + 258, road - 46);
    cab.lineTo(x0 + 268, road - 44);
    cab.lineTo(x0 + 268, road - 20);
    cab.closeSubpath();
    p.setPen(QPen(kBodyDark.darker(120), 2));
    p.setBrush(QColor(200, 70, 50));
    p.drawPath(cab);
    QPainterPath win;
    win.moveTo(x0 + 200, road - 48);
    win.lineTo(x0 + 200, road - 68);
    win.lineTo(x0 + 228, road - 68);
    win.lineTo(x0 + 248, road - 48);
    win.closeSubpath();
    p.setBrush(kGlass);
    p.setPen(QPen(kSteel, 1.5));
    p.drawPath(win);
    // wheels
    for (double wx : {x0 + 40, x0 + 78, x0 + 230}) {
        p.setPen(QPen(QColor(25, 25, 25), 2));
        p.setBrush(QColor(40, 40, 40));
        p.drawEllipse(QPointF(wx, road - 14), 14, 14);
        p.setBrush(QColor(170, 170, 175));
        p.drawEllipse(QPointF(wx, road - 14), 6, 6);
    }

    // An excavator's bucket tipping a load into the body from the left.
    p.save();
    p.setPen(QPen(kBodyDark, 1.5));
    p.setBrush(kBody);
    QPolygonF stick;
    stick << QPointF(40, 4) << QPointF(126, 22) << QPointF(122, 32) << QPointF(36, 14);
    p.drawPolygon(stick);
    p.restore();
    bucket(p, QPointF(124, 26), 0.9, -70, false);
    p.setPen(Qt::NoPen);
    p.setBrush(kSoil);
    for (int k = 0; k < 6; ++k) p.drawEllipse(QPointF(150 + k * 7, 46 + (k % 3) * 5), 3.5, 3);

    // Haul cycle: load, haul, dump, return.
    p.setPen(QPen(QColor(30, 110, 200), 2));
    p.setBrush(QColor(30, 110, 200));
    const double ay = 20;
    p.drawLine(QPointF(430, ay), QPointF(540, ay));
    QPolygonF h1;
    h1 << QPointF(548, ay) << QPointF(538, ay - 5) << QPointF(538, ay + 5);
    p.drawPolygon(h1);
    p.setFont(font(12));
    p.setPen(QColor(30, 110, 200));
    kit::text(p, QRectF(430, ay + 4, 120, 18), Qt::AlignCenter, QStringLiteral("重车运土 l"));
    p.setPen(QPen(QColor(30, 110, 200), 2, Qt::DashLine));
    p.drawLine(QPointF(440, ay + 36), QPointF(548, ay + 36));
    p.setPen(Qt::NoPen);
    QPolygonF h2;
    h2 << QPointF(432, ay + 36) << QPointF(442, ay + 31) << QPointF(442, ay + 41);
    p.drawPolygon(h2);
    p.setPen(QColor(30, 110, 200));
    kit::text(p, QRectF(430, ay + 40, 120, 18), Qt::AlignCenter, QStringLiteral("空车返回"));

    caption(p, QRectF(8, 62, 140, 22), QStringLiteral("自卸汽车"), 16, Qt::AlignLeft | Qt::AlignVCenter);
    p.end();
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        return std::vector<kit::Output>{
            kit::picture("resources/pictures/equipment/excavator_machine.png", excavator_machine),
            kit::picture("resources/pictures/equipment/excavator_dump_truck.png", dump_truck),
        };
    });
}
