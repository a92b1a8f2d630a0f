// The controlled-blasting module in the whole headless program: the form as it
// starts, the protected-object and rock tables, the charges per delay as a
// table of worked figures, the back-check while typing, the compute frame and
// the calculation report.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::story_text;
using testsupport::file_bytes;
using testsupport::occurrences;

constexpr const char* kForm = "ControlledBlasting";
constexpr const char* kIdleStatus = "方案导出需要Word2007以上版本！";
constexpr const char* kVelocity = "编辑框_地面振动速度控制选取值";

// The result cells, row by row: reduced K, kg, g.
const char* const kCells[7][3] = {
    {"周边眼1", "周边眼2", "周边眼3"},   {"掏槽眼1", "掏槽眼2", "掏槽眼3"},     {"辅助孔1", "辅助孔2", "辅助孔3"},
    {"底板孔1", "底板孔2", "底板孔3"},   {"次周边a1", "次周边a2", "次周边a3"}, {"辅助孔a1", "辅助孔a2", "辅助孔a3"},
    {"周边眼a1", "周边眼a2", "周边眼a3"},
};

std::string picture_name(const Bytes& b)
{
    for (const std::string& p : resource_paths("resources/pictures/"))
        if (resource(p) == b) return p;
    return "<unknown>";
}

// Records the form's status captions, countdown pictures, compute-button
// pictures, the main window's lamp, and every message box with its owner.
struct RecordingBackend : HeadlessBackend {
    std::vector<std::string> trail; // status captions and "[n]" countdown pictures
    std::vector<std::string> frame; // "button:…", "lamp:…"
    struct Box {
        std::string text, owner;
    };
    std::vector<Box> boxes;
    // Controls that, whenever a countdown step shows, are made to read
    // "<#i@n>": i their place in this list, n the step. The report then shows
    // at which step the export read each of them.
    std::vector<std::string> stamped;

    void property_changed(Control& c, int p) override
    {
        if (c.form->name == "main" && c.name == "图片框1_呼吸灯" && p == prop::PicBox::Picture)
            frame.push_back("lamp:" + picture_name(c.pictures[0]));
        if (c.form->name != kForm) return;
        if (c.name == "标签1_提示信息" && p == prop::Label::Caption) {
            trail.push_back(c.text);
            const std::string countdown = "参数处理，倒计时";
            if (c.text.rfind(countdown, 0) == 0)
                for (size_t i = 0; i < stamped.size(); ++i)
                    c.form->find(stamped[i])->text = "<#" + std::to_string(i) + "@" + c.text.substr(countdown.size()) + ">";
        }
        if (c.name == "进度条倒数" && p == prop::PicBox::Picture)
            for (int n = 0; n <= 10; ++n)
                if (c.pictures[0] == resource(app::res::countdown_picture(n))) trail.push_back("[" + std::to_string(n) + "]");
        if (c.name == "图形按钮_计算" && p == prop::PicBtn::Picture) frame.push_back("button:" + picture_name(c.pictures[0]));
    }
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner) override
    {
        boxes.push_back({text, owner ? owner->name : ""});
        return HeadlessBackend::message_box(text, style, caption, owner);
    }
    void play_sound(const Bytes& wav, const std::string& name) override
    {
        frame.push_back("sound:" + fs::path(name).stem().string());
        HeadlessBackend::play_sound(wav, name);
    }
};

struct ControlledProgram : ::testing::Test {
    RecordingBackend backend;
    Runtime rt{backend};
    fs::path folder;

    void SetUp() override
    {
        backend.attach(rt);
        folder = fs::temp_directory_path() / ("jsb-controlled-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        backend.set_program_folder(folder.string());
        ASSERT_TRUE(app::start_program(rt));
        backend.advance(101 * 15); // the splash runs its bar up, then the main window opens
        ASSERT_NE(rt.form(kForm), nullptr);
    }
    void TearDown() override { fs::remove_all(folder); }

    Control& c(const std::string& name) { return rt.unit(kForm, name); }
    std::string text(const std::string& name) { return control_text(U(kForm, name)); }
    // Types into a box as the user does; the box keeps the focus.
    void type(const std::string& name, const std::string& value) { rt.user_type(c(name), value); }
    void leave() { rt.set_focus(nullptr); }
    void type_and_leave(const std::string& name, const std::string& value)
    {
        type(name, value);
        leave();
    }
    void click(const std::string& name) { rt.user_click(c(name)); }
    void tick(const std::string& list, const std::string& item)
    {
        const auto& items = c(list).items;
        const auto it = std::find(items.begin(), items.end(), item);
        ASSERT_NE(it, items.end()) << item;
        rt.user_tick(c(list), int(it - items.begin()));
    }
    int prop_of(const std::string& name, int p) { return rt.get(c(name), p).integer(); }
    std::vector<std::string> row_texts(int row)
    {
        return {text(kCells[row][0]), text(kCells[row][1]), text(kCells[row][2])};
    }
};

// --- the form as it starts --------------------------------------------------------------

TEST_F(ControlledProgram, StartsInItsFrameWithItsDefaultsSingleChoiceListsAndTips)
{
    Control& frame = rt.unit("main", "外形框1_控制爆破");
    EXPECT_EQ(rt.form(kForm)->frame, &frame);
    EXPECT_EQ(prop_of("", prop::Left), 2);
    EXPECT_EQ(prop_of("", prop::Top), 2);
    EXPECT_EQ(prop_of("", prop::Width), cmd_client_width(U("main", "外形框1_控制爆破")));
    EXPECT_EQ(prop_of("", prop::Height), cmd_client_height(U("main", "外形框1_控制爆破")));
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);

