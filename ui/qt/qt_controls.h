#pragma once
// The widgets of the kinds Qt has no stock widget for, and the small
// subclasses that hand a user's action to the runtime instead of acting on
// it themselves (the runtime owns every mark, page and selection).
#include "ui/form.h"
#include "ui/qt/qt_look.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPixmap>
#include <QStyle>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>
#include <QWidget>

#include <vector>

namespace ui::qt {

// A picture button: normal, hover, pressed and disabled pictures, each
// falling back to the normal one; clicked when the left button is released
// over the enabled button.
class PicButtonView : public QWidget {
    Q_OBJECT
public:
    enum State { Normal, Hover, Pressed, Disabled };
    PicButtonView(Control& c, QWidget* parent);
    State state() const;
    // The picture shown now (its state's, or the normal one).
    const Bytes& shown_picture() const;
signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    Control& c_;
    bool over_ = false, down_ = false;
};

// A picture box: its picture scaled to the box in its own shape; a GIF shows the frame the
// runtime's schedule says (set by the backend's animation clock).
class PictureView : public QWidget {
    Q_OBJECT
public:
    PictureView(Control& c, QWidget* parent);
    void set_frame(int frame);
    int frame() const { return frame_; }
    int frame_count() const;
    // Where the picture is drawn: the largest rectangle of its shape in the box.
    QRect picture_area() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Control& c_;
    int frame_ = 0;
};

// A shape box: a rectangle with a one-pixel line, filled when the program
// gave it a colour; a container for other controls and for embedded forms.
class ShapeView : public QWidget {
    Q_OBJECT
public:
    ShapeView(Control& c, QWidget* parent);
    // Inside the line: where the frame's controls and forms sit.
    QWidget* client() { return client_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    Control& c_;
    QWidget* client_;
};

// The client area of a form: its background colour and picture.
class ClientView : public QWidget {
    Q_OBJECT
public:
    ClientView(Control& form_self, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Control& c_;
};

// A group box whose frame is drawn once for its size and look and then
// copied: a result box that changes inside it repaints the frame behind
// the box, and the style draws that frame slowly. The title is drawn as the
// stock group box draws it.
class GroupView : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap frame_;
    QRect label_;
    QSize size_;
    qreal dpr_ = 0;
    QStyle::State state_;
    qint64 palette_ = 0;
    QFont font_;
    QString text_;
    const QStyle* style_ = nullptr;
};

// A tab: pages that cover the whole control (their controls are placed
// relative to the tab's corner), headers on one side unless header-less.
class TabView : public QWidget {
    Q_OBJECT
public:
    TabView(Control& c, QWidget* parent);
    QWidget* page(int i);
    QTabBar* bar() { return bar_; }
    // Shows the runtime's pages, captions and current page.
    void sync();
signals:
    void page_clicked(int page);

protected:
    void resizeEvent(QResizeEvent*) override;
    void paintEvent(QPaintEvent*) override;

private:
    void layout_bar();
    Control& c_;
    QTabBar* bar_ = nullptr;
    std::vector<QWidget*> pages_;
};

// A bar chart: title, value axis, bars per category and series, legend.
class ChartView : public QWidget {
    Q_OBJECT
public:
    ChartView(Control& c, QWidget* parent);
    // Where the values of the bars and the numbers of the value axis were
    // written at the last paint, and those numbers.
    const std::vector<QRect>& value_labels() const { return value_labels_; }
    // Whether each value was written up its bar (turned a quarter left).
    const std::vector<bool>& value_upright() const { return value_upright_; }
    const std::vector<QString>& value_texts() const { return value_texts_; }
    const std::vector<QRect>& axis_labels() const { return axis_labels_; }
    const std::vector<QString>& axis_texts() const { return axis_texts_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Control& c_;
    std::vector<QRect> value_labels_, axis_labels_;
    std::vector<bool> value_upright_;
    std::vector<QString> axis_texts_, value_texts_;
};

// The step between the numbered lines of a value axis up to `top` with at
// most `divisions` steps: 1, 2, 2.5 or 5 times a power of ten, so that
// every number on the axis is a plain one.
double axis_step(double top, int divisions);

// Where a bar's value is written.
struct BarLabel {
    QRect rect;           // what the value and its backing take
    bool upright = false; // written up the bar, turned a quarter left
};

// Where the value of each bar is written, never over another bar or a value
// placed before, and inside `bounds`: across, centred over its bar and
// `widths[i]` wide and a line high, kept inside the bounds across (clear of
// the value axis's numbers to its left) and lifted a line at a time past
// values placed before; where that would cover another bar (a taller
// neighbour, or a bar at the top of the plot), up its own bar's width
// instead: over the bar where there is room, else down the bar from its top.
// Bars from left to right, side by side.
std::vector<BarLabel> place_bar_labels(const std::vector<QRect>& bars, const std::vector<int>& widths, int line,
                                       const QRect& bounds);

// Check and radio boxes whose mark the runtime sets: a click asks for the
// change instead of making it.
class CheckView : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;
signals:
    void user_toggle();

protected:
    void nextCheckState() override { emit user_toggle(); }
    // The whole box takes the click, caption and empty space alike.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

class RadioView : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;
signals:
    void user_toggle();

protected:
    void nextCheckState() override { emit user_toggle(); }
    // The whole box takes the click, caption and empty space alike.
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// A check list: a click on an item's box (or Space) asks to tick it; a click
// on its text chooses it.
class CheckListView : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;
    // Where item `row`'s check box is, in viewport coordinates.
    QRect check_rect(int row) const;
    bool tick_at(QMouseEvent* e); // a left click on an item's box ticks it
signals:
    void tick(int row);

protected:
    void mousePressEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
};

} // namespace ui::qt
