#pragma once
// Where a part of a scroll bar (an arrow, the trough either side of the
// thumb, the thumb) lies in the bar as the style draws it now.
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

inline QRect scroll_bar_part(QScrollBar* s, QStyle::SubControl part)
{
    QStyleOptionSlider opt;
    opt.initFrom(s);
    opt.orientation = s->orientation();
    opt.minimum = s->minimum();
    opt.maximum = s->maximum();
    opt.sliderPosition = opt.sliderValue = s->value();
    opt.singleStep = s->singleStep();
    opt.pageStep = s->pageStep();
    opt.subControls = QStyle::SC_All;
    return s->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, s);
}
