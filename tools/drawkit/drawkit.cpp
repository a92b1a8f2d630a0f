#include "drawkit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPolygonF>
#include <QSaveFile>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <stdexcept>
#include <memory>

namespace kit {

namespace {

// A text may reach this far past its cell: metrics come in fractions of a
// pixel and a line's height holds room above and below its glyphs.
constexpr double kSlack = 0.5;
// No text shrinks below this share of its size: a cell that small wants to be wider.
constexpr double kSmallest = 0.6;

std::vector<Placement> g_placements;

QRectF picture_of(const QPainter& p)
{
    const QPaintDevice* d = p.device();
    return d ? QRectF(0, 0, d->width(), d->height()) : QRectF();
}

bool within(const QRectF& used, const QRectF& cell)
{
    return cell.adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(used);
}

// True when the text at `used` (painter coordinates) keeps to its cell and the picture.
bool keeps_to(const QPainter& p, const QRectF& used, const QRectF& cell)
{
    const QTransform& t = p.worldTransform();
    return within(t.mapRect(used), t.mapRect(cell)) && within(t.mapRect(used), picture_of(p));
}

// A font's size in pixels, also when it was given in points.
int px_of(const QFont& f) { return f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize(); }

void record(const QPainter& p, const QString& s, const QRectF& cell, const QRectF& used, const QFont& asked,
            const QFont& written)
{
    const QTransform& t = p.worldTransform();
    // A painter scaled (or turned) draws the text that much larger or smaller.
    const double scale = std::sqrt(std::abs(t.determinant()));
    g_placements.push_back({s, t.mapRect(cell), t.mapRect(used), picture_of(p), px_of(asked), px_of(written),
                            px_of(written) * scale});
}

// The line breaker would part "0.17" after its point; a word joiner between
// the characters of a number keeps it on one line (and takes no room).
QString joined_numbers(const QString& s)
{
    auto part = [](QChar c) { return c.isDigit() || c == u'.'; };
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        out += s[i];
        if (i + 1 < s.size() && part(s[i]) && part(s[i + 1]) && (s[i].isDigit() || s[i + 1].isDigit()))
            out += QChar(0x2060);
    }
    return out;
}

int smallest(const QFont& f) { return std::max(6, int(std::ceil(f.pixelSize() * kSmallest))); }

// Shrinks `f` a pixel at a time until `measure` says the text keeps to
// `cell`, or down to the smallest size; returns the last measure.
template <class Measure>
QRectF shrink(const QPainter& p, QFont& f, const QRectF& cell, Measure measure)
{
    QRectF used = measure(f);
    if (f.pixelSize() <= 0) return used;
    const int floor = smallest(f);
    while (!keeps_to(p, used, cell) && f.pixelSize() > floor) {
        f.setPixelSize(f.pixelSize() - 1);
        used = measure(f);
    }
    return used;
}

} // namespace

bool has_bold_face(const QString& family)
{
    for (const QString& style : QFontDatabase::styles(family))
        if (QFontDatabase::weight(family, style) >= QFont::DemiBold) return true;
    return false;
}

QFont font(int px, bool bold, bool italic)
{
    static const QString family = QStringLiteral("WenQuanYi Micro Hei");
    // A face without a bold of its own would be thickened by the rasteriser
    // instead, and a character's close strokes run together at the sizes
    // the pictures are shown at (布置 reads as 布量): such a title keeps the
    // regular weight.
    static const bool real_bold = has_bold_face(family);
    QFont f(family);
    f.setPixelSize(px);
    f.setBold(bold && real_bold);
    f.setItalic(italic);
    return f;
}

QImage canvas(int w, int h, const QColor& fill, QImage::Format format)
{
    QImage img(w, h, format);
    img.fill(fill);
    return img;
}

void begin_fitted(QPainter& p, QImage& img, const QSize& box, const QSizeF& layout)
{
    img = canvas(box.width(), box.height());
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double k = std::min(box.width() / layout.width(), box.height() / layout.height());
    p.translate((box.width() - layout.width() * k) / 2, (box.height() - layout.height() * k) / 2);
    p.scale(k, k);
}

// ---- lines -----------------------------------------------------------------------------

double angle(QPointF from, QPointF to) { return std::atan2(to.y() - from.y(), to.x() - from.x()); }

void arrow_head(QPainter& p, QPointF tip, double angle, double size, const QColor& c, double spread)
{
    QPolygonF head;
    head << tip << QPointF(tip.x() - size * std::cos(angle - spread), tip.y() - size * std::sin(angle - spread))
         << QPointF(tip.x() - size * std::cos(angle + spread), tip.y() - size * std::sin(angle + spread));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(head);
    p.restore();
}

