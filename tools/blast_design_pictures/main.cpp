// Draws the smooth-blasting module's pictures into
// <source-root>/resources/pictures/blast_design/:
//   layout_*.png              section layouts: the excavation outline with its
//                             perimeter, auxiliary, cut and bottom holes, one
//                             picture per section shape and bench split, at
//                             the size of the form's layout box (496 x 354)
//   layout_start.png          the picture the layout box shows at start
//   diagram_button_*.png      the button that opens the layout in the viewer
//   charge_structure_start.png, detonator_nonel.png, detonator_network.png
//                             the pictures the form definition starts with
//                             (the firing-order network at the 190 x 106 the
//                             layout editor shows it; no viewer shows it larger)
//   cut_*.png                 the cut forms: the holes on the face with their
//                             firing order, and a section through them
//   charge_structure_*.png    the three charge structures of the hole
//   detonator_electric.png    the electric delay detonator
// Pass file names after the source root to draw only those.
//
// Geometry is worked in metres with y pointing up and mapped onto the
// picture at the end, so every section keeps its proportions.
#include "drawkit.h"

#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QColor kCut(210, 40, 40);
const QColor kAux(30, 90, 200);
const QColor kPerimeter(20, 140, 60);
const QColor kBottom(220, 130, 0);
const QColor kRock(232, 228, 218);
const QColor kFace2(247, 249, 252);
const QColor kLine(50, 50, 50);

// The form's layout picture box: the layouts, the cut forms and the start
// picture are drawn at its size, so the form shows them as drawn.
const QSize kLayoutBox(496, 354);
// The layout editor's detonator box (雷管详图).
const QSize kDetonatorBox(160, 151);

using kit::canvas;
using kit::font;

// ---- sections in metres -----------------------------------------------------

struct Pt {
    double x, y;
};
using Poly = std::vector<Pt>; // closed outline, counter-clockwise

enum class Shape { StraightWall, CurvedWall, Horseshoe, Circle };

constexpr double kPi = 3.14159265358979323846;

// The outline of a section shrunk inward by d metres; k scales the section.
Poly outline(Shape s, double k, double d)
{
    Poly p;
    const int n = 90;
    switch (s) {
    case Shape::StraightWall: {
        double r = 5.0 * k - d, h = 2.6 * k;
        p.push_back({r, d});
        for (int i = 0; i <= n; ++i) {
            double t = kPi * i / n;
            p.push_back({r * std::cos(t), h + r * std::sin(t)});
        }
        p.push_back({-r, d});
        break;
    }
    case Shape::CurvedWall: {
        // A three-centre crown over walls that bow outward and draw in
        // toward the floor.
        double a = 6.2 * k - d, b = 4.4 * k - d, h = 3.0 * k, foot = 5.2 * k - d;
        for (int i = 0; i <= n / 3; ++i) {
            double t = double(i) / (n / 3);
            double y = d + (h - d) * t;
            double x = foot + (a - foot) * std::sin(t * kPi / 2);
            p.push_back({x, y});
        }
        for (int i = 1; i <= n; ++i) {
            double t = kPi * i / n;
            p.push_back({a * std::cos(t), h + b * std::sin(t)});
        }
        for (int i = n / 3 - 1; i >= 0; --i) {
            double t = double(i) / (n / 3);
            double y = d + (h - d) * t;
            double x = foot + (a - foot) * std::sin(t * kPi / 2);
            p.push_back({-x, y});
        }
        break;
    }
    case Shape::Horseshoe: {
        double r = 4.6 * k - d, c = 2.8 * k;
        double s0 = std::asin(std::clamp((d - c) / r, -1.0, 1.0));
        for (int i = 0; i <= n; ++i) {
            double t = s0 + (kPi - 2 * s0) * i / n;
            p.push_back({r * std::cos(t), c + r * std::sin(t)});
        }
        break;
    }
    case Shape::Circle: {
        double r = 3.0 * k - d;
        for (int i = 0; i < 2 * n; ++i) {
            double t = -kPi / 2 + kPi * i / n;
            p.push_back({r * std::cos(t), 3.0 * k + r * std::sin(t)});
        }
        break;
    }
    }
    return p;
}

