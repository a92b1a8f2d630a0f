// The real program on a 1024×768 screen (offscreen): every module form, with
// its starting inputs and with the worked cases the scenarios drive, shows
// each of its texts whole after every compute; pop-ups fit the screen; and a
// module form and a pop-up are saved as pictures a person can look at.
#include "app/program.h"
#include "program_on_screen.h"
#include "screen_check.h"
#include "scroll_bar.h"
#include "ui/cmd.h"
#include "ui/headless/scenario.h"
#include "ui/resources.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_look.h"
#include "ui/runtime.h"
#include "ui/value.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QStyleOptionSlider>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QWidget>
#include <qpa/qwindowsysteminterface.h>

#include <cmath>
#include <deque>
#include <functional>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

// Faults found so far, each reported once with the moment it was seen.
struct FaultLog {
    std::set<std::string> seen;
    std::vector<std::string> lines;
    // Values a scenario types to try the program's limits (a number of 310
    // digits): no box shows them whole, and the boxes and captions that
    // repeat them are no worked case.
    std::vector<std::string> beyond_any_box;
    void add(const screens::Faults& faults, const std::string& when)
    {
        for (const std::string& f : faults) {
            bool hostile = false;
            for (const std::string& v : beyond_any_box) hostile = hostile || f.find(v) != std::string::npos;
            if (!hostile && seen.insert(f).second) lines.push_back(f + "  [" + when + "]");
        }
    }
    void check_all(Program& p, const std::string& when)
    {
        QTest::qWait(1);
        for (ui::Form* f : p.rt.forms())
            add(screens::cut_texts(p.rt.forms(), *f), when);
    }
    std::string report() const
    {
        std::string s;
        for (const std::string& l : lines) s += l + "\n";
        return s;
    }
};

std::string save_dir()
{
    QString dir = QString::fromUtf8(JSB_BINARY_DIR "/screens");
    QDir().mkpath(dir);
    return dir.toStdString();
}

void save(QWidget* w, const std::string& name)
{
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->grab().save(QString::fromStdString(save_dir() + "/" + name + ".png"), "PNG")) << name;
}

// Every text of a form on screen shows whole, but for the named controls.
void expect_whole(Program& p, const std::string& form, const std::set<std::string>& except = {})
{
    QTest::qWait(1);
    std::string faults;
    for (const std::string& f : screens::cut_texts(p.rt.forms(), p.form(form))) {
        bool excepted = false;
        for (const std::string& name : except) excepted = excepted || f.rfind(form + "." + name + ":", 0) == 0;
        if (!excepted) faults += f + "\n";
    }
    EXPECT_EQ(faults, "") << form;
}

// ---- every module form with its starting inputs ------------------------------------

TEST(TextFit, EveryModuleFormWithItsStartingInputsAndAfterCompute)
{
    Program p;
    FaultLog log;
    for (const ModulePage& m : kModules) {
        show_module(p, m);
        log.check_all(p, std::string(m.form) + " shown");
        ui::Form& f = p.form(m.form);
        if (f.find("图形按钮_计算")) {
            p.click(m.form, "图形按钮_计算");
            log.check_all(p, std::string(m.form) + " computed");
        }
        // Every page of the form's own tabs, computed on, and back to the
        // first page computed again.
        for (auto& c : f.controls) {
            if (c->kind != ui::Kind::Tab || c->headerless || c->page_captions.size() < 2) continue;
            for (int page : std::vector<int>{1, 0, 1, 0}) {
                p.rt.user_page(*c, page);
                QTest::qWait(1);
                if (f.find("图形按钮_计算")) p.click(m.form, "图形按钮_计算");
                log.check_all(p, std::string(m.form) + " page " + std::to_string(page) + " computed");
            }
        }
        save(p.window("main"), std::string("module_") + m.form);
    }
    EXPECT_TRUE(log.lines.empty()) << log.report();
}

// ---- every choice of every list of a module form, computed ----------------------------

class TextFitChoices : public ::testing::TestWithParam<ModulePage> {};

TEST_P(TextFitChoices, EveryItemOfEveryListComputed)
{
    const ModulePage& m = GetParam();
    Program p;
    FaultLog log;
    show_module(p, m);
    ui::Form& f = p.form(m.form);
    bool computes = f.find("图形按钮_计算") != nullptr;
    auto compute = [&](const std::string& when) {
        if (computes) p.click(m.form, "图形按钮_计算");
        log.check_all(p, when);
    };
    compute(std::string(m.form) + " computed");
    for (auto& c : f.controls) {
        ui::Control& list = *c;
        bool is_list = list.kind == ui::Kind::ComboBox || list.kind == ui::Kind::ListBox;
        if (!is_list && list.kind != ui::Kind::RadioBox) continue;
        if (!p.rt.effectively_visible(list) || list.disabled) continue;
        if (list.kind == ui::Kind::RadioBox) {
            p.rt.user_click(list);
            compute(list.name + " clicked");
            continue;
        }
        int start = list.current_index;
        for (int i = 0; i < int(list.items.size()); ++i) {
            p.rt.user_choose(list, i);
            compute(list.name + " = " + list.items[size_t(i)]);
        }
        if (start >= 0) p.rt.user_choose(list, start);
    }
    EXPECT_TRUE(log.lines.empty()) << log.report();
}

INSTANTIATE_TEST_SUITE_P(Modules, TextFitChoices, ::testing::ValuesIn(kModules),
                         [](const ::testing::TestParamInfo<ModulePage>& i) { return std::string(i.param.form); });

// ---- the worked cases of the scenarios, replayed in real windows ---------------------------

