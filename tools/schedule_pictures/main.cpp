// Draws the advance and schedule module's illustration into
// <source-root>/resources/pictures/schedule/tunnel.png, at the 310 x 155 of
// the form's picture box (laid out on 600 x 300 and scaled): a
// longitudinal section of a mountain tunnel cut into runs of like rock class,
// each run with its length, and the face advancing one cycle at a time.
// (The titled placeholders of the reference tables come from
// tools/table_pictures, listed in its advance_schedule.tsv.)
#include "drawkit.h"

#include <QPainterPath>

#include <cmath>
#include <vector>

namespace {

const QColor kInk(50, 50, 50);

// The form's picture box, and the layout the picture is drawn on before it
// is scaled to the box.
const QSize kBox(310, 155);
const QSizeF kLayout(600, 300);
const double kScale = kBox.width() / kLayout.width();

// A font that shows at `px` pixels in the box.
QFont font(double px, bool bold = false) { return kit::font(int(std::ceil(px / kScale)), bold); }

void arrow_head(QPainter& p, QPointF tip, double angle, const QColor& c, double size = 8)
{
    kit::arrow_head(p, tip, angle, size, c, 0.45);
}

// A dimension line between two x positions with the text above it.
void dimension(QPainter& p, double x0, double x1, double y, const QString& text)
{
    p.save();
    p.setPen(QPen(kInk, 1));
    p.drawLine(QPointF(x0, y - 6), QPointF(x0, y + 6));
    p.drawLine(QPointF(x1, y - 6), QPointF(x1, y + 6));
    p.drawLine(QPointF(x0, y), QPointF(x1, y));
    arrow_head(p, {x0, y}, kit::kPi, kInk, 6);
    arrow_head(p, {x1, y}, 0, kInk, 6);
    p.setFont(font(12));
    kit::text(p, QRectF(x0, y - 29, x1 - x0, 27), Qt::AlignCenter, text);
    p.restore();
}

QImage tunnel()
{
    QImage img = kit::canvas(kBox.width(), kBox.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kScale, kScale);
    const double w = kLayout.width();

    p.setPen(kInk);
    p.setFont(font(14, true));
    kit::text(p, QRectF(10, 2, w * 0.45, 36), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("隧道分段掘进示意"));
    p.setFont(font(12));
    kit::text(p, QRectF(w * 0.45, 2, w * 0.55 - 10, 36), Qt::AlignRight | Qt::AlignVCenter,
              QStringLiteral("工期 = Σ 各段长度 L ÷ 天进尺"));

    // The mountain over the tunnel.
    QPainterPath hill;
    hill.moveTo(0, 218);
    hill.lineTo(40, 218);
    hill.cubicTo(110, 150, 170, 60, 270, 52);
    hill.cubicTo(340, 46, 380, 90, 430, 110);
    hill.cubicTo(490, 135, 530, 200, 560, 218);
    hill.lineTo(600, 218);
    hill.lineTo(600, 300);
    hill.lineTo(0, 300);
    hill.closeSubpath();
    p.setPen(QPen(QColor(120, 100, 70), 2));
    p.setBrush(QColor(226, 214, 188));
    p.drawPath(hill);
    p.setBrush(Qt::NoBrush);

    // Runs of like rock class along the tunnel, portal to portal.
    struct Run {
        double x0, x1;
        const char* label;
        QColor color;
    };
    const Run runs[] = {
        {40, 110, "V级", QColor(196, 120, 100)},
        {110, 220, "Ⅳ级", QColor(214, 170, 110)},
        {220, 380, "Ⅲ级", QColor(170, 190, 150)},
        {380, 480, "Ⅳ级", QColor(214, 170, 110)},
        {480, 560, "V级", QColor(196, 120, 100)},
    };
    const double top = 188, bottom = 216;
    for (const Run& r : runs) {
        // The ground around each run, tinted by its class.
        p.save();
        p.setClipPath(hill);
        p.setPen(Qt::NoPen);
        p.setBrush(r.color.lighter(135));
        p.drawRect(QRectF(r.x0, 40, r.x1 - r.x0, bottom - 40));
        p.setPen(QPen(QColor(150, 140, 120), 1, Qt::DashLine));
        p.drawLine(QPointF(r.x0, 40), QPointF(r.x0, bottom));
        p.restore();
        p.setPen(kInk);
        p.setFont(font(12, true));
        kit::text(p, QRectF(r.x0, top - 32, r.x1 - r.x0, 28), Qt::AlignCenter, QString::fromUtf8(r.label));
    }

    // The tunnel: excavated from the left portal up to the face, the rest still rock.
    const double face = 300;
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(40, top, face - 40, bottom - top));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kInk, 1.5, Qt::DashLine));
    p.drawRect(QRectF(face, top, 560 - face, bottom - top));

    // One cycle's advance ahead of the face.
    const double cycle = 26;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 200, 60));
    p.drawRect(QRectF(face, top + 1, cycle, bottom - top - 2));
    p.setPen(QPen(QColor(200, 40, 30), 2));
    p.drawLine(QPointF(face + cycle, top - 4), QPointF(face + cycle, bottom + 4));
    p.setPen(QPen(QColor(200, 40, 30), 2));
    p.drawLine(QPointF(face - 40, (top + bottom) / 2), QPointF(face + cycle - 4, (top + bottom) / 2));
    arrow_head(p, {face + cycle - 2, (top + bottom) / 2}, 0, QColor(200, 40, 30));
    p.setPen(kInk);
    p.setFont(font(12));
    kit::text(p, QRectF(face - 60, bottom + 2, 220, 28), Qt::AlignLeft, QStringLiteral("每循环进尺 a"));

    // Portals.
    p.setPen(QPen(kInk, 3));
    p.drawLine(QPointF(40, top - 6), QPointF(40, bottom));
    p.drawLine(QPointF(560, top - 6), QPointF(560, bottom));
    p.setFont(font(12));
    kit::text(p, QRectF(0, bottom + 2, 80, 28), Qt::AlignCenter, QStringLiteral("进口"));
    kit::text(p, QRectF(520, bottom + 2, 80, 28), Qt::AlignCenter, QStringLiteral("出口"));

    // The length of each run.
    const char* lengths[] = {"L1", "L2", "L3", "L4", "L5"};
    for (int k = 0; k < 5; ++k) dimension(p, runs[k].x0, runs[k].x1, 282, QString::fromUtf8(lengths[k]));
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        // Full colour: the earth tones do not survive an 8-bit palette.
        return std::vector<kit::Output>{
            kit::picture("resources/pictures/schedule/tunnel.png", tunnel, kit::Store::AsDrawn, 9),
        };
    });
}
