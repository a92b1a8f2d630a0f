// The notice page's reading, the ticker and its blinking on the virtual
// clock, and what the GUI thread does with a page's version.
#include "test_notice_fixture.h"

#include <string>
#include <vector>

namespace {

using namespace notice_test;

// The main window opened with no notice page configured: the start-up fetch
// hands over an empty page at once.
struct ProgramFixture : MainWindowFixture {
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        open_main();
    }
};

// ---- the unseeded blink ------------------------------------------------------
// Each run of the program (a runtime of its own) draws the random sequence
// from its start.

TEST_F(ProgramFixture, RedBlinkRepeatsTheSameColourOrderOnEveryRun)
{
    app::text_globals().blink_switch = "开启红色";
    std::vector<int> seen;
    for (int i = 0; i < 12; ++i) {
        tick();
        seen.push_back(area(P::EditBox::TextColor));
    }
    // The generator is never seeded: this is the order every run shows.
    const int a = 0x6D4AFF, b = 0x1B30CE;
    EXPECT_EQ(seen, (std::vector<int>{b, a, a, a, a, a, a, a, b, b, b, b}));
}

// ---- reading the page ----------------------------------------------------------

struct BetweenRow {
    const char* text;
    const char* start;
    const char* end;
    const char* want;
};

TEST(TextBetweenMarkers, FirstStartThenFirstEndAfterIt)
{
    const BetweenRow rows[] = {
        {"xx[abc]yy", "[", "]", "abc"},
        {"xx[]yy", "[", "]", ""},                   // end right after start
        {"xx abc]yy", "[", "]", ""},                // no start
        {"xx[abc yy", "[", "]", ""},                // no end
        {"]xx[abc]yy", "[", "]", "abc"},            // an end before the start does not count
        {"[one][two]", "[", "]", "one"},            // two sections: the first
        {"开始甲乙结束丙结束", "开始", "结束", "甲乙"},
        {"最新版本=1.7</p>1.8</P>", "最新版本=", "</P>", "1.7</p>1.8"}, // case counts
        {"", "[", "]", ""},
    };
    for (const BetweenRow& r : rows)
        EXPECT_EQ(app::TextBetweenMarkers(r.text, r.start, r.end), r.want) << r.text;
}

