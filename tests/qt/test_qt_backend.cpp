// The Qt front end, without a desktop (QT_QPA_PLATFORM=offscreen): each
// control kind is bound to its properties and events. What the runtime does
// with an event is tested on the headless backend; here the same user
// actions, made through real Qt input events, must reach the runtime as the
// very events the headless backend raises for them.
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_sound.h"
#include "ui/runtime.h"
#include "scroll_bar.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <functional>
#include <thread>

using ui::qt::QtBackend;
namespace P = ui::prop;

namespace {

const char* const k_form = "qt_all_kinds";

std::string form_file() { return std::string(JSB_SOURCE_DIR) + "/tests/forms/qt_all_kinds.json"; }

std::string describe(const ui::EventArgs& a)
{
    std::string s = std::string(ui::event_name(a.event)) + ' ' + (a.control->name.empty() ? "." : a.control->name);
    auto num = [&](int v) { s += ' ' + std::to_string(v); };
    switch (a.event) {
    case ui::Event::LeftButtonDown:
    case ui::Event::RightButtonDown: num(a.a), num(a.b), num(a.c); break;
    case ui::Event::MouseWheel: num(a.a), num(a.b); break;
    case ui::Event::ButtonClick: num(a.a); break;
    case ui::Event::Click:
        if (a.control->kind == ui::Kind::window) num(a.a); // a menu item's id
        break;
    default: break;
    }
    return s;
}

// The state a user's actions leave in the runtime, control by control.
std::vector<std::string> state_of(const ui::Form& f)
{
    std::vector<std::string> out;
    for (auto& c : f.controls) {
        std::string marks;
        for (bool b : c->item_checked) marks += b ? '1' : '0';
        out.push_back(c->name + " text=" + c->text + " index=" + std::to_string(c->current_index) + " checked=" +
                      std::to_string(c->checked) + " marks=" + marks + " page=" + std::to_string(c->current_page) +
                      " pos=" + std::to_string(c->position) + " size=" + std::to_string(c->width) + "x" +
                      std::to_string(c->height));
    }
    return out;
}

std::string joined(const std::vector<std::string>& v)
{
    std::string s;
    for (auto& l : v) s += l + '\n';
    return s;
}

// One run of the test form on a backend, its events logged.
struct Run {
    std::vector<std::string> log;
    ui::Form* form = nullptr;
    ui::Control& c(const char* name)
    {
        ui::Control* p = form->find(name);
        EXPECT_NE(p, nullptr) << name;
        return *p;
    }
    void start(ui::Runtime& rt)
    {
        rt.register_handler("LogEvent", [this](ui::EventArgs& a) { log.push_back(describe(a)); });
        std::string err;
        ASSERT_TRUE(rt.add_definition_file(form_file(), &err)) << err;
        form = rt.load_form(k_form, nullptr, false);
        ASSERT_NE(form, nullptr);
    }
};

struct HeadlessRun : Run {
    ui::HeadlessBackend backend;
    ui::Runtime rt{backend};
    HeadlessRun()
    {
        backend.attach(rt);
        start(rt);
    }
};

struct QtRun : Run {
    QtBackend backend;
    ui::Runtime rt{backend};
    QtRun()
    {
        backend.attach(rt);
        start(rt);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window()));
    }
    QWidget* window() { return backend.window(*form); }
    template <class W = QWidget> W* view(const char* name)
    {
        auto* w = qobject_cast<W*>(QtBackend::widget(c(name)));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

QByteArray png_of(QColor color, QSize size = {80, 30})
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(color);
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return out;
}

ui::Blob blob(const QByteArray& b) { return ui::Blob{ui::Bytes(b.constData(), size_t(b.size()))}; }

// A 1x1 GIF89a that loops without end: one frame per colour index, each
// with the delay given in hundredths of a second.
ui::Bytes two_frame_gif(int delay_cs)
{
    std::string g = "GIF89a";
    g += std::string("\x01\x00\x01\x00\x80\x00\x00", 7);       // 1x1, global table of 2 colours
    g += std::string("\xFF\x00\x00\x00\x00\xFF", 6);           // red, blue
    g += std::string("\x21\xFF\x0B" "NETSCAPE2.0" "\x03\x01\x00\x00\x00", 19);
    for (char pixel_code : {'\x44', '\x4C'}) {                   // LZW of index 0, of index 1
        g += std::string("\x21\xF9\x04\x00", 4);
        g += char(delay_cs & 0xFF);
        g += char(delay_cs >> 8);
        g += std::string("\x00\x00", 2);
        g += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
        g += std::string("\x02\x02", 2);
        g += pixel_code;
        g += std::string("\x01\x00", 2);
    }
    g += '\x3B';
    return g;
}

int pixels_of(const QImage& img, QColor color)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (QColor(img.pixel(x, y)) == color) ++n;
    return n;
}

// Pixels clearly drawn in red, antialiased edges included.
int reddish_pixels(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            QColor c(img.pixel(x, y));
            if (c.red() > 160 && c.green() < 120 && c.blue() < 120 && c.red() - c.green() > 80) ++n;
        }
    return n;
}

// Waits for something a later turn of the event loop brings.
bool eventually(const std::function<bool()>& cond) { return QTest::qWaitFor(cond, 5000); }

// ---------------------------------------------------------------------------

struct UserStep {
    const char* what;
    std::function<void(QtRun&)> by_qt;          // real input events
    std::function<void(HeadlessRun&)> by_runtime; // what the headless backend raises
};

