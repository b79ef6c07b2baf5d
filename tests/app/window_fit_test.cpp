// The main window on a 1366x768 laptop screen, at the usual font and at 125 % text: it
// opens with its title bar and menu on the screen, its contents scroll, and the device
// buttons show their whole captions. The screen is the offscreen platform's, made small
// by this program's own main() below.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>

#include "TfrMain.h"
#include "app_paths.h"
#include "app_windows.h"
#include "temp_dir.h"
#include "window_fit.h"

namespace {

constexpr QSize kLaptop(1366, 768);

TEST(FitWindow, SizeAndPlaceForTheScreen) {
    const QMargins frame(4, 32, 4, 4);
    const struct {
        const char *name;
        QSize layoutMinimum;
        QRect available;
        QSize size;
        QPoint pos;
    } rows[] = {
        {"a large screen keeps the design size, centred", {600, 700}, {0, 0, 1920, 1080}, {669, 862}, {621, 91}},
        {"a laptop keeps the title bar on screen", {600, 700}, {0, 0, 1366, 728}, {669, 692}, {344, 0}},
        {"a larger font grows the window", {760, 900}, {0, 0, 1920, 1200}, {760, 900}, {576, 132}},
        {"a second screen to the right", {600, 700}, {1920, 0, 1366, 728}, {669, 692}, {2264, 0}},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        const QSize size = FitWindowSize({669, 862}, r.layoutMinimum, r.available, frame);
        EXPECT_EQ(size, r.size);
        EXPECT_EQ(FitWindowFramePos(size, r.available, frame), r.pos);
    }
}

TEST(FitWindow, CompareWindowOpensBesideTheMainWindow) {
    const struct {
        const char *name;
        QRect main;
        QSize window;
        QRect available;
        QPoint pos;
    } rows[] = {
        {"room on the right", {100, 50, 677, 898}, {420, 500}, {0, 0, 1920, 1080}, {777, 50}},
        {"room on the left only", {900, 50, 677, 898}, {420, 500}, {0, 0, 1920, 1080}, {480, 50}},
        {"no room beside it: over the main window", {344, 0, 677, 768}, {420, 500}, {0, 0, 1366, 768}, {472, 0}},
        {"kept inside the screen vertically", {100, 700, 677, 300}, {420, 500}, {0, 0, 1920, 1080}, {777, 580}},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(BesideMainWindow(r.main, r.window, r.available), r.pos);
    }
}

class WindowOnLaptop : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override {
        m_font = QApplication::font();
        QFont larger = m_font;
        larger.setPointSizeF(m_font.pointSizeF() * GetParam());
        QApplication::setFont(larger);
        SetSettingsDirOverride(m_dir.path());
        m_windows = CreateAppWindows();
    }
    void TearDown() override {
        m_windows.main.reset();
        SetSettingsDirOverride({});
        QApplication::setFont(m_font);
    }
    TempDir m_dir;
    QFont m_font;
    AppWindows m_windows;
};

TEST_P(WindowOnLaptop, FitsTheScreenAndShowsWholeCaptions) {
    TfrMain &w = *m_windows.main;
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), kLaptop);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    w.show();
    EXPECT_GE(w.y(), available.top()) << "title bar and menu on the screen";
    EXPECT_LE(w.y() + w.height(), available.bottom() + 1) << "the log's bottom edge on the screen";
    EXPECT_GE(w.x(), available.left());
    EXPECT_LE(w.x() + w.width(), available.right() + 1);
    // The contents are taller than the room left: they scroll rather than being cut.
    auto *scroll = w.findChild<QScrollArea *>("pnScroll");
    ASSERT_NE(scroll, nullptr);
    EXPECT_GE(scroll->widget()->height(), scroll->widget()->minimumSizeHint().height());

    const char *captions[] = {"Прочитать параметры с ПД", "Текушие напряжения на ПД", "Файловый менеджер ПД"};
    QPushButton *buttons[] = {w.findChild<QPushButton *>("bdReadCom"), w.findChild<QPushButton *>("btGetVoltage"),
                              w.findChild<QPushButton *>("btFileManager")};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(captions[i]);
        ASSERT_NE(buttons[i], nullptr);
        buttons[i]->setText(QString::fromUtf8(captions[i]));
        EXPECT_GE(buttons[i]->width(), buttons[i]->sizeHint().width()) << "the whole caption shows";
    }
}

INSTANTIATE_TEST_SUITE_P(TextSizes, WindowOnLaptop, ::testing::Values(1.0, 1.25, 1.5),
                         [](const ::testing::TestParamInfo<double> &info) {
                             return "percent" + std::to_string(int(info.param * 100));
                         });

} // namespace

// A 1366x768 offscreen screen for this program, before the application object exists.
int main(int argc, char **argv) {
    QTemporaryDir dir;
    const QString config = dir.filePath("laptop.json");
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly))
        return 2;
    f.write(R"({"screens": [{"name": "laptop", "x": 0, "y": 0, "width": 1366, "height": 768,
                "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    f.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
