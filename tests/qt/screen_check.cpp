#include "screen_check.h"

#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_controls.h"

#include <QAbstractButton>
#include <QBitmap>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QStyle>
#include <QStyleOption>

#include <map>

namespace screens {

namespace {

std::string str(const QString& s) { return s.toStdString(); }

std::string rect_text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// The part of the widget its parents leave visible, in its own coordinates.
QRect visible_part(const QWidget* w)
{
    QRect r = w->rect();
    QPoint offset(0, 0);
    for (const QWidget* p = w; p && !p->isWindow(); p = p->parentWidget()) {
        offset += p->pos();
        const QWidget* parent = p->parentWidget();
        if (!parent) break;
        r &= parent->rect().translated(-offset);
    }
    return r;
}

// The ink of a text laid out in `text` (lines of the font's height): from
// the top of the first line's tallest glyph to the foot of the last line's
// lowest one, across the lines' advance. A line box a pixel taller than its
// control cuts nothing; a glyph that crosses the edge does.
QRect ink(const QRect& text, const QFontMetrics& fm, const QString& shown)
{
    QString one = shown;
    one.replace('\n', ' ');
    QRect tight = fm.tightBoundingRect(one.trimmed());
    if (tight.isEmpty()) return QRect(text.left(), text.top(), text.width(), 0);
    // Empty lines before and after the text take room but show nothing.
    int lead = 0, trail = 0;
    while (lead < shown.size() && shown[lead] == '\n') ++lead;
    while (trail < shown.size() - lead && shown[shown.size() - 1 - trail] == '\n') ++trail;
    int top = text.top() + lead * fm.lineSpacing() + fm.ascent() + tight.top();
    int bottom = text.top() + text.height() - trail * fm.lineSpacing() - fm.descent() + tight.bottom();
    return QRect(QPoint(text.left(), top), QPoint(text.right(), bottom));
}

// Control widgets that paint a face of their own over what lies below them.
bool opaque(const QWidget* v)
{
    return qobject_cast<const QLineEdit*>(v) || qobject_cast<const QPlainTextEdit*>(v) ||
           qobject_cast<const QComboBox*>(v) || qobject_cast<const QAbstractButton*>(v) ||
           qobject_cast<const QListWidget*>(v) || qobject_cast<const QProgressBar*>(v) ||
           qobject_cast<const QGroupBox*>(v) || qobject_cast<const ui::qt::PicButtonView*>(v) ||
           qobject_cast<const ui::qt::PictureView*>(v) || qobject_cast<const ui::qt::ChartView*>(v);
}

// ... and those whose face holds content of its own, which a text laid on
// them would mix with (a caption on a picture is fine, one on a box is not).
bool has_content(const QWidget* v)
{
    return opaque(v) && !qobject_cast<const ui::qt::PictureView*>(v) && !qobject_cast<const QGroupBox*>(v);
}

// Whether `v` is painted after (over) `w`: compared where their ancestries meet.
bool painted_over(const QWidget* v, const QWidget* w)
{
    std::vector<const QWidget*> vs, ws;
    for (const QWidget* p = v; p; p = p->parentWidget()) vs.insert(vs.begin(), p);
    for (const QWidget* p = w; p; p = p->parentWidget()) ws.insert(ws.begin(), p);
    size_t i = 0;
    while (i < vs.size() && i < ws.size() && vs[i] == ws[i]) ++i;
    if (i == 0 || i >= vs.size() || i >= ws.size()) return false; // one holds the other
    const QObjectList& kids = vs[i - 1]->children();
    return kids.indexOf(vs[i]) > kids.indexOf(ws[i]);
}

struct Check {
    const std::map<const QWidget*, std::string>& names;
    Faults& out;

