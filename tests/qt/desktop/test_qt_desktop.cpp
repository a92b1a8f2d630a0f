// The program's windows on a real desktop: an X server with a window
// manager that puts a title bar and borders around each window, and a panel
// that the work area leaves out (run by desktop_session.sh). Every window
// the program opens (the main window, each look-up, the diagram viewer, the
// about and update forms, message boxes) must stand with its whole frame,
// title bar included, inside the work area, as the window manager shows it.
// Every module page shows whole across the main window, and the wheel over
// a list the user has not given the focus scrolls the page instead.
// Pictures of the desktop are saved under build/screens/desktop_WxH.
#include "program_on_screen.h"
#include "ui/cmd.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_look.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QScrollBar>
#include <QWidget>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qwindowsysteminterface.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// ---- the desktop as the X server has it ------------------------------------------------

xcb_connection_t* x_connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t root_window() { return xcb_setup_roots_iterator(xcb_get_setup(x_connection())).data->root; }

std::vector<uint32_t> cardinals(xcb_window_t w, const char* name)
{
    xcb_connection_t* c = x_connection();
    xcb_intern_atom_reply_t* a = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(std::strlen(name)), name), nullptr);
    std::vector<uint32_t> v;
    if (a && a->atom != XCB_ATOM_NONE) {
        xcb_get_property_reply_t* r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, w, a->atom, XCB_ATOM_CARDINAL, 0, 64), nullptr);
        if (r && r->format == 32) {
            auto* data = static_cast<uint32_t*>(xcb_get_property_value(r));
            v.assign(data, data + xcb_get_property_value_length(r) / 4);
        }
        std::free(r);
    }
    std::free(a);
    return v;
}

// The work area the window manager gives windows (the screen less the panel).
QRect work_area()
{
    std::vector<uint32_t> v = cardinals(root_window(), "_NET_WORKAREA");
    return v.size() >= 4 ? QRect(int(v[0]), int(v[1]), int(v[2]), int(v[3])) : QRect();
}

// The window manager's frame around a window, where it stands on the
// screen: the outermost window below the root that holds it. Empty until
// the window manager has framed it.
QRect frame_on_screen(QWidget* w)
{
    xcb_connection_t* c = x_connection();
    const xcb_window_t client = xcb_window_t(w->winId());
    xcb_window_t top = client;
    for (;;) {
        xcb_query_tree_reply_t* t = xcb_query_tree_reply(c, xcb_query_tree(c, top), nullptr);
        if (!t) return {};
        const xcb_window_t parent = t->parent, root = t->root;
        std::free(t);
        if (parent == root || parent == XCB_WINDOW_NONE) break;
        top = parent;
    }
    if (top == client || cardinals(client, "_NET_FRAME_EXTENTS").size() != 4) return {};
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, top), nullptr);
    if (!g) return {};
    QRect r(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width);
    std::free(g);
    return r;
}

std::string text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// A window's frame once the window manager has framed it and it has stayed
// put for a while (the program may still correct its place once it knows
// the frame).
class Settle {
public:
    // One look; true once settled.
    bool step(QWidget* w)
    {
        const QRect f = w && w->isVisible() ? frame_on_screen(w) : QRect();
        if (f.isEmpty() || f != last_) {
            last_ = f;
            since_.start();
            return false;
        }
        return since_.elapsed() >= 150;
    }
    QRect frame() const { return last_; }

private:
    QRect last_;
    QElapsedTimer since_;
};

// ---- the program on this desktop -----------------------------------------------------------

std::unique_ptr<Program> g_program;

Program& program()
{
    if (!g_program) {
        ui::set_online_probe("http://127.0.0.1:9/"); // the update form: offline at once
        g_program = std::make_unique<Program>();
        g_program->backend.real_message_boxes = true;
    }
    return *g_program;
}

void save_desktop(const std::string& name)
{
    const QSize s = QGuiApplication::primaryScreen()->geometry().size();
    const QString dir = QString::fromUtf8(JSB_BINARY_DIR "/screens/desktop_") + QString::number(s.width()) + "x" +
                        QString::number(s.height());
    QDir().mkpath(dir);
    QGuiApplication::primaryScreen()->grabWindow(0).save(dir + "/" + QString::fromStdString(name) + ".png", "PNG");
}

// Where a window's frame is not wholly inside the work area: what and where
// (empty when it is).
std::string misplaced(const std::string& what, const QRect& frame)
{
    const QRect area = work_area();
    if (frame.isEmpty()) return what + ": never framed, or never still\n";
    if (area.contains(frame)) return {};
    return what + ": frame " + text(frame) + " not inside the work area " + text(area) + "\n";
}

