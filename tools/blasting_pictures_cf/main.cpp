// Draws the controlled-blasting and flyrock forms' pictures into
// <source-root>/resources/pictures/blasting/:
//   controlled_holes.png    a tunnel face under a protected building: the
//                           first-blast area (top heading) and the area with a
//                           free face (lower bench), their hole groups by
//                           colour, the distance R' and the vibration waves
//                           (laid out on 1628 x 896, drawn at the 486 x 267 of
//                           the form's box). Its top-right corner stays plain
//                           because the form lays the relation plate over it.
//   controlled_formula.png  the plate with the Sadovsky relation solved for Q
//                           (170 x 44, the size of its box)
//   flyrock_scene.png       a bench blast: stones thrown to Rf, the fume cloud
//                           drifting downwind to Rg (563 x 189)
#include "drawkit.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <vector>

namespace {

const QColor kRock(214, 206, 192);
const QColor kRockLine(150, 140, 125);
const QColor kSoil(196, 170, 130);
const QColor kInk(40, 40, 40);
const QColor kPerimeter(210, 40, 40);
const QColor kInner(240, 140, 20);
const QColor kCut(120, 40, 160);
const QColor kAux(30, 100, 210);
const QColor kFloor(30, 150, 70);
const QColor kWave(60, 130, 200);

using kit::font;

// A dimension line with heads at both ends.
void dimension(QPainter& p, QPointF a, QPointF b, const QColor& c, double width, double head)
{
    kit::dimension_line(p, a, b, QPen(c, width), head);
}

void hole(QPainter& p, QPointF c, double r, const QColor& colour)
{
    p.save();
    p.setPen(QPen(colour.darker(140), r * 0.35));
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
    p.restore();
}

// --- controlled blasting ------------------------------------------------------------------

// The tunnel outline: a semicircular crown of radius r over straight walls
// down to the invert at y = bottom.
QPainterPath tunnel_outline(QPointF crown_centre, double r, double bottom)
{
    QPainterPath path;
    path.moveTo(crown_centre.x() - r, bottom);
    path.lineTo(crown_centre.x() - r, crown_centre.y());
    path.arcTo(QRectF(crown_centre.x() - r, crown_centre.y() - r, 2 * r, 2 * r), 180, -180);
    path.lineTo(crown_centre.x() + r, bottom);
    path.closeSubpath();
    return path;
}

void house(QPainter& p, QRectF body)
{
    p.save();
    p.setPen(QPen(kInk, 4));
    p.setBrush(QColor(245, 236, 220));
    p.drawRect(body);
    QPolygonF roof;
    roof << QPointF(body.left() - 24, body.top()) << QPointF(body.center().x(), body.top() - 86)
         << QPointF(body.right() + 24, body.top());
    p.setBrush(QColor(170, 70, 50));
    p.drawPolygon(roof);
    p.setBrush(QColor(170, 205, 230));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(body.left() + 26 + i * 70, body.top() + 26, 44, 40));
    p.setBrush(QColor(140, 100, 60));
    p.drawRect(QRectF(body.right() - 70, body.bottom() - 70, 40, 70));
    p.restore();
}

// The form's box; 41 pixels of the 1628 x 896 layout show at 12 there.
const QSize kHolesBox(486, 267);
const QSizeF kHolesLayout(1628, 896);

