// Draws the excavation-method pictures into
// <source-root>/resources/pictures/methods/:
//   heading.png                 the form's heading band (583 x 63)
//   button_<kind>_<state>.png   the step and viewer buttons (20 x 20)
//   start_sketch.png            the full-face sketch the form starts with (1079 x 672)
//   <method>.png                the overview of each catalogue method, at its size
//   <method>_step_<k>.png       construction step k of a method with steps
//   double_side_drift_steps.png cross-section, longitudinal section and the
//                               eight work steps of the double side-drift method
// The module recognises the shown picture by its bytes, so every picture is
// drawn with its own title and step and no two come out alike; main() fails
// rather than write a picture that repeats an earlier one.
//
// A method is a cross-section (logical units, y pointing down, the crown of
// a standard tunnel at 0) cut into the parts that are dug, the structures
// that are built and the temporary supports that are set and later removed,
// each tied to the construction step that makes it.
#include "drawkit.h"

#include <QCryptographicHash>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QSet>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const QColor kSky(250, 252, 255);
const QColor kSoil(224, 215, 196);
const QColor kSoilHatch(196, 184, 160);
const QColor kOpen(255, 255, 255);
const QColor kCurrentFill(255, 200, 120);
const QColor kCurrentLine(196, 84, 20);
const QColor kSupport(40, 40, 40);
const QColor kTemporary(120, 72, 32);
const QColor kConcrete(170, 170, 170);
const QColor kConcreteEdge(96, 96, 96);
const QColor kFuture(150, 140, 122);
const QColor kPanel(243, 243, 238);
const QColor kTitle(24, 54, 104);
const QColor kGrey(128, 128, 128);

QFont font(double px, bool bold = false) { return kit::font(std::max(8, int(std::lround(px))), bold); }

constexpr double kAll = 60; // reaches past any outline

QPainterPath box(double l, double t, double r, double b)
{
    QPainterPath p;
    p.addRect(QRectF(QPointF(l, t), QPointF(r, b)));
    return p;
}

QPainterPath everything() { return box(-kAll, -kAll, kAll, kAll); }

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath p;
    p.addPolygon(QPolygonF(QList<QPointF>(points)));
    p.closeSubpath();
    return p;
}

QPainterPath segment(double x0, double y0, double x1, double y1)
{
    QPainterPath p;
    p.moveTo(x0, y0);
    p.lineTo(x1, y1);
    return p;
}

// One arched bore: elliptic crown, straight walls, shallow curved invert.
struct Arch {
    double cx, width, rise, wall, invert, crown = 0;
    double spring() const { return crown + rise; }
    double foot() const { return spring() + wall; }
};

QPainterPath arch_outline(const Arch& a)
{
    const double l = a.cx - a.width / 2, r = a.cx + a.width / 2;
    QPainterPath p;
    p.moveTo(l, a.spring());
    p.arcTo(QRectF(l, a.crown, a.width, 2 * a.rise), 180, -180);
    p.lineTo(r, a.foot());
    p.quadTo(a.cx, a.foot() + 2 * a.invert, l, a.foot());
    p.closeSubpath();
    return p;
}

// Boolean operations flatten curves to a fixed absolute precision, which at
// the scale of metres would turn the arches into coarse polygons; they run
// on copies a hundred times larger. Their operands never share an edge
// (boxes cut across outlines, boxes taken away overshoot): shared edges
// make the clipper unreliable.
constexpr double kFine = 100;
const QTransform kToFine = QTransform::fromScale(kFine, kFine);
const QTransform kFromFine = QTransform::fromScale(1 / kFine, 1 / kFine);

QPainterPath meet(const QPainterPath& a, const QPainterPath& b)
{
    return kFromFine.map(kToFine.map(a).intersected(kToFine.map(b)).simplified());
}
QPainterPath cut(const QPainterPath& a, const QPainterPath& b)
{
    return kFromFine.map(kToFine.map(a).subtracted(kToFine.map(b)).simplified());
}
QPainterPath join(const QPainterPath& a, const QPainterPath& b)
{
    return kFromFine.map(kToFine.map(a).united(kToFine.map(b)).simplified());
}

// --- methods -------------------------------------------------------------------

struct Region {
    QPainterPath shape;
    QPointF label;
    int step;
};

struct Structure {
    QPainterPath shape;
    bool temporary; // a support line, set at `step` and taken out at `removed`
    int step;
    int removed = INT_MAX;
};

class Method {
public:
    QString name, file;
    QSize size;
    double ground = 0; // depth of the ground surface above the crown; 0: not drawn
    QPainterPath outline;
    double lining_thickness = 0.5;
    std::vector<Region> regions;
    std::vector<Structure> structures;
    std::vector<QString> steps;

    Method(QString n, QString f, QSize s, QPainterPath o)
        : name(std::move(n)), file(std::move(f)), size(s), outline(std::move(o))
    {
    }

    int step_count() const { return int(steps.size()); }
    void step(const QString& text) { steps.push_back(text); }

    // The bore inside the box; open sides reach to kAll.
    QPainterPath part(double l, double t, double r, double b) const { return meet(outline, box(l, t, r, b)); }

    // A part dug in the current step; the parts never overlap.
    void dig(const QPainterPath& shape, QPointF label = {qQNaN(), qQNaN()})
    {
        const QPainterPath kept = without_slivers(shape);
        regions.push_back({kept, std::isnan(label.x()) ? inner_point(kept) : label, current()});
    }
    void build(const QPainterPath& shape) { structures.push_back({shape, false, current()}); }
    void build_inside(const QPainterPath& shape) { build(meet(outline, shape)); }
    void temporary(const QPainterPath& line) { structures.push_back({line, true, current()}); }
    void remove_temporary()
    {
        for (Structure& s : structures)
            if (s.temporary && s.removed == INT_MAX) s.removed = current();
    }
    // The secondary lining, all round or inside `clip`.
    void lining(const QPainterPath& clip = everything())
    {
        QPainterPathStroker stroker;
        stroker.setWidth(2 * lining_thickness * kFine);
        stroker.setJoinStyle(Qt::MiterJoin);
        const QPainterPath fine = kToFine.map(outline);
        const QPainterPath ring = stroker.createStroke(fine).intersected(fine).intersected(kToFine.map(clip));
        build(kFromFine.map(ring.simplified()));
    }
    void invert(double level) { build_inside(box(-kAll, level, kAll, kAll)); }

private:
    int current() const { return int(steps.size()); }

    // Cuts along a curve can leave hair-thin slivers; they would throw the
    // labels off.
    static QPainterPath without_slivers(const QPainterPath& shape)
    {
        const QList<QPolygonF> parts = shape.toSubpathPolygons();
        auto area = [](const QPolygonF& poly) {
            double a = 0;
            for (int i = 0; i < poly.size(); ++i) {
                const QPointF& p = poly[i];
                const QPointF& q = poly[(i + 1) % poly.size()];
                a += p.x() * q.y() - q.x() * p.y();
            }
            return std::fabs(a) / 2;
        };
        double largest = 0;
        for (const QPolygonF& poly : parts) largest = std::max(largest, area(poly));
        QPainterPath kept;
        kept.setFillRule(shape.fillRule());
        for (const QPolygonF& poly : parts)
            if (area(poly) > largest * 0.02) kept.addPolygon(poly);
        return kept;
    }