bool inside(const Poly& p, Pt q)
{
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        const Pt &a = p[i], &b = p[j];
        if ((a.y > q.y) != (b.y > q.y) && q.x < (b.x - a.x) * (q.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

// Points every `spacing` metres along the closed outline.
std::vector<Pt> along(const Poly& p, double spacing)
{
    std::vector<Pt> out;
    double carry = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        Pt a = p[i], b = p[(i + 1) % p.size()];
        double len = std::hypot(b.x - a.x, b.y - a.y);
        double t = carry;
        while (t < len) {
            out.push_back({a.x + (b.x - a.x) * t / len, a.y + (b.y - a.y) * t / len});
            t += spacing;
        }
        carry = t - len;
    }
    return out;
}

// The outline's x extent at height y (its widest crossing).
bool span_at(const Poly& p, double y, double* left, double* right)
{
    double lo = 1e9, hi = -1e9;
    for (size_t i = 0; i < p.size(); ++i) {
        Pt a = p[i], b = p[(i + 1) % p.size()];
        if ((a.y - y) * (b.y - y) > 0 || a.y == b.y) continue;
        double x = a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y);
        lo = std::min(lo, x);
        hi = std::max(hi, x);
    }
    if (lo > hi) return false;
    *left = lo;
    *right = hi;
    return true;
}

struct Holes {
    std::vector<Pt> cut, aux, perimeter, bottom;
    std::vector<std::pair<Pt, Pt>> cut_lines; // drilled direction of the wedge holes
};

// A band of the face between two heights: the whole face, or one bench.
struct Band {
    double low, high;
    bool perimeter = true; // holes on the contour within the band
    bool cut = false;      // the cut lies in this band
    bool invert = false;   // the band's floor is the inverted arch
};

double invert_depth(double x, double half, double depth)
{
    double u = std::clamp(x / half, -1.0, 1.0);
    return -depth * (1 - u * u);
}

Holes holes_for(Shape s, double k, const std::vector<Band>& bands, double invert)
{
    Holes h;
    Poly contour = outline(s, k, 0.15);
    Poly inner = outline(s, k, 0.6);
    bool circle = s == Shape::Circle;
    for (const Band& b : bands) {
        const double floor = circle ? b.low : std::max(b.low, 0.0);
        auto in_band = [&](Pt q, double margin_low, double margin_high) {
            return q.y > floor + margin_low && q.y < b.high - margin_high;
        };
        // Holes closer than this to one already placed are left out.
        auto crowded = [&](Pt q) {
            for (const auto* set : {&h.aux, &h.perimeter, &h.cut})
                for (Pt o : *set)
                    if (std::hypot(o.x - q.x, o.y - q.y) < 0.55) return true;
            return false;
        };
        // The cut: two wedges of converging holes, or a ring in a circle.
        Pt centre{0, 0};
        bool has_cut = b.cut;
        if (has_cut) {
            double ymin = 1e9, ymax = -1e9;
            for (Pt q : contour) ymin = std::min(ymin, q.y), ymax = std::max(ymax, q.y);
            double low = std::max(b.low, ymin), top = std::min(b.high, ymax);
            centre = {0, low + (top - low) * (circle ? 0.5 : 0.4)};
            if (circle) {
                h.cut.push_back(centre);
                for (int i = 0; i < 6; ++i) {
                    double t = kPi / 3 * i;
                    h.cut.push_back({centre.x + 0.9 * k * std::cos(t), centre.y + 0.9 * k * std::sin(t)});
                }
            } else {
                for (int row = -1; row <= 1; ++row)
                    for (double x : {-0.9, -0.45, 0.45, 0.9}) {
                        Pt q{x * k, centre.y + row * 0.6 * k};
                        h.cut.push_back(q);
                        h.cut_lines.push_back({q, {x * k * 0.25, q.y}});
                    }
            }
        }
        auto near_cut = [&](Pt q) {
            if (!has_cut) return false;
            if (circle) return std::hypot(q.x - centre.x, q.y - centre.y) < 1.5 * k;
            return std::fabs(q.x) < 1.5 * k && std::fabs(q.y - centre.y) < 1.15 * k;
        };
        // Contour holes inside the band, above its floor row.
        if (b.perimeter)
            for (Pt q : along(contour, 0.55))
                if (in_band(q, circle ? -1 : 0.45, 0)) h.perimeter.push_back(q);
        // Auxiliary holes: rings parallel to the contour, then a grid inside.
        for (double d = 1.0; d < 6; d += 0.8) {
            Poly ring = outline(s, k, d);
            if (ring.empty()) break;
            bool any = false;
            for (Pt q : along(ring, 0.9)) {
                if (!in_band(q, circle ? -1 : 0.85, 0.35) || near_cut(q)) continue;
                if (!inside(inner, q) || crowded(q)) continue;
                h.aux.push_back(q);
                any = true;
            }
            if (!any || d > 1.9) break;
        }
        Poly core = outline(s, k, 2.6);
        int row = 0;
        for (double y = floor + 0.95; y < b.high - 0.4; y += 0.85, ++row)
            for (double x = -20; x <= 20; x += 0.95) {
                Pt q{x + (row % 2 ? 0.47 : 0), y};
                if (inside(core, q) && !near_cut(q) && !crowded(q)) h.aux.push_back(q);
            }
        // The floor row of the band.
        if (!circle) {
            double l, r;
            double y = floor + 0.3;
            if (span_at(contour, y, &l, &r))
                for (double x = l + 0.1; x <= r - 0.1 + 1e-9; x += 0.7) {
                    double yy = b.invert ? invert_depth(x, r, invert) + 0.3 : y;
                    h.bottom.push_back({x, yy});
                }
        }
    }
    return h;
}

// ---- drawing -----------------------------------------------------------------

struct Frame {
    double scale, ox, oy; // pixel = (ox + x * scale, oy - y * scale)
    QPointF at(Pt p) const { return {ox + p.x * scale, oy - p.y * scale}; }
};

Frame fit(const Poly& p, double extra_low, QRectF area)
{
    double x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (Pt q : p) {
        x0 = std::min(x0, q.x), x1 = std::max(x1, q.x);
        y0 = std::min(y0, q.y), y1 = std::max(y1, q.y);
    }
    y0 = std::min(y0, -extra_low);
    double s = std::min(area.width() / (x1 - x0), area.height() / (y1 - y0));
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    return {s, area.center().x() - cx * s, area.center().y() + cy * s};
}

QPolygonF to_pixels(const Frame& f, const Poly& p)
{
    QPolygonF q;
    for (Pt x : p) q << f.at(x);
    return q;
}

void dots(QPainter& g, const Frame& f, const std::vector<Pt>& pts, QColor c, double r)
{
    g.setPen(QPen(c.darker(140), r > 4 ? 1.2 : 0.8));
    g.setBrush(c);
    for (Pt p : pts) g.drawEllipse(f.at(p), r, r);
}

void legend(QPainter& g, QRectF area, bool with_bottom, bool with_perimeter = true)
{
    struct Item {
        QColor c;
        const char* text;
    };
    std::vector<Item> items{{kCut, "掏槽眼"}, {kAux, "辅助眼"}};
    if (with_perimeter) items.push_back({kPerimeter, "周边眼"});
    if (with_bottom) items.push_back({kBottom, "底板眼"});
    double w = area.width() / items.size();
    g.setFont(font(std::max(12, int(area.height() * 0.5))));
    for (size_t i = 0; i < items.size(); ++i) {
        QPointF c(area.left() + w * i + area.height() * 0.6, area.center().y());
        g.setPen(QPen(items[i].c.darker(140), 1.5));
        g.setBrush(items[i].c);
        g.drawEllipse(c, area.height() * 0.22, area.height() * 0.22);
        g.setPen(kLine);
        kit::text(g, QRectF(c.x() + area.height() * 0.45, area.top(), w, area.height()),
                  Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(items[i].text));
    }
}

struct LayoutPicture {
    const char* file;
    int width, height;
    const char* title;
    const char* subtitle;
    Shape shape;
    double k;
    std::vector<Band> bands;
    std::vector<const char*> band_names; // beside each band, top down
    double invert = 0;                   // depth of the inverted arch, 0: flat floor
};

QImage draw_layout(const LayoutPicture& s)
{
    QImage img = canvas(s.width, s.height, kRock);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    const double W = s.width, H = s.height;

    // Title strip and legend strip, their texts at the size the form shows.
    const double title_h = 44, legend_h = 30;
    g.fillRect(QRectF(0, 0, W, title_h), Qt::white);
    g.fillRect(QRectF(0, H - legend_h, W, legend_h), Qt::white);
    g.setPen(kLine);
    g.setFont(font(17, true));
    kit::text(g, QRectF(0, 2, W, 22), Qt::AlignCenter, QString::fromUtf8(s.title));
    g.setFont(font(12));
    kit::text(g, QRectF(0, 24, W, 18), Qt::AlignCenter, QString::fromUtf8(s.subtitle));

    Poly face = outline(s.shape, s.k, 0);
    Frame f = fit(face, s.invert, QRectF(W * 0.15, title_h + 10, W * 0.7, H - title_h - legend_h - 20));

    // The excavated face, the inverted arch below it, the contour line.
    QPolygonF px = to_pixels(f, face);
    g.setPen(Qt::NoPen);
    g.setBrush(kFace2);
    g.drawPolygon(px);
    if (s.invert > 0) {
        double l, r;
        span_at(face, 0.001, &l, &r);
        Poly inv;
        for (int i = 0; i <= 40; ++i) {
            double x = l + (r - l) * i / 40;
            inv.push_back({x, invert_depth(x, r, s.invert)});
        }
        QPolygonF ip = to_pixels(f, inv);
        g.setBrush(QColor(236, 240, 246));
        g.drawPolygon(ip);
        g.setPen(QPen(kLine, 2.5));
        g.setBrush(Qt::NoBrush);
        g.drawPolyline(ip);
        g.setFont(font(12));
        kit::text_at(g, f.at({0, -s.invert * 0.45}) + QPointF(10, 2), QString::fromUtf8("仰拱"));
    }
    g.setPen(QPen(kLine, 3));
    g.setBrush(Qt::NoBrush);
    if (s.invert > 0) {
        QPolygonF open = px;
        // The floor chord is not a boundary when the invert continues below.
        if (s.shape != Shape::Circle && open.size() > 2) open.append(open.first());
        g.drawPolyline(open.mid(0, open.size() - 1));
    } else {
        g.drawPolygon(px);
    }

    // Centre line.
    g.setPen(QPen(QColor(120, 120, 120), 1.2, Qt::DashDotLine));
    double top = 0;
    for (Pt q : face) top = std::max(top, q.y);
    g.drawLine(f.at({0, -s.invert - 0.3}), f.at({0, top + 0.4}));

    // Bench lines and names.
    g.setFont(font(12, true));
    for (size_t i = 0; i < s.bands.size(); ++i) {
        const Band& b = s.bands[i];
        if (i > 0) {
            double l, r;
            span_at(face, b.high, &l, &r);
            g.setPen(QPen(QColor(90, 90, 90), 2, Qt::DashLine));
            g.drawLine(f.at({l - 0.6, b.high}), f.at({r + 0.6, b.high}));
        }
        if (i < s.band_names.size()) {
            double mid = (std::max(b.low, 0.0) + std::min(b.high, top)) / 2;
            double l, r;
            span_at(face, mid, &l, &r);
            g.setPen(kLine);
            QPointF at = f.at({r, mid});
            kit::text(g, QRectF(at.x() + 8, at.y() - 12, W - at.x() - 10, 24), Qt::AlignVCenter | Qt::AlignLeft,
                      QString::fromUtf8(s.band_names[i]));
        }
    }

    // The holes.
    Holes h = holes_for(s.shape, s.k, s.bands, s.invert);
    double r = std::max(3.0, f.scale * 0.12);
    g.setPen(QPen(kCut, 1.2, Qt::DotLine));
    for (auto& [a, b] : h.cut_lines) g.drawLine(f.at(a), f.at(b));
    dots(g, f, h.aux, kAux, r);
    dots(g, f, h.perimeter, kPerimeter, r);
    dots(g, f, h.bottom, kBottom, r);
    dots(g, f, h.cut, kCut, r * 1.1);

    legend(g, QRectF(W * 0.1, H - legend_h + 3, W * 0.8, legend_h - 6), s.shape != Shape::Circle);
    return img;
}

QImage draw_start(int w, int h)
{
    QImage img = canvas(w, h, QColor(238, 242, 247));
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(kLine);
    g.setFont(font(20, true));
    kit::text(g, QRectF(0, 8, w, 28), Qt::AlignCenter, QString::fromUtf8("隧道光面爆破设计"));
    g.setFont(font(13));
    kit::text(g, QRectF(0, 38, w, 20), Qt::AlignCenter,
              QString::fromUtf8("选择隧道工法与断面形式后显示对应的炮眼布置图"));

    // A faint face with one hole of each row, and the rows named beside it.
    Poly face = outline(Shape::StraightWall, 1.0, 0);
    Frame f = fit(face, 0, QRectF(w * 0.2, 68, w * 0.6, h - 68 - 48));
    g.setPen(QPen(QColor(150, 160, 175), 3, Qt::DashLine));
    g.setBrush(Qt::white);
    g.drawPolygon(to_pixels(f, face));
    Holes holes = holes_for(Shape::StraightWall, 1.0, {{-1, 1000, true, true, false}}, 0);
    double r = std::max(3.0, f.scale * 0.11);
    auto faint = [](QColor c) { return QColor(c.red(), c.green(), c.blue(), 110); };
    dots(g, f, holes.aux, faint(kAux), r);
    dots(g, f, holes.perimeter, faint(kPerimeter), r);
    dots(g, f, holes.bottom, faint(kBottom), r);
    dots(g, f, holes.cut, faint(kCut), r);

    legend(g, QRectF(w * 0.1, h - 36, w * 0.8, 26), true);
    return img;
}

QImage draw_button(int size, QColor back, QColor ring)
{
    QImage img = canvas(size, size, back);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(120, 130, 140), 1));
    g.setBrush(Qt::NoBrush);
    g.drawRect(QRectF(0.5, 0.5, size - 1, size - 1));
    double c = size * 0.42, rr = size * 0.24;
    g.setPen(QPen(ring, size * 0.1));
    g.drawEllipse(QPointF(c, c), rr, rr);
    g.setPen(QPen(ring, size * 0.14, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(c + rr * 0.75, c + rr * 0.75), QPointF(size * 0.84, size * 0.84));
    g.setPen(QPen(ring, size * 0.06));
    g.drawLine(QPointF(c - rr * 0.5, c), QPointF(c + rr * 0.5, c));
    g.drawLine(QPointF(c, c - rr * 0.5), QPointF(c, c + rr * 0.5));
    return img;
}