QImage controlled_holes()
{
    QImage img = kit::canvas(kHolesBox.width(), kHolesBox.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kHolesBox.width() / kHolesLayout.width(), kHolesBox.height() / kHolesLayout.height());

    const double ground = 300;
    // Soil over rock, the building on the surface.
    p.fillRect(QRectF(0, ground, 1060, 896 - ground), kRock);
    p.fillRect(QRectF(0, ground, 1060, 60), kSoil);
    p.setPen(QPen(kRockLine, 3));
    p.drawLine(QPointF(0, ground), QPointF(1060, ground));
    p.setPen(QPen(kRockLine, 1.5, Qt::DashLine));
    p.drawLine(QPointF(0, ground + 60), QPointF(1060, ground + 60));
    house(p, QRectF(150, ground - 130, 250, 130));
    p.setPen(kInk);
    p.setFont(font(42, true));
    kit::text(p, QRectF(70, 16, 440, 60), Qt::AlignCenter, "被保护建(构)筑物");

    // The tunnel: crown centre, radius, invert; the top heading ends at the bench line.
    const QPointF crown(640, 580);
    const double r = 220;
    const double invert = 880;
    const double bench = 700;
    const QPainterPath outline = tunnel_outline(crown, r, invert);
    p.setPen(QPen(kInk, 5));
    p.setBrush(QColor(250, 248, 240));
    p.drawPath(outline);
    p.setPen(QPen(kInk, 3, Qt::DashLine));
    p.drawLine(QPointF(crown.x() - r, bench), QPointF(crown.x() + r, bench));

    // The two areas are named in the rock beside the tunnel.
    p.setFont(font(41, true));
    p.setPen(QColor(120, 60, 20));
    kit::text(p, QRectF(crown.x() + r + 20, 500, 220, 120), Qt::AlignLeft | Qt::AlignVCenter, "初次爆破区\n(上台阶)");
    kit::text(p, QRectF(crown.x() + r + 20, 712, 220, 180), Qt::AlignLeft | Qt::AlignVCenter,
              "已有临空面\n爆破区\n(中下台阶)");
    p.setPen(QPen(QColor(120, 60, 20), 2.5));
    p.drawLine(QPointF(crown.x() + r - 30, 560), QPointF(crown.x() + r + 14, 560));
    p.drawLine(QPointF(crown.x() + r - 30, 790), QPointF(crown.x() + r + 14, 790));

    const double hr = 12;
    // Perimeter holes on the contour of the top heading, inner perimeter one row in.
    for (int i = 0; i <= 14; ++i) {
        const double a = M_PI * i / 14;
        hole(p, QPointF(crown.x() - (r - 14) * std::cos(a), crown.y() - (r - 14) * std::sin(a)), hr, kPerimeter);
        if (i > 0 && i < 14 && i % 2 == 0)
            hole(p, QPointF(crown.x() - (r - 56) * std::cos(a), crown.y() - (r - 56) * std::sin(a)), hr, kInner);
    }
    for (double y = crown.y() + 40; y < bench - 30; y += 45) {
        hole(p, QPointF(crown.x() - r + 14, y), hr, kPerimeter);
        hole(p, QPointF(crown.x() + r - 14, y), hr, kPerimeter);
    }
    // Cut holes in a wedge at the centre of the heading.
    const QPointF cut(crown.x(), 585);
    for (int i = -1; i <= 1; i += 2)
        for (int k = 0; k < 3; ++k) hole(p, QPointF(cut.x() + i * (22 + 10 * k), cut.y() - 36 + 36 * k), hr, kCut);
    // Auxiliary holes around the cut.
    for (double x = crown.x() - 130; x <= crown.x() + 130; x += 65)
        for (double y = 515; y <= 655; y += 70) {
            if (std::abs(x - cut.x()) < 60 && std::abs(y - cut.y()) < 60) continue;
            hole(p, QPointF(x, y), hr, kAux);
        }
    // Floor holes along the bench line.
    for (double x = crown.x() - r + 40; x <= crown.x() + r - 30; x += 48) hole(p, QPointF(x, bench - 16), hr, kFloor);
    // Lower bench: auxiliary holes and the perimeter holes of the walls.
    for (double x = crown.x() - 140; x <= crown.x() + 140; x += 70)
        for (double y = 740; y <= 790; y += 50) hole(p, QPointF(x, y), hr, kAux.lighter(130));
    for (double y = bench + 36; y < invert - 20; y += 45) {
        hole(p, QPointF(crown.x() - r + 14, y), hr, kPerimeter.lighter(130));
        hole(p, QPointF(crown.x() + r - 14, y), hr, kPerimeter.lighter(130));
    }

    // Vibration waves from the cut and the distance R' to the building.
    // The waves run through the ground only.
    p.save();
    p.setClipRect(QRectF(0, ground + 2, 1060, 896));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        p.setPen(QPen(kWave, 3, Qt::DashLine));
        const double rr = 250 + 50 * i;
        p.drawArc(QRectF(cut.x() - rr, cut.y() - rr, 2 * rr, 2 * rr), 16 * 120, 16 * 60);
    }
    p.restore();
    const QPointF foot(300, ground + 4);
    dimension(p, foot, QPointF(cut.x() - 14, cut.y() - 12), QColor(200, 30, 30), 4, 26);
    p.setPen(QColor(200, 30, 30));
    p.setFont(font(46, true, true));
    kit::text_at(p, QPointF(300, 470), "R'");

    // Legend of the hole groups, clear of the top-right corner.
    struct Entry {
        QColor colour;
        const char* name;
    };
    const Entry legend[] = {
        {kPerimeter, "周边孔"},  {kInner, "次周边孔"}, {kCut, "掏槽孔"}, {kAux, "辅助孔"},
        {kFloor, "底板孔"},      {kAux.lighter(130), "辅助孔(已有临空面)"}, {kPerimeter.lighter(130), "周边孔(已有临空面)"},
    };
    const double lx = 1142, ly = 230;
    p.setPen(QPen(kInk, 3));
    p.setBrush(QColor(250, 250, 250));
    p.drawRoundedRect(QRectF(lx - 20, ly - 20, 470, 78 + 58 * std::size(legend)), 16, 16);
    p.setFont(font(43, true));
    p.setPen(kInk);
    kit::text_at(p, QPointF(lx, ly + 32), "布孔分区");
    p.setFont(font(41));
    for (size_t i = 0; i < std::size(legend); ++i) {
        const double y = ly + 92 + 58 * double(i);
        hole(p, QPointF(lx + 20, y - 10), 13, legend[i].colour);
        p.setPen(kInk);
        kit::text_at(p, QPointF(lx + 56, y), legend[i].name);
    }
    p.setFont(font(41));
    p.setPen(QColor(90, 90, 90));
    kit::text(p, QRectF(lx - 20, 712, 1628 - lx + 14, 180), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
              "K = K'·(1 − 衰减比例)，按各区域、各孔组分别计算最大单段药量");
    return img;
}

