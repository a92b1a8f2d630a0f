// Draws the pictures of the picture pop-up and the diagram viewer:
//   fit.png, zoom_out.png, zoom_in.png   24 x 24 tool-bar icons
//   diagram_start.png                    2400 x 1840, the viewer's picture until a module gives one
//   lookup_start.png                     555 x 379, the pop-up's picture until a module gives one
// Usage: viewer_icons OUTPUT_DIR (run with QT_QPA_PLATFORM=offscreen on a machine without a display).
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor k_ink(0x1f, 0x5f, 0xa8);   // icon strokes
const QColor k_glass(0xe8, 0xf1, 0xfb); // magnifier lens
const char* k_face = "WenQuanYi Micro Hei";

QImage blank(int w, int h, QColor fill)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(fill);
    return img;
}

bool save(const QImage& img, const QDir& dir, const char* name)
{
    QString path = dir.filePath(name);
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), img.width(), img.height());
    return true;
}

// A magnifying glass with a plus or a minus in its lens.
QImage magnifier(bool plus)
{
    QImage img = blank(24, 24, Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPen handle(k_ink, 3.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(handle);
    p.drawLine(QPointF(15.5, 15.5), QPointF(21.5, 21.5));
    p.setPen(QPen(k_ink, 2.0));
    p.setBrush(k_glass);
    p.drawEllipse(QPointF(10, 10), 7.5, 7.5);
    p.setPen(QPen(k_ink, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
    if (plus) p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
    return img;
}

// A picture frame with four arrows pointing out to the corners.
QImage fit_icon()
{
    QImage img = blank(24, 24, Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(k_ink, 1.6));
    p.setBrush(k_glass);
    p.drawRoundedRect(QRectF(8.5, 8.5, 7, 7), 1.0, 1.0);
    p.setPen(QPen(k_ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    // Corner arrows: an L-shaped head at each corner and a short shaft in.
    const QPointF corners[4] = {{2, 2}, {22, 2}, {2, 22}, {22, 22}};
    for (const QPointF& c : corners) {
        double sx = c.x() < 12 ? 1 : -1, sy = c.y() < 12 ? 1 : -1;
        QPainterPath head;
        head.moveTo(c.x() + sx * 5, c.y());
        head.lineTo(c);
        head.lineTo(c.x(), c.y() + sy * 5);
        p.drawPath(head);
        p.drawLine(c, QPointF(c.x() + sx * 5.0, c.y() + sy * 5.0));
    }
    return img;
}

// A white sheet with a light grid, a border and a centred title.
QImage titled_sheet(int w, int h, const QString& title, int title_px, int grid)
{
    QImage img = blank(w, h, Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xe4, 0xe9, 0xf0), 1));
    for (int x = grid; x < w; x += grid) p.drawLine(x, 0, x, h);
    for (int y = grid; y < h; y += grid) p.drawLine(0, y, w, y);
    int border = std::max(2, w / 300);
    p.setPen(QPen(k_ink, border));
    p.drawRect(QRectF(border / 2.0, border / 2.0, w - border, h - border));
    QFont f(k_face);
    f.setPixelSize(title_px);
    p.setFont(f);
    p.setPen(QColor(0x33, 0x44, 0x55));
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, title);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: viewer_icons OUTPUT_DIR\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    bool ok = save(fit_icon(), dir, "fit.png");
    ok = save(magnifier(false), dir, "zoom_out.png") && ok;
    ok = save(magnifier(true), dir, "zoom_in.png") && ok;
    ok = save(titled_sheet(2400, 1840, QStringLiteral("计算示意图"), 160, 80), dir, "diagram_start.png") && ok;
    ok = save(titled_sheet(555, 379, QStringLiteral("查询"), 48, 20), dir, "lookup_start.png") && ok;
    return ok ? 0 : 1;
}
