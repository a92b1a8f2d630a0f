// Draws the pictures of the blast-effect and static-breaking forms:
//   effect_diagram.png          (376 x 227)   a blast, the vibration wave and the protected building at R
//   effect_velocity_limits.png  (953 x 1127)  the allowed particle velocities of the building categories
//   static_illustration.png     (680 x 272)   a block broken with expansive agent: holes, layout, cracks
//   static_hole_layout.png      (475 x 475)   hole layout by object type
//   static_sca_weight.png       (336 x 131)   agent types: temperature, season, weight per m³ of slurry
//   static_sca_per_metre.png    (475 x 475)   agent weight per metre of hole by diameter
// under <source-root>/resources/pictures/blasting/. The tables carry the rows
// the program itself works with, so a table and the figures the form shows
// always agree.
#include "drawkit.h"

#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace {

const QColor kRock(205, 200, 190);
const QColor kRockHatch(150, 140, 125);
const QColor kConcrete(215, 215, 210);
const QColor kAgent(230, 150, 60);
const QColor kWave(40, 110, 200);
const QColor kCrack(170, 30, 30);
const QColor kHeader(225, 232, 245);
const double kPi = 3.14159265358979;

QFont font(double px, bool bold = false) { return kit::font(int(px), bold); }

void text(QPainter& p, QPointF at, const QString& s, double px = 14, const QColor& c = Qt::black, bool bold = false)
{
    kit::text_at(p, at, s, font(px, bold), c);
}

// A dimension line with arrows at both ends and its label at the middle.
void dimension(QPainter& p, QPointF a, QPointF b, const QString& label, QPointF label_offset, double px = 22)
{
    p.save();
    p.setPen(QPen(Qt::black, 1.2));
    p.drawLine(a, b);
    p.restore();
    const QPointF mid = (a + b) / 2;
    kit::arrow_head(p, mid, a, 8, Qt::black);
    kit::arrow_head(p, mid, b, 8, Qt::black);
    text(p, mid + label_offset, label, px, Qt::black, true);
}

void hatched(QPainter& p, const QPolygonF& body, const QColor& fill, const QColor& hatch)
{
    p.save();
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    p.setBrush(fill);
    p.drawPolygon(body);
    p.setBrush(QBrush(hatch, Qt::BDiagPattern));
    p.drawPolygon(body);
    p.restore();
}

// --- tables -------------------------------------------------------------------------------

// A table of rows of equal height under its title, the heading shaded,
// and its note at the foot.
struct Table {
    QStringList header;
    std::vector<QStringList> rows;
    std::vector<double> widths; // shares of the width, one per column
};

