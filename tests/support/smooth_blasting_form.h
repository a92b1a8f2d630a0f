#pragma once
// The smooth-blasting form loaded alone in a headless runtime: what its
// tests share to reach controls, choose sections and compute.
#include "app/program.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

template <class Backend = ui::HeadlessBackend>
struct SmoothBlastingForm : ::testing::Test {
    static constexpr const char* kForm = "SmoothBlasting";
    Backend backend;
    ui::Runtime rt{backend};

    void SetUp() override
    {
        backend.attach(rt);
        app::register_handlers(rt);
        ASSERT_NE(rt.load_form(kForm, nullptr, false), nullptr);
    }

    ui::Control& c(const std::string& name) { return rt.unit(kForm, name); }
    std::string text(const std::string& name) { return c(name).text; }
    // As the program writes a box (one change notice).
    void write(const std::string& name, const std::string& s) { rt.set(c(name), ui::prop::EditBox::Content, s); }
    void choose(const std::string& combo, const std::string& item)
    {
        ui::Control& box = c(combo);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == item) return rt.user_choose(box, i);
        FAIL() << "no item " << item << " in " << combo;
    }
    void compute() { rt.user_click(c("图形按钮_计算")); }
    std::vector<std::string> message_texts() const
    {
        std::vector<std::string> v;
        for (const auto& m : backend.messages) v.push_back(m.text);
        return v;
    }
};

} // namespace testsupport