const std::vector<UserStep>& user_steps()
{
    static const std::vector<UserStep> steps = {
        {"type into a numeric box, one refused character",
         [](QtRun& q) {
             QTest::mouseClick(q.view("编辑框1_数值"), Qt::LeftButton);
             QTest::keyClicks(q.view("编辑框1_数值"), "0.50x");
         },
         [](HeadlessRun& h) { h.rt.user_type(h.c("编辑框1_数值"), "0.50x"); }},
        {"move the focus away: the box shows its number",
         [](QtRun& q) { QTest::mouseClick(q.view("编辑框2_文本"), Qt::LeftButton); },
         [](HeadlessRun& h) { h.rt.set_focus(&h.c("编辑框2_文本")); }},
        {"type Latin letters, then a Chinese character through the input method",
         [](QtRun& q) {
             QTest::keyClicks(q.view("编辑框2_文本"), "ab");
             QInputMethodEvent commit;
             commit.setCommitString(QString::fromUtf8("隧"));
             QApplication::sendEvent(q.view("编辑框2_文本"), &commit);
         },
         [](HeadlessRun& h) { h.rt.user_type(h.c("编辑框2_文本"), "ab隧"); }},
        {"click the picture button",
         [](QtRun& q) { QTest::mouseClick(q.view("图形按钮1"), Qt::LeftButton, {}, QPoint(7, 9)); },
         [](HeadlessRun& h) {
             h.rt.user_mouse_down(h.c("图形按钮1"), true, 7, 9, 0);
             h.rt.user_click(h.c("图形按钮1"));
         }},
        {"pick a combo item from its list",
         [](QtRun& q) {
             auto* cb = q.view<QComboBox>("组合框1");
             QTest::mouseClick(cb, Qt::LeftButton);
             QAbstractItemView* v = cb->view();
             ASSERT_TRUE(eventually([&] { return v->isVisible(); }));
             // The list ignores a release that comes as fast as a double click.
             QTest::qWait(QApplication::doubleClickInterval() + 50);
             QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(v->model()->index(2, 0)).center());
         },
         [](HeadlessRun& h) { h.rt.user_choose(h.c("组合框1"), 2); }},
        {"tick a check-list item",
         [](QtRun& q) {
             auto* l = q.view<ui::qt::CheckListView>("选择列表框1");
             QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->check_rect(1).center());
         },
         [](HeadlessRun& h) { h.rt.user_tick(h.c("选择列表框1"), 1); }},
        {"choose a list item",
         [](QtRun& q) {
             auto* l = q.view<QListWidget>("列表框1");
             QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(2)).center());
         },
         [](HeadlessRun& h) { h.rt.user_choose(h.c("列表框1"), 2); }},
        {"tick the check box",
         [](QtRun& q) { QTest::mouseClick(q.view("选择框1"), Qt::LeftButton); },
         [](HeadlessRun& h) { h.rt.user_click(h.c("选择框1")); }},
        {"choose the other radio box",
         [](QtRun& q) { QTest::mouseClick(q.view("单选框2"), Qt::LeftButton); },
         [](HeadlessRun& h) { h.rt.user_click(h.c("单选框2")); }},
        {"press the button",
         [](QtRun& q) { QTest::mouseClick(q.view("按钮1"), Qt::LeftButton); },
         [](HeadlessRun& h) { h.rt.user_click(h.c("按钮1")); }},
        {"open the second page of the tab",
         [](QtRun& q) {
             auto* t = q.view<ui::qt::TabView>("选择夹1");
             QTest::mouseClick(t->bar(), Qt::LeftButton, {}, t->bar()->tabRect(1).center());
         },
         [](HeadlessRun& h) { h.rt.user_page(h.c("选择夹1"), 1); }},
        {"step the scroll bar",
         [](QtRun& q) {
             auto* s = q.view<QScrollBar>("横向滚动条1");
             QTest::mouseClick(s, Qt::LeftButton, {}, scroll_bar_part(s, QStyle::SC_ScrollBarAddLine).center());
         },
         [](HeadlessRun& h) { h.rt.user_scroll(h.c("横向滚动条1"), 1); }},
        {"click the tool bar's second button",
         [](QtRun& q) {
             auto* tb = q.view<QToolBar>("工具条1");
             QTest::mouseClick(tb->widgetForAction(tb->actions().at(1)), Qt::LeftButton);
         },
         [](HeadlessRun& h) { h.rt.user_toolbar(h.c("工具条1"), 1); }},
        {"right button on the picture",
         [](QtRun& q) { QTest::mouseClick(q.view("图片框1"), Qt::RightButton, {}, QPoint(3, 4)); },
         [](HeadlessRun& h) { h.rt.user_mouse_down(h.c("图片框1"), false, 3, 4, 0); }},
        {"turn the wheel over the focused picture, Ctrl held",
         [](QtRun& q) {
             q.rt.set_focus(&q.c("图片框1"));
             QWidget* p = q.view("图片框1");
             QPoint at = p->rect().center();
             QWheelEvent e(at, p->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::ControlModifier,
                           Qt::NoScrollPhase, false);
             QApplication::sendEvent(p, &e);
         },
         [](HeadlessRun& h) {
             h.rt.set_focus(&h.c("图片框1"));
             h.rt.user_wheel(h.c("图片框1"), 2, 1);
         }},
        {"choose the menu item",
         [](QtRun& q) {
             auto* bar = q.window()->findChild<QMenuBar*>();
             ASSERT_NE(bar, nullptr);
             bar->actions().at(0)->menu()->actions().at(0)->trigger();
         },
         [](HeadlessRun& h) { h.rt.user_menu(*h.form, 1); }},
        {"resize the window",
         [](QtRun& q) {
             QWidget* w = q.window();
             int extra = w->height() - q.form->self().height; // the menu bar
             w->resize(700, 500 + extra);
             ASSERT_TRUE(eventually([&] { return q.form->self().width == 700; }));
         },
         [](HeadlessRun& h) { h.rt.user_resize(*h.form, 700, 500); }},
        {"close the window with its close box",
         [](QtRun& q) { q.window()->close(); },
         [](HeadlessRun& h) { h.rt.user_close(*h.form); }},
    };
    return steps;
}

TEST(QtBackend, UserActionsRaiseTheEventsTheHeadlessBackendRaises)
{
    std::vector<std::string> expected_log, expected_state;
    {
        HeadlessRun h;
        h.rt.set_focus(&h.c("按钮1"));
        h.log.clear();
        for (auto& s : user_steps()) {
            h.log.push_back(std::string("# ") + s.what);
            s.by_runtime(h);
        }
        expected_log = h.log;
        expected_state = state_of(*h.form);
    }
    QtRun q;
    q.rt.set_focus(&q.c("按钮1"));
    q.log.clear();
    for (auto& s : user_steps()) {
        q.log.push_back(std::string("# ") + s.what);
        s.by_qt(q);
        QApplication::processEvents();
    }
    EXPECT_EQ(joined(q.log), joined(expected_log));
    EXPECT_EQ(joined(state_of(*q.form)), joined(expected_state));
    EXPECT_EQ(q.rt.form(k_form), nullptr) << "the close box closed the form";
}

// ---------------------------------------------------------------------------

// Keys as the keyboard sends them: to the window, which hands each to the
// widget with the focus; Shift goes down before a capital letter, Ctrl
// before a shortcut.
void type(QWindow* w, const char* text)
{
    for (; *text; ++text) QTest::keyClick(w, *text, std::isupper(uchar(*text)) ? Qt::ShiftModifier : Qt::NoModifier);
}