// A hole in section with cartridges, air gaps and stemming.
QImage draw_charge_structure(int w, int h)
{
    QImage img = canvas(w, h);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(kLine);
    g.setFont(font(13, true));
    kit::text(g, QRectF(0, 2, w, 18), Qt::AlignCenter, QString::fromUtf8("装药结构示意图"));
    QRectF hole(20, 34, w - 40, 34);
    g.setBrush(kRock);
    g.setPen(QPen(kLine, 1.5));
    g.drawRect(hole.adjusted(-8, -8, 8, 8));
    g.setBrush(Qt::white);
    g.drawRect(hole);
    // Stemming at the collar (right), cartridges with gaps toward the toe.
    g.setBrush(QColor(160, 120, 80));
    g.drawRect(QRectF(hole.right() - 70, hole.top(), 70, hole.height()));
    double x = hole.left() + 4, cw = 46;
    for (int i = 0; i < 5; ++i, x += cw + 16) {
        g.setBrush(QColor(230, 80, 60));
        g.drawRect(QRectF(x, hole.top() + 7, cw, hole.height() - 14));
    }
    g.setPen(QPen(QColor(40, 90, 200), 1.5));
    g.drawLine(QPointF(hole.left() + 10, hole.center().y()), QPointF(hole.right(), hole.center().y()));
    g.setPen(kLine);
    g.setFont(font(12));
    kit::text(g, QRectF(20, h - 22, 120, 18), Qt::AlignLeft, QString::fromUtf8("药卷"));
    kit::text(g, QRectF(w / 2 - 60, h - 22, 120, 18), Qt::AlignCenter, QString::fromUtf8("导爆索/导爆管"));
    kit::text(g, QRectF(w - 140, h - 22, 120, 18), Qt::AlignRight, QString::fromUtf8("堵塞"));
    return img;
}

