#include "ui/qt/qt_controls.h"

#include "ui/qt/qt_fit.h"
#include "ui/value.h"

#include <QEnterEvent>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <cmath>

namespace ui::qt {

namespace {
// The picture as the widget shows it, scaled to the widget.
void draw_picture(QWidget* w, QPainter& p, const Bytes& data, int32_t transparent, int frame = 0)
{
    QPixmap pm = picture_at(data, transparent, w->size(), w->devicePixelRatioF(), frame);
    if (!pm.isNull()) p.drawPixmap(0, 0, pm);
}
} // namespace

// ---- picture button ------------------------------------------------------------

PicButtonView::PicButtonView(Control& c, QWidget* parent) : QWidget(parent), c_(c)
{
    setAttribute(Qt::WA_Hover);
}

PicButtonView::State PicButtonView::state() const
{
    if (c_.disabled) return Disabled;
    if (down_) return over_ ? Pressed : Normal;
    return over_ ? Hover : Normal;
}

const Bytes& PicButtonView::shown_picture() const
{
    const Bytes& own = c_.pictures[int(state())];
    return own.empty() ? c_.pictures[0] : own;
}

void PicButtonView::paintEvent(QPaintEvent*)
{
    const Bytes& shown = shown_picture();
    if (shown.empty()) return;
    QPainter p(this);
    draw_picture(this, p, shown, c_.transparent_color);
}

void PicButtonView::enterEvent(QEnterEvent*)
{
    over_ = true;
    update();
}

void PicButtonView::leaveEvent(QEvent*)
{
    over_ = false;
    update();
}

void PicButtonView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return QWidget::mousePressEvent(e);
    down_ = true;
    over_ = true;
    update();
}

void PicButtonView::mouseMoveEvent(QMouseEvent* e)
{
    bool over = rect().contains(e->position().toPoint());
    if (over != over_) {
        over_ = over;
        update();
    }
}

void PicButtonView::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !down_) return QWidget::mouseReleaseEvent(e);
    down_ = false;
    over_ = rect().contains(e->position().toPoint());
    bool click = over_ && !c_.disabled;
    update();
    if (click) emit clicked();
}

// ---- picture box -------------------------------------------------------------------

PictureView::PictureView(Control& c, QWidget* parent) : QWidget(parent), c_(c) {}

void PictureView::set_frame(int frame)
{
    if (frame == frame_) return;
    frame_ = frame;
    update();
}

int PictureView::frame_count() const { return int(decode_picture(c_.pictures[0], c_.transparent_color)->frames.size()); }

QRect PictureView::picture_area() const
{
    auto pic = decode_picture(c_.pictures[0], c_.transparent_color);
    if (pic->empty()) return {};
    return picture_rect(rect(), pic->frame(frame_).size());
}

void PictureView::paintEvent(QPaintEvent*)
{
    if (c_.pictures[0].empty()) return;
    // The picture keeps its own shape inside the box; the box's margins
    // beside it show what lies behind.
    const QRect r = picture_area();
    if (r.isEmpty()) return;
    QPainter p(this);
    QPixmap pm = picture_at(c_.pictures[0], c_.transparent_color, r.size(), devicePixelRatioF(), frame_);
    if (!pm.isNull()) p.drawPixmap(r.topLeft(), pm);
}

// ---- shape box ---------------------------------------------------------------------------

ShapeView::ShapeView(Control& c, QWidget* parent) : QWidget(parent), c_(c), client_(new QWidget(this)) {}

void ShapeView::resizeEvent(QResizeEvent*) { client_->setGeometry(rect().adjusted(1, 1, -1, -1)); }

void ShapeView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (c_.back_color != kButtonFace) p.fillRect(rect(), to_qcolor(c_.back_color));
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---- form client area -------------------------------------------------------------------

ClientView::ClientView(Control& c, QWidget* parent) : QWidget(parent), c_(c)
{
    // It fills all of itself with an opaque colour: nothing beneath it needs
    // painting when part of a form repaints.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), to_qcolor(c_.back_color));
    draw_picture(this, p, c_.pictures[0], -1);
}