// The keyboard test form: boxes inside a frame and a group box, as the
// module forms hold them.
struct KeysRun : QtRun {
    KeysRun()
    {
        std::string err;
        EXPECT_TRUE(rt.add_definition_file(std::string(JSB_SOURCE_DIR) + "/tests/forms/qt_keys.json", &err)) << err;
        keys = rt.load_form("qt_keys", nullptr, false);
        EXPECT_NE(keys, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(win()));
    }
    QWindow* win() { return backend.window(*keys)->windowHandle(); }
    ui::Control& box(const char* name) { return *keys->find(name); }
    QWidget* box_view(const char* name) { return QtBackend::widget(box(name)); }
    ui::Form* keys = nullptr;
};

TEST(QtBackend, KeysStayInTheBoxThatHasTheFocus)
{
    struct Row {
        const char* box;
        const char* typed; // what "CAT320" leaves in it
    };
    const std::vector<Row> rows = {
        {"编辑框1_数值", "320"}, // letters refused
        {"编辑框2_文本", "CAT320"},
        {"组合框1_可编辑", "CAT320"},
    };
    KeysRun q;
    QWindow* win = q.win();
    QClipboard* clip = QGuiApplication::clipboard();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.box);
        ui::Control& box = q.box(r.box);
        QTest::mouseClick(q.box_view(r.box), Qt::LeftButton);
        ASSERT_TRUE(q.box_view(r.box)->hasFocus());
        q.log.clear();
        auto still_focused = [&] { return q.rt.focus() == &box && q.box_view(r.box)->hasFocus(); };

        type(win, "CAT320");
        EXPECT_EQ(box.text, r.typed);
        EXPECT_TRUE(still_focused()) << "Shift moved the focus";
        // Select all and type over it.
        QTest::keyClick(win, Qt::Key_A, Qt::ControlModifier);
        type(win, "7.5");
        EXPECT_EQ(box.text, "7.5");
        // Shift+Home selects back to the start; Ctrl+C copies.
        QTest::keyClick(win, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClick(win, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(clip->text().toStdString(), "7.5");
        // Shift+Left twice from the end, Ctrl+X cuts ".5"; Ctrl+Z brings it back.
        QTest::keyClick(win, Qt::Key_End);
        QTest::keyClick(win, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(win, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(win, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(box.text, "7");
        EXPECT_EQ(clip->text().toStdString(), ".5");
        QTest::keyClick(win, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box.text, "7.5");
        // A cell copied from a spreadsheet comes with its line end: the box
        // takes the value and stays a one-line box.
        clip->setText("358.9\n");
        QTest::keyClick(win, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(win, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box.text, "358.9");
        EXPECT_TRUE(still_focused());
        EXPECT_EQ(qobject_cast<QPlainTextEdit*>(q.box_view(r.box)), nullptr);
        for (const std::string& e : q.log) EXPECT_EQ(e.rfind("LostFocus", 0), std::string::npos) << e;
    }
    // The focus leaves a box only when it really moves: one LostFocus.
    q.log.clear();
    QTest::mouseClick(q.box_view("编辑框1_数值"), Qt::LeftButton);
    QTest::keyClick(win, Qt::Key_Shift);
    QTest::keyClick(win, Qt::Key_Control);
    QTest::mouseClick(q.box_view("编辑框3_其它"), Qt::LeftButton);
    EXPECT_EQ(joined(q.log), "LostFocus 编辑框1_数值\n");
    EXPECT_EQ(q.rt.focus(), &q.box("编辑框3_其它"));
}

// Right-click in the box and choose 粘贴 in the menu that opens.
void paste_from_menu(QWindow* win, QLineEdit* line)
{
    QTest::mouseClick(win, Qt::RightButton, {}, line->mapTo(line->window(), line->rect().center()));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no context menu";
    const auto actions = menu->actions();
    const auto paste = std::find_if(actions.begin(), actions.end(),
                                    [](QAction* a) { return a->text().startsWith(QLineEdit::tr("&Paste")); });
    ASSERT_NE(paste, actions.end()) << "no paste in the context menu";
    ASSERT_TRUE((*paste)->isEnabled());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(*paste).center());
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }));
}

enum How { Paste, Menu, Commit, Keys };