    // The centre of the part's bounds, or the point of the part nearest to it.
    static QPointF inner_point(const QPainterPath& shape)
    {
        const QRectF b = shape.boundingRect();
        const QPointF c = b.center();
        if (shape.contains(c)) return c;
        QPointF best = c;
        double best_d = 1e18;
        for (int i = 1; i < 40; ++i)
            for (int j = 1; j < 40; ++j) {
                QPointF p(b.left() + b.width() * i / 40, b.top() + b.height() * j / 40);
                double d = std::hypot(p.x() - c.x(), p.y() - c.y());
                if (d < best_d && shape.contains(p)) best = p, best_d = d;
            }
        return best;
    }
};

// --- single bores ------------------------------------------------------------------

const Arch kStandard{0, 12, 6, 3, 1.2};
constexpr double kBench = 5;
constexpr double kInvert = 9; // top of the invert slab of a standard bore

// The core left standing in the upper bench; it reaches below the bench
// line so that no cut runs along that line twice.
QPainterPath core_at(double cx, double top, double half_base = 3.2)
{
    const double slope = (half_base - 2.1) / (kBench - top), below = 0.8;
    return polygon({{cx - half_base - slope * below, kBench + below}, {cx - 2.1, top}, {cx + 2.1, top},
                    {cx + half_base + slope * below, kBench + below}});
}

Method full_face(const QString& name, const QString& file, QSize size)
{
    Method m(name, file, size, arch_outline(kStandard));
    m.step("全断面一次钻爆开挖，及时施作锚杆、钢筋网、钢架及喷射混凝土初期支护");
    m.dig(m.outline);
    m.step("开挖仰拱，施作仰拱及仰拱填充");
    m.invert(kInvert);
    m.step("模筑二次衬砌，完成洞身结构");
    m.lining();
    return m;
}

Method bench(const QString& name, const QString& file, QSize size, bool closed_top)
{
    Method m(name, file, size, arch_outline(kStandard));
    if (closed_top) {
        m.step("上台阶开挖，施作拱部初期支护及临时仰拱，上半断面及时封闭成环");
        m.dig(m.part(-kAll, -kAll, kAll, kBench));
        m.temporary(segment(-7, kBench, 7, kBench));
        m.step("拆除临时仰拱，开挖下台阶，施作边墙初期支护");
        m.remove_temporary();
    } else {
        m.step("上台阶钻爆开挖，施作拱部初期支护");
        m.dig(m.part(-kAll, -kAll, kAll, kBench));
        m.step("下台阶左右错开开挖，施作边墙初期支护");
    }
    m.dig(m.part(-kAll, kBench, kAll, kInvert));
    m.step("开挖仰拱，初期支护封闭成环，施作仰拱及仰拱填充");
    m.dig(m.part(-kAll, kInvert, kAll, kAll));
    m.invert(kInvert);
    m.step("模筑二次衬砌");
    m.lining();
    return m;
}

Method ring_core(const QString& name, const QString& file, QSize size)
{
    Method m(name, file, size, arch_outline(kStandard));
    const QPainterPath upper = m.part(-kAll, -kAll, kAll, kBench), core = core_at(0, 2.2);
    m.step("上部弧形导坑环形开挖，施作拱部初期支护");
    m.dig(cut(upper, core), {0, 1.1});
    m.step("开挖预留核心土");
    m.dig(meet(upper, core));
    m.step("开挖左侧下台阶，施作左侧边墙初期支护");
    m.dig(m.part(-kAll, kBench, 0, kInvert));
    m.step("开挖右侧下台阶，施作右侧边墙初期支护");
    m.dig(m.part(0, kBench, kAll, kInvert));
    m.step("开挖仰拱，施作仰拱及仰拱填充");
    m.dig(m.part(-kAll, kInvert, kAll, kAll));
    m.invert(kInvert);
    m.step("模筑二次衬砌");
    m.lining();
    return m;
}

Method single_side_drift(const QString& name, const QString& file, QSize size)
{
    constexpr double wall = -1.5;
    Method m(name, file, size, arch_outline(kStandard));
    m.step("开挖侧壁导坑上台阶，施作初期支护及临时中壁");
    m.dig(m.part(-kAll, -kAll, wall, kBench));
    m.temporary(segment(wall, -1, wall, kBench));
    m.step("开挖侧壁导坑下台阶，接长临时中壁，导坑封闭成环");
    m.dig(m.part(-kAll, kBench, wall, kAll));
    m.temporary(segment(wall, kBench, wall, 12));
    m.step("开挖主洞上台阶，施作拱部初期支护");
    m.dig(m.part(wall, -kAll, kAll, kBench));
    m.step("开挖主洞下台阶及仰拱，初期支护封闭成环");
    m.dig(m.part(wall, kBench, kAll, kAll));
    m.step("拆除临时中壁，施作仰拱及仰拱填充");
    m.remove_temporary();
    m.invert(kInvert);
    m.step("模筑二次衬砌");
    m.lining();
    return m;
}

Method cd(const QString& name, const QString& file, QSize size)
{
    Method m(name, file, size, arch_outline(kStandard));
    m.step("开挖左侧上部，施作初期支护及中隔壁");
    m.dig(m.part(-kAll, -kAll, 0, kBench));
    m.temporary(segment(0, -1, 0, kBench));
    m.step("开挖左侧下部，接长中隔壁至仰拱");
    m.dig(m.part(-kAll, kBench, 0, kAll));
    m.temporary(segment(0, kBench, 0, 12));
    m.step("开挖右侧上部，施作拱部初期支护");
    m.dig(m.part(0, -kAll, kAll, kBench));
    m.step("开挖右侧下部，初期支护封闭成环");
    m.dig(m.part(0, kBench, kAll, kAll));
    m.step("拆除中隔壁，施作仰拱及仰拱填充");
    m.remove_temporary();
    m.invert(kInvert);
    m.step("模筑二次衬砌");
    m.lining();
    return m;
}

Method crd(const QString& name, const QString& file, QSize size)
{
    constexpr double t1 = 3.6, t2 = 7;
    Method m(name, file, size, arch_outline(kStandard));
    m.step("开挖左侧上部，施作初期支护、中隔壁及临时仰拱");
    m.dig(m.part(-kAll, -kAll, 0, t1));
    m.temporary(segment(0, -1, 0, t1));
    m.temporary(segment(-7, t1, 0, t1));
    m.step("开挖左侧中部，接长中隔壁，施作临时仰拱");
    m.dig(m.part(-kAll, t1, 0, t2));
    m.temporary(segment(0, t1, 0, t2));
    m.temporary(segment(-7, t2, 0, t2));
    m.step("开挖右侧上部，施作初期支护及临时仰拱");
    m.dig(m.part(0, -kAll, kAll, t1));
    m.temporary(segment(0, t1, 7, t1));
    m.step("开挖右侧中部，施作临时仰拱");
    m.dig(m.part(0, t1, kAll, t2));
    m.temporary(segment(0, t2, 7, t2));
    m.step("开挖左侧下部，中隔壁接至仰拱");
    m.dig(m.part(-kAll, t2, 0, kAll));
    m.temporary(segment(0, t2, 0, 12));
    m.step("开挖右侧下部，初期支护封闭成环");
    m.dig(m.part(0, t2, kAll, kAll));
    m.step("拆除中隔壁及临时仰拱，施作仰拱及仰拱填充");
    m.remove_temporary();
    m.invert(kInvert);
    m.step("模筑二次衬砌");
    m.lining();
    return m;
}

