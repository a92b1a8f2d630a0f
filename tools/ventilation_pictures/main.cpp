// Draws the ventilation module's pictures into
// <source-root>/resources/pictures/ventilation/:
//   scheme_*.png        the diagram of each ventilation scheme, laid out on
//                       782 x 208 and drawn at the 392 x 112 of its box
//   illustration.png    the fixed illustration beside them, laid out on
//                       1210 x 620 and drawn at the 605 x 310 of its box; its
//                       top-left corner stays plain because the form shows
//                       the scheme diagram over it
// (The titled placeholders of the reference tables come from
// tools/table_pictures, listed in its ventilation.tsv.)
#include "drawkit.h"

#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QColor kFresh(30, 110, 200);
const QColor kFoul(160, 90, 40);
const QColor kRock(205, 200, 190);
const QColor kDuct(60, 60, 60);

using kit::font;

// The form's boxes and the layouts drawn into them; the texts are sized for
// the box (a 24-pixel text of the layout shows at 12).
const QSize kSchemeBox(392, 112);
const QSizeF kSchemeLayout(782, 208);
const QSize kIllustrationBox(605, 310);
const QSizeF kIllustrationLayout(1210, 620);

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double width = 2.5)
{
    kit::arrow(p, from, to, QPen(c, width, Qt::SolidLine, Qt::RoundCap), 5 + 2 * width, 0.45);
}

// A run of flow arrows along a horizontal line, pointing right or left.
void flow(QPainter& p, double x0, double x1, double y, bool right, const QColor& c, double len = 34)
{
    double step = len * 1.8;
    for (double x = x0; x + len <= x1 + 0.1; x += step)
        right ? arrow(p, {x, y}, {x + len, y}, c) : arrow(p, {x + len, y}, {x, y}, c);
}

void fan(QPainter& p, QPointF c, double r, const QString& label = QStringLiteral("风机"))
{
    p.save();
    p.setPen(QPen(kDuct, 2));
    p.setBrush(QColor(240, 240, 240));
    p.drawEllipse(c, r, r);
    p.setBrush(kDuct);
    for (int k = 0; k < 3; ++k) {
        double a = k * 2.0944;
        QPolygonF blade;
        blade << c << QPointF(c.x() + r * 0.85 * std::cos(a), c.y() + r * 0.85 * std::sin(a))
              << QPointF(c.x() + r * 0.85 * std::cos(a + 0.6), c.y() + r * 0.85 * std::sin(a + 0.6));
        p.drawPolygon(blade);
    }
    p.setFont(font(24));
    p.setPen(Qt::black);
    kit::text(p, QRectF(c.x() - 48, c.y() + r + 2, 110, 32), Qt::AlignHCenter | Qt::AlignTop, label);
    p.restore();
}

// A duct seen from the side: two parallel lines.
void duct(QPainter& p, double x0, double x1, double y, double half)
{
    p.save();
    p.setPen(QPen(kDuct, 2));
    p.setBrush(QColor(235, 242, 250));
    p.drawRect(QRectF(std::min(x0, x1), y - half, std::fabs(x1 - x0), 2 * half));
    p.restore();
}

// Rock mass with a bore from the portal to a rough face.
void bore(QPainter& p, QRectF rock, double portal, double face, double top, double bottom)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kRock);
    p.drawRect(rock);
    p.setBrush(QBrush(QColor(170, 165, 150), Qt::BDiagPattern));
    p.drawRect(rock);
    // Bore.
    QPainterPath path;
    path.moveTo(portal, top);
    path.lineTo(face, top);
    int teeth = 6;
    double h = (bottom - top) / teeth;
    for (int k = 0; k < teeth; ++k) {
        path.lineTo(face + (k % 2 ? -5 : 6), top + h * (k + 0.5));
        path.lineTo(face, top + h * (k + 1));
    }
    path.lineTo(portal, bottom);
    path.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 1.5));
    p.drawPath(path);
    p.setPen(Qt::black);
    p.setFont(font(24));
    kit::text(p, QRectF(face - 50, bottom + 2, 100, 32), Qt::AlignHCenter, QStringLiteral("掌子面"));
    kit::text(p, QRectF(portal - 40, bottom + 2, 80, 32), Qt::AlignHCenter, QStringLiteral("洞口"));
    p.restore();
}

void dimension(QPainter& p, double x0, double x1, double y, const QString& text, int px = 24)
{
    p.save();
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    p.drawLine(QPointF(x0, y - 5), QPointF(x0, y + 5));
    p.drawLine(QPointF(x1, y - 5), QPointF(x1, y + 5));
    p.setFont(font(px));
    kit::text(p, QRectF(x0, y - 2 * px - 2, x1 - x0, 2 * px), Qt::AlignHCenter | Qt::AlignBottom, text);
    p.restore();
}