std::vector<std::string> module_scenarios()
{
    std::vector<std::string> out;
    fs::path root = fs::path(JSB_SOURCE_DIR) / "tests" / "scenarios";
    for (const char* dir : {"blast_design", "blasting", "earthwork", "equipment", "evaluation", "methods", "schedule",
                            "supply", "trestle", "ventilation"}) {
        std::error_code ec;
        for (auto& e : fs::directory_iterator(root / dir, ec))
            if (e.path().extension() == ".scn") out.push_back(std::string(dir) + "/" + e.path().filename().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string test_name(const std::string& rel)
{
    std::string s;
    for (char ch : rel.substr(0, rel.size() - 4)) s += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return s;
}

// The user's actions of a scenario; its expectations are the headless
// tests' business, and exports, file dialogs and waits on the clock are left out.
class Replay {
public:
    Replay(Program& p, FaultLog& log, std::string name) : p_(p), log_(log), name_(std::move(name)) {}

    void line(int no, const std::vector<std::string>& w)
    {
        const std::string& cmd = w[0];
        std::string at = name_ + ":" + std::to_string(no);
        auto control = [&](const std::string& name) -> ui::Control& {
            ui::Form& f = p_.form(form_);
            if (name == ".") return f.self();
            ui::Control* c = f.find(name);
            if (!c) throw std::runtime_error("no control " + name + " in " + form_);
            return *c;
        };
        auto item = [&](ui::Control& c, const std::string& text) {
            for (int i = 0; i < int(c.items.size()); ++i)
                if (c.items[size_t(i)] == text) return i;
            throw std::runtime_error("no item " + text);
        };
        if (cmd == "in") {
            form_ = w.at(1);
            if (!p_.rt.form(form_)) p_.rt.load_form(form_, nullptr, false);
            // A module form is looked at on its page of the main window.
            for (const ModulePage& m : kModules)
                if (form_ == m.form) show_module(p_, m);
        } else if (cmd == "click") {
            if (w.at(1) == "图形按钮_导出") return; // exports write reports: the export tests' business
            p_.rt.user_click(control(w.at(1)));
            if (w.at(1) == "图形按钮_计算") log_.check_all(p_, at + " computed");
        } else if (cmd == "type") {
            if (w.at(2).size() > 40) log_.beyond_any_box.push_back(w.at(2));
            p_.rt.user_type(control(w.at(1)), w.at(2));
        } else if (cmd == "focus") {
            p_.rt.set_focus(&control(w.at(1)));
        } else if (cmd == "leave") {
            p_.rt.set_focus(nullptr);
        } else if (cmd == "choose") {
            ui::Control& c = control(w.at(1));
            p_.rt.user_choose(c, item(c, w.at(2)));
        } else if (cmd == "tick") {
            ui::Control& c = control(w.at(1));
            p_.rt.user_tick(c, w.size() > 2 ? item(c, w[2]) : -1);
        } else if (cmd == "toolbar") {
            p_.rt.user_toolbar(control(w.at(1)), std::stoi(w.at(2)));
        } else if (cmd == "wheel") {
            p_.rt.user_wheel(control(w.at(1)), std::stoi(w.at(2)), w.size() > 3 ? std::stoi(w[3]) : 0);
        } else if (cmd == "mouse") {
            p_.rt.user_mouse_down(control(w.at(1)), w.at(2) != "right", std::stoi(w.at(3)), std::stoi(w.at(4)));
        } else if (cmd == "page") {
            p_.rt.user_page(control(w.at(1)), std::stoi(w.at(2)));
        } else if (cmd == "scroll") {
            p_.rt.user_scroll(control(w.at(1)), std::stoi(w.at(2)));
        } else if (cmd == "answer") {
            p_.backend.answers.push_back(w.at(1) == "Cancel" ? 1 : w.at(1) == "Yes" ? 5 : w.at(1) == "No" ? 6 : 0);
        } else if (cmd == "popup") {
            p_.backend.menu_choices.push_back(w.at(1));
        }
        // expect, show, wait, drag, save-as, screen, resize, menu, close: nothing to do here.
        QTest::qWait(1);
    }

private:
    Program& p_;
    FaultLog& log_;
    std::string name_;
    std::string form_ = "main";
};

class TextFitScenario : public ::testing::TestWithParam<std::string> {};

TEST_P(TextFitScenario, EveryTextWholeAfterEachCompute)
{
    std::string rel = GetParam();
    std::ifstream in(fs::path(JSB_SOURCE_DIR) / "tests" / "scenarios" / rel);
    ASSERT_TRUE(in) << rel;
    Program p;
    FaultLog log;
    Replay replay(p, log, rel);
    std::string line;
    int no = 0;
    while (std::getline(in, line)) {
        ++no;
        size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        std::vector<std::string> w;
        std::string err;
        ASSERT_TRUE(ui::split_scenario_line(line, &w, &err)) << rel << ":" << no << ": " << err;
        if (w.empty()) continue;
        try {
            replay.line(no, w);
        } catch (const std::exception& e) {
            ADD_FAILURE() << rel << ":" << no << ": " << e.what();
            return;
        }
    }
    log.check_all(p, rel + " end");
    EXPECT_TRUE(log.lines.empty()) << log.report();
}

INSTANTIATE_TEST_SUITE_P(Scenarios, TextFitScenario, ::testing::ValuesIn(module_scenarios()),
                         [](const ::testing::TestParamInfo<std::string>& i) { return test_name(i.param); });

// ---- pop-ups and the viewer on a 1024x768 screen ---------------------------------------

QRect screen_area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

std::string rect_text(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// Where `global` falls on `w`, as shares of its width and height.
QPointF share_under(QWidget* w, QPoint global)
{
    const QPoint at = w->mapFromGlobal(global);
    return {double(at.x()) / w->width(), double(at.y()) / w->height()};
}

// How many of `size`'s pixels lie between two such shares.
double distance(QPointF a, QPointF b, QSize size)
{
    return std::hypot((a.x() - b.x()) * size.width(), (a.y() - b.y()) * size.height());
}

// A turn of the wheel at `global` over window `win`, as the window system
// hands it over: angle.y() away from the user, angle.x() sideways.
void turn_wheel(QWidget* win, QPoint global, QPoint angle, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    QWindowSystemInterface::handleWheelEvent(win->windowHandle(), QPointF(win->mapFromGlobal(global)), QPointF(global),
                                             QPoint(), angle, keys);
    QTest::qWait(1);
}

TEST(Popups, TallTableOpensCentredWithinTheScreenAndScrolls)
{
    Program p;
    show_module(p, module("BlastEffect"));
    p.click("BlastEffect", "按钮1"); // the vibration limits, 900 x 1000
    QTest::qWait(20);
    ui::Form& popup = p.form("popup");
    QWidget* win = p.window("popup");
    // The program keeps the size it asked for: its layout and zoom rules
    // work on that, headless and here alike.
    EXPECT_EQ(popup.self().width, 900);
    EXPECT_EQ(popup.self().height, 1000);
    QRect area = screen_area();
    EXPECT_TRUE(area.contains(win->frameGeometry())) << rect_text(win->frameGeometry()) << " on " << rect_text(area);
    EXPECT_LE(std::abs(win->frameGeometry().center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(win->frameGeometry().center().y() - area.center().y()), 1);
    auto* scroller = win->findChild<QScrollArea*>();
    ASSERT_NE(scroller, nullptr);
    QScrollBar* bar = scroller->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible()) << "the window has room for the table's width";
    EXPECT_EQ(bar->maximum(), 1000 - scroller->viewport()->height());
    expect_whole(p, "popup");
    save(win, "popup_vibration_limits");
    bar->setValue(bar->maximum());
    QTest::qWait(1);
    save(win, "popup_vibration_limits_scrolled");

    // A wheel turn on the picture still zooms it (it is not taken for a
    // scroll), about the point under the pointer.
    ui::Control& picture = p.c("popup", "图片框2");
    p.rt.set_focus(&picture);
    int before = picture.width;
    QWidget* pv = ui::qt::QtBackend::widget(picture);
    QPoint at = pv->mapTo(win, pv->rect().center());
    const QPoint global = win->mapToGlobal(at);
    const QPointF share = share_under(pv, global);
    QWheelEvent wheel(QPointF(pv->rect().center()), QPointF(global), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(pv, &wheel);
    EXPECT_EQ(picture.width, int(before * 1.2));
    EXPECT_LT(distance(share_under(pv, global), share, pv->size()), 2.0);

    // A table that fits opens without scroll bars, centred too.
    show_module(p, module("Roller"));
    p.click("Roller", "按钮1");
    QTest::qWait(20);
    win = p.window("popup");
    EXPECT_EQ(p.form("popup").self().width, 700);
    EXPECT_EQ(win->size(), QSize(700, 400));
    EXPECT_LE(std::abs(win->frameGeometry().center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(win->frameGeometry().center().y() - area.center().y()), 1);
}

// The white of the picture as it shows in its box: where it lies.
QRect white_part(QWidget* w)
{
    QImage img = w->grab().toImage();
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) r |= QRect(x, y, 1, 1);
    return r;
}

TEST(Popups, TitledTablesKeepTheirShape)
{
    Program p;
    show_module(p, module("SmoothBlasting"));
    p.rt.user_page(p.c("SmoothBlasting", "选择夹1"), 1); // the cut page holds the lookups
    struct Case {
        const char* button;
        QSize picture;
    };
    // 800 x 566 and 656 x 747 pictures in a 700 x 600 pop-up.
    for (const Case& k : {Case{"按钮5", {800, 566}}, Case{"按钮2", {656, 747}}}) {
        ui::Control* button = p.form("SmoothBlasting").find(k.button);
        ASSERT_NE(button, nullptr) << k.button;
        p.rt.user_click(*button);
        QTest::qWait(20);
        QWidget* pv = ui::qt::QtBackend::widget(p.c("popup", "图片框2"));
        QRect shown = white_part(pv);
        double want = double(k.picture.width()) / k.picture.height();
        double got = double(shown.width()) / shown.height();
        EXPECT_NEAR(got, want, 0.02) << k.button << ": shown " << rect_text(shown) << " in " << rect_text(pv->rect());
        EXPECT_TRUE(shown.width() == pv->width() || shown.height() == pv->height()) << "as large as the box allows";
    }
    expect_whole(p, "popup");
    save(p.window("popup"), "popup_titled_table");
}

// The wheel turned over a look-up's picture, as the window system hands it
// over: the picture grows about the pointer inside the window, which keeps
// its size and scrolls over what no longer fits; turned back, the picture
// shrinks about the pointer again.
TEST(Popups, WheelZoomsALookUpAboutThePointerAndScrolls)
{
    Program p;
    show_module(p, module("StaticBreaking"));
    p.click("StaticBreaking", "按钮5"); // the agent's weight per metre of hole
    QTest::qWait(20);
    QWidget* win = p.window("popup");
    ui::Control& picture = p.c("popup", "图片框2");
    QWidget* pv = ui::qt::QtBackend::widget(picture);
    ASSERT_NE(pv, nullptr);
    const QSize window = win->size();
    EXPECT_EQ(win->findChild<QScrollArea*>(), nullptr) << "the table fits: no scroll bars";
    save(win, "popup_sca_per_metre");

    // Clicked to take the keyboard's focus, then the wheel over its lower right part.
    QTest::mouseClick(pv, Qt::LeftButton, {}, pv->rect().center());
    ASSERT_EQ(p.rt.focus(), &picture);
    const QPoint global = pv->mapToGlobal(QPoint(pv->width() * 3 / 4, pv->height() * 3 / 4));
    auto turn = [&](int delta) {
        const QPoint at = win->mapFromGlobal(global);
        QWindowSystemInterface::handleWheelEvent(win->windowHandle(), QPointF(at), QPointF(global), QPoint(),
                                                 QPoint(0, delta));
        QTest::qWait(1);
    };
    const QPointF share = share_under(pv, global);
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(step <= 3 ? "in " + std::to_string(step) : "out " + std::to_string(step - 3));
        const int before = picture.width;
        turn(step <= 3 ? 120 : -120);
        EXPECT_EQ(picture.width, int(before * (step <= 3 ? 1.2 : 0.8)));
        EXPECT_EQ(win->size(), window) << "the window keeps its size";
        EXPECT_EQ(QApplication::widgetAt(global), pv) << "the picture is still under the pointer";
        EXPECT_LT(distance(share_under(pv, global), share, pv->size()), 2.0);
        // Every part of the picture can be scrolled to.
        auto* scroller = win->findChild<QScrollArea*>();
        ASSERT_NE(scroller, nullptr);
        const QRect in_client(pv->mapTo(scroller->widget(), QPoint(0, 0)), pv->size());
        EXPECT_TRUE(scroller->widget()->rect().contains(in_client)) << rect_text(in_client);
        EXPECT_TRUE(scroller->horizontalScrollBar()->isVisible() && scroller->verticalScrollBar()->isVisible());
        if (step == 3) save(win, "popup_sca_per_metre_zoomed");
    }
    // Turned out until it fits again: the bars go, the picture shows whole.
    turn(-120);
    EXPECT_EQ(win->findChild<QScrollArea*>(), nullptr);
    EXPECT_TRUE(win->rect().contains(QRect(pv->mapTo(win, QPoint(0, 0)), pv->size())));
    // The program's own window size is what it asked for, bars or none.
    EXPECT_EQ(p.form("popup").self().width, 500);
    EXPECT_EQ(p.form("popup").self().height, 500);
}

// Where a look-up's table shows in its window's client area.
QRect table_in_window(QWidget* win, const ui::qt::PictureView* pv)
{
    auto* client = win->findChild<ui::qt::ClientView*>();
    const QRect area = pv->picture_area();
    return {pv->mapTo(client, area.topLeft()), area.size()};
}

// Look-ups of different shapes (wide, tall, low), zoomed out with the wheel
// as far as it goes: the table stays as large as its window showed it when
// it opened, in the middle of the window (the box in its frame and the
// table in its box each centred to the pixel: 2 pixels either way at most).
TEST(Popups, ZoomedOutALookUpStillFillsItsWindowCentred)
{
    Program p;
    struct Case {
        const char* form;
        const char* button;
    };
    for (const Case& k : {Case{"SmoothBlasting", "按钮5"}, Case{"SmoothBlasting", "按钮2"}, Case{"Roller", "按钮1"}}) {
        SCOPED_TRACE(std::string(k.form) + "." + k.button);
        show_module(p, module(k.form));
        if (std::string(k.form) == "SmoothBlasting") p.rt.user_page(p.c(k.form, "选择夹1"), 1);
        p.click(k.form, k.button);
        QTest::qWait(20);
        QWidget* win = p.window("popup");
        auto* pv = static_cast<ui::qt::PictureView*>(ui::qt::QtBackend::widget(p.c("popup", "图片框2")));
        auto* client = win->findChild<ui::qt::ClientView*>();
        ASSERT_TRUE(pv && client);
        auto centred = [&] {
            const QRect t = table_in_window(win, pv);
            return std::abs(t.left() - (client->width() - 1 - t.right())) <= 2 &&
                   std::abs(t.top() - (client->height() - 1 - t.bottom())) <= 2;
        };
        const QSize opened = table_in_window(win, pv).size();
        EXPECT_TRUE(centred()) << rect_text(table_in_window(win, pv)) << " in " << rect_text(client->rect());
        // Clicked to take the focus; out three turns, then in one and out two.
        QTest::mouseClick(pv, Qt::LeftButton, {}, pv->rect().center());
        const QPoint global = pv->mapToGlobal(pv->rect().center());
        for (int delta : {-120, -120, -120, 120, -120, -120}) turn_wheel(win, global, QPoint(0, delta));
        EXPECT_EQ(table_in_window(win, pv).size(), opened);
        EXPECT_TRUE(centred()) << rect_text(table_in_window(win, pv)) << " in " << rect_text(client->rect());
        EXPECT_EQ(win->findChild<QScrollArea*>(), nullptr);
    }
}

// The diagram viewer zooms with the wheel as a look-up does: about the
// pointer, the window keeping its size and scrolling over all of the
// diagram; zoomed out, the diagram is fitted to the window again.
TEST(Popups, DiagramViewerZoomsWithTheWheelAsALookUpDoes)
{
    Program p;
    show_module(p, module("TunnelEvaluation"));
    p.click("TunnelEvaluation", "图形按钮1_打开图片窗口");
    QTest::qWait(20);
    QWidget* win = p.window("viewer");
    ui::Control& picture = p.c("viewer", "图片框1");
    QWidget* pv = ui::qt::QtBackend::widget(picture);
    ASSERT_NE(pv, nullptr);
    const QSize window = win->size();
    QTest::mouseClick(pv, Qt::LeftButton, {}, pv->rect().center());
    ASSERT_EQ(p.rt.focus(), &picture);
    const QPoint global = pv->mapToGlobal(QPoint(pv->width() * 3 / 4, pv->height() * 3 / 4));
    const QPointF share = share_under(pv, global);
    for (int step = 1; step <= 2; ++step) {
        SCOPED_TRACE(step);
        const int before = picture.width;
        turn_wheel(win, global, QPoint(0, 120));
        EXPECT_EQ(picture.width, int(before * 1.2));
        EXPECT_EQ(win->size(), window);
        EXPECT_LT(distance(share_under(pv, global), share, pv->size()), 2.0);
        auto* scroller = win->findChild<QScrollArea*>();
        ASSERT_NE(scroller, nullptr);
        const QRect in_client(pv->mapTo(scroller->widget(), QPoint(0, 0)), pv->size());
        EXPECT_TRUE(scroller->widget()->rect().contains(in_client)) << "every part can be scrolled to";
    }
    save(win, "viewer_zoomed_with_the_wheel");
    for (int step = 0; step < 4; ++step) turn_wheel(win, global, QPoint(0, -120));
    EXPECT_EQ(win->findChild<QScrollArea*>(), nullptr);
    EXPECT_TRUE(win->rect().contains(QRect(pv->mapTo(win, QPoint(0, 0)), pv->size())));
}

TEST(Popups, DiagramViewerShowsEveryToolButton)
{
    Program p;
    show_module(p, module("TunnelEvaluation"));
    p.click("TunnelEvaluation", "图形按钮1_打开图片窗口");
    QTest::qWait(20);
    auto* bar = qobject_cast<QToolBar*>(ui::qt::QtBackend::widget(p.c("viewer", "工具条3")));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 3);
    for (QAction* a : bar->actions()) {
        QWidget* b = bar->widgetForAction(a);
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(b->isVisible()) << a->toolTip().toStdString();
        EXPECT_TRUE(bar->rect().contains(b->geometry())) << a->toolTip().toStdString() << " " << rect_text(b->geometry());
    }
    for (QToolButton* b : bar->findChildren<QToolButton*>()) {
        if (b->objectName() == "qt_toolbar_ext_button") {
            EXPECT_FALSE(b->isVisible()) << "no overflow arrow";
        }
    }
    // The zoom buttons work from the bar as they are drawn.
    ui::Control& picture = p.c("viewer", "图片框1");
    int before = picture.width;
    QTest::mouseClick(bar->widgetForAction(bar->actions()[2]), Qt::LeftButton);
    EXPECT_EQ(picture.width, int(before * 1.2));
    expect_whole(p, "viewer");
    save(p.window("viewer"), "viewer");
}

// ---- pictures in their own shape ----------------------------------------------------------

QImage decoded(const ui::Bytes& png) { return QImage::fromData(QByteArray(png.data(), qsizetype(png.size()))); }

// How a picture box shows its picture on screen: where the picture lies in
// the box, and how far the box's pixels there are from the picture itself
// (mean difference of a colour channel, 0 to 255).
struct Shown {
    QRect box;  // the widget, in its own coordinates
    QRect area; // where the picture is drawn
    double difference = 255;
    bool margins_plain = true; // nothing of the picture beside it
};

Shown shown_picture(ui::Control& c)
{
    auto* view = qobject_cast<ui::qt::PictureView*>(ui::qt::QtBackend::widget(c));
    if (!view) throw std::runtime_error(c.name + " is no picture box on screen");
    Shown s;
    s.box = view->rect();
    s.area = view->picture_area();
    const QImage screen = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (s.area.isEmpty() || screen.size() != s.box.size()) return s;
    const QImage want = decoded(c.pictures[0])
                            .scaled(s.area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x) {
            const QRgb a = screen.pixel(s.area.x() + x, s.area.y() + y), b = want.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    s.difference = sum / (3.0 * want.width() * want.height());
    // Beside the picture the box shows one plain colour (what lies behind it).
    const QRgb plain = screen.pixel(0, 0);
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (!s.area.contains(x, y) && screen.pixel(x, y) != plain) s.margins_plain = false;
    return s;
}

double aspect(const QSize& s) { return double(s.width()) / s.height(); }

// The four full-face layouts (and the picture the form starts with) show in
// their own shape in the form's layout box and in the diagram viewer as it
// opens at "100%": the shaft is round, its holes are round.
TEST(Pictures, LayoutsKeepTheirShapeInTheFormAndInTheViewer)
{
    Program p;
    show_module(p, module("SmoothBlasting"));
    ui::Control& layout = p.c("SmoothBlasting", "图片框_布眼图");
    auto expect_own_shape = [&](ui::Control& box, const char* picture, const std::string& where) {
        const QImage source = decoded(ui::resource(picture));
        ASSERT_FALSE(source.isNull()) << picture;
        EXPECT_EQ(decoded(box.pictures[0]).size(), source.size()) << where << ": not " << picture;
        const Shown s = shown_picture(box);
        EXPECT_EQ(s.box.size(), QSize(box.width, box.height)) << where;
        ASSERT_FALSE(s.area.isEmpty()) << where;
        EXPECT_TRUE(s.box.contains(s.area)) << where;
        EXPECT_NEAR(aspect(s.area.size()) / aspect(source.size()), 1.0, 0.01)
            << where << ": " << picture << " " << source.width() << "x" << source.height() << " shown "
            << rect_text(s.area) << " in " << rect_text(s.box);
        EXPECT_TRUE(s.area.width() == s.box.width() || s.area.height() == s.box.height())
            << where << ": as large as the box allows";
        EXPECT_LT(s.difference, 6) << where << ": the box does not show " << picture << " where it says";
        EXPECT_TRUE(s.margins_plain) << where;
    };
    expect_own_shape(layout, "resources/pictures/blast_design/layout_start.png", "start");
    p.rt.user_choose(p.c("SmoothBlasting", "组合框_开挖方法"), 0);
    struct Section {
        const char* name;
        const char* picture;
    };
    const Section sections[] = {
        {"直墙拱形隧道", "resources/pictures/blast_design/layout_straight_wall.png"},
        {"马蹄形隧道", "resources/pictures/blast_design/layout_horseshoe.png"},
        {"曲墙三心圆隧道", "resources/pictures/blast_design/layout_curved_wall.png"},
        {"圆形隧道立（竖）井", "resources/pictures/blast_design/layout_circular.png"},
    };
    ui::Control& split = p.c("SmoothBlasting", "组合框_方法2");
    ASSERT_EQ(p.c("SmoothBlasting", "组合框_开挖方法").items.at(0), "全断面法");
    for (const Section& sec : sections) {
        int index = -1;
        for (int i = 0; i < int(split.items.size()); ++i)
            if (split.items[size_t(i)] == sec.name) index = i;
        ASSERT_GE(index, 0) << sec.name;
        p.rt.user_choose(split, index);
        QTest::qWait(1);
        expect_own_shape(layout, sec.picture, std::string(sec.name) + " in the form");
        p.click("SmoothBlasting", "图形按钮1_打开图片窗口");
        QTest::qWait(20);
        EXPECT_EQ(p.c("viewer", "透明标签1").text, "100%");
        expect_own_shape(p.c("viewer", "图片框1"), sec.picture, std::string(sec.name) + " in the viewer");
        if (std::string(sec.name) == "圆形隧道立（竖）井") {
            save(p.window("main"), "layout_circular_form");
            save(p.window("viewer"), "layout_circular_viewer");
        }
    }
}

// ---- a desktop's frame and work area, Esc, and scrolling what does not fit -----------------

bool inside_work_area(QWidget* w) { return screen_area().contains(w->frameGeometry()); }

TEST(Popups, TallLookUpsFitTheWorkAreaWithTheirFrame)
{
    struct Row {
        const char* module;
        const char* button;
        int width, height; // the size the module asks for
    };
    const std::vector<Row> rows = {
        {"BlastEffect", "按钮1", 900, 1000},     // 查表: the vibration limits
        {"AdvanceSchedule", "按钮1", 670, 740},  // 查规定
    };
    Program p;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.module);
        show_module(p, module(r.module));
        p.click(r.module, r.button);
        QTest::qWait(20);
        QWidget* win = p.window("popup");
        EXPECT_EQ(p.form("popup").self().height, r.height);
        EXPECT_GT(win->frameGeometry().height(), win->height()) << "the window has its frame";
        EXPECT_TRUE(inside_work_area(win)) << rect_text(win->frameGeometry()) << " on " << rect_text(screen_area());
        auto* scroller = win->findChild<QScrollArea*>();
        ASSERT_NE(scroller, nullptr);
        EXPECT_EQ(scroller->verticalScrollBar()->maximum(), r.height - scroller->viewport()->height());
        ui::cmd_destroy("popup");
        QTest::qWait(20);
    }
    // A pop-up as tall from its start: sized before it has its frame.
    using nlohmann::json;
    p.rt.add_definition("tall", json{{"name", "tall"}, {"title", "查询"}, {"width", 600}, {"height", 900},
                                     {"border", "tool_resizable"}});
    ASSERT_TRUE(ui::cmd_load_form("tall"));
    QTest::qWait(20);
    EXPECT_TRUE(inside_work_area(p.window("tall"))) << rect_text(p.window("tall")->frameGeometry());
}

TEST(Popups, EscClosesEachLookUpTheViewerAndTheDialogs)
{
    struct Row {
        const char* form;
        std::function<void(Program&)> open;
    };
    const std::vector<Row> rows = {
        {"popup", [](Program& p) {
             show_module(p, module("BlastEffect"));
             p.click("BlastEffect", "按钮1");
         }},
        {"viewer", [](Program& p) {
             show_module(p, module("TunnelEvaluation"));
             p.click("TunnelEvaluation", "图形按钮1_打开图片窗口");
         }},
        {"about", [](Program& p) { p.rt.user_menu(p.form("main"), 1); }},  // 作者相关, modal
        {"update", [](Program& p) { p.rt.user_menu(p.form("main"), 2); }}, // 版本更新, modal
    };
    ui::set_online_probe("http://127.0.0.1:9/");
    Program p;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.form);
        bool closed_by_esc = false;
        // Esc as the keyboard sends it to the form's window, once it shows
        // (a modal form's loop runs meanwhile); the close box if it fails.
        QTimer esc;
        esc.setInterval(50);
        int tries = 0;
        QObject::connect(&esc, &QTimer::timeout, [&] {
            ui::Form* f = p.rt.form(r.form);
            if (!f || !p.backend.window(*f) || !p.backend.window(*f)->isVisible()) return;
            if (tries++ == 0) {
                QTest::keyClick(p.backend.window(*f)->windowHandle(), Qt::Key_Escape);
                closed_by_esc = p.rt.form(r.form) == nullptr;
            }
            if (p.rt.form(r.form)) ui::cmd_destroy(r.form);
            esc.stop();
        });
        esc.start();
        r.open(p);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !esc.isActive(); }, 5000));
        QTest::qWait(20);
        EXPECT_TRUE(closed_by_esc);
        EXPECT_EQ(p.rt.form(r.form), nullptr);
    }
    // Esc in the main window closes nothing.
    QTest::keyClick(p.window("main")->windowHandle(), Qt::Key_Escape);
    EXPECT_NE(p.rt.form("main"), nullptr);
}

