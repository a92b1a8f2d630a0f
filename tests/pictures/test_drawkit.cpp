// The drawing kit's texts keep to their cells and to the picture, and a
// generator's --check fails on a text that cannot.
#include "drawkit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

struct Drawn {
    QImage img;
    std::vector<kit::Placement> texts;
};

// Draws with `draw` on a white w x h picture and keeps what the texts did.
template <class Draw>
Drawn drawn(int w, int h, Draw draw)
{
    Drawn d{kit::canvas(w, h), {}};
    kit::clear_placements();
    {
        QPainter p(&d.img);
        p.setFont(kit::font(20));
        draw(p);
    }
    d.texts = kit::placements();
    return d;
}

// Columns of the picture with any dark pixel.
int inked_columns(const QImage& img, int x0, int x1)
{
    int n = 0;
    for (int x = x0; x < x1; ++x)
        for (int y = 0; y < img.height(); ++y)
            if (qGray(img.pixel(x, y)) < 160) {
                ++n;
                break;
            }
    return n;
}

const QString kNote = QStringLiteral(
    "表中q值为一个自由面时的数值；二、三、四、五、六个自由面时，自由面系数分别取 0.83、0.67、0.50、0.33、0.17。");

struct FitCase {
    const char* name;
    const char* what;
    QSize picture;
    QRectF box;
    int flags;
    QString text;
    bool shrinks; // true: it fits only smaller; false: it fits at its size
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << c.what; }

class TextFits : public testing::TestWithParam<FitCase> {};

TEST_P(TextFits, KeepsToItsCellAndThePicture)
{
    const FitCase& c = GetParam();
    const Drawn d =
        drawn(c.picture.width(), c.picture.height(), [&](QPainter& p) { kit::text(p, c.box, c.flags, c.text); });
    ASSERT_EQ(d.texts.size(), 1u);
    const kit::Placement& t = d.texts[0];
    EXPECT_TRUE(t.fits()) << c.what;
    EXPECT_TRUE(QRectF(0, 0, c.picture.width(), c.picture.height()).adjusted(-0.5, -0.5, 0.5, 0.5).contains(t.used))
        << c.what;
    EXPECT_EQ(t.asked_px, 20);
    if (c.shrinks)
        EXPECT_LT(t.px, 20) << c.what;
    else
        EXPECT_EQ(t.px, 20) << c.what;
    // What is drawn stays where the text is on record.
    EXPECT_EQ(inked_columns(d.img, int(t.used.right() + 1.5), c.picture.width()), 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Kit, TextFits,
                         testing::Values(FitCase{"ShortText",
                                                 "a short text fits as it is",
                                                 {300, 60},
                                                 {10, 10, 280, 40},
                                                 Qt::AlignCenter,
                                                 QStringLiteral("炮孔深度 L"),
                                                 false},
                                         FitCase{"WiderThanItsCell",
                                                 "a text wider than its cell shrinks",
                                                 {300, 60},
                                                 {10, 10, 150, 40},
                                                 Qt::AlignLeft | Qt::AlignVCenter,
                                                 QStringLiteral("自由面系数 0.83、0.67"),
                                                 true},
                                         // The cell of the bench table's note reached past the picture's
                                         // right edge; the note must stop at the edge.
                                         FitCase{"CellPastThePictureEdge",
                                                 "a cell past the picture's edge holds the text to the picture",
                                                 {300, 60},
                                                 {20, 10, 600, 40},
                                                 Qt::AlignLeft | Qt::AlignVCenter,
                                                 QStringLiteral("自由面系数分别取 0.83、0.67、0.50、0.33、0.17。"),
                                                 true},
                                         FitCase{"WrapsBeforeItShrinks",
                                                 "a text that may wrap wraps before it shrinks",
                                                 {300, 120},
                                                 {10, 10, 200, 100},
                                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                                 QStringLiteral("二、三、四、五、六个自由面时，自由面系数"),
                                                 false},
                                         FitCase{"CellTooLow",
                                                 "a cell too low for its line shrinks the text",
                                                 {300, 60},
                                                 {10, 10, 280, 14},
                                                 Qt::AlignCenter,
                                                 QStringLiteral("台阶高度"),
                                                 true}),
                         [](const testing::TestParamInfo<FitCase>& i) { return std::string(i.param.name); });

TEST(Kit, AHopelessTextIsOnRecordAsNotFitting)
{
    const Drawn d = drawn(200, 40, [](QPainter& p) {
        kit::text(p, QRectF(5, 5, 30, 30), Qt::AlignCenter, QStringLiteral("炸药单位消耗量q表"));
    });
    ASSERT_EQ(d.texts.size(), 1u);
    EXPECT_FALSE(d.texts[0].fits());
}

TEST(Kit, ATextOnABaselineStopsAtThePictureEdge)
{
    const Drawn d =
        drawn(160, 40, [](QPainter& p) { kit::text_at(p, QPointF(20, 28), QStringLiteral("爆破毒气安全距离 Rg")); });
    ASSERT_EQ(d.texts.size(), 1u);
    EXPECT_TRUE(d.texts[0].fits());
    EXPECT_LT(d.texts[0].px, 20);
    EXPECT_LE(d.texts[0].used.right(), 160.5);
}

TEST(Kit, TextsAreMeasuredWhereThePainterIsMoved)
{
    // Moved 200 pixels right, a 150-pixel cell at 0 reaches past the picture's edge.
    const Drawn d = drawn(300, 40, [](QPainter& p) {
        p.translate(200, 0);
        kit::text(p, QRectF(0, 5, 150, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("装药长度 l1 与 l2"));
    });
    ASSERT_EQ(d.texts.size(), 1u);
    EXPECT_TRUE(d.texts[0].fits());
    EXPECT_LE(d.texts[0].used.right(), 300.5);
}

// A wrapped line never parts a number: "0.17" read as "0." and "17" is a wrong value.
TEST(Kit, WrappingKeepsEveryNumberWhole)
{
    const QFont f = kit::font(20);
    for (double width = 120; width <= 1100; width += 7) {
        const QStringList lines = kit::paragraph_lines(f, width, QStringLiteral("注：1. ") + kNote, 40);
        ASSERT_EQ(lines.join(QString()), QStringLiteral("注：1. ") + kNote) << width;
        for (const char* number : {"0.83", "0.67", "0.50", "0.33", "0.17"})
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(number); }))
                << number << " parted at width " << width << ": " << qPrintable(lines.join(" | "));
    }
}

