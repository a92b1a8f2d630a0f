// Generates the shell's own pictures and sounds into <root>/resources.
// The pictures are plain and legible rather than art: each button shows its
// Chinese caption in its normal, hover and pressed looks. Where the program
// knows a picture by its exact size (sound switch, compute, export and
// countdown pictures), the PNG is padded with a comment chunk to that size.
#include "drawkit.h"
#include "gif.h"
#include "wav.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace resgen;

namespace {

// ---- PNG --------------------------------------------------------------------

uint32_t crc32(const std::string& s, size_t from, size_t n)
{
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = from; i < from + n; ++i) c = table[(c ^ uint8_t(s[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string png_of(const QImage& img)
{
    QByteArray ba;
    QBuffer buf(&ba);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG", 0); // quality 0: strongest compression
    return std::string(ba.constData(), size_t(ba.size()));
}

void put_be32(std::string& s, uint32_t v)
{
    for (int k = 3; k >= 0; --k) s.push_back(char((v >> (8 * k)) & 0xFF));
}

// Inserts a tEXt chunk before IEND so the file is exactly `target` bytes.
std::string pad_png(std::string png, size_t target, const std::string& note)
{
    const size_t overhead = 12; // length, type, crc
    const std::string key = std::string("Comment") + '\0';
    if (png.size() + overhead + key.size() > target) return png;
    size_t text_len = target - png.size() - overhead - key.size();
    std::string body = key;
    while (body.size() < key.size() + text_len) body += note;
    body.resize(key.size() + text_len);
    std::string chunk;
    put_be32(chunk, uint32_t(body.size()));
    chunk += "tEXt";
    chunk += body;
    put_be32(chunk, crc32(chunk, 4, chunk.size() - 4));
    size_t iend = png.size() - 12;
    png.insert(iend, chunk);
    return png;
}

std::string png_exact(const QImage& img, size_t target, const std::string& rel)
{
    std::string png = png_of(img);
    if (png.size() + 20 > target) png = png_of(img.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither));
    if (png.size() + 20 > target) {
        std::fprintf(stderr, "warning: %s is %zu bytes, above its %zu\n", rel.c_str(), png.size(), target);
        return png;
    }
    return pad_png(png, target, "jsb ");
}

QByteArray bytes_of(const std::string& s) { return QByteArray(s.data(), qsizetype(s.size())); }

// A picture written as drawn, or padded to exactly `exact` bytes.
kit::Output picture(const std::string& rel, std::function<QImage()> draw, size_t exact = 0)
{
    return {QString::fromStdString(rel), {}, std::move(draw), [rel, exact](const QImage& img) {
                return std::optional<QByteArray>(bytes_of(exact ? png_exact(img, exact, rel) : png_of(img)));
            }};
}

// A file that is not one picture.
kit::Output file(const std::string& rel, std::function<std::string()> make)
{
    return {QString::fromStdString(rel), {}, {}, [make](const QImage&) {
                return std::optional<QByteArray>(bytes_of(make()));
            }};
}

// ---- drawing helpers ---------------------------------------------------------

QImage canvas(int w, int h, QColor fill = Qt::transparent) { return kit::canvas(w, h, fill, QImage::Format_ARGB32); }

QFont font(int px, bool bold = false)
{
    QFont f = kit::font(px, bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// The largest font up to `px` whose text fits the width.
QFont fitting_font(const QString& text, int px, int width, bool bold = false)
{
    return kit::fitting_font(text, font(px, bold), width);
}

void text_in(QPainter& p, const QRectF& r, const QString& s, const QFont& f, QColor c)
{
    p.setFont(f);
    p.setPen(c);
    kit::text(p, r, Qt::AlignCenter, s);
}

enum State { Normal, Hover, Pressed, Disabled };
const char* const kStateNames[] = {"normal", "hover", "pressed", "disabled"};

// ---- button pictures --------------------------------------------------------------

struct CategoryButton {
    const char* key;
    const char* caption;
    QRgb color;
};
const CategoryButton kCategories[] = {
    {"cat_home", "软件主页", 0x3A6EA5}, {"cat_blasting", "爆破工程", 0xC0504D},
    {"cat_ventilation", "通风工程", 0x4BACC6}, {"cat_evaluation", "隧道评价", 0x8064A2},
    {"cat_excavation", "隧道开挖", 0x9B7B3B}, {"cat_schedule", "工期计算", 0x4F81BD},
    {"cat_safety", "工程安全", 0xE36C09}, {"cat_equipment", "工程设备", 0x5E7F3A},
    {"cat_supply", "风水配置", 0x2E8B8B},
};

QImage category_button(const CategoryButton& b, State s)
{
    QImage img = canvas(80, 80);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QColor base(b.color);
    QColor fill = s == Hover ? base.lighter(118) : s == Pressed ? base.darker(135) : base;
    QRectF r(3, 3, 74, 74);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(r, 12, 12);
    if (s == Pressed) {
        p.setPen(QPen(QColor(255, 255, 255), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), 10, 10);
    }
    // A round badge with the first character above the caption.
    QString cap = QString::fromUtf8(b.caption);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, s == Pressed ? 70 : 50));
    p.drawEllipse(QPointF(40, 30), 18, 18);
    text_in(p, QRectF(20, 10, 40, 40), cap.left(1), font(24, true), Qt::white);
    text_in(p, QRectF(4, 52, 72, 20), cap, fitting_font(cap, 15, 70, true), Qt::white);
    return img;
}

struct ModuleButton {
    const char* key;
    const char* caption;
    int w, h;
};
const ModuleButton kModules[] = {
    {"mod_smooth", "光面爆破", 80, 30}, {"mod_controlled", "控制爆破", 80, 30},
    {"mod_effect", "爆破影响", 80, 30}, {"mod_static", "静态爆破", 80, 30},
    {"mod_shallow", "浅孔爆破", 80, 30}, {"mod_deep", "深孔爆破", 80, 30},
    {"mod_flyrock", "爆破飞石", 80, 30}, {"mod_slope", "土方放坡", 80, 29},
    {"mod_vertical", "土方垂直", 80, 29}, {"mod_trestle", "仰拱栈桥", 80, 29},
    {"mod_excavator", "挖掘机", 80, 29}, {"mod_excavator_output", "生产率及数量", 80, 29},
    {"mod_excavator_trucks", "工期及渣车", 80, 29}, {"mod_roller", "压路机", 80, 29},
    {"mod_bulldozer", "推土机", 80, 29}, {"mod_rockdrill", "风动凿岩机", 80, 29},
    {"mod_mucking", "隧道除渣", 80, 32}, {"mod_air", "供风计算", 85, 32},
    {"mod_water", "供水计算", 85, 32},
};

// The excavator's two sub-buttons stand one above the other.
bool excavator_sub_button(const ModuleButton& b) { return std::string(b.key).rfind("mod_excavator_", 0) == 0; }

// A caption fitted to its button; captions that stand together share the
// size their longest one fits.
QFont caption_font(const ModuleButton& b, bool bold)
{
    QFont f = fitting_font(QString::fromUtf8(b.caption), 14, b.w - 6, bold);
    if (!excavator_sub_button(b)) return f;
    for (const ModuleButton& other : kModules)
        if (excavator_sub_button(other)) {
            QFont g = fitting_font(QString::fromUtf8(other.caption), 14, other.w - 6, bold);
            if (g.pixelSize() < f.pixelSize()) f = g;
        }
    return f;
}

QImage module_button(const ModuleButton& b, State s)
{
    QImage img = canvas(b.w, b.h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QColor fill = s == Normal ? QColor(0xE4, 0xEB, 0xF5) : s == Hover ? QColor(0xF4, 0xF8, 0xFF) : QColor(0x2F, 0x6D, 0xB5);
    QColor line = s == Pressed ? QColor(0x1D, 0x4E, 0x89) : s == Hover ? QColor(0x4A, 0x84, 0xC8) : QColor(0x9A, 0xAE, 0xC8);
    QColor ink = s == Pressed ? Qt::white : QColor(0x1F, 0x2D, 0x3D);
    p.setPen(QPen(line, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.5, 1.5, b.w - 3, b.h - 3), 5, 5);
    text_in(p, QRectF(2, 0, b.w - 4, b.h), QString::fromUtf8(b.caption), caption_font(b, s == Pressed), ink);
    return img;
}

// Compute and export buttons, 117 x 45.
QImage action_button(const char* caption, QColor base, State s)
{
    QImage img = canvas(117, 45);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QColor fill = s == Hover ? base.lighter(120) : s == Pressed ? base.darker(140) : s == Disabled ? QColor(0xB8, 0xB8, 0xB8) : base;
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(2, 2, 113, 41), 8, 8);
    if (s == Pressed) {
        p.setPen(QPen(QColor(255, 255, 255, 200), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(5, 5, 107, 35), 6, 6);
    }
    text_in(p, QRectF(2, 2, 113, 41), QString::fromUtf8(caption), font(20, true),
            s == Disabled ? QColor(0xEE, 0xEE, 0xEE) : Qt::white);
    return img;
}

void speaker(QPainter& p, QColor c)
{
    QPainterPath path;
    path.moveTo(8, 12);
    path.lineTo(11, 12);
    path.lineTo(15, 8);
    path.lineTo(15, 22);
    path.lineTo(11, 18);
    path.lineTo(8, 18);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

QImage sound_switch(bool on)
{
    QImage img = canvas(30, 30);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(on ? QColor(0x2E, 0x7D, 0x32) : QColor(0x80, 0x80, 0x80), 1.5));
    p.setBrush(on ? QColor(0xC8, 0xE6, 0xC9) : QColor(0xE0, 0xE0, 0xE0));
    p.drawEllipse(QRectF(1.5, 1.5, 27, 27));
    speaker(p, on ? QColor(0x1B, 0x5E, 0x20) : QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::NoBrush);
    if (on) {
        p.setPen(QPen(QColor(0x1B, 0x5E, 0x20), 1.6));
        p.drawArc(QRectF(12, 10, 8, 10), -50 * 16, 100 * 16);
        p.drawArc(QRectF(11, 7, 12, 16), -50 * 16, 100 * 16);
    } else {
        p.setPen(QPen(QColor(0xC6, 0x28, 0x28), 2));
        p.drawLine(QPointF(18, 11), QPointF(24, 19));
        p.drawLine(QPointF(24, 11), QPointF(18, 19));
    }
    return img;
}

QImage countdown(int n)
{
    QImage img = canvas(300, 40, QColor(0xF3, 0xF6, 0xFA));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(QColor(0xB4, 0xC3, 0xD6), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 299, 39));
    // Ten pips: the steps still to come.
    for (int k = 0; k < 10; ++k) {
        p.setPen(Qt::NoPen);
        p.setBrush(k < n ? QColor(0x2F, 0x6D, 0xB5) : QColor(0xD5, 0xDD, 0xE8));
        p.drawRoundedRect(QRectF(232 + (k % 5) * 6, k < 5 ? 12 : 22, 4, 6), 1, 1);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(n > 3 ? QColor(0x2F, 0x6D, 0xB5) : QColor(0xC6, 0x28, 0x28));
    p.drawEllipse(QRectF(264, 4, 32, 32));
    text_in(p, QRectF(264, 4, 32, 32), QString::number(n), font(n >= 10 ? 15 : 18, true), Qt::white);
    return img;
}

QImage lamp_still()
{
    QImage img = canvas(10, 10);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    p.setBrush(QColor(0xB0, 0xB0, 0xB0));
    p.drawEllipse(QRectF(1, 1, 8, 8));
    return img;
}

QImage lamp_frame(QColor c)
{
    QImage img = canvas(10, 10);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(1, 1, 8, 8));
    return img;
}

GifFrame frame_of(const QImage& img, int delay_cs)
{
    QImage a = img.convertToFormat(QImage::Format_ARGB32);
    GifFrame f;
    f.delay_cs = delay_cs;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            QRgb v = a.pixel(x, y);
            f.pixels.push_back({uint8_t(qRed(v)), uint8_t(qGreen(v)), uint8_t(qBlue(v)), uint8_t(qAlpha(v))});
        }
    return f;
}

QImage decoration(int frame)
{
    QImage img = canvas(80, 80);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A tunnel portal with a lamp travelling inside it.
    QPainterPath arch;
    arch.moveTo(10, 74);
    arch.lineTo(10, 40);
    arch.arcTo(QRectF(10, 10, 60, 60), 180, -180);
    arch.lineTo(70, 74);
    arch.closeSubpath();
    p.setPen(QPen(QColor(0x5A, 0x5A, 0x5A), 4));
    p.setBrush(QColor(0x33, 0x33, 0x33));
    p.drawPath(arch);
    const QColor lights[3] = {QColor(0xFF, 0xCC, 0x00), QColor(0xFF, 0x99, 0x00), QColor(0xFF, 0xFF, 0x99)};
    for (int k = 0; k < 3; ++k) {
        p.setPen(Qt::NoPen);
        p.setBrush(k == frame ? lights[k] : QColor(0x66, 0x66, 0x66));
        p.drawEllipse(QPointF(26 + k * 14, 52), 5, 5);
    }
    return img;
}

void tunnel_section(QPainter& p, QRectF r, QColor line)
{
    QPainterPath arch;
    arch.moveTo(r.left(), r.bottom());
    arch.lineTo(r.left(), r.top() + r.width() / 2);
    arch.arcTo(QRectF(r.left(), r.top(), r.width(), r.width()), 180, -180);
    arch.lineTo(r.right(), r.bottom());
    arch.closeSubpath();
    p.setPen(QPen(line, 3));
    p.setBrush(QColor(line.red(), line.green(), line.blue(), 30));
    p.drawPath(arch);
    // Blast holes on rings.
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    QPointF c(r.center().x(), r.top() + r.width() / 2);
    for (int ring = 1; ring <= 3; ++ring) {
        double rad = r.width() / 2 * ring / 3.6;
        for (int k = 0; k <= 8 + ring * 2; ++k) {
            double a = M_PI * k / (8 + ring * 2);
            p.drawEllipse(QPointF(c.x() + rad * std::cos(a), c.y() - rad * std::sin(a)), 3, 3);
        }
    }
}

// The main window shows its home picture as wide as its client area and
// 0.625 times as high: drawn at that shape, and at the size it has when the
// window opens at its own width, so the first paint copies it unscaled.
// Opaque, so that it is decoded without an alpha channel.
QImage home_picture()
{
    constexpr int kWidth = 1024, kHeight = 640; // 0.625 × the width
    QImage img = kit::canvas(kWidth, kHeight, Qt::white, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, 0, kHeight);
    g.setColorAt(0, QColor(0xE8, 0xF0, 0xFA));
    g.setColorAt(1, QColor(0xFF, 0xFF, 0xFF));
    p.fillRect(img.rect(), g);
    // The picture's content is laid out on 858 × 450, scaled to the width
    // and set in the middle of the height.
    const double scale = double(kWidth) / 858;
    p.translate(0, (kHeight - 450 * scale) / 2);
    p.scale(scale, scale);
    p.setFont(font(72, true));
    p.setPen(QColor(0x1F, 0x4E, 0x8C));
    kit::text(p, QRectF(50, 40, 420, 100), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("掘石宝"));
    p.setFont(font(26));
    p.setPen(QColor(0x33, 0x4D, 0x6E));
    kit::text(p, QRectF(54, 140, 420, 40), Qt::AlignLeft | Qt::AlignVCenter,
              QString::fromUtf8("隧道施工计算工具 · 青岚"));
    const char* cats[] = {"爆破工程", "通风工程", "隧道评价", "隧道开挖", "工期计算", "工程安全", "工程设备", "风水配置"};
    for (int k = 0; k < 8; ++k) {
        QRectF r(54 + (k % 4) * 98, 220 + (k / 4) * 52, 88, 38);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(kCategories[k + 1].color));
        p.drawRoundedRect(r, 8, 8);
        text_in(p, r, QString::fromUtf8(cats[k]), font(16, true), Qt::white);
    }
    p.setFont(font(15));
    p.setPen(QColor(0x55, 0x66, 0x77));
    kit::text(p, QRectF(54, 340, 460, 60), Qt::AlignLeft | Qt::TextWordWrap,
              QString::fromUtf8("点击上方分类按钮，进入各计算模块。"));
    tunnel_section(p, QRectF(520, 70, 280, 330), QColor(0x3A, 0x6E, 0xA5));
    return img;
}

// The splash window's picture, at the window's 550 x 271: laid out on a
// width of 1000 and scaled. The lower band, from 203 down, stays plain: the
// progress text and bar sit there.
QImage splash_picture()
{
    constexpr int kWidth = 550, kHeight = 271, kBand = 203;
    QImage img = canvas(kWidth, kHeight, Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, kWidth, 0);
    g.setColorAt(0, QColor(0x1F, 0x4E, 0x8C));
    g.setColorAt(1, QColor(0x3A, 0x8E, 0xC8));
    p.fillRect(QRectF(0, 0, kWidth, kBand), g);
    p.fillRect(QRectF(0, kBand, kWidth, kHeight - kBand), QColor(0xF4, 0xF7, 0xFB));
    const double scale = kWidth / 1000.0;
    p.scale(scale, scale);
    p.translate(0, (kBand / scale - 330) / 2);
    p.setFont(font(120, true));
    p.setPen(Qt::white);
    kit::text(p, QRectF(60, 40, 600, 170), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8("掘石宝"));
    p.setFont(font(40));
    kit::text(p, QRectF(66, 210, 600, 70), Qt::AlignLeft | Qt::AlignVCenter,
              QString::fromUtf8("隧道施工计算工具 · 青岚"));
    tunnel_section(p, QRectF(700, 40, 230, 290), QColor(0xFF, 0xFF, 0xFF));
    return img;
}

// The main window's notice panel, at the 248 x 72 of its box.
QImage panel_picture()
{
    constexpr int kWidth = 248, kHeight = 72;
    QImage img = canvas(kWidth, kHeight);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, kHeight);
    g.setColorAt(0, QColor(0x8A, 0x9B, 0xBA));
    g.setColorAt(1, QColor(0x5C, 0x6E, 0x90));
    p.setPen(QPen(QColor(0x4A, 0x5A, 0x78), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), 8, 8);
    return img;
}

QImage shop_button(State s)
{
    QImage img = canvas(30, 29);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QColor base(0xE3, 0x6C, 0x09);
    QColor fill = s == Hover ? base.lighter(120) : s == Pressed ? base.darker(135) : base;
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(5, 10, 20, 16), 3, 3);
    p.setPen(QPen(fill, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(10, 3, 10, 14), 0, 180 * 16);
    p.setPen(Qt::white);
    p.setFont(font(12, true));
    kit::text(p, QRectF(5, 10, 20, 16), Qt::AlignCenter, QString::fromUtf8("店"));
    return img;
}

QImage person_icon(bool group)
{
    QImage img = canvas(24, 24);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    auto person = [&](double cx, QColor c) {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(cx, 8), 4, 4);
        p.drawRoundedRect(QRectF(cx - 6, 13, 12, 9), 4, 4);
    };
    if (group) {
        person(7, QColor(0x7F, 0xA7, 0xD6));
        person(17, QColor(0x7F, 0xA7, 0xD6));
        person(12, QColor(0x1F, 0x4E, 0x8C));
    } else {
        person(12, QColor(0x2E, 0x8B, 0x57));
    }
    return img;
}