TEST(MainWindow, FitsTheWorkAreaWithItsFrame)
{
    Program p;
    QWidget* win = p.window("main");
    QTest::qWait(50);
    EXPECT_GT(win->frameGeometry().height(), win->height()) << "the window has its frame";
    EXPECT_TRUE(inside_work_area(win)) << rect_text(win->frameGeometry()) << " on " << rect_text(screen_area());
    // The program lays itself out for the client area it has.
    const ui::Control& self = p.form("main").self();
    EXPECT_EQ(self.height, win->findChild<ui::qt::ClientView*>()->height());
    EXPECT_LT(self.height, 767);
    save(win, "main_on_a_738_pixel_work_area");
}

// The main window smaller than its content (maximised on a small screen,
// or at 150 %): its client area `height` high and, when given, `width` wide.
QWidget* main_window_inside(Program& p, int height, int width = -1)
{
    QWidget* win = p.window("main");
    auto* client = win->findChild<ui::qt::ClientView*>();
    win->resize(width < 0 ? win->width() : win->width() - client->width() + width,
                win->height() - client->height() + height);
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.form("main").self().height == height; }, 5000));
    return win;
}

// A window narrower than the screen (800 pixels, or a 1024 screen at 125 %):
// the top bar's clock, sound switch and shop button stay
// whole inside the window, nothing laid over them, and take their clicks;
// the module page starts below them.
TEST(MainWindow, TopBarKeepsItsClockSoundAndShopInANarrowWindow)
{
    Program p;
    show_module(p, module("Roller"));
    for (int width : {800, 900, 1000, 1012, 1013}) {
        SCOPED_TRACE(width);
        QWidget* win = main_window_inside(p, 600, width);
        ASSERT_TRUE(QTest::qWaitFor([&] { return p.form("main").self().width == width; }, 5000));
        auto* client = win->findChild<ui::qt::ClientView*>();
        const QRect shown(client->mapTo(win, QPoint(0, 0)), client->size());
        for (const char* name : {"编辑框1_时间提示", "图形按钮1_声音开关", "图形按钮1_店面"}) {
            QWidget* w = ui::qt::QtBackend::widget(p.c("main", name));
            ASSERT_TRUE(w && w->isVisible()) << name;
            const QRect at(w->mapTo(win, QPoint(0, 0)), w->size());
            EXPECT_TRUE(shown.contains(at)) << name << " " << rect_text(at) << " in " << rect_text(shown);
            for (QPoint corner : {at.topLeft(), at.topRight(), at.bottomLeft(), at.bottomRight(), at.center()}) {
                QWidget* hit = QApplication::widgetAt(win->mapToGlobal(corner));
                EXPECT_TRUE(hit == w || w->isAncestorOf(hit)) << name << " under " << (hit ? hit->metaObject()->className() : "nothing");
            }
        }
        QWidget* top_bar = ui::qt::QtBackend::widget(p.c("main", "外形框1"));
        QWidget* page = ui::qt::QtBackend::widget(p.c("Roller", "图形按钮_计算"));
        EXPECT_GE(page->mapTo(win, QPoint(0, 0)).y(), top_bar->mapTo(win, QPoint(0, top_bar->height())).y());
        if (width == 800) save(win, "main_800_wide");
    }
}