// ---- group box ---------------------------------------------------------------------------

void GroupView::paintEvent(QPaintEvent* e)
{
    QStyleOptionGroupBox opt;
    initStyleOption(&opt);
    const qreal dpr = devicePixelRatioF();
    if (frame_.isNull() || size_ != size() || dpr_ != dpr || state_ != opt.state || palette_ != opt.palette.cacheKey() ||
        font_ != font() || text_ != opt.text || style_ != style()) {
        size_ = size();
        dpr_ = dpr;
        state_ = opt.state;
        palette_ = opt.palette.cacheKey();
        font_ = font();
        text_ = opt.text;
        style_ = style();
        frame_ = QPixmap((QSizeF(size()) * dpr).toSize());
        frame_.setDevicePixelRatio(dpr);
        frame_.fill(Qt::transparent);
        QPainter fp(&frame_);
        QStyleOptionGroupBox frame = opt;
        frame.subControls &= ~QStyle::SC_GroupBoxLabel;
        style()->drawComplexControl(QStyle::CC_GroupBox, &frame, &fp, this);
        label_ = style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, this);
    }
    QPainter p(this);
    for (const QRect& r : e->region()) p.drawPixmap(r, frame_, QRectF(QPointF(r.topLeft()) * dpr, QSizeF(r.size()) * dpr));
    if ((opt.subControls & QStyle::SC_GroupBoxLabel) && !opt.text.isEmpty() && e->region().intersects(label_)) {
        QStyleOptionGroupBox title = opt;
        title.subControls = QStyle::SC_GroupBoxLabel;
        style()->drawComplexControl(QStyle::CC_GroupBox, &title, &p, this);
    }
}

// ---- tab -------------------------------------------------------------------------------

TabView::TabView(Control& c, QWidget* parent) : QWidget(parent), c_(c)
{
    if (!c_.headerless) {
        bar_ = new QTabBar(this);
        static const QTabBar::Shape shapes[] = {QTabBar::RoundedNorth, QTabBar::RoundedSouth, QTabBar::RoundedWest,
                                                QTabBar::RoundedEast};
        bar_->setShape(shapes[std::clamp(c_.header_side, 0, 3)]);
        bar_->setExpanding(false);
        bar_->setUsesScrollButtons(!c_.multiline);
        bar_->setDrawBase(false);
        connect(bar_, &QTabBar::currentChanged, this, [this](int i) { emit page_clicked(i); });
    }
    page(std::max<int>(0, int(c_.page_captions.size()) - 1));
}

QWidget* TabView::page(int i)
{
    while (int(pages_.size()) <= i) {
        auto* w = new QWidget(this);
        w->setGeometry(rect());
        w->setVisible(int(pages_.size()) == c_.current_page);
        pages_.push_back(w);
        if (bar_) bar_->raise();
    }
    return pages_[size_t(i)];
}

void TabView::layout_bar()
{
    if (!bar_) return;
    QSize hint = bar_->sizeHint();
    switch (c_.header_side) {
    case 1: bar_->setGeometry(0, height() - hint.height(), std::min(width(), hint.width()), hint.height()); break;
    case 2: bar_->setGeometry(0, 0, hint.width(), std::min(height(), hint.height())); break;
    case 3: bar_->setGeometry(width() - hint.width(), 0, hint.width(), std::min(height(), hint.height())); break;
    default: bar_->setGeometry(0, 0, std::min(width(), hint.width()), hint.height()); break;
    }
}

void TabView::sync()
{
    if (bar_) {
        QSignalBlocker block(bar_);
        int n = int(c_.page_captions.size());
        while (bar_->count() > n) bar_->removeTab(bar_->count() - 1);
        for (int i = 0; i < n; ++i) {
            QString cap = to_qtext(c_.page_captions[size_t(i)]);
            if (i < bar_->count()) bar_->setTabText(i, cap);
            else bar_->addTab(cap);
        }
        if (c_.current_page < bar_->count()) bar_->setCurrentIndex(c_.current_page);
        layout_bar();
    }
    page(c_.current_page);
    for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->setVisible(int(i) == c_.current_page);
    if (bar_) bar_->raise();
    update();
}