// An icon of 12 PNG images of growing size.
std::string icon_file()
{
    const int sizes[12] = {16, 20, 24, 32, 40, 48, 64, 72, 96, 128, 180, 256};
    std::vector<std::string> pngs;
    for (int s : sizes) {
        QImage img = canvas(s, s);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1F, 0x4E, 0x8C));
        p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.2, s * 0.2);
        text_in(p, QRectF(0, 0, s, s), QString::fromUtf8("掘"), font(std::max(9, int(s * 0.7)), true), Qt::white);
        p.end();
        pngs.push_back(png_of(img));
    }
    std::string out;
    auto le16 = [&](int v) { out.push_back(char(v & 0xFF)); out.push_back(char((v >> 8) & 0xFF)); };
    auto le32 = [&](uint32_t v) { for (int k = 0; k < 4; ++k) out.push_back(char((v >> (8 * k)) & 0xFF)); };
    le16(0);
    le16(1);
    le16(12);
    uint32_t offset = 6 + 16 * 12;
    for (int k = 0; k < 12; ++k) {
        out.push_back(char(sizes[k] >= 256 ? 0 : sizes[k]));
        out.push_back(char(sizes[k] >= 256 ? 0 : sizes[k]));
        out.push_back(0);
        out.push_back(0);
        le16(1);
        le16(32);
        le32(uint32_t(pngs[k].size()));
        le32(offset);
        offset += uint32_t(pngs[k].size());
    }
    for (auto& png : pngs) out += png;
    return out;
}