TEST(MainWindow, WheelAndTroughScrollOnlyWhatDoesNotFit)
{
    Program p;
    show_module(p, module("Roller"));
    QWidget* win = main_window_inside(p, 400);
    ui::Control& tab = p.c("main", "选择夹_大类");
    ui::Control& vbar = p.c("main", "纵向滚动条1");
    auto* bar = qobject_cast<QScrollBar*>(ui::qt::QtBackend::widget(vbar));
    ASSERT_TRUE(bar && bar->isVisible());
    const int view = 400 - 88; // below the top bar; no bar across: the window is wide enough
    EXPECT_EQ(bar->maximum(), tab.height - view) << "the range is what does not fit";
    EXPECT_EQ(bar->pageStep(), view);

    // On the home page too the bar is there to be used, above the home picture.
    p.click("main", "图形按钮1_home");
    QPoint on_bar = bar->mapToGlobal(bar->rect().center());
    EXPECT_EQ(QApplication::widgetAt(on_bar), bar);
    show_module(p, module("Roller"));

    // The wheel over a label of the module form scrolls the window, turned
    // as the window system hands it over.
    QWidget* label = ui::qt::QtBackend::widget(p.c("Roller", "标签2"));
    ASSERT_NE(label, nullptr);
    auto turn = [&](int delta) {
        QPoint at = label->mapTo(win, label->rect().center());
        QWindowSystemInterface::handleWheelEvent(win->windowHandle(), QPointF(at), QPointF(win->mapToGlobal(at)),
                                                 QPoint(), QPoint(0, delta));
        QTest::qWait(1);
    };
    turn(-120);
    EXPECT_GT(vbar.position, 0);
    EXPECT_EQ(tab.top, 88 - vbar.position);
    turn(120);
    EXPECT_EQ(vbar.position, 0);

    // A click in the trough moves a page.
    QTest::mouseClick(bar, Qt::LeftButton, {}, scroll_bar_part(bar, QStyle::SC_ScrollBarAddPage).center());
    QTest::qWait(1);
    EXPECT_EQ(vbar.position, view);
    EXPECT_EQ(tab.top, 88 - view);

    // The thumb dragged to the bottom: the tab's end meets the window's.
    QRect t = scroll_bar_part(bar, QStyle::SC_ScrollBarSlider);
    QTest::mousePress(bar, Qt::LeftButton, {}, t.center());
    QTest::mouseMove(bar, QPoint(t.center().x(), bar->height() + 50));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(t.center().x(), bar->height() + 50));
    QTest::qWait(1);
    EXPECT_EQ(vbar.position, bar->maximum());
    EXPECT_EQ(tab.top + tab.height, 400);
    // The category bar stays on top: a click on a category button hits it.
    for (const char* name : {"图形按钮1_通风工程", "图形按钮1_工程设备"}) {
        QWidget* b = ui::qt::QtBackend::widget(p.c("main", name));
        QPoint centre = b->mapToGlobal(b->rect().center());
        EXPECT_EQ(QApplication::widgetAt(centre), b) << name;
    }
    save(win, "main_scrolled_to_the_bottom");
    p.click("main", "图形按钮1_通风工程");
    EXPECT_EQ(tab.current_page, 2);
}

