#include "ui/qt/qt_look.h"

#include <QApplication>
#include <QBuffer>
#include <QFontDatabase>
#include <QHash>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOption>
#include <QThreadPool>
#include <QTranslator>

#include <atomic>
#include <condition_variable>
#include <list>
#include <map>
#include <mutex>
#include <tuple>

namespace ui::qt {

namespace {

// The stock style, with the frame of a one-line edit box drawn once per
// size, state and palette and then copied: a form repaints dozens of result
// boxes when a click fills them, and stroking each frame's rounded,
// antialiased outline anew was most of that repaint.
class ProgramStyle : public QProxyStyle {
public:
    ProgramStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p, const QWidget* w) const override
    {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(opt);
        const QSize size = opt->rect.size();
        if (pe != PE_PanelLineEdit || !frame || size.isEmpty() || size.width() * size.height() > (1 << 16) ||
            p->transform().type() > QTransform::TxTranslate)
            return QProxyStyle::drawPrimitive(pe, opt, p, w);
        const qreal dpr = p->device() ? p->device()->devicePixelRatioF() : 1.0;
        const Key key{opt->palette.cacheKey(), uint(opt->state), size.width(), size.height(), frame->lineWidth,
                      int(opt->direction), dpr};
        auto it = drawn_.find(key);
        if (it == drawn_.end()) {
            // Boxes come in a few sizes and palettes: a bound that is never
            // reached in use, for safety only.
            if (drawn_.size() >= 1024) drawn_.clear();
            QPixmap pix((QSizeF(size) * dpr).toSize());
            pix.setDevicePixelRatio(dpr);
            pix.fill(Qt::transparent);
            QPainter dp(&pix);
            QStyleOptionFrame at = *frame;
            at.rect = QRect(QPoint(0, 0), size);
            QProxyStyle::drawPrimitive(pe, &at, &dp, w);
            dp.end();
            it = drawn_.emplace(key, std::move(pix)).first;
        }
        p->drawPixmap(opt->rect.topLeft(), it->second);
    }

private:
    struct Key {
        qint64 palette;
        uint state;
        int width, height, line_width, direction;
        qreal dpr;
        bool operator<(const Key& o) const
        {
            return std::tie(palette, state, width, height, line_width, direction, dpr) <
                   std::tie(o.palette, o.state, o.width, o.height, o.line_width, o.direction, o.dpr);
        }
    };
    mutable std::map<Key, QPixmap> drawn_;
};

} // namespace

void use_program_look()
{
    // The forms paint their own light colours: a dark desktop theme must not
    // give the stock widgets a dark palette among them.
    QApplication::setStyle(new ProgramStyle);
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
// Many pictures carry an alpha channel that is opaque everywhere; drawn
// scaled, such a picture needs no transparent canvas.
bool fully_opaque(const QImage& img)
{
    if (!img.hasAlphaChannel()) return true;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(line[x]) != 255) return false;
    }
    return true;
}

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
        if (transparent >= 0) {
            img = img.convertToFormat(QImage::Format_ARGB32);
            QRgb key = to_qcolor(transparent).rgb() & 0xFFFFFF;
            for (int y = 0; y < img.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
                for (int x = 0; x < img.width(); ++x)
                    if ((line[x] & 0xFFFFFF) == key) line[x] = 0;
            }
            img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        } else if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32 &&
                   img.format() != QImage::Format_ARGB32_Premultiplied) {
            // Formats a paint takes as they are stay as they are decoded.
            img = img.convertToFormat(img.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        }
        p.opaque.push_back(fully_opaque(img));
        p.frames.push_back(std::move(img));
        if (!reader.supportsAnimation() || reader.imageCount() == 1) break;
    }
    return p;
}

// A picture as drawn at one size and frame: what a paint copies to the screen.
struct Drawn {
    QSize size;
    qreal dpr;
    int frame;
    QPixmap pixmap;
};

struct CacheEntry {
    Bytes data; // an embedded picture is only referred to
    int32_t transparent;
    std::shared_ptr<const Picture> picture;
    std::vector<Drawn> drawn; // the latest sizes it was shown at, newest last
    size_t cost;
};

// Embedded pictures of a form that is about to show, decoded on a worker
// thread meanwhile. A paint that needs one the worker has not begun decodes
// it itself; one the worker is decoding, it waits for.
class DecodeAhead {
public:
    void start(std::vector<std::pair<Bytes, int32_t>> pictures)
    {
        std::vector<std::shared_ptr<Job>> batch;
        {
            std::lock_guard lock(mutex_);
            // Pictures decoded for an earlier form that never showed them
            // (hidden controls) are not kept.
            for (auto it = jobs_.begin(); it != jobs_.end();) {
                if (it->second->finished()) it = jobs_.erase(it);
                else ++it;
            }
            for (auto& [data, transparent] : pictures) {
                auto key = std::make_pair(data.data(), transparent);
                if (jobs_.count(key)) continue;
                auto job = std::make_shared<Job>();
                job->data = data;
                job->transparent = transparent;
                jobs_[key] = job;
                batch.push_back(job);
            }
        }
        if (batch.empty()) return;
        QThreadPool::globalInstance()->start([batch] {
            for (const auto& job : batch) job->run();
        });
    }