// The detonator pictures are laid out on 303 x 286 and drawn at the size of
// the form's detonator box; their texts are sized for that box.
const QSizeF kDetonatorLayout(303, 286);

QImage draw_nonel_detonator(int w, int h)
{
    QImage img = canvas(w, h);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.scale(w / kDetonatorLayout.width(), h / kDetonatorLayout.height());
    w = int(kDetonatorLayout.width());
    g.setPen(kLine);
    g.setFont(font(28, true));
    kit::text(g, QRectF(0, 4, w, 36), Qt::AlignCenter, QString::fromUtf8("导爆管雷管"));
    // Shell, delay element, base charge; tube leaving to the right and coiled.
    QRectF shell(30, 110, 150, 40);
    g.setPen(QPen(kLine, 1.5));
    g.setBrush(QColor(200, 170, 90));
    g.drawRoundedRect(shell, 8, 8);
    g.setBrush(QColor(120, 120, 120));
    g.drawRect(QRectF(shell.left() + 40, shell.top() + 8, 36, shell.height() - 16));
    g.setBrush(QColor(220, 60, 50));
    g.drawRect(QRectF(shell.left() + 6, shell.top() + 8, 30, shell.height() - 16));
    g.setPen(QPen(QColor(230, 200, 30), 4));
    QPainterPath tube(QPointF(shell.right(), shell.center().y()));
    tube.cubicTo(QPointF(240, 130), QPointF(280, 180), QPointF(240, 220));
    tube.cubicTo(QPointF(200, 260), QPointF(120, 250), QPointF(110, 215));
    g.setBrush(Qt::NoBrush);
    g.drawPath(tube);
    g.setPen(kLine);
    g.setFont(font(24));
    kit::text(g, QRectF(8, 156, 100, 32), Qt::AlignLeft, QString::fromUtf8("起爆药"));
    kit::text(g, QRectF(62, 70, 100, 32), Qt::AlignLeft, QString::fromUtf8("延期体"));
    kit::text(g, QRectF(118, 254, 180, 32), Qt::AlignLeft, QString::fromUtf8("塑料导爆管"));
    return img;
}