void TabView::resizeEvent(QResizeEvent*)
{
    for (QWidget* p : pages_) p->setGeometry(rect());
    layout_bar();
}

void TabView::paintEvent(QPaintEvent*)
{
    if (!bar_) return;
    QPainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    QRect r = rect();
    QRect b = bar_->geometry();
    switch (c_.header_side) {
    case 1: r.setBottom(b.top() - 1); break;
    case 2: r.setLeft(b.right() + 1); break;
    case 3: r.setRight(b.left() - 1); break;
    default: r.setTop(b.bottom() + 1); break;
    }
    opt.rect = r;
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &opt, &p, this);
}

// ---- bar chart ----------------------------------------------------------------------------

ChartView::ChartView(Control& c, QWidget* parent) : QWidget(parent), c_(c) {}

void ChartView::paintEvent(QPaintEvent*)
{
    const ChartModel& m = c_.chart;
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(font());
    QFontMetrics fm(font());
    int line = fm.height();

    QRect area = rect().adjusted(6, 4, -6, -4);
    if (!m.title.empty()) {
        QFont tf = font();
        tf.setBold(true);
        p.setFont(tf);
        p.setPen(Qt::black);
        p.drawText(QRect(area.left(), area.top(), area.width(), line + 2), Qt::AlignCenter, to_qtext(m.title));
        p.setFont(font());
        area.setTop(area.top() + line + 6);
    }

    // Legend on the right: one colour square and name per series.
    int legend_w = 0;
    for (int s = 0; s < m.series_count; ++s)
        legend_w = std::max(legend_w, fm.horizontalAdvance(to_qtext(m.series_names[size_t(s)])));
    if (legend_w > 0) {
        legend_w += line + 10;
        int y = area.top() + 4;
        for (int s = 0; s < m.series_count; ++s) {
            QRect box(area.right() - legend_w + 4, y + 2, line - 4, line - 4);
            p.fillRect(box, to_qcolor(m.series_colors[size_t(s)]));
            p.setPen(Qt::black);
            p.drawText(QPoint(box.right() + 4, y + fm.ascent()), to_qtext(m.series_names[size_t(s)]));
            y += line + 2;
        }
        area.setRight(area.right() - legend_w - 4);
    }

    double ymax = m.y_maximum;
    // No bar rises above the cap, so neither does the axis: a top far
    // beyond it would flatten capped bars to nothing.
    if (ymax > kChartValueCap) ymax = kChartValueCap;
    if (ymax <= 0) {
        ymax = 1;
        for (auto& row : m.values)
            for (double v : row) ymax = std::max(ymax, v);
    }
    // Numbered lines at plain steps up to the axis's top (458 is numbered
    // 0, 50 ... 450, not 45.8, 91.6 ...).
    const double step = axis_step(ymax, std::max(1, m.y_divisions));
    std::vector<double> ticks;
    for (int k = 0; k * step <= ymax * (1 + 1e-9); ++k) ticks.push_back(k * step);
    axis_texts_.clear();
    int label_w = 0;
    for (double v : ticks) {
        axis_texts_.push_back(QString::fromStdString(number_to_text(v)));
        label_w = std::max(label_w, fm.horizontalAdvance(axis_texts_.back()));
    }
    label_w += 6;
    int bottom_space = line + 4 + (m.x_caption.empty() ? 0 : line + 2);
    QRect plot(area.left() + label_w, area.top() + line / 2, area.width() - label_w, area.height() - bottom_space - line / 2);
    if (plot.width() < 4 || plot.height() < 4) return;

    // Value axis with its numbered lines.
    axis_labels_.clear();
    for (size_t k = 0; k < ticks.size(); ++k) {
        int y = plot.bottom() - int(std::lround(plot.height() * ticks[k] / ymax));
        p.setPen(QColor(0xE0, 0xE0, 0xE0));
        if (k > 0) p.drawLine(plot.left() + 1, y, plot.right(), y);
        p.setPen(Qt::black);
        QRect at(area.left(), y - line / 2, label_w - 4, line);
        p.drawText(at, Qt::AlignRight | Qt::AlignVCenter, axis_texts_[k]);
        axis_labels_.push_back(fm.boundingRect(at, Qt::AlignRight | Qt::AlignVCenter, axis_texts_[k]));
    }
    p.setPen(Qt::black);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());

    // Bars: one group per category, one bar per series.
    int cats = std::max(1, m.category_count);
    double group = double(plot.width()) / cats;
    double bar = group * 0.8 / std::max(1, m.series_count);
    std::vector<QRect> valued;
    std::vector<QString> values;
    for (int cat = 0; cat < cats; ++cat) {
        double x0 = plot.left() + group * cat + group * 0.1;
        for (int s = 0; s < m.series_count; ++s) {
            double v = m.values[size_t(s)][size_t(cat)];
            int h = int(std::lround(std::min(1.0, v / ymax) * plot.height()));
            QRect r(int(x0 + bar * s), plot.bottom() - h, std::max(1, int(bar) - 1), h);
            p.fillRect(r, to_qcolor(m.series_colors[size_t(s)]));
            if (v > 0) {
                valued.push_back(r);
                // A value the chart could not keep is at least its cap.
                values.push_back((v >= kChartValueCap ? QString::fromUtf8("≥") : QString()) +
                                 QString::fromStdString(number_to_text(v)));
            }
        }
        p.setPen(Qt::black);
        p.drawText(QRect(int(plot.left() + group * cat), plot.bottom() + 2, int(group), line),
                   Qt::AlignHCenter | Qt::AlignTop, to_qtext(m.category_names[size_t(cat)]));
    }
    // The values over their bars, after every bar is drawn (no bar covers a
    // neighbour's value) and each clear of the values before it.
    std::vector<int> widths;
    for (const QString& v : values) widths.push_back(fm.horizontalAdvance(v) + 2);
    // Beside the axis, below the title.
    QRect bounds(plot.left() + 2, m.title.empty() ? rect().top() + 1 : area.top() - 3, plot.width() - 2, 0);
    bounds.setBottom(plot.bottom());
    const std::vector<BarLabel> labels = place_bar_labels(valued, widths, line, bounds);
    value_labels_.clear();
    value_upright_.clear();
    value_texts_ = values;
    p.setPen(Qt::black);
    for (size_t i = 0; i < values.size(); ++i) {
        const BarLabel& l = labels[i];
        value_labels_.push_back(l.rect);
        value_upright_.push_back(l.upright);
        if (!l.upright) {
            p.fillRect(l.rect, QColor(255, 255, 255, 210));
            p.drawText(l.rect, Qt::AlignCenter, values[i]);
            continue;
        }
        // Turned a quarter left, in the largest size up to the chart's that
        // keeps to the bar's width; a value that fits at no readable size is
        // left out rather than shown cut.
        QFont f = font();
        const int px = QFontInfo(f).pixelSize();
        f.setPixelSize(px);
        while (f.pixelSize() > 6 && (QFontMetrics(f).height() > l.rect.width() + 2 ||
                                     QFontMetrics(f).horizontalAdvance(values[i]) + 2 > l.rect.height()))
            f.setPixelSize(f.pixelSize() - 1);
        const QFontMetrics ff(f);
        if (ff.height() > l.rect.width() + 2 || ff.horizontalAdvance(values[i]) + 2 > l.rect.height()) continue;
        p.fillRect(l.rect, QColor(255, 255, 255, 210));
        p.save();
        p.setFont(f);
        p.translate(l.rect.center().x() + 0.5, l.rect.center().y() + 0.5);
        p.rotate(-90);
        p.drawText(QRectF(-l.rect.height() / 2.0, -l.rect.width() / 2.0, l.rect.height(), l.rect.width()), Qt::AlignCenter,
                   values[i]);
        p.restore();
    }
    if (!m.x_caption.empty())
        p.drawText(QRect(plot.left(), plot.bottom() + line + 4, plot.width(), line), Qt::AlignCenter,
                   to_qtext(m.x_caption));
}

