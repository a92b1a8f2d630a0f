// The scenario runner with the notice page served from 127.0.0.1: what the
// background fetch brings is on the screen at the virtual time the fetch was
// started, every run, however long the server takes in real time; and work
// started from what it brought (the update form's own check) follows in order.
#include "app/notice.h"
#include "app/program.h"
#include "tests/support/page_server.h"
#include "ui/cmd.h"
#include "ui/headless/scenario.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <sstream>
#include <string>

namespace {

using namespace page_test;
using namespace std::chrono_literals;

struct RunnerHttp : ::testing::Test {
    PageServer server;

    void SetUp() override { ASSERT_TRUE(server.listening()) << "no port to serve on"; }
    void TearDown() override
    {
        app::settings().notice_url.clear();
        app::settings().online_probe_url.clear();
    }

    // Runs a scenario as scripts/scenario does, online through the server.
    int run(const std::string& text, std::string* out, bool start = true)
    {
        std::ostringstream log;
        ui::ScenarioRunner runner(log, [this](ui::Runtime& rt, const ui::ScenarioOptions& o) {
            app::settings().notice_url = o.notice_url;
            app::settings().online_probe_url = server.url("/probe");
            ui::set_online_probe(server.url("/probe"));
            if (o.start) app::start_program(rt);
            else app::register_handlers(rt);
        });
        ui::ScenarioOptions opts;
        opts.notice_url = server.url("/notice");
        opts.now = "2019-12-06T09:05:01";
        opts.start = start;
        const int rc = runner.run_text(text, opts, "notice.scn");
        *out = log.str();
        return rc;
    }
};

constexpr const char* kQuestion = "message: 是否要更新 | 发现新版本V1.7，确认立即更新吗？";

size_t count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST_F(RunnerHttp, TheNoticeAndTheQuestionComeEveryRunHoweverSlowTheServer)
{
    const std::string scenario =
        "answer Cancel\n"
        "wait 4000\n"
        "in main\n"
        "show 编辑框1_通知窗口\n"
        "show 编辑框1_通知窗口 TextColor\n"
        "show 编辑框1_通知窗口 Top\n"
        "expect 编辑框1_通知窗口 = 掘石宝1.7发布</p>欢迎下载\n"
        "expect-message 是否要更新 | 发现新版本V1.7，确认立即更新吗？\n"
        "expect 编辑框1_时间提示 = \"2019-12-6  09:05:04\"\n";
    std::set<std::string> outputs;
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE("run " + std::to_string(i));
        // From at once to about a third of a second, in real time.
        server.serve(example_page("https://dl.test/jsb.zip"), 200, std::chrono::milliseconds(i * 17));
        std::string out;
        EXPECT_EQ(run(scenario, &out), 0) << out;
        EXPECT_EQ(count(out, kQuestion), 1u) << out;
        outputs.insert(out);
    }
    EXPECT_EQ(server.notice_hits, 20);
    // Same screen, same blink colour, same words every time.
    EXPECT_EQ(outputs.size(), 1u) << testing::PrintToString(outputs);
}

TEST_F(RunnerHttp, WorkStartedByTheNoticeIsWaitedForInItsTurn)
{
    // OK on the question opens the update form, whose own check runs on a
    // thread of its own; it comes back within the same wait.
    server.serve(example_page("https://dl.test/jsb.zip"), 200, 50ms);
    std::string out;
    EXPECT_EQ(run("answer OK\n"
                  "wait 1515\n"
                  "in update\n"
                  "expect 透明标签2 = 1.6\n"
                  "expect 透明标签5 = 1.7\n"
                  "expect 编辑框1 = \"a\\r\\nb\\r\\nc\\r\\n\"\n"
                  "expect 编辑框1_软件高速下载地址 = https://dl.test/jsb.zip\n",
                  &out),
              0)
        << out;
    EXPECT_EQ(server.notice_hits, 2);
}

TEST_F(RunnerHttp, TheEndOfAScenarioWaitsForWhatIsStillComing)
{
    // The main window loaded straight away starts the fetch; no wait
    // follows, yet the question is asked before the run ends.
    server.serve(example_page("https://dl.test/jsb.zip"), 200, 100ms);
    app::text_globals().notice_text.clear();
    std::string out;
    EXPECT_EQ(run("answer Cancel\nin main\n", &out, false), 0) << out;
    const size_t question = out.find(kQuestion), passed = out.find("PASSED");
    ASSERT_NE(question, std::string::npos) << out;
    EXPECT_LT(question, passed);
    EXPECT_EQ(app::text_globals().notice_text, "掘石宝1.7发布</p>欢迎下载");
}

} // namespace
