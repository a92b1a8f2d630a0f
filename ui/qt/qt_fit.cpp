#include "ui/qt/qt_fit.h"

#include "ui/qt/qt_look.h"
#include "ui/value.h"

#include <QFontMetrics>
#include <QLayout>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <functional>

namespace ui::qt {

namespace {

// One line that fits the width is not wrapped.
bool one_line(const QString& t, const QFontMetrics& fm, int width)
{
    return !t.contains('\n') && fm.horizontalAdvance(t) <= width;
}

// Whether `t` stays on one line within `width` as a word-wrapped label lays
// it out (which breaks a number after its point or sign where it comes
// within a pixel of the edge).
bool unbroken(const QString& t, const QFontMetrics& fm, int width)
{
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(1, width), 1 << 20),
                                    Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, t);
    return r.height() <= fm.height() && r.width() <= width;
}

// The height of `t`'s line boxes, word-wrapped at `width`; -1 when a word
// is wider than that.
int lines_height(const QString& t, const QFontMetrics& fm, int width)
{
    if (one_line(t, fm, width)) return fm.height();
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(1, width), 1 << 20),
                                    Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, t);
    return r.width() > width ? -1 : r.height();
}

// Whether `t` in `f` shows whole in a label of width x height, word-wrapped,
// its lines in the middle (centred) or from the top. Line boxes a little
// taller than the label cut nothing: what counts is where the glyphs reach.
bool fits(const QString& t, const QFont& f, int width, int height, bool centred)
{
    const QFontMetrics fm(f);
    const int lines = lines_height(t, fm, width);
    if (lines < 0) return false;
    if (lines <= height) return true;
    QString flat = t;
    flat.replace('\n', ' ');
    const QRect ink = fm.tightBoundingRect(flat.trimmed());
    int lead = 0, trail = 0;
    while (lead < t.size() && t[lead] == '\n') ++lead;
    while (trail < t.size() - lead && t[t.size() - 1 - trail] == '\n') ++trail;
    const int top = centred ? (height - lines) / 2 : 0;
    return top + lead * fm.lineSpacing() + fm.ascent() + ink.top() >= 0 &&
           top + lines - trail * fm.lineSpacing() - fm.descent() + ink.bottom() < height;
}

// The largest size from the font's own down to the floor at which `fit`
// holds; the floor when none does.
template <class Fit>
QFont shrunk(const QFont& font, Fit fit)
{
    if (fit(font)) return font;
    QFont f = font;
    for (int px = font.pixelSize() - 1; px >= kSmallestTextPixels; --px) {
        f.setPixelSize(px);
        if (fit(f)) return f;
    }
    return font.pixelSize() > kSmallestTextPixels ? f : font;
}

// Where a one-line edit box draws its text: inside its frame, two pixels
// clear of either side.
int line_edit_room(const QLineEdit* e)
{
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->rect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e).marginsRemoved(e->textMargins());
    return r.width() - 4;
}

// A number at the start of `text` and a unit after it (no digit in the
// unit): the number's value and the unit; not-a-number where `text` is no
// such figure or its number is not finite.
struct Figure {
    double value = std::nan("");
    QString unit;
};
Figure figure_of(const QString& text)
{
    const std::string u = text.toStdString();
    const std::size_t n = number_literal_length(u);
    if (n == 0) return {};
    const QString unit = QString::fromStdString(u.substr(n));
    if (std::any_of(unit.begin(), unit.end(), [](QChar ch) { return ch.isDigit() || ch == '\n'; })) return {};
    return {text_to_number(u.substr(0, n)), unit};
}

// The font at the smallest size a text is shrunk to.
QFont smallest(const QFont& font)
{
    QFont f = font;
    f.setPixelSize(std::min(font.pixelSize(), kSmallestTextPixels));
    return f;
}

// The figure `text` with fewer digits, the most with which `fits` holds;
// empty when none does.
QString shorter_figure(const QString& text, const std::function<bool(const QString&)>& fits)
{
    const Figure fig = figure_of(text);
    if (!std::isfinite(fig.value)) return {};
    for (int digits = 12; digits >= 1; --digits) {
        const QString s = QString::fromStdString(number_to_text_digits(fig.value, digits)) + fig.unit;
        if (s.size() < text.size() && fits(s)) return s;
    }
    return {};
}