// Puts `entered` into the box the way a user does.
void enter(KeysRun& q, QLineEdit* line, How how, const QString& entered)
{
    if (how == Paste || how == Menu) {
        QGuiApplication::clipboard()->setText(entered);
        if (how == Paste) QTest::keyClick(q.win(), Qt::Key_V, Qt::ControlModifier);
        else paste_from_menu(q.win(), line);
    } else if (how == Commit) {
        QInputMethodEvent commit;
        commit.setCommitString(entered);
        QCoreApplication::sendEvent(line, &commit);
    } else {
        for (QChar ch : entered) QTest::sendKeyEvent(QTest::Click, q.win(), Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// What reaches a number box holding "12", all of it selected: a paste
// (Ctrl+V or the context menu's), an input method's commit, or keys. A
// pasted text that writes a number is taken as that number; keys put in
// each character a number can hold ("。" and full-width forms as ASCII),
// and what they typed is read whole when the box is left. Anything else is
// refused with a tip under the box: a paste leaves "12", a key adds nothing.
TEST(QtBackend, NumberBoxTakesWhatIsPastedAsTheNumberItWritesOrSaysWhyNot)
{
    struct Row {
        How how;
        const char* entered;
        const char* shows; // in the box, and after the box is left
        const char* left;
        bool tip;          // the refusal is shown
    };
    const std::vector<Row> rows = {
        {Paste, "358.9", "358.9", "358.9", false},
        {Paste, "  -0.25\r\n", "-0.25", "-0.25", false}, // white space around a cell's value
        {Paste, "1,234.5", "1234.5", "1234.5", false},   // a spreadsheet's thousands separator
        {Paste, "1.5E+03", "1500", "1500", false},       // a spreadsheet's scientific form
        {Paste, "２.５", "2.5", "2.5", false},
        // a figure copied out of a report or a web page
        {Paste, "\u00A0192\u202F", "192", "192", false},
        {Paste, "\u200B1.5\u2060\r\n", "1.5", "1.5", false},
        {Paste, "\uFEFF7\u200D", "7", "7", false},
        {Menu, "1,234.5", "1234.5", "1234.5", false},
        {Commit, "１.２５", "1.25", "1.25", false},       // a Chinese input method in full-width mode
        {Commit, "1。25", "1.25", "1.25", false},         // ... in Chinese punctuation mode
        {Keys, "－３．５", "-3.5", "-3.5", false},
        {Keys, "1。25", "1.25", "1.25", false},
        {Keys, "1.2e2", "1.2e2", "120", false},
        {Keys, "1e3", "1e3", "1000", false},
        {Keys, "１Ｅ＋３", "1E+3", "1000", false},
        {Keys, "1,250", "1,250", "1250", false},
        {Keys, "１，２５０", "1,250", "1250", false},
        {Keys, "2,5", "2,5", "2,5", false},              // no number: stays as typed
        {Keys, "1..25", "1..25", "1..25", false},
        {Keys, "12.5m", "12.5", "12.5", true},           // a unit typed after the figure
        {Paste, "1.5\t2.5", "12", "12", true},           // two cells
        {Paste, "12.5m", "12", "12", true},
        {Paste, "192\u00A0m", "12", "12", true},
        {Paste, "1,5", "12", "12", true},                // a decimal comma or a misplaced separator: not one reading
        {Menu, "12.5m", "12", "12", true},
        {Menu, "1,5", "12", "12", true},
        {Commit, "十二", "12", "12", true},
    };
    KeysRun q;
    QWindow* win = q.win();
    ui::Control& box = q.box("编辑框1_数值");
    auto* line = qobject_cast<QLineEdit*>(q.box_view("编辑框1_数值"));
    ASSERT_NE(line, nullptr);
    QTest::mouseClick(line, Qt::LeftButton);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.entered);
        QTest::keyClick(win, Qt::Key_A, Qt::ControlModifier);
        type(win, "12");
        QToolTip::hideText();
        ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        QTest::keyClick(win, Qt::Key_A, Qt::ControlModifier);
        enter(q, line, r.how, QString::fromUtf8(r.entered));
        QCoreApplication::processEvents();
        // On a desktop the window has its focus back and the pointer leaves
        // where the menu was a moment after the menu has closed.
        if (r.how == Menu) QTest::qWait(400);
        EXPECT_EQ(box.text, r.shows);
        EXPECT_EQ(line->text().toStdString(), r.shows);
        EXPECT_EQ(QToolTip::isVisible(), r.tip) << QToolTip::text().toStdString();
        if (r.tip) {
            EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("不是一个数"))) << QToolTip::text().toStdString();
        }
        QTest::mouseClick(q.box_view("编辑框3_其它"), Qt::LeftButton);
        EXPECT_EQ(box.text, r.left);
        QTest::mouseClick(line, Qt::LeftButton);
    }
    // A text the program wrote is not judged: the user can still edit it.
    ui::rt_set_property(ui::U("qt_keys", "编辑框1_数值"), P::EditBox::Content, "不适用");
    QTest::keyClick(win, Qt::Key_End);
    QTest::keyClick(win, Qt::Key_Backspace);
    EXPECT_EQ(box.text, "不适");
}

// What a paste or a key put in for what was entered is one undo step: Ctrl+Z
// brings back the text before it, also where the box wrote the entry
// otherwise, and redo puts it back.
TEST(QtBackend, UndoBringsBackTheTextBeforeAnEntryTheBoxRewrote)
{
    struct Row {
        How how;
        const char* entered;
        bool over_all; // over "12" selected, else after it
        const char* shows;
    };
    const std::vector<Row> rows = {
        {Paste, "1,234.5", true, "1234.5"},
        {Menu, "1.5E+03", true, "1500"},
        {Paste, "358.9", true, "358.9"},
        {Paste, "\u00A03", false, "123"},
        {Menu, "５", false, "125"},
        {Keys, "１。５", true, "1.5"},
        {Keys, "1m5", true, "15"},
        {Commit, "１.２５", true, "1.25"},
    };
    KeysRun q;
    QWindow* win = q.win();
    ui::Control& box = q.box("编辑框1_数值");
    auto* line = qobject_cast<QLineEdit*>(q.box_view("编辑框1_数值"));
    ASSERT_NE(line, nullptr);
    QTest::mouseClick(line, Qt::LeftButton);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.entered);
        QTest::keyClick(win, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(win, Qt::Key_Delete);
        type(win, "12");
        if (r.over_all) QTest::keyClick(win, Qt::Key_A, Qt::ControlModifier);
        enter(q, line, r.how, QString::fromUtf8(r.entered));
        EXPECT_EQ(box.text, r.shows);
        QTest::keyClick(win, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(box.text, "12");
        EXPECT_EQ(line->text().toStdString(), "12");
        QTest::keyClick(win, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(box.text, r.shows);
    }
}

// A figure typed longer than its box shows, once the box is left, with
// fewer digits and whole in the box's tip, as a result does; the focus back
// in the box shows it whole again.
TEST(QtBackend, TypedFigureShownShorterIsWholeInTheTip)
{
    struct Row {
        const char* typed;
        const char* whole; // as the box reads it once left
    };
    const std::vector<Row> rows = {
        {"12345.678", "12345.678"},
        {"-0.000123456789", "-0.000123456789"},
        {"1,234,567.25", "1234567.25"},
    };
    KeysRun q;
    QWindow* win = q.win();
    ui::cmd_move(ui::U("qt_keys", "编辑框1_数值"), -1, -1, 48, -1);
    ui::Control& box = q.box("编辑框1_数值");
    auto* line = qobject_cast<QLineEdit*>(q.box_view("编辑框1_数值"));
    ASSERT_NE(line, nullptr);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        QTest::mouseClick(line, Qt::LeftButton);
        QTest::keyClick(win, Qt::Key_A, Qt::ControlModifier);
        type(win, r.typed);
        EXPECT_EQ(line->text().toStdString(), r.typed);
        QTest::mouseClick(q.box_view("编辑框3_其它"), Qt::LeftButton);
        EXPECT_EQ(box.text, r.whole);
        EXPECT_NE(line->text().toStdString(), r.whole) << "the box is wide enough: no test";
        EXPECT_TRUE(line->toolTip().contains(QString::fromUtf8(r.whole))) << line->toolTip().toStdString();
        QTest::mouseClick(line, Qt::LeftButton);
        EXPECT_EQ(line->text().toStdString(), r.whole);
    }
}

struct Write {
    const char* what;
    std::function<void(QtRun&)> write;
    std::function<bool(QtRun&)> shows;
};

void set(QtRun& q, const char* name, int prop, const ui::Value& v, int member = -1)
{
    q.rt.set(name[0] ? q.c(name) : q.form->self(), prop, v, member);
}

QColor role_color(QWidget* w, QPalette::ColorRole role, QPalette::ColorGroup g = QPalette::Active)
{
    return w->palette().color(g, role);
}

