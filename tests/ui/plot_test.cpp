#include "ui/plot.h"

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "base/errors.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/jpeg_read.h"
#include "support/library_test.h"

using namespace zrt;
namespace fs = std::filesystem;

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

bool isRed(Rgb c) {
    return c.r > 160 && c.g < 110 && c.b < 110;
}

PlotEval identity() {
    return [](double x, double& y) {
        y = x;
        return true;
    };
}

// y = x, except at x = bad, where the point gets `how`: "inf", "fail" or "nan".
PlotEval identityExcept(double bad, std::string how) {
    return [bad, how](double x, double& y) {
        y = x;
        if (std::fabs(x - bad) > 1e-9) return true;
        if (how == "inf") y = kInf;
        if (how == "nan") y = kNaN;
        return how != "fail";
    };
}

// Rows of red pixels in column x (of the plot image, or of a picture whose
// top left is the window's inside).
std::vector<int> redRows(const Image& img, int x, int height) {
    std::vector<int> rows;
    for (int y = 0; y < height; ++y)
        if (isRed(img.rgb(x, y))) rows.push_back(y);
    return rows;
}

// y = x over [0, 1] fills the image from the bottom left to the top right:
// every column has red near its expected row, and no red lies off the line.
void expectDiagonal(const Image& img, int width, int height) {
    ASSERT_GE(img.width, width);
    ASSERT_GE(img.height, height);
    int stray = 0;
    for (int x = 8; x < width - 8; x += 7) {
        const int expected =
            (height - 1) - static_cast<int>(std::lround(x * double(height - 1) / (width - 1)));
        const std::vector<int> rows = redRows(img, x, height);
        bool near = false;
        for (int r : rows) {
            if (std::abs(r - expected) <= 2)
                near = true;
            else
                ++stray;
        }
        EXPECT_TRUE(near) << "column " << x << " expected row " << expected;
    }
    EXPECT_EQ(stray, 0);
}