    const std::pair<const char*, const char*> defaults[] = {
        {kVelocity, "5.0"},
        {"编辑框_地质条件K值确定", "200"},
        {"编辑框_衰减系数", "1.8"},
        {"编辑框_爆破振动安全允许距离R", "9.5"},
        {"编辑框_周边眼预裂爆破衰减预计值", "30"},
        {"编辑框_进一步衰减值", "40"},
        {"编辑框_掏槽眼衰减预计值", "50"},
        {"编辑框_各种衰减", "70"},
        {"编辑框1_辅助孔衰减预计值", "50"},
        {"编辑框1_次周边眼衰减预计值", "60"},
        {"编辑框2_衰减系数", "1.65"},
        {"编辑框2_地质条件K", "84"},
        {"编辑框2_保护距离R", "9.5"},
        {"编辑框2_振动速度", "5.0"},
        {"编辑框2_最大单段药量", "5.07"},
        {"标签4b", "f≤10Hz"},
        {"标签5b", "10Hz＜f≤50Hz"},
        {"标签6b", "f＞50Hz"},
        {"标签4a", ""},
        {"标签5a", ""},
        {"标签6a", ""},
        {"标签17", ""},
        {"标签16", ""},
        {"标签引用a", ""},
        {"标签引用b", ""},
        {"标签33", "\r\n\r\n\r\n初次爆破区"},
        {"标签40", "已有临空面爆破区"},
        {"标签30", "\r\n衰减后实际K取值"},
        {"标签1_提示信息", kIdleStatus},
    };
    for (const auto& [name, want] : defaults) EXPECT_EQ(text(name), want) << name;
    for (const auto& row : kCells)
        for (const char* cell : row) EXPECT_EQ(text(cell), "") << cell;

    // Every edit box takes single-precision numbers on a white ground.
    int boxes = 0;
    for (const auto& ctl : rt.form(kForm)->controls) {
        if (ctl->kind != Kind::EditBox) continue;
        ++boxes;
        EXPECT_EQ(ctl->input_mode, 9) << ctl->name;
        EXPECT_EQ(ctl->back_color, 0xFFFFFF) << ctl->name;
    }
    EXPECT_EQ(boxes, 15);

    EXPECT_EQ(c("选择列表框1").items.size(), 16u);
    EXPECT_EQ(c("选择列表框2").items, (std::vector<std::string>{"坚硬岩石", "中硬岩石", "软岩石"}));
    for (const char* list : {"选择列表框1", "选择列表框2"}) {
        EXPECT_EQ(prop_of(list, prop::ChkListBox::CurrentIndex), -1) << list;
        EXPECT_EQ(prop_of(list, prop::ChkListBox::SingleCheck), 1) << list;
    }
    EXPECT_EQ(prop_of("选择框", prop::CheckBox::Checked), 1);
    for (const char* hidden : {"选择框", "标签引用a", "标签引用b"}) EXPECT_EQ(prop_of(hidden, prop::Visible), 0) << hidden;

    const std::map<std::string, std::string> want_tips = {
        {"选择列表框1", "本表中非国标为国标不含，其取值不应低于国\r\n标，砖混房屋、框架房屋、加油气站、管线燃\r\n气供水 "
                        "其对应振动限值均来自于《城市浅埋\r\n隧道原理及设计》中的取值！"},
        {kVelocity, "城市浅埋隧道、控制爆破主要考虑爆破振动速\r\n度满足《爆破振动安全允许标准B6722-2014》要求"},
        {"分组框6", "根据方案实际单段药量反算校验合规情况 (不支持距离反算)"},
        {"分组框5", "最大单段控制药量/单孔装药量=孔数   可分多个孔装"},
        {"编辑框_进一步衰减值", "没有设置减震孔不填"},
    };
    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), want_tips.size());
    for (const auto& [name, tip] : want_tips) {
        ASSERT_TRUE(tips.count(c(name).id)) << name;
        EXPECT_EQ(tips.at(c(name).id), tip) << name;
    }
}

// --- the protected objects ---------------------------------------------------------------

struct ObjectCase {
    const char* item;
    const char* bands[3];
    const char* velocity;
};

// Every row of the list: the three bands, the headings they stand under and
// the velocity proposed, texts exactly as written, leading blanks included.
const ObjectCase kObjects[] = {
    {"土窑洞、土坯房、毛石房屋", {"0.15～0.45", "0.45～0.9", "0.9～1.5"}, "0.15"},
    {"一般民用建筑物", {"1.5～2.0", "2.0～2.5", "2.5～3.0"}, " 1.5"},
    {"工业和商业建筑物", {"2.5～3.5", "3.5～4.5", "4.2～5.0"}, " 2.5"},
    {"一般古建筑与古迹", {"0.1～0.2", "0.2～0.3", "0.3～0.5"}, " 0.1"},
    {"运行中的水电站及发电厂中心控制室设备", {"0.5～0.6", "0.6～0.7", "0.7～0.9"}, " 0.5"},
    {"水工隧洞", {"7～8", "8～10", "10～15"}, "7"},
    {"交通隧道", {"10～12", "12～15", "15～20"}, "10"},
    {"矿山巷道", {"15～18", "18～25", "20～30"}, " 15"},
    {"永久性岩石高边坡", {"5～9", "8～12", "10～15"}, " 5"},
    {"新浇大体积混凝土(C20)龄期：初凝～3d", {"1.5～2.0", "2.0～2.5", "2.5～3.0"}, " 1.5"},
    {"新浇大体积混凝土(C20)龄期：3d～7d", {"3.0～4.0", "4.0～5.0", "5.0～7.0"}, " 3"},
    {"新浇大体积混凝土(C20)龄期：7d～28d", {"7.0～8.0", "8.0～10.0", "10.0～12"}, "7"},
    {"砖混房屋[此项非国标，参考值]", {"＜1.0", "1.0～2.0", "2.0～3及以上"}, " 1"},
    {"框架房屋[此项非国标，参考值]", {"＜2.0", "2.0～3.0", "3.0～5及以上"}, " 2"},
    {"加油(气)站[此项非国标，参考值]", {"＜0.50", "0.5～1.0", "1.0～2及以上"}, "0.5"},
    {"管线(燃气、供水)[此项非国标，参考值]", {"＜5.0", "5.0～6.0", "6及以上"}, "5"},
};