std::string repeat(const std::string& s, int n)
{
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

// A page as the web site writes it: the section inside HTML paragraphs.
std::string page(const std::string& section_items)
{
    return "<html><body><P>说明文字</P>\n<P>////开始</P>\n" + section_items + "<P>////结束</P>\n</body></html>";
}

TEST(ParseNoticePage, ValuesOfTheFirstSection)
{
    const std::string full = page(
        "<P>最新版本=1.7</P>\n<P>最新订购活动=新版上线，欢迎使用！</P>\n<P>通知字体颜色=红色</P>\n"
        "<P>通知闪烁开关=开启红色</P>\n<P>高速更新下载网址=https://dl.test/jsb.zip</P>\n<P>更新说明=a|b|c</P>\n");
    app::NoticePage p = app::ParseNoticePage(full);
    EXPECT_EQ(p.latest, "1.7");
    EXPECT_EQ(p.notice, "新版上线，欢迎使用！");
    EXPECT_EQ(p.colour, "红色");
    EXPECT_EQ(p.blink, "开启红色");
    EXPECT_EQ(p.fast_url, "https://dl.test/jsb.zip");
    EXPECT_EQ(p.notes, "a|b|c");

    struct Row {
        const char* what;
        std::string body;
        const char* latest;
        const char* notice;
    };
    const Row rows[] = {
        {"lower-case paragraph end runs on", page("<P>最新订购活动=甲</p><p>乙</P><P>最新版本=1.8</P>"), "1.8", "甲</p><p>乙"},
        {"a missing key is empty", page("<P>最新订购活动=甲</P>"), "", "甲"},
        {"first occurrence of a key", page("<P>最新版本=1.7</P><P>最新版本=9</P>"), "1.7", ""},
        {"key outside the section", "<P>最新版本=9</P>" + page("<P>最新订购活动=甲</P>"), "", "甲"},
        {"second section ignored", page("<P>最新订购活动=甲</P>") + page("<P>最新版本=9</P>"), "", "甲"},
        {"no markers", "<html><P>最新版本=9</P><P>最新订购活动=甲</P></html>", "", ""},
        {"start marker only", "<P>////开始</P><P>最新版本=9</P>", "", ""},
        {"value without its end", page("<P>最新版本=9"), "", ""},
        {"not UTF-8", page("<P>最新版本=9</P><P>最新订购活动=\xC4\xE3</P>"), "", ""},
        {"a zero byte ends the text", "<P>////开始</P><P>最新版本=9" + std::string("\0", 1) + "</P><P>////结束</P>", "", ""},
        {"empty body", "", "", ""},
        {"control characters left out",
         page("<P>最新版本=\x1b" "1.8\r\n</P><P>最新订购活动=甲\a乙\xE2\x80\xAE丙\xE2\x81\xA6丁\t</P>"), "1.8", "甲乙丙丁"},
        {"blanks around the version", page("<P>最新版本= 1.8 </P>"), "1.8", ""},
        {"line and paragraph separators left out", page("<P>最新订购活动=甲\xE2\x80\xA8乙\xE2\x80\xA9丙</P>"), "", "甲乙丙"},
    };
    for (const Row& r : rows) {
        app::NoticePage q = app::ParseNoticePage(r.body);
        EXPECT_EQ(q.latest, r.latest) << r.what;
        EXPECT_EQ(q.notice, r.notice) << r.what;
    }
}

TEST(ParseNoticePage, LargePageWithTheSectionAtItsEnd)
{
    // Several megabytes of markup, then the section: read in one pass.
    std::string body(3 << 20, 'x');
    for (size_t i = 0; i < body.size(); i += 97) body[i] = '/';
    body += page("<P>最新订购活动=末尾的通知</P>");
    EXPECT_EQ(app::ParseNoticePage(body).notice, "末尾的通知");
}

TEST(ParseNoticePage, OverlongValuesAreCutOnACharacterBoundary)
{
    const std::string notice = "A" + repeat("长", 100000); // 300001 bytes
    const std::string notes = repeat("|", 100000);
    app::NoticePage p = app::ParseNoticePage(page("<P>最新订购活动=" + notice + "</P><P>更新说明=" + notes + "</P>"));
    // 1 + 3 * 2730 = 8191 bytes: the next character would not fit whole.
    EXPECT_EQ(p.notice, "A" + repeat("长", 2730));
    EXPECT_EQ(p.notes.size(), app::kMaxNoticeValueBytes);
    EXPECT_EQ(app::ParseNoticePage(page("<P>最新订购活动=" + repeat("长", 100) + "</P>")).notice, repeat("长", 100));
}

TEST(IsWebAddress, OnlyHttpAndHttps)
{
    const std::pair<const char*, bool> rows[] = {
        {"http://dl.test/a.zip", true},
        {"https://dl.test/a.zip", true},
        {"HTTPS://dl.test/", true},
        {"http://", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"ftp://dl.test/a.zip", false},
        {" http://dl.test/", false},
        {"http://dl.test/\r\nx", false},
        {"网站抽风，地址丢失了，用手动地址下载吧！", false},
        {"", false},
    };
    for (auto& [url, ok] : rows) EXPECT_EQ(app::is_web_address(url), ok) << url;
}

TEST(FetchWebNotice, AnAddressThatIsNoWebAddressIsNotRequested)
{
    EXPECT_EQ(app::FetchWebNotice("").notice, "");
    EXPECT_EQ(app::FetchWebNotice("file:///etc/hostname").notice, "");
}

// ---- the ticker ------------------------------------------------------------------

struct TickerRow {
    const char* what;
    std::string notice;
    int height;    // GBK bytes / 32 * 20, cut
    int wrap_tick; // the tick whose scroll takes the bottom edge above the frame
    int wrap_top;  // 19 + height - 50
};

TEST_F(ProgramFixture, TickerHeightScrollAndWrapByGbkBytes)
{
    const TickerRow rows[] = {
        {"20 bytes", repeat("通", 10), 12, 22, -19},
        {"40 bytes, mixed", "ABCD" + repeat("知", 18), 25, 35, -6},
        {"64 bytes", repeat("公告", 16), 40, 50, 9},
        {"empty", "", 0, 10, -31},
    };
    for (const TickerRow& r : rows) {
        SCOPED_TRACE(r.what);
        ui::rt_set_property(ui::U("main", "编辑框1_通知窗口"), P::Top, 9);
        app::text_globals().notice_text = r.notice;
        tick();
        EXPECT_EQ(area_text(), r.notice);
        EXPECT_EQ(area(P::Height), r.height);
        EXPECT_EQ(area(P::Top), 8);
        tick(r.wrap_tick - 2);
        EXPECT_EQ(area(P::Top), 9 - (r.wrap_tick - 1)); // still touching the frame
        tick();
        EXPECT_EQ(area(P::Top), r.wrap_top);
        tick();
        // Below the frame's top again, or (a short notice) at once wrapped back.
        EXPECT_EQ(area(P::Top), r.wrap_top - 1 + r.height < 0 ? r.wrap_top : r.wrap_top - 1);
    }
}

TEST_F(ProgramFixture, ANoticeStoredLaterShowsOnTheNextTick)
{
    tick();
    EXPECT_EQ(area_text(), "");
    EXPECT_EQ(area(P::Height), 0);
    app::text_globals().notice_text = repeat("新", 16);
    tick();
    EXPECT_EQ(area_text(), repeat("新", 16));
    EXPECT_EQ(area(P::Height), 20);
}

TEST_F(ProgramFixture, BlinkColourPairsAndUnknownSwitchValues)
{
    struct Row {
        const char* blink;
        int first, second; // 0, 0: the colour is left alone
    };
    const Row rows[] = {
        {"开启白色", 0xC0C0C0, 0xFFFFFF},
        {"开启黄色", 0x1CC4F3, 0x00FFFF},
        {"开启绿色", 0x48DB86, 0x00D304},
        {"开启红色", 0x6D4AFF, 0x1B30CE},
        {"开启", 0xECECEC, 0xFFFFFF},
        {"", 0, 0},
        {"关闭", 0, 0},
        {"开启蓝色", 0, 0},
        {"开启红色 ", 0, 0},
    };
    const ui::Ref box = ui::U("main", "编辑框1_通知窗口");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.blink);
        ui::rt_set_property(box, P::EditBox::TextColor, 0x123456);
        app::text_globals().blink_switch = r.blink;
        bool saw_first = false, saw_second = false;
        for (int i = 0; i < 40; ++i) {
            tick();
            const int c = area(P::EditBox::TextColor);
            if (r.first == 0) {
                ASSERT_EQ(c, 0x123456);
                continue;
            }
            ASSERT_TRUE(c == r.first || c == r.second) << std::hex << c;
            saw_first |= c == r.first;
            saw_second |= c == r.second;
        }
        if (r.first != 0) {
            EXPECT_TRUE(saw_first && saw_second);
        }
    }
    // Back to an unknown value: the last colour chosen stays.
    app::text_globals().blink_switch = "开启绿色";
    tick();
    const int last = area(P::EditBox::TextColor);
    app::text_globals().blink_switch = "x";
    tick(5);
    EXPECT_EQ(area(P::EditBox::TextColor), last);
}

