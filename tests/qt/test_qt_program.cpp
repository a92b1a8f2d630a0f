// The real program in real (offscreen) windows: the splash gives way to the
// main window with its category buttons and Chinese text, and a click on a
// category button shows that category's page.
#include "app/program.h"
#include "tests/support/page_server.h"
#include "ui/cmd.h"
#include "ui/qt/qt_backend.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <memory>

namespace {

struct Program {
    ui::qt::QtBackend backend;
    ui::Runtime rt{backend};
    Program()
    {
        backend.attach(rt);
        app::start_program(rt);
    }
    ui::Control& c(const char* name) { return rt.unit("main", name); }
    QWidget* view(const char* name) { return ui::qt::QtBackend::widget(c(name)); }
};

TEST(QtProgram, MainWindowShowsItsCategoriesInChinese)
{
    Program p;
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.rt.form("main") != nullptr && p.rt.form("splash") == nullptr; }, 10000))
        << "the splash never gave way to the main window";
    QWidget* window = p.backend.window(*p.rt.form("main"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), "掘石宝-青岚V1.6");
    QTest::qWait(100);

    const char* categories[] = {"图形按钮1_home", "图形按钮1_爆破工程", "图形按钮1_通风工程", "图形按钮1_隧道评价", "图形按钮1_隧道开挖",
                                "图形按钮1_工期计算", "图形按钮1_工程安全", "图形按钮1_工程设备", "图形按钮1_风水配置"};
    for (const char* name : categories) {
        QWidget* w = p.view(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_TRUE(w->isVisible()) << name;
    }
    // The clock line is Chinese text in a font that has the glyphs.
    QFont f = p.view("编辑框1_时间提示")->font();
    EXPECT_TRUE(QFontDatabase::writingSystems(QFontInfo(f).family()).contains(QFontDatabase::SimplifiedChinese));
    EXPECT_TRUE(QFontMetrics(f).inFontUcs4(U'隧'));

    // Rock classes are written with Roman numerals; each must draw, not only
    // be claimed by the font.
    for (const char* numeral : {"I", "Ⅱ", "Ⅲ", "Ⅳ", "V", "Ⅴ", "Ⅵ"}) {
        QImage img(40, 40, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        QFont big = f;
        big.setPixelSize(24);
        painter.setFont(big);
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, 40, 40), Qt::AlignCenter, QString::fromUtf8(numeral));
        painter.end();
        int dark = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) dark += qGray(img.pixel(x, y)) < 128;
        EXPECT_GT(dark, 10) << numeral << " draws blank in " << QFontInfo(big).family().toStdString();
    }

    QImage shot = window->grab().toImage();
    EXPECT_TRUE(shot.save(QString::fromUtf8(JSB_BINARY_DIR "/main_window.png"), "PNG"));

    // A real click on the ventilation category selects its page.
    QTest::mouseClick(p.view("图形按钮1_通风工程"), Qt::LeftButton);
    EXPECT_EQ(ui::rt_get_property(ui::U("main", "选择夹_大类"), ui::prop::Tab::CurrentPage).integer(), 2);
    QTest::qWait(50);
    EXPECT_TRUE(window->grab().save(QString::fromUtf8(JSB_BINARY_DIR "/ventilation_page.png"), "PNG"));
}

// The user ends the program while its start-up fetch of the notice page is
// still waiting for a server that never answers: the program is gone at once,
// not when the request would have timed out.
TEST(QtProgram, ExitWhileTheNoticeFetchHangsEndsAtOnce)
{
    page_test::PageServer server; // outlives the program: never answers it
    ASSERT_TRUE(server.listening());
    app::settings().notice_url = server.url("/hang");
    auto p = std::make_unique<Program>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return p->rt.form("main") != nullptr && server.hang_waiting == 1; }, 10000))
        << "the main window never started its fetch";

    // OK on the exit question, as the user would click it.
    bool answered = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QString::fromUtf8("确定")) {
                answered = true;
                b->click();
            }
    });
    answer.start(20);
    const auto asked = std::chrono::steady_clock::now();
    p->backend.window(*p->rt.form("main"))->close();
    answer.stop();
    ASSERT_TRUE(answered) << "no exit question to answer";
    EXPECT_TRUE(p->backend.exiting());
    EXPECT_EQ(p->backend.exit_code(), 0);
    p.reset(); // the program is gone once its threads are
    const auto took = std::chrono::steady_clock::now() - asked;
    EXPECT_LT(took, std::chrono::seconds(1))
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    EXPECT_EQ(server.hang_waiting, 1); // dropped, not answered
    app::settings().notice_url.clear();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
