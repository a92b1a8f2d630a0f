// The picture pop-up and the diagram viewer as the modules use them:
// ShowLookupPicture, ShowDiagram, zoom bounds and saving the diagram.
#include "app/picture_tools.h"
#include "app/program.h"
#include "app/shell.h"
#include "tests/support/faults.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;
using namespace ui;

namespace {

const char* const kSmallPicture = "resources/pictures/viewer/zoom_in.png";    // 24 x 24
const char* const kLookupPicture = "resources/pictures/viewer/lookup_start.png"; // 555 x 379

struct Viewer : ::testing::Test {
    HeadlessBackend b;
    Runtime rt{b};
    fs::path folder;

    void SetUp() override
    {
        b.attach(rt);
        app::register_handlers(rt);
        folder = fs::temp_directory_path() / ("jsb-viewer-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        b.set_program_folder(folder.string());
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }

    int get(const char* form, const char* control, int p) { return cmd_to_int(rt_get_property(U(form, control), p)); }
    struct Size {
        int w, h;
        bool operator==(const Size&) const = default;
    };
    Size size(const char* form, const char* control = "")
    {
        return {get(form, control, prop::Width), get(form, control, prop::Height)};
    }
    Bytes picture(const char* form, const char* control) { return rt_get_property(U(form, control), prop::PicBox::Picture).bytes(); }
    std::string label() { return cmd_to_text(rt_get_property(U("viewer", "透明标签1"), prop::TransLabel::Caption)); }
    Control& unit(const char* form, const char* control) { return rt.unit(form, control); }

    // The user chooses an item of the diagram's right-button menu.
    void diagram_menu(const std::string& item)
    {
        b.queue_popup_choice(item);
        rt.user_mouse_down(unit("viewer", "图片框1"), false, 10, 10);
    }
    static Bytes read(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
};

std::ostream& operator<<(std::ostream& o, const Viewer::Size& s) { return o << s.w << "x" << s.h; }

TEST_F(Viewer, LookupPictureLoadsThePopupAndLaysItOutForTheModulesSize)
{
    const Bytes& pic = resource(kSmallPicture);
    app::ShowLookupPicture(pic, 800, 600);
    ASSERT_TRUE(cmd_is_created(U("popup")));
    EXPECT_EQ(size("popup"), (Size{800, 600}));
    EXPECT_EQ(size("popup", "外形框1"), (Size{800, 600}));
    EXPECT_EQ(size("popup", "图片框2"), (Size{760, 570}));
    // In the middle of the frame's 798 x 598 inside its line.
    EXPECT_EQ(get("popup", "图片框2", prop::Left), 19);
    EXPECT_EQ(get("popup", "图片框2", prop::Top), 14);
    EXPECT_EQ(picture("popup", "图片框2"), pic);
    Form* first = rt.form("popup");
    EXPECT_EQ(first->owner, nullptr);
    EXPECT_FALSE(first->modal);

    // Another lookup reuses the open pop-up.
    const Bytes& other = resource(kLookupPicture);
    app::ShowLookupPicture(other, 700, 500);
    EXPECT_EQ(rt.form("popup"), first);
    EXPECT_EQ(size("popup", "图片框2"), (Size{665, 475}));
    EXPECT_EQ(picture("popup", "图片框2"), other);
}

TEST_F(Viewer, DiagramSizesDependOnWhetherTheViewerWasOpen)
{
    const Bytes& pic = resource(kLookupPicture);
    app::ShowDiagram(pic, true);
    Form* first = rt.form("viewer");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->owner, nullptr);
    EXPECT_FALSE(first->modal);
    EXPECT_EQ(size("viewer"), (Size{700, 500}));
    EXPECT_EQ(size("viewer", "外形框1"), (Size{670, 501}));
    EXPECT_EQ(size("viewer", "图片框1"), (Size{604, 408}));
    EXPECT_EQ(picture("viewer", "图片框1"), pic);

    // The user zooms in; a second diagram reuses the open viewer, label and all.
    rt.user_toolbar(unit("viewer", "工具条3"), 2);
    EXPECT_EQ(label(), "120.67% ");
    const Bytes& other = resource(kSmallPicture);
    app::ShowDiagram(other, true);
    EXPECT_EQ(rt.form("viewer"), first);
    EXPECT_EQ(size("viewer"), (Size{614, 418}));
    EXPECT_EQ(size("viewer", "外形框1"), (Size{609, 413}));
    EXPECT_EQ(size("viewer", "图片框1"), (Size{604, 408}));
    EXPECT_EQ(picture("viewer", "图片框1"), other);
    EXPECT_EQ(label(), "120.67% ");

    // Closed by the user, the next diagram loads it anew.
    rt.user_close(*first);
    EXPECT_FALSE(cmd_is_created(U("viewer")));
    app::ShowDiagram(pic, true);
    EXPECT_EQ(size("viewer"), (Size{700, 500}));
    EXPECT_EQ(label(), "100%");
}

TEST_F(Viewer, UnsizedDiagramOnlyChangesThePicture)
{
    app::ShowDiagram(resource(kLookupPicture), false);
    Size window = size("viewer"), box = size("viewer", "图片框1");
    EXPECT_EQ(window, (Size{702, 542}));
    const Bytes& other = resource(kSmallPicture);
    app::ShowDiagram(other, false);
    EXPECT_EQ(size("viewer"), window);
    EXPECT_EQ(size("viewer", "图片框1"), box);
    EXPECT_EQ(picture("viewer", "图片框1"), other);
}

// One row per zoom step: side, factor, the picture's own side, result.
struct ZoomRow {
    int side;
    double factor;
    int own;
    int expected;
};

TEST(ZoomSide, StepsWithinTheBoundsAndClampsAtThem)
{
    const ZoomRow rows[] = {
        {604, app::kZoomOut, 2400, 483},   // cut toward zero
        {496, app::kZoomIn, 555, 595},
        {496, app::kZoomOut, 555, 396},
        {40, app::kZoomOut, 2400, 32},     // not below 32
        {32, app::kZoomOut, 2400, 32},
        {20, app::kZoomOut, 2400, 20},     // already below: stays, never grows on a zoom-out
        {0, app::kZoomIn, 2400, 32},       // a vanished picture grows again
        {-7, app::kZoomIn, 2400, 32},
        {26, app::kZoomIn, 2400, 32},
        {32, app::kZoomIn, 2400, 38},
        {380, app::kZoomIn, 24, 384},      // 16 times the picture's own side
        {384, app::kZoomIn, 24, 384},
        {500, app::kZoomIn, 24, 500},      // already above: stays, never shrinks on a zoom-in
        {500, app::kZoomOut, 24, 400},
        {1000000000, app::kZoomIn, 2400, 1000000000},
        {16000, app::kZoomIn, 0, 16384},   // no readable picture: a fixed bound
        {30, app::kZoomIn, 1, 32},         // a tiny picture still gets 32
    };
    for (const ZoomRow& r : rows)
        EXPECT_EQ(app::zoom_side(r.side, r.factor, r.own), r.expected)
            << r.side << " x " << r.factor << " (own " << r.own << ")";
}

TEST_F(Viewer, ZoomStaysWithinTheBoundsOnEveryPath)
{
    // A 24 x 24 picture: every side between 32 and 384.
    app::ShowDiagram(resource(kSmallPicture), true);
    // Given 604 x 408, above the bound, zooming in leaves it as it is.
    Control& bar = unit("viewer", "工具条3");
    rt.user_toolbar(bar, 2);
    EXPECT_EQ(size("viewer", "图片框1"), (Size{604, 408}));
    for (int i = 0; i < 40; ++i) diagram_menu("缩小");
    EXPECT_EQ(size("viewer", "图片框1"), (Size{32, 32}));
    EXPECT_EQ(label(), "5.33% ");
    diagram_menu("放大");
    EXPECT_EQ(size("viewer", "图片框1"), (Size{38, 38}));
    for (int i = 0; i < 40; ++i) rt.user_toolbar(bar, 2);
    EXPECT_EQ(size("viewer", "图片框1"), (Size{384, 384}));
    EXPECT_EQ(label(), "64% ");

    // The wheel, once the picture has the focus: out, never below the size
    // that fits the 700 x 500 window (605 x 445), which this one is already;
    // in, not past the bound.
    Control& pic = unit("viewer", "图片框1");
    rt.user_mouse_down(pic, true, 1, 1);
    for (int i = 0; i < 40; ++i) rt.user_wheel(pic, -1);
    EXPECT_EQ(size("viewer", "图片框1"), (Size{384, 384}));
    EXPECT_EQ(label(), "64%");
    for (int i = 0; i < 40; ++i) rt.user_wheel(pic, 1);
    EXPECT_EQ(size("viewer", "图片框1"), (Size{384, 384}));

    // The pop-up's frame grows with its picture and stops with it; zoomed
    // out, the picture stops where the table fits the 300 x 200 window.
    app::ShowLookupPicture(resource(kSmallPicture), 300, 200);
    rt.user_mouse_down(unit("popup", "图片框2"), true, 1, 1);
    for (int i = 0; i < 40; ++i) rt.user_wheel(unit("popup", "图片框2"), 1);
    EXPECT_EQ(size("popup", "图片框2"), (Size{384, 384}));
    EXPECT_EQ(size("popup", "外形框1"), (Size{384, 384}));
    for (int i = 0; i < 40; ++i) rt.user_wheel(unit("popup", "图片框2"), -1);
    EXPECT_EQ(size("popup", "图片框2"), (Size{285, 190}));
    EXPECT_EQ(size("popup", "外形框1"), (Size{300, 200}));
}

TEST_F(Viewer, SavingWritesThePictureAsGivenNotAsShown)
{
    const Bytes& pic = resource(kLookupPicture);
    app::ShowDiagram(pic, true);
    rt.user_toolbar(unit("viewer", "工具条3"), 2);
    fs::path target = folder / "示意图.png";
    b.queue_dialog_file(target.string());
    diagram_menu("导出");
    EXPECT_EQ(read(target), pic);
    EXPECT_TRUE(b.messages.empty());

    Control& dlg = unit("viewer", "通用对话框1");
    EXPECT_EQ(dlg.dialog_kind, 1);
    EXPECT_EQ(dlg.filter, "图片（.png）|*.png");
    EXPECT_EQ(dlg.initial_folder, folder.string());
    EXPECT_EQ(dlg.default_extension, ".png");

    // Saving again overwrites.
    app::ShowDiagram(resource(kSmallPicture), false);
    b.queue_dialog_file(target.string());
    diagram_menu("导出");
    EXPECT_EQ(read(target), resource(kSmallPicture));
}

TEST_F(Viewer, CancelledSaveWritesNothingEvenAfterAnEarlierSave)
{
    app::ShowDiagram(resource(kLookupPicture), true);
    fs::path target = folder / "a.png";
    b.queue_dialog_file(target.string());
    diagram_menu("导出");
    ASSERT_TRUE(fs::exists(target));
    fs::remove(target);
    diagram_menu("导出"); // no answer queued: the dialog is cancelled
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(b.messages.empty());
}

TEST_F(Viewer, FailedSaveSaysSo)
{
    app::ShowDiagram(resource(kLookupPicture), true);
    std::string target = (folder / "no such folder" / "a.png").string();
    b.queue_dialog_file(target);
    diagram_menu("导出");
    ASSERT_EQ(b.messages.size(), 1u);
    EXPECT_EQ(b.messages[0].caption, "错误");
    EXPECT_EQ(b.messages[0].text, "图片保存失败：" + target + "\r\n无法写入文件：" + ui::failure_reason(ENOENT));
}

// A save that fails part-way (file-size limit, full tmpfs, read-only
// folder, each made in a child process) over a picture saved before.
struct ViewerFault : Viewer, ::testing::WithParamInterface<testsupport::Fault> {};

TEST_P(ViewerFault, FailedSaveKeepsTheEarlierPictureAndSaysWhy)
{
    const testsupport::Fault fault = GetParam();
    if (std::string why = testsupport::fault_unavailable(fault); !why.empty()) GTEST_SKIP() << why;
    const fs::path disk = folder / ("disk-" + std::string(testsupport::fault_name(fault))), target = disk / "示意图.png";
    fs::create_directories(disk);
    const Bytes &small = resource(kSmallPicture), &large = resource(kLookupPicture);
    ASSERT_LT(small.size() * 2, large.size());

    std::vector<std::string> out = testsupport::in_child([&]() -> std::vector<std::string> {
        if (std::string why = testsupport::prepare_fault(fault, disk); !why.empty()) return {"skip", why};
        app::ShowDiagram(small, true);
        b.queue_dialog_file(target.string());
        diagram_menu("导出");
        const Bytes before = read(target);
        app::ShowDiagram(large, false);
        testsupport::inject_fault(fault, disk, disk, small.size() * 2);
        b.messages.clear();
        b.queue_dialog_file(target.string());
        diagram_menu("导出");
        std::string listing;
        for (const std::string& n : testsupport::names_in(disk)) listing += n + "\n";
        testsupport::undo_fault(fault, disk);
        if (b.messages.size() != 1)
            return {"ran", before.str(), read(target).str(), "", std::to_string(b.messages.size()) + " messages", listing};
        return {"ran", before.str(), read(target).str(), b.messages[0].caption, b.messages[0].text, listing};
    });
    ASSERT_FALSE(out.empty());
    if (out[0] == "skip") GTEST_SKIP() << out[1];
    ASSERT_EQ(out.size(), 6u) << out[0];
    EXPECT_TRUE(out[1] == small) << "the first save did not write the picture";
    EXPECT_TRUE(out[2] == small) << "the earlier picture changed";
    EXPECT_EQ(out[3], "错误");
    EXPECT_EQ(out[4], "图片保存失败：" + target.string() + "\r\n无法写入文件：" + testsupport::fault_reason(fault));
    EXPECT_EQ(out[5], (fault == testsupport::Fault::FullDisk ? "filler\n示意图.png\n" : "示意图.png\n"))
        << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(Faults, ViewerFault,
                         ::testing::Values(testsupport::Fault::FileSizeLimit, testsupport::Fault::FullDisk,
                                           testsupport::Fault::ReadOnlyFolder),
                         [](const auto& info) { return std::string(testsupport::fault_name(info.param)); });

TEST_F(Viewer, DragFollowsTheMouseOnlyAfterAPressAndStaysWithinReach)
{
    app::ShowDiagram(resource(kLookupPicture), true); // frame 670 x 501, picture at 10, 0
    Control& pic = unit("viewer", "图片框1");
    EXPECT_FALSE(b.finish_drag(pic, 5, 5)); // no press, no drag
    rt.user_mouse_down(pic, true, 4, 6);
    EXPECT_EQ(b.dragging(), &pic);
    EXPECT_TRUE(rt.has_focus(pic));
    ASSERT_TRUE(b.finish_drag(pic, 100, 40, 4, 6));
    EXPECT_EQ(get("viewer", "图片框1", prop::Left), 110);
    EXPECT_EQ(get("viewer", "图片框1", prop::Top), 40);
    EXPECT_EQ(b.dragging(), nullptr);

    // The grabbed point cannot leave the frame's client area (668 x 499).
    rt.user_mouse_down(pic, true, 4, 6);
    ASSERT_TRUE(b.finish_drag(pic, 10000, 10000, 4, 6));
    EXPECT_EQ(get("viewer", "图片框1", prop::Left), 667 - 4);
    EXPECT_EQ(get("viewer", "图片框1", prop::Top), 498 - 6);

    // A drag under way ends with its form.
    rt.user_mouse_down(pic, true, 1, 1);
    rt.destroy_now(*rt.form("viewer"));
    EXPECT_EQ(b.dragging(), nullptr);
}

} // namespace