QImage controlled_formula()
{
    const int w = 170, h = 44;
    QImage img = kit::canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), QColor(255, 250, 220));
    p.setPen(QPen(QColor(180, 140, 40), 1.5));
    p.drawRect(QRectF(0.75, 0.75, w - 1.5, h - 1.5));
    p.setPen(kInk);
    p.setFont(font(12));
    kit::text(p, QRectF(0, 2, w, 17), Qt::AlignCenter, "萨道夫斯基公式反算药量");
    p.setFont(font(15, true, true));
    kit::text(p, QRectF(0, 19, w, 23), Qt::AlignCenter, "Q = R³·(V/K)^(3/α)");
    return img;
}

// --- flyrock ------------------------------------------------------------------------------

QImage flyrock_scene()
{
    QImage img = kit::canvas(563, 189);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    const double ground = 160;
    // Bench: crest at left, the free face and the floor.
    QPolygonF bench;
    bench << QPointF(0, 70) << QPointF(92, 70) << QPointF(118, ground) << QPointF(563, ground) << QPointF(563, 189)
          << QPointF(0, 189);
    p.setPen(QPen(kRockLine, 1.5));
    p.setBrush(kRock);
    p.drawPolygon(bench);
    // Charge in the hole and its least burden W to the face.
    p.setPen(QPen(kInk, 2));
    p.drawLine(QPointF(52, 70), QPointF(52, 140));
    p.setBrush(QColor(220, 60, 40));
    p.drawRect(QRectF(48, 108, 8, 30));
    dimension(p, QPointF(56, 122), QPointF(111, 122), QColor(30, 80, 170), 1.2, 6);
    p.setPen(QColor(30, 80, 170));
    p.setFont(font(12, true, true));
    kit::text_at(p, QPointF(76, 118), "W");

    // Stones thrown from the face; the farthest marks Rf.
    const QPointF start(112, 112);
    const double reaches[] = {190, 300, 410};
    for (double reach : reaches) {
        QPainterPath path(start);
        const double end = start.x() + reach;
        path.quadTo(QPointF((start.x() + end) / 2, start.y() - reach * 0.55), QPointF(end, ground - 4));
        p.setPen(QPen(QColor(120, 90, 60), 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(110, 100, 90));
        p.drawEllipse(QPointF(end, ground - 4), 4, 3.5);
    }
    dimension(p, QPointF(start.x(), 176), QPointF(start.x() + 410, 176), QColor(200, 30, 30), 1.5, 7);
    p.setPen(QColor(200, 30, 30));
    p.setFont(font(13, true));
    kit::text(p, QRectF(start.x(), 159, 410, 16), Qt::AlignCenter, "个别飞石安全距离 Rf");
    // Warning post at Rf.
    p.setPen(QPen(QColor(200, 30, 30), 2));
    p.drawLine(QPointF(start.x() + 430, ground), QPointF(start.x() + 430, 118));
    p.setBrush(QColor(250, 210, 40));
    QPolygonF sign;
    sign << QPointF(start.x() + 430, 104) << QPointF(start.x() + 442, 124) << QPointF(start.x() + 418, 124);
    p.drawPolygon(sign);

    // The fume cloud drifting downwind, and Rg.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 150, 150, 120));
    const QPointF puffs[] = {{140, 40}, {175, 30}, {212, 38}, {250, 28}, {288, 36}, {160, 55}, {230, 52}};
    for (QPointF c : puffs) p.drawEllipse(c, 26, 17);
    p.setPen(QPen(QColor(40, 110, 180), 2));
    p.drawLine(QPointF(330, 26), QPointF(400, 26));
    kit::arrow_head(p, QPointF(410, 26), 0, 10, QColor(40, 110, 180));
    p.setPen(QColor(40, 110, 180));
    p.setFont(font(12, true));
    kit::text_at(p, QPointF(334, 18), "风向");
    dimension(p, QPointF(112, 74), QPointF(318, 74), QColor(90, 90, 90), 1.2, 6);
    p.setPen(QColor(70, 70, 70));
    kit::text_at(p, QPointF(150, 90), "爆破毒气安全距离 Rg");

    p.setPen(kInk);
    p.setFont(font(13, true));
    kit::text(p, QRectF(420, 4, 140, 18), Qt::AlignRight, "Rf = 20·Kf·n²·W");
    kit::text(p, QRectF(420, 44, 140, 18), Qt::AlignRight, "Rg = Kg·∛Q");
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        const QString dir = QStringLiteral("resources/pictures/blasting/");
        std::vector<kit::Output> pictures{
            kit::picture(dir + "controlled_holes.png", controlled_holes),
            kit::picture(dir + "controlled_formula.png", controlled_formula),
            kit::picture(dir + "flyrock_scene.png", flyrock_scene),
        };
        return pictures;
    });
}