// The frame of a window that stays open, once settled (empty if it never is).
QRect settled_frame(QWidget* w)
{
    Settle settle;
    return QTest::qWaitFor([&] { return settle.step(w); }, 5000) ? settle.frame() : QRect();
}

// Opens windows with `open` (which may return only once they are closed:
// a modal form, a message box) and, for each window `find` shows meanwhile,
// checks its frame once settled, saves a picture and closes it with `close`.
std::string check_while_open(const std::string& what, const std::function<void()>& open,
                             const std::function<QWidget*()>& find, const std::function<void(QWidget*)>& close)
{
    std::string faults;
    int seen = 0;
    Settle settle;
    QElapsedTimer waited;
    waited.start();
    QTimer look;
    look.setInterval(20);
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* w = find();
        if (!w) return;
        const bool still = settle.step(w);
        if (!still && waited.elapsed() < 5000) return;
        const std::string name = what + (seen ? " " + std::to_string(seen + 1) : "");
        faults += misplaced(name, still ? settle.frame() : QRect());
        save_desktop(name);
        ++seen;
        settle = Settle();
        waited.restart();
        close(w);
    });
    look.start();
    open();
    if (!QTest::qWaitFor([&] { return find() == nullptr; }, 5000)) faults += what + ": never closed\n";
    look.stop();
    if (seen == 0) faults += what + ": no window opened\n";
    return faults;
}

// The first message box on screen.
QWidget* shown_message_box()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w) && w->isVisible()) return w;
    return nullptr;
}

// A control on a page of its form's tabs that is not chosen: its pages are
// chosen, as a user would.
void bring_into_view(Program& p, ui::Control& c)
{
    for (ui::Control* k = &c; k->parent; k = k->parent)
        if (k->parent->kind == ui::Kind::Tab && k->parent->current_page != k->page) p.rt.user_page(*k->parent, k->page);
    QTest::qWait(1);
}

// Look-ups shown only after a choice: the choices a user makes first.
struct Choice {
    const char* box;
    const char* item;
};
const std::map<std::string, std::vector<Choice>> kShownAfter = {
    {"按钮2_掏槽圈查询", {{"组合框_开挖方法", "全断面法"}, {"组合框_方法2", "圆形隧道立（竖）井"}}},
};

void choose(Program& p, const std::string& form, const Choice& ch)
{
    ui::Control& box = p.c(form, ch.box);
    for (int i = 0; i < int(box.items.size()); ++i)
        if (box.items[size_t(i)] == ch.item) return p.rt.user_choose(box, i);
    ADD_FAILURE() << form << "." << ch.box << " has no item " << ch.item;
}

// Every button of the module forms that opens a look-up picture or the
// diagram viewer, with the form it opens.
struct LookUp {
    const ModulePage* module;
    std::string control;
    const char* opens; // "popup" or "viewer"
};

std::vector<LookUp> every_look_up(Program& p)
{
    std::vector<LookUp> out;
    for (const ModulePage& m : kModules)
        for (const auto& c : p.form(m.form).controls) {
            auto click = c->events.find(ui::Event::Click);
            if (click == c->events.end()) continue;
            const std::string& handler = click->second;
            if (handler.find("Lookup") != std::string::npos) out.push_back({&m, c->name, "popup"});
            else if (handler.find("ShowDiagram") != std::string::npos) out.push_back({&m, c->name, "viewer"});
        }
    return out;
}

QWidget* open_window(Program& p, const char* form)
{
    ui::Form* f = p.rt.form(form);
    QWidget* w = f ? p.backend.window(*f) : nullptr;
    return w && w->isVisible() ? w : nullptr;
}

void close_form(Program& p, const char* form)
{
    if (!p.rt.form(form)) return;
    ui::cmd_destroy(form);
    if (!QTest::qWaitFor([&] { return p.rt.form(form) == nullptr; }, 5000)) ADD_FAILURE() << form << " never closed";
}

TEST(Desktop, PanelIsLeftOutOfTheWorkArea)
{
    program();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x_connection())).data;
    EXPECT_EQ(work_area(), QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels - 30));
    // Qt sees the same work area (in its own units when it scales).
    const QScreen* qt = QGuiApplication::primaryScreen();
    const QRect avail = qt->availableGeometry();
    const qreal scale = qt->devicePixelRatio();
    EXPECT_EQ(QRect(qRound(avail.x() * scale), qRound(avail.y() * scale), qRound(avail.width() * scale),
                    qRound(avail.height() * scale)),
              work_area());
}