// Delay segments fired from the cut outward, ring by ring: the rows named
// with their firing order and segments on the left, their rings on the right.
// Drawn at the size the layout editor shows it, so its small text stays sharp.
QImage draw_network(int w, int h)
{
    QImage img = canvas(w, h);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    kit::text(g, QRectF(0, 1, w, 18), Qt::AlignCenter, QString::fromUtf8("起爆顺序与雷管段位示意"), font(12, true),
              kLine);
    const QColor rings[] = {kCut, kAux, kPerimeter, kBottom};
    const char* names[] = {"01 掏槽眼 1;3", "02 辅助眼 5;7;9", "03 周边眼 9;11", "04 底板眼 11;13"};
    const double top = 20, row = (h - top - 2) / 4.0;
    // Ring i reaches 8 (i + 1) pixels across and 9 i + 7 up and down.
    const QPointF c(w - 36, top + (h - top) / 2.0);
    for (int i = 3; i >= 0; --i) {
        g.setPen(QPen(rings[i], 2));
        g.setBrush(Qt::NoBrush);
        g.drawEllipse(c, 8.0 * (i + 1), 9.0 * i + 7);
    }
    for (int i = 0; i < 4; ++i) {
        const QRectF line(2, top + row * i, c.x() - 32 - 2 - 3, row);
        g.setPen(QPen(rings[i], 2));
        g.drawLine(QPointF(line.left(), line.center().y()), QPointF(line.left() + 8, line.center().y()));
        kit::text(g, line.adjusted(11, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(names[i]),
                  font(12), rings[i].darker(130));
    }
    return img;
}

// ---- cut pictures -------------------------------------------------------------

enum class CutKind { Wedge, Straight };

struct CutHole {
    double x, y;   // in spacings from the cut's centre, y up
    bool empty;    // an uncharged relief hole
    int order;     // firing order, 0 for an empty hole
    double size;   // radius factor: 1 for a drilled hole, more for a reamed one
};

struct CutPicture {
    const char* file;
    const char* title;
    const char* subtitle;
    CutKind kind;
    int stages;                 // wedge: pairs of columns converging in depth
    std::vector<CutHole> holes; // straight cut: the face pattern
    bool spiral = false;        // draw the spiral the holes follow
};

const QColor kEmpty(90, 90, 90);
const QColor kCharge(220, 60, 50);
const QColor kStem(160, 120, 80);

void hole_mark(QPainter& g, QPointF c, double r, bool empty, QColor fill)
{
    if (empty) {
        g.setPen(QPen(kEmpty, 2));
        g.setBrush(Qt::white);
    } else {
        g.setPen(QPen(fill.darker(150), 1.2));
        g.setBrush(fill);
    }
    g.drawEllipse(c, r, r);
}

QColor stage_colour(int order)
{
    static const QColor c[] = {kCut, QColor(230, 120, 30), QColor(170, 60, 170), kAux, kPerimeter};
    return c[(std::max(order, 1) - 1) % 5];
}

void panel_frame(QPainter& g, QRectF r, const char* caption)
{
    g.setPen(QPen(QColor(170, 170, 170), 1));
    g.setBrush(kFace2);
    g.drawRect(r);
    g.setPen(kLine);
    g.setFont(font(12, true));
    kit::text(g, QRectF(r.left(), r.top() + 2, r.width(), 16), Qt::AlignCenter, QString::fromUtf8(caption));
}

// One hole in section: drilled from the face at `collar` to `toe`, charged
// over its toe part and stemmed at the collar.
void hole_in_section(QPainter& g, QPointF collar, QPointF toe, QColor charge, double width, bool empty)
{
    QLineF hole(collar, toe);
    if (empty) {
        g.setPen(QPen(kEmpty, width + 3, Qt::SolidLine, Qt::FlatCap));
        g.drawLine(hole);
        g.setPen(QPen(Qt::white, width + 0.5, Qt::SolidLine, Qt::FlatCap));
        g.drawLine(hole);
        return;
    }
    g.setPen(QPen(QColor(200, 200, 200), width + 2, Qt::SolidLine, Qt::FlatCap));
    g.drawLine(hole);
    g.setPen(QPen(kStem, width, Qt::SolidLine, Qt::FlatCap));
    g.drawLine(QLineF(collar, hole.pointAt(0.25)));
    g.setPen(QPen(charge, width, Qt::SolidLine, Qt::FlatCap));
    g.drawLine(QLineF(hole.pointAt(0.32), toe));
}

QImage draw_cut(const CutPicture& c)
{
    const int W = kLayoutBox.width(), H = kLayoutBox.height();
    QImage img = canvas(W, H);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(kLine);
    g.setFont(font(18, true));
    kit::text(g, QRectF(0, 4, W, 24), Qt::AlignCenter, QString::fromUtf8(c.title));
    g.setFont(font(12));
    kit::text(g, QRectF(0, 27, W, 18), Qt::AlignCenter, QString::fromUtf8(c.subtitle));

    const QRectF front(10, 50, 232, 262), section(254, 50, 232, 262);
    panel_frame(g, front, "正面布置");
    panel_frame(g, section, c.kind == CutKind::Wedge ? "A-A 剖面（俯视）" : "A-A 剖面");
    const QPointF fc = front.center() + QPointF(0, 8);

    // Section: the face along the top of the panel, the rock below it.
    const double face_y = section.top() + 40, depth = 190;
    g.setPen(Qt::NoPen);
    g.setBrush(kRock);
    g.drawRect(QRectF(section.left() + 1, face_y, section.width() - 2, section.bottom() - face_y - 1));
    g.setPen(QPen(kLine, 2));
    g.drawLine(QPointF(section.left() + 6, face_y), QPointF(section.right() - 6, face_y));
    g.setFont(font(12));
    kit::text(g, QRectF(section.left() + 6, face_y - 18, 60, 17), Qt::AlignLeft, QString::fromUtf8("工作面"));
    const double sx = section.center().x();

    g.setFont(font(12, true));
    if (c.kind == CutKind::Wedge) {
        // Front: one pair of columns per stage, three rows each.
        const double step = 88.0 / c.stages;
        for (int s = 1; s <= c.stages; ++s) {
            double x = 14 + step * s;
            for (int row = -1; row <= 1; ++row)
                for (int side : {-1, 1}) {
                    QPointF p = fc + QPointF(side * x, row * 58);
                    hole_mark(g, p, 6, false, stage_colour(s));
                    if (row == -1) {
                        g.setPen(kLine);
                        kit::text(g, QRectF(p.x() - 9, p.y() - 25, 18, 17), Qt::AlignCenter, QString::number(s));
                    }
                }
        }
        g.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashDotLine));
        g.drawLine(QPointF(front.left() + 8, fc.y()), QPointF(front.right() - 8, fc.y()));
        // Section: the pairs converge, the later stages wider and deeper.
        for (int s = 1; s <= c.stages; ++s) {
            double half = 10 + (100.0 / c.stages) * s;
            double d = depth * (0.45 + 0.55 * s / c.stages);
            double tip = 4 + 3 * s;
            for (int side : {-1, 1})
                hole_in_section(g, QPointF(sx + side * half, face_y), QPointF(sx + side * tip, face_y + d),
                                stage_colour(s), 5, false);
            // The stages named in a key at the panel's foot.
            QPointF key(section.left() + 6 + (s - 1) * 56, section.bottom() - 14);
            g.setPen(QPen(stage_colour(s), 5, Qt::SolidLine, Qt::FlatCap));
            g.drawLine(key, key + QPointF(12, 0));
            g.setPen(kLine);
            g.setFont(font(12));
            kit::text(g, QRectF(key.x() + 15, key.y() - 9, 40, 18), Qt::AlignVCenter | Qt::AlignLeft,
                      QString::fromUtf8("第") + QString::number(s) + QString::fromUtf8("级"));
        }
    } else {
        // Front: the pattern, scaled to the panel.
        double reach = 1;
        for (const CutHole& h : c.holes) reach = std::max({reach, std::fabs(h.x), std::fabs(h.y)});
        const double unit = 92 / reach;
        if (c.spiral) {
            // r = 0.55 + 0.42 t / (pi / 2): the radius the charged holes sit at.
            QPainterPath path;
            for (int i = 0; i <= 240; ++i) {
                double t = -1.3 + i * (2 * kPi + 1.3) / 240;
                double r = unit * (0.55 + 0.42 * t / (kPi / 2));
                QPointF p = fc + QPointF(r * std::cos(t), -r * std::sin(t));
                if (i == 0) path.moveTo(p);
                else path.lineTo(p);
            }
            g.setPen(QPen(QColor(150, 150, 150), 1.2, Qt::DashLine));
            g.setBrush(Qt::NoBrush);
            g.drawPath(path);
        }
        for (const CutHole& h : c.holes) {
            QPointF p = fc + QPointF(h.x * unit, -h.y * unit);
            hole_mark(g, p, 6 * h.size, h.empty, stage_colour(h.order));
            if (!h.empty) {
                g.setPen(kLine);
                kit::text(g, QRectF(p.x() + 5, p.y() - 21, 18, 17), Qt::AlignCenter, QString::number(h.order));
            }
        }
        // Section through the centre: holes drilled square to the face.
        const double sunit = 92 / reach;
        for (const CutHole& h : c.holes) {
            if (std::fabs(h.y) > 0.3) continue;
            double x = sx + h.x * sunit;
            hole_in_section(g, QPointF(x, face_y), QPointF(x, face_y + depth * (h.empty ? 1.06 : 1.0)),
                            stage_colour(h.order), h.empty ? 4 * h.size : 5, h.empty);
        }
    }

    // Legend.
    g.setFont(font(12));
    double y = H - 22;
    hole_mark(g, QPointF(24, y), 6, false, kCut);
    g.setPen(kLine);
    kit::text(g, QRectF(34, y - 9, 80, 18), Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8("装药眼"));
    hole_mark(g, QPointF(112, y), 6, true, kCut);
    g.setPen(kLine);
    kit::text(g, QRectF(122, y - 9, 80, 18), Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8("空眼"));
    kit::text(g, QRectF(176, y - 9, 310, 18), Qt::AlignVCenter | Qt::AlignLeft,
              QString::fromUtf8("数字为起爆顺序（雷管段别由低到高）"));
    return img;
}