void legend(QPainter& p, double x, double y, int px = 24)
{
    p.save();
    const double u = px / 12.0;
    arrow(p, {x, y}, {x + 28 * u, y}, kFresh);
    arrow(p, {x + 100 * u, y}, {x + 128 * u, y}, kFoul);
    p.setPen(Qt::black);
    p.setFont(font(px));
    kit::text_at(p, QPointF(x + 33 * u, y + 0.4 * px), QStringLiteral("新鲜风流"));
    kit::text_at(p, QPointF(x + 133 * u, y + 0.4 * px), QStringLiteral("污浊风流"));
    p.restore();
}

void title(QPainter& p, const QString& text, QPointF at, int px = 28)
{
    p.save();
    p.setPen(Qt::black);
    p.setFont(font(px, true));
    kit::text_at(p, at, text);
    p.restore();
}

// --- scheme diagrams (782 x 208) ----------------------------------------------

QImage scheme_forced()
{
    QImage img;
    QPainter p;
    kit::begin_fitted(p, img, kSchemeBox, kSchemeLayout);
    title(p, QStringLiteral("管道压入式通风"), {10, 26});
    bore(p, {110, 40, 640, 140}, 110, 700, 78, 150);
    duct(p, 60, 620, 92, 8);
    fan(p, {48, 92}, 16);
    flow(p, 130, 600, 92, true, kFresh, 30);
    arrow(p, {625, 92}, {690, 110}, kFresh);
    flow(p, 150, 660, 135, false, kFoul);
    dimension(p, 620, 700, 70, QStringLiteral("L入口"));
    dimension(p, 60, 620, 58, QStringLiteral("风管长度 L"));
    legend(p, 250, 196);
    return img;
}

QImage scheme_exhaust()
{
    QImage img;
    QPainter p;
    kit::begin_fitted(p, img, kSchemeBox, kSchemeLayout);
    title(p, QStringLiteral("管道吸入式通风"), {10, 26});
    bore(p, {110, 40, 640, 140}, 110, 700, 78, 150);
    duct(p, 60, 660, 92, 8);
    fan(p, {48, 92}, 16);
    flow(p, 140, 640, 92, false, kFoul, 30);
    arrow(p, {695, 118}, {664, 96}, kFoul);
    flow(p, 150, 640, 135, true, kFresh);
    dimension(p, 60, 660, 58, QStringLiteral("风管长度 L"));
    legend(p, 250, 196);
    return img;
}

QImage scheme_mixed()
{
    QImage img;
    QPainter p;
    kit::begin_fitted(p, img, kSchemeBox, kSchemeLayout);
    title(p, QStringLiteral("管道混合式通风"), {10, 26});
    bore(p, {110, 40, 640, 140}, 110, 700, 78, 150);
    // Exhaust duct from the working zone to the main fan at the portal.
    duct(p, 60, 560, 92, 8);
    fan(p, {48, 92}, 16, QStringLiteral("抽出风机"));
    flow(p, 140, 540, 92, false, kFoul, 30);
    // Local forcing fan and its short duct to the face.
    duct(p, 480, 640, 122, 6);
    fan(p, {470, 122}, 11, QString());
    p.setFont(font(24));
    kit::text_at(p, QPointF(436, 166), QStringLiteral("压入风机"));
    arrow(p, {645, 122}, {690, 110}, kFresh);
    flow(p, 150, 430, 138, true, kFresh, 30);
    dimension(p, 640, 700, 70, QStringLiteral("L入口"));
    legend(p, 250, 196);
    return img;
}

QImage scheme_roadway()
{
    QImage img;
    QPainter p;
    kit::begin_fitted(p, img, kSchemeBox, kSchemeLayout);
    title(p, QStringLiteral("巷道式通风"), {10, 26});
    p.setPen(Qt::NoPen);
    p.setBrush(kRock);
    p.drawRect(QRectF(110, 32, 640, 150));
    p.setBrush(QBrush(QColor(170, 165, 150), Qt::BDiagPattern));
    p.drawRect(QRectF(110, 32, 640, 150));
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 1.5));
    p.drawRect(QRectF(110, 50, 600, 36));   // main tunnel
    p.drawRect(QRectF(110, 128, 570, 36));  // parallel heading
    p.drawRect(QRectF(560, 86, 30, 42));    // cross passage near the faces
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(561, 84, 28, 46));
    p.setPen(Qt::black);
    p.setFont(font(24));
    kit::text_at(p, QPointF(716, 77), QStringLiteral("正洞"));
    kit::text_at(p, QPointF(116, 205), QStringLiteral("平行导洞"));
    kit::text_at(p, QPointF(596, 116), QStringLiteral("横通道"));
    flow(p, 130, 520, 68, true, kFresh);
    arrow(p, {575, 80}, {575, 134}, kFoul);
    flow(p, 160, 540, 146, false, kFoul);
    fan(p, {60, 146}, 15, QStringLiteral("主风机"));
    p.setPen(QPen(kDuct, 2));
    p.drawLine(QPointF(75, 146), QPointF(110, 146));
    // Local fans blow the faces of both headings from the cross passage.
    duct(p, 600, 680, 60, 5);
    arrow(p, {682, 60}, {705, 70}, kFresh, 2);
    duct(p, 600, 655, 150, 5);
    arrow(p, {657, 150}, {676, 142}, kFresh, 2);
    legend(p, 250, 198);
    return img;
}