Method double_side_drift(const QString& name, const QString& file, QSize size)
{
    const Arch wide{0, 14, 6.5, 3, 1.3};
    constexpr double drift = 3, level = 5.5;
    Method m(name, file, size, arch_outline(wide));
    m.step("开挖左侧导坑上部，施作初期支护、临时侧壁及临时仰拱");
    m.dig(m.part(-kAll, -kAll, -drift, level));
    m.temporary(segment(-drift, -1, -drift, level));
    m.temporary(segment(-8, level, -drift, level));
    m.step("开挖左侧导坑下部，接长临时侧壁，导坑封闭成环");
    m.dig(m.part(-kAll, level, -drift, kAll));
    m.temporary(segment(-drift, level, -drift, 13));
    m.step("开挖右侧导坑上部，施作初期支护、临时侧壁及临时仰拱");
    m.dig(m.part(drift, -kAll, kAll, level));
    m.temporary(segment(drift, -1, drift, level));
    m.temporary(segment(drift, level, 8, level));
    m.step("开挖右侧导坑下部，接长临时侧壁，导坑封闭成环");
    m.dig(m.part(drift, level, kAll, kAll));
    m.temporary(segment(drift, level, drift, 13));
    m.step("开挖中部上台阶，施作拱部初期支护");
    m.dig(m.part(-drift, -kAll, drift, 4));
    m.step("开挖中部中台阶");
    m.dig(m.part(-drift, 4, drift, 7.5));
    m.step("开挖中部下台阶，初期支护封闭成环");
    m.dig(m.part(-drift, 7.5, drift, kAll));
    m.step("拆除临时支护，施作仰拱及二次衬砌");
    m.remove_temporary();
    m.invert(wide.foot());
    m.lining();
    return m;
}

// --- twin bores with a middle wall ---------------------------------------------

constexpr double kTwin = 5.6; // centre of each main bore
const Arch kPilot{0, 4.6, 1.6, 4.8, 0.6, 2.6};

Arch twin_bore(double side)
{
    Arch a = kStandard;
    a.cx = side * kTwin;
    return a;
}

// The two main bores, the middle drift between them, and each main bore
// without the middle drift.
struct Twin {
    Method m;
    QPainterPath pilot, bore[2]; // bore[0] left, bore[1] right
};

Twin twin(const QString& name, const QString& file, QSize size)
{
    const QPainterPath left = arch_outline(twin_bore(-1)), right = arch_outline(twin_bore(1)),
                       pilot = arch_outline(kPilot);
    Twin t{Method(name, file, size, join(join(left, right), pilot)), pilot, {cut(left, pilot), cut(right, pilot)}};
    t.m.ground = 3;
    return t;
}

QPainterPath upper_of(const QPainterPath& shape) { return meet(shape, box(-kAll, -kAll, kAll, kBench)); }
QPainterPath lower_of(const QPainterPath& shape) { return meet(shape, box(-kAll, kBench, kAll, kAll)); }

const char* bore_name(int side) { return side == 0 ? "左洞" : "右洞"; }

void middle_drift_and_wall(Twin& t)
{
    t.m.step("开挖中导洞，施作初期支护");
    t.m.dig(t.pilot);
    t.m.step("浇筑中隔墙，墙顶与两侧回填支顶");
    t.m.build_inside(box(-0.8, 3.6, 0.8, 10.4));
}

Method twin_finish(Twin& t, const QString& text, bool remove)
{
    t.m.step(text);
    if (remove) t.m.remove_temporary();
    t.m.invert(kInvert);
    t.m.lining();
    return t.m;
}

Method middle_drift_full_face(const QString& name, const QString& file, QSize size)
{
    Twin t = twin(name, file, size);
    middle_drift_and_wall(t);
    for (int side : {0, 1}) {
        t.m.step(QString(bore_name(side)) + "全断面开挖，施作初期支护");
        t.m.dig(t.bore[side]);
    }
    return twin_finish(t, "施作仰拱及左右洞二次衬砌", false);
}

Method middle_drift_bench(const QString& name, const QString& file, QSize size)
{
    Twin t = twin(name, file, size);
    middle_drift_and_wall(t);
    for (int side : {0, 1}) {
        const QString bore = bore_name(side);
        t.m.step("开挖" + bore + "上台阶，施作拱部初期支护");
        t.m.dig(upper_of(t.bore[side]));
        t.m.step("开挖" + bore + "下台阶，初期支护封闭成环");
        t.m.dig(lower_of(t.bore[side]));
    }
    return twin_finish(t, "施作仰拱及左右洞二次衬砌", false);
}

Method middle_drift_ring_core(const QString& name, const QString& file, QSize size)
{
    Twin t = twin(name, file, size);
    middle_drift_and_wall(t);
    for (int side : {0, 1}) {
        const QString bore = bore_name(side);
        const double cx = (side == 0 ? -1 : 1) * kTwin;
        const QPainterPath upper = upper_of(t.bore[side]), core = core_at(cx, 2.3, 3.0);
        t.m.step(bore + "上部弧形导坑环形开挖，施作拱部初期支护");
        t.m.dig(cut(upper, core), {cx, 1.1});
        t.m.step("开挖" + bore + "核心土");
        t.m.dig(meet(upper, core));
        t.m.step("开挖" + bore + "下台阶，初期支护封闭成环");
        t.m.dig(lower_of(t.bore[side]));
    }
    return twin_finish(t, "施作仰拱及左右洞二次衬砌", false);
}

Method middle_drift_side_drift(const QString& name, const QString& file, QSize size)
{
    Twin t = twin(name, file, size);
    middle_drift_and_wall(t);
    for (int side : {0, 1}) {
        const QString bore = bore_name(side);
        const double wall = (side == 0 ? -1 : 1) * 8;
        const QPainterPath outer = side == 0 ? box(-kAll, -kAll, wall, kAll) : box(wall, -kAll, kAll, kAll);
        const QPainterPath inner = side == 0 ? box(wall, -kAll, kAll, kAll) : box(-kAll, -kAll, wall, kAll);
        const QPainterPath rest = meet(t.bore[side], inner);
        t.m.step("开挖" + bore + "外侧壁导坑，施作初期支护及临时中壁");
        t.m.dig(meet(t.bore[side], outer));
        t.m.temporary(segment(wall, -1, wall, 12));
        t.m.step("开挖" + bore + "上台阶，施作拱部初期支护");
        t.m.dig(upper_of(rest));
        t.m.step("开挖" + bore + "下台阶，初期支护封闭成环");
        t.m.dig(lower_of(rest));
    }
    return twin_finish(t, "拆除临时中壁，施作仰拱及左右洞二次衬砌", true);
}

Method middle_drift_cd(const QString& name, const QString& file, QSize size)
{
    Twin t = twin(name, file, size);
    middle_drift_and_wall(t);
    for (int side : {0, 1}) {
        const QString bore = bore_name(side);
        const double wall = (side == 0 ? -1 : 1) * kTwin;
        const QPainterPath outer = side == 0 ? box(-kAll, -kAll, wall, kAll) : box(wall, -kAll, kAll, kAll);
        const QPainterPath inner = side == 0 ? box(wall, -kAll, kAll, kAll) : box(-kAll, -kAll, wall, kAll);
        t.m.step("开挖" + bore + "外侧上、下部，施作初期支护及中隔壁");
        t.m.dig(meet(t.bore[side], outer));
        t.m.temporary(segment(wall, -1, wall, 12));
        t.m.step("开挖" + bore + "内侧上、下部，初期支护封闭成环");
        t.m.dig(meet(t.bore[side], inner));
    }
    return twin_finish(t, "拆除中隔壁，施作仰拱及左右洞二次衬砌", true);
}

// Besides the middle drift, a side drift at the foot of each outer wall.
constexpr double kSideDrift = 8.8, kSideTop = 3.5;