TEST(Desktop, MainWindowIsFramedInsideTheWorkArea)
{
    Program& p = program();
    QWidget* main = p.window("main");
    const QRect frame = settled_frame(main);
    EXPECT_EQ(misplaced("main window", frame), "");
    EXPECT_GT(frame.height(), main->height()) << "the window manager framed it with a title bar";
    save_desktop("main");
}

// Each look-up and diagram opened beside the one open before (the window
// takes its new size where it stands) and opened afresh (sized while the
// window manager has not framed it yet).
// A look-up opened beside the one open before (the window takes its new
// size where it stands) and opened afresh (sized while the window manager
// has not framed it yet): where its frame stands, each time.
std::string open_look_up(Program& p, const LookUp& l)
{
    const std::string what = std::string(l.module->form) + "." + l.control;
    ui::Control& button = p.c(l.module->form, l.control);
    bring_into_view(p, button);
    if (!p.rt.effectively_visible(button)) return what + ": not shown to be pressed\n";
    std::string faults;
    for (const char* how : {"beside the last", "afresh"}) {
        if (std::string(how) == "afresh") close_form(p, l.opens);
        p.rt.user_click(button);
        QWidget* w = nullptr;
        if (QTest::qWaitFor([&] { return (w = open_window(p, l.opens)) != nullptr; }, 3000))
            faults += misplaced(what + " (" + how + ")", settled_frame(w));
        else
            faults += what + " (" + how + "): opened no " + l.opens + "\n";
    }
    return faults;
}

TEST(Desktop, EveryLookUpAndDiagramOpensFramedInsideTheWorkArea)
{
    Program& p = program();
    const std::vector<LookUp> look_ups = every_look_up(p);
    ASSERT_GE(look_ups.size(), 40u) << "the look-up buttons are found by their handlers' names";
    std::string faults;
    for (const LookUp& l : look_ups) {
        show_module(p, *l.module);
        // The choices it needs, and after it the form's own again.
        std::vector<std::pair<ui::Control*, int>> chosen_before;
        if (auto after = kShownAfter.find(l.control); after != kShownAfter.end())
            for (const Choice& ch : after->second) {
                ui::Control& box = p.c(l.module->form, ch.box);
                chosen_before.emplace_back(&box, box.current_index);
                choose(p, l.module->form, ch);
            }
        faults += open_look_up(p, l);
        for (auto& [box, index] : chosen_before) p.rt.user_choose(*box, index);
        const std::string form = l.module->form;
        if (l.control == "按钮1" && (form == "BlastEffect" || form == "AdvanceSchedule")) save_desktop(form + "_look_up");
    }
    save_desktop("last_look_up");
    close_form(p, "popup");
    close_form(p, "viewer");
    EXPECT_EQ(faults, "");
}

TEST(Desktop, AboutUpdateAndMessageBoxesOpenFramedInsideTheWorkArea)
{
    Program& p = program();
    auto form_window = [&p](const char* name) { return [&p, name] { return open_window(p, name); }; };
    auto destroy = [](const char* name) { return [name](QWidget*) { ui::cmd_destroy(name); }; };
    std::string faults;
    faults += check_while_open("about", [&] { p.rt.user_menu(p.form("main"), 1); }, form_window("about"), destroy("about"));
    faults += check_while_open("update", [&] { p.rt.user_menu(p.form("main"), 2); }, form_window("update"), destroy("update"));
    // The exit question, owned by the main window (answered 取消).
    auto reject = [](QWidget* box) { static_cast<QMessageBox*>(box)->reject(); };
    faults += check_while_open("exit question", [&] { p.rt.user_close(p.form("main")); }, shown_message_box, reject);
    EXPECT_NE(p.rt.form("main"), nullptr);
    // A module's message without an owner: mucking computed without its advance.
    show_module(p, module("Mucking"));
    p.rt.user_type(p.c("Mucking", "编辑框1循环进尺"), "");
    p.rt.set_focus(nullptr);
    faults += check_while_open("mucking message", [&] { p.click("Mucking", "图形按钮_计算"); }, shown_message_box, reject);
    EXPECT_EQ(faults, "");
}

// ---- module pages in the main window ----------------------------------------------------

// The main window's client area, and where a page shows in it across: from
// its left edge to the scroll bar down its side (or its right edge).
struct PageView {
    QWidget* client;
    int right;
};

