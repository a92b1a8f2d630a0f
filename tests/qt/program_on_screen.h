#pragma once
// The real program in a Qt test: started through its splash, with the
// desktop's dialogs answered by the test, and the way a user reaches each
// module form from the main window.
#include "app/program.h"
#include "ui/qt/qt_backend.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include <deque>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

// The Qt front end with the desktop's dialogs answered by the test (or,
// with real_message_boxes, its message boxes shown to be looked at).
class ScreenBackend : public ui::qt::QtBackend {
public:
    bool real_message_boxes = false;
    std::deque<int> answers;              // message boxes: OK unless queued
    std::deque<std::string> menu_choices; // pop-up menus: nothing unless queued

    int message_box(const std::string& text, int style, const std::string& caption, ui::Form* owner) override
    {
        if (real_message_boxes) return QtBackend::message_box(text, style, caption, owner);
        if (answers.empty()) return 0;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    void play_sound(const ui::Bytes&, const std::string&) override {}
    void open_url(const std::string&) override {}
    void shell_run(int, const std::string&) override {}
    bool open_dialog(ui::Control&) override { return false; }
    int popup_menu(ui::Form& f, int root, int, int) override
    {
        std::string want = menu_choices.empty() ? "" : menu_choices.front();
        if (!menu_choices.empty()) menu_choices.pop_front();
        for (int i = root + 1; i < int(f.menus.size()) && f.menus[size_t(i)].level > 0; ++i)
            if (f.menus[size_t(i)].caption == want) return i;
        return -1;
    }
};

struct Program {
    ScreenBackend backend;
    ui::Runtime rt{backend};
    Program()
    {
        backend.attach(rt);
        app::start_program(rt);
        bool up = QTest::qWaitFor([&] { return rt.form("main") != nullptr && rt.form("splash") == nullptr; }, 10000);
        EXPECT_TRUE(up) << "the splash never gave way to the main window";
        QTest::qWait(50);
    }
    ui::Form& form(const std::string& name)
    {
        ui::Form* f = rt.form(name);
        if (!f) throw std::runtime_error("form " + name + " is not loaded");
        return *f;
    }
    ui::Control& c(const std::string& form_name, const std::string& control)
    {
        ui::Control* p = form(form_name).find(control);
        if (!p) throw std::runtime_error("no control " + control + " in " + form_name);
        return *p;
    }
    void click(const std::string& form_name, const std::string& control)
    {
        rt.user_click(c(form_name, control));
        QTest::qWait(1);
    }
    QWidget* window(const std::string& name) { return backend.window(form(name)); }
};

// How a user reaches each module form from the main window.
struct ModulePage {
    const char* form;
    std::vector<const char*> buttons;
};
inline const std::vector<ModulePage> kModules = {
    {"TunnelEvaluation", {"图形按钮1_隧道评价"}},
    {"MethodSelection", {"图形按钮1_隧道开挖"}},
    {"SmoothBlasting", {"图形按钮1_爆破工程", "图形按钮_2级光面爆破"}},
    {"ControlledBlasting", {"图形按钮1_爆破工程", "图形按钮_2级控制爆破"}},
    {"BlastEffect", {"图形按钮1_爆破工程", "图形按钮_2级爆破影响"}},
    {"StaticBreaking", {"图形按钮1_爆破工程", "图形按钮_2级静态爆破"}},
    {"ShallowHole", {"图形按钮1_爆破工程", "图形按钮_2级浅孔爆破"}},
    {"DeepHole", {"图形按钮1_爆破工程", "图形按钮_2级深孔爆破"}},
    {"Flyrock", {"图形按钮1_爆破工程", "图形按钮_1爆破飞石"}},
    {"AdvanceSchedule", {"图形按钮1_工期计算"}},
    {"Ventilation", {"图形按钮1_通风工程"}},
    {"EarthSlope", {"图形按钮1_工程安全", "图形按钮1_土方放坡"}},
    {"VerticalCut", {"图形按钮1_工程安全", "图形按钮1_土方垂直"}},
    {"Mucking", {"图形按钮1_工程设备", "图形按钮1_隧道除渣"}},
    {"ExcavatorOutput", {"图形按钮1_工程设备", "图形按钮1_挖掘机计算", "图形按钮2_生产率及数量"}},
    {"ExcavatorTrucks", {"图形按钮1_工程设备", "图形按钮1_挖掘机计算", "图形按钮2_工期及自卸汽车"}},
    {"Roller", {"图形按钮1_工程设备", "图形按钮1_压路机"}},
    {"Bulldozer", {"图形按钮1_工程设备", "图形按钮1_推土机"}},
    {"RockDrill", {"图形按钮1_工程设备", "图形按钮1_风动凿岩机"}},
    {"Trestle", {"图形按钮1_工程设备", "图形按钮1_栈桥"}},
    {"AirSupply", {"图形按钮1_风水配置", "图形按钮1_风"}},
    {"WaterSupply", {"图形按钮1_风水配置", "图形按钮1_水"}},
};

inline void PrintTo(const ModulePage& m, std::ostream* os) { *os << m.form; }

inline void show_module(Program& p, const ModulePage& m)
{
    for (const char* b : m.buttons) p.click("main", b);
    QTest::qWait(1);
}

inline const ModulePage& module(const std::string& form)
{
    for (const ModulePage& m : kModules)
        if (form == m.form) return m;
    throw std::runtime_error("no module " + form);
}