// Each main bore without its side drift.
void three_drifts(Twin& t, QPainterPath rest[2])
{
    for (int side : {0, 1}) {
        const double s = side == 0 ? -1 : 1;
        // Everything but the side drift's box.
        const QPainterPath others = polygon({{kAll * s, -kAll}, {-kAll * s, -kAll}, {-kAll * s, kAll}, {kSideDrift * s, kAll},
                                             {kSideDrift * s, kSideTop}, {kAll * s, kSideTop}});
        rest[side] = meet(t.bore[side], others);
    }
}

void three_drifts_and_walls(Twin& t, const QString& text, bool walls_too)
{
    t.m.step(text);
    t.m.dig(t.pilot);
    t.m.dig(t.m.part(-kAll, kSideTop, -kSideDrift, kAll));
    t.m.dig(t.m.part(kSideDrift, kSideTop, kAll, kAll));
    if (!walls_too) t.m.step("浇筑中隔墙及左右边墙");
    t.m.build_inside(box(-0.8, 3.6, 0.8, 10.4));
    t.m.build_inside(box(-kAll, 4.6, -10.6, 10.4));
    t.m.build_inside(box(10.6, 4.6, kAll, 10.4));
}

Method three_drifts_bench(const QString& name, const QString& file, QSize size)
{
    Twin t = twin(name, file, size);
    QPainterPath rest[2];
    three_drifts(t, rest);
    three_drifts_and_walls(t, "开挖中导洞及左右侧导洞，施作初期支护", false);
    t.m.step("开挖左右洞上台阶，施作拱部初期支护");
    t.m.dig(upper_of(rest[0]));
    t.m.dig(upper_of(rest[1]));
    t.m.step("开挖左右洞下台阶，初期支护封闭成环");
    t.m.dig(lower_of(rest[0]));
    t.m.dig(lower_of(rest[1]));
    return twin_finish(t, "施作仰拱及左右洞二次衬砌", false);
}

Method three_drifts_ring_core(const QString& name, const QString& file, QSize size)
{
    Twin t = twin(name, file, size);
    QPainterPath rest[2];
    three_drifts(t, rest);
    three_drifts_and_walls(t, "开挖中导洞及左右侧导洞，浇筑中隔墙及左右边墙", true);
    const QPainterPath core[2] = {core_at(-kTwin, 2.3, 3.0), core_at(kTwin, 2.3, 3.0)};
    t.m.step("左右洞上部弧形导坑环形开挖，预留核心土，施作拱部初期支护");
    t.m.dig(cut(upper_of(rest[0]), core[0]), {-kTwin, 1.1});
    t.m.dig(cut(upper_of(rest[1]), core[1]), {kTwin, 1.1});
    t.m.step("开挖核心土及下台阶，施作仰拱及二次衬砌");
    for (int side : {0, 1}) {
        t.m.dig(meet(upper_of(rest[side]), core[side]));
        t.m.dig(lower_of(rest[side]));
    }
    t.m.invert(kInvert);
    t.m.lining();
    return t.m;
}

// --- large sections -------------------------------------------------------------

const Arch kLarge{0, 22, 6, 8, 1.4};
constexpr double kLargeInvert = 14;

Method large(const QString& name, const QString& file, QSize size, QPainterPath outline = arch_outline(kLarge))
{
    Method m(name, file, size, std::move(outline));
    m.ground = 6;
    m.lining_thickness = 0.7;
    return m;
}

// A steel-tube column with its top and bottom longitudinal beams.
void beams_and_column(Method& m, double x, double top, double bottom)
{
    m.build(box(x - 1, top - 0.9, x + 1, top));
    m.build(box(x - 0.3, top, x + 0.3, bottom));
    m.build(box(x - 1, bottom, x + 1, bottom + 1));
}

Method large_middle_drift(const QString& name, const QString& file, QSize size)
{
    Method m = large(name, file, size);
    m.step("中洞上部导洞开挖，施作初期支护、临时中隔壁及临时仰拱");
    m.dig(m.part(-4, -kAll, 4, 6));
    m.temporary(segment(-4, -1, -4, 6));
    m.temporary(segment(4, -1, 4, 6));
    m.temporary(segment(-4, 6, 4, 6));
    m.step("开挖中洞中、下部，临时中隔壁接至仰拱");
    m.dig(m.part(-4, 6, 4, kAll));
    m.temporary(segment(-4, 6, -4, 17));
    m.temporary(segment(4, 6, 4, 17));
    m.step("中洞内施作底纵梁、钢管柱及顶纵梁");
    beams_and_column(m, -2.6, 2.2, 13.4);
    beams_and_column(m, 2.6, 2.2, 13.4);
    m.step("对称开挖左右侧洞上部，施作初期支护");
    m.dig(m.part(-kAll, -kAll, -4, 7));
    m.dig(m.part(4, -kAll, kAll, 7));
    m.step("开挖左右侧洞下部，初期支护封闭成环");
    m.dig(m.part(-kAll, 7, -4, kAll));
    m.dig(m.part(4, 7, kAll, kAll));
    m.step("拆除临时支护，施作底板、边墙及拱部二次衬砌");
    m.remove_temporary();
    m.invert(kLargeInvert);
    m.lining();
    return m;
}

Method large_side_drifts(const QString& name, const QString& file, QSize size)
{
    Method m = large(name, file, size);
    for (int side : {0, 1}) {
        const double s = side == 0 ? -1 : 1, wall = s * 4, outer = s * 12;
        const QString hole = side == 0 ? "左侧洞" : "右侧洞";
        auto part = [&](double top, double bottom) {
            return side == 0 ? m.part(-kAll, top, wall, bottom) : m.part(wall, top, kAll, bottom);
        };
        m.step("开挖" + hole + "上部导洞，施作初期支护、临时中隔壁及临时仰拱");
        m.dig(part(-kAll, 5));
        m.temporary(segment(wall, -1, wall, 5));
        m.temporary(segment(outer, 5, wall, 5));
        m.step("开挖" + hole + "中部，接长临时中隔壁，施作临时仰拱");
        m.dig(part(5, 10));
        m.temporary(segment(wall, 5, wall, 10));
        m.temporary(segment(outer, 10, wall, 10));
        m.step("开挖" + hole + "下部，临时中隔壁接至仰拱");
        m.dig(part(10, kAll));
        m.temporary(segment(wall, 10, wall, 17));
        m.step(hole + "内施作底纵梁、钢管柱及顶纵梁");
        beams_and_column(m, s * 6.5, 2.2, 13.4);
    }
    m.step("施作两侧洞边墙及拱部二次衬砌");
    m.lining(box(-kAll, -kAll, -4, kAll));
    m.lining(box(4, -kAll, kAll, kAll));
    m.step("开挖中洞上部，施作拱部初期支护");
    m.dig(m.part(-4, -kAll, 4, 5));
    m.step("开挖中洞中部");
    m.dig(m.part(-4, 5, 4, 10));
    m.step("开挖中洞下部，初期支护封闭成环");
    m.dig(m.part(-4, 10, 4, kAll));
    m.step("拆除临时支护，施作中洞底板及拱部二次衬砌");
    m.remove_temporary();
    m.invert(kLargeInvert);
    m.lining(box(-4, -kAll, 4, kAll));
    return m;
}