TEST_F(ControlledProgram, EachProtectedObjectWritesItsBandsHeadingsAndVelocity)
{
    ASSERT_EQ(c("选择列表框1").items.size(), std::size(kObjects));
    for (size_t row = 0; row < std::size(kObjects); ++row) {
        const ObjectCase& o = kObjects[row];
        SCOPED_TRACE(o.item);
        EXPECT_EQ(c("选择列表框1").items[row], o.item) << "list order";
        type(kVelocity, "9"); // typed before: the choice overwrites it
        tick("选择列表框1", o.item);
        EXPECT_EQ(text("标签引用a"), o.item);
        EXPECT_EQ((std::vector<std::string>{text("标签4a"), text("标签5a"), text("标签6a")}),
                  (std::vector<std::string>{o.bands[0], o.bands[1], o.bands[2]}));
        // The standard's rows grade by frequency, the reference rows by compliance.
        const std::vector<std::string> headings = row < 12 ? std::vector<std::string>{"f≤10Hz", "10Hz＜f≤50Hz", "f＞50Hz"}
                                                           : std::vector<std::string>{"合格", "基本合格", "超标"};
        EXPECT_EQ((std::vector<std::string>{text("标签4b"), text("标签5b"), text("标签6b")}), headings);
        EXPECT_EQ(text(kVelocity), o.velocity);
        EXPECT_TRUE(cmd_has_focus(U(kForm, "图片框1"))) << "the focus leaves the list for the picture";
    }
}

TEST_F(ControlledProgram, ATrafficTunnelThenAFramedHouseSwitchesTheHeadingsAndKeepsOneTick)
{
    tick("选择列表框1", "交通隧道");
    EXPECT_EQ(text("标签4a") + "|" + text("标签5a") + "|" + text("标签6a"), "10～12|12～15|15～20");
    EXPECT_EQ(text("标签4b") + "|" + text("标签5b") + "|" + text("标签6b"), "f≤10Hz|10Hz＜f≤50Hz|f＞50Hz");
    EXPECT_EQ(text(kVelocity), "10");
    tick("选择列表框1", "框架房屋[此项非国标，参考值]");
    EXPECT_EQ(text("标签4a") + "|" + text("标签5a") + "|" + text("标签6a"), "＜2.0|2.0～3.0|3.0～5及以上");
    EXPECT_EQ(text("标签4b") + "|" + text("标签5b") + "|" + text("标签6b"), "合格|基本合格|超标");
    EXPECT_EQ(text(kVelocity), " 2");
    EXPECT_EQ(text("标签引用a"), "框架房屋[此项非国标，参考值]");
    // One tick at a time.
    const auto& checked = c("选择列表框1").item_checked;
    EXPECT_EQ(std::count(checked.begin(), checked.end(), true), 1);
}

TEST_F(ControlledProgram, EachRockWritesItsRangesAndProposesKAndAlpha)
{
    const struct {
        const char* item;
        const char* k_range;
        const char* alpha_range;
        const char* k;
        const char* alpha;
    } rocks[] = {
        {"坚硬岩石", "50～150", "1.3～1.5", "100", "1.4"},
        {"中硬岩石", "150～250", "1.5～1.8", " 200", "1.65"},
        {"软岩石", "250～350", "1.8～2.0", " 300", " 1.9"},
    };
    for (const auto& r : rocks) {
        SCOPED_TRACE(r.item);
        type_and_leave("编辑框_地质条件K值确定", "123");
        tick("选择列表框2", r.item);
        EXPECT_EQ(text("标签引用b"), r.item);
        EXPECT_EQ(text("标签17"), r.k_range);
        EXPECT_EQ(text("标签16"), r.alpha_range);
        EXPECT_EQ(text("编辑框_地质条件K值确定"), r.k);
        EXPECT_EQ(text("编辑框_衰减系数"), r.alpha);
        EXPECT_TRUE(cmd_has_focus(U(kForm, "图片框1")));
    }
}

TEST_F(ControlledProgram, AnItemTextWithoutARowChangesOnlyTheReferenceLabel)
{
    tick("选择列表框1", "交通隧道");
    c("选择列表框1").items[0] = "未列入的对象"; // a list whose text differs from every row
    rt.user_tick(c("选择列表框1"), 0);
    EXPECT_EQ(text("标签引用a"), "未列入的对象");
    EXPECT_EQ(text("标签4a"), "10～12");
    EXPECT_EQ(text(kVelocity), "10");
}

// --- charges per delay -------------------------------------------------------------------

struct ChargeCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> typed; // box, text, before the compute click
    const char* rock;                                       // ticked first, or nullptr
    std::vector<std::vector<std::string>> rows;             // K, kg, g of the seven rows
    const char* object = nullptr;                           // protected object ticked first, or nullptr
};
void PrintTo(const ChargeCase& c, std::ostream* os) { *os << c.name; }

struct Charges : ControlledProgram, ::testing::WithParamInterface<ChargeCase> {};

TEST_P(Charges, OneComputeClickShows)
{
    if (GetParam().object) tick("选择列表框1", GetParam().object);
    if (GetParam().rock) tick("选择列表框2", GetParam().rock);
    for (const auto& [box, value] : GetParam().typed) type_and_leave(box, value);
    click("图形按钮_计算");
    for (int row = 0; row < 7; ++row) EXPECT_EQ(row_texts(row), GetParam().rows[size_t(row)]) << kCells[row][0];
}

using Rows = std::vector<std::vector<std::string>>;

