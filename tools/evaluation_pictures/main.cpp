// Draws the tunnel evaluation module's pictures into
// <source-root>/resources/pictures/evaluation/:
//   diagram_start.png        the starting diagram: one bore under the ground
//                            with the span, height, depths and the
//                            shallow-depth boundary the evaluation reads
//   layout_single_bore.png   single bore
//   layout_multi_arch.png    multi-arch bores with their middle wall
//   layout_separated.png     separated bores with the rock pillar B'
// all laid out larger (880 x 732, the layouts 800 x 672) and drawn at the
// 400 x 336 of the form's diagram box, their texts sized for the box
//   diagram_button_*.png     the 20 x 20 button that opens the diagram viewer
#include "drawkit.h"

#include <QPainterPath>

#include <algorithm>
#include <vector>

namespace {

const QColor kRock(224, 216, 198);
const QColor kSoil(196, 176, 140);
const QColor kLining(70, 70, 70);
const QColor kDim(20, 80, 170);
const QColor kBoundary(200, 60, 40);
const QColor kWall(170, 170, 170);

using kit::font;

// The form's diagram box.
const QSize kBox(400, 336);

void title(QPainter& p, int w, const QString& text, const QString& subtitle, int px)
{
    p.setPen(Qt::black);
    p.setFont(font(34, true));
    kit::text(p, QRectF(0, 14, w, 48), Qt::AlignCenter, text);
    p.setFont(font(px));
    p.setPen(QColor(90, 90, 90));
    kit::text(p, QRectF(0, 62, w, px + 12), Qt::AlignCenter, subtitle);
}

// Rock below the ground line, with a band of soil over it and grass ticks.
void ground(QPainter& p, int w, int h, double surface)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kRock);
    p.drawRect(QRectF(0, surface, w, h - surface));
    p.setBrush(kSoil);
    p.drawRect(QRectF(0, surface, w, 34));
    p.setPen(QPen(QColor(60, 120, 40), 2));
    for (double x = 8; x < w; x += 22) p.drawLine(QPointF(x, surface), QPointF(x + 8, surface - 10));
    p.setPen(QPen(Qt::black, 2.5));
    p.drawLine(QPointF(0, surface), QPointF(w, surface));
    p.restore();
}

// Horseshoe section: a half-circle crown, straight walls and a shallow invert.
QPainterPath bore(double cx, double crown, double span, double height)
{
    const double r = span / 2, spring = crown + r, wall_foot = crown + height - span * 0.08;
    QPainterPath path;
    path.moveTo(cx - r, spring);
    path.arcTo(QRectF(cx - r, crown, span, span), 180, -180);
    path.lineTo(cx + r, wall_foot);
    path.quadTo(QPointF(cx, crown + height + span * 0.08), QPointF(cx - r, wall_foot));
    path.closeSubpath();
    return path;
}