Method pba(const QString& name, const QString& file, QSize size)
{
    Method m = large(name, file, size);
    const double drifts[] = {-8.6, -2.8, 2.8, 8.6};
    constexpr double upper = 5.2, lower = 11.4, hall = 10;
    QPainterPath arch = box(-kAll, -kAll, kAll, upper), platform = box(-kAll, hall, kAll, kAll);
    for (double x : drifts) {
        arch = cut(arch, box(x - 1.6, -kAll - 1, x + 1.6, upper + 1));
        platform = cut(platform, box(x - 1.6, lower, x + 1.6, kAll + 1));
    }
    m.step("开挖上层四个小导洞，施作初期支护");
    for (double x : drifts) m.dig(m.part(x - 1.6, -kAll, x + 1.6, upper));
    m.step("开挖下层四个小导洞，施作初期支护");
    for (double x : drifts) m.dig(m.part(x - 1.6, lower, x + 1.6, kAll));
    m.step("下层导洞内施作条形基础及底纵梁");
    for (double x : drifts) m.build_inside(box(x - 1.3, 14.2, x + 1.3, 15.4));
    m.step("上层边导洞内向下施作边桩");
    for (double x : {-8.6, 8.6}) m.build(box(x - 0.45, 4.3, x + 0.45, 14.2));
    m.step("上层中导洞内施作钢管柱");
    for (double x : {-2.8, 2.8}) m.build(box(x - 0.35, 4.3, x + 0.35, 14.2));
    m.step("施作顶纵梁及冠梁，导洞内回填");
    for (double x : drifts) m.build_inside(box(x - 1.3, 3.3, x + 1.3, 4.3));
    m.step("开挖拱部土体，施作拱部初期支护（扣拱）");
    m.dig(meet(m.outline, arch), {0, 1.2});
    m.step("施作拱部二次衬砌");
    m.lining(box(-kAll, -kAll, kAll, upper));
    m.step("拱盖保护下开挖站厅层土体");
    m.dig(m.part(-kAll, upper, kAll, hall));
    m.step("开挖站台层土体，施作底板及侧墙二次衬砌");
    m.dig(meet(m.outline, platform), {0, 12.6});
    m.invert(kLargeInvert);
    m.lining(box(-kAll, upper, kAll, kAll));
    return m;
}

Method single_arch_cover(const QString& name, const QString& file, QSize size)
{
    Method m = large(name, file, size);
    constexpr double level = 6.5;
    m.step("开挖拱部两侧导洞，施作初期支护及临时中隔壁");
    m.dig(m.part(-kAll, -kAll, -4, level));
    m.dig(m.part(4, -kAll, kAll, level));
    m.temporary(segment(-4, -1, -4, level));
    m.temporary(segment(4, -1, 4, level));
    m.step("开挖拱部中导洞，施作拱部初期支护");
    m.dig(m.part(-4, -kAll, 4, level));
    m.step("拆除临时中隔壁，施作拱盖二次衬砌及拱脚");
    m.remove_temporary();
    m.lining(box(-kAll, -kAll, kAll, level));
    m.build(box(-11.8, 5.4, -10, 7.4));
    m.build(box(10, 5.4, 11.8, 7.4));
    m.step("拱盖保护下开挖站厅层土体");
    m.dig(m.part(-kAll, level, kAll, 10.5));
    m.step("开挖站台层土体，初期支护封闭成环");
    m.dig(m.part(-kAll, 10.5, kAll, kAll));
    m.step("施作边墙及底板二次衬砌");
    m.invert(kLargeInvert);
    m.lining(box(-kAll, level, kAll, kAll));
    return m;
}

Method double_arch_cover(const QString& name, const QString& file, QSize size)
{
    const Arch left{-5.8, 12, 5, 9, 1.2}, right{5.8, 12, 5, 9, 1.2};
    Method m = large(name, file, size, join(arch_outline(left), arch_outline(right)));
    constexpr double level = 6;
    for (int side : {0, 1}) {
        const double wall = (side == 0 ? -1 : 1) * 5.8;
        const QString arch = side == 0 ? "左拱部" : "右拱部";
        m.step("开挖" + arch + "外侧导洞，施作初期支护及临时中隔壁");
        m.dig(side == 0 ? m.part(-kAll, -kAll, wall, level) : m.part(wall, -kAll, kAll, level));
        m.temporary(segment(wall, -1, wall, level));
        m.step("开挖" + arch + "内侧导洞，施作初期支护");
        m.dig(side == 0 ? m.part(wall, -kAll, 0, level) : m.part(0, -kAll, wall, level));
    }
    m.step("施作拱间中纵梁");
    m.build(box(-0.9, 3.4, 0.9, 5));
    m.step("拆除临时中隔壁，设置临时竖撑，施作双拱盖二次衬砌");
    m.remove_temporary();
    m.temporary(segment(0, 5, 0, 16));
    m.lining(box(-kAll, -kAll, kAll, level));
    m.step("拱盖保护下开挖站厅层左侧土体");
    m.dig(m.part(-kAll, level, 0, 10.5));
    m.step("开挖站厅层右侧土体");
    m.dig(m.part(0, level, kAll, 10.5));
    m.step("开挖站台层土体，拆除临时竖撑，施作中柱及底板");
    m.dig(m.part(-kAll, 10.5, kAll, kAll), {-3, 12.4});
    m.remove_temporary();
    m.build(box(-0.4, 5, 0.4, 14));
    m.invert(kLargeInvert);
    m.step("施作边墙、底板及中柱二次衬砌，完成双拱结构");
    m.lining(box(-kAll, level, kAll, kAll));
    return m;
}

// --- drawing --------------------------------------------------------------------

void hatch(QPainter& p, const QRectF& r)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(kSoil);
    p.drawRect(r);
    p.setBrush(QBrush(kSoilHatch, Qt::BDiagPattern));
    p.drawRect(r);
    p.restore();
}

void circled_number(QPainter& p, QPointF at, int n, double r, const QColor& ring, const QColor& fill,
                    const QColor& text)
{
    p.save();
    p.setPen(QPen(ring, std::max(1.0, r / 8)));
    p.setBrush(fill);
    p.drawEllipse(at, r, r);
    p.setPen(text);
    p.setFont(font(r * 1.2, true));
    kit::text(p, QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r), Qt::AlignCenter, QString::number(n));
    p.restore();
}

QPen pen(const QColor& c, double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen p(c, width, style, Qt::RoundCap, Qt::RoundJoin);
    return p;
}