// Where the pages are wider than the window shows them (a laptop at 125 %),
// the wheel turned sideways, or turned with Shift held, scrolls across and
// never down; where they fit across, it scrolls nothing.
TEST(MainWindow, SidewaysWheelScrollsAcrossOnlyWherePagesAreWider)
{
    Program p;
    show_module(p, module("Roller"));
    ui::Control& down = p.c("main", "纵向滚动条1");
    ui::Control& across = p.c("main", "横向滚动条1");
    struct Row {
        const char* what;
        int width;
        QPoint angle;
        Qt::KeyboardModifiers keys;
        bool moves;
    };
    const Row rows[] = {
        {"sideways, 900 wide", 900, {-120, 0}, Qt::NoModifier, true},
        {"Shift, 900 wide", 900, {0, -120}, Qt::ShiftModifier, true},
        {"sideways, 1020 wide", 1020, {-120, 0}, Qt::NoModifier, false},
        {"Shift, 1020 wide", 1020, {0, -120}, Qt::ShiftModifier, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        QWidget* win = main_window_inside(p, 400, r.width);
        ASSERT_TRUE(QTest::qWaitFor([&] { return p.form("main").self().width == r.width; }, 5000));
        EXPECT_EQ(ui::qt::QtBackend::widget(across)->isVisible(), r.moves) << "the bar across";
        QWidget* label = ui::qt::QtBackend::widget(p.c("Roller", "标签2"));
        const QPoint global = label->mapToGlobal(label->rect().center());
        turn_wheel(win, global, r.angle, r.keys);
        EXPECT_EQ(down.position, 0);
        EXPECT_EQ(across.position > 0, r.moves);
        turn_wheel(win, global, -r.angle, r.keys);
        EXPECT_EQ(down.position, 0);
        EXPECT_EQ(across.position, 0);
    }
}

// A laptop undocked from its 1920 x 1080 monitor: the screen shrinks to
// the laptop's own under the running program, and the windows the user had
// put on the right and low down come back into the work area.
TEST(MainWindow, WindowsComeBackIntoAScreenThatShrank)
{
    Program p;
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect laptop = screen->geometry(), laptop_area = screen->availableGeometry();
    QWindowSystemInterface::handleScreenGeometryChange(screen, QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1050));
    QTest::qWait(20);
    show_module(p, module("Roller"));
    p.click("Roller", "按钮1"); // a look-up beside the main window
    QTest::qWait(20);
    QWidget* main = p.window("main");
    QWidget* popup = p.window("popup");
    main->move(850, 300);
    popup->move(1200, 620);
    QTest::qWait(20);
    ASSERT_FALSE(laptop_area.contains(main->frameGeometry())) << rect_text(main->frameGeometry());
    ASSERT_FALSE(laptop_area.contains(popup->frameGeometry())) << rect_text(popup->frameGeometry());

    QWindowSystemInterface::handleScreenGeometryChange(screen, laptop, laptop_area);
    for (QWidget* w : {main, popup})
        EXPECT_TRUE(QTest::qWaitFor([&] { return inside_work_area(w); }, 2000))
            << rect_text(w->frameGeometry()) << " on " << rect_text(screen_area());
    // The program lays itself out for the client area it has now.
    EXPECT_EQ(p.form("main").self().height, main->findChild<ui::qt::ClientView*>()->height());
    EXPECT_EQ(p.form("popup").self().width, 700) << "the look-up keeps the size it asked for";
    save(main, "main_after_the_screen_shrank");
}