// ---- sounds --------------------------------------------------------------------------

struct Sound {
    const char* key;
    double seconds;
};
// One sound per navigation button, in the order of the pictures above.
const Sound kButtonSounds[] = {
    {"cat_home", 1.56}, {"cat_blasting", 1.06}, {"cat_ventilation", 1.16}, {"cat_evaluation", 0.94},
    {"cat_excavation", 0.86}, {"cat_schedule", 0.88}, {"cat_safety", 1.10}, {"cat_equipment", 1.06},
    {"cat_supply", 0.88}, {"mod_smooth", 1.24}, {"mod_controlled", 1.12}, {"mod_effect", 1.28},
    {"mod_static", 1.18}, {"mod_shallow", 1.62}, {"mod_deep", 1.58}, {"mod_flyrock", 1.44},
    {"mod_slope", 2.00}, {"mod_vertical", 2.02}, {"mod_trestle", 1.62}, {"mod_excavator", 1.34},
    {"mod_excavator_output", 1.68}, {"mod_excavator_trucks", 1.80}, {"mod_roller", 1.36},
    {"mod_bulldozer", 1.34}, {"mod_rockdrill", 1.78}, {"mod_mucking", 1.66}, {"mod_air", 1.62},
    {"mod_water", 1.62},
};

size_t frames_of(double seconds) { return size_t(std::lround(seconds * kSampleRate)); }