TEST(QtBackend, PropertyWritesReachTheWidgets)
{
    const std::vector<Write> rows = {
        {"label caption", [](QtRun& q) { set(q, "标签1", P::Label::Caption, "新的标题"); },
         [](QtRun& q) { return q.view<QLabel>("标签1")->text() == QString::fromUtf8("新的标题"); }},
        {"label text colour", [](QtRun& q) { set(q, "标签1", P::Label::TextColor, 0x00FF00); },
         [](QtRun& q) { return role_color(q.view("标签1"), QPalette::WindowText) == QColor(0, 255, 0); }},
        {"transparent label caption", [](QtRun& q) { set(q, "透明标签1", P::TransLabel::Caption, "透明"); },
         [](QtRun& q) { return q.view<QLabel>("透明标签1")->text() == QString::fromUtf8("透明"); }},
        {"button caption", [](QtRun& q) { set(q, "按钮1", P::Button::Caption, "确定"); },
         [](QtRun& q) { return q.view<QPushButton>("按钮1")->text() == QString::fromUtf8("确定"); }},
        {"group box caption", [](QtRun& q) { set(q, "分组框1", P::GroupBox::Caption, "新分组"); },
         [](QtRun& q) { return q.view<QGroupBox>("分组框1")->title() == QString::fromUtf8("新分组"); }},
        {"check box mark and caption",
         [](QtRun& q) {
             set(q, "选择框1", P::CheckBox::Checked, true);
             set(q, "选择框1", P::CheckBox::Caption, "有瓦斯");
         },
         [](QtRun& q) {
             auto* b = q.view<QAbstractButton>("选择框1");
             return b->isChecked() && b->text() == QString::fromUtf8("有瓦斯");
         }},
        {"a radio write changes only that box", [](QtRun& q) { set(q, "单选框2", P::RadioBox::Checked, true); },
         [](QtRun& q) { return q.view<QAbstractButton>("单选框2")->isChecked() && q.view<QAbstractButton>("单选框1")->isChecked(); }},
        {"edit box content", [](QtRun& q) { set(q, "编辑框1_数值", P::EditBox::Content, "12.5"); },
         [](QtRun& q) { return q.view<QLineEdit>("编辑框1_数值")->text() == "12.5"; }},
        {"edit box colours",
         [](QtRun& q) {
             set(q, "编辑框1_数值", P::EditBox::TextColor, 0x0000FF);
             set(q, "编辑框1_数值", P::EditBox::BackColor, 0x00FFFF);
         },
         [](QtRun& q) {
             QWidget* w = q.view("编辑框1_数值");
             return role_color(w, QPalette::Text) == QColor(255, 0, 0) && role_color(w, QPalette::Base) == QColor(255, 255, 0);
         }},
        {"password input mode", [](QtRun& q) { set(q, "编辑框1_数值", P::EditBox::InputMode, 2); },
         [](QtRun& q) { return q.view<QLineEdit>("编辑框1_数值")->echoMode() == QLineEdit::Password; }},
        {"read-only input mode", [](QtRun& q) { set(q, "编辑框2_文本", P::EditBox::InputMode, 1); },
         [](QtRun& q) { return q.view<QLineEdit>("编辑框2_文本")->isReadOnly(); }},
        {"font size member, points at 96 dpi", [](QtRun& q) { set(q, "编辑框1_数值", P::EditBox::Font, 14, P::FontMember::Size); },
         [](QtRun& q) { return q.view("编辑框1_数值")->font().pixelSize() == 19; }},
        {"a disabled box keeps the written text colour", [](QtRun& q) { set(q, "编辑框4_禁用", P::EditBox::TextColor, 0x008000); },
         [](QtRun& q) {
             QWidget* w = q.view("编辑框4_禁用");
             return !w->isEnabled() && role_color(w, QPalette::Text, QPalette::Disabled) == QColor(0, 0x80, 0);
         }},
        {"lines with CR LF make a multi-line box", [](QtRun& q) { set(q, "编辑框2_文本", P::EditBox::Content, "甲\r\n乙"); },
         [](QtRun& q) {
             auto* e = qobject_cast<QPlainTextEdit*>(QtBackend::widget(q.c("编辑框2_文本")));
             return e && e->toPlainText() == QString::fromUtf8("甲\n乙");
         }},
        {"appending keeps the text and goes to its end",
         [](QtRun& q) { ui::cmd_edit_append(ui::U(k_form, "编辑框3_多行"), {"\r\n第三行"}); },
         [](QtRun& q) {
             auto* e = q.view<QPlainTextEdit>("编辑框3_多行");
             return e->toPlainText() == QString::fromUtf8("第一行\n第二行\n第三行") && e->textCursor().atEnd();
         }},
        {"combo index", [](QtRun& q) { set(q, "组合框1", P::ComboBox::CurrentIndex, 2); },
         [](QtRun& q) { return q.view<QComboBox>("组合框1")->currentIndex() == 2; }},
        {"combo items", [](QtRun& q) { ui::cmd_combo_add_item(ui::U(k_form, "组合框1"), "丁"); },
         [](QtRun& q) { return q.view<QComboBox>("组合框1")->itemText(3) == QString::fromUtf8("丁"); }},
        {"a combo is as tall as its text", [](QtRun&) {},
         [](QtRun& q) { return q.view("组合框1")->height() < 40; }},
        {"list index and colour",
         [](QtRun& q) {
             set(q, "列表框1", P::ListBox::CurrentIndex, 3);
             set(q, "列表框1", P::ListBox::BackColor, 0xC0C0C0);
         },
         [](QtRun& q) {
             auto* l = q.view<QListWidget>("列表框1");
             return l->currentRow() == 3 && role_color(l, QPalette::Base) == QColor(0xC0, 0xC0, 0xC0);
         }},
        {"list cleared", [](QtRun& q) { ui::cmd_list_clear(ui::U(k_form, "列表框1")); },
         [](QtRun& q) { return q.view<QListWidget>("列表框1")->count() == 0; }},
        {"check list index", [](QtRun& q) { set(q, "选择列表框1", P::ChkListBox::CurrentIndex, 2); },
         [](QtRun& q) { return q.view<QListWidget>("选择列表框1")->currentRow() == 2; }},
        {"progress bar",
         [](QtRun& q) {
             set(q, "进度条1", P::ProcessBar::Maximum, 200);
             set(q, "进度条1", P::ProcessBar::Position, 70);
         },
         [](QtRun& q) {
             auto* p = q.view<QProgressBar>("进度条1");
             return p->maximum() == 200 && p->value() == 70;
         }},
        {"scroll bar", [](QtRun& q) { set(q, "纵向滚动条1", P::ScrollBar::Position, 30); },
         [](QtRun& q) { return q.view<QScrollBar>("纵向滚动条1")->value() == 30; }},
        {"tab page", [](QtRun& q) { set(q, "选择夹1", P::Tab::CurrentPage, 1); },
         [](QtRun& q) { return q.view("标签2")->isVisible() && !q.view("标签3")->isVisible(); }},
        {"header-less tab page", [](QtRun& q) { set(q, "选择夹2", P::Tab::CurrentPage, 1); },
         [](QtRun& q) { return !q.view("透明标签2")->isVisible() && !q.view<ui::qt::TabView>("选择夹2")->bar(); }},
        {"frame colour", [](QtRun& q) { set(q, "外形框1", P::ShapeBox::BackColor, 0x00FF00); },
         [](QtRun& q) { return q.view("外形框1")->grab().toImage().pixelColor(20, 20) == QColor(0, 255, 0); }},
        {"visible", [](QtRun& q) { set(q, "图片框1", P::Visible, false); },
         [](QtRun& q) { return !q.view("图片框1")->isVisible(); }},
        {"disabled", [](QtRun& q) { set(q, "按钮1", P::Disabled, true); },
         [](QtRun& q) { return !q.view("按钮1")->isEnabled(); }},
        {"geometry",
         [](QtRun& q) { ui::cmd_move(ui::U(k_form, "按钮1"), 300, 8, 90, 24); },
         [](QtRun& q) { return q.view("按钮1")->geometry() == QRect(300, 8, 90, 24); }},
        {"mouse pointer", [](QtRun& q) { set(q, "按钮1", P::MousePointer, 13); },
         [](QtRun& q) { return q.view("按钮1")->cursor().shape() == Qt::PointingHandCursor; }},
        {"balloon tip of several lines",
         [](QtRun& q) { ui::cmd_attach_tip(ui::U(k_form, "气球提示框1"), ui::U(k_form, "编辑框1_数值"), "第一行\r\n第二行"); },
         [](QtRun& q) {
             QString tip = q.view("编辑框1_数值")->toolTip();
             return tip.contains(QString::fromUtf8("第一行")) && tip.contains(QString::fromUtf8("第二行"));
         }},
        {"window title", [](QtRun& q) { set(q, "", P::window::Title, "新窗口标题"); },
         [](QtRun& q) { return q.window()->windowTitle() == QString::fromUtf8("新窗口标题"); }},
        {"bar chart values are painted",
         [](QtRun& q) {
             namespace B = P::BarChart;
             set(q, "柱状图1", B::Title, "每月进尺");
             set(q, "柱状图1", B::SeriesColor, 0x0000FF);
             set(q, "柱状图1", B::SeriesName, "进尺");
             set(q, "柱状图1", B::CategoryCount, 2);
             set(q, "柱状图1", B::CurrentCategory, 1);
             set(q, "柱状图1", B::CategoryName, "二月");
             set(q, "柱状图1", B::Value, 60.0);
         },
         [](QtRun& q) { return pixels_of(q.view("柱状图1")->grab().toImage(), QColor(255, 0, 0)) > 200; }},
    };
    QtRun q;
    for (auto& r : rows) {
        r.write(q);
        EXPECT_TRUE(r.shows(q)) << r.what;
    }
}

