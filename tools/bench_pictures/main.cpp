// Draws the bench-blasting pictures into <source-root>/resources/pictures/blasting/:
//   bench_diagram.png           vertical and inclined holes in section and the
//                               plan layout, with the symbols' legend; laid out
//                               on 1000 x 689 and drawn at the 430 x 296 of the
//                               shallow-hole form's box
//   bench_diagram_deep.png      the same drawn at the 366 x 252 of the deep-hole
//                               form's box (its texts are sized for this one)
//   bench_explosive_factors.png conversion factors e of the ten explosives (1102 x 382)
//   bench_charge_factors.png    unit consumption q by rock class, with the
//                               free-face factors (1116 x 304)
// The table rows are the ones the forms fill their boxes from.
#include "drawkit.h"

#include <QPolygonF>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

const QColor kRock(214, 204, 186);
const QColor kRockLine(110, 95, 75);
const QColor kCharge(200, 60, 50);
const QColor kStemming(150, 150, 150);
const QColor kDim(30, 80, 170);

// The boxes of the shallow-hole and deep-hole forms: the diagram is drawn at
// each one's size, so that neither form shows it scaled. The smaller decides
// the size of its texts: 33 pixels of the layout are 12 there.
const QSize kShallowBox(430, 296);
const QSize kDeepBox(366, 252);
const QSizeF kDiagramLayout(1000, 689);
constexpr int kText = 33;

// A dimension line with arrows at both ends and its symbol beside the middle.
void dimension(QPainter& p, QPointF a, QPointF b, const QString& symbol, QPointF label_offset)
{
    kit::dimension_line(p, a, b, QPen(kDim, 2), 12);
    const QPointF mid = (a + b) / 2 + label_offset;
    kit::text(p, QRectF(mid.x() - 40, mid.y() - 23, 80, 46), Qt::AlignCenter, symbol, kit::font(kText, true), kDim);
}

// Thin extension line from a point of the drawing to a dimension.
void extension(QPainter& p, QPointF a, QPointF b) { kit::dashed(p, a, b, kDim); }