std::vector<CutPicture> cut_pictures()
{
    auto ring = [](std::vector<CutHole>& v, double r, int n, double phase, int order) {
        for (int i = 0; i < n; ++i) {
            double t = phase + 2 * kPi * i / n;
            double x = r * std::cos(t), y = r * std::sin(t);
            if (std::fabs(x) < 1e-9) x = 0;
            if (std::fabs(y) < 1e-9) y = 0;
            v.push_back({x, y, false, order, 1});
        }
    };
    std::vector<CutHole> burn;
    for (int i = -3; i <= 3; ++i) burn.push_back({i * 0.5, 0, i % 2 != 0 ? false : true, i % 2 != 0 ? (i < 0 ? 1 : 2) : 0, 1});
    std::vector<CutHole> hollow{{0, 0, true, 0, 1}};
    ring(hollow, 0.8, 4, 0, 1);
    ring(hollow, 1.5, 4, kPi / 4, 2);
    std::vector<CutHole> quincunx{{0, 0, true, 0, 1}};
    for (double x : {-0.7, 0.7})
        for (double y : {-0.7, 0.7}) quincunx.push_back({x, y, true, 0, 1});
    ring(quincunx, 0.7, 4, 0, 1);
    ring(quincunx, 1.8, 4, kPi / 4, 2);
    std::vector<CutHole> diamond{{0, 0.25, true, 0, 1}, {0, -0.25, true, 0, 1}};
    diamond.push_back({-0.9, 0, false, 1, 1});
    diamond.push_back({0.9, 0, false, 1, 1});
    diamond.push_back({0, 1.2, false, 2, 1});
    diamond.push_back({0, -1.2, false, 2, 1});
    diamond.push_back({-1.9, 0, false, 3, 1});
    diamond.push_back({1.9, 0, false, 3, 1});
    diamond.push_back({0, 2.2, false, 4, 1});
    diamond.push_back({0, -2.2, false, 4, 1});
    std::vector<CutHole> spiral{{0, 0, true, 0, 1.3}};
    for (int i = 0; i < 4; ++i) {
        double t = i * kPi / 2, r = 0.55 + 0.42 * i;
        double x = r * std::cos(t), y = r * std::sin(t);
        spiral.push_back({std::fabs(x) < 1e-9 ? 0 : x, std::fabs(y) < 1e-9 ? 0 : y, false, i + 1, 1});
    }
    std::vector<CutHole> large_diamond{{0, 0, true, 0, 3}};
    large_diamond.push_back({-1, 0, false, 1, 1});
    large_diamond.push_back({1, 0, false, 2, 1});
    large_diamond.push_back({0, 1, false, 1, 1});
    large_diamond.push_back({0, -1, false, 2, 1});
    ring(large_diamond, 2.0, 4, kPi / 4, 3);
    ring(large_diamond, 2.4, 4, 0, 4);
    std::vector<CutHole> symmetric{{0, 0, true, 0, 3}};
    ring(symmetric, 0.9, 4, 0, 1);
    ring(symmetric, 1.6, 4, kPi / 4, 2);
    ring(symmetric, 2.3, 4, 0, 3);
    return {
        {"cut_wedge_two_stage.png", "二级复式楔形掏槽", "两对斜眼由浅入深成楔形，先爆内侧一级", CutKind::Wedge, 2, {}},
        {"cut_wedge_three_stage.png", "三级复式楔形掏槽", "三对斜眼逐级加深加宽，适用于较大断面", CutKind::Wedge, 3, {}},
        {"cut_wedge_multi_stage.png", "多级复式楔形掏槽", "四级及以上斜眼楔形掏槽，适用于坚硬岩石及大断面", CutKind::Wedge, 4, {}},
        {"cut_burn.png", "龟裂直孔掏槽", "装药眼与空眼间隔布置于一条直线，平行于隧道轴线钻孔", CutKind::Straight, 0, burn},
        {"cut_small_hollow.png", "小直径中空直孔掏槽", "中心小直径空眼为装药眼提供自由面和补偿空间", CutKind::Straight, 0, hollow},
        {"cut_small_quincunx.png", "五梅花小直径中空直孔掏槽", "五个空眼呈梅花形布置，装药眼插于其间", CutKind::Straight, 0, quincunx},
        {"cut_small_diamond.png", "菱形掏槽", "中心两个小直径空眼，装药眼呈菱形逐圈布置", CutKind::Straight, 0, diamond},
        {"cut_spiral.png", "螺旋掏槽", "装药眼至中心空眼的距离依起爆顺序逐个增大，呈螺旋线", CutKind::Straight, 0, spiral, true},
        {"cut_large_diamond.png", "菱形掏槽", "中心大直径空眼，装药眼呈菱形成对起爆", CutKind::Straight, 0, large_diamond},
        {"cut_large_symmetric.png", "对称掏槽", "中心大直径空眼，装药眼对称布置、逐圈起爆", CutKind::Straight, 0, symmetric},
    };
}