// A soft bell tone: a sine with a weaker octave, quick attack, exponential decay.
void add_tone(std::vector<float>& out, double start_s, double freq, double length_s, double amp)
{
    size_t from = size_t(start_s * kSampleRate);
    size_t n = size_t(length_s * kSampleRate);
    for (size_t i = 0; i < n && from + i < out.size(); ++i) {
        double t = double(i) / kSampleRate;
        double env = std::min(1.0, t / 0.006) * std::exp(-t * 5.0 / length_s);
        double v = std::sin(2 * M_PI * freq * t) + 0.3 * std::sin(4 * M_PI * freq * t);
        out[from + i] += float(amp * env * v);
    }
}

void fade_tail(std::vector<float>& s)
{
    size_t n = std::min<size_t>(s.size(), kSampleRate / 50);
    for (size_t i = 0; i < n; ++i) s[s.size() - 1 - i] *= float(i) / float(n);
}

// Button sound k: three notes of a pentatonic scale, chosen so no two
// buttons play the same phrase.
std::vector<float> button_sound(int k, double seconds)
{
    static const double scale[] = {261.63, 293.66, 329.63, 392.00, 440.00, 523.25, 587.33, 659.25, 783.99, 880.00};
    std::vector<float> s(frames_of(seconds), 0.0f);
    int a = k % 10, b = (k * 3 + 2) % 10, c = (k * 7 + 5) % 10;
    if (b == a) b = (b + 1) % 10;
    if (c == b) c = (c + 2) % 10;
    double step = seconds * 0.22;
    add_tone(s, 0.0, scale[a], seconds * 0.5, 0.28);
    add_tone(s, step, scale[b], seconds * 0.55, 0.28);
    add_tone(s, 2 * step, scale[c], seconds - 2 * step, 0.30);
    fade_tail(s);
    return s;
}