// A charged hole from its collar to its bottom: stemming above, charge below.
void hole(QPainter& p, QPointF collar, QPointF bottom, double stemming_share)
{
    const QPointF split = collar + (bottom - collar) * stemming_share;
    p.save();
    p.setPen(QPen(kStemming, 12, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(collar, split);
    p.setPen(QPen(kCharge, 12, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(split, bottom);
    p.restore();
}

// A bench in section: upper surface from x0 to the crest, the face down to
// the toe, the floor on to x1 (below the floor the rock goes on).
void bench(QPainter& p, double x0, double crest_x, double top_y, double toe_x, double floor_y, double x1, double bottom_y)
{
    QPolygonF rock;
    rock << QPointF(x0, top_y) << QPointF(crest_x, top_y) << QPointF(toe_x, floor_y) << QPointF(x1, floor_y)
         << QPointF(x1, bottom_y) << QPointF(x0, bottom_y);
    p.save();
    p.setPen(QPen(kRockLine, 2));
    p.setBrush(kRock);
    p.drawPolygon(rock);
    p.restore();
}

void title(QPainter& p, const QRectF& r, const QString& text)
{
    kit::text(p, r, Qt::AlignCenter, text, kit::font(kText + 2, true));
}

void angle_mark(QPainter& p, QPointF at, double radius, double start_deg, double span_deg, const QString& symbol,
                QPointF label)
{
    p.save();
    p.setPen(QPen(kDim, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius), int(start_deg * 16),
              int(span_deg * 16));
    p.restore();
    kit::text(p, QRectF(label.x() - 28, label.y() - 23, 56, 46), Qt::AlignCenter, symbol, kit::font(kText, true), kDim);
}

QImage diagram(const QSize& box)
{
    QImage img = kit::canvas(box.width(), box.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double k = std::min(box.width() / kDiagramLayout.width(), box.height() / kDiagramLayout.height());
    p.scale(k, k);

    // --- vertical holes, in section ---------------------------------------------------
    {
        const double top = 110, floor = 330, below = 400;
        const double crest = 330, toe = 400;
        bench(p, 40, crest, top, toe, floor, 470, below);
        const double hx = 250, bottom = 365;
        hole(p, {hx, top}, {hx, bottom}, 0.34);
        hole(p, {130, top}, {130, bottom}, 0.34);
        // H: bench height at the face side.
        extension(p, {crest, top}, {455, top});
        dimension(p, {445, top}, {445, floor}, "H", {18, 0});
        // W1: from the hole to the toe along the floor.
        // W1: from the hole to the toe, measured along the floor (drawn below it).
        extension(p, {hx, bottom + 4}, {hx, floor + 52});
        extension(p, {toe, floor}, {toe, floor + 52});
        dimension(p, {hx, floor + 45}, {toe, floor + 45}, "W1", {40, 0});
        // L, l2, l1, h beside the hole.
        const double stem_end = top + (bottom - top) * 0.34;
        extension(p, {hx, bottom}, {190, bottom});
        dimension(p, {185, top}, {185, bottom}, "L", {-16, 0});
        dimension(p, {222, top}, {222, stem_end}, "l2", {-16, 0});
        dimension(p, {222, stem_end}, {222, bottom}, "l1", {-16, 0});
        extension(p, {hx, floor}, {300, floor});
        dimension(p, {290, floor}, {290, bottom}, "h", {16, 0});
        // α: the face against the floor.
        angle_mark(p, {toe, floor}, 34, 180 - 72.3, 72.3, "α", {toe - 52, floor - 22});
        title(p, QRectF(40, 22, 330, 48), QStringLiteral("垂直炮孔"));
    }

    // --- inclined holes, in section ---------------------------------------------------
    {
        const double top = 110, floor = 330, below = 400;
        const double crest = 840, toe = 910;
        bench(p, 530, crest, top, toe, floor, 975, below);
        // Parallel to the face: β is the hole's angle to the floor.
        const double dx = (toe - crest) / (floor - top);
        const QPointF c1(740, top), b1(740 + dx * 255, top + 255);
        const QPointF c2(630, top), b2(630 + dx * 255, top + 255);
        hole(p, c1, b1, 0.34);
        hole(p, c2, b2, 0.34);
        extension(p, {crest, top}, {965, top});
        dimension(p, {958, top}, {958, floor}, "H", {-18, 0});
        const QPointF on_floor(740 + dx * (floor - top), floor);
        extension(p, on_floor, {on_floor.x(), floor + 52});
        extension(p, {toe, floor}, {toe, floor + 52});
        dimension(p, {on_floor.x(), floor + 45}, {toe, floor + 45}, "W1", {0, -14});
        dimension(p, c1 + QPointF(-36, 0), b1 + QPointF(-36, 0), "L", {-18, 0});
        // β: the hole against the horizontal, at its collar.
        extension(p, c1, c1 + QPointF(60, 0));
        angle_mark(p, c1, 40, -72.3, 72.3, "β", c1 + QPointF(56, 28));
        angle_mark(p, {toe, floor}, 34, 180 - 72.3, 72.3, "α", {toe - 52, floor - 22});
        title(p, QRectF(640, 22, 330, 48), QStringLiteral("倾斜炮孔"));
    }

    // --- plan of the holes -------------------------------------------------------------
    {
        const QRectF plan(40, 452, 430, 180);
        p.save();
        p.setPen(QPen(kRockLine, 2));
        p.setBrush(kRock);
        p.drawRect(plan);
        // The free face along the bottom edge.
        p.setPen(QPen(kRockLine, 4));
        p.drawLine(plan.bottomLeft(), plan.bottomRight());
        p.setFont(kit::font(kText));
        p.setPen(Qt::black);
        kit::text(p, QRectF(plan.left(), plan.bottom() + 4, plan.width(), 46), Qt::AlignCenter,
                  QStringLiteral("台阶坡面（自由面）"));
        p.restore();
        const double a = 90, x0 = 85, row1 = plan.bottom() - 50, row2 = row1 - 72;
        p.save();
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(kCharge);
        for (int k = 0; k < 4; ++k) {
            p.drawEllipse(QPointF(x0 + a * k, row1), 11, 11);
            p.drawEllipse(QPointF(x0 + a / 2 + a * k, row2), 11, 11); // staggered rows
        }
        p.restore();
        dimension(p, {x0 + a, row1 + 24}, {x0 + 2 * a, row1 + 24}, "a", {0, 4});
        extension(p, {x0 + a, row1}, {x0 + a, row1 + 30});
        extension(p, {x0 + 2 * a, row1}, {x0 + 2 * a, row1 + 30});
        dimension(p, {x0 + 3 * a, row1}, {x0 + 3 * a, plan.bottom()}, "W1", {30, 0});
        title(p, QRectF(40, 402, 430, 48), QStringLiteral("炮孔平面布置"));
    }

    // --- legend -------------------------------------------------------------------------
    {
        const char* const lines[] = {
            "H：台阶高度",  "W1：底盘抵抗线", "L：炮孔深度", "l1：装药长度", "l2：堵塞长度",
            "h：超钻深度",  "α：台阶坡面角",  "β：炮孔倾角", "a：炮孔间距",
        };
        // Two columns of five lines.
        const QRectF box(476, 410, 518, 270);
        const double row = 51, column = box.width() / 2;
        p.save();
        p.setPen(QPen(QColor(120, 120, 120), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        p.setPen(Qt::black);
        p.setFont(kit::font(kText));
        for (int i = 0; i < int(std::size(lines)); ++i) {
            const QRectF cell(box.left() + 10 + (i / 5) * column, box.top() + 8 + (i % 5) * row, column - 14, row);
            kit::text(p, cell, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(lines[i]));
        }
        p.restore();
        // Colour key of the holes.
        p.save();
        p.setFont(kit::font(kText));
        p.setPen(QPen(kStemming, 12, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(380, 46), QPointF(410, 46));
        p.setPen(QPen(kCharge, 12, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(520, 46), QPointF(550, 46));
        p.setPen(Qt::black);
        kit::text(p, QRectF(416, 24, 104, 46), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("堵塞段"));
        kit::text(p, QRectF(556, 24, 104, 46), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("装药段"));
        p.restore();
    }
    return img;
}

// A plain ruled table with a title, a heading row and its notes below it;
// a note's lines after the first start under its text.
QImage table(int w, int h, const QString& name, const std::vector<double>& widths, const std::vector<QStringList>& rows,
             const QStringList& notes, int text_px)
{
    QImage img = kit::canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    kit::text(p, QRectF(0, 8, w, text_px * 2), Qt::AlignCenter, name, kit::font(text_px + 6, true));
    const double left = 20, top = 16 + text_px * 2;
    kit::Table t;
    t.widths = widths;
    t.rows = rows;
    t.px = t.heading_px = text_px;
    t.row_height = text_px * 1.75;
    t.grid = t.frame = QPen(Qt::black, 1);
    const QRectF drawn = kit::draw_table(p, QRectF(left, top, w - 2 * left, 0), t);

    const QFont f = kit::font(text_px - 2);
    p.setFont(f);
    p.setPen(Qt::black);
    const QString head = QStringLiteral("注：");
    double y = drawn.bottom() + 8;
    for (int i = 0; i < notes.size(); ++i) {
        const QString number = notes.size() > 1 ? QStringLiteral("%1. ").arg(i + 1) : QString();
        const double x = left + (i == 0 ? 0 : kit::text_width(f, head));
        const QString lead = (i == 0 ? head : QString()) + number;
        y += kit::paragraph(p, QRectF(x, y, w - left - x, h - y), lead + notes[i], kit::text_width(f, lead));
        y += text_px * 0.3;
    }
    return img;
}

QImage explosive_factors()
{
    // Where the form's caption gives a range, the table gives it too.
    const std::vector<QStringList> rows = {
        {"序号", "炸药名称", "换算系数e", "序号", "炸药名称", "换算系数e"},
        {"1", "岩石硝铵2号", "1.0", "6", "35%胶质炸药(普通)", "1.06"},
        {"2", "岩石硝铵1号", "0.9", "7", "混合胶质炸药(普通)", "1.0"},
        {"3", "露天硝铵2号、3号", "1.14", "8", "梯恩梯(TNT)", "1.05～1.14"},
        {"4", "62%胶质炸药(普通)", "0.89", "9", "铵油炸药", "1.14～1.36"},
        {"5", "62%胶质炸药(耐冻)", "0.89", "10", "黑火药", "1.14～1.42"},
    };
    return table(1102, 382, QStringLiteral("炸药换算系数e表"), {0.6, 2.4, 1.6, 0.6, 2.4, 1.6}, rows,
                 {QStringLiteral("以岩石硝铵2号炸药为标准（e = 1.0），其他炸药的用药量乘以换算系数e。")}, 24);
}

QImage charge_factors()
{
    const std::vector<QStringList> rows = {
        {"土石类别", "松软石(五类土)", "次坚石(六类土)", "坚石(七类土)", "特坚石(八类土)"},
        {"q (kg/m³)", "1.4～1.65", "1.6～1.85", "1.8～2.6", "2.1～3.25"},
    };
    return table(1116, 304, QStringLiteral("炸药单位消耗量q表"), {1.3, 1.5, 1.5, 1.5, 1.5}, rows,
                 {QStringLiteral("表中q值为一个自由面时的数值；二、三、四、五、六个自由面时，自由面系数分别取 "
                                 "0.83、0.67、0.50、0.33、0.17。"),
                  QStringLiteral("炮孔堵塞系数d见炮孔堵塞系数表。")},
                 22);
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        const QString dir = QStringLiteral("resources/pictures/blasting/");
        // Eight-bit colour keeps the embedded bytes small; the drawings use few colours.
        std::vector<kit::Output> pictures{
            kit::picture(dir + "bench_diagram.png", [] { return diagram(kShallowBox); }, kit::Store::Palette, 9),
            kit::picture(dir + "bench_diagram_deep.png", [] { return diagram(kDeepBox); }, kit::Store::Palette, 9),
            kit::picture(dir + "bench_explosive_factors.png", explosive_factors, kit::Store::Palette, 9),
            kit::picture(dir + "bench_charge_factors.png", charge_factors, kit::Store::Palette, 9),
        };
        return pictures;
    });
}