// The cross-section of `m` in `area`: the overview (step 0) or the state
// after step `k`, the step's own work highlighted.
// `text_unit`: the painter's pixels to one pixel where the form shows the
// picture, so that the section's texts show at 12 px or more.
void draw_section(QPainter& p, const Method& m, int k, const QRectF& area, double text_unit = 1)
{
    QRectF bounds = m.outline.boundingRect();
    const double margin = bounds.width() * 0.08;
    bounds.adjust(-margin, -margin - m.ground, margin, margin);
    const double scale = std::min(area.width() / bounds.width(), area.height() / bounds.height());
    QTransform t;
    t.translate(area.center().x(), area.center().y());
    t.scale(scale, scale);
    t.translate(-bounds.center().x(), -bounds.center().y());
    auto map = [&](const QPainterPath& path) { return t.map(path); };
    const double unit = scale; // pixels per metre

    // Ground, or rock all round.
    p.save();
    p.setClipRect(area);
    if (m.ground > 0) {
        const double surface = t.map(QPointF(0, -m.ground)).y();
        p.fillRect(QRectF(area.left(), area.top(), area.width(), surface - area.top()), kSky);
        hatch(p, QRectF(area.left(), surface, area.width(), area.bottom() - surface));
        p.setPen(pen(QColor(70, 110, 40), std::max(2.0, unit * 0.12)));
        p.drawLine(QPointF(area.left(), surface), QPointF(area.right(), surface));
        p.setPen(Qt::black);
        p.setFont(font(std::max(12.0 * text_unit, unit * 0.55)));
        kit::text_at(p, QPointF(area.left() + 8, surface - 6), QStringLiteral("地面"));
    } else {
        hatch(p, area);
    }
    p.restore();

    const bool overview = k == 0;
    auto dug = [&](const Region& r) { return overview || r.step <= k; };
    auto built = [&](const Structure& s) { return overview || (s.step <= k && s.removed > k); };
    const double line_w = std::max(1.5, unit * 0.07);

    // Parts: open, freshly dug, or still in the ground.
    for (const Region& r : m.regions)
        if (dug(r)) p.fillPath(map(r.shape), !overview && r.step == k ? kCurrentFill : kOpen);
    // Concrete structures.
    for (const Structure& s : m.structures) {
        if (s.temporary || !built(s)) continue;
        bool now = !overview && s.step == k;
        p.setPen(pen(now ? kCurrentLine : kConcreteEdge, line_w * 0.8));
        p.setBrush(now ? kCurrentFill.darker(115) : kConcrete);
        p.drawPath(map(s.shape));
    }
    // Primary support along the dug parts: the outline, drawn within a band
    // round each dug part (no union of the parts: they share their edges).
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(kSupport, line_w * 1.6));
    for (const Region& r : m.regions) {
        if (!dug(r)) continue;
        p.save();
        QPainterPathStroker band;
        band.setWidth(line_w * 4);
        p.setClipPath(band.createStroke(map(r.shape)));
        p.drawPath(map(m.outline));
        p.restore();
    }
    // The planned outline and the parts not yet dug.
    p.setBrush(Qt::NoBrush);
    for (const Region& r : m.regions) {
        if (overview) p.setPen(pen(QColor(60, 60, 60), line_w * 0.6));
        else if (r.step == k) p.setPen(pen(kCurrentLine, line_w));
        else if (r.step > k) p.setPen(pen(kFuture, line_w * 0.7, Qt::DashLine));
        else continue;
        p.drawPath(map(r.shape));
    }
    if (!overview) {
        p.setPen(pen(kFuture, line_w * 0.7, Qt::DashLine));
        p.drawPath(map(m.outline));
    }
    // Temporary supports, inside the bore only.
    p.save();
    p.setClipPath(map(m.outline));
    for (const Structure& s : m.structures) {
        if (!s.temporary || !built(s)) continue;
        bool now = !overview && s.step == k;
        p.setPen(pen(now ? kCurrentLine : kTemporary, line_w * 1.5, overview ? Qt::DashLine : Qt::SolidLine));
        p.drawPath(map(s.shape));
    }
    p.restore();
    // Step numbers on the parts.
    // Radius 10 writes the number at 12 px.
    const double r = std::max(10.0 * text_unit, std::min(unit * 0.55, area.height() / 26));
    for (const Region& reg : m.regions) {
        const QPointF at = t.map(reg.label);
        if (overview || reg.step < k) circled_number(p, at, reg.step, r, Qt::black, Qt::white, Qt::black);
        else if (reg.step == k) circled_number(p, at, reg.step, r, kCurrentLine, kCurrentLine, Qt::white);
        else circled_number(p, at, reg.step, r, kFuture, QColor(236, 230, 218), kFuture);
    }
}