PageView page_view(Program& p)
{
    auto* client = p.window("main")->findChild<ui::qt::ClientView*>();
    QWidget* bar = ui::qt::QtBackend::widget(p.c("main", "纵向滚动条1"));
    return {client, bar->isVisible() ? bar->mapTo(client, QPoint(0, 0)).x() : client->width()};
}

// Every control the page shows (the main window's frames and buttons of the
// chosen page, the module form's controls) that does not show whole across:
// cut off by the view's right edge or by what holds it (a frame, the page).
std::string cut_across(Program& p, const ModulePage& m)
{
    const PageView view = page_view(p);
    QWidget* pages = ui::qt::QtBackend::widget(p.c("main", "选择夹_大类"));
    std::string faults;
    auto check = [&](const ui::Control& c) {
        auto* w = static_cast<QWidget*>(c.view);
        if (!w || !w->isVisible() || w->width() <= 0) return;
        const int left = w->mapTo(view.client, QPoint(0, 0)).x(), right = left + w->width();
        int shown_left = left, shown_right = std::min(right, view.right);
        for (QWidget* a = w->parentWidget(); a && a != view.client; a = a->parentWidget()) {
            const int at = a->mapTo(view.client, QPoint(0, 0)).x();
            shown_left = std::max(shown_left, at);
            shown_right = std::min(shown_right, at + a->width());
        }
        if (shown_left != left || shown_right != right)
            faults += c.form->name + "." + c.name + ": " + std::to_string(left) + ".." + std::to_string(right) +
                      " shows " + std::to_string(shown_left) + ".." + std::to_string(shown_right) + "\n";
    };
    for (const auto& c : p.form("main").controls)
        if (c->view && pages->isAncestorOf(static_cast<QWidget*>(c->view))) check(*c);
    for (const auto& c : p.form(m.form).controls)
        if (c->kind != ui::Kind::window) check(*c);
    return faults;
}

// Each module page shows every control whole across the window, its frames'
// right borders included, with no scrolling across: on a 1024-pixel laptop
// nothing hides under the scroll bar down the side. The contact tool bar at
// the top stands inside the window, above that bar.
TEST(Desktop, EveryModulePageShowsWholeAcrossTheWindow)
{
    Program& p = program();
    std::string faults;
    for (const ModulePage& m : kModules) {
        show_module(p, m);
        faults += cut_across(p, m);
        // Each page of the form's own tabs.
        for (const auto& tab : p.form(m.form).controls) {
            if (tab->kind != ui::Kind::Tab || tab->page_captions.size() < 2 || !p.rt.effectively_visible(*tab)) continue;
            const int chosen = tab->current_page;
            for (int page = 0; page < int(tab->page_captions.size()); ++page) {
                if (page == chosen) continue;
                p.rt.user_page(*tab, page);
                QTest::qWait(1);
                faults += cut_across(p, m);
            }
            p.rt.user_page(*tab, chosen);
        }
    }
    EXPECT_TRUE(faults.empty()) << faults;
    EXPECT_FALSE(ui::qt::QtBackend::widget(p.c("main", "横向滚动条1"))->isVisible()) << "no page is wider than the view";

    const PageView view = page_view(p);
    QWidget* tools = ui::qt::QtBackend::widget(p.c("main", "工具条_联系"));
    QWidget* down = ui::qt::QtBackend::widget(p.c("main", "纵向滚动条1"));
    const QRect at(tools->mapTo(view.client, QPoint(0, 0)), tools->size());
    EXPECT_TRUE(view.client->rect().contains(at)) << text(at) << " in " << text(view.client->rect());
    EXPECT_FALSE(at.intersects(QRect(down->mapTo(view.client, QPoint(0, 0)), down->size())));

    // The trestle's stress, on the right of its results, whole.
    show_module(p, module("Trestle"));
    p.click("Trestle", "图形按钮_计算");
    auto* stress = qobject_cast<QLineEdit*>(ui::qt::QtBackend::widget(p.c("Trestle", "编辑框2_最大应力")));
    ASSERT_NE(stress, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stress->text() == "114.14"; }, 3000)) << stress->text().toStdString();
    const std::string trestle = cut_across(p, module("Trestle"));
    EXPECT_TRUE(trestle.empty()) << trestle;
    save_desktop("Trestle");
}

// A turn of the wheel over the middle of `over`, as the window system hands
// it over (in the screen's own pixels), sideways when angle.x() is set.
void turn_wheel(QWidget* over, QPoint angle, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    QWidget* top = over->window();
    QWindow* win = top->windowHandle();
    const QPoint at = over->mapTo(top, over->rect().center());
    QWindowSystemInterface::handleWheelEvent(win, QHighDpi::toNativeLocalPosition(QPointF(at), win),
                                             QHighDpi::toNativeGlobalPosition(QPointF(top->mapToGlobal(at)), win),
                                             QPoint(), angle, keys);
    QTest::qWait(1);
}