class PlotTest : public LibraryTest {
   protected:
    void SetUp() override {
        LibraryTest::SetUp();
        headless::resetWindowSettings();
        dir_ = fs::temp_directory_path() /
               ("quillet_plot_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        headless::setProgramPath((dir_ / "host.exe").string());
    }
    void TearDown() override {
        resetPlots();
        headless::resetWindowSettings();
        fs::remove_all(dir_);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

}  // namespace

TEST_F(PlotTest, ParsesTheFieldsOfThePlotCommand) {
    const struct {
        const char* text;
        bool ok;
        double from, to;
        const char* variable;
        int steps;
        const char* file;
    } cases[] = {
        {"x^2; -1; x; 1; 100", true, -1, 1, "x", 100, ""},
        {"  sin(T) ;0,5; T ; 2.5e1 ;10.4; out.txt ", true, 0.5, 25, "t", 10, "out.txt"},
        {"x; 0; x; 1; 2.5", true, 0, 1, "x", 3, ""},
        {"x; +1; x; -1; 1000000", true, 1, -1, "x", 1000000, ""},
        {"x; 0; x; 1; 5; t.txt; ignored", true, 0, 1, "x", 5, "t.txt"},
        {"x; 0; x; 1", false, 0, 0, "", 0, ""},
        {"; 0; x; 1; 10", false, 0, 0, "", 0, ""},
        {"x; pi; x; 1; 10", false, 0, 0, "", 0, ""},
        {"x; 0; ; 1; 10", false, 0, 0, "", 0, ""},
        {"x; 0; x; 1e400; 10", false, 0, 0, "", 0, ""},
        {"x; 0; x; 1; 0", false, 0, 0, "", 0, ""},
        {"x; 0; x; 1; 0.4", false, 0, 0, "", 0, ""},
        {"x; 0; x; 1; -5", false, 0, 0, "", 0, ""},
        {"x; 0; x; 1; 10000000", false, 0, 0, "", 0, ""},
        {"x; 0; x; 1; 1e300", false, 0, 0, "", 0, ""},
        {"x; 0; x; 1; nan", false, 0, 0, "", 0, ""},
        {"", false, 0, 0, "", 0, ""},
    };
    for (const auto& c : cases) {
        PlotRequest r;
        std::string problem;
        EXPECT_EQ(parsePlotParams(c.text, r, problem), c.ok) << c.text;
        EXPECT_EQ(problem.empty(), c.ok) << c.text;
        if (!c.ok || !problem.empty()) continue;
        EXPECT_EQ(r.xFrom, c.from) << c.text;
        EXPECT_EQ(r.xTo, c.to) << c.text;
        EXPECT_EQ(r.variable, c.variable) << c.text;
        EXPECT_EQ(r.steps, c.steps) << c.text;
        EXPECT_EQ(r.tableFile, c.file) << c.text;
    }
}

TEST_F(PlotTest, BadFieldsAreAnErrorAndOpenNothing) {
    for (const char* text : {"x; 0; x; 1; 10000000", "x; 0; x; 1; 0", "x; a; x; 1; 4", "x"}) {
        setEError(ErrorCode::None);
        EXPECT_EQ(aPlot(text, 1, identity()), 0) << text;
        EXPECT_EQ(eError(), ErrorCode::InvalidArgument) << text;
        EXPECT_TRUE(headless::plotWindowNumbers().empty()) << text;
        EXPECT_EQ(plotEntry(1), nullptr);
    }
    EXPECT_NE(errorLog().find("at most"), std::string::npos);
    EXPECT_NE(errorLog().find("Plot: steps must be at least 1"), std::string::npos);
    for (int n : {0, -1, kMaxPlotNumber + 1}) {
        EXPECT_EQ(aPlot("x; 0; x; 1; 4", n, identity()), 0) << n;
        EXPECT_EQ(eError(), ErrorCode::InvalidArgument);
    }
    // A huge text is quoted by its start only.
    const std::size_t before = errorLog().size();
    EXPECT_EQ(aPlot(std::string(100000, 'x'), 1, identity()), 0);
    EXPECT_LT(errorLog().size() - before, 2000u);
    // No evaluation at all: every point fails, the plot still opens.
    EXPECT_EQ(aPlot("x; 0; x; 1; 4", 1, nullptr), 1);
    EXPECT_FALSE(plotEntry(1)->hasY);
}

TEST_F(PlotTest, PointTableAndExtremes) {
    const struct {
        const char* name;
        PlotEval eval;
        double xFrom, xTo;
        int steps;
        bool hasY;
        double yMin, yMax;
        PlotRange range;
    } cases[] = {
        {"y=x", identity(), 0, 1, 4, true, 0, 1, {0, 1, 0, 1}},
        {"reversed", identity(), 1, -1, 2, true, -1, 1, {-1, 1, -1, 1}},
        // A failed, an infinite and a NaN point do not change the extremes.
        {"failed", identityExcept(1, "fail"), 0, 1, 4, true, 0, 0.75, {0, 1, 0, 0.75}},
        {"inf", identityExcept(0, "inf"), 0, 1, 4, true, 0.25, 1, {0, 1, 0.25, 1}},
        {"nan", identityExcept(0.5, "nan"), 0, 1, 4, true, 0, 1, {0, 1, 0, 1}},
        // Flat and single-point plots get a range around their value.
        {"flat",
         [](double, double& y) {
             y = 5;
             return true;
         },
         0,
         1,
         4,
         true,
         5,
         5,
         {0, 1, 4.5, 5.5}},
        {"zero",
         [](double, double& y) {
             y = 0;
             return true;
         },
         0,
         1,
         4,
         true,
         0,
         0,
         {0, 1, -1, 1}},
        {"point", identity(), 2, 2, 3, true, 2, 2, {1.8, 2.2, 1.8, 2.2}},
        {"none", [](double, double&) { return false; }, 0, 1, 4, false, 0, 0, {0, 1, -1, 1}},
    };
    for (const auto& c : cases) {
        PlotEntry e;
        e.xFrom = c.xFrom;
        e.xTo = c.xTo;
        e.steps = c.steps;
        std::string problem;
        ASSERT_TRUE(computePoints(e, c.eval, problem)) << c.name;
        ASSERT_EQ(e.xs.size(), static_cast<std::size_t>(c.steps) + 1) << c.name;
        EXPECT_EQ(e.xs.front(), c.xFrom) << c.name;
        EXPECT_DOUBLE_EQ(e.xs.back(), c.xTo) << c.name;
        EXPECT_EQ(e.hasY, c.hasY) << c.name;
        EXPECT_EQ(e.yMin, c.yMin) << c.name;
        EXPECT_EQ(e.yMax, c.yMax) << c.name;
        const PlotRange r = plotRange(e);
        EXPECT_DOUBLE_EQ(r.xMin, c.range.xMin) << c.name;
        EXPECT_DOUBLE_EQ(r.xMax, c.range.xMax) << c.name;
        EXPECT_DOUBLE_EQ(r.yMin, c.range.yMin) << c.name;
        EXPECT_DOUBLE_EQ(r.yMax, c.range.yMax) << c.name;
    }
}

TEST_F(PlotTest, PointTableFile) {
    const std::string file = path("points.txt");
    ASSERT_EQ(aPlot("1/x; -1; x; 1; 2; " + file, 1,
                    [](double x, double& y) {
                        if (x == 0) return false;
                        y = 1 / x;
                        return true;
                    }),
              1);
    EXPECT_EQ(plotMessage(), "");
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "Id\tX\tY\r\n0\t-1\t-1\r\n1\t0\tNaN\r\n2\t1\t1\r\n");

    // An unwritable file is reported, and the plot is drawn all the same.
    EXPECT_EQ(aPlot("x; 0; x; 1; 2; " + path("no/such/folder/p.txt"), 2, identity()), 1);
    EXPECT_EQ(plotMessage(), "Error: can't write the file.");
    EXPECT_TRUE(platform::plotWindowExists(2));
    EXPECT_EQ(eError(), ErrorCode::None);
}

TEST_F(PlotTest, WindowsTileAcrossTheDesktop) {
    const struct {
        int desktop;
        std::vector<std::pair<int, int>> at;
    } cases[] = {
        {900, {{0, 0}, {407, 0}, {0, 430}, {407, 430}}},  // the third starts a new row
        {2000, {{0, 0}, {407, 0}, {814, 0}, {1221, 0}}},
        {300, {{0, 0}, {0, 430}, {0, 860}, {0, 1290}}},
    };
    for (const auto& c : cases) {
        closePlotWindows();
        headless::setDesktopWidth(c.desktop);
        for (int n = 1; n <= 4; ++n) {
            ASSERT_EQ(aPlot("x; 0; x; 1; 10", n, identity()), 1);
            platform::WindowRect r;
            ASSERT_TRUE(platform::plotWindowRect(n, r));
            EXPECT_EQ(r.x, c.at[n - 1].first) << c.desktop << " #" << n;
            EXPECT_EQ(r.y, c.at[n - 1].second) << c.desktop << " #" << n;
            EXPECT_EQ(r.width, 400);
            EXPECT_EQ(r.height, 400);
        }
    }
    // When the previous plot's window is gone, the next one starts at (0, 0).
    headless::setDesktopWidth(2000);
    ASSERT_TRUE(headless::pressButton(4, plotGadgetId(4, kCloseButton)));
    EXPECT_FALSE(platform::plotWindowExists(4));
    ASSERT_NE(plotEntry(4), nullptr);
    ASSERT_EQ(aPlot("x; 0; x; 1; 10", 5, identity()), 1);
    platform::WindowRect r;
    ASSERT_TRUE(platform::plotWindowRect(5, r));
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y, 0);
    // A new run closes every window of the previous one.
    closePlotWindows();
    EXPECT_TRUE(headless::plotWindowNumbers().empty());
    EXPECT_EQ(plotEntry(1), nullptr);
}