void arrow_head(QPainter& p, QPointF from, QPointF tip, double size, const QColor& c, double spread)
{
    arrow_head(p, tip, angle(from, tip), size, c, spread);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QPen& pen, double head, double spread)
{
    p.save();
    p.setPen(pen);
    p.drawLine(from, to);
    arrow_head(p, from, to, head, pen.color(), spread);
    p.restore();
}

void dimension_line(QPainter& p, QPointF a, QPointF b, const QPen& pen, double head, double spread)
{
    p.save();
    p.setPen(pen);
    p.drawLine(a, b);
    const double along = angle(a, b);
    arrow_head(p, b, along, head, pen.color(), spread);
    arrow_head(p, a, along + kPi, head, pen.color(), spread);
    p.restore();
}

void dashed(QPainter& p, QPointF a, QPointF b, const QColor& c, double width)
{
    p.save();
    p.setPen(QPen(c, width, Qt::DashLine));
    p.drawLine(a, b);
    p.restore();
}

// ---- text ------------------------------------------------------------------------------

namespace {

QString as_shown(int flags, const QString& s)
{
    return flags & (Qt::TextWordWrap | Qt::TextWrapAnywhere) ? joined_numbers(s) : s;
}

} // namespace

QRectF measure(const QFont& f, const QRectF& box, int flags, const QString& s)
{
    return QFontMetricsF(f).boundingRect(box, flags, as_shown(flags, s));
}

QRectF text(QPainter& p, const QRectF& box, int flags, const QString& s)
{
    if (s.isEmpty()) return {};
    const QFont original = p.font();
    QFont f = original;
    const QString shown = as_shown(flags, s);
    const QRectF used = shrink(
        p, f, box, [&](const QFont& ff) { return QFontMetricsF(ff, p.device()).boundingRect(box, flags, shown); });
    if (f != original) p.setFont(f);
    p.drawText(box, flags, shown);
    if (f != original) p.setFont(original);
    record(p, s, box, used, original, f);
    return used;
}

QRectF text(QPainter& p, const QRectF& box, int flags, const QString& s, const QFont& f, const QColor& c)
{
    p.save();
    p.setPen(c);
    p.setFont(f);
    const QRectF used = text(p, box, flags, s);
    p.restore();
    return used;
}

QRectF text_at(QPainter& p, QPointF at, const QString& s)
{
    if (s.isEmpty()) return {};
    const QFont original = p.font();
    QFont f = original;
    // Its cell is the picture, in painter coordinates.
    const QRectF cell = p.worldTransform().inverted().mapRect(picture_of(p));
    const QRectF used = shrink(p, f, cell, [&](const QFont& ff) {
        const QFontMetricsF m(ff, p.device());
        return QRectF(at.x(), at.y() - m.ascent(), m.horizontalAdvance(s), m.height());
    });
    if (f != original) p.setFont(f);
    p.drawText(at, s);
    if (f != original) p.setFont(original);
    record(p, s, cell, used, original, f);
    return used;
}

QRectF text_at(QPainter& p, QPointF at, const QString& s, const QFont& f, const QColor& c)
{
    p.save();
    p.setPen(c);
    p.setFont(f);
    const QRectF used = text_at(p, at, s);
    p.restore();
    return used;
}

namespace {

// Lays `s` out in `width` from (0, 0), later lines `indent` in; the size it takes.
QSizeF lay_out(QTextLayout& layout, double width, double indent)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0, right = 0;
    for (int n = 0;; ++n) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        const double x = n == 0 ? 0 : indent;
        line.setLineWidth(width - x);
        line.setPosition(QPointF(x, y));
        y += line.height();
        right = std::max(right, x + line.naturalTextWidth());
    }
    layout.endLayout();
    return {right, y};
}

} // namespace

QStringList paragraph_lines(const QFont& f, double width, const QString& s, double indent)
{
    QTextLayout layout(joined_numbers(s), f);
    lay_out(layout, width, indent);
    QStringList lines;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        lines << layout.text().mid(line.textStart(), line.textLength()).remove(QChar(0x2060));
    }
    return lines;
}

double paragraph(QPainter& p, const QRectF& box, const QString& s, double indent)
{
    if (s.isEmpty()) return 0;
    const QFont original = p.font();
    QFont f = original;
    QTextLayout layout(joined_numbers(s), f, p.device());
    const QRectF used = shrink(p, f, box, [&](const QFont& ff) {
        layout.setFont(ff);
        return QRectF(box.topLeft(), lay_out(layout, box.width(), indent));
    });
    layout.draw(&p, box.topLeft());
    record(p, s, box, used, original, f);
    return used.height();
}

