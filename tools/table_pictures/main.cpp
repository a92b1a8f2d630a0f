// Titled placeholders of the reference tables the program does not carry,
// drawn at the sizes the picture pop-up lays out, from the *.tsv lists in
// tools/table_pictures/.
#include "drawkit.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

using kit::font;

QImage table_placeholder(int w, int h, const QString& name, const QString& source)
{
    QImage img = kit::canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Sized by the smaller of width and height, so a flat table still shows
    // its title, its source and the note.
    int title_px = std::max(14, std::min({40, w / 24, h / 7}));
    int text_px = std::max(12, title_px * 2 / 3);
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
        kit::text(p, QRectF(inner.left(), inner.top(), inner.width(), row), Qt::AlignCenter, name);
        p.setFont(font(text_px));
        kit::text(p, QRectF(inner.left(), inner.top() + row, inner.width(), row), Qt::AlignCenter | Qt::TextWordWrap,
                  source);
        p.setPen(QColor(110, 110, 110));
        kit::text(p, QRectF(inner.left(), inner.top() + 2 * row, inner.width(), row), Qt::AlignCenter | Qt::TextWordWrap,
                  note);
        return img;
    }
    p.setPen(Qt::black);
    p.setFont(font(title_px, true));
    QRectF head(20, 20, w - 40, title_px * 2.4);
    kit::text(p, head, Qt::AlignCenter | Qt::TextWordWrap, name);
    p.setFont(font(text_px));
    QRectF src(20, head.bottom() + 6, w - 40, text_px * 2.6);
    kit::text(p, src, Qt::AlignCenter | Qt::TextWordWrap, source);
    p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DashLine));
    QRectF body(30, src.bottom() + 10, w - 60, h - src.bottom() - 40);
    p.drawRect(body);
    p.setPen(QColor(110, 110, 110));
    kit::text(p, body, Qt::AlignCenter | Qt::TextWrapAnywhere, note);
    return img;
}

// One picture per line of the lists in tools/table_pictures/; a list's
// file name selects its pictures on the command line.
std::vector<kit::Output> pictures(const QString& root)
{
    std::vector<kit::Output> out;
    QDir lists(root + "/tools/table_pictures", "*.tsv");
    for (const QString& list : lists.entryList(QDir::Files, QDir::Name)) {
        QFile f(lists.filePath(list));
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            throw std::runtime_error("cannot read " + lists.filePath(list).toStdString());
        QTextStream in(&f);
        in.setEncoding(QStringConverter::Utf8);
        int line_no = 0;
        while (!in.atEnd()) {
            const QString line = in.readLine();
            ++line_no;
            if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
            const QStringList cols = line.split('\t');
            bool w_ok = false, h_ok = false;
            const int w = cols.value(1).toInt(&w_ok), h = cols.value(2).toInt(&h_ok);
            if (cols.size() != 5 || !w_ok || !h_ok || w < 64 || h < 64)
                throw std::runtime_error(QStringLiteral("%1:%2: expected path, width, height, title, source")
                                             .arg(list)
                                             .arg(line_no)
                                             .toStdString());
            // Eight-bit colour keeps the embedded bytes small; the drawings use few colours.
            kit::Output o = kit::picture(
                "resources/pictures/" + cols[0], [=] { return table_placeholder(w, h, cols[3], cols[4]); },
                kit::Store::Palette, 9);
            o.group = list;
            out.push_back(o);
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) { return kit::run(argc, argv, pictures); }