TEST(QtBackend, LinesAppendedInOneTurnAreShownWhenTheTurnEnds)
{
    QtRun q;
    // Held from before the writes: nothing asks the backend for it again.
    auto* e = q.view<QPlainTextEdit>("编辑框3_多行");
    const ui::Ref box = ui::U(k_form, "编辑框3_多行");
    ui::rt_set_property(box, P::EditBox::Content, "第1行");
    QString expected = QString::fromUtf8("第1行");
    for (int i = 2; i <= 30; ++i) {
        ui::cmd_edit_append(box, {"\r\n", "第" + std::to_string(i) + "行"});
        expected += QString::fromUtf8("\n第%1行").arg(i);
    }
    QApplication::processEvents();
    EXPECT_EQ(e->toPlainText(), expected);
    EXPECT_TRUE(e->textCursor().atEnd());
    EXPECT_GT(e->verticalScrollBar()->value(), 0) << "more lines than the box shows";
    EXPECT_TRUE(e->viewport()->rect().contains(e->cursorRect())) << "the view follows the end";
    // A new text replaces the lines.
    ui::rt_set_property(box, P::EditBox::Content, "只有一行");
    QApplication::processEvents();
    EXPECT_EQ(e->toPlainText(), QString::fromUtf8("只有一行"));
}

TEST(QtBackend, PictureButtonShowsItsFourStatesAndPictureBoxPlaysGif)
{
    QtRun q;
    QByteArray normal = png_of(Qt::red), hover = png_of(Qt::green), pressed = png_of(Qt::blue), disabled = png_of(Qt::gray);
    ui::Control& btn = q.c("图形按钮1");
    q.rt.set(btn, P::PicBtn::Picture, blob(normal));
    q.rt.set(btn, P::PicBtn::PicturePressed, blob(pressed));
    q.rt.set(btn, P::PicBtn::PictureDisabled, blob(disabled));
    auto* v = q.view<ui::qt::PicButtonView>("图形按钮1");
    auto shown = [&] { return v->grab().toImage().pixelColor(40, 15); };

    EXPECT_EQ(shown(), QColor(Qt::red));
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(v->state(), ui::qt::PicButtonView::Pressed);
    EXPECT_EQ(shown(), QColor(Qt::blue));
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(v->state(), ui::qt::PicButtonView::Hover);
    EXPECT_EQ(shown(), QColor(Qt::red)) << "no hover picture: the normal one";
    q.rt.set(btn, P::PicBtn::PictureHover, blob(hover));
    EXPECT_EQ(shown(), QColor(Qt::green));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(v, &leave);
    EXPECT_EQ(shown(), QColor(Qt::red));
    q.rt.set(btn, P::Disabled, true);
    EXPECT_EQ(shown(), QColor(Qt::gray));
    q.rt.set(btn, P::Disabled, false);
    // The chosen look: the pressed picture written as normal and hover.
    q.rt.set(btn, P::PicBtn::Picture, blob(pressed));
    EXPECT_EQ(shown(), QColor(Qt::blue));

    ui::Control& pic = q.c("图片框1");
    q.rt.set(pic, P::PicBox::Picture, ui::Blob{two_frame_gif(10)});
    auto* pv = q.view<ui::qt::PictureView>("图片框1");
    EXPECT_EQ(pv->frame_count(), 2);
    EXPECT_TRUE(eventually([&] { return pv->frame() == 1; })) << "the second frame comes";
    EXPECT_EQ(pv->grab().toImage().pixelColor(60, 45), QColor(Qt::blue)) << "drawn scaled to the box";
    // Pictures of the box's 4:3 shape fill it.
    const QSize box_shape(40, 30);
    q.rt.set(pic, P::PicBox::Picture, blob(png_of(Qt::green, box_shape)));
    EXPECT_EQ(pv->frame(), 0);
    EXPECT_EQ(pv->grab().toImage().pixelColor(60, 45), QColor(Qt::green));
    // A picture drawn once at a size is drawn anew at the next size.
    const QSize before = pv->size();
    ui::cmd_move(ui::U(k_form, "图片框1"), -1, -1, before.width() * 2, before.height() * 2);
    QImage grown = pv->grab().toImage();
    EXPECT_EQ(grown.size(), before * 2);
    EXPECT_EQ(grown.pixelColor(grown.width() - 2, grown.height() - 2), QColor(Qt::green)) << "scaled to the new size";
    // The same bytes in another block show the same; other bytes of the same length do not.
    q.rt.set(pic, P::PicBox::Picture, blob(png_of(Qt::red, box_shape)));
    EXPECT_EQ(pv->grab().toImage().pixelColor(5, 5), QColor(Qt::red));
    q.rt.set(pic, P::PicBox::Picture, blob(png_of(Qt::green, box_shape)));
    EXPECT_EQ(pv->grab().toImage().pixelColor(5, 5), QColor(Qt::green));
    // A wider picture keeps its shape: as wide as the box, centred in its height.
    q.rt.set(pic, P::PicBox::Picture, blob(png_of(Qt::red, {80, 30})));
    QImage wide = pv->grab().toImage();
    EXPECT_EQ(pv->picture_area(), QRect(0, 45, 240, 90));
    EXPECT_EQ(wide.pixelColor(120, 90), QColor(Qt::red));
    EXPECT_NE(wide.pixelColor(120, 20), QColor(Qt::red)) << "not stretched to the box's height";
    EXPECT_NE(wide.pixelColor(120, 160), QColor(Qt::red));
}