// A page chosen after scrolling down and across a window smaller than its
// content (a 768-pixel screen, or 150 %) shows from its top left: a
// module's page tabs, its compute button and first row are not left under
// the category bar.
TEST(MainWindow, ChosenModuleOrCategoryOpensAtItsTopLeft)
{
    Program p;
    show_module(p, module("Roller"));
    QWidget* win = main_window_inside(p, 400, 900);
    ui::Control& tab = p.c("main", "选择夹_大类");
    ui::Control& vbar = p.c("main", "纵向滚动条1");
    ui::Control& hbar = p.c("main", "横向滚动条1");
    QWidget* top_bar = ui::qt::QtBackend::widget(p.c("main", "外形框1"));
    const int below_top_bar = top_bar->mapTo(win, QPoint(0, top_bar->height())).y();
    // 900 wide, the top bar has two rows: the tab's own place is below them.
    const int tab_home = p.c("main", "外形框1").top + p.c("main", "外形框1").height;
    EXPECT_GT(tab_home, 88);
    struct Choice {
        const char* form;                 // the page that opens
        std::vector<const char*> buttons; // as the user chooses it
        const char* first;                // a control at the top of the page
    };
    const std::vector<Choice> choices = {
        // another category, another module, the same again, a category of one module
        {"SmoothBlasting", {"图形按钮1_爆破工程", "图形按钮_2级光面爆破"}, "选择夹1"},
        {"DeepHole", {"图形按钮_2级深孔爆破"}, "外形框2"},
        {"DeepHole", {"图形按钮_2级深孔爆破"}, "外形框2"},
        {"Ventilation", {"图形按钮1_通风工程"}, "外形框2"},
    };
    for (const Choice& ch : choices) {
        SCOPED_TRACE(ch.form);
        auto* v = qobject_cast<QScrollBar*>(ui::qt::QtBackend::widget(vbar));
        auto* h = qobject_cast<QScrollBar*>(ui::qt::QtBackend::widget(hbar));
        ASSERT_TRUE(v && v->isVisible() && h && h->isVisible());
        p.rt.user_scroll(vbar, v->maximum());
        p.rt.user_scroll(hbar, h->maximum());
        QTest::qWait(1);
        ASSERT_LT(tab.top, tab_home);
        ASSERT_LT(tab.left, 0);
        for (const char* b : ch.buttons) p.click("main", b);
        EXPECT_EQ(vbar.position, 0);
        EXPECT_EQ(hbar.position, 0);
        EXPECT_EQ(v->value(), 0);
        EXPECT_EQ(h->value(), 0);
        EXPECT_EQ(tab.top, tab_home);
        EXPECT_EQ(tab.left, 0);
        QWidget* tab_view = ui::qt::QtBackend::widget(tab);
        EXPECT_EQ(tab_view->pos(), QPoint(0, tab_home)) << "as the window shows it";
        QWidget* first = ui::qt::QtBackend::widget(p.c(ch.form, ch.first));
        ASSERT_TRUE(first && first->isVisible());
        EXPECT_GE(first->mapTo(win, QPoint(0, 0)).y(), below_top_bar) << "under the category bar";
    }
    save(win, "module_chosen_after_scrolling");
}

// ---- the other screens named in the faults: each looked at, and what was wrong checked -------

TEST(Screens, SplashHintShowsWholeBesideTheBar)
{
    ScreenBackend backend;
    ui::Runtime rt{backend};
    backend.attach(rt);
    app::start_program(rt);
    ui::Form* splash = rt.form("splash");
    ASSERT_NE(splash, nullptr);
    ui::Control* bar = splash->find("进度条1");
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rt.form("splash") && bar->position >= 80; }, 10000));
    EXPECT_EQ(splash->find("透明标签2")->text, "软件导出需要Word2007及以上版本支持");
    screens::Faults faults = screens::cut_texts(rt.forms(), *splash);
    std::string all;
    for (auto& f : faults) all += f + "\n";
    EXPECT_TRUE(faults.empty()) << all;
    save(backend.window(*splash), "splash");
}

TEST(Screens, ModuleFormScreenshotShowsTheFrictionFactorWhole)
{
    Program p;
    show_module(p, module("Ventilation"));
    p.click("Ventilation", "图形按钮_计算");
    ui::Control& box = p.c("Ventilation", "编辑框1_摩阻系数");
    ASSERT_EQ(box.text, "0.00225");
    QWidget* main = p.window("main");
    std::string path = save_dir() + "/ventilation_computed.png";
    ASSERT_TRUE(main->grab().save(QString::fromStdString(path), "PNG"));
    QImage shot(QString::fromStdString(path));
    ASSERT_EQ(shot.size(), main->size());
    // The last digit is drawn: dark pixels in the box where the "5" stands.
    QWidget* w = ui::qt::QtBackend::widget(box);
    QFontMetrics fm(w->font());
    QPoint at = w->mapTo(main, QPoint(0, 0));
    int x0 = at.x() + 3 + 2 + fm.horizontalAdvance("0.0022"), x1 = at.x() + 3 + 2 + fm.horizontalAdvance("0.00225");
    ASSERT_LE(x1, at.x() + w->width());
    int dark = 0;
    for (int y = at.y(); y < at.y() + w->height(); ++y)
        for (int x = x0; x < x1; ++x) dark += qGray(shot.pixel(x, y)) < 100;
    EXPECT_GT(dark, 5) << "the 5 of 0.00225 is not on the screenshot";
}

TEST(Screens, ScheduleChartValuesNeverOverlap)
{
    Program p;
    show_module(p, module("AdvanceSchedule"));
    p.click("AdvanceSchedule", "图形按钮_计算");
    auto* chart = qobject_cast<ui::qt::ChartView*>(ui::qt::QtBackend::widget(p.c("AdvanceSchedule", "柱状图控件1")));
    ASSERT_NE(chart, nullptr);
    chart->grab(); // paints it
    const std::vector<QRect>& labels = chart->value_labels();
    ASSERT_GE(labels.size(), 6u);
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_TRUE(chart->rect().contains(labels[i])) << rect_text(labels[i]);
        for (size_t j = i + 1; j < labels.size(); ++j)
            EXPECT_FALSE(labels[i].intersects(labels[j])) << rect_text(labels[i]) << " and " << rect_text(labels[j]);
    }
    save(chart, "schedule_chart");
}

// A long tunnel of short rounds: lengths, days and cycles far beyond the
// chart's axis and the boxes' width.
void plan_an_extreme_tunnel(Program& p)
{
    show_module(p, module("AdvanceSchedule"));
    p.rt.user_type(p.c("AdvanceSchedule", "编辑框1_各类围岩长度0"), "1234567890.123");
    p.rt.user_type(p.c("AdvanceSchedule", "编辑框1_每循环进尺0"), "0.0007");
    p.rt.user_type(p.c("AdvanceSchedule", "编辑框1_每循环用时0"), "13.3");
    p.rt.set_focus(nullptr);
    p.click("AdvanceSchedule", "图形按钮_计算");
}