double axis_step(double top, int divisions)
{
    if (!(top > 0) || !std::isfinite(top)) return 1;
    const double raw = top / std::max(1, divisions);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (m * power >= raw * (1 - 1e-9)) return m * power;
    return 10 * power;
}

std::vector<BarLabel> place_bar_labels(const std::vector<QRect>& bars, const std::vector<int>& widths, int line,
                                      const QRect& bounds)
{
    std::vector<BarLabel> placed;
    // Clear of the values placed before and of every bar but its own, inside the bounds.
    auto clear = [&](const QRect& r, size_t own) {
        if (!bounds.contains(r)) return false;
        for (const BarLabel& q : placed)
            if (q.rect.intersects(r)) return false;
        for (size_t j = 0; j < bars.size(); ++j)
            if (j != own && bars[j].intersects(r)) return false;
        return true;
    };
    for (size_t i = 0; i < bars.size(); ++i) {
        const QRect& bar = bars[i];
        // Across, centred over its bar, kept inside the bounds across (clear
        // of the value axis's numbers to its left), lifted a line at a time
        // past the values placed before; never lifted past another bar, which
        // would part the value from its own.
        QRect r(bar.center().x() - widths[i] / 2, bar.top() - line - 1, widths[i], line);
        if (r.right() > bounds.right()) r.moveRight(bounds.right());
        if (r.left() < bounds.left()) r.moveLeft(bounds.left());
        if (r.top() < bounds.top()) r.moveTop(bounds.top());
        bool across = false;
        for (; r.top() >= bounds.top(); r.translate(0, -line)) {
            if (clear(r, i)) {
                across = true;
                break;
            }
            bool on_a_bar = false;
            for (size_t j = 0; j < bars.size(); ++j) on_a_bar = on_a_bar || (j != i && bars[j].intersects(r));
            if (on_a_bar) break;
        }
        if (across) {
            placed.push_back({r, false});
            continue;
        }
        // Up the bar's own width: over the bar where there is room, else down
        // the bar from its top. A bar narrower than a line takes a smaller text.
        const int thick = std::max(1, std::min(line, bar.width()));
        const int x = bar.left() + (bar.width() - thick) / 2;
        QRect up(x, bar.top() - 1 - widths[i], thick, widths[i]);
        if (!clear(up, i)) up = QRect(x, bar.top() + 1, thick, std::max(1, std::min(widths[i], bar.height() - 2)));
        placed.push_back({up, true});
    }
    return placed;
}

// ---- check list ----------------------------------------------------------------------------

QRect CheckListView::check_rect(int row) const
{
    QModelIndex idx = model()->index(row, 0);
    QStyleOptionViewItem opt;
    const_cast<CheckListView*>(this)->initViewItemOption(&opt);
    opt.rect = visualRect(idx);
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    opt.index = idx;
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, this);
}

bool CheckListView::tick_at(QMouseEvent* e)
{
    QPoint pos = e->position().toPoint();
    int row = indexAt(pos).row();
    if (e->button() != Qt::LeftButton || row < 0 || !check_rect(row).adjusted(-2, -2, 2, 2).contains(pos)) return false;
    e->accept();
    emit tick(row);
    return true;
}

void CheckListView::mousePressEvent(QMouseEvent* e)
{
    if (!tick_at(e)) QListWidget::mousePressEvent(e);
}

void CheckListView::mouseDoubleClickEvent(QMouseEvent* e)
{
    // The second click of a double click on a box ticks again, as any click does.
    if (!tick_at(e)) QListWidget::mouseDoubleClickEvent(e);
}

void CheckListView::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && currentRow() >= 0) {
        emit tick(currentRow());
        return;
    }
    QListWidget::keyPressEvent(e);
}

} // namespace ui::qt