TEST_F(PlotTest, WindowTitleAndGadgets) {
    ASSERT_EQ(aPlot("x*2; -1,5; x; 2; 7", 3, identity()), 1);
    EXPECT_EQ(headless::plotWindowTitle(3), "aPlot #3");
    const std::vector<platform::Gadget> g = headless::plotWindowGadgets(3);
    ASSERT_EQ(g.size(), 7u);
    const struct {
        int id, x, y, w, h;
        const char* text;
    } want[] = {{141, 0, 0, 400, 365, ""},        {142, 5, 375, 75, 20, "Redraw"},
                {143, 320, 375, 75, 20, "Close"}, {144, 90, 378, 70, 20, "Redraw from"},
                {145, 160, 375, 50, 20, "-1.5"},  {146, 220, 378, 20, 20, "to"},
                {147, 240, 375, 50, 20, "2"}};
    for (std::size_t i = 0; i < g.size(); ++i) {
        EXPECT_EQ(g[i].id, want[i].id);
        EXPECT_EQ(g[i].x, want[i].x) << g[i].id;
        EXPECT_EQ(g[i].y, want[i].y) << g[i].id;
        EXPECT_EQ(g[i].width, want[i].w) << g[i].id;
        EXPECT_EQ(g[i].height, want[i].h) << g[i].id;
        EXPECT_EQ(g[i].text, want[i].text) << g[i].id;
    }
    const Image img = headless::plotWindowImage(3);
    EXPECT_EQ(img.width, 400);
    EXPECT_EQ(img.height, 365);
}

