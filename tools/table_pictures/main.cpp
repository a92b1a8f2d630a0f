// Titled placeholders of the reference tables the program does not carry,
// drawn at the sizes the picture pop-up lays out, from the *.tsv lists in
// tools/table_pictures/.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

QFont font(int px, bool bold = false)
{
    QFont f("WenQuanYi Micro Hei");
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

QImage table_placeholder(int w, int h, const QString& name, const QString& source)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Sized by the smaller of width and height, so a flat table still shows
    // its title, its source and the note.
    int title_px = std::max(10, std::min({40, w / 24, h / 7}));
    int text_px = std::max(9, title_px * 2 / 3);
    QRectF frame(8, 8, w - 16, h - 16);
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    const QString note = QStringLiteral("本程序未收录此表的数值，请查阅上述资料原表取值。");
    if (h < 200) {
        // A flat table: title, source and note one line each.
        QRectF inner = frame.adjusted(12, 6, -12, -6);
        double row = inner.height() / 3;
        p.setPen(Qt::black);
        p.setFont(font(title_px, true));
        p.drawText(QRectF(inner.left(), inner.top(), inner.width(), row), Qt::AlignCenter, name);
        p.setFont(font(text_px));
        p.drawText(QRectF(inner.left(), inner.top() + row, inner.width(), row), Qt::AlignCenter, source);
        p.setPen(QColor(110, 110, 110));
        p.drawText(QRectF(inner.left(), inner.top() + 2 * row, inner.width(), row), Qt::AlignCenter, note);
        return img;
    }
    p.setPen(Qt::black);
    p.setFont(font(title_px, true));
    QRectF head(20, 20, w - 40, title_px * 2.4);
    p.drawText(head, Qt::AlignCenter | Qt::TextWordWrap, name);
    p.setFont(font(text_px));
    QRectF src(20, head.bottom() + 6, w - 40, text_px * 2.6);
    p.drawText(src, Qt::AlignCenter | Qt::TextWordWrap, source);
    p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
    QRectF body(30, src.bottom() + 10, w - 60, h - src.bottom() - 40);
    p.drawRect(body);
    p.setPen(QColor(110, 110, 110));
    p.drawText(body, Qt::AlignCenter | Qt::TextWrapAnywhere, note);
    return img;
}

bool save(const QImage& img, const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    // Eight-bit colour keeps the embedded bytes small; the drawings use few colours.
    QImage out = img.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (!out.save(path, "PNG", 9)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), img.width(), img.height());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: jsb_table_pictures <source-root> [list.tsv ...]\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    QDir lists(root + "/tools/table_pictures", "*.tsv");
    // Named lists only, when given; otherwise every list.
    QStringList names;
    for (int i = 2; i < argc; ++i) names << QString::fromLocal8Bit(argv[i]);
    if (names.isEmpty()) names = lists.entryList(QDir::Files, QDir::Name);
    for (const QString& list : names) {
        QFile f(lists.filePath(list));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return 1;
        QTextStream in(&f);
        in.setEncoding(QStringConverter::Utf8);
        int line_no = 0;
        while (!in.atEnd()) {
            QString line = in.readLine();
            ++line_no;
            if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
            QStringList cols = line.split('\t');
            bool w_ok = false, h_ok = false;
            int w = cols.value(1).toInt(&w_ok), h = cols.value(2).toInt(&h_ok);
            if (cols.size() != 5 || !w_ok || !h_ok || w < 64 || h < 64) {
                std::fprintf(stderr, "%s:%d: expected path, width, height, title, source\n", qPrintable(list), line_no);
                ok = false;
                continue;
            }
            ok &= save(table_placeholder(w, h, cols[3], cols[4]), root + "/resources/pictures/" + cols[0]);
        }
    }
    return ok ? 0 : 1;
}