// ---- charge structures --------------------------------------------------------

enum class Charge { AirDeck, AirDeckDecoupled, Decoupled };

QImage draw_charge(Charge kind, const char* title)
{
    const int w = 424, h = 106;
    QImage img = canvas(w, h);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(kLine);
    g.setFont(font(13, true));
    kit::text(g, QRectF(0, 2, w, 18), Qt::AlignCenter, QString::fromUtf8(title));
    // The hole lies along the picture, toe on the left, collar (face) on the right.
    const QRectF hole(24, 32, w - 48, 34);
    g.setPen(Qt::NoPen);
    g.setBrush(kRock);
    g.drawRect(hole.adjusted(-14, -8, 0, 8));
    g.setBrush(Qt::white);
    g.drawRect(hole);
    g.setPen(QPen(kLine, 1.5));
    g.drawLine(hole.topLeft(), hole.topRight());
    g.drawLine(hole.bottomLeft(), hole.bottomRight());
    g.drawLine(hole.topLeft(), hole.bottomLeft());
    g.setPen(QPen(kLine, 2.5));
    g.drawLine(QPointF(hole.right(), hole.top() - 10), QPointF(hole.right(), hole.bottom() + 10));

    const double stem = 74;
    g.setPen(QPen(kLine, 1));
    g.setBrush(kStem);
    g.drawRect(QRectF(hole.right() - stem, hole.top(), stem, hole.height()));
    const bool decoupled = kind != Charge::AirDeck;
    const double inset = decoupled ? 9 : 1;
    const double cw = 40, gap = kind == Charge::Decoupled ? 2 : 20;
    g.setBrush(kCharge);
    double x = hole.left() + 3;
    int n = 0;
    while (x + cw < hole.right() - stem - 4 && n < 8) {
        g.drawRect(QRectF(x, hole.top() + inset, cw, hole.height() - 2 * inset));
        x += cw + gap;
        ++n;
    }
    // The detonating cord or tube along the hole to the face.
    g.setPen(QPen(QColor(230, 190, 30), 2));
    g.drawLine(QPointF(hole.left() + 6, hole.center().y()), QPointF(w - 6, hole.center().y()));

    g.setPen(kLine);
    g.setFont(font(12));
    kit::text(g, QRectF(hole.left(), h - 22, 80, 18), Qt::AlignLeft, QString::fromUtf8("药卷"));
    const char* middle = kind == Charge::AirDeck ? "空气间隔" : kind == Charge::Decoupled ? "不耦合间隙" : "空气间隔+不耦合间隙";
    kit::text(g, QRectF(w / 2.0 - 90, h - 22, 180, 18), Qt::AlignCenter, QString::fromUtf8(middle));
    kit::text(g, QRectF(w - 124, h - 22, 100, 18), Qt::AlignRight, QString::fromUtf8("炮泥堵塞"));
    return img;
}

QImage draw_electric_detonator(int w, int h)
{
    QImage img = canvas(w, h);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.scale(w / kDetonatorLayout.width(), h / kDetonatorLayout.height());
    w = int(kDetonatorLayout.width());
    g.setPen(kLine);
    g.setFont(font(28, true));
    kit::text(g, QRectF(0, 4, w, 36), Qt::AlignCenter, QString::fromUtf8("延期电雷管"));
    // Shell with base charge, primer, delay element, fusehead and plug;
    // two leg wires leave the plug and coil away.
    QRectF shell(26, 110, 170, 40);
    g.setPen(QPen(kLine, 1.5));
    g.setBrush(QColor(200, 170, 90));
    g.drawRoundedRect(shell, 8, 8);
    g.setBrush(kCharge);
    g.drawRect(QRectF(shell.left() + 6, shell.top() + 8, 30, shell.height() - 16));
    g.setBrush(QColor(250, 150, 60));
    g.drawRect(QRectF(shell.left() + 36, shell.top() + 8, 18, shell.height() - 16));
    g.setBrush(QColor(120, 120, 120));
    g.drawRect(QRectF(shell.left() + 56, shell.top() + 8, 40, shell.height() - 16));
    g.setBrush(QColor(60, 60, 60));
    g.drawEllipse(QPointF(shell.left() + 110, shell.center().y()), 6, 6);
    g.setBrush(QColor(240, 240, 240));
    g.drawRect(QRectF(shell.right() - 44, shell.top() + 4, 40, shell.height() - 8));
    for (int i = 0; i < 2; ++i) {
        QColor c = i == 0 ? QColor(210, 40, 40) : QColor(40, 90, 200);
        double dy = i == 0 ? -6 : 6;
        g.setPen(QPen(c, 3));
        g.setBrush(Qt::NoBrush);
        QPainterPath wire(QPointF(shell.left() + 116, shell.center().y() + dy / 3));
        wire.lineTo(QPointF(shell.right(), shell.center().y() + dy));
        wire.cubicTo(QPointF(250, 125 + dy), QPointF(290, 180 + dy), QPointF(250, 222 + dy));
        wire.cubicTo(QPointF(210, 262 + dy), QPointF(130, 250 + dy), QPointF(118, 214 + dy));
        g.drawPath(wire);
    }
    g.setPen(kLine);
    g.setFont(font(24));
    kit::text(g, QRectF(4, 156, 100, 32), Qt::AlignLeft, QString::fromUtf8("起爆药"));
    kit::text(g, QRectF(60, 70, 90, 32), Qt::AlignLeft, QString::fromUtf8("延期体"));
    kit::text(g, QRectF(126, 156, 80, 32), Qt::AlignLeft, QString::fromUtf8("桥丝"));
    kit::text(g, QRectF(160, 70, 80, 32), Qt::AlignLeft, QString::fromUtf8("塞子"));
    kit::text(g, QRectF(150, 254, 120, 32), Qt::AlignLeft, QString::fromUtf8("脚线"));
    return img;
}