TEST(Screens, ScheduleChartValuesClearOfThePlainAxisNumbers)
{
    Program p;
    for (bool extreme : {false, true}) {
        SCOPED_TRACE(extreme ? "an extreme tunnel" : "the starting inputs");
        if (extreme) plan_an_extreme_tunnel(p);
        else show_module(p, module("AdvanceSchedule"));
        p.click("AdvanceSchedule", "图形按钮_计算");
        auto* chart = qobject_cast<ui::qt::ChartView*>(ui::qt::QtBackend::widget(p.c("AdvanceSchedule", "柱状图控件1")));
        ASSERT_NE(chart, nullptr);
        chart->grab();
        // Plain numbers at equal steps of 1, 2, 2.5 or 5 times a power of ten.
        const std::vector<QString>& ticks = chart->axis_texts();
        ASSERT_GE(ticks.size(), 3u);
        const double step = ticks[1].toDouble();
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 2.5) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << ticks[1].toStdString();
        for (size_t k = 0; k < ticks.size(); ++k)
            EXPECT_EQ(ticks[k].toStdString(), ui::number_to_text(double(k) * step));
        for (const QRect& v : chart->value_labels()) {
            EXPECT_TRUE(chart->rect().contains(v)) << rect_text(v);
            for (const QRect& a : chart->axis_labels()) EXPECT_FALSE(v.intersects(a)) << rect_text(v) << " over " << rect_text(a);
        }
        // A length beyond what the chart keeps is not labelled as the cap.
        if (extreme) {
            const std::vector<QString>& values = chart->value_texts();
            ASSERT_FALSE(values.empty());
            EXPECT_EQ(values[0].toStdString(), "≥10000000");
            // and the axis ends at the cap, so that the capped bar is seen full height
            EXPECT_EQ(ticks.back().toStdString(), "10000000");
        }
        save(chart, extreme ? "schedule_chart_extreme" : "schedule_chart");
    }
}

TEST(Screens, ValuesTooLongForTheirBoxShowShorterAndWholeInTheTip)
{
    Program p;
    plan_an_extreme_tunnel(p);
    expect_whole(p, "AdvanceSchedule");
    int shorter = 0;
    for (auto& c : p.form("AdvanceSchedule").controls) {
        auto* e = qobject_cast<QLineEdit*>(ui::qt::QtBackend::widget(*c));
        if (!e || !e->isVisible()) continue;
        const std::string shown = e->text().toStdString();
        if (shown == c->text) continue;
        ++shorter;
        SCOPED_TRACE(c->name + " = " + c->text + ", shown " + shown);
        // The same number with fewer digits (and its unit), not a cut one.
        const double value = ui::text_to_number(c->text), read = ui::text_to_number(shown);
        EXPECT_LE(std::abs(read - value), std::abs(value) * 0.05);
        EXPECT_EQ(shown.substr(ui::number_literal_length(shown)), c->text.substr(ui::number_literal_length(c->text)));
        EXPECT_TRUE(e->toolTip().contains(QString::fromStdString(c->text))) << e->toolTip().toStdString();
        // The focus in the box shows it whole, to be read and copied.
        if (e->focusPolicy() != Qt::NoFocus && e->isEnabled()) {
            QTest::mouseClick(e, Qt::LeftButton);
            EXPECT_EQ(e->text().toStdString(), c->text);
            p.rt.set_focus(nullptr);
            QTest::mouseClick(ui::qt::QtBackend::widget(p.c("AdvanceSchedule", "编辑框1_各类围岩长度5")), Qt::LeftButton);
            EXPECT_EQ(e->text().toStdString(), shown);
        }
    }
    EXPECT_GT(shorter, 0) << "no value too long for its box";
    save(p.window("main"), "schedule_extreme");
}

// Figures far larger or longer than their cells were designed for: every
// label or table cell that shows a figure shows it whole on one line, or
// with fewer digits (the same number to within its rounding, its unit
// kept), and then whole in its tip; never broken at the decimal point or cut.
TEST(Screens, LongFiguresInLabelsShowOnOneLineShorterAndWholeInTheTip)
{
    struct Case {
        const char* form;
        std::vector<std::pair<const char*, const char*>> chosen; // list, item
        std::vector<std::pair<const char*, const char*>> typed;  // box, text
    };
    const Case cases[] = {
        // Two benches with 42.6 million km advances: the charge totals run to 13 digits.
        {"SmoothBlasting",
         {{"组合框_开挖方法", "台阶法"}, {"组合框_方法2", "上下2台阶"}},
         {{"编辑框1_开挖循环进尺", "42600000000"}, {"编辑框2_开挖循环进尺", "42600000000"}}},
        // The loading diagrams repeat the distances as typed, in cells 30 to 60 pixels wide.
        {"Trestle",
         {},
         {{"编辑框1_后桥轴距a", "12345.678"}, {"编辑框1_轴距", "100000.25"}, {"编辑框1_梁轴线宽度", "0.000001234"},
          {"编辑框1_单片梁宽度", "123456789"}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.form);
        Program p;
        show_module(p, module(k.form));
        for (const auto& [list, item] : k.chosen) {
            ui::Control& c = p.c(k.form, list);
            const auto it = std::find(c.items.begin(), c.items.end(), item);
            ASSERT_NE(it, c.items.end()) << item;
            p.rt.user_choose(c, int(it - c.items.begin()));
        }
        for (const auto& [box, text] : k.typed) p.rt.user_type(p.c(k.form, box), text);
        p.click(k.form, "图形按钮_计算");
        QTest::qWait(1);
        expect_whole(p, k.form);
        int shorter = 0;
        for (auto& c : p.form(k.form).controls) {
            auto* l = qobject_cast<QLabel*>(ui::qt::QtBackend::widget(*c));
            const std::string whole = QString::fromStdString(c->text).trimmed().toStdString();
            const std::size_t n = ui::number_literal_length(whole);
            if (!l || !l->isVisible() || n == 0) continue;
            const std::string unit = whole.substr(n);
            if (std::any_of(unit.begin(), unit.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) continue;
            const std::string shown = l->text().toStdString();
            SCOPED_TRACE(c->name + " = " + whole + ", shown " + shown);
            EXPECT_EQ(shown.find('\n'), std::string::npos);
            EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(l->text()), l->contentsRect().width());
            if (shown == whole) continue;
            ++shorter;
            // The number rounded to as many digits as show, and its unit.
            const double value = ui::text_to_number(whole.substr(0, n));
            bool rounded = false;
            for (int digits = 1; digits <= 17; ++digits) rounded = rounded || ui::number_to_text_digits(value, digits) + unit == shown;
            EXPECT_TRUE(rounded);
            EXPECT_TRUE(l->toolTip().contains(QString::fromStdString(whole))) << l->toolTip().toStdString();
        }
        EXPECT_GT(shorter, 0) << "no figure too long for its label";
        save(p.window("main"), std::string("long_figures_") + k.form);
    }
}

// Bars side by side, left to right, and the values written over them: no
// value covers another or a bar not its own, each stays in the bounds and
// with its bar (over it or on it, and within its width when written up it).
struct BarCase {
    const char* what;
    std::vector<QRect> bars;
    std::vector<int> widths;
    QRect bounds;
    std::vector<bool> upright; // expected
};

TEST(Screens, BarValuesKeepToTheirOwnBars)
{
    const BarCase cases[] = {
        {"values wider than bars of one height stand over them",
         {QRect(100, 150, 30, 100), QRect(160, 150, 30, 100)}, {40, 40}, QRect(0, 0, 400, 300), {false, false}},
        {"a low bar between taller ones is written up its own bar, not across them",
         {QRect(100, 50, 10, 200), QRect(110, 200, 10, 50), QRect(120, 150, 10, 100)}, {40, 40, 40},
         QRect(0, 0, 400, 300), {false, true, true}},
        {"bars up to the top of the plot leave no room above: each value goes down its own bar",
         {QRect(100, 20, 24, 280), QRect(124, 20, 24, 280), QRect(200, 200, 24, 100)}, {60, 60, 60},
         QRect(0, 10, 400, 290), {true, true, false}},
        {"a bar at the top beside a lower one keeps its value across, down on its own top; the lower one's goes up",
         {QRect(100, 20, 20, 280), QRect(120, 150, 20, 150)}, {70, 70}, QRect(0, 10, 400, 290), {false, true}},
    };
    for (const BarCase& k : cases) {
        SCOPED_TRACE(k.what);
        const std::vector<ui::qt::BarLabel> at = ui::qt::place_bar_labels(k.bars, k.widths, 14, k.bounds);
        ASSERT_EQ(at.size(), k.bars.size());
        for (size_t i = 0; i < at.size(); ++i) {
            const QRect& r = at[i].rect;
            const QRect& bar = k.bars[i];
            SCOPED_TRACE("value " + std::to_string(i) + " at " + rect_text(r));
            EXPECT_EQ(at[i].upright, k.upright[i]);
            EXPECT_TRUE(k.bounds.contains(r));
            for (size_t j = 0; j < at.size(); ++j) {
                if (j == i) continue;
                EXPECT_FALSE(r.intersects(k.bars[j])) << "over bar " << j << " " << rect_text(k.bars[j]);
                if (j < i) {
                    EXPECT_FALSE(r.intersects(at[j].rect)) << "over value " << j;
                }
            }
            if (at[i].upright) {
                EXPECT_GE(r.left(), bar.left());
                EXPECT_LE(r.right(), bar.right());
                EXPECT_TRUE(r.bottom() < bar.top() || r.top() > bar.top()) << "over or on its bar";
            } else {
                EXPECT_LE(std::abs(r.center().x() - bar.center().x()), 1);
                EXPECT_TRUE(r.bottom() < bar.top() || r.top() == k.bounds.top()) << "over its bar, or at the top";
            }
        }
    }
}

TEST(Screens, EmptyLogsShowAsEmptyBoxesUntilWrittenTo)
{
    Program p;
    for (auto [form, log] : {std::pair{"Mucking", "编辑框4日志"}, std::pair{"WaterSupply", "编辑框_提示"}}) {
        show_module(p, module(form));
        QWidget* w = ui::qt::QtBackend::widget(p.c(form, log));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->palette().color(QPalette::Base), ui::qt::button_face()) << form;
        save(p.window("main"), std::string("log_empty_") + form);
        p.click(form, "图形按钮_计算");
        w = ui::qt::QtBackend::widget(p.c(form, log));
        EXPECT_EQ(w->palette().color(QPalette::Base), QColor(14, 87, 131)) << form << " after its first calculation";
    }
}

