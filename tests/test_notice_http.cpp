// The notice page and the update form against a real HTTP server on
// 127.0.0.1 that each test starts: the start-up fetch, the version
// question, the update form's own check, a server that never answers and
// hostile pages. No other address is ever asked.
#include "app/update_form.h"
#include "tests/support/page_server.h"
#include "test_notice_fixture.h"

#include <memory>

namespace {

using namespace notice_test;
using namespace page_test;
using namespace std::chrono_literals;

constexpr const char* kAddressLost = "网站抽风，地址丢失了，用手动地址下载吧！";

struct HttpFixture : MainWindowFixture {
    // Declared after the runtime, so it goes first: a request still waiting
    // on /hang is answered before the runtime joins the notice threads.
    PageServer server;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(server.listening()) << "no port to serve on";
    }
    ui::Ref update(const char* control) { return ui::U("update", control); }
    std::string caption(const char* control) { return text(update(control), P::TransLabel::Caption); }
    std::string content(const char* control) { return text(update(control), P::EditBox::Content); }
    void menu(const std::string& caption)
    {
        ui::Form& f = *rt.form("main");
        for (int i = 0; i < int(f.menus.size()); ++i)
            if (f.menus[i].caption == caption) return rt.user_menu(f, i);
        FAIL() << "no menu item " << caption;
    }
    // Opens the update form from the menu and waits for its check to come back.
    void open_update_and_wait()
    {
        const int before = backend.posts;
        menu("版本更新");
        ASSERT_NE(rt.form("update"), nullptr);
        ASSERT_TRUE(pump_until(backend, [&] { return backend.posts > before; })) << "the update check never came back";
        backend.pump();
    }
    void close_update()
    {
        rt.user_close(*rt.form("update"));
        backend.pump();
        ASSERT_EQ(rt.form("update"), nullptr);
    }
};

// ---- the start-up fetch ------------------------------------------------------------

struct StartupRow {
    const char* name;
    int status;
    std::string body;
    const char* notice;
    const char* blink;
    const char* question; // empty: none asked
};

struct StartupFetch : HttpFixture, ::testing::WithParamInterface<StartupRow> {};

TEST_P(StartupFetch, StoresTheNoticeAndAsksOnlyAboutANewerVersion)
{
    const StartupRow& r = GetParam();
    server.serve(r.body, r.status);
    backend.queue_answer(1); // Cancel, should the question come
    open_main(server.url("/notice"));
    EXPECT_EQ(server.notice_hits, 1);
    EXPECT_EQ(app::text_globals().notice_text, r.notice);
    EXPECT_EQ(app::text_globals().blink_switch, r.blink);
    if (*r.question) {
        ASSERT_EQ(backend.messages.size(), 1u);
        EXPECT_EQ(backend.messages[0].caption, "是否要更新");
        EXPECT_EQ(backend.messages[0].text, r.question);
    } else {
        EXPECT_TRUE(backend.messages.empty());
    }
    EXPECT_EQ(rt.form("update"), nullptr);
    // The ticker shows what was stored, on the GUI thread's next tick.
    tick();
    EXPECT_EQ(area_text(), r.notice);
}

std::string version_page(const std::string& v) { return section("<P>最新版本=" + v + "</P><P>最新订购活动=通知</P>"); }

INSTANTIATE_TEST_SUITE_P(
    Pages, StartupFetch,
    ::testing::Values(
        StartupRow{"ExamplePage", 200, example_page("https://dl.test/jsb.zip"), "掘石宝1.7发布</p>欢迎下载", "开启红色",
                   "发现新版本V1.7，确认立即更新吗？"},
        StartupRow{"Version1_10", 200, version_page("1.10"), "通知", "", ""},
        StartupRow{"VersionV2", 200, version_page("v2"), "通知", "", ""},
        StartupRow{"Version2", 200, version_page("2"), "通知", "", "发现新版本V2，确认立即更新吗？"},
        StartupRow{"VersionEmpty", 200, version_page(""), "通知", "", ""},
        StartupRow{"SameVersion", 200, version_page("1.6"), "通知", "", ""},
        StartupRow{"NoMarkers", 200, "<html><P>最新版本=9</P><P>最新订购活动=通知</P></html>", "", "", ""},
        StartupRow{"NotFoundPage", 404, "<html><h1>404 Not Found</h1></html>", "", "", ""},
        // An answer other than 200 is no notice, whatever its body holds (a
        // server's error page that echoes an old page, a proxy's altered copy).
        StartupRow{"ErrorStatusWithAPage", 500, example_page("https://dl.test/jsb.zip"), "", "", ""},
        StartupRow{"NotFoundWithAPage", 404, version_page("9"), "", "", ""},
        StartupRow{"NonAuthoritativeWithAPage", 203, version_page("9"), "", "", ""},
        StartupRow{"NotUtf8", 200, section("<P>最新版本=9</P><P>最新订购活动=\xC4\xE3\xBA\xC3</P>"), "", "", ""},
        // Past the size a notice page may have: refused whole.
        StartupRow{"HugeBody", 200, std::string(5 << 20, ' ') + version_page("9"), "", "", ""}),
    [](const ::testing::TestParamInfo<StartupRow>& i) { return std::string(i.param.name); });