TEST_F(PlotTest, CurveIsRedAndLargerYIsHigher) {
    ASSERT_EQ(aPlot("x; 0; x; 1; 100", 1, identity()), 1);
    const Image img = headless::plotWindowImage(1);
    expectDiagonal(img, 400, 365);
    // Falling curve: red at the top left, none at the top right.
    ASSERT_EQ(aPlot("1-x; 0; x; 1; 100", 1,
                    [](double x, double& y) {
                        y = 1 - x;
                        return true;
                    }),
              1);
    const Image down = headless::plotWindowImage(1);
    EXPECT_FALSE(redRows(down, 30, 365).empty());
    EXPECT_LT(redRows(down, 30, 365).front(), 60);
    EXPECT_TRUE(redRows(down, 390, 60).empty());
}

TEST_F(PlotTest, PointsThatCannotBeDrawnLeaveAGap) {
    for (const char* how : {"inf", "fail", "nan"}) {
        ASSERT_EQ(aPlot("x; 0; x; 1; 10", 1, identityExcept(0.5, how)), 1) << how;
        const Image img = headless::plotWindowImage(1);
        // Points at 0.4 and 0.6 are drawn (columns 160 and 239); nothing between.
        EXPECT_FALSE(redRows(img, 150, 365).empty()) << how;
        EXPECT_FALSE(redRows(img, 250, 365).empty()) << how;
        for (int x = 165; x <= 234; ++x) EXPECT_TRUE(redRows(img, x, 365).empty()) << how << x;
    }
    // 1/x over [-1, 1]: infinite at 0, the two branches are not joined.
    ASSERT_EQ(aPlot("1/x; -1; x; 1; 200", 1,
                    [](double x, double& y) {
                        y = 1 / x;
                        return true;
                    }),
              1);
    const Image img = headless::plotWindowImage(1);
    EXPECT_FALSE(redRows(img, 190, 365).empty());
    for (int x = 199; x <= 200; ++x) EXPECT_TRUE(redRows(img, x, 365).empty()) << x;
}

TEST_F(PlotTest, ExtremeValuesDrawWithoutTrouble) {
    const struct {
        const char* text;
        PlotEval eval;
    } cases[] = {
        {"x; -1e308; x; 1e308; 50", identity()},
        {"x*1e308; -1; x; 1; 50",
         [](double x, double& y) {
             y = x * 1.7e308;
             return true;
         }},
        {"tiny; 0; x; 1e-310; 50", identity()},
        {"far; 1e16; x; 10000000000000004; 4", identity()},
        {"alt; 0; x; 1; 1000",
         [](double x, double& y) {
             y = static_cast<int>(x * 1000) % 2 ? 1e300 : -1e300;
             return true;
         }},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(aPlot(c.text, 1, c.eval), 1) << c.text;
        const Image img = headless::plotWindowImage(1);
        ASSERT_FALSE(img.empty());
        int red = 0;
        for (std::uint32_t p : img.pixels)
            red += isRed({std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)});
        EXPECT_GT(red, 0) << c.text;
    }
}

TEST_F(PlotTest, TickLabels) {
    const struct {
        double v;
        const char* text;
    } cases[] = {{0, "0"},      {0.5, "0.5"},     {2, "2"},
                 {10, "10"},    {-2.25, "-2.25"}, {1.0 / 3, "0.33"},
                 {-0.004, "0"}, {0.006, "0.01"},  {1e6, "1000000"}};
    for (const auto& c : cases) EXPECT_EQ(tickLabel(c.v), c.text) << c.v;
}