void draw_bore(QPainter& p, const QPainterPath& path)
{
    p.save();
    p.setBrush(Qt::white);
    p.setPen(QPen(kLining, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(kLining, 1.5, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    // The road surface inside the bore.
    const QRectF b = path.boundingRect();
    p.drawLine(QPointF(b.left() + 10, b.bottom() - b.height() * 0.16), QPointF(b.right() - 10, b.bottom() - b.height() * 0.16));
    p.restore();
}

// A dimension line from a to b with arrows at both ends and its label beside it.
void dimension(QPainter& p, QPointF a, QPointF b, const QString& label, QPointF label_at, const QColor& c = kDim)
{
    kit::dimension_line(p, a, b, QPen(c, 2), 12);
    kit::text(p, QRectF(label_at.x() - 90, label_at.y() - 20, 180, 40), Qt::AlignCenter, label, font(27, true), c);
}

// Thin extension line from a feature to its dimension line.
void extension(QPainter& p, QPointF a, QPointF b) { kit::dashed(p, a, b, kDim); }

void note(QPainter& p, QRectF where, const QString& text, const QColor& c = Qt::black, int px = 27)
{
    kit::text(p, where, Qt::AlignLeft | Qt::AlignVCenter, text, font(px), c);
}

QImage start_diagram()
{
    // 27 pixels of this layout show at 12 in the box.
    const int W = 880, H = 732;
    QPainter p;
    QImage img;
    kit::begin_fitted(p, img, kBox, QSizeF(W, H));
    title(p, W, QStringLiteral("隧道评价计算示意图"), QStringLiteral("跨度、高度、埋深与浅埋分界深度"), 27);
    const double surface = 150, cx = 400, crown = 330, span = 220, height = 180;
    ground(p, W, H, surface);
    draw_bore(p, bore(cx, crown, span, height));

    // Span B below the bore, height H on its left.
    const double bottom = crown + height;
    extension(p, {cx - span / 2, crown + span / 2}, {cx - span / 2, bottom + 50});
    extension(p, {cx + span / 2, crown + span / 2}, {cx + span / 2, bottom + 50});
    dimension(p, {cx - span / 2, bottom + 44}, {cx + span / 2, bottom + 44}, QStringLiteral("B"), {cx, bottom + 72});
    extension(p, {cx, crown}, {cx - span / 2 - 70, crown});
    extension(p, {cx, bottom}, {cx - span / 2 - 70, bottom});
    dimension(p, {cx - span / 2 - 60, crown}, {cx - span / 2 - 60, bottom}, QStringLiteral("H"), {cx - span / 2 - 92, crown + height / 2});

    // Depth of cover h0 over the crown, and the shallow-depth boundary Hp.
    dimension(p, {cx + 40, surface}, {cx + 40, crown}, QStringLiteral("h0"), {cx + 84, (surface + crown) / 2 + 40});
    const double hp = crown - 130;
    p.setPen(QPen(kBoundary, 2.5, Qt::DashLine));
    p.drawLine(QPointF(60, hp), QPointF(W - 60, hp));
    dimension(p, {cx + span / 2 + 90, hp}, {cx + span / 2 + 90, crown}, QStringLiteral("Hp"), {cx + span / 2 + 140, (hp + crown) / 2}, kBoundary);
    extension(p, {cx, crown}, {cx + span / 2 + 100, crown});
    note(p, QRectF(W - 310, hp - 44, 270, 40), QStringLiteral("浅埋、深埋分界线"), kBoundary);

    note(p, QRectF(40, H - 124, W - 60, 40), QStringLiteral("h'≤Hp：浅埋隧道；  h'＞Hp：深埋隧道"));
    note(p, QRectF(40, H - 84, W - 60, 40), QStringLiteral("h'为浅埋段覆土层厚；  Hp = 2.5hq"));
    note(p, QRectF(40, H - 44, W - 60, 40), QStringLiteral("hq = 0.45 × 2^(s−1) × [1 + i(B − 5)]"));
    return img;
}

QImage layout_picture(const QString& name, int bores)
{
    // 24 pixels of this layout show at 12 in the box.
    const int W = 800, H = 672;
    QPainter p;
    QImage img;
    kit::begin_fitted(p, img, kBox, QSizeF(W, H));
    title(p, W, name, QStringLiteral("隧道布置示意图"), 24);
    const double surface = 160, crown = 330, height = 200;
    ground(p, W, H, surface);
    const double bottom = crown + height;

    if (bores == 1) {
        const double cx = W / 2.0, span = 280;
        draw_bore(p, bore(cx, crown, span, height));
        extension(p, {cx - span / 2, crown + span / 2}, {cx - span / 2, bottom + 56});
        extension(p, {cx + span / 2, crown + span / 2}, {cx + span / 2, bottom + 56});
        dimension(p, {cx - span / 2, bottom + 50}, {cx + span / 2, bottom + 50}, QStringLiteral("B"), {cx, bottom + 80});
        dimension(p, {cx + span / 2 + 50, crown}, {cx + span / 2 + 50, bottom}, QStringLiteral("H"), {cx + span / 2 + 82, crown + height / 2});
        extension(p, {cx, crown}, {cx + span / 2 + 60, crown});
        extension(p, {cx, bottom}, {cx + span / 2 + 60, bottom});
        dimension(p, {cx, surface}, {cx, crown}, QStringLiteral("h0"), {cx + 40, (surface + crown) / 2});
        return img;
    }

    const double span = 230;
    if (bores == 2) {
        // Two bores leaning on one middle wall.
        const double wall = 36, cl = W / 2.0 - wall / 2 - span / 2, cr = W / 2.0 + wall / 2 + span / 2;
        p.setPen(QPen(kLining, 3));
        p.setBrush(QBrush(kWall, Qt::Dense5Pattern));
        // The wall carries both arches; the bores drawn over it carve its sides.
        p.drawRect(QRectF(W / 2.0 - wall / 2 - 24, crown + span * 0.3, wall + 48, height - span * 0.3 - 4));
        draw_bore(p, bore(cl, crown, span, height));
        draw_bore(p, bore(cr, crown, span, height));
        note(p, QRectF(W / 2.0 - 50, bottom + 14, 110, 36), QStringLiteral("中隔墙"), kLining, 24);
        extension(p, {cl - span / 2, crown + span / 2}, {cl - span / 2, bottom + 70});
        extension(p, {cl + span / 2, crown + span / 2}, {cl + span / 2, bottom + 70});
        dimension(p, {cl - span / 2, bottom + 64}, {cl + span / 2, bottom + 64}, QStringLiteral("B"), {cl, bottom + 92});
        extension(p, {cr + span / 2, crown + span / 2}, {cr + span / 2, bottom + 70});
        extension(p, {cr - span / 2, crown + span / 2}, {cr - span / 2, bottom + 70});
        dimension(p, {cr - span / 2, bottom + 64}, {cr + span / 2, bottom + 64}, QStringLiteral("B"), {cr, bottom + 92});
        dimension(p, {cl, surface}, {cl, crown}, QStringLiteral("h0"), {cl + 40, (surface + crown) / 2});
        return img;
    }

    // Separated bores with the rock pillar B' between them.
    const double pillar = 150, cl = W / 2.0 - pillar / 2 - span / 2, cr = W / 2.0 + pillar / 2 + span / 2;
    draw_bore(p, bore(cl, crown, span, height));
    draw_bore(p, bore(cr, crown, span, height));
    const double mid = crown + span / 2 + 30;
    extension(p, {cl + span / 2, crown + span / 2}, {cl + span / 2, bottom + 70});
    extension(p, {cr - span / 2, crown + span / 2}, {cr - span / 2, bottom + 70});
    dimension(p, {cl + span / 2, mid}, {cr - span / 2, mid}, QStringLiteral("B'"), {W / 2.0, mid - 28});
    note(p, QRectF(W / 2.0 - 42, mid + 10, 120, 36), QStringLiteral("中岩柱"), kLining, 24);
    extension(p, {cl - span / 2, crown + span / 2}, {cl - span / 2, bottom + 70});
    dimension(p, {cl - span / 2, bottom + 64}, {cl + span / 2, bottom + 64}, QStringLiteral("B"), {cl, bottom + 92});
    extension(p, {cr + span / 2, crown + span / 2}, {cr + span / 2, bottom + 70});
    dimension(p, {cr - span / 2, bottom + 64}, {cr + span / 2, bottom + 64}, QStringLiteral("B"), {cr, bottom + 92});
    dimension(p, {cl, surface}, {cl, crown}, QStringLiteral("h0"), {cl + 40, (surface + crown) / 2});
    return img;
}

// A small magnifier over a picture frame; pressed looks sunk, hover lit.
QImage diagram_button(int state)
{
    QImage img = kit::canvas(20, 20, Qt::transparent, QImage::Format_ARGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face = state == 1 ? QColor(255, 244, 214) : state == 2 ? QColor(210, 210, 210) : QColor(240, 240, 240);
    p.setPen(QPen(state == 2 ? QColor(90, 90, 90) : QColor(140, 140, 140), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, 19, 19), 3, 3);
    const double d = state == 2 ? 1 : 0;
    p.setPen(QPen(QColor(30, 80, 160), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(3 + d, 3 + d, 10, 10));
    p.setPen(QPen(QColor(30, 80, 160), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12 + d, 12 + d), QPointF(16.5 + d, 16.5 + d));
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        const QString dir = QStringLiteral("resources/pictures/evaluation/");
        std::vector<kit::Output> out{
            kit::picture(dir + "diagram_start.png", start_diagram),
            kit::picture(dir + "layout_single_bore.png", [] { return layout_picture(QStringLiteral("单洞隧道"), 1); }),
            kit::picture(dir + "layout_multi_arch.png", [] { return layout_picture(QStringLiteral("连拱隧道"), 2); }),
            kit::picture(dir + "layout_separated.png", [] { return layout_picture(QStringLiteral("分离式隧道"), 3); }),
            kit::picture(dir + "diagram_button_normal.png", [] { return diagram_button(0); }),
            kit::picture(dir + "diagram_button_hover.png", [] { return diagram_button(1); }),
            kit::picture(dir + "diagram_button_pressed.png", [] { return diagram_button(2); }),
        };
        // The form shows each layout in the box that starts with diagram_start.png.
        for (size_t i = 1; i <= 3; ++i) out[i].shown = {kBox};
        return out;
    });
}