TEST_F(HttpFixture, OkOnTheQuestionOpensTheUpdateFormWithThePagesValues)
{
    ui::set_online_probe(server.url("/probe"));
    server.serve(example_page(server.url("/jsb-1.7.zip")));
    backend.queue_answer(0); // OK
    open_main(server.url("/notice"));
    ui::Form* form = rt.form("update");
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->modal);
    EXPECT_EQ(form->owner, rt.form("main"));
    // The update form's own check fills in the current version when it is back.
    ASSERT_TRUE(pump_until(backend, [&] { return caption("透明标签2") == "1.6"; }));
    EXPECT_EQ(server.notice_hits, 2);
    EXPECT_EQ(caption("透明标签2"), "1.6");
    EXPECT_EQ(caption("透明标签5"), "1.7");
    EXPECT_EQ(content("编辑框1"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(content("编辑框1_软件高速下载地址"), server.url("/jsb-1.7.zip"));

    rt.user_mouse_down(rt.unit("update", "透明标签4"), true, 5, 5);
    rt.user_mouse_down(rt.unit("update", "透明标签8"), true, 5, 5);
    // No backup address is built in: its box is empty and its caption opens nothing.
    EXPECT_EQ(content("编辑框3"), "");
    ASSERT_EQ(backend.opened.size(), 1u);
    EXPECT_EQ(backend.opened[0], server.url("/jsb-1.7.zip"));
}

// ---- the update form's own check ------------------------------------------------------

TEST_F(HttpFixture, DownloadAddressesFromThePageOpenOnlyWhenTheyAreWebAddresses)
{
    ui::set_online_probe(server.url("/probe"));
    open_main();
    app::settings().notice_url = server.url("/notice");
    struct Row {
        const char* fast_url;
        const char* shown;
    };
    const std::string good = server.url("/dl.zip");
    const Row rows[] = {
        {"file:///etc/passwd", kAddressLost},
        {"javascript:alert(1)", kAddressLost},
        {"", kAddressLost},
        {"http://", kAddressLost},
        {good.c_str(), good.c_str()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fast_url);
        server.serve(section(std::string("<P>更新说明=x|y</P><P>高速更新下载网址=") + r.fast_url + "</P>"));
        backend.opened.clear();
        open_update_and_wait();
        EXPECT_EQ(content("编辑框1_软件高速下载地址"), r.shown);
        // A freshly opened form gets the notes once.
        EXPECT_EQ(content("编辑框1"), "x\r\ny\r\n");
        rt.user_mouse_down(rt.unit("update", "透明标签4"), true, 5, 5);
        if (std::string(r.shown) == kAddressLost) {
            EXPECT_TRUE(backend.opened.empty());
        } else {
            EXPECT_EQ(backend.opened, std::vector<std::string>{good});
        }
        close_update();
    }
}

TEST_F(HttpFixture, OfflineTheFormKeepsItsOwnTexts)
{
    open_main(); // the probe is a closed port
    app::settings().notice_url = server.url("/notice");
    server.serve(example_page(server.url("/dl.zip")));
    open_update_and_wait();
    EXPECT_EQ(server.notice_hits, 0);
    EXPECT_EQ(caption("透明标签2"), "-------");
    EXPECT_EQ(caption("透明标签5"), "---");
    EXPECT_EQ(content("编辑框1"), "");
    // No download address is built in: the boxes stay empty and neither caption opens anything.
    EXPECT_EQ(content("编辑框1_软件高速下载地址"), "");
    EXPECT_EQ(content("编辑框3"), "");
    backend.opened.clear();
    rt.user_mouse_down(rt.unit("update", "透明标签4"), true, 5, 5);
    rt.user_mouse_down(rt.unit("update", "透明标签8"), true, 5, 5);
    EXPECT_TRUE(backend.opened.empty());
}

// The update form's own fetch: a page that comes with another status than
// 200 offers no version, no notes and no download address.
TEST_F(HttpFixture, TheUpdateFormTakesNothingFromAnAnswerOtherThan200)
{
    ui::set_online_probe(server.url("/probe"));
    open_main();
    app::settings().notice_url = server.url("/notice");
    server.serve(example_page(server.url("/dl.zip")), 503);
    open_update_and_wait();
    EXPECT_EQ(server.notice_hits, 1);
    EXPECT_EQ(caption("透明标签5"), "");
    EXPECT_EQ(content("编辑框1"), "");
    EXPECT_EQ(content("编辑框1_软件高速下载地址"), kAddressLost);
    backend.opened.clear();
    rt.user_mouse_down(rt.unit("update", "透明标签4"), true, 5, 5);
    EXPECT_TRUE(backend.opened.empty());
}

TEST_F(HttpFixture, NotesSplitAtEveryBar)
{
    ui::set_online_probe(server.url("/probe"));
    open_main();
    app::settings().notice_url = server.url("/notice");
    const std::pair<const char*, const char*> rows[] = {
        {"a|b|c", "a\r\nb\r\nc\r\n"},
        {"修正计算书|新增通风", "修正计算书\r\n新增通风\r\n"},
        {"a||b|", "a\r\n\r\nb\r\n"}, // an empty item between, none after the last bar
        {"单独一条", "单独一条\r\n"},
        {"", ""},
    };
    for (auto& [notes, shown] : rows) {
        SCOPED_TRACE(notes);
        server.serve(section(std::string("<P>更新说明=") + notes + "</P>"));
        open_update_and_wait();
        EXPECT_EQ(content("编辑框1"), shown);
        close_update();
    }
}

// ---- a server that never answers ----------------------------------------------------

TEST_F(HttpFixture, AStartUpFetchThatHangsTimesOutWhileTheWindowKeepsTicking)
{
    // Real time, not the virtual clock's order: the window ticks while the
    // fetch is out.
    backend.await_background(false);
    app::settings().notice_url = server.url("/hang");
    app::text_globals().notice_colour = "\x01unset";
    ASSERT_NE(rt.load_form("main", nullptr, false), nullptr);
    ASSERT_TRUE(pump_until(backend, [&] { return server.hang_waiting == 1; }));
    // The request is out and unanswered; the GUI thread goes on.
    tick(5);
    EXPECT_EQ(area(P::Top), 4);
    EXPECT_FALSE(text(main("编辑框1_时间提示"), P::EditBox::Content).empty());
    ASSERT_TRUE(pump_until(backend, [] { return app::text_globals().notice_colour != "\x01unset"; }));
    EXPECT_EQ(server.hang_waiting, 1); // given up on, not answered
    EXPECT_EQ(app::text_globals().notice_text, "");
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(HttpFixture, AnUpdateCheckThatHangsShowsTheFormAtOnceAndGivesUpLater)
{
    backend.await_background(false); // the window ticks while the check is out
    ui::set_online_probe(server.url("/probe"));
    open_main();
    app::settings().notice_url = server.url("/hang");
    const int before = backend.posts;
    menu("版本更新");
    ASSERT_NE(rt.form("update"), nullptr);
    EXPECT_EQ(caption("透明标签5"), "---");
    ASSERT_TRUE(pump_until(backend, [&] { return server.hang_waiting == 1; }));
    tick(3); // the main window's timer runs meanwhile
    ASSERT_TRUE(pump_until(backend, [&] { return backend.posts > before; }));
    backend.pump();
    EXPECT_EQ(server.hang_waiting, 1);
    EXPECT_EQ(content("编辑框1_软件高速下载地址"), kAddressLost);
    EXPECT_EQ(content("编辑框1"), "");
}

TEST_F(HttpFixture, ACheckThatComesBackAfterItsFormClosedLeavesTheNextFormAlone)
{
    ui::set_online_probe(server.url("/probe"));
    open_main();
    app::settings().notice_url = server.url("/hang");
    const int before = backend.posts;
    menu("版本更新");
    ASSERT_TRUE(pump_until(backend, [&] { return server.hang_waiting == 1; }));
    close_update();

    app::settings().notice_url = server.url("/notice");
    server.serve(section("<P>更新说明=新的</P><P>高速更新下载网址=" + server.url("/new.zip") + "</P>"));
    menu("版本更新");
    ASSERT_TRUE(pump_until(backend, [&] { return content("编辑框1") == "新的\r\n"; }));
    // Now the first check comes back, late.
    server.release();
    ASSERT_TRUE(pump_until(backend, [&] { return backend.posts >= before + 2; }));
    backend.pump();
    EXPECT_EQ(content("编辑框1"), "新的\r\n");
    EXPECT_EQ(content("编辑框1_软件高速下载地址"), server.url("/new.zip"));
}

TEST_F(HttpFixture, OpeningTheUpdateFormWhileOneIsOpenKeepsThatOne)
{
    ui::set_online_probe(server.url("/probe"));
    server.serve(section("<P>更新说明=一条</P>"));
    open_main();
    app::settings().notice_url = server.url("/notice");
    open_update_and_wait();
    ui::Form* first = rt.form("update");
    const int before = backend.posts;
    app::OpenUpdateForm();
    backend.pump();
    EXPECT_EQ(rt.form("update"), first);
    EXPECT_EQ(backend.posts, before); // no second check started
    EXPECT_EQ(content("编辑框1"), "一条\r\n");
    EXPECT_EQ(rt.form("main")->disabled_by_modal, 1);
}

// ---- the end of the program while a request hangs -------------------------------------

enum class Hang { StartUpFetch, UpdateCheck };
void PrintTo(Hang h, std::ostream* os) { *os << (h == Hang::StartUpFetch ? "start-up fetch" : "update check"); }

struct ExitWhileHanging : ::testing::TestWithParam<Hang> {};

TEST_P(ExitWhileHanging, EndsAtOnceRatherThanAtTheRequestsTimeout)
{
    PageServer server; // outlives the program: its request is never answered
    ASSERT_TRUE(server.listening());
    auto backend = std::make_unique<CountingBackend>();
    backend->await_background(false); // the request is out while the user answers
    auto rt = std::make_unique<ui::Runtime>(*backend);
    backend->attach(*rt);
    app::register_handlers(*rt);
    ui::set_online_probe(server.url("/probe"));
    app::settings().notice_url = GetParam() == Hang::StartUpFetch ? server.url("/hang") : "";
    ASSERT_NE(rt->load_form("main", nullptr, false), nullptr);
    if (GetParam() == Hang::UpdateCheck) {
        ASSERT_TRUE(pump_until(*backend, [&] { return !rt->background_busy(); }));
        app::settings().notice_url = server.url("/hang");
        app::OpenUpdateForm();
    }
    ASSERT_TRUE(pump_until(*backend, [&] { return server.hang_waiting == 1; }));
    // The modal update form goes first; its check still hangs.
    if (GetParam() == Hang::UpdateCheck) {
        rt->user_close(*rt->form("update"));
        backend->pump();
        ASSERT_EQ(rt->form("update"), nullptr);
    }

    // The exit question, answered OK.
    backend->queue_answer(0);
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_THROW(rt->user_close(*rt->form("main")), ui::ProgramExit);
    rt.reset(); // the program is gone once its threads are
    const auto took = std::chrono::steady_clock::now() - asked;
    // The request would have given up only after kNoticeTimeoutMs.
    EXPECT_LT(took, 1s) << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    EXPECT_EQ(server.hang_waiting, 1); // it was dropped, not answered
    app::settings().notice_url.clear();
}

INSTANTIATE_TEST_SUITE_P(Requests, ExitWhileHanging, ::testing::Values(Hang::StartUpFetch, Hang::UpdateCheck),
                         [](const ::testing::TestParamInfo<Hang>& i) {
                             return i.param == Hang::StartUpFetch ? "StartUpFetch" : "UpdateCheck";
                         });

} // namespace