    std::shared_ptr<const Picture> take(const Bytes& data, int32_t transparent)
    {
        if (!data.is_lasting()) return nullptr;
        std::shared_ptr<Job> job;
        {
            std::lock_guard lock(mutex_);
            auto it = jobs_.find({data.data(), transparent});
            if (it == jobs_.end()) return nullptr;
            job = it->second;
            jobs_.erase(it);
        }
        job->run();
        return job->wait();
    }

private:
    struct Job {
        Bytes data;
        int32_t transparent = -1;
        std::atomic<bool> taken{false};
        std::mutex mutex;
        std::condition_variable done_cv;
        std::shared_ptr<const Picture> result;
        // Whoever comes first decodes; the other one finds it done or waits.
        void run()
        {
            if (taken.exchange(true)) return;
            auto pic = std::make_shared<const Picture>(decode(data, transparent));
            std::lock_guard lock(mutex);
            result = std::move(pic);
            done_cv.notify_all();
        }
        bool finished()
        {
            std::lock_guard lock(mutex);
            return result != nullptr;
        }
        std::shared_ptr<const Picture> wait()
        {
            std::unique_lock lock(mutex);
            done_cv.wait(lock, [this] { return result != nullptr; });
            return result;
        }
    };
    std::mutex mutex_;
    std::map<std::pair<const char*, int32_t>, std::shared_ptr<Job>> jobs_;
};

DecodeAhead& ahead()
{
    static DecodeAhead a;
    return a;
}

// Programs write the same few button pictures over and over and paint them
// on every repaint: the pictures used last stay decoded and drawn at the
// sizes they are shown at, up to a bound, as the reference pictures can be
// large.
struct PictureCache {
    std::list<CacheEntry> entries; // most recently used first
    size_t total = 0;
    static constexpr size_t k_bound = size_t(40) << 20;
    static constexpr size_t k_sizes_per_picture = 4;

    CacheEntry& entry(const Bytes& data, int32_t transparent)
    {
        for (auto it = entries.begin(); it != entries.end(); ++it)
            if (it->transparent == transparent && it->data.size() == data.size() &&
                (it->data.data() == data.data() || it->data == data)) {
                entries.splice(entries.begin(), entries, it);
                return entries.front();
            }
        std::shared_ptr<const Picture> pic = ahead().take(data, transparent);
        if (!pic) pic = std::make_shared<const Picture>(decode(data, transparent));
        size_t cost = data.is_lasting() ? 0 : data.size();
        for (const QImage& f : pic->frames) cost += size_t(f.sizeInBytes());
        entries.push_front({data, transparent, pic, {}, cost});
        total += cost;
        return entries.front();
    }
    void add_cost(CacheEntry& e, long long delta)
    {
        e.cost = size_t((long long)e.cost + delta);
        total = size_t((long long)total + delta);
    }
    void trim()
    {
        while (total > k_bound && entries.size() > 1) {
            total -= entries.back().cost;
            entries.pop_back();
        }
    }
};

PictureCache& picture_cache()
{
    static PictureCache cache;
    return cache;
}

size_t pixmap_cost(const QPixmap& p) { return size_t(p.width()) * size_t(p.height()) * 4; }
} // namespace

void decode_ahead(const std::vector<std::pair<Bytes, int32_t>>& pictures)
{
    std::vector<std::pair<Bytes, int32_t>> wanted;
    for (const auto& [data, transparent] : pictures) {
        if (!data.is_lasting() || data.empty()) continue;
        bool cached = false;
        for (const CacheEntry& e : picture_cache().entries)
            cached = cached || (e.transparent == transparent && e.data.data() == data.data());
        if (!cached) wanted.emplace_back(data, transparent);
    }
    ahead().start(std::move(wanted));
}

std::shared_ptr<const Picture> decode_picture(const Bytes& data, int32_t transparent)
{
    static const auto none = std::make_shared<const Picture>();
    if (data.empty()) return none;
    PictureCache& cache = picture_cache();
    auto pic = cache.entry(data, transparent).picture;
    cache.trim();
    return pic;
}

QPixmap picture_at(const Bytes& data, int32_t transparent, QSize size, qreal dpr, int frame)
{
    if (data.empty() || size.isEmpty()) return {};
    PictureCache& cache = picture_cache();
    CacheEntry& e = cache.entry(data, transparent);
    if (e.picture->empty()) return {};
    frame = int(size_t(std::max(0, frame)) % e.picture->frames.size());
    for (const Drawn& d : e.drawn)
        if (d.size == size && d.dpr == dpr && d.frame == frame) return d.pixmap;
    // Drawn once as a paint would draw it (smooth when scaled), then copied.
    const QImage& img = e.picture->frame(frame);
    const QSize device = (QSizeF(size) * dpr).toSize();
    QImage out;
    if (device == img.size()) {
        out = img;
    } else {
        // An opaque picture covers every pixel: nothing to clear first.
        const bool opaque = e.picture->frame_opaque(frame);
        out = QImage(device, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
        if (!opaque) out.fill(Qt::transparent);
        QPainter p(&out);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (opaque) p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QRect(QPoint(), device), img);
    }
    out.setDevicePixelRatio(dpr);
    QPixmap pixmap = QPixmap::fromImage(std::move(out));
    if (e.drawn.size() >= PictureCache::k_sizes_per_picture) {
        cache.add_cost(e, -(long long)pixmap_cost(e.drawn.front().pixmap));
        e.drawn.erase(e.drawn.begin());
    }
    e.drawn.push_back({size, dpr, frame, pixmap});
    cache.add_cost(e, (long long)pixmap_cost(pixmap));
    cache.trim();
    return pixmap;
}

} // namespace ui::qt