// ---- the page's values on the GUI thread ------------------------------------------

TEST_F(ProgramFixture, NewerVersionIsAskedAboutOnlyWhenItReadsAboveOurs)
{
    struct Row {
        const char* latest;
        bool asked;
    };
    const Row rows[] = {
        {"1.7", true}, {"2", true},   {"1.6", false}, {"1.10", false}, // 1.10 reads 1.1
        {"v2", false}, {"", false},   {"1.6000000001", false},          // within the tolerance
        {"1.60001", true}, {"1.7abc", false}, {"1e309", false}, {"2e0", false}, {"1.7.1", false},
        {"99999999999999999999", true},
    };
    const std::string nines(400, '9'); // beyond any double: no version
    backend.messages.clear();
    app::NoticePage huge;
    huge.latest = nines;
    app::ApplyWebNotice(huge);
    EXPECT_TRUE(backend.messages.empty());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.latest);
        backend.messages.clear();
        app::NoticePage p;
        p.latest = r.latest;
        p.notice = "通知";
        p.blink = "开启";
        p.colour = "白色";
        if (r.asked) backend.queue_answer(1); // Cancel; an unexpected question gets OK
        app::ApplyWebNotice(p);
        EXPECT_EQ(app::text_globals().notice_text, "通知");
        EXPECT_EQ(app::text_globals().blink_switch, "开启");
        EXPECT_EQ(app::text_globals().notice_colour, "白色");
        if (r.asked) {
            ASSERT_EQ(backend.messages.size(), 1u);
            EXPECT_EQ(backend.messages[0].caption, "是否要更新");
            EXPECT_EQ(backend.messages[0].text, std::string("发现新版本V") + r.latest + "，确认立即更新吗？");
            EXPECT_EQ(backend.messages[0].style, 0x21);
        } else {
            EXPECT_TRUE(backend.messages.empty());
        }
        EXPECT_EQ(rt.form("update"), nullptr); // Cancel opens nothing
    }
}

TEST_F(ProgramFixture, OkOnTheQuestionOpensOneUpdateFormOwnedByTheMainWindow)
{
    app::NoticePage p;
    p.latest = "1.7";
    backend.queue_answer(0);
    app::ApplyWebNotice(p);
    ui::Form* update = rt.form("update");
    ASSERT_NE(update, nullptr);
    EXPECT_TRUE(update->modal);
    EXPECT_EQ(update->owner, rt.form("main"));
    // Asked again while it is open: the same form, not a second one.
    backend.queue_answer(0);
    app::ApplyWebNotice(p);
    EXPECT_EQ(rt.form("update"), update);
    EXPECT_EQ(rt.form("main")->disabled_by_modal, 1);
}

TEST_F(ProgramFixture, AnEmptyPageClearsEarlierValuesAndAsksNothing)
{
    app::text_globals().notice_text = "旧";
    app::text_globals().blink_switch = "开启";
    app::ApplyWebNotice(app::NoticePage{});
    EXPECT_EQ(app::text_globals().notice_text, "");
    EXPECT_EQ(app::text_globals().blink_switch, "");
    EXPECT_TRUE(backend.messages.empty());
}

} // namespace
