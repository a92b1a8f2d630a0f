// The drawing kit every picture generator under tools/ uses: fonts, canvases,
// arrows and dimension lines, tables, and text that measures itself. A text
// placed through the kit never runs past its cell or the picture's edge: it
// wraps when its flags allow, then shrinks; what still does not fit is kept
// on record, and `--check` (see run) fails on it. Generators draw every text
// through the kit, so one rule holds for all pictures.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace kit {

constexpr double kPi = 3.14159265358979323846;

// The one face of every picture (installed by scripts/deps), at a size in
// pixels. Bold is the face's own bold; a face that has none is written at its
// regular weight, never thickened.
QFont font(int px, bool bold = false, bool italic = false);
// Whether `family` has a bold face of its own.
bool has_bold_face(const QString& family);

QImage canvas(int w, int h, const QColor& fill = Qt::white, QImage::Format format = QImage::Format_RGB32);
// A white picture of `box` size with `p` begun on it and set to draw a
// drawing laid out at `layout` size, as large as it goes in its own shape
// and centred.
void begin_fitted(QPainter& p, QImage& img, const QSize& box, const QSizeF& layout);

// ---- lines -----------------------------------------------------------------------------

double angle(QPointF from, QPointF to);

// A filled arrow head with its tip at `tip`, pointing along `angle`; its two
// barbs stand `spread` radians either side of the shaft.
void arrow_head(QPainter& p, QPointF tip, double angle, double size, const QColor& c, double spread = 0.4);
// The same, pointing from `from` to `tip`.
void arrow_head(QPainter& p, QPointF from, QPointF tip, double size, const QColor& c, double spread = 0.4);

// A shaft drawn with `pen` and a head of `head` pixels in the pen's colour at `to`.
void arrow(QPainter& p, QPointF from, QPointF to, const QPen& pen, double head, double spread = 0.4);

// A dimension line from a to b with heads pointing out at both ends.
void dimension_line(QPainter& p, QPointF a, QPointF b, const QPen& pen, double head, double spread = 0.4);

void dashed(QPainter& p, QPointF a, QPointF b, const QColor& c, double width = 1);

// ---- text ------------------------------------------------------------------------------

// Writes `s` in `box` with the painter's font and pen; the arguments are
// QPainter::drawText's. When it does not fit the box and the picture it wraps
// (if `flags` ask for wrapping) and then shrinks, a pixel at a time, down to
// 60 % of its size. Returns where the text went.
QRectF text(QPainter& p, const QRectF& box, int flags, const QString& s);
// The same with its own font and colour; the painter's are kept.
QRectF text(QPainter& p, const QRectF& box, int flags, const QString& s, const QFont& f, const QColor& c = Qt::black);

// The rectangle `text` would take at font `f` (without shrinking).
QRectF measure(const QFont& f, const QRectF& box, int flags, const QString& s);

// Writes `s` on a baseline from `at`; its cell is the picture.
QRectF text_at(QPainter& p, QPointF at, const QString& s);
QRectF text_at(QPainter& p, QPointF at, const QString& s, const QFont& f, const QColor& c = Qt::black);

// A paragraph in `box`'s width from its top: lines wrap, every line after the
// first starts `indent` pixels in. The box's height is what the paragraph
// may take. Returns the height it took.
double paragraph(QPainter& p, const QRectF& box, const QString& s, double indent = 0);
// Its lines as the paragraph breaks them.
QStringList paragraph_lines(const QFont& f, double width, const QString& s, double indent = 0);

double text_width(const QFont& f, const QString& s);
// The largest size, up to `f`'s own, at which `s` keeps to `width` on one line.
QFont fitting_font(const QString& s, QFont f, double width);

// ---- tables ----------------------------------------------------------------------------

// A ruled table: heading rows shaded, cell texts centred (a "\n" breaks a
// line), every text fitted to its cell.
struct Table {
    std::vector<double> widths;    // shares of the width, one per column
    std::vector<QStringList> rows; // the heading rows first
    int heading_rows = 1;
    int px = 14;
    int heading_px = 14;
    QColor heading_fill = QColor(232, 232, 232);
    double row_height = 0; // 0: the rows share the area's height
    QPen grid = QPen(QColor(60, 60, 60), 1);
    QPen frame = QPen(Qt::black, 2);
    double pad = 3; // space between a cell's text and its side lines
};

// Draws `t` from `area`'s top left; returns the rectangle it took.
QRectF draw_table(QPainter& p, const QRectF& area, const Table& t);

// ---- what the texts did ----------------------------------------------------------------

struct Placement {
    QString text;
    QRectF cell;     // in picture pixels; the picture itself for a text on a baseline
    QRectF used;     // in picture pixels
    QRectF picture;  // the picture's bounds
    int asked_px;    // the font's size as given
    int px;          // the size it was written at
    double drawn_px; // that size in picture pixels (the painter may be scaled)
    bool fits() const;
};

// Every text placed since the last clear.
const std::vector<Placement>& placements();
void clear_placements();

// ---- generator programs ----------------------------------------------------------------

enum class Store {
    AsDrawn, // the image's own format
    Rgb888,  // full colour, no alpha
    Palette, // eight-bit colour: small files for drawings of few colours
};

// The smallest size, in screen pixels, a text may show at where the program
// shows its picture at 100 %: the size of the forms' own text.
constexpr double kSmallestShownPx = 12;

struct Output {
    QString path;                 // under the source root
    QString group;                // a further name that selects it on the command line
    std::function<QImage()> draw; // empty for a file that is not one picture
    // The file's bytes from the drawn picture (an empty image when there is no
    // `draw`); nothing when it cannot be written.
    std::function<std::optional<QByteArray>(const QImage&)> encode;
    // The picture boxes (width x height) that show the picture when the
    // program puts it there; the boxes of the forms that start with it are
    // read from forms/*.json. A picture is shown whole in its own shape, as
    // large as the box allows; one shown nowhere else is shown at its size.
    std::vector<QSize> shown = {};
};

// The scale a picture of `picture` size is shown at in a box of `box` size.
double shown_scale(const QSize& picture, const QSize& box);

// The sizes of the forms' picture boxes and picture buttons that start with
// each picture, by its path under the source root (from <root>/forms/*.json).
std::map<QString, std::vector<QSize>> form_boxes(const QString& root);

std::optional<QByteArray> png(const QImage& img, Store store, int quality);
Output picture(const QString& path, std::function<QImage()> draw, Store store = Store::AsDrawn, int quality = -1);

// The program of a generator:
//   <program> <source-root> [name ...]  draws its outputs (those named by file
//                                      name, path or group) and writes them
//   <program> --check <source-root>     draws every output, writes nothing and
//                                      fails when a text does not fit, or
//                                      shows smaller than kSmallestShownPx
//                                      in a box that shows its picture
int run(int argc, char** argv, const std::function<std::vector<Output>(const QString& root)>& outputs);

} // namespace kit