double text_width(const QFont& f, const QString& s) { return QFontMetricsF(f).horizontalAdvance(s); }

QFont fitting_font(const QString& s, QFont f, double width)
{
    const int floor = std::min(f.pixelSize(), 8);
    while (f.pixelSize() > floor && QFontMetricsF(f).horizontalAdvance(s) > width) f.setPixelSize(f.pixelSize() - 1);
    return f;
}

// ---- tables ----------------------------------------------------------------------------

QRectF draw_table(QPainter& p, const QRectF& area, const Table& t)
{
    double total = 0;
    for (double w : t.widths) total += w;
    const int n_rows = int(t.rows.size());
    const double row_h = t.row_height > 0 ? t.row_height : area.height() / n_rows;
    const double bottom = t.row_height > 0 ? area.top() + n_rows * row_h : area.bottom();
    std::vector<double> xs{area.left()};
    for (double w : t.widths) xs.push_back(xs.back() + area.width() * w / total);
    p.save();
    p.fillRect(QRectF(area.left(), area.top(), area.width(), row_h * t.heading_rows), t.heading_fill);
    for (int r = 0; r < n_rows; ++r) {
        const QStringList& cells = t.rows[size_t(r)];
        const bool heading = r < t.heading_rows;
        for (int c = 0; c < cells.size() && c + 1 < int(xs.size()); ++c) {
            const QRectF cell(xs[size_t(c)] + t.pad, area.top() + r * row_h,
                              xs[size_t(c) + 1] - xs[size_t(c)] - 2 * t.pad, row_h);
            text(p, cell, Qt::AlignCenter | Qt::TextWordWrap, cells[c], font(heading ? t.heading_px : t.px, heading));
        }
    }
    p.setPen(t.grid);
    for (int r = 0; r <= n_rows; ++r)
        p.drawLine(QPointF(area.left(), area.top() + r * row_h), QPointF(area.right(), area.top() + r * row_h));
    for (double x : xs) p.drawLine(QPointF(x, area.top()), QPointF(x, bottom));
    p.setPen(t.frame);
    p.setBrush(Qt::NoBrush);
    const QRectF taken(area.left(), area.top(), area.width(), bottom - area.top());
    p.drawRect(taken);
    p.restore();
    return taken;
}

// ---- what the texts did ----------------------------------------------------------------

bool Placement::fits() const { return within(used, cell) && within(used, picture); }

const std::vector<Placement>& placements() { return g_placements; }

void clear_placements() { g_placements.clear(); }

// ---- generator programs ----------------------------------------------------------------

std::optional<QByteArray> png(const QImage& img, Store store, int quality)
{
    QImage out = store == Store::Palette
        ? img.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither)
        : store == Store::Rgb888 ? img.convertToFormat(QImage::Format_RGB888)
                                 : img;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!out.save(&buffer, "PNG", quality)) return std::nullopt;
    return bytes;
}

Output picture(const QString& path, std::function<QImage()> draw, Store store, int quality)
{
    return {path, {}, std::move(draw), [store, quality](const QImage& img) { return png(img, store, quality); }};
}

double shown_scale(const QSize& picture, const QSize& box)
{
    if (picture.isEmpty() || box.isEmpty()) return 1;
    return std::min(double(box.width()) / picture.width(), double(box.height()) / picture.height());
}

std::map<QString, std::vector<QSize>> form_boxes(const QString& root)
{
    std::map<QString, std::vector<QSize>> boxes;
    QDir forms(root + "/forms", "*.json");
    for (const QString& name : forms.entryList(QDir::Files, QDir::Name)) {
        QFile f(forms.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + f.fileName().toStdString());
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
        if (doc.isNull())
            throw std::runtime_error(f.fileName().toStdString() + ": " + error.errorString().toStdString());
        for (const QJsonValue& v : doc.object().value("controls").toArray()) {
            const QJsonObject c = v.toObject();
            const QString kind = c.value("kind").toString();
            if (kind != "PicBox" && kind != "PicBtn") continue;
            const QJsonArray rect = c.value("rect").toArray();
            if (rect.size() != 4) continue;
            const QSize size(rect[2].toInt(), rect[3].toInt());
            QStringList pictures;
            if (c.value("picture").isString()) pictures << c.value("picture").toString();
            for (const QJsonValue& p : c.value("pictures").toArray())
                if (p.isString() && !p.toString().isEmpty()) pictures << p.toString();
            for (const QString& p : pictures) boxes[p].push_back(size);
        }
    }
    return boxes;
}