// Lines of `text` wrapped to `width` with font `f`: the height they take.
double wrapped_height(const QFont& f, double width, const QString& text)
{
    return kit::measure(f, QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
}

// The form's picture box: every method picture is laid out in its pixels
// and drawn at the picture's own size, so its texts show at their size there.
const QSizeF kBox(527, 328);

// The list of construction steps, step `k` marked (0: none), at 12 px.
void draw_steps(QPainter& p, const Method& m, int k, const QRectF& area)
{
    p.save();
    p.setPen(pen(QColor(200, 200, 190), 1));
    p.setBrush(kPanel);
    p.drawRoundedRect(area, 5, 5);
    const QRectF list = area.adjusted(5, 4, -4, -3);
    const double px = 12, number_w = 21;
    // The rows' spacing gives way first when the list is long.
    double total = 0;
    for (const QString& st : m.steps) total += wrapped_height(font(px), list.width() - number_w, st);
    const double gap = std::clamp((list.height() - total) / std::max(1, m.step_count()), 0.0, 5.0);
    double y = list.top();
    for (int i = 0; i < m.step_count(); ++i) {
        const int n = i + 1;
        const QFont f = font(px, n == k);
        const double h = wrapped_height(f, list.width() - number_w, m.steps[i]);
        const QRectF row(list.left(), y, list.width(), h);
        if (n == k) {
            p.setPen(Qt::NoPen);
            p.setBrush(kCurrentFill);
            p.drawRoundedRect(row.adjusted(-3, -1, 2, 1), 3, 3);
        }
        const QColor c = k == 0 || n <= k ? (n == k ? kCurrentLine : QColor(Qt::black)) : kGrey;
        p.setPen(c);
        p.setFont(f);
        kit::text(p, QRectF(row.left(), row.top(), number_w, h), Qt::AlignLeft | Qt::AlignTop, QString::number(n) + ".");
        kit::text(p, QRectF(row.left() + number_w, row.top(), row.width() - number_w, h), Qt::TextWordWrap, m.steps[i]);
        y += h + gap;
    }
    p.restore();
}

// The colour key: what the fills of the section mean, two by two.
void draw_key(QPainter& p, const QRectF& area)
{
    struct Key {
        QColor fill;
        QString text;
    };
    const Key keys[] = {{kCurrentFill, QStringLiteral("本步施工")}, {kOpen, QStringLiteral("已开挖")},
                        {kSoil, QStringLiteral("未开挖")},        {kConcrete, QStringLiteral("混凝土结构")}};
    p.save();
    p.setFont(font(12));
    const double row = area.height() / 2, column = area.width() / 2;
    for (int i = 0; i < 4; ++i) {
        const double x = area.left() + (i % 2) * column, y = area.top() + (i / 2) * row;
        p.setPen(pen(QColor(90, 90, 90), 1));
        p.setBrush(keys[i].fill);
        p.drawRect(QRectF(x + 2, y + row / 2 - 5, 14, 10));
        p.setPen(Qt::black);
        kit::text(p, QRectF(x + 20, y, column - 22, row), Qt::AlignLeft | Qt::AlignVCenter, keys[i].text);
    }
    p.restore();
}

QImage canvas(QSize size) { return kit::canvas(size.width(), size.height()); }

// A method's overview (k = 0) or construction step k; `note` replaces the
// line under the title.
QImage method_picture(const Method& m, int k, QSize size, const QString& note = {})
{
    QImage img = canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double unit = std::max(size.width() / kBox.width(), size.height() / kBox.height());
    p.scale(unit, unit);
    const double w = size.width() / unit, h = size.height() / unit, margin = 4, band = 26;

    // Title band.
    p.fillRect(QRectF(0, 0, w, band), QColor(232, 239, 250));
    p.setPen(pen(kTitle, 1.5));
    p.drawLine(QPointF(0, band), QPointF(w, band));
    p.setPen(kTitle);
    p.setFont(font(15, true));
    kit::text(p, QRectF(margin + 2, 0, w * 0.74 - margin, band), Qt::AlignLeft | Qt::AlignVCenter, m.name);
    p.setFont(font(12, true));
    const QString tag = k == 0 ? QStringLiteral("工法示意图")
                               : QStringLiteral("施工步骤 %1 / %2").arg(k).arg(m.step_count());
    p.setPen(k == 0 ? kTitle : kCurrentLine);
    kit::text(p, QRectF(w * 0.74, 0, w * 0.26 - margin - 2, band), Qt::AlignRight | Qt::AlignVCenter, tag);

    // The line under the title: the step, or what the sketch shows.
    QString line = note;
    if (line.isEmpty())
        line = k == 0 ? QStringLiteral("开挖分部及施工顺序（圈内数字为施工步骤）")
                      : QStringLiteral("第%1步：%2").arg(k).arg(m.steps[k - 1]);
    p.setPen(k == 0 ? QColor(60, 60, 60) : kCurrentLine);
    p.setFont(font(12, k != 0));
    kit::text(p, QRectF(margin + 2, band + 2, w - 2 * margin - 4, 18), Qt::AlignLeft | Qt::AlignVCenter, line);

    // The section on the left with its colour key under it, the steps on the right.
    const double top = band + 22, key_h = 34, split = w * 0.46;
    const QRectF drawing(margin, top, split - margin, h - top - key_h - margin);
    draw_section(p, m, k, drawing);
    p.setPen(pen(QColor(160, 160, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(drawing);
    draw_key(p, QRectF(margin, drawing.bottom() + 1, drawing.width(), key_h));
    draw_steps(p, m, k, QRectF(split + 4, top, w - split - 4 - margin, h - top - margin));
    return img;
}

// The one further picture of the double side-drift method: its cross-section,
// a longitudinal section of the staggered faces and its eight work steps.
// 834 wide and of the form's box's shape, which shows it at 527: its texts
// are 19 px (12 there).
QImage double_side_drift_steps(const Method& m)
{
    const QSize size(834, 519);
    const double unit = size.width() / kBox.width(), text = 12 * unit, r = 10 * unit;
    QImage img = canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kTitle);
    p.setFont(font(15 * unit, true));
    kit::text(p, QRectF(10, 2, 520, 34), Qt::AlignLeft | Qt::AlignVCenter, m.name + QStringLiteral(" 施工步骤图"));
    p.setFont(font(text));
    p.setPen(QColor(60, 60, 60));
    kit::text(p, QRectF(530, 2, 294, 34), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("横断面 · 纵断面 · 施工工序"));

    const QRectF cross(10, 38, 290, 214);
    draw_section(p, m, 0, cross, unit);
    p.setPen(pen(QColor(160, 160, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(cross);
    p.setPen(Qt::black);
    p.setFont(font(text, true));
    kit::text(p, QRectF(cross.left() + 4, cross.top() + 2, 90, 26), Qt::AlignLeft | Qt::AlignTop,
              QStringLiteral("横断面"));

    // Longitudinal section: the faces of the parts lead and lag one another.
    const QRectF lon(312, 38, 512, 214);
    hatch(p, lon);
    p.setPen(pen(QColor(160, 160, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(lon);
    p.setPen(Qt::black);
    p.setFont(font(text, true));
    kit::text(p, QRectF(lon.left() + 4, lon.top() + 2, 90, 26), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("纵断面"));
    const double top = lon.top() + 50, bottom = lon.bottom() - 30, x0 = lon.left();
    const double tiers[4] = {top, top + (bottom - top) * 0.38, top + (bottom - top) * 0.7, bottom};
    // Face of each tier, from the portal side: side drifts lead, the middle follows.
    struct Face {
        double x;
        int side_step, middle_step;
    };
    const Face faces[3] = {{lon.right() - 16, 1, 5}, {lon.right() - 80, 2, 6}, {lon.right() - 150, 2, 7}};
    for (int i = 0; i < 3; ++i) {
        QRectF open(x0, tiers[i], faces[i].x - x0, tiers[i + 1] - tiers[i]);
        p.fillRect(open, kOpen);
        p.setPen(pen(kSupport, 1));
        p.drawLine(open.topRight(), open.bottomRight());
    }
    // The middle parts lag the side drifts by a few metres.
    const double lag[3] = {64, 64, 64};
    for (int i = 0; i < 3; ++i) {
        QRectF side(faces[i].x - lag[i], tiers[i] + 3, lag[i], tiers[i + 1] - tiers[i] - 6);
        p.fillRect(side, QColor(255, 236, 205));
        p.setPen(pen(kTemporary, 1, Qt::DashLine));
        p.drawRect(side);
        circled_number(p, QPointF(faces[i].x - lag[i] / 2, (tiers[i] + tiers[i + 1]) / 2), faces[i].side_step, r,
                       Qt::black, Qt::white, Qt::black);
        circled_number(p, QPointF(faces[i].x - lag[i] - 24, (tiers[i] + tiers[i + 1]) / 2), faces[i].middle_step,
                       r, Qt::black, Qt::white, Qt::black);
    }
    // Support along crown and invert, lining following behind.
    p.setPen(pen(kSupport, 2.5));
    p.drawLine(QPointF(x0, top), QPointF(faces[0].x, top));
    p.drawLine(QPointF(x0, bottom), QPointF(faces[2].x, bottom));
    const double lining_end = lon.left() + 200;
    p.fillRect(QRectF(x0, top, lining_end - x0, 8), kConcrete);
    p.fillRect(QRectF(x0, bottom - 8, lining_end - x0, 8), kConcrete);
    circled_number(p, QPointF(lining_end - 24, top + 30), 8, r, Qt::black, Qt::white, Qt::black);
    p.setPen(pen(Qt::black, 1));
    p.setFont(font(text));
    const double dy = lon.top() + 44;
    p.drawLine(QPointF(faces[1].x, dy), QPointF(faces[0].x, dy));
    kit::text(p, QRectF(faces[1].x - 10, dy - 26, faces[0].x - faces[1].x + 20, 25), Qt::AlignCenter,
              QStringLiteral("3~5m"));
    kit::text(p, QRectF(lon.left() + 6, lon.bottom() - 28, 200, 26), Qt::AlignLeft | Qt::AlignVCenter,
              QStringLiteral("← 洞口方向"));
    kit::text(p, QRectF(lon.right() - 180, lon.bottom() - 28, 170, 26), Qt::AlignRight | Qt::AlignVCenter,
              QStringLiteral("掘进方向 →"));

    // The eight work steps in two columns.
    const QRectF legend(10, 258, 814, size.height() - 258 - 6);
    p.setPen(pen(QColor(200, 200, 190), 1));
    p.setBrush(kPanel);
    p.drawRoundedRect(legend, 6, 6);
    const double row = (legend.height() - 8) / 4;
    for (int i = 0; i < m.step_count(); ++i) {
        const double x = legend.left() + 8 + (i / 4) * legend.width() / 2;
        const double y = legend.top() + 4 + (i % 4) * row;
        circled_number(p, QPointF(x + r, y + row / 2), i + 1, r, Qt::black, Qt::white, Qt::black);
        p.setPen(Qt::black);
        p.setFont(font(text));
        kit::text(p, QRectF(x + 2 * r + 8, y, legend.width() / 2 - 2 * r - 22, row),
                  Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, m.steps[i]);
    }
    return img;
}

QImage heading()
{
    QImage img = canvas({583, 63});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Flat colours: the picture is stored with an eight-bit palette.
    p.fillRect(QRectF(0, 0, 583, 63), QColor(28, 70, 138));
    p.fillRect(QRectF(0, 55, 583, 8), QColor(236, 160, 60));
    // A small arched bore as the emblem.
    Arch emblem{36, 40, 16, 12, 3, 8};
    p.setPen(pen(Qt::white, 3));
    p.setBrush(QColor(70, 112, 180));
    p.drawPath(arch_outline(emblem));
    // The form shows the heading at 262 x 29: its title at 30 px shows at 13.
    p.setPen(Qt::white);
    p.setFont(font(30, true));
    kit::text(p, QRectF(72, 0, 500, 55), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("隧道开挖工法选择"));
    return img;
}

// The 20 x 20 buttons on the picture's top edge: 0 left arrow, 1 right
// arrow, 2 open-window icon; state 0 normal, 1 hover, 2 pressed.
QImage small_button(int kind, int state)
{
    QImage img = canvas({20, 20});
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face = state == 0 ? QColor(236, 240, 246) : state == 1 ? QColor(255, 236, 200) : QColor(210, 180, 140);
    p.setPen(pen(state == 2 ? QColor(120, 80, 40) : QColor(110, 130, 160), 1));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, 19, 19), 3, 3);
    const QPointF shift = state == 2 ? QPointF(0.7, 0.7) : QPointF(0, 0);
    p.translate(shift);
    p.setPen(Qt::NoPen);
    p.setBrush(state == 0 ? kTitle : kCurrentLine);
    if (kind == 0) p.drawPolygon(QPolygonF({QPointF(5, 10), QPointF(13, 4.5), QPointF(13, 15.5)}));
    if (kind == 1) p.drawPolygon(QPolygonF({QPointF(15, 10), QPointF(7, 4.5), QPointF(7, 15.5)}));
    if (kind == 2) {
        p.setPen(pen(state == 0 ? kTitle : kCurrentLine, 1.4));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 5.5, 11, 10));
        p.fillRect(QRectF(3.5, 5.5, 11, 2.5), state == 0 ? kTitle : kCurrentLine);
        p.drawLine(QPointF(11, 3), QPointF(17, 3));
        p.drawLine(QPointF(17, 3), QPointF(17, 9));
        p.drawLine(QPointF(17, 3), QPointF(12, 8));
    }
    return img;
}

// Pixel size of step `k` of `n`, spread evenly from `first` to `last`.
QSize step_size(QSize first, QSize last, int k, int n)
{
    if (n <= 1) return first;
    const double f = double(k - 1) / (n - 1);
    return {int(std::lround(first.width() + (last.width() - first.width()) * f)),
            int(std::lround(first.height() + (last.height() - first.height()) * f))};
}

std::vector<kit::Output> pictures(const QString&)
{

    // The catalogue in list order, each with its overview size.
    const std::vector<Method> catalogue = {
        full_face("全断面法", "full_face", {1208, 753}),
        bench("正台阶法", "bench", {1212, 753}, false),
        bench("正台阶法(上半断面临时封闭)", "bench_closed_top", {1211, 755}, true),
        ring_core("环形开挖法预留核心土法", "ring_core", {1210, 752}),
        single_side_drift("单侧壁导坑正台阶法", "single_side_drift", {1212, 755}),
        cd("中隔壁法(CD工法)", "cd", {1209, 752}),
        crd("交叉中隔壁法(CRD)", "crd", {1212, 755}),
        double_side_drift("双侧壁导坑(眼镜工法)", "double_side_drift", {1210, 755}),
        middle_drift_full_face("中洞法(中导洞+主洞全断面工法)", "middle_drift_full_face", {1079, 673}),
        middle_drift_bench("中洞法(中导洞+主洞正台阶法)", "middle_drift_bench", {1080, 674}),
        middle_drift_ring_core("中洞法(中导洞+主洞正台阶环形核心土工法)", "middle_drift_ring_core", {1079, 674}),
        middle_drift_side_drift("中洞法(中导洞+主洞单侧壁导坑正台阶工法)", "middle_drift_side_drift", {1077, 673}),
        middle_drift_cd("中洞法(中导洞+主洞中隔壁工法)", "middle_drift_cd", {1078, 672}),
        three_drifts_bench("中洞法(三导洞+主洞正台阶工法)", "three_drifts_bench", {1079, 674}),
        three_drifts_ring_core("中洞法(三导洞+主洞环形核心土工法)", "three_drifts_ring_core", {1078, 674}),
        large_middle_drift("中洞法(大断面隧道)", "large_middle_drift", {1220, 761}),
        large_side_drifts("侧洞法(大断面隧道)", "large_side_drifts", {1207, 757}),
        pba("洞桩法[PBA](大断面隧道)", "pba", {1260, 787}),
        single_arch_cover("盖挖法[单拱盖法](大断面隧道)", "single_arch_cover", {1228, 765}),
        double_arch_cover("盖挖法[双拱盖法](大断面隧道)", "double_arch_cover", {1256, 786}),
    };
    // Methods with construction-step pictures: the sizes of the first and
    // the last step picture.
    struct StepSizes {
        const char* file;
        QSize first, last;
    };
    const StepSizes stepped[] = {
        {"three_drifts_ring_core", {1078, 673}, {1078, 673}},
        {"large_middle_drift", {1224, 764}, {1248, 780}},
        {"large_side_drifts", {1077, 671}, {1287, 803}},
        {"pba", {1262, 788}, {1280, 798}},
        {"single_arch_cover", {1244, 775}, {1322, 823}},
        {"double_arch_cover", {1254, 781}, {1259, 786}},
    };

    // Eight-bit colour keeps the embedded bytes small; the drawings use few
    // colours. A picture that repeats an earlier one is not written.
    auto seen = std::make_shared<QSet<QByteArray>>();
    std::vector<kit::Output> out;
    auto add = [&](const QString& name, std::function<QImage()> draw) {
        kit::Output o = kit::picture("resources/pictures/methods/" + name, std::move(draw));
        o.encode = [seen, name](const QImage& img) -> std::optional<QByteArray> {
            const QImage palette = img.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
            const QByteArray hash = QCryptographicHash::hash(
                QByteArray::fromRawData(reinterpret_cast<const char*>(palette.constBits()), palette.sizeInBytes()),
                QCryptographicHash::Sha256);
            if (seen->contains(hash)) {
                std::fprintf(stderr, "%s repeats an earlier picture\n", qPrintable(name));
                return std::nullopt;
            }
            seen->insert(hash);
            return kit::png(palette, kit::Store::AsDrawn, 9);
        };
        out.push_back(std::move(o));
    };
    add("heading.png", heading);
    const char* const buttons[] = {"back", "forward", "viewer"};
    const char* const states[] = {"normal", "hover", "pressed"};
    for (int kind = 0; kind < 3; ++kind)
        for (int state = 0; state < 3; ++state)
            add(QStringLiteral("button_%1_%2.png").arg(buttons[kind], states[state]),
                [kind, state] { return small_button(kind, state); });
    add("start_sketch.png", [] {
        return method_picture(
            full_face("全断面法", "start_sketch", {1079, 672}), 0, {1079, 672},
            QStringLiteral("隧道开挖工法示意：在左侧“隧道开挖工法”列表中选择工法，查看其示意图及说明"));
    });
    // Every method picture is shown in the form's picture box.
    const QSize box = kBox.toSize();
    for (const Method& m : catalogue) {
        add(m.file + ".png", [m] { return method_picture(m, 0, m.size); });
        out.back().shown = {box};
        if (m.file == "double_side_drift")
        {
            add("double_side_drift_steps.png", [m] { return double_side_drift_steps(m); });
            out.back().shown = {box};
        }
        for (const StepSizes& s : stepped) {
            if (m.file != s.file) continue;
            for (int k = 1; k <= m.step_count(); ++k) {
                const QSize size = step_size(s.first, s.last, k, m.step_count());
                add(QStringLiteral("%1_step_%2.png").arg(m.file).arg(k),
                    [m, k, size] { return method_picture(m, k, size); });
                out.back().shown = {box};
            }
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) { return kit::run(argc, argv, pictures); }