// How far a list box has scrolled its items (0 for a drop-down list).
int items_scrolled(QWidget* w)
{
    auto* area = qobject_cast<QAbstractScrollArea*>(w);
    return area ? area->verticalScrollBar()->value() : 0;
}

// Lists the pointer comes to rest on while the wheel scrolls a page down,
// near the top of their pages: drop-down lists, a list box, a check list.
struct ListOnPage {
    const char* form;
    const char* list;
};
const ListOnPage kListsOnPages[] = {
    {"TunnelEvaluation", "组合框1_围岩等级"}, {"SmoothBlasting", "组合框_隧道类别"},
    {"Trestle", "组合框1"},                   {"Ventilation", "组合框_隧道类别"},
    {"ShallowHole", "组合框7"},               {"StaticBreaking", "组合框_破碎物体类型"},
    {"Trestle", "列表框1"},                   {"ControlledBlasting", "选择列表框1"},
};

// The wheel over a list the user has not given the focus scrolls the page
// and leaves the list as it was, also where the program put the focus
// there; the horizontal wheel and Shift with the wheel do nothing on a page
// that fits across. A drop-down list the user clicked turns with the wheel.
TEST(Desktop, WheelOverAListScrollsThePageUntilTheUserGivesItTheFocus)
{
    Program& p = program();
    QWidget* main = p.window("main");
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    ui::Control& down = p.c("main", "纵向滚动条1");
    ui::Control& across = p.c("main", "横向滚动条1");
    for (const ListOnPage& l : kListsOnPages) {
        SCOPED_TRACE(std::string(l.form) + "." + l.list);
        show_module(p, module(l.form));
        ui::Control& list = p.c(l.form, l.list);
        bring_into_view(p, list);
        QWidget* w = ui::qt::QtBackend::widget(list);
        ASSERT_TRUE(w && w->isVisible());
        // The user typed into a number box of the page last.
        for (const auto& c : p.form(l.form).controls)
            if (c->kind == ui::Kind::EditBox && c->input_mode == 10 && p.rt.effectively_visible(*c)) {
                p.rt.set_focus(c.get());
                break;
            }
        ASSERT_NE(p.rt.focus(), &list);
        const QPoint centre = w->mapToGlobal(w->rect().center());
        QWidget* under = QApplication::widgetAt(centre);
        ASSERT_TRUE(under == w || w->isAncestorOf(under)) << "the pointer rests on the list";
        const int choice = list.current_index, scrolled = items_scrolled(w), top = down.position;

        for (const char* focus : {"elsewhere", "put there by the program"}) {
            SCOPED_TRACE(focus);
            if (std::string(focus) != "elsewhere") p.rt.set_focus(&list);
            turn_wheel(w, QPoint(0, -120));
            EXPECT_GT(down.position, top) << "the page scrolled down";
            EXPECT_EQ(list.current_index, choice);
            EXPECT_EQ(items_scrolled(w), scrolled);
            turn_wheel(w, QPoint(0, 120));
            EXPECT_EQ(down.position, top);
            for (auto [angle, keys] : {std::pair{QPoint(-120, 0), Qt::NoModifier}, {QPoint(0, -120), Qt::ShiftModifier}}) {
                turn_wheel(w, angle, keys);
                EXPECT_EQ(down.position, top) << "sideways, on a page that fits across";
                EXPECT_EQ(across.position, 0);
                EXPECT_EQ(list.current_index, choice);
            }
        }

        // Clicked, a drop-down list takes the wheel: one item on (the
        // module may then move the focus on to a box it filled).
        auto* box = qobject_cast<QComboBox*>(w);
        if (!box) continue;
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        box->hidePopup();
        QTest::qWait(20);
        const bool last = choice + 1 == int(list.items.size());
        turn_wheel(w, QPoint(0, last ? 120 : -120));
        EXPECT_EQ(list.current_index, last ? choice - 1 : choice + 1);
        EXPECT_EQ(down.position, top);
        p.rt.user_choose(list, choice);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ui::qt::use_program_look();
    ::testing::InitGoogleTest(&argc, argv);
    if (!x_connection()) {
        std::fprintf(stderr, "test_qt_desktop: runs on an X desktop (tests/qt/desktop/desktop_session.sh)\n");
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    g_program.reset();
    return result;
}
