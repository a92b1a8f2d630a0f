#include "ui/qt/qt_fit.h"

#include "ui/qt/qt_look.h"

#include <QFontMetrics>
#include <QLayout>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace ui::qt {

namespace {

bool fits(const QString& t, const QFont& f, int width, int height)
{
    QRect r = QFontMetrics(f).boundingRect(QRect(0, 0, std::max(1, width), 1 << 20),
                                           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, t);
    return r.width() <= width && r.height() <= height;
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

} // namespace

LabelLook label_look(const QString& text, const QFont& font, int width, int height)
{
    QString t = text;
    bool dropped = false;
    if ((t.startsWith('\n') || t.endsWith('\n')) && !fits(t, font, width, height)) {
        int lead = 0, trail = 0;
        while (lead < t.size() && t[lead] == '\n') ++lead;
        while (trail < t.size() - lead && t[t.size() - 1 - trail] == '\n') ++trail;
        t = t.mid(lead, t.size() - lead - trail);
        dropped = true;
    }
    QFont f = shrunk(font, [&](const QFont& g) { return fits(t, g, width, height); });
    bool one_line = !t.contains('\n') && QFontMetrics(f).horizontalAdvance(t) <= width;
    return {t, f, Qt::AlignLeft | (one_line || dropped ? Qt::AlignVCenter : Qt::AlignTop)};
}

QFont shown_font(const Control& c, const QWidget* w)
{
    QFont font = to_qfont(c.font);
    switch (c.kind) {
    case Kind::Label:
    case Kind::TransLabel:
        return label_look(to_qtext(c.text), font, c.width, c.height).font;
    case Kind::EditBox:
        if (auto* e = qobject_cast<const QLineEdit*>(w)) {
            const QString t = to_qtext(c.text);
            const int room = line_edit_room(e);
            return shrunk(font, [&](const QFont& g) { return QFontMetrics(g).horizontalAdvance(t) <= room; });
        }
        return font;
    default:
        return font;
    }
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

QRect picture_rect(const Control& c, const QRect& box, const QSize& picture)
{
    if (c.display_mode != 2 || picture.isEmpty() || box.isEmpty()) return box;
    QSize shown = picture.scaled(box.size(), Qt::KeepAspectRatio);
    return QRect(box.left() + (box.width() - shown.width()) / 2, box.top() + (box.height() - shown.height()) / 2,
                 shown.width(), shown.height());
}

} // namespace ui::qt