QImage table_picture(int w, int h, const QString& title, const Table& t, double px, const QString& note = {},
                     double note_h = 0)
{
    QImage img = kit::canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double title_px = px * 1.3;
    kit::text(p, QRectF(6, 4, w - 12, title_px * 1.8), Qt::AlignCenter | Qt::TextWordWrap, title, font(title_px, true));
    const double top = 8 + title_px * 1.8;
    kit::Table table;
    table.widths = t.widths;
    table.rows.push_back(t.header);
    table.rows.insert(table.rows.end(), t.rows.begin(), t.rows.end());
    table.px = int(px);
    table.heading_px = std::max(12, int(px * 0.85));
    table.heading_fill = kHeader;
    kit::draw_table(p, QRectF(6, top, w - 12, h - top - 6 - note_h), table);
    if (!note.isEmpty())
        kit::text(p, QRectF(8, h - note_h - 2, w - 16, note_h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                  note, font(std::max(12.0, px * 0.85)), QColor(70, 70, 70));
    return img;
}

// The building categories, their allowed velocity ranges and the upper end
// that a solved velocity is judged against.
QImage velocity_limits()
{
    const Table t{
        {QStringLiteral("序号"), QStringLiteral("保护对象类别"), QStringLiteral("安全允许振速\nV（cm/s）"),
         QStringLiteral("验算取值\nV（cm/s）")},
        {
            {"1", QStringLiteral("土窑洞、土坯房、毛石房屋"), QStringLiteral("0.45～0.9"), "0.9"},
            {"2", QStringLiteral("一般民用建筑物"), QStringLiteral("2.0～2.5"), "2.5"},
            {"3", QStringLiteral("工业和商业建筑物"), QStringLiteral("3.5～4.5"), "4.5"},
            {"4", QStringLiteral("一般古建筑与古迹"), QStringLiteral("0.2～0.3"), "0.3"},
            {"5", QStringLiteral("运行中的水电站及发电厂中心控制室设备"), QStringLiteral("0.6～0.7"), "0.7"},
            {"6", QStringLiteral("水工隧洞"), QStringLiteral("8～10"), "10"},
            {"7", QStringLiteral("交通隧道"), QStringLiteral("12～15"), "15"},
            {"8", QStringLiteral("矿山巷道"), QStringLiteral("18～25"), "25"},
            {"9", QStringLiteral("永久性岩石高边坡"), QStringLiteral("8～12"), "12"},
            {"10", QStringLiteral("新浇大体积混凝土(C20)\n初凝～3d"), QStringLiteral("2.0～2.5"), "2.5"},
            {"11", QStringLiteral("新浇大体积混凝土(C20)\n3d～7d"), QStringLiteral("4.0～5.0"), "5.0"},
            {"12", QStringLiteral("新浇大体积混凝土(C20)\n7d～28d"), QStringLiteral("8.0～10.0"), "10"},
        },
        {0.8, 4.2, 2.6, 2.4}};
    return table_picture(953, 1127, QStringLiteral("爆破振动安全允许标准（GB 6722-2014）"), t, 26,
                         QStringLiteral("注：1. 表中为各类保护对象的安全允许质点振动速度范围，本程序按所选类别取范围上限验算；"
                                        "2. 规范原表按爆破振动主频率 f（≤10Hz、10～50Hz、>50Hz）分列取值，"
                                        "主频率确定后应按原表核定；3. 验算取值为范围上限。"),
                         120);
}

// --- the blast-effect drawing ----------------------------------------------------------------

// The drawings are laid out larger than the boxes that show them and drawn
// at the boxes' size; their texts are sized for the box.

// The blast-effect form's box (376 x 227); 26 pixels of the 800 x 483 layout show at 12.
QImage effect_diagram()
{
    QImage img;
    QPainter p;
    kit::begin_fitted(p, img, {376, 227}, {800, 483});
    const double ground = 250;

    // Rock below the ground line.
    hatched(p, QPolygonF() << QPointF(10, ground) << QPointF(790, ground) << QPointF(790, 470) << QPointF(10, 470),
            kRock, kRockHatch);

    // The blast: a charge in a hole with a burst around it.
    const QPointF blast(140, 330);
    p.setPen(QPen(QColor(80, 80, 80), 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(blast.x() - 7, ground, 14, blast.y() - ground + 10));
    QPolygonF star;
    for (int i = 0; i < 16; ++i) {
        const double r = i % 2 ? 16 : 34, a = i * kPi / 8;
        star << QPointF(blast.x() + r * std::cos(a), blast.y() + r * std::sin(a));
    }
    p.setPen(QPen(QColor(200, 60, 20), 1.5));
    p.setBrush(QColor(250, 190, 60));
    p.drawPolygon(star);
    text(p, blast + QPointF(-40, 76), QStringLiteral("爆源 Q（kg）"), 26, Qt::black, true);

    // The vibration spreading out from the blast.
    p.save();
    p.setClipRect(QRectF(10, ground + 1, 780, 470 - ground - 1));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 6; ++i) {
        const double r = 50 + 62 * i;
        p.setPen(QPen(kWave, 2, Qt::DashLine));
        p.drawArc(QRectF(blast.x() - r, blast.y() - r, 2 * r, 2 * r), -70 * 16, 140 * 16);
    }
    p.restore();
    text(p, {300, 452}, QStringLiteral("爆破地震波（随距离按指数 α 衰减）"), 26, kWave, true);

    // The protected building on the ground at distance R.
    const double bx = 560, bw = 170, bh = 130;
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(QColor(245, 235, 215));
    p.drawRect(QRectF(bx, ground - bh, bw, bh));
    p.setBrush(QColor(190, 70, 50));
    p.drawPolygon(QPolygonF() << QPointF(bx - 15, ground - bh) << QPointF(bx + bw / 2, ground - bh - 60)
                              << QPointF(bx + bw + 15, ground - bh));
    p.setBrush(QColor(170, 210, 240));
    for (double x : {bx + 22, bx + 98})
        for (double y : {ground - bh + 20, ground - bh + 72}) p.drawRect(QRectF(x, y, 46, 34));
    text(p, {bx - 18, ground - bh - 68}, QStringLiteral("被保护建（构）筑物"), 26, Qt::black, true);

    // The particle velocity at the building's foundation.
    const QPointF foot(bx + bw / 2, ground + 2);
    p.setPen(QPen(kCrack, 3));
    p.drawLine(foot + QPointF(-28, 22), foot + QPointF(28, 22));
    kit::arrow_head(p, foot + QPointF(0, 22), foot + QPointF(-34, 22), 11, kCrack);
    kit::arrow_head(p, foot + QPointF(0, 22), foot + QPointF(34, 22), 11, kCrack);
    text(p, foot + QPointF(-90, 62), QStringLiteral("质点振动速度 V"), 26, kCrack, true);

    // R from the blast to the building.
    dimension(p, {blast.x(), 200}, {foot.x(), 200}, QStringLiteral("R（m）"), {-34, -10}, 26);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawLine(QPointF(blast.x(), 200), blast);

    // The relation itself.
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(QColor(255, 255, 240));
    p.drawRoundedRect(QRectF(16, 12, 514, 150), 8, 8);
    text(p, {32, 48}, QStringLiteral("萨道夫斯基公式："), 26, Qt::black, true);
    // V = K·(Q^(1/3)/R)^α, the scripts set by measuring what stands before them.
    p.save();
    QFont f = font(34, true);
    f.setItalic(true);
    QFont sup = font(26, true);
    sup.setItalic(true);
    p.setPen(Qt::black);
    double x = 60;
    auto put = [&](const QString& s, const QFont& fn, double y) {
        p.setFont(fn);
        x = kit::text_at(p, QPointF(x, y), s).right();
    };
    put("V = K · ( Q", f, 104);
    put("1/3", sup, 86);
    put(" / R )", f, 104);
    put("α", sup, 86);
    p.restore();
    text(p, {32, 146}, QStringLiteral("K、α：与岩性、地形及爆破条件有关的系数"), 26, QColor(60, 60, 60));
    return img;
}

// --- the static-breaking drawing ---------------------------------------------------------------

// The static-breaking form's box (680 x 272); 22 pixels of the 1200 x 480 layout show at 12.
QImage static_illustration()
{
    QImage img;
    QPainter p;
    kit::begin_fitted(p, img, {680, 272}, {1200, 480});
    text(p, {30, 40}, QStringLiteral("静态破碎（无声破碎剂 SCA）布孔示意图"), 28, Qt::black, true);

    // Plan view: the block with three rows of holes, burden to the free face.
    const QRectF block(40, 80, 560, 340);
    hatched(p, QPolygonF(block), kConcrete, QColor(175, 175, 170));
    text(p, {block.left(), block.bottom() + 36}, QStringLiteral("平面（破碎体长 × 宽）"), 22, Qt::black, true);
    p.setPen(QPen(kWave, 4));
    p.drawLine(block.topLeft(), block.bottomLeft());
    text(p, {block.left() + 8, block.top() - 8}, QStringLiteral("临空面"), 22, kWave, true);

    const double W = 80, a = 60, b = 120; // burden, hole spacing, row spacing in pixels
    std::vector<QPointF> holes;
    for (int row = 0; row < 4; ++row)
        for (int i = 0; i < 5; ++i) holes.emplace_back(block.left() + W + row * b, block.top() + 50 + i * a);
    // Cracks running between neighbouring holes and to the free face.
    p.setPen(QPen(kCrack, 1.6));
    for (size_t i = 0; i + 1 < holes.size(); ++i) {
        if ((i + 1) % 5 == 0) continue;
        const QPointF m = (holes[i] + holes[i + 1]) / 2 + QPointF((i % 2 ? 6 : -6), 0);
        QPainterPath crack(holes[i]);
        crack.quadTo(m, holes[i + 1]);
        p.drawPath(crack);
    }
    for (int i = 0; i < 5; ++i) p.drawLine(holes[size_t(i)], QPointF(block.left(), holes[size_t(i)].y() + (i % 2 ? 8 : -8)));
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(kAgent);
    for (const QPointF& h : holes) p.drawEllipse(h, 9, 9);

    // Burden, spacing and row spacing.
    dimension(p, {block.left(), block.bottom() - 24}, {holes[0].x(), block.bottom() - 24}, QStringLiteral("W"), {-8, -8});
    dimension(p, {holes[15].x() + 50, holes[15].y()}, {holes[16].x() + 50, holes[16].y()}, QStringLiteral("a"), {8, 6});
    dimension(p, {holes[4].x(), block.bottom() - 24}, {holes[9].x(), block.bottom() - 24}, QStringLiteral("b"), {-6, -8});
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    for (const QPointF& h : {holes[4], holes[9]}) p.drawLine(h, QPointF(h.x(), block.bottom() - 16));

    // Section: a hole of diameter D drilled to L1 in a layer of depth H, filled with slurry.
    const QRectF layer(700, 100, 440, 300);
    hatched(p, QPolygonF(layer), kConcrete, QColor(175, 175, 170));
    text(p, {layer.left(), layer.bottom() + 56}, QStringLiteral("剖面（单层破碎深度 H）"), 22, Qt::black, true);
    const double hole_w = 30, L1 = 0.9 * layer.height();
    for (double x : {layer.left() + 110, layer.left() + 280}) {
        p.setPen(QPen(QColor(60, 60, 60), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(x - hole_w / 2, layer.top(), hole_w, L1));
        p.setBrush(kAgent);
        p.drawRect(QRectF(x - hole_w / 2, layer.top() + 18, hole_w, L1 - 18));
        p.setPen(QPen(kCrack, 1.6));
        for (int k = 0; k < 4; ++k) {
            const double y = layer.top() + 50 + k * 50;
            p.drawLine(QPointF(x + hole_w / 2, y), QPointF(x + hole_w / 2 + 40, y + 14));
            p.drawLine(QPointF(x - hole_w / 2, y + 10), QPointF(x - hole_w / 2 - 40, y + 24));
        }
    }
    const double hx = layer.left() + 110;
    dimension(p, {hx - hole_w / 2, layer.top() - 18}, {hx + hole_w / 2, layer.top() - 18}, QStringLiteral("D"), {-6, -8});
    dimension(p, {layer.left() + 190, layer.top()}, {layer.left() + 190, layer.top() + L1}, QStringLiteral("L1"), {6, 6});
    dimension(p, {layer.right() + 24, layer.top()}, {layer.right() + 24, layer.bottom()}, QStringLiteral("H"), {8, 6});
    text(p, {layer.left() + 318, layer.top() + 60}, QStringLiteral("SCA 浆体"), 22, QColor(160, 80, 10), true);
    text(p, {layer.left() + 318, layer.top() + 94}, QStringLiteral("膨胀压 p"), 22, QColor(160, 80, 10), true);
    text(p, {layer.left() + 318, layer.top() + 150}, QStringLiteral("裂缝"), 22, kCrack, true);
    return img;
}

// --- the static-breaking tables ------------------------------------------------------------------

// The static-breaking form opens its tables in a 500 x 500 look-up window,
// whose picture box takes 95 % of it: the larger tables are drawn at that
// size, so that they fill the window and show as drawn.
const QSize kLookUpBox(475, 475);

QImage hole_layout()
{
    const Table t{
        {QStringLiteral("破碎物体类型"), QStringLiteral("钻孔直径\nD(mm)"), QStringLiteral("抵抗线\nW(cm)"),
         QStringLiteral("孔距\na(cm)"), QStringLiteral("排距\n(cm)"), QStringLiteral("孔深\nL1")},
        {
            {QStringLiteral("软质岩破碎"), "40~50", "30~50", "40~60", "24~54", "1.0H"},
            {QStringLiteral("中、硬质岩破碎"), "40~65", "30~50", "40~60", "24~54", "1.05H"},
            {QStringLiteral("软、硬质岩石破碎"), "35~40", "100~200", "20~40", "12~36", "1.0H"},
            {QStringLiteral("无筋混凝土"), "35~50", "30~40", "40~60", "24~54", "0.8H"},
            {QStringLiteral("钢筋砼基础、柱"), "35~50", "20~30", "15~40", "9~36", "0.9H"},
            {QStringLiteral("钢筋砼梁、墙板"), "35~50", "20~30", "10~30", "6~27", "0.9H"},
        },
        {2.6, 1.2, 1.2, 1.1, 1.1, 0.9}};
    return table_picture(kLookUpBox.width(), kLookUpBox.height(), QStringLiteral("静态破碎布孔参数参考表"), t, 16,
                         QStringLiteral("注：H 为单次破碎深度；排距取孔距下限的0.6倍至上限的0.9倍；单孔装药量按计算确定。"), 48);
}

QImage sca_weight()
{
    const Table t{{QStringLiteral("型号"), QStringLiteral("使用温度"), QStringLiteral("季节"), QStringLiteral("K(kg/m³)")},
                  {
                      {QStringLiteral("SCA-Ⅰ"), QStringLiteral("20~35°C"), QStringLiteral("夏季"), "1540"},
                      {QStringLiteral("SCA-Ⅱ"), QStringLiteral("10~25°C"), QStringLiteral("春季"), "1540"},
                      {QStringLiteral("SCA-Ⅲ"), QStringLiteral("5~15°C"), QStringLiteral("冬季"), "1650"},
                      {QStringLiteral("SCA-Ⅳ"), QStringLiteral("5~8°C"), QStringLiteral("寒冬"), "1650"},
                  },
                  {1, 1.2, 0.8, 1.1}};
    return table_picture(336, 131, QStringLiteral("每立方米SCA浆体中SCA重量K"), t, 12);
}

QImage sca_per_metre()
{
    // Every diameter from 28 to 50 mm down the page, in two halves side by
    // side: the weights at K = 1540 (every millimetre) and at K = 1650 (the
    // even ones; the table gives no others), as the program works them out:
    // K·π·D²/4 to two decimals, an odd diameter the mean of its neighbours.
    struct Row {
        int diameter;
        const char* k1540;
        const char* k1650;
    };
    const Row rows[] = {
        {28, "0.95", "1.02"}, {29, "1.02", nullptr},  {30, "1.09", "1.17"},  {31, "1.165", nullptr},
        {32, "1.24", "1.33"}, {33, "1.32", nullptr},  {34, "1.40", "1.50"},  {35, "1.485", nullptr},
        {36, "1.57", "1.68"}, {37, "1.66", nullptr},  {38, "1.75", "1.87"},  {39, "1.845", nullptr},
        {40, "1.94", "2.07"}, {41, "2.035", nullptr}, {42, "2.13", "2.29"},  {43, "2.235", nullptr},
        {44, "2.34", "2.51"}, {45, "2.45", nullptr},  {46, "2.56", "2.74"},  {47, "2.675", nullptr},
        {48, "2.79", "2.99"}, {49, "2.905", nullptr}, {50, "3.02", "3.24"},
    };
    constexpr int kHalf = 12;
    auto cells = [&](int i) -> QStringList {
        if (i >= int(std::size(rows))) return {"", "", ""};
        const Row& r = rows[i];
        return {QString::number(r.diameter), r.k1540, r.k1650 ? QString(r.k1650) : QStringLiteral("—")};
    };
    Table t;
    t.header << QStringLiteral("D(mm)") << QStringLiteral("K=1540") << QStringLiteral("K=1650") << QStringLiteral("D(mm)")
             << QStringLiteral("K=1540") << QStringLiteral("K=1650");
    for (int i = 0; i < kHalf; ++i) t.rows.push_back(cells(i) + cells(i + kHalf));
    t.widths.assign(6, 1.0);
    return table_picture(kLookUpBox.width(), kLookUpBox.height(), QStringLiteral("每米钻孔SCA重量 w（kg/m）"), t, 16,
                         QStringLiteral("SCA-Ⅰ、Ⅱ按K=1540，SCA-Ⅲ、Ⅳ按K=1650取值。"), 30);
}

} // namespace

int main(int argc, char** argv)
{
    return kit::run(argc, argv, [](const QString&) {
        const QString dir = QStringLiteral("resources/pictures/blasting/");
        auto out = [&](const char* name, QImage (*draw)()) {
            return kit::picture(dir + name, draw, kit::Store::Rgb888, 9);
        };
        // The static-breaking tables show in the look-up window's picture box.
        auto looked_up = [&](const char* name, QImage (*draw)()) {
            kit::Output o = out(name, draw);
            o.shown = {kLookUpBox};
            return o;
        };
        std::vector<kit::Output> pictures{
            out("effect_diagram.png", effect_diagram),
            out("effect_velocity_limits.png", velocity_limits),
            out("static_illustration.png", static_illustration),
            looked_up("static_hole_layout.png", hole_layout),
            looked_up("static_sca_weight.png", sca_weight),
            looked_up("static_sca_per_metre.png", sca_per_metre),
        };
        return pictures;
    });
}