// A label's look as word-wrapped text (see label_look).
LabelLook wrapped_look(const QString& text, const QFont& font, int width, int height)
{
    QString t = text;
    bool dropped = false;
    // Padding lines go as soon as the line boxes overflow: the label may
    // stand a pixel or two beyond its frame.
    if ((t.startsWith('\n') || t.endsWith('\n')) && lines_height(t, QFontMetrics(font), width) > height) {
        int lead = 0, trail = 0;
        while (lead < t.size() && t[lead] == '\n') ++lead;
        while (trail < t.size() - lead && t[t.size() - 1 - trail] == '\n') ++trail;
        t = t.mid(lead, t.size() - lead - trail);
        dropped = true;
    }
    auto centred = [&](const QFont& g) { return dropped || one_line(t, QFontMetrics(g), width); };
    QFont f = shrunk(font, [&](const QFont& g) { return fits(t, g, width, height, centred(g)); });
    return {t, f, Qt::AlignLeft | (centred(f) ? Qt::AlignVCenter : Qt::AlignTop)};
}

} // namespace

LabelLook label_look(const QString& text, const QFont& font, int width, int height)
{
    LabelLook look = wrapped_look(text, font, width, height);
    // A figure stands whole on one line, smaller or else shorter: never
    // broken at its decimal point, nor cut.
    const QString bare = text.trimmed();
    if (bare.isEmpty() || !std::isfinite(figure_of(bare).value)) return look;
    auto on_one_line = [width, height](const QString& s) {
        return [=](const QFont& g) { return unbroken(s, QFontMetrics(g), width) && fits(s, g, width, height, true); };
    };
    const bool centred = look.alignment & Qt::AlignVCenter;
    if (unbroken(look.text.trimmed(), QFontMetrics(look.font), width) && fits(look.text, look.font, width, height, centred))
        return look;
    const QFont f = shrunk(font, on_one_line(bare));
    if (on_one_line(bare)(f)) return {bare, f, Qt::AlignLeft | Qt::AlignVCenter};
    const QString s = shorter_figure(bare, [&](const QString& c) { return on_one_line(c)(smallest(font)); });
    if (s.isEmpty()) return look;
    return {s, shrunk(font, on_one_line(s)), Qt::AlignLeft | Qt::AlignVCenter, false};
}

QFont shown_font(const Control& c, const QWidget* w)
{
    QFont font = to_qfont(c.font);
    switch (c.kind) {
    case Kind::Label:
    case Kind::TransLabel:
        return label_look(to_qtext(c.text), font, c.width, c.height).font;
    case Kind::EditBox:
        if (auto* e = qobject_cast<const QLineEdit*>(w)) return line_look(to_qtext(c.text), font, e, true).font;
        return font;
    default:
        return font;
    }
}

LineLook line_look(const QString& text, const QFont& font, const QLineEdit* e, bool keep)
{
    const int room = line_edit_room(e);
    // Short text needs no measuring when the font has every glyph of it:
    // none is wider than the font's widest.
    const QFontMetrics fm(font);
    if (qint64(text.size()) * fm.maxWidth() <= room &&
        std::all_of(text.begin(), text.end(), [&](QChar ch) { return ch.unicode() >= 0x20 && !ch.isSurrogate() && fm.inFont(ch); }))
        return {text, font, true};
    auto fitting = [room](const QString& s) {
        return [room, s](const QFont& g) { return QFontMetrics(g).horizontalAdvance(s) <= room; };
    };
    const QFont f = shrunk(font, fitting(text));
    if (keep || fitting(text)(f)) return {text, f, true};
    // Not whole even at the smallest size. A number (and its unit) with
    // fewer digits: the most that fit.
    if (const QString s = shorter_figure(text, [&](const QString& c) { return fitting(c)(f); }); !s.isEmpty())
        return {s, shrunk(font, fitting(s)), false};
    return {QFontMetrics(f).elidedText(text, Qt::ElideRight, room), f, false};
}

void fit_tool_bar(QToolBar* bar, int length)
{
    const bool vertical = bar->orientation() == Qt::Vertical;
    for (int icon = 24; icon >= 12; icon -= 2) {
        bar->setIconSize(QSize(icon, icon));
        // Told directly: the bar's own signal may be held back meanwhile.
        for (QAction* a : bar->actions())
            if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a))) b->setIconSize(QSize(icon, icon));
        bar->layout()->invalidate();
        const QSize hint = bar->sizeHint();
        if ((vertical ? hint.height() : hint.width()) <= length) return;
    }
}

QRect picture_rect(const QRect& box, const QSize& picture)
{
    if (picture.isEmpty() || box.isEmpty()) return box;
    QSize shown = picture.scaled(box.size(), Qt::KeepAspectRatio);
    return QRect(box.left() + (box.width() - shown.width()) / 2, box.top() + (box.height() - shown.height()) / 2,
                 shown.width(), shown.height());
}

} // namespace ui::qt