TEST(Screens, MethodPictureButtonsStandBesideThePicture)
{
    Program p;
    show_module(p, module("MethodSelection"));
    QWidget* picture = ui::qt::QtBackend::widget(p.c("MethodSelection", "图片框1"));
    for (const char* b : {"按钮_向后", "按钮_向前", "按钮_向前1"}) {
        QWidget* w = ui::qt::QtBackend::widget(p.c("MethodSelection", b));
        EXPECT_FALSE(w->geometry().intersects(picture->geometry())) << b << " lies on the picture's caption";
    }
    // The picture is shown in its own shape (1079 x 672).
    EXPECT_NEAR(double(picture->width()) / picture->height(), 1079.0 / 672, 0.01);
    save(p.window("main"), "method_selection");
}

// Where the dark caption of a button picture lies.
QRect caption_ink(const ui::Bytes& png)
{
    QImage img = QImage::fromData(QByteArray(png.data(), qsizetype(png.size())));
    QRect r;
    for (int y = 3; y < img.height() - 3; ++y)
        for (int x = 3; x < img.width() - 3; ++x)
            if (qAlpha(img.pixel(x, y)) > 200 && qGray(img.pixel(x, y)) < 90) r |= QRect(x, y, 1, 1);
    return r;
}

// The heaviest machine's weight stands in the gap its caption leaves for it
// ("以最重设备 [40] T为计算基数"), clear of the words either side.
TEST(Screens, HeaviestWeightStandsBetweenTheWordsOfItsCaption)
{
    Program p;
    show_module(p, module("Trestle"));
    auto* caption = qobject_cast<QLabel*>(ui::qt::QtBackend::widget(p.c("Trestle", "标签1_最终判断999")));
    QWidget* box = ui::qt::QtBackend::widget(p.c("Trestle", "编辑框1_最重"));
    ASSERT_TRUE(caption && box && caption->parentWidget() == box->parentWidget());
    const QString text = caption->text();
    ASSERT_TRUE(text.contains("  ") && text.contains('T')) << text.toStdString();
    const QFontMetrics shown(caption->font());
    const int left = caption->x() + caption->contentsRect().left();
    const int words_end = left + shown.horizontalAdvance(text.left(text.indexOf(' ')));
    const int t_start = left + shown.horizontalAdvance(text.left(text.indexOf('T')));
    EXPECT_GT(box->x(), words_end);
    EXPECT_LT(box->x() + box->width(), t_start);
    // and wide enough for a weight typed to the hundredth, which the check uses as typed
    EXPECT_GE(box->width(), QFontMetrics(box->font()).horizontalAdvance("55.45") + 6)
        << "words end " << words_end << ", T at " << t_start << ", box " << box->x() << "+" << box->width();
}

TEST(Screens, ExcavatorSubButtonsShareOneTextSize)
{
    for (const char* state : {"normal", "pressed"}) {
        std::string base = std::string("resources/pictures/main/mod_excavator_");
        QRect output = caption_ink(ui::resource(base + "output_" + state + ".png"));
        QRect trucks = caption_ink(ui::resource(base + "trucks_" + state + ".png"));
        if (std::string(state) == "pressed") {
            // White on blue: the caption is the light part.
            auto light = [](const ui::Bytes& png) {
                QImage img = QImage::fromData(QByteArray(png.data(), qsizetype(png.size())));
                QRect r;
                for (int y = 3; y < img.height() - 3; ++y)
                    for (int x = 3; x < img.width() - 3; ++x)
                        if (qGray(img.pixel(x, y)) > 200) r |= QRect(x, y, 1, 1);
                return r;
            };
            output = light(ui::resource(base + "output_pressed.png"));
            trucks = light(ui::resource(base + "trucks_pressed.png"));
        }
        ASSERT_FALSE(output.isEmpty());
        ASSERT_FALSE(trucks.isEmpty());
        EXPECT_LE(std::abs(output.height() - trucks.height()), 1)
            << state << ": 生产率及数量 " << output.height() << " px high, 工期及渣车 " << trucks.height();
    }
}

TEST(Screens, AboutCreditsScrollAsTextWithoutABox)
{
    Program p;
    ASSERT_NE(p.rt.load_form("about", nullptr, false), nullptr);
    QWidget* win = p.window("about");
    ui::Control& credits = p.c("about", "编辑框1");
    auto* text = qobject_cast<QLabel*>(ui::qt::QtBackend::widget(credits));
    ASSERT_NE(text, nullptr) << "the credits are text, not a box with a frame and a scroll bar";
    for (QScrollBar* bar : ui::qt::QtBackend::widget(p.c("about", "外形框2"))->findChildren<QScrollBar*>())
        EXPECT_FALSE(bar->isVisible());
    // Every line shows as it passes: the block is as tall as its lines.
    QRect lines = QFontMetrics(text->font()).boundingRect(QRect(0, 0, text->width(), 10000), Qt::TextWordWrap, text->text());
    EXPECT_LE(lines.height(), text->height());
    int top = credits.top;
    QTest::qWait(400);
    EXPECT_LT(credits.top, top);
    EXPECT_EQ(text->y(), credits.top);
    // The credits pass through their frame by design; everything else shows whole.
    expect_whole(p, "about", {"编辑框1"});
    save(win, "about");
}

TEST(Screens, UpdateFormWithoutAddressesShowsEmptyBoxes)
{
    Program p;
    ui::set_online_probe("http://127.0.0.1:9/");
    ASSERT_NE(p.rt.load_form("update", nullptr, false), nullptr);
    QTest::qWait(300);
    for (const char* box : {"编辑框1_软件高速下载地址", "编辑框3"}) {
        auto* e = qobject_cast<QLineEdit*>(ui::qt::QtBackend::widget(p.c("update", box)));
        ASSERT_NE(e, nullptr) << box;
        EXPECT_EQ(e->text().toStdString(), "") << box;
    }
    expect_whole(p, "update");
    save(p.window("update"), "update");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    QApplication::setPalette(QApplication::style()->standardPalette());
    // A desktop's 30-pixel panel along the bottom of the screen: the work
    // area is 1024 x 738.
    QScreen* screen = QGuiApplication::primaryScreen();
    QWindowSystemInterface::handleScreenGeometryChange(screen, screen->geometry(), QRect(0, 0, 1024, 738));
    QCoreApplication::processEvents();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