    // The text must lie wholly inside `avail` (what draws it and is not
    // cut), and no other control may cover it or lie under it.
    void text(const QWidget* w, const QRect& box, const QRect& avail, const QFontMetrics& fm, const QString& shown,
              const std::string& where)
    {
        QRect t = ink(box, fm, shown);
        if (!avail.contains(t)) {
            std::string why = t.right() > avail.right() || t.left() < avail.left() ? "cut at the side"
                                                                                   : "cut at the top or bottom";
            out.push_back(where + ": " + why + " (text " + rect_text(t) + " in " + rect_text(avail) + "): \"" +
                          str(shown) + "\"");
            return;
        }
        const QWidget* window = w->window();
        QRect at = t.translated(w->mapTo(window, QPoint(0, 0)));
        // A line of text with blanks in it may hold a box in its blanks:
        // only its glyphs count there.
        QRegion glyphs(at);
        if (!shown.contains('\n') && box.height() <= fm.lineSpacing()) {
            glyphs = QRegion();
            for (int i = 0; i < shown.size(); ++i)
                if (!shown[i].isSpace())
                    glyphs += QRect(at.left() + fm.horizontalAdvance(shown.left(i)), at.top(),
                                    fm.horizontalAdvance(shown.mid(i, 1)), at.height());
        }
        for (auto& [v, name] : names) {
            if (v == w || v->window() != window || !v->isVisible() || !opaque(v)) continue;
            if (v->isAncestorOf(w) || w->isAncestorOf(v)) continue;
            QRect vr = visible_part(v).translated(v->mapTo(window, QPoint(0, 0)));
            if (!glyphs.intersects(vr)) continue;
            bool over = painted_over(v, w);
            if (!over && !has_content(v)) continue;
            out.push_back(where + ": " + (over ? "covered by " : "lies on ") + name + " (text " + rect_text(at) +
                          ", " + name + " " + rect_text(vr) + "): \"" + str(shown) + "\"");
        }
    }

    void label(QLabel* l, const std::string& where)
    {
        QString t = l->text();
        if (t.trimmed().isEmpty()) return;
        int m = l->margin();
        QRect cr = l->contentsRect().adjusted(m, m, -m, -m);
        int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        QFontMetrics fm(l->font());
        text(l, fm.boundingRect(cr, flags, t), cr & visible_part(l), fm, t, where);
    }

    void line_edit(QLineEdit* e, const std::string& where)
    {
        QString t = e->displayText();
        if (t.isEmpty()) return;
        QStyleOptionFrame opt;
        opt.initFrom(e);
        opt.rect = e->rect();
        opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
        opt.midLineWidth = 0;
        opt.state |= QStyle::State_Sunken;
        if (e->isReadOnly()) opt.state |= QStyle::State_ReadOnly;
        QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e).marginsRemoved(e->textMargins());
        // The box keeps two pixels clear beside its text.
        QRect avail = r.adjusted(2, 0, -2, 0);
        QFontMetrics fm(e->font());
        int h = fm.height();
        QRect box(avail.left(), r.top() + (r.height() - h + 1) / 2, fm.horizontalAdvance(t), h);
        text(e, box, avail & visible_part(e), fm, t, where);
    }

    void plain_edit(QPlainTextEdit* e, const std::string& where)
    {
        // Long notes wrap and scroll; a box must still show one whole line.
        if (e->toPlainText().isEmpty()) return;
        QRect vp = e->viewport()->geometry();
        int line = QFontMetrics(e->font()).lineSpacing();
        if (vp.height() < line)
            out.push_back(where + ": a box " + std::to_string(vp.height()) + " px high cannot show a line of " +
                          std::to_string(line) + " px");
    }

    void button(QAbstractButton* b, QStyle::SubElement e, const std::string& where)
    {
        QString t = b->text();
        if (t.isEmpty()) return;
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = t;
        opt.rect = b->rect();
        QRect r = b->style()->subElementRect(e, &opt, b);
        QFontMetrics fm(b->font());
        int align = Qt::AlignVCenter | (qobject_cast<QPushButton*>(b) ? Qt::AlignHCenter : Qt::AlignLeft);
        text(b, fm.boundingRect(r, align, t), r & visible_part(b), fm, t, where);
    }

    void combo(QComboBox* cb, const std::string& where)
    {
        QString t = cb->currentIndex() >= 0 || cb->isEditable() ? cb->currentText() : cb->placeholderText();
        if (t.isEmpty()) return;
        QStyleOptionComboBox opt;
        opt.initFrom(cb);
        opt.editable = cb->isEditable();
        opt.frame = cb->hasFrame();
        opt.currentText = t;
        QRect r = cb->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, cb);
        QRect avail = r.adjusted(cb->isEditable() ? 2 : 1, 0, cb->isEditable() ? -2 : -1, 0);
        QFontMetrics fm(cb->font());
        QRect box(avail.left(), r.top() + (r.height() - fm.height() + 1) / 2, fm.horizontalAdvance(t), fm.height());
        text(cb, box, avail & visible_part(cb), fm, t, where);
    }