namespace {

bool selected(const Output& o, const QStringList& names)
{
    if (names.isEmpty()) return true;
    const QString file = QFileInfo(o.path).fileName();
    return names.contains(file) || names.contains(o.path) || (!o.group.isEmpty() && names.contains(o.group));
}

// Draws every output and reports each text that does not fit or shows too
// small in a box that shows its picture.
int check(const QString& root, const std::vector<Output>& outputs)
{
    const std::map<QString, std::vector<QSize>> in_forms = form_boxes(root);
    int bad = 0, texts = 0;
    for (const Output& o : outputs) {
        clear_placements();
        const QImage img = o.draw ? o.draw() : QImage();
        if (!o.draw && !o.encode(img)) {
            std::fprintf(stderr, "%s: cannot be made\n", qPrintable(o.path));
            ++bad;
        }
        // The box that shows the picture smallest.
        std::vector<QSize> boxes = o.shown;
        if (auto f = in_forms.find(o.path); f != in_forms.end()) boxes.insert(boxes.end(), f->second.begin(), f->second.end());
        QSize smallest_box = img.size();
        double scale = boxes.empty() ? 1 : std::numeric_limits<double>::max();
        for (const QSize& b : boxes)
            if (shown_scale(img.size(), b) < scale) {
                scale = shown_scale(img.size(), b);
                smallest_box = b;
            }
        for (const Placement& t : placements()) {
            // A file that is not one picture (an icon, a sound) has no box to be shown in.
            if (o.draw && t.drawn_px * scale < kSmallestShownPx - 0.01) {
                ++bad;
                std::fprintf(stderr, "%s: \"%s\" shows at %.1f px (%.1f px drawn, the %dx%d picture in a %dx%d box)\n",
                             qPrintable(o.path), qPrintable(t.text), t.drawn_px * scale, t.drawn_px, img.width(),
                             img.height(), smallest_box.width(), smallest_box.height());
            }
            ++texts;
            if (t.px != t.asked_px)
                std::printf("%s: \"%s\" shrinks from %d to %d px\n", qPrintable(o.path), qPrintable(t.text), t.asked_px,
                            t.px);
            if (t.fits()) continue;
            ++bad;
            std::fprintf(stderr,
                         "%s: \"%s\" takes (%.1f, %.1f) %.1f x %.1f, its cell (%.1f, %.1f) %.1f x %.1f, the picture "
                         "%.0f x %.0f\n",
                         qPrintable(o.path), qPrintable(t.text), t.used.x(), t.used.y(), t.used.width(),
                         t.used.height(), t.cell.x(), t.cell.y(), t.cell.width(), t.cell.height(), t.picture.width(),
                         t.picture.height());
        }
    }
    std::printf("%zu outputs, %d texts, %d faults\n", outputs.size(), texts, bad);
    return bad ? 1 : 0;
}

bool write(const QString& root, const Output& o)
{
    const QImage img = o.draw ? o.draw() : QImage();
    const std::optional<QByteArray> bytes = o.encode(img);
    const QString path = root + "/" + o.path;
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!bytes || !file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    if (img.isNull())
        std::printf("%s %lld bytes\n", qPrintable(o.path), (long long)bytes->size());
    else
        std::printf("%s %dx%d %lld bytes\n", qPrintable(o.path), img.width(), img.height(), (long long)bytes->size());
    return true;
}

} // namespace

int run(int argc, char** argv, const std::function<std::vector<Output>(const QString& root)>& outputs)
{
    // Drawing needs no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const bool checking = !args.isEmpty() && args.first() == "--check";
    if (checking) args.removeFirst();
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: %s <source-root> [name ...]\n       %s --check <source-root>\n", argv[0], argv[0]);
        return 2;
    }
    const QString root = args.takeFirst();
    std::vector<Output> all;
    try {
        all = outputs(root);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (checking) {
        try {
            return check(root, all);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    bool ok = true;
    int written = 0;
    for (const Output& o : all) {
        if (!selected(o, args)) continue;
        ok = write(root, o) && ok;
        ++written;
    }
    if (!args.isEmpty() && written == 0) {
        std::fprintf(stderr, "nothing is called %s\n", qPrintable(args.join(' ')));
        return 1;
    }
    return ok ? 0 : 1;
}

} // namespace kit
