// Draws the smooth-blasting module's pictures into
// <source-root>/resources/pictures/blast_design/:
//   layout_*.png              section layouts: the excavation outline with its
//                             perimeter, auxiliary, cut and bottom holes, one
//                             picture per section shape and bench split, at
//                             the sizes the layout picture box is given
//   layout_start.png          the picture the layout box shows at start
//   diagram_button_*.png      the button that opens the layout in the viewer
//   charge_structure_start.png, detonator_nonel.png, detonator_network.png
//                             the pictures the form definition starts with
//
// Geometry is worked in metres with y pointing up and mapped onto the
// picture at the end, so every section keeps its proportions.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char* kFace = "WenQuanYi Micro Hei";
const QColor kCut(210, 40, 40);
const QColor kAux(30, 90, 200);
const QColor kPerimeter(20, 140, 60);
const QColor kBottom(220, 130, 0);
const QColor kRock(232, 228, 218);
const QColor kFace2(247, 249, 252);
const QColor kLine(50, 50, 50);

QFont font(int px, bool bold = false)
{
    QFont f(kFace);
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

QImage canvas(int w, int h, QColor fill = Qt::white)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

bool save(const QImage& img, const QString& dir, const char* name)
{
    QString path = dir + "/" + name;
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), img.width(), img.height());
    return true;
}

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
    g.setPen(QPen(c.darker(140), 1.2));
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
    g.setFont(font(int(area.height() * 0.5)));
    for (size_t i = 0; i < items.size(); ++i) {
        QPointF c(area.left() + w * i + area.height() * 0.6, area.center().y());
        g.setPen(QPen(items[i].c.darker(140), 1.5));
        g.setBrush(items[i].c);
        g.drawEllipse(c, area.height() * 0.22, area.height() * 0.22);
        g.setPen(kLine);
        g.drawText(QRectF(c.x() + area.height() * 0.45, area.top(), w, area.height()), Qt::AlignVCenter | Qt::AlignLeft,
                   QString::fromUtf8(items[i].text));
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

    // Title strip and legend strip.
    g.fillRect(QRectF(0, 0, W, H * 0.11), Qt::white);
    g.fillRect(QRectF(0, H * 0.9, W, H * 0.1), Qt::white);
    g.setPen(kLine);
    g.setFont(font(int(H * 0.045), true));
    g.drawText(QRectF(0, 0, W, H * 0.075), Qt::AlignCenter, QString::fromUtf8(s.title));
    g.setFont(font(int(H * 0.024)));
    g.drawText(QRectF(0, H * 0.068, W, H * 0.04), Qt::AlignCenter, QString::fromUtf8(s.subtitle));

    Poly face = outline(s.shape, s.k, 0);
    Frame f = fit(face, s.invert, QRectF(W * 0.12, H * 0.14, W * 0.76, H * 0.72));

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
        g.setFont(font(int(H * 0.026)));
        g.drawText(f.at({0, -s.invert * 0.45}) + QPointF(14, -4), QString::fromUtf8("仰拱"));
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
    g.setFont(font(int(H * 0.028), true));
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
            g.drawText(QRectF(at.x() + 14, at.y() - 20, W * 0.12, 40), Qt::AlignVCenter | Qt::AlignLeft,
                       QString::fromUtf8(s.band_names[i]));
        }
    }

    // The holes.
    Holes h = holes_for(s.shape, s.k, s.bands, s.invert);
    double r = std::max(4.0, f.scale * 0.11);
    g.setPen(QPen(kCut, 1.5, Qt::DotLine));
    for (auto& [a, b] : h.cut_lines) g.drawLine(f.at(a), f.at(b));
    dots(g, f, h.aux, kAux, r);
    dots(g, f, h.perimeter, kPerimeter, r);
    dots(g, f, h.bottom, kBottom, r);
    dots(g, f, h.cut, kCut, r * 1.1);

    legend(g, QRectF(W * 0.12, H * 0.915, W * 0.76, H * 0.07), s.shape != Shape::Circle);
    return img;
}