    void group(QGroupBox* g, const std::string& where)
    {
        QString t = g->title();
        if (t.isEmpty()) return;
        QStyleOptionGroupBox opt;
        opt.initFrom(g);
        opt.text = t;
        opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        opt.textAlignment = g->alignment();
        QRect r = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
        QFontMetrics fm(g->font());
        QRect box(r.left(), r.top(), fm.horizontalAdvance(t), fm.height());
        // The title sits on the frame's line: only being cut counts.
        QRect t_ink = ink(box, fm, t);
        if (!(g->rect() & visible_part(g)).contains(t_ink))
            out.push_back(where + ": cut (title " + rect_text(t_ink) + " in " + rect_text(g->rect()) + "): \"" + str(t) +
                          "\"");
    }

    // Where a control shows on its window: for a picture button the drawn
    // part of its picture (its clear margins let a neighbour show).
    static QRegion face(QWidget* v)
    {
        const QWidget* window = v->window();
        QRegion r(visible_part(v));
        if (auto* b = qobject_cast<ui::qt::PicButtonView*>(v)) {
            auto pic = ui::qt::decode_picture(b->shown_picture());
            if (!pic->empty())
                r &= QRegion(QBitmap::fromImage(pic->frame(0).scaled(v->size()).createAlphaMask()));
        }
        return r.translated(v->mapTo(window, QPoint(0, 0)));
    }

    // A picture button shows whole and takes its clicks everywhere: no
    // other control lies over its face.
    void picture_button(QWidget* w, const std::string& where)
    {
        const QWidget* window = w->window();
        QRegion at = face(w);
        for (auto& [v, name] : names) {
            if (v == w || v->window() != window || !v->isVisible()) continue;
            if (v->isAncestorOf(w) || w->isAncestorOf(v) || !painted_over(v, w)) continue;
            QRegion over = face(const_cast<QWidget*>(v)) & at;
            // Edges of two pictures that touch blend in a pixel: that hides nothing.
            if (over.boundingRect().width() > 1 && over.boundingRect().height() > 1)
                out.push_back(where + ": covered by " + name + " (" + rect_text(over.boundingRect()) + ")");
        }
    }

    void widget(QWidget* w, const std::string& where)
    {
        if (qobject_cast<ui::qt::PicButtonView*>(w)) return picture_button(w, where);
        if (auto* l = qobject_cast<QLabel*>(w)) return label(l, where);
        if (auto* e = qobject_cast<QLineEdit*>(w)) return line_edit(e, where);
        if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return plain_edit(e, where);
        if (auto* b = qobject_cast<QPushButton*>(w)) return button(b, QStyle::SE_PushButtonContents, where);
        if (auto* b = qobject_cast<QCheckBox*>(w)) return button(b, QStyle::SE_CheckBoxContents, where);
        if (auto* b = qobject_cast<QRadioButton*>(w)) return button(b, QStyle::SE_RadioButtonContents, where);
        if (auto* cb = qobject_cast<QComboBox*>(w)) return combo(cb, where);
        if (auto* g = qobject_cast<QGroupBox*>(w)) return group(g, where);
    }
};

std::string control_name(const ui::Form& f, const ui::Control& c)
{
    return f.name + "." + (c.name.empty() ? "#" + std::to_string(c.id) : c.name);
}

} // namespace

Faults cut_texts(const std::vector<ui::Form*>& all, const ui::Form& f)
{
    std::map<const QWidget*, std::string> names;
    for (const ui::Form* g : all)
        for (size_t i = 1; i < g->controls.size(); ++i)
            if (const QWidget* w = ui::qt::QtBackend::widget(*g->controls[i])) names[w] = control_name(*g, *g->controls[i]);
    Faults out;
    Check check{names, out};
    for (size_t i = 1; i < f.controls.size(); ++i) {
        const ui::Control& c = *f.controls[i];
        QWidget* w = ui::qt::QtBackend::widget(c);
        if (!w || !w->isVisible()) continue; // on screen now
        check.widget(w, control_name(f, c));
    }
    return out;
}

} // namespace screens