TEST_F(PlotTest, RedrawAndCloseButtons) {
    int calls = 0;
    ASSERT_EQ(aPlot("x; 0; x; 1; 10", 1,
                    [&calls](double x, double& y) {
                        ++calls;
                        y = x;
                        return true;
                    }),
              1);
    EXPECT_EQ(calls, 11);
    const int from = plotGadgetId(1, kFromField), to = plotGadgetId(1, kToField);
    EXPECT_EQ(platform::gadgetText(1, from), "0");
    EXPECT_EQ(platform::gadgetText(1, to), "1");

    // Redraw over the range typed into the fields, with the same steps.
    platform::setGadgetText(1, from, "-2");
    platform::setGadgetText(1, to, "2,5");
    setEError(ErrorCode::NotFound);
    ASSERT_TRUE(headless::pressButton(1, plotGadgetId(1, kRedrawButton)));
    EXPECT_EQ(calls, 22);
    EXPECT_EQ(eError(), ErrorCode::NotFound);  // a click leaves the error state alone
    EXPECT_EQ(plotEntry(1)->xs.front(), -2);
    EXPECT_EQ(plotEntry(1)->xs.back(), 2.5);
    EXPECT_EQ(plotEntry(1)->yMax, 2.5);
    EXPECT_EQ(platform::gadgetText(1, to), "2.5");

    // Unreadable fields get the plot's own range back; nothing is computed.
    platform::setGadgetText(1, from, "abc");
    ASSERT_TRUE(headless::pressButton(1, plotGadgetId(1, kRedrawButton)));
    EXPECT_EQ(calls, 22);
    EXPECT_EQ(platform::gadgetText(1, from), "-2");

    EXPECT_FALSE(headless::pressButton(1, plotGadgetId(1, kFromField)));
    ASSERT_TRUE(headless::pressButton(1, plotGadgetId(1, kCloseButton)));
    EXPECT_FALSE(platform::plotWindowExists(1));
    EXPECT_FALSE(headless::pressButton(1, plotGadgetId(1, kRedrawButton)));
    EXPECT_FALSE(DrawPlot(1));
}

TEST_F(PlotTest, ResizedWindowRedrawsAndKeepsTheButtonsAtTheBottom) {
    ASSERT_EQ(aPlot("x; 0; x; 1; 50", 1, identity()), 1);
    ASSERT_TRUE(headless::resizePlotWindow(1, 600, 500));
    const Image img = headless::plotWindowImage(1);
    EXPECT_EQ(img.width, 600);
    EXPECT_EQ(img.height, 465);
    expectDiagonal(img, 600, 465);
    for (const auto& g : headless::plotWindowGadgets(1))
        if (g.id == plotGadgetId(1, kCloseButton)) {
            EXPECT_EQ(g.y, 475);
        }
    EXPECT_FALSE(headless::resizePlotWindow(1, 0, 100));
}

TEST_F(PlotTest, SavedPictureIsAJpegOfTheWindow) {
    ASSERT_EQ(aPlot("x; 0; x; 1; 100", 1, identity()), 1);
    const std::string name = savePlot(1, path("one.jpg"));
    EXPECT_EQ(name, path("one.jpg"));
    const Image pic = testjpeg::readJpeg(name);
    ASSERT_EQ(pic.width, 400);
    ASSERT_EQ(pic.height, 400);
    expectDiagonal(pic, 400, 365);
    // The clipboard holds the same picture.
    Image clip;
    ASSERT_TRUE(platform::clipboardPicture(clip));
    EXPECT_EQ(clip.width, 400);
    EXPECT_EQ(clip.height, 400);
}