TEST(Kit, AParagraphIndentsItsFollowingLines)
{
    const Drawn d = drawn(500, 120, [](QPainter& p) {
        kit::paragraph(p, QRectF(10, 10, 480, 100), QStringLiteral("注：1. ") + kNote, 60);
    });
    ASSERT_EQ(d.texts.size(), 1u);
    EXPECT_TRUE(d.texts[0].fits());
    EXPECT_GT(d.texts[0].used.height(), 40); // two lines or more
    // The second line starts at the indent: nothing inked between the margin and it.
    const int second = 10 + 30;
    for (int x = 10; x < 10 + 55; ++x) EXPECT_GT(qGray(d.img.pixel(x, second + 6)), 160) << x;
}

TEST(Kit, EveryTableTextKeepsToItsCell)
{
    kit::Table t;
    t.widths = {1.3, 1.5, 1.5};
    t.rows = {{QStringLiteral("土石类别"), QStringLiteral("松软石(五类土)"), QStringLiteral("特坚石(八类土)")},
              {QStringLiteral("q (kg/m³)"), QStringLiteral("1.4～1.65"), QStringLiteral("2.1～3.25")}};
    t.px = t.heading_px = 22;
    t.row_height = 38;
    const Drawn d = drawn(300, 100, [&](QPainter& p) { kit::draw_table(p, QRectF(10, 10, 280, 0), t); });
    ASSERT_EQ(d.texts.size(), 6u);
    for (const kit::Placement& c : d.texts) {
        EXPECT_TRUE(c.fits()) << qPrintable(c.text);
        EXPECT_LT(c.cell.width(), 110); // the columns share 280 pixels
    }
}

// A title asked in bold is written in the face's own bold; the installed face
// has none, and a bold the rasteriser thickens runs the strokes of 布置
// together at 12 to 14 px: the title is written exactly as the regular weight.
TEST(Kit, ABoldTitleIsNeverThickened)
{
    for (int px : {12, 13, 14, 20}) {
        const QFont bold = kit::font(px, true);
        if (kit::has_bold_face(bold.family())) {
            EXPECT_TRUE(bold.bold()) << px;
            continue;
        }
        auto title = [&](const QFont& f) {
            return drawn(120, 30, [&](QPainter& p) {
                       kit::text(p, QRectF(0, 0, 120, 30), Qt::AlignCenter, QStringLiteral("炮孔平面布置"), f);
                   }).img;
        };
        EXPECT_FALSE(bold.bold()) << px;
        EXPECT_EQ(title(bold), title(kit::font(px))) << px;
    }
}

// A generator's --check draws and writes nothing, and fails on a text that does not fit.
TEST(Kit, CheckFailsOnATextThatDoesNotFit)
{
    const QString dir = QDir::tempPath() + "/drawkit-check";
    auto outputs = [](bool fitting) {
        return [fitting](const QString&) {
            return std::vector<kit::Output>{kit::picture("never_written.png", [fitting] {
                QImage img = kit::canvas(120, 40);
                QPainter p(&img);
                p.setFont(kit::font(20));
                kit::text(p, QRectF(4, 4, fitting ? 112 : 20, 32), Qt::AlignCenter, QStringLiteral("堵塞段"));
                return img;
            })};
        };
    };
    const QByteArray root = dir.toLocal8Bit();
    char prog[] = "generator", check[] = "--check";
    char* argv[] = {prog, check, const_cast<char*>(root.constData()), nullptr};
    EXPECT_EQ(kit::run(3, argv, outputs(true)), 0);
    EXPECT_EQ(kit::run(3, argv, outputs(false)), 1);
    EXPECT_FALSE(QFileInfo::exists(dir + "/never_written.png"));
}