std::vector<kit::Output> pictures(const QString&)
{
    std::vector<kit::Output> all;
    // `shown`: the boxes the form puts the picture in when a choice asks for it.
    auto out = [&](const char* name, std::function<QImage()> draw, std::vector<QSize> shown = {}) {
        all.push_back(kit::picture(QStringLiteral("resources/pictures/blast_design/") + name, std::move(draw)));
        all.back().shown = std::move(shown);
    };
    const QSize charge_box(424, 106);

    const Band whole{-1, 1000, true, true, false};
    const std::vector<LayoutPicture> layouts = {
        {"layout_straight_wall.png", kLayoutBox.width(), kLayoutBox.height(), "直墙拱形隧道  全断面法炮眼布置图", "全断面一次开挖：掏槽眼、辅助眼、周边眼、底板眼",
         Shape::StraightWall, 1.0, {whole}, {}},
        {"layout_curved_wall.png", kLayoutBox.width(), kLayoutBox.height(), "曲墙三心圆隧道  全断面法炮眼布置图", "三心圆拱顶，曲边墙",
         Shape::CurvedWall, 1.0, {whole}, {}},
        {"layout_horseshoe.png", kLayoutBox.width(), kLayoutBox.height(), "马蹄形隧道  全断面法炮眼布置图", "马蹄形断面全断面开挖",
         Shape::Horseshoe, 1.0, {whole}, {}},
        {"layout_circular.png", kLayoutBox.width(), kLayoutBox.height(), "圆形隧道立（竖）井  全断面炮眼布置图", "圆形掏槽圈居中，周边眼沿开挖轮廓布置",
         Shape::Circle, 1.0, {{-10, 1000, true, true, false}}, {}},
        {"layout_three_benches.png", kLayoutBox.width(), kLayoutBox.height(), "台阶法  上中下3台阶炮眼布置图", "上台阶设掏槽，中、下台阶以上台阶为临空面",
         Shape::CurvedWall, 1.0,
         {{4.2, 1000, true, true, false}, {1.9, 4.2, true, false, false}, {0, 1.9, false, false, false}},
         {"上台阶", "中台阶", "下台阶"}},
        {"layout_two_benches_invert_large.png", kLayoutBox.width(), kLayoutBox.height(), "台阶法  上下2台阶（有仰拱）炮眼布置图", "开挖面积 S≥75m²",
         Shape::CurvedWall, 1.15, {{3.4, 1000, true, true, false}, {0, 3.4, true, false, true}}, {"上台阶", "下台阶"}, 1.3},
        {"layout_two_benches_invert_small.png", kLayoutBox.width(), kLayoutBox.height(), "台阶法  上下2台阶（有仰拱）炮眼布置图", "开挖面积 S<75m²",
         Shape::CurvedWall, 0.85, {{2.6, 1000, true, true, false}, {0, 2.6, true, false, true}}, {"上台阶", "下台阶"}, 1.0},
        {"layout_two_benches_flat_large.png", kLayoutBox.width(), kLayoutBox.height(), "台阶法  上下2台阶（无仰拱）炮眼布置图", "开挖面积 S≥75m²",
         Shape::CurvedWall, 1.15, {{3.4, 1000, true, true, false}, {0, 3.4, true, false, false}}, {"上台阶", "下台阶"}},
        {"layout_two_benches_flat_small.png", kLayoutBox.width(), kLayoutBox.height(), "台阶法  上下2台阶（无仰拱）炮眼布置图", "开挖面积 S<75m²",
         Shape::CurvedWall, 0.85, {{2.6, 1000, true, true, false}, {0, 2.6, true, false, false}}, {"上台阶", "下台阶"}},
    };
    for (const LayoutPicture& s : layouts) out(s.file, [s] { return draw_layout(s); }, {kLayoutBox});
    out("layout_start.png", [] { return draw_start(kLayoutBox.width(), kLayoutBox.height()); });

    out("diagram_button_normal.png", [] { return draw_button(28, QColor(245, 247, 250), QColor(40, 80, 150)); });
    out("diagram_button_hover.png", [] { return draw_button(28, QColor(220, 235, 252), QColor(20, 100, 200)); });
    out("diagram_button_pressed.png", [] { return draw_button(28, QColor(190, 205, 225), QColor(10, 50, 110)); });

    out("charge_structure_start.png", [] { return draw_charge_structure(424, 106); });
    out("detonator_nonel.png", [] { return draw_nonel_detonator(kDetonatorBox.width(), kDetonatorBox.height()); });
    out("detonator_network.png", [] { return draw_network(190, 106); });

    for (const CutPicture& c : cut_pictures()) out(c.file, [c] { return draw_cut(c); }, {kLayoutBox});
    out("charge_structure_air_deck.png", [] { return draw_charge(Charge::AirDeck, "空气间隔装药"); }, {charge_box});
    out("charge_structure_air_deck_decoupled.png",
        [] { return draw_charge(Charge::AirDeckDecoupled, "空气间隔不耦合装药"); }, {charge_box});
    out("charge_structure_decoupled.png", [] { return draw_charge(Charge::Decoupled, "不耦合装药"); }, {charge_box});
    out("detonator_electric.png", [] { return draw_electric_detonator(kDetonatorBox.width(), kDetonatorBox.height()); },
        {kDetonatorBox});
    return all;
}

} // namespace

int main(int argc, char** argv) { return kit::run(argc, argv, pictures); }