INSTANTIATE_TEST_SUITE_P(
    ControlledBlasting, Charges,
    ::testing::Values(
        // K' 200, α 1.8, R' 9.5, V' 5.0, attenuation 30, 40, 50, 70, 50, 60.
        ChargeCase{"starting texts", {}, nullptr,
                   Rows{{"84", "7.78", "7780"}, {"100", "5.81", "5818"}, {"60", "13.63", "13631"}, {"60", "13.63", "13631"},
                        {"60", "13.63", "13631"}, {"100", "5.81", "5818"}, {"80", "8.43", "8439"}}},
        // The back-check's starting texts describe this case: 84 and 5.07 kg.
        ChargeCase{"medium hard rock", {}, "中硬岩石",
                   Rows{{"84", "5.07", "5073"}, {"100", "3.69", "3695"}, {"60", "9.35", "9354"}, {"60", "9.35", "9354"},
                        {"60", "9.35", "9354"}, {"100", "3.69", "3695"}, {"80", "5.54", "5544"}}},
        ChargeCase{"other site and velocity",
                   {{"编辑框_地质条件K值确定", "150"}, {"编辑框_衰减系数", "1.5"}, {"编辑框_爆破振动安全允许距离R", "20"}, {kVelocity, "2"}},
                   nullptr,
                   Rows{{"63", "8.06", "8062"}, {"75", "5.68", "5688"}, {"45", "15.8", "15802"}, {"45", "15.8", "15802"},
                        {"45", "15.8", "15802"}, {"75", "5.68", "5688"}, {"60", "8.88", "8888"}}},
        // A full attenuation leaves no site coefficient: no K, no charge.
        ChargeCase{"peripheral holes fully attenuated", {{"编辑框_周边眼预裂爆破衰减预计值", "100"}}, nullptr,
                   Rows{{"-", "-", "-"}, {"100", "5.81", "5818"}, {"60", "13.63", "13631"}, {"60", "13.63", "13631"},
                        {"60", "13.63", "13631"}, {"100", "5.81", "5818"}, {"80", "8.43", "8439"}}},
        // No vibration-reducing holes: the further attenuation is left empty.
        ChargeCase{"no further attenuation", {{"编辑框_进一步衰减值", ""}}, nullptr,
                   Rows{{"140", "3.32", "3320"}, {"100", "5.81", "5818"}, {"60", "13.63", "13631"}, {"60", "13.63", "13631"},
                        {"60", "13.63", "13631"}, {"100", "5.81", "5818"}, {"80", "8.43", "8439"}}},
        // An old building on hard rock at 20 m: charges of grams. Each is
        // printed down to three significant figures, never above what the
        // formula allows (0.0191 kg, not 0.02), and the grams are the whole
        // grams of the charge itself (19 g of 19.14 g, not 20 g of 0.02 kg).
        ChargeCase{"an old building on hard rock", {{"编辑框_爆破振动安全允许距离R", "20"}}, "坚硬岩石",
                   Rows{{"42", "0.0191", "19"}, {"50", "0.0131", "13"}, {"30", "0.0393", "39"}, {"30", "0.0393", "39"},
                        {"30", "0.0393", "39"}, {"50", "0.0131", "13"}, {"40", "0.0212", "21"}},
                   "一般古建筑与古迹"},
        // No exponent: no charge (the reduced K do not use it).
        ChargeCase{"no attenuation exponent", {{"编辑框_衰减系数", ""}}, nullptr,
                   Rows{{"84", "-", "-"}, {"100", "-", "-"}, {"60", "-", "-"}, {"60", "-", "-"}, {"60", "-", "-"},
                        {"100", "-", "-"}, {"80", "-", "-"}}}),
    [](const ::testing::TestParamInfo<ChargeCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// --- what each input accepts --------------------------------------------------------------

// One input pasted over, then compute and export. `rows` tells, row by row,
// what the input leaves of the starting figures: '.' all three, 'q' the
// reduced K only (no charge), 'k' nothing. A calculation that gave no
// figure where one was due gives no report either.
struct DomainCase {
    const char* box;
    const char* text;
    const char* rows;
};
void PrintTo(const DomainCase& c, std::ostream* os) { *os << c.box << " = \"" << c.text << "\""; }

struct InputDomains : ControlledProgram, ::testing::WithParamInterface<DomainCase> {};

TEST_P(InputDomains, AnInputOutsideItsDomainGivesNoFigureAndNoReport)
{
    const DomainCase& d = GetParam();
    const Rows start = {{"84", "7.78", "7780"}, {"100", "5.81", "5818"}, {"60", "13.63", "13631"}, {"60", "13.63", "13631"},
                        {"60", "13.63", "13631"}, {"100", "5.81", "5818"}, {"80", "8.43", "8439"}};
    rt.set_focus(&c(d.box));
    rt.user_edit_text(c(d.box), d.text);
    leave();
    click("图形按钮_计算");
    bool whole = true;
    for (int row = 0; row < 7; ++row) {
        std::vector<std::string> want = start[size_t(row)];
        if (d.rows[row] != '.') want[1] = want[2] = "-", whole = false;
        if (d.rows[row] == 'k') want[0] = "-";
        EXPECT_EQ(row_texts(row), want) << kCells[row][0];
    }
    backend.queue_answer(0);
    click("图形按钮_导出");
    if (whole) {
        EXPECT_EQ(backend.messages.back().text, "方案导出成功！");
    } else {
        EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案" / "控制爆破计算书.doc"));
    }
}

// The percentages show 0 as an empty box, so empty is no attenuation; K', α,
// R' and V' must be positive.
INSTANTIATE_TEST_SUITE_P(
    ControlledBlasting, InputDomains,
    ::testing::Values(DomainCase{"编辑框_地质条件K值确定", "", "kkkkkkk"}, DomainCase{"编辑框_地质条件K值确定", "-", "kkkkkkk"},
                      DomainCase{"编辑框_地质条件K值确定", "-0", "kkkkkkk"}, DomainCase{"编辑框_地质条件K值确定", "-200", "kkkkkkk"},
                      DomainCase{"编辑框_衰减系数", "0", "qqqqqqq"}, DomainCase{"编辑框_衰减系数", "-1.8", "qqqqqqq"},
                      DomainCase{"编辑框_爆破振动安全允许距离R", "", "qqqqqqq"},
                      DomainCase{"编辑框_爆破振动安全允许距离R", "-9.5", "qqqqqqq"},
                      DomainCase{kVelocity, "", "qqqqqqq"}, DomainCase{kVelocity, "-5", "qqqqqqq"},
                      DomainCase{kVelocity, "1e309", "qqqqqqq"}, DomainCase{kVelocity, "2..5", "qqqqqqq"},
                      DomainCase{"编辑框_地质条件K值确定", "2..5", "kkkkkkk"},
                      DomainCase{"编辑框_周边眼预裂爆破衰减预计值", "-10", "k......"},
                      DomainCase{"编辑框_周边眼预裂爆破衰减预计值", "100", "k......"},
                      DomainCase{"编辑框_进一步衰减值", "120", "k......"}, DomainCase{"编辑框_掏槽眼衰减预计值", "-1", ".k....."},
                      DomainCase{"编辑框_各种衰减", "100", "..kkk.."}, DomainCase{"编辑框1_辅助孔衰减预计值", "-50", ".....k."},
                      DomainCase{"编辑框1_次周边眼衰减预计值", "100", "......k"},
                      // typed again as it stood: the starting figures, and a report
                      DomainCase{"编辑框_周边眼预裂爆破衰减预计值", "30", "......."}));

TEST_F(ControlledProgram, TheChargesUseTheVelocityAsShownLeadingBlankAndAll)
{
    tick("选择列表框1", "一般民用建筑物");
    ASSERT_EQ(text(kVelocity), " 1.5");
    click("图形按钮_计算");
    EXPECT_EQ(row_texts(0), (std::vector<std::string>{"84", "1.04", "1045"}));
    EXPECT_EQ(row_texts(6), (std::vector<std::string>{"80", "1.13", "1134"}));
}

TEST_F(ControlledProgram, ComputeLeavesTheListsAndTheBackCheckAlone)
{
    tick("选择列表框1", "交通隧道");
    type_and_leave(kVelocity, "3");
    type_and_leave("编辑框2_最大单段药量", "2");
    const std::string back_v = text("编辑框2_振动速度");
    click("图形按钮_计算");
    EXPECT_EQ(text(kVelocity), "3");
    EXPECT_EQ(text("编辑框2_振动速度"), back_v);
    EXPECT_EQ(text("编辑框2_最大单段药量"), "2");
    EXPECT_EQ(text("标签4a"), "10～12");
}

TEST_F(ControlledProgram, ComputePressesTheButtonLightsTheLampAndPausesBeforeRestoring)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    backend.frame.clear();
    const int64_t before = backend.elapsed();
    click("图形按钮_计算");
    EXPECT_EQ(backend.frame, (std::vector<std::string>{"button:" + std::string(app::res::compute_pressed),
                                                       "lamp:" + std::string(app::res::lamp_busy), "sound:click",
                                                       "sound:compute", "button:" + std::string(app::res::compute_normal),
                                                       "lamp:" + std::string(app::res::lamp_idle)}));
    EXPECT_EQ(backend.elapsed() - before, 500);
    EXPECT_TRUE(backend.messages.empty());
}

// --- back-check ----------------------------------------------------------------------------

TEST_F(ControlledProgram, TypingTheChargeGivesTheVelocity)
{
    type("编辑框2_最大单段药量", "5.07");
    EXPECT_EQ(text("编辑框2_振动速度"), "5") << "4.9979… to two decimals";
    EXPECT_EQ(text("编辑框2_最大单段药量"), "5.07");
}

TEST_F(ControlledProgram, TypingTheDistanceOrVelocityGivesTheChargeNeverTheDistance)
{
    type("编辑框2_保护距离R", "12");
    // 10.226…: an allowed charge, rounded down.
    EXPECT_EQ(text("编辑框2_最大单段药量"), "10.22");
    EXPECT_EQ(text("编辑框2_保护距离R"), "12");
    EXPECT_EQ(text("编辑框2_振动速度"), "5.0") << "the charge written does not start the velocity back-check";
    leave();

    type("编辑框2_振动速度", "2.5");
    EXPECT_EQ(text("编辑框2_最大单段药量"), "2.89") << "2.8999…";
    EXPECT_EQ(text("编辑框2_振动速度"), "2.5");
    EXPECT_EQ(text("编辑框2_保护距离R"), "12");
}

TEST_F(ControlledProgram, TypingKOrAlphaGivesTheChargeThenTheVelocityFromIt)
{
    type("编辑框2_地质条件K", "100");
    // Q = 9.5³ · (5/100)^(3/1.65) = 3.6954, shown down as 3.69; V from the
    // 3.69 kg shown (4.996), to two decimals.
    EXPECT_EQ(text("编辑框2_最大单段药量"), "3.69");
    EXPECT_EQ(text("编辑框2_振动速度"), "5");
    leave();
    // Selected and typed over in one change.
    rt.set_focus(&c("编辑框2_衰减系数"));
    rt.user_edit_text(c("编辑框2_衰减系数"), "1.8");
    EXPECT_EQ(text("编辑框2_最大单段药量"), "5.81");
    EXPECT_EQ(text("编辑框2_振动速度"), "5");
}

// Emptying K or α on the way to retyping it leaves no charge; the velocity
// the user set stays rather than being rebuilt from that.
TEST_F(ControlledProgram, EmptyingKOrAlphaKeepsTheVelocityTheUserSet)
{
    type("编辑框2_振动速度", "4");
    leave();
    const std::string q = text("编辑框2_最大单段药量");
    for (const char* box : {"编辑框2_地质条件K", "编辑框2_衰减系数"}) {
        SCOPED_TRACE(box);
        const std::string before = text(box);
        type(box, "");
        EXPECT_EQ(text("编辑框2_最大单段药量"), "-");
        EXPECT_EQ(text("编辑框2_振动速度"), "4");
        rt.user_edit_text(c(box), before); // retyped in one change
        EXPECT_EQ(text("编辑框2_最大单段药量"), q);
        leave();
    }
}

TEST_F(ControlledProgram, ABackCheckBoxRewrittenOnLeavingStartsNothing)
{
    type("编辑框2_最大单段药量", "5.070");
    const std::string v = text("编辑框2_振动速度");
    set_control_text(U(kForm, "编辑框2_振动速度"), "7"); // a program write: no focus, no back-check
    EXPECT_EQ(text("编辑框2_最大单段药量"), "5.070");
    leave(); // the single-precision rewrite raises a change while the focus is elsewhere
    EXPECT_EQ(text("编辑框2_最大单段药量"), "5.07");
    EXPECT_EQ(text("编辑框2_振动速度"), "7");
    EXPECT_EQ(v, "5");
}

// --- the report ----------------------------------------------------------------------------

// The export's placeholders in order, each with its repeat count and the
// countdown step that stands when it is read.
struct Binding {
    const char* placeholder;
    size_t repeat;
    int step;
};
const Binding kBindings[] = {
    {"标签引用a", 2, 9},
    {"标签引用b", 2, 8},
    {kVelocity, 10, 8},
    {"标签4a", 2, 8},
    {"标签5a", 2, 7},
    {"标签6a", 2, 7},
    {"标签4b", 2, 7},
    {"标签5b", 2, 7},
    {"标签6b", 2, 6},
    {"编辑框_地质条件K值确定", 10, 6},
    {"编辑框_衰减系数", 10, 6},
    {"编辑框_爆破振动安全允许距离R", 10, 6},
    {"编辑框_周边眼预裂爆破衰减预计值", 10, 5},
    {"编辑框_进一步衰减值", 10, 5},
    {"编辑框_掏槽眼衰减预计值", 10, 5},
    {"编辑框_各种衰减", 10, 5},
    {"编辑框1_辅助孔衰减预计值", 10, 4},
    {"编辑框1_次周边眼衰减预计值", 10, 4},
    {"周边眼1", 10, 4},
    {"周边眼2", 10, 4},
    {"周边眼3", 10, 3},
    {"掏槽眼1", 10, 3},
    {"掏槽眼2", 10, 3},
    {"掏槽眼3", 10, 3},
    {"辅助孔1", 10, 3},
    {"辅助孔2", 10, 3},
    {"辅助孔3", 10, 3},
    {"底板孔1", 10, 3},
    {"底板孔2", 10, 2},
    {"底板孔3", 10, 2},
    {"次周边a1", 10, 2},
    {"次周边a2", 10, 2},
    {"次周边a3", 10, 2},
    {"辅助孔a1", 10, 1},
    {"辅助孔a2", 10, 1},
    {"辅助孔a3", 10, 1},
    {"周边眼a1", 10, 1},
    {"周边眼a2", 10, 1},
    {"周边眼a3", 10, 1},
    {"编辑框2_衰减系数", 5, 1},
    {"编辑框2_地质条件K", 5, 1},
    {"编辑框2_保护距离R", 5, 1},
    {"编辑框2_振动速度", 5, 1},
    {"编辑框2_最大单段药量", 5, 1},
};
// Bound, but the report does not show them: the rock's name, the reduced K
// of the floor and inner-perimeter holes, which equal the auxiliary holes',
// and the band headings and attenuations, which it shows as the calculation
// used them (an empty attenuation as 0).
bool left_out(const std::string& p)
{
    for (const char* out : {"标签引用b", "底板孔1", "次周边a1", "标签4b", "标签5b", "标签6b", "编辑框_周边眼预裂爆破衰减预计值", "编辑框_进一步衰减值",
                            "编辑框_掏槽眼衰减预计值", "编辑框_各种衰减", "编辑框1_辅助孔衰减预计值", "编辑框1_次周边眼衰减预计值"})
        if (p == out) return true;
    return false;
}

TEST(ControlledBlastingTemplate, HoldsEachShownPlaceholderAtMostAsOftenAsItIsReplaced)
{
    const Bytes& packed = resource("templates/controlled_blasting.docx");
    ASSERT_FALSE(packed.empty());
    const std::string doc = story_text(std::string(packed.begin(), packed.end()));
    EXPECT_NE(doc.find("控制爆破计算书"), std::string::npos);
    for (const Binding& b : kBindings) {
        const size_t n = occurrences(doc, b.placeholder);
        EXPECT_LE(n, b.repeat) << b.placeholder;
        if (left_out(b.placeholder)) EXPECT_EQ(n, 0u) << b.placeholder;
        else EXPECT_GE(n, 1u) << b.placeholder;
    }
    for (const Binding& a : kBindings)
        for (const Binding& b : kBindings)
            if (std::string(a.placeholder) != b.placeholder) {
                EXPECT_EQ(std::string(b.placeholder).find(a.placeholder), std::string::npos) << a.placeholder << " in " << b.placeholder;
            }
}

struct ControlledReport : ControlledProgram {
    fs::path report() { return folder / "导出的方案" / "控制爆破计算书.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
    std::string report_text() { return story_text(file_bytes(report())); }
};

TEST_F(ControlledReport, FillsTheReportCountingDownWithOwnedMessagesAndAPlainPercent)
{
    tick("选择列表框1", "交通隧道");
    tick("选择列表框2", "中硬岩石");
    click("图形按钮_计算");
    backend.trail.clear();
    backend.boxes.clear();
    export_ok();

    ASSERT_EQ(backend.boxes.size(), 2u);
    EXPECT_EQ(backend.boxes[0].text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_EQ(backend.boxes[0].owner, "main");
    EXPECT_EQ(backend.boxes[1].text, "方案导出成功！");
    EXPECT_EQ(backend.boxes[1].owner, "main");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    EXPECT_EQ(backend.opened.back(), (folder / "导出的方案").string());
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"控制爆破计算书.doc"});

    const std::string doc = report_text();
    for (const Binding& b : kBindings) EXPECT_EQ(doc.find(b.placeholder), std::string::npos) << "unreplaced: " << b.placeholder;
    for (const char* shown : {"需重点保护的对象为：交通隧道。", "10～12\n12～15\n15～20", "取 V' = 10 cm/s", "本工程取 1.65。",
                              "=84\n", "≈17.89kg", "周边孔\n84\n17.89\n17892\n"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;

    std::vector<std::string> want = {"参数处理，倒计时10", "[10]", "  参数导出准备中，请稍候……"};
    for (int n = 9; n >= 0; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    for (int p = 1; p <= 100; ++p) want.push_back("计算书已导出 " + std::to_string(p) + "%");
    want.push_back(kIdleStatus);
    want.push_back("[10]");
    EXPECT_EQ(backend.trail, want);

    EXPECT_EQ(prop_of("进度条1", prop::ProcessBar::Position), 0);
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);
    EXPECT_EQ(prop_of("图形按钮_计算", prop::Disabled), 0);
}

TEST_F(ControlledReport, CountdownStepsStandBeforeTheirPlaceholders)
{
    tick("选择列表框1", "交通隧道");
    click("图形按钮_计算");
    for (const Binding& b : kBindings) backend.stamped.push_back(b.placeholder);
    export_ok();
    const std::string doc = report_text();
    for (size_t i = 0; i < std::size(kBindings); ++i) {
        // (the back-check's lines stand only where its boxes hold numbers,
        // which stamped texts are not)
        if (left_out(kBindings[i].placeholder) || std::string(kBindings[i].placeholder).rfind("编辑框2_", 0) == 0) continue;
        const std::string want = "<#" + std::to_string(i) + "@" + std::to_string(kBindings[i].step) + ">";
        EXPECT_NE(doc.find(want), std::string::npos) << kBindings[i].placeholder << " read at step " << kBindings[i].step;
    }
}

// With no protected object ticked the charges are still worked from V': the
// report says so, and shows no object, no empty band table and no sentence
// with a hole in it. An empty attenuation shows as the 0 % it was used as.
TEST_F(ControlledReport, WithoutAProtectedObjectTheReportSaysWhichVelocityTheChargesUse)
{
    tick("选择列表框1", "交通隧道");
    // Moving the highlight to another item leaves the ticked object shown.
    rt.user_choose(c("选择列表框1"), 0);
    EXPECT_EQ(text("标签引用a"), "交通隧道");
    EXPECT_EQ(text("标签4a"), "10～12");
    tick("选择列表框1", "交通隧道"); // unticked
    EXPECT_EQ(text("标签引用a"), "");
    EXPECT_EQ(text("标签4a"), "");
    EXPECT_EQ(text("标签4b"), "f≤10Hz");
    EXPECT_EQ(text(kVelocity), "10") << "V' stays as the object set it";
    type_and_leave("编辑框_进一步衰减值", "");
    click("图形按钮_计算");
    export_ok();
    ASSERT_EQ(backend.messages.back().text, "方案导出成功！");
    const std::string doc = report_text();
    EXPECT_NE(doc.find("本次计算未选定需重点保护的对象，各部位最大单段药量按输入的地面振动速度控制选取值 V' = 10 cm/s 计算。"),
              std::string::npos);
    for (const char* absent : {"：。", "需重点保护的对象为", "安全允许振速(cm/s)", "综合考虑", "交通隧道", "f≤10Hz"})
        EXPECT_EQ(doc.find(absent), std::string::npos) << absent;
    EXPECT_NE(doc.find("周边眼减震孔进一步衰减\n0\n"), std::string::npos);
    EXPECT_NE(doc.find("(1-0100)=140"), std::string::npos) << "K = 200×(1-30/100)×(1-0/100)";
}

// Nothing calculated, a changed input, tick or pick, or a refused
// calculation: no report. Typed and undone, an input is current again.
TEST_F(ControlledReport, OnlyTheResultsOfTheInputsShownAreExported)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_FALSE(fs::exists(report()));

    tick("选择列表框1", "一般民用建筑物");
    click("图形按钮_计算");
    const struct {
        const char* what;
        std::function<void()> change, undo;
    } changes[] = {
        {"a distance", [&] { type_and_leave("编辑框_爆破振动安全允许距离R", "12"); },
         [&] { type_and_leave("编辑框_爆破振动安全允许距离R", "9.5"); }},
        // the same V' (1.5) as the dwellings', so only the object differs
        {"the protected object", [&] { tick("选择列表框1", "新浇大体积混凝土(C20)龄期：初凝～3d"); },
         [&] { tick("选择列表框1", "一般民用建筑物"); }},
        {"an attenuation", [&] { type_and_leave("编辑框_各种衰减", ""); }, [&] { type_and_leave("编辑框_各种衰减", "70"); }},
    };
    for (const auto& ch : changes) {
        SCOPED_TRACE(ch.what);
        ch.change();
        export_ok();
        EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
        EXPECT_FALSE(fs::exists(report()));
        ch.undo();
        export_ok();
        EXPECT_EQ(backend.messages.back().text, "方案导出成功！");
        ASSERT_TRUE(fs::exists(report()));
        EXPECT_NE(report_text().find("需重点保护的对象为：一般民用建筑物。"), std::string::npos);
        fs::remove(report());
    }
    // Moving the highlight in a list the calculation reads only the ticks
    // of changes no input: the results stay current.
    rt.user_choose(c("选择列表框1"), 0);
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "方案导出成功！");
    EXPECT_NE(report_text().find("需重点保护的对象为：一般民用建筑物。"), std::string::npos);
    fs::remove(report());

    type_and_leave("编辑框_掏槽眼衰减预计值", "100");
    click("图形按钮_计算");
    EXPECT_EQ(row_texts(1), (std::vector<std::string>{"-", "-", "-"}));
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    EXPECT_FALSE(fs::exists(report()));
}

// The back-check the screen shows reaches the report, worked the way its
// figures belong together (the velocity from a typed charge, or the charge
// from a typed velocity), with its verdict against the V' the charges were
// worked for.
TEST_F(ControlledReport, TheBackCheckWithItsVerdict)
{
    const struct {
        const char* object;
        const char* typed_box;
        const char* typed;
        const char* equation; // the line worked out, as its text reads
        const char* other;    // the line that is left out
        const char* verdict;
    } rows[] = {
        {"交通隧道", "编辑框2_最大单段药量", "5.07", "=84×(5.071/39.5)1.65≈5cm/s", "Q=R3·(VK)3/α=",
         "单段药量 Q = 5.07 kg 时，被保护建筑处振动速度 V = 5 cm/s，不大于地面振动速度控制选取值 V' = 10 cm/s，满足振速控制要求。"},
        {"砖混房屋[此项非国标，参考值]", "编辑框2_最大单段药量", "20", "=84×(201/39.5)1.65≈10.63cm/s", "Q=R3·(VK)3/α=",
         "单段药量 Q = 20 kg 时，被保护建筑处振动速度 V = 10.63 cm/s，大于地面振动速度控制选取值 V' = 1 cm/s，"
         "不满足振速控制要求，应减小单段药量（分孔、分段起爆）后重新校验。"},
        // 0.5 cm/s gives 0.07711… kg, an allowed charge shown down to three
        // figures; the velocity was typed, the charge worked from it
        {"砖混房屋[此项非国标，参考值]", "编辑框2_振动速度", "0.5", "=9.53×(0.584)3/1.65≈0.0771kg", "V=K·(Q1/3R)α=",
         "单段药量 Q = 0.0771 kg 时，被保护建筑处振动速度 V = 0.5 cm/s，不大于地面振动速度控制选取值 V' = 1 cm/s，满足振速控制要求。"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.typed_box) + " " + row.typed);
        if (text("标签引用a") != row.object) tick("选择列表框1", row.object);
        type_and_leave(row.typed_box, row.typed);
        click("图形按钮_计算");
        export_ok();
        ASSERT_EQ(backend.messages.back().text, "方案导出成功！");
        const std::string doc = report_text();
        for (const char* shown : {"4.4 单段药量校验", row.equation, row.verdict}) EXPECT_NE(doc.find(shown), std::string::npos) << shown;
        EXPECT_EQ(doc.find(row.other), std::string::npos) << row.other;
        fs::remove(report());
    }
}