std::vector<float> click_sound()
{
    std::vector<float> s(frames_of(0.66), 0.0f);
    uint32_t noise = 12345;
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / kSampleRate;
        noise = noise * 1664525u + 1013904223u;
        double n = (double(noise >> 8) / double(1 << 24)) * 2 - 1;
        double env = std::exp(-t * 90.0);
        s[i] = float(0.5 * env * (0.6 * n + 0.4 * std::sin(2 * M_PI * 1800 * t)));
    }
    add_tone(s, 0.0, 1200, 0.66, 0.08);
    fade_tail(s);
    return s;
}

std::vector<float> rising_sound(double seconds, std::initializer_list<double> notes)
{
    std::vector<float> s(frames_of(seconds), 0.0f);
    double step = seconds / (notes.size() + 1);
    int k = 0;
    for (double f : notes) {
        add_tone(s, k * step, f, seconds - k * step, 0.25);
        ++k;
    }
    fade_tail(s);
    return s;
}

std::vector<kit::Output> outputs(const QString&)
{
    std::vector<kit::Output> out;
    // Navigation buttons.
    for (const auto& b : kCategories)
        for (State s : {Normal, Hover, Pressed})
            out.push_back(picture(std::string("resources/pictures/main/") + b.key + "_" + kStateNames[s] + ".png",
                                  [&b, s] { return category_button(b, s); }));
    for (const auto& b : kModules)
        for (State s : {Normal, Hover, Pressed})
            out.push_back(picture(std::string("resources/pictures/main/") + b.key + "_" + kStateNames[s] + ".png",
                                  [&b, s] { return module_button(b, s); }));

    // Main window pieces.
    out.push_back(picture(
        "resources/pictures/main/sound_on.png", [] { return sound_switch(true); }, 3654));
    out.push_back(picture(
        "resources/pictures/main/sound_off.png", [] { return sound_switch(false); }, 3642));
    for (State s : {Normal, Hover, Pressed})
        out.push_back(picture(std::string("resources/pictures/main/shop_") + kStateNames[s] + ".png",
                              [s] { return shop_button(s); }));
    out.push_back(picture("resources/pictures/main/toolbar_0.png", [] { return person_icon(false); }));
    out.push_back(picture("resources/pictures/main/toolbar_1.png", [] { return person_icon(true); }));
    out.push_back(picture("resources/pictures/main/home.png", home_picture));
    out.push_back(picture("resources/pictures/main/panel.png", panel_picture));
    out.push_back(file("resources/pictures/main/decoration.gif", [] {
        return encode_gif(80, 80, {frame_of(decoration(0), 0), frame_of(decoration(1), 0), frame_of(decoration(2), 0)});
    }));

    // Splash.
    out.push_back(picture("resources/pictures/splash/background.png", splash_picture));
    out.push_back(file("resources/pictures/splash/icon.ico", icon_file));

    // Shared by the module forms.
    static const size_t compute_sizes[4] = {2453, 1999, 4200, 2395};
    static const size_t export_sizes[4] = {3046, 3029, 6055, 3098};
    for (State s : {Normal, Hover, Pressed, Disabled}) {
        out.push_back(picture(
            std::string("resources/pictures/common/compute_") + kStateNames[s] + ".png",
            [s] { return action_button("计  算", QColor(0x2E, 0x8B, 0x57), s); }, compute_sizes[s]));
        out.push_back(picture(
            std::string("resources/pictures/common/export_") + kStateNames[s] + ".png",
            [s] { return action_button("导  出", QColor(0x1F, 0x6F, 0xB2), s); }, export_sizes[s]));
    }
    // Sizes of the countdown pictures, 10 down to 0.
    static const size_t countdown_sizes[11] = {8695, 8955, 9085, 9239, 9372, 9487, 9406, 9426, 9514, 9386, 9343};
    for (int n = 10; n >= 0; --n)
        out.push_back(picture(
            "resources/pictures/common/countdown_" + std::to_string(n) + ".png", [n] { return countdown(n); },
            countdown_sizes[10 - n]));
    out.push_back(picture("resources/pictures/common/lamp_start.png", lamp_still));
    out.push_back(file("resources/pictures/common/lamp_busy.gif", [] {
        return encode_gif(10, 10,
                          {frame_of(lamp_frame(QColor(0xFF, 0xB3, 0x47)), 0),
                           frame_of(lamp_frame(QColor(0xFF, 0x80, 0x00)), 0),
                           frame_of(lamp_frame(QColor(0xE5, 0x30, 0x00)), 20)});
    }));
    out.push_back(file("resources/pictures/common/lamp_idle.gif", [] {
        return encode_gif(
            10, 10,
            {frame_of(lamp_frame(QColor(0x1E, 0x9E, 0x3A)), 50), frame_of(lamp_frame(QColor(0x3C, 0xB8, 0x55)), 20),
             frame_of(lamp_frame(QColor(0x66, 0xCC, 0x77)), 20), frame_of(lamp_frame(QColor(0x99, 0xDD, 0x99)), 10),
             frame_of(lamp_frame(QColor(0x66, 0xCC, 0x77)), 10), frame_of(lamp_frame(QColor(0x3C, 0xB8, 0x55)), 0)});
    }));

    // Sounds.
    out.push_back(file("resources/sounds/click.wav", [] { return encode_wav(click_sound()); }));
    out.push_back(file("resources/sounds/compute.wav", [] {
        return encode_wav(rising_sound(0.64, {523.25, 659.25, 783.99}));
    }));
    out.push_back(file("resources/sounds/export.wav", [] {
        return encode_wav(rising_sound(1.40, {392.00, 523.25, 659.25, 783.99, 1046.5}));
    }));
    int k = 0;
    for (const auto& s : kButtonSounds) {
        out.push_back(file(std::string("resources/sounds/") + s.key + ".wav",
                           [k, &s] { return encode_wav(button_sound(k, s.seconds)); }));
        ++k;
    }
    return out;
}

} // namespace

int main(int argc, char** argv) { return kit::run(argc, argv, outputs); }