QImage draw_start(int w, int h)
{
    QImage img = canvas(w, h, QColor(238, 242, 247));
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(kLine);
    g.setFont(font(int(h * 0.06), true));
    g.drawText(QRectF(0, h * 0.03, w, h * 0.1), Qt::AlignCenter, QString::fromUtf8("隧道光面爆破设计"));
    g.setFont(font(int(h * 0.028)));
    g.drawText(QRectF(0, h * 0.12, w, h * 0.05), Qt::AlignCenter,
               QString::fromUtf8("选择隧道工法与断面形式后显示对应的炮眼布置图"));

    // A faint face with one hole of each row, and the rows named beside it.
    Poly face = outline(Shape::StraightWall, 1.0, 0);
    Frame f = fit(face, 0, QRectF(w * 0.2, h * 0.22, w * 0.6, h * 0.58));
    g.setPen(QPen(QColor(150, 160, 175), 3, Qt::DashLine));
    g.setBrush(Qt::white);
    g.drawPolygon(to_pixels(f, face));
    Holes holes = holes_for(Shape::StraightWall, 1.0, {{-1, 1000, true, true, false}}, 0);
    double r = std::max(4.0, f.scale * 0.1);
    auto faint = [](QColor c) { return QColor(c.red(), c.green(), c.blue(), 110); };
    dots(g, f, holes.aux, faint(kAux), r);
    dots(g, f, holes.perimeter, faint(kPerimeter), r);
    dots(g, f, holes.bottom, faint(kBottom), r);
    dots(g, f, holes.cut, faint(kCut), r);

    legend(g, QRectF(w * 0.1, h * 0.84, w * 0.8, h * 0.07), true);
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
    g.drawText(QRectF(0, 2, w, 18), Qt::AlignCenter, QString::fromUtf8("装药结构示意图"));
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
    g.setFont(font(11));
    g.drawText(QRectF(20, h - 22, 120, 18), Qt::AlignLeft, QString::fromUtf8("药卷"));
    g.drawText(QRectF(w / 2 - 60, h - 22, 120, 18), Qt::AlignCenter, QString::fromUtf8("导爆索/导爆管"));
    g.drawText(QRectF(w - 140, h - 22, 120, 18), Qt::AlignRight, QString::fromUtf8("堵塞"));
    return img;
}

QImage draw_nonel_detonator(int w, int h)
{
    QImage img = canvas(w, h);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(kLine);
    g.setFont(font(16, true));
    g.drawText(QRectF(0, 6, w, 24), Qt::AlignCenter, QString::fromUtf8("导爆管雷管"));
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
    g.setFont(font(12));
    g.drawText(QRectF(20, 160, 80, 18), Qt::AlignLeft, QString::fromUtf8("起爆药"));
    g.drawText(QRectF(70, 80, 80, 18), Qt::AlignLeft, QString::fromUtf8("延期体"));
    g.drawText(QRectF(150, 250, 120, 18), Qt::AlignLeft, QString::fromUtf8("塑料导爆管"));
    return img;
}

