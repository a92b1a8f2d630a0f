#pragma once
// What the tests of the module forms share: the whole program started
// headless with a report folder of its own, a backend that records a form's
// status line, countdown, compute button and busy lamp in order, and the
// text of a written report.
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"
#include "ui/value.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

// Records, in order, what a user sees change while a form computes or
// exports: its status captions, its countdown pictures as "[n]", and, when
// asked for, its compute button as "<pressed>"/"<normal>" and the main
// window's busy lamp as "<lamp busy>"/"<lamp idle>".
struct RecordingBackend : ui::HeadlessBackend {
    std::string form;
    std::string status_label = "标签1_提示信息";
    bool record_compute_button = false;
    bool record_lamp = false;
    std::vector<std::string> trail;
    // The owner of each message box shown, by form name ("" for none).
    std::vector<std::string> owners;
    // A module's own recording, called on every property change before the
    // shared one; it checks the form and the control itself.
    std::function<void(ui::Control&, int)> also_record;
    // Called as each message box shows, before it is answered.
    std::function<void(const std::string& text)> on_message;
    void property_changed(ui::Control& c, int p) override;
    int message_box(const std::string& text, int style, const std::string& caption, ui::Form* owner) override;
};

// The whole program, started headless, with one module form under test.
class ModuleProgram : public ::testing::Test {
protected:
    explicit ModuleProgram(std::string form);
    void SetUp() override;
    void TearDown() override;

    ui::Control& c(const std::string& name);
    std::string text(const std::string& name);
    // Types into a box and leaves it, as a user does.
    void type(const std::string& name, const std::string& value);
    // Pastes a text over the box's whole text at once, then leaves the box.
    void paste(const std::string& name, const std::string& value);
    void click(const std::string& name);
    int prop_of(const std::string& name, int p);
    // The embedded picture a control shows, by path ("<unknown>" for another).
    std::string picture(const std::string& form, const std::string& control);
    // Every named control's text, to show that something changed nothing.
    std::map<std::string, std::string> shown_texts();
    std::filesystem::path report_path(const std::string& file_name) const;
    // After an export: the bar back at 0, both buttons enabled, the export
    // button showing its normal picture.
    void expect_restored_after_export();

    std::string form_;
    RecordingBackend backend;
    ui::Runtime rt{backend};
    std::filesystem::path folder;
};

// Texts a number box of the domain does not take as a number: empty, a
// blank, "-", "-0", letters, beyond the largest number, below zero,
// mistyped numbers ("1..25"), 0 where only numbers above zero are taken,
// and a fraction where a count is.
std::vector<std::string> texts_outside(ui::Domain d);
// A row of a module's domain table: a box, whether it takes 0, and the
// results built on it that show "-" when it holds none of its numbers.
struct DomainRow {
    const char* box;
    bool zero_allowed;
    std::vector<const char*> dashed;
};
inline void PrintTo(const DomainRow& r, std::ostream* os) { *os << r.box; }

// A recorded trail split into its progress texts (counted) and the rest.
struct ExportTrail {
    std::vector<std::string> marks;
    int progress = 0;
};
ExportTrail split_progress(const std::vector<std::string>& trail, const std::string& prefix = "计算书已导出 ");
// The usual status sequence of an export: countdown 10, the preparation
// text, 9 … 0, then the idle status with countdown picture 10.
std::vector<std::string> countdown_marks(const std::string& preparation = "  参数导出准备中，请稍候……");

// The text of a report's main story (body and equations), one line per
// paragraph or table cell; "<not a package>" or "<not a document>" otherwise.
std::string report_text(const std::filesystem::path& path);
// The same for a package held in memory, without the closing line break.
std::string story_text(const std::string& package);
// One part of a package held in memory ("" when the package lacks it,
// nothing when the bytes are no package).
std::optional<std::string> package_part(const std::string& package, const char* name);
// A file's bytes ("" when it cannot be read).
std::string file_bytes(const std::filesystem::path& path);
// How often a text stands in another, counting non-overlapping occurrences.
size_t occurrences(const std::string& text, const std::string& sought);

} // namespace testsupport