// A back-check box outside its domain: the figure worked from the one the
// user gave shows "-" (not a figure of the coefficients before), the one
// given stays, and the report says in words that no back-check was made
// and why, instead of leaving its section out.
struct NotMadeCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> typed; // in order, each left before the next
    const char* charge;                                     // the back-check boxes afterwards
    const char* velocity;
    const char* why;
};
void PrintTo(const NotMadeCase& c, std::ostream* os) { *os << c.name; }

struct BackCheckNotMade : ControlledReport, ::testing::WithParamInterface<NotMadeCase> {};

TEST_P(BackCheckNotMade, TheReportSaysSoInWords)
{
    const NotMadeCase& n = GetParam();
    click("图形按钮_计算");
    for (const auto& [box, value] : n.typed) type_and_leave(box, value);
    EXPECT_EQ(text("编辑框2_最大单段药量"), n.charge);
    EXPECT_EQ(text("编辑框2_振动速度"), n.velocity);
    export_ok();
    ASSERT_EQ(backend.messages.back().text, "方案导出成功！") << "the charges stand without a back-check";
    const std::string doc = report_text();
    EXPECT_NE(doc.find("4.4 单段药量校验\n本次未进行单段药量校验：校验栏中" + std::string(n.why) + "，无法反算。"), std::string::npos);
    for (const char* absent : {"反算被保护建筑处的振动速度", "反算对应的单段药量", "地面振动速度控制选取值 V' = 5 cm/s，"})
        EXPECT_EQ(doc.find(absent), std::string::npos) << absent;
}