// --- fixed illustration (1210 x 620) --------------------------------------------

QImage illustration()
{
    QImage img;
    QPainter p;
    kit::begin_fitted(p, img, kIllustrationBox, kIllustrationLayout);
    // The form shows the scheme diagram over the top-left corner and its
    // title over the top-right one.
    p.setPen(QPen(QColor(200, 200, 200), 2));
    p.setBrush(QColor(248, 248, 248));
    p.drawRect(QRectF(6, 6, 792, 232));

    // Cross-section of the tunnel with the duct under the crown.
    title(p, QStringLiteral("隧道断面"), {870, 90});
    QPainterPath section;
    section.moveTo(860, 295);
    section.lineTo(860, 200);
    section.arcTo(QRectF(860, 100, 280, 200), 180, -180);
    section.lineTo(1140, 295);
    section.quadTo(1000, 318, 860, 295);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(QColor(250, 250, 250));
    p.drawPath(section);
    p.setPen(QPen(kDuct, 3));
    p.setBrush(QColor(235, 242, 250));
    p.drawEllipse(QPointF(1080, 150), 26, 26);
    p.setFont(font(24));
    p.setPen(Qt::black);
    kit::text_at(p, QPointF(1040, 208), QStringLiteral("风管 d"));
    kit::text(p, QRectF(880, 225, 240, 40), Qt::AlignCenter, QStringLiteral("开挖面积 S"));

    // Longitudinal section: fan, duct, leakage, face.
    title(p, QStringLiteral("通风系统纵断面"), {20, 292});
    p.setPen(Qt::NoPen);
    p.setBrush(kRock);
    p.drawRect(QRectF(200, 320, 1000, 250));
    p.setBrush(QBrush(QColor(170, 165, 150), Qt::BDiagPattern));
    p.drawRect(QRectF(200, 320, 1000, 250));
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(QRectF(200, 380, 940, 140));
    p.setPen(Qt::black);
    p.setFont(font(24));
    kit::text(p, QRectF(1080, 526, 130, 34), Qt::AlignCenter, QStringLiteral("掌子面"));
    kit::text(p, QRectF(140, 526, 120, 34), Qt::AlignCenter, QStringLiteral("洞口"));
    duct(p, 120, 1010, 410, 14);
    fan(p, {95, 410}, 30);
    flow(p, 240, 980, 410, true, kFresh, 60);
    arrow(p, {1015, 410}, {1125, 450}, kFresh, 4);
    // Leakage along the duct.
    for (double x = 330; x < 1000; x += 170) arrow(p, {x, 424}, {x + 16, 460}, QColor(120, 160, 210), 2);
    flow(p, 260, 1080, 495, false, kFoul, 60);
    dimension(p, 120, 1010, 355, QStringLiteral("风管长度 L"));
    dimension(p, 1010, 1140, 372, QStringLiteral("L入口"));
    p.setFont(font(24));
    p.setPen(Qt::black);
    kit::text_at(p, QPointF(60, 365), QStringLiteral("Q供"));
    kit::text_at(p, QPointF(1040, 480), QStringLiteral("Qh"));
    kit::text_at(p, QPointF(480, 455), QStringLiteral("漏风 β/100m"));
    p.setFont(font(24));
    kit::text_at(p, QPointF(20, 604),
                 QStringLiteral("Q供 = Qh + Q漏 + Q高    h机 = hf + hx    W = Q供·h机·k / (60η·1000)"));
    legend(p, 834, 596);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        const QString dir = QStringLiteral("resources/pictures/ventilation/");
        // Eight-bit colour keeps the embedded bytes small; the drawings use few colours.
        std::vector<kit::Output> out{
            kit::picture(dir + "scheme_roadway.png", scheme_roadway, kit::Store::Palette, 9),
            kit::picture(dir + "scheme_forced.png", scheme_forced, kit::Store::Palette, 9),
            kit::picture(dir + "scheme_exhaust.png", scheme_exhaust, kit::Store::Palette, 9),
            kit::picture(dir + "scheme_mixed.png", scheme_mixed, kit::Store::Palette, 9),
            kit::picture(dir + "illustration.png", illustration, kit::Store::Palette, 9),
        };
        // The form puts each scheme in the box that starts with the forced one.
        for (int i = 0; i < 4; ++i) out[size_t(i)].shown = {kSchemeBox};
        return out;
    });
}
