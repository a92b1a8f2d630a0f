#include "ui/qt/qt_look.h"

#include <QApplication>
#include <QBuffer>
#include <QFontDatabase>
#include <QHash>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStyle>
#include <QTranslator>

#include <list>
#include <map>

namespace ui::qt {

void use_program_look()
{
    // The forms paint their own light colours: a dark desktop theme must not
    // give the stock widgets a dark palette among them.
    QApplication::setStyle("Fusion");
    QApplication::setPalette(QApplication::style()->standardPalette());
    // The standard dialogs (file dialog, colour names) in Chinese.
    auto* qt_zh = new QTranslator(qApp);
    if (qt_zh->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qt_zh);
}

QColor button_face() { return QColor(0xF0, 0xF0, 0xF0); }

QColor to_qcolor(int32_t v)
{
    if (v == kButtonFace) return button_face();
    uint32_t u = uint32_t(v);
    return QColor(int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF));
}

QString cjk_family()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        // Zen Hei first: Micro Hei claims the Roman numerals Ⅰ–Ⅻ of the rock
        // classes but draws Ⅴ blank.
        for (const char* name : {"WenQuanYi Zen Hei", "Noto Sans CJK SC", "Noto Sans SC", "WenQuanYi Micro Hei",
                                 "Source Han Sans SC", "AR PL UMing CN", "Droid Sans Fallback"})
            if (installed.contains(QString::fromUtf8(name))) return QString::fromUtf8(name);
        for (const QString& f : installed)
            if (QFontDatabase::writingSystems(f).contains(QFontDatabase::SimplifiedChinese)) return f;
        return QFont().defaultFamily();
    }();
    return family;
}

namespace {
// Windows faces whose glyphs matter most for Chinese text; they are never
// installed here, so they go straight to the CJK family.
bool is_windows_cjk_face(const QString& face)
{
    static const QStringList faces = {
        "宋体", "新宋体", "黑体", "微软雅黑", "楷体", "楷体_GB2312", "仿宋", "仿宋_GB2312", "隶书", "幼圆",
        "华文细黑", "华文黑体", "华文楷体", "华文宋体", "华文中宋", "华文仿宋", "华文彩云", "华文琥珀",
        "华文隶书", "华文行楷", "华文新魏", "方正舒体", "方正姚体", "SimSun", "NSimSun", "SimHei",
        "Microsoft YaHei", "KaiTi", "FangSong", "Microsoft JhengHei", "MingLiU", "PMingLiU",
    };
    return faces.contains(face, Qt::CaseInsensitive);
}
} // namespace

namespace {
QStringList families_for(const std::string& face_name)
{
    static std::map<std::string, QStringList> known;
    auto it = known.find(face_name);
    if (it != known.end()) return it->second;
    QString face = QString::fromStdString(face_name);
    bool installed = !face.isEmpty() && QFontDatabase::hasFamily(face);
    bool non_latin = face.contains(QRegularExpression("[^\\x00-\\x7F]"));
    QStringList families;
    if (face.isEmpty() || is_windows_cjk_face(face) || (non_latin && !installed))
        families = {cjk_family()};
    else
        // A Latin face keeps its look where installed (or a fontconfig
        // substitute); Chinese characters fall back to the CJK family.
        families = {face, cjk_family()};
    known[face_name] = families;
    return families;
}
} // namespace

QFont to_qfont(const Font& f)
{
    QFont q;
    q.setFamilies(families_for(f.face));
    int pt = f.size > 0 ? f.size : 9;
    q.setPixelSize(std::max(1, (pt * 96 + 36) / 72));
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    return q;
}

QString to_qtext(const std::string& s)
{
    QString q = QString::fromUtf8(s.data(), qsizetype(s.size()));
    q.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    q.replace(QChar('\r'), QChar('\n'));
    return q;
}

std::string from_qtext(const QString& s, bool crlf)
{
    QString q = s;
    if (crlf) q.replace(QChar('\n'), QLatin1String("\r\n"));
    QByteArray u = q.toUtf8();
    return std::string(u.constData(), size_t(u.size()));
}

namespace {
Picture decode(const Bytes& data, int32_t transparent)
{
    Picture p;
    QByteArray bytes = QByteArray::fromRawData(data.data(), qsizetype(data.size()));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    reader.setDecideFormatFromContent(true);
    for (;;) {
        QImage img = reader.read();
        if (img.isNull()) break;
        img = img.convertToFormat(QImage::Format_ARGB32);
        if (transparent >= 0) {
            QRgb key = to_qcolor(transparent).rgb() & 0xFFFFFF;
            for (int y = 0; y < img.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < img.width(); ++x)
                    if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
            }
        }
        p.frames.push_back(std::move(img));
        if (!reader.supportsAnimation() || reader.imageCount() == 1) break;
    }
    return p;
}

struct CacheEntry {
    Bytes data;
    int32_t transparent;
    std::shared_ptr<const Picture> picture;
    size_t cost;
};
} // namespace

std::shared_ptr<const Picture> decode_picture(const Bytes& data, int32_t transparent)
{
    // Programs write the same few button pictures over and over and paint
    // them on every repaint: the pictures used last stay decoded, up to a
    // bound, as the reference pictures can be large.
    static std::list<CacheEntry> cache; // most recently used first
    static size_t total = 0;
    constexpr size_t k_bound = size_t(128) << 20;
    static const auto none = std::make_shared<const Picture>();
    if (data.empty()) return none;
    for (auto it = cache.begin(); it != cache.end(); ++it)
        if (it->transparent == transparent && it->data.size() == data.size() && it->data == data) {
            cache.splice(cache.begin(), cache, it);
            return it->picture;
        }
    auto pic = std::make_shared<const Picture>(decode(data, transparent));
    size_t cost = data.size();
    for (const QImage& f : pic->frames) cost += size_t(f.sizeInBytes());
    cache.push_front({data, transparent, pic, cost});
    total += cost;
    while (total > k_bound && cache.size() > 1) {
        total -= cache.back().cost;
        cache.pop_back();
    }
    return pic;
}

} // namespace ui::qt