INSTANTIATE_TEST_SUITE_P(
    ControlledBlasting, BackCheckNotMade,
    ::testing::Values(
        NotMadeCase{"empty K", {{"编辑框2_地质条件K", ""}}, "-", "5.0", "地质条件 K 未填写；最大单段药量 Qmax 无数值"},
        NotMadeCase{"negative distance", {{"编辑框2_保护距离R", "-5"}}, "-", "5.0", "保护距离 R 为 -5，应大于 0；最大单段药量 Qmax 无数值"},
        // (typed key by key: "2" on its way works the velocity's 5 again)
        NotMadeCase{"mistyped exponent", {{"编辑框2_衰减系数", "2..5"}}, "-", "5",
                    "衰减系数 α 的输入“2..5”不是一个数值；最大单段药量 Qmax 无数值"},
        // the charge was typed: the velocity worked from it goes
        NotMadeCase{"negative K after a typed charge", {{"编辑框2_最大单段药量", "2"}, {"编辑框2_地质条件K", "-5"}}, "2", "-",
                    "地质条件 K 为 -5，应大于 0；振动速度 V 无数值"},
        NotMadeCase{"negative charge", {{"编辑框2_最大单段药量", "-5"}}, "-5", "-", "振动速度 V 无数值；最大单段药量 Qmax 为 -5，应大于 0"}),
    [](const ::testing::TestParamInfo<NotMadeCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// A coefficient typed right again works the figure not given from the one
// given: the charge the user typed stays.
TEST_F(ControlledProgram, ACoefficientRetypedWorksFromTheFigureGiven)
{
    type_and_leave("编辑框2_最大单段药量", "2");
    const std::string v = text("编辑框2_振动速度");
    type_and_leave("编辑框2_地质条件K", "-5");
    EXPECT_EQ(text("编辑框2_振动速度"), "-");
    type_and_leave("编辑框2_地质条件K", "84");
    EXPECT_EQ(text("编辑框2_最大单段药量"), "2");
    EXPECT_EQ(text("编辑框2_振动速度"), v);
    type_and_leave("编辑框2_保护距离R", "12");
    EXPECT_EQ(text("编辑框2_最大单段药量"), "2");
    EXPECT_NE(text("编辑框2_振动速度"), v);
}

// The lists write some figures with a leading blank (" 1", " 300", " 1.9"):
// the report prints the figure alone.
TEST_F(ControlledReport, PrintsFiguresWithoutTheBlanksTheListsWrite)
{
    tick("选择列表框1", "砖混房屋[此项非国标，参考值]");
    tick("选择列表框2", "软岩石");
    ASSERT_EQ(text(kVelocity) + "|" + text("编辑框_地质条件K值确定") + "|" + text("编辑框_衰减系数"), " 1| 300| 1.9");
    click("图形按钮_计算");
    export_ok();
    const std::string doc = report_text();
    for (const char* shown : {"取 V' = 1 cm/s。", "本工程取 1 cm/s；", "本工程取 1.9。", "3/1.9≈"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    EXPECT_NE(doc.find("\n300\n"), std::string::npos) << "K' in the table";
    for (const char* absent : {"=  ", "取  ", "/ 1.9", "\n 300", "= 300"}) EXPECT_EQ(doc.find(absent), std::string::npos) << absent;
}

TEST_F(ControlledReport, CancelWritesNothing)
{
    click("图形按钮_计算");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(picture_name(c("图形按钮_导出").pictures[0]), app::res::export_normal);
    EXPECT_EQ(prop_of("图形按钮_计算", prop::Disabled), 0);
}

} // namespace