TEST_F(PlotTest, NumberedPicturesCountOverTheWholeLoad) {
    ASSERT_EQ(aPlot("x; 0; x; 1; 10", 1, identity()), 1);
    // Without a "Quillet" sub-folder the pictures land beside the host program.
    for (int i = 1; i <= 11; ++i) {
        if (i == 6) {
            // A new run does not restart the numbers.
            closePlotWindows();
            ASSERT_EQ(aPlot("x; 0; x; 1; 10", 1, identity()), 1);
        }
        const std::string want =
            path(std::string("aPlotNr_") + (i < 10 ? "0" : "") + std::to_string(i) + ".jpg");
        std::string name;
        ASSERT_EQ(SavePlotPicture(1, "0", &name), 1) << i;
        EXPECT_EQ(name, want);
        EXPECT_TRUE(fs::exists(want)) << want;
    }
    EXPECT_EQ(pictureCounter(), 11);
    // With it they land there.
    fs::create_directories(dir_ / "Quillet");
    EXPECT_EQ(savePlot(1, "0"), path("Quillet/aPlotNr_12.jpg"));
    // A folder is created when missing and continues the numbering.
    EXPECT_EQ(savePlotInFolder(1, path("pics/a")), path("pics/a/aPlotNr_13.jpg"));
    EXPECT_EQ(savePlot(1, path("pics/a") + "\\"), path("pics/a") + "\\aPlotNr_14.jpg");
    EXPECT_TRUE(fs::exists(dir_ / "pics" / "a" / "aPlotNr_14.jpg"));
    // "-1" takes a name no picture has yet.
    fs::create_directories(dir_ / "Quillet");
    std::ofstream(dir_ / "Quillet" / "aPlotNr_1000.jpg") << "x";
    const std::string unique1 = savePlot(1, "-1");
    const std::string unique2 = savePlot(1, "-1");
    EXPECT_EQ(unique1, path("Quillet/aPlotNr_1001.jpg"));
    EXPECT_EQ(unique2, path("Quillet/aPlotNr_1002.jpg"));
    EXPECT_EQ(pictureCounter(), 14);
    // The clipboard alone: no file.
    EXPECT_EQ(SavePlotPicture(1, "", nullptr), 1);
    EXPECT_EQ(savePlot(1, ""), "");
    // The reset of a load starts again at 01.
    resetPlots();
    ASSERT_EQ(aPlot("x; 0; x; 1; 10", 1, identity()), 1);
    EXPECT_EQ(savePlot(1, "0"), path("Quillet/aPlotNr_01.jpg"));
}

TEST_F(PlotTest, FailedCaptureOrSaveReturnsZero) {
    ASSERT_EQ(aPlot("x; 0; x; 1; 10", 1, identity()), 1);
    platform::setClipboardText("keep me");
    headless::setCaptureFails(true);
    std::string name = "unchanged";
    EXPECT_EQ(SavePlotPicture(1, "0", &name), 0);
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(platform::clipboardText(), "keep me");
    EXPECT_EQ(pictureCounter(), 0);
    headless::setCaptureFails(false);
    EXPECT_EQ(SavePlotPicture(7, "0", &name), 0);  // no such window
    // A file that cannot be written: 0, and no file left behind.
    EXPECT_EQ(SavePlotPicture(1, path("missing/dir/x.jpg"), &name), 0);
    EXPECT_FALSE(fs::exists(path("missing/dir/x.jpg")));
    EXPECT_TRUE(headless::shownMessages().empty());
}

TEST_F(PlotTest, PointTableFileIsTheTableText) {
    // Long tables are written a block of rows at a time: the file must still
    // be the whole text, whatever the number of rows.
    for (int steps : {1, 4095, 4096, 10000}) {
        const std::string file = path("rows.txt");
        ASSERT_EQ(aPlot("x; -3; x; 7; " + std::to_string(steps) + "; " + file, 1, identity()), 1);
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str(), pointTableText(*plotEntry(1))) << steps;
    }
}

TEST_F(PlotTest, ThePlotsOfARunHoldABoundedNumberOfPoints) {
    // Sixteen plots of a million steps fit; a seventeenth does not, but a
    // plot that replaces one of them does.
    for (int n = 1; n <= 16; ++n) ASSERT_EQ(aPlot("x; 0; x; 1; 1000000", n, identity()), 1) << n;
    LogError("", 0, "", kLogClear);
    EXPECT_EQ(aPlot("x; 0; x; 1; 1000000", 17, identity()), 0);
    EXPECT_EQ(eError(), ErrorCode::InvalidArgument);
    EXPECT_NE(errorLog().find("all plots together"), std::string::npos);
    EXPECT_FALSE(platform::plotWindowExists(17));
    EXPECT_EQ(aPlot("x; 0; x; 1; 1000000", 16, identity()), 1);
    closePlotWindows();
    EXPECT_EQ(aPlot("x; 0; x; 1; 1000000", 17, identity()), 1);
}