// Delay segments fired from the cut outward, ring by ring.
QImage draw_network(int w, int h)
{
    QImage img = canvas(w, h);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(kLine);
    g.setFont(font(15, true));
    g.drawText(QRectF(0, 4, w, 22), Qt::AlignCenter, QString::fromUtf8("起爆顺序与雷管段位示意"));
    QPointF c(w / 2.0, h * 0.62);
    const QColor rings[] = {kCut, kAux, kPerimeter, kBottom};
    const char* names[] = {"01 掏槽眼 1;3", "02 辅助眼 5;7;9", "03 周边眼 9;11", "04 底板眼 11;13"};
    for (int i = 3; i >= 0; --i) {
        double rx = 40 + 52 * i, ry = 24 + 34 * i;
        g.setPen(QPen(rings[i], 3));
        g.setBrush(Qt::NoBrush);
        g.drawEllipse(c, rx, ry);
    }
    g.setFont(font(12));
    for (int i = 0; i < 4; ++i) {
        g.setPen(rings[i].darker(130));
        g.drawText(QRectF(8, 34 + 20 * i, 180, 18), Qt::AlignLeft, QString::fromUtf8(names[i]));
    }
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: jsb_blast_design_pictures <source-root>\n");
        return 2;
    }
    QString dir = QString::fromLocal8Bit(argv[1]) + "/resources/pictures/blast_design";
    QDir().mkpath(dir);
    bool ok = true;

    const Band whole{-1, 1000, true, true, false};
    const std::vector<LayoutPicture> layouts = {
        {"layout_straight_wall.png", 801, 776, "直墙拱形隧道  全断面法炮眼布置图", "全断面一次开挖：掏槽眼、辅助眼、周边眼、底板眼",
         Shape::StraightWall, 1.0, {whole}, {}},
        {"layout_curved_wall.png", 998, 809, "曲墙三心圆隧道  全断面法炮眼布置图", "三心圆拱顶，曲边墙",
         Shape::CurvedWall, 1.0, {whole}, {}},
        {"layout_horseshoe.png", 849, 810, "马蹄形隧道  全断面法炮眼布置图", "马蹄形断面全断面开挖",
         Shape::Horseshoe, 1.0, {whole}, {}},
        {"layout_circular.png", 826, 773, "圆形隧道立（竖）井  全断面炮眼布置图", "圆形掏槽圈居中，周边眼沿开挖轮廓布置",
         Shape::Circle, 1.0, {{-10, 1000, true, true, false}}, {}},
        {"layout_three_benches.png", 1148, 850, "台阶法  上中下3台阶炮眼布置图", "上台阶设掏槽，中、下台阶以上台阶为临空面",
         Shape::CurvedWall, 1.0,
         {{4.2, 1000, true, true, false}, {1.9, 4.2, true, false, false}, {0, 1.9, false, false, false}},
         {"上台阶", "中台阶", "下台阶"}},
        {"layout_two_benches_invert_large.png", 1117, 843, "台阶法  上下2台阶（有仰拱）炮眼布置图", "开挖面积 S≥75m²",
         Shape::CurvedWall, 1.15, {{3.4, 1000, true, true, false}, {0, 3.4, true, false, true}}, {"上台阶", "下台阶"}, 1.3},
        {"layout_two_benches_invert_small.png", 1006, 828, "台阶法  上下2台阶（有仰拱）炮眼布置图", "开挖面积 S<75m²",
         Shape::CurvedWall, 0.85, {{2.6, 1000, true, true, false}, {0, 2.6, true, false, true}}, {"上台阶", "下台阶"}, 1.0},
        {"layout_two_benches_flat_large.png", 1253, 792, "台阶法  上下2台阶（无仰拱）炮眼布置图", "开挖面积 S≥75m²",
         Shape::CurvedWall, 1.15, {{3.4, 1000, true, true, false}, {0, 3.4, true, false, false}}, {"上台阶", "下台阶"}},
        {"layout_two_benches_flat_small.png", 957, 779, "台阶法  上下2台阶（无仰拱）炮眼布置图", "开挖面积 S<75m²",
         Shape::CurvedWall, 0.85, {{2.6, 1000, true, true, false}, {0, 2.6, true, false, false}}, {"上台阶", "下台阶"}},
    };
    for (const LayoutPicture& s : layouts) ok &= save(draw_layout(s), dir, s.file);
    ok &= save(draw_start(846, 765), dir, "layout_start.png");

    ok &= save(draw_button(28, QColor(245, 247, 250), QColor(40, 80, 150)), dir, "diagram_button_normal.png");
    ok &= save(draw_button(28, QColor(220, 235, 252), QColor(20, 100, 200)), dir, "diagram_button_hover.png");
    ok &= save(draw_button(28, QColor(190, 205, 225), QColor(10, 50, 110)), dir, "diagram_button_pressed.png");

    ok &= save(draw_charge_structure(424, 106), dir, "charge_structure_start.png");
    ok &= save(draw_nonel_detonator(303, 286), dir, "detonator_nonel.png");
    ok &= save(draw_network(510, 294), dir, "detonator_network.png");
    return ok ? 0 : 1;
}