TEST(QtBackend, ChineseTextUsesCjkFontAndScreenshotIsSaved)
{
    QtRun q;
    for (const char* name : {"标签1", "透明标签1", "按钮1", "编辑框3_多行"}) {
        QFont f = q.view(name)->font();
        QString family = QFontInfo(f).family();
        EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese))
            << name << ": " << family.toStdString();
        QFontMetrics fm(f);
        for (char32_t ch : {U'隧', U'道', U'爆', U'破'}) EXPECT_TRUE(fm.inFontUcs4(ch)) << name;
    }
    EXPECT_EQ(q.view("标签1")->font().pixelSize(), 12) << "9 points at 96 dpi";
    EXPECT_EQ(q.view("透明标签1")->font().pixelSize(), 16);
    EXPECT_TRUE(q.view("透明标签1")->font().bold());

    // Dress the form for the picture: buttons, a chart, a form in the frame.
    q.rt.set(q.c("图形按钮1"), P::PicBtn::Picture, blob(png_of(QColor(0x33, 0x66, 0xCC))));
    q.rt.set(q.c("图片框1"), P::PicBox::Picture, blob(png_of(QColor(0xCC, 0x88, 0x33), {40, 30})));
    namespace B = P::BarChart;
    ui::Control& chart = q.c("柱状图1");
    q.rt.set(chart, B::Title, "各月进尺（m）");
    q.rt.set(chart, B::SeriesCount, 2);
    q.rt.set(chart, B::CategoryCount, 3);
    for (int s = 0; s < 2; ++s) {
        q.rt.set(chart, B::CurrentSeries, s);
        q.rt.set(chart, B::SeriesName, s ? "计划" : "实际");
        q.rt.set(chart, B::SeriesColor, s ? 0x0080FF : 0xC08000);
        for (int cat = 0; cat < 3; ++cat) {
            q.rt.set(chart, B::CurrentCategory, cat);
            q.rt.set(chart, B::CategoryName, std::string(cat == 0 ? "一月" : cat == 1 ? "二月" : "三月"));
            q.rt.set(chart, B::Value, 30.0 + 20 * cat + 10 * s);
        }
    }
    q.rt.set(chart, B::XAxisCaption, "月份");
    ui::cmd_attach_tip(ui::U(k_form, "气球提示框1"), ui::U(k_form, "按钮1"), "提示");
    QTest::qWait(50);

    QImage shot = q.window()->grab().toImage();
    std::string path = std::string(JSB_BINARY_DIR) + "/qt_all_kinds.png";
    EXPECT_TRUE(shot.save(QString::fromStdString(path), "PNG")) << path;
    // The label's text is drawn in its colour (red), not as empty boxes.
    QRect label = q.view("标签1")->geometry().translated(q.view("标签1")->parentWidget()->mapTo(q.window(), QPoint(0, 0)));
    EXPECT_GT(reddish_pixels(shot.copy(label)), 10);
}

TEST(QtBackend, FormsGoIntoFramesAndModalFormsBlockTheirOwner)
{
    QtRun q;
    using nlohmann::json;
    q.rt.add_definition("qt_inner", json{{"name", "qt_inner"}, {"width", 120}, {"height", 40}, {"border", "none"},
                                         {"back_color", 0xCCFFCC},
                                         {"controls", json::array({json{{"kind", "Label"}, {"name", "标签1"},
                                                                        {"rect", {4, 4, 110, 20}}, {"text", "内嵌的窗口"}}})}});
    ASSERT_TRUE(ui::cmd_load_form("qt_inner", k_form));
    ui::cmd_set_parent("qt_inner", ui::U(k_form, "外形框1"));
    ui::cmd_move(ui::U("qt_inner"), 5, 5);
    QWidget* inner = q.backend.window(*q.rt.form("qt_inner"));
    QWidget* frame = q.view("外形框1");
    EXPECT_FALSE(inner->isWindow());
    EXPECT_TRUE(frame->isAncestorOf(inner));
    EXPECT_TRUE(inner->isVisible());
    EXPECT_EQ(inner->mapTo(frame, QPoint(0, 0)), QPoint(6, 6)) << "inside the frame's line";
    QApplication::processEvents();
    EXPECT_EQ(q.rt.form("qt_inner")->self().width, 120) << "no size echoed back from the embedding";

    q.rt.add_definition("qt_modal", json{{"name", "qt_modal"}, {"title", "模态"}, {"width", 200}, {"height", 100},
                                         {"border", "tool_fixed"}});
    bool blocked = false;
    q.backend.post([&] {
        QWidget* m = q.backend.window(*q.rt.form("qt_modal"));
        blocked = m && m->isWindow() && m->windowModality() == Qt::WindowModal && m->parentWidget() == q.window() &&
                  q.form->disabled_by_modal == 1;
        ui::cmd_destroy("qt_modal");
    });
    EXPECT_TRUE(ui::cmd_load_form("qt_modal", k_form, true)) << "returns once the modal form is gone";
    EXPECT_TRUE(blocked);
    EXPECT_FALSE(ui::cmd_is_created(ui::U("qt_modal")));
    EXPECT_EQ(q.form->disabled_by_modal, 0);
}

