#pragma once
// What the forms hold, shown whole in the widgets that hold it. The forms'
// geometry was laid out for a Chinese font whose lines are a little lower
// and narrower than those of the fonts found here: a caption or value that
// would be cut is shown in a smaller size instead (never below a readable
// floor), and the blank lines some captions carry to sit lower in their
// cell give way when they would push the text out of it. Tool bars show
// every button, and every picture keeps its shape. A number cut off on
// screen is a wrong number read.
#include "ui/form.h"

#include <QFont>
#include <QRect>
#include <QString>

class QLineEdit;
class QToolBar;
class QWidget;

namespace ui::qt {

// The smallest pixel size a text is shrunk to.
constexpr int kSmallestTextPixels = 9;

// What a label shows: its text, in which font, and how it sits in the label;
// `whole` false where it shows a figure shorter than its text.
struct LabelLook {
    QString text;
    QFont font;
    Qt::Alignment alignment;
    bool whole = true;
};
// A label of width x height with its own `font`, word-wrapped: one line
// that fits sits in the middle, longer notes start at the top; blank lines
// around the text that would push it out are dropped (the rest then sits
// in the middle), and a text still too large is shown smaller. A figure (a
// number, with a unit after it) is never broken over lines: where it is not
// whole on one line even at the smallest size, it shows with as many
// digits as fit, in exponent form where that is shorter, never as a cut
// digit string.
LabelLook label_look(const QString& text, const QFont& font, int width, int height);

// The font control `c` shows its text in, given its widget `w` (already at
// its size): its own, or a smaller one where a label's or one-line edit
// box's text would otherwise be cut.
QFont shown_font(const Control& c, const QWidget* w);

// What one-line box `e` shows of `text`, and in which font: the text,
// smaller where it would be cut. A text that is not whole even at the
// smallest size is shown shorter (`whole` false), never as a cut digit
// string: a number with as many digits as fit, in exponent form where that
// is shorter (a unit after it stays); any other text ends in an ellipsis.
// With `keep` the text is shown as it is (the user is at it).
struct LineLook {
    QString text;
    QFont font;
    bool whole = true;
};
LineLook line_look(const QString& text, const QFont& font, const QLineEdit* e, bool keep);

// Tool-bar icons as large as `length` (the bar's height when vertical, its
// width otherwise) allows with every button shown: no button hides behind
// an overflow arrow.
void fit_tool_bar(QToolBar* bar, int length);

// Where a picture box of `box` draws a picture of `picture` size: the
// largest rectangle of the picture's own shape, centred. Every picture box
// keeps the picture's shape, whatever its display mode: a round shaft drawn
// stretched is an ellipse, and a label squeezed is misread.
QRect picture_rect(const QRect& box, const QSize& picture);

} // namespace ui::qt