// The check measures each text at the size the program shows its picture:
// the picture whole in its own shape in the smallest box that shows it, a
// box from the generator's table or from a form that starts with it.
struct ShownCase {
    const char* name;
    QSize picture;
    int px;                 // the text's size as drawn
    std::vector<QSize> shown; // the generator's own boxes
    QSize in_form;          // a form's picture box that starts with it (empty: none)
    int result;             // what --check answers
};

void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.name; }

class ShownSize : public testing::TestWithParam<ShownCase> {};

TEST_P(ShownSize, CheckMeasuresTextsWhereThePictureIsShown)
{
    const ShownCase& c = GetParam();
    const QString root = QDir::tempPath() + "/drawkit-shown-" + c.name;
    QDir(root).removeRecursively();
    QDir().mkpath(root + "/forms");
    if (!c.in_form.isEmpty()) {
        QFile form(root + "/forms/Test.json");
        ASSERT_TRUE(form.open(QIODevice::WriteOnly));
        form.write(QStringLiteral(R"({"name": "Test", "controls": [{"kind": "PicBox", "name": "图片框1", "rect": [4, 4, %1, %2],
                   "picture": "resources/pictures/test/label.png"}]})")
                       .arg(c.in_form.width())
                       .arg(c.in_form.height())
                       .toUtf8());
    }
    auto outputs = [&c](const QString&) {
        kit::Output o = kit::picture("resources/pictures/test/label.png", [&c] {
            QImage img = kit::canvas(c.picture.width(), c.picture.height());
            QPainter p(&img);
            kit::text(p, QRectF(0, 0, img.width(), img.height()), Qt::AlignCenter, QStringLiteral("掌子面"),
                      kit::font(c.px));
            return img;
        });
        o.shown = c.shown;
        return std::vector<kit::Output>{o};
    };
    const QByteArray r = root.toLocal8Bit();
    char prog[] = "generator", check[] = "--check";
    char* argv[] = {prog, check, const_cast<char*>(r.constData()), nullptr};
    EXPECT_EQ(kit::run(3, argv, outputs), c.result) << c.name;
    QDir(root).removeRecursively();
}

INSTANTIATE_TEST_SUITE_P(
    Kit, ShownSize,
    testing::Values(
        // 12 px drawn at the picture's own size: shown as drawn.
        ShownCase{"AtItsOwnSize", {200, 100}, 12, {}, {}, 0},
        ShownCase{"ElevenPixelsAtItsOwnSize", {200, 100}, 11, {}, {}, 1},
        // The ventilation scheme's labels: 12 px in a picture twice its box.
        ShownCase{"TwiceItsBox", {400, 100}, 12, {{200, 50}}, {}, 1},
        ShownCase{"TwiceItsBoxWithLargerText", {400, 100}, 24, {{200, 50}}, {}, 0},
        // A box of another shape: the picture keeps its shape, the narrower side decides.
        ShownCase{"ABoxOfAnotherShape", {400, 100}, 24, {{200, 200}}, {}, 0},
        ShownCase{"ABoxOfAnotherShapeTooNarrow", {400, 100}, 24, {{180, 200}}, {}, 1},
        // The form's box that starts with the picture counts as well; the smallest box decides.
        ShownCase{"InAFormsBox", {400, 100}, 12, {}, {200, 50}, 1},
        ShownCase{"TheSmallestBoxDecides", {400, 100}, 24, {{400, 100}}, {200, 40}, 1},
        // Where the box is larger, the picture shows larger.
        ShownCase{"ABoxLargerThanThePicture", {200, 50}, 10, {{400, 100}}, {}, 0}),
    [](const testing::TestParamInfo<ShownCase>& i) { return std::string(i.param.name); });

TEST(Kit, TextsOfAScaledPainterAreMeasuredAtTheirDrawnSize)
{
    // 24 px through a painter scaled by a half is a 12-pixel text on the picture.
    const Drawn d = drawn(300, 60, [](QPainter& p) {
        p.scale(0.5, 0.5);
        kit::text(p, QRectF(0, 0, 600, 120), Qt::AlignCenter, QStringLiteral("风管长度 L"), kit::font(24));
    });
    ASSERT_EQ(d.texts.size(), 1u);
    EXPECT_EQ(d.texts[0].px, 24);
    EXPECT_DOUBLE_EQ(d.texts[0].drawn_px, 12);
}

} // namespace

int main(int argc, char** argv)
{
    // Test discovery runs this without the tests' environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