TEST(QtBackend, TimersDragsAndServices)
{
    QtRun q;
    // One QTimer drives the forms' timers.
    q.rt.set(q.c("时钟1"), P::Timer::Interval, 20);
    EXPECT_TRUE(eventually([&] { return std::count(q.log.begin(), q.log.end(), "Tick 时钟1") >= 2; }));
    q.rt.set(q.c("时钟1"), P::Timer::Interval, 0);

    // A LeftButtonDown handler drags its picture box inside the parent.
    q.rt.register_handler("DragPicture", [](ui::EventArgs&) { ui::cmd_drag_control(ui::U(k_form, "图片框1")); });
    q.c("图片框1").events[ui::Event::LeftButtonDown] = "DragPicture";
    QWidget* pic = q.view("图片框1");
    QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(pic, QPoint(30, 25));
    QTest::mouseRelease(pic, Qt::LeftButton, {}, QPoint(30, 25));
    EXPECT_EQ(q.c("图片框1").left, 8 + 20);
    EXPECT_EQ(q.c("图片框1").top, 280 + 15);
    EXPECT_EQ(pic->pos(), QPoint(28, 295));

    // Waiting with the events pumped runs work posted from another thread;
    // sleeping does not.
    std::atomic<bool> ran = false;
    std::thread([&] { q.backend.post([&] { ran = true; }); }).join();
    q.backend.sleep(20);
    EXPECT_FALSE(ran);
    q.backend.wait_pumping(30);
    EXPECT_TRUE(ran);

    // Message box: the pressed button's code; pop-up menu: the chosen item.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8("取消")) b->click();
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            answer.stop();
            menu->setActiveAction(menu->actions().at(1));
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    answer.start(20);
    EXPECT_EQ(ui::cmd_message_box("确定开始导出，中途请勿进行其他操作！", 1, "信息：", k_form), 1);
    q.log.clear();
    ui::cmd_popup_menu(k_form);
    EXPECT_EQ(q.log, std::vector<std::string>{"Click . 5"});

    // The save dialog: its filter, and the default extension added to a
    // name typed without one.
    QString chosen = QString::fromUtf8(JSB_BINARY_DIR "/qt_示意图");
    ui::rt_set_property(ui::U(k_form, "通用对话框1"), P::CommonDlg::InitialFolder, JSB_BINARY_DIR);
    QFile::remove(chosen + ".png");
    QString filter;
    QTimer pick;
    QObject::connect(&pick, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            pick.stop();
            filter = d->nameFilters().join(";;");
            // Typed into the name box, as a user would.
            if (auto* name = d->findChild<QLineEdit*>("fileNameEdit")) name->setText(QFileInfo(chosen).fileName());
            QMetaObject::invokeMethod(d, "accept");
        }
    });
    pick.start(20);
    ASSERT_TRUE(ui::cmd_open_dialog(ui::U(k_form, "通用对话框1")));
    EXPECT_EQ(filter, QString::fromUtf8("图片（.png） (*.png)"));
    EXPECT_EQ(ui::rt_get_property(ui::U(k_form, "通用对话框1"), P::CommonDlg::FileName).text(),
              (chosen + ".png").toStdString());

    EXPECT_GT(ui::cmd_screen_width(), 0);
    EXPECT_EQ(ui::cmd_program_folder(), QCoreApplication::applicationDirPath().toStdString());
    int64_t t0 = q.backend.clock_ms();
    EXPECT_GE(q.backend.clock_ms(), t0);
    EXPECT_GE(ui::cmd_now().year, 2024);

    // No audio device here: a sound is silence, and the call comes back.
    std::string wav = std::string("RIFF") + std::string("\x2C\x00\x00\x00", 4) + "WAVEfmt " +
                      std::string("\x10\x00\x00\x00\x01\x00\x01\x00\x44\xAC\x00\x00\x88\x58\x01\x00\x02\x00\x10\x00", 20) +
                      "data" + std::string("\x08\x00\x00\x00", 4) + std::string(8, '\0');
    EXPECT_TRUE(ui::cmd_play_sound(wav));
    EXPECT_TRUE(ui::cmd_play_sound(wav));
    // Sounds come from a module loaded with the first one: it must be there.
    ui::qt::SoundPlayer player;
    EXPECT_TRUE(player.has_module());
    EXPECT_FALSE(player.play(ui::Bytes("not a sound")));
}

TEST(QtBackend, RuntimeErrorEndsEveryLoopWithItsCode)
{
    QtRun q;
    // A handler waits with the events pumped; meanwhile a timer's handler
    // touches a form that is not loaded: the program ends with code 1 after
    // the message, and the waiting handler does not go on.
    bool went_on = false;
    q.rt.register_handler("WaitThenGoOn", [&](ui::EventArgs&) {
        ui::cmd_wait_pumping(5000);
        went_on = true;
    });
    q.rt.register_handler("TouchUnloadedForm", [](ui::EventArgs&) { ui::rt_get_property(ui::U("没有载入的窗口", "标签1"), 8); });
    q.c("按钮1").events[ui::Event::Click] = "WaitThenGoOn";
    q.c("时钟1").events[ui::Event::Tick] = "TouchUnloadedForm";
    QString message;
    QTimer ok;
    QObject::connect(&ok, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->buttons().at(0)->click();
        }
    });
    ok.start(20);
    q.rt.set(q.c("时钟1"), P::Timer::Interval, 10);
    QTest::mouseClick(q.view("按钮1"), Qt::LeftButton);
    EXPECT_TRUE(q.backend.exiting());
    EXPECT_EQ(q.backend.exit_code(), 1);
    EXPECT_FALSE(went_on);
    EXPECT_TRUE(message.contains(QString::fromUtf8("未载入欲访问窗口组件所在的窗口"))) << message.toStdString();
    EXPECT_EQ(q.backend.run_loop(), 1) << "the main loop does not start again";
    // Qt's loops stay ended until the application's loop runs once more:
    // leave them usable for the next test.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    // Never a window on a developer's desktop: the tests run offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
