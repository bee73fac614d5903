#include "platform/qt/QtScreens.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using markvane::platform::QtScreens;
using markvane::platform::ScreenInfo;

namespace {

// Set in the child process that runs with several offscreen displays.
constexpr char kChildVariable[] = "MARKVANE_TEST_SEVERAL_SCREENS";

// A main display, a display at twice the scale to its right, and one above
// and to its left. Qt keeps a scaled display's origin in device pixels and
// halves its size.
constexpr char kScreensJson[] = R"({"screens": [
  {"name": "DP-1", "x": 0, "y": 0, "width": 1920, "height": 1080,
   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
  {"name": "HDMI-1", "x": 1920, "y": 0, "width": 2560, "height": 1440,
   "logicalDpi": 192, "logicalBaseDpi": 96, "dpr": 1},
  {"name": "DP-2", "x": -1000, "y": -800, "width": 1000, "height": 800,
   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}
]})";

// Runs this test again in a new process whose Qt sees the displays above.
void runWithSeveralScreens(const char* testName) {
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kScreensJson);
    file.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    env.insert(QLatin1String(kChildVariable), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + QLatin1String(testName)});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("[  PASSED  ] 1 test"))) << output.toStdString();
}

} // namespace

TEST(QtScreens, DisplayNumber_IsFnv1aAndNeverZero) {
    EXPECT_EQ(QtScreens::displayNumber(QStringLiteral("a")), 0xE40C292Cu); // published vector
    EXPECT_NE(QtScreens::displayNumber(QStringLiteral("DP-1")),
              QtScreens::displayNumber(QStringLiteral("DP-2")));
    EXPECT_NE(QtScreens::displayNumber(QString()), 0u);
}

TEST(QtScreens, SeveralDisplays_AreReportedInGlobalPointsWithTheirScale) {
    if (!qEnvironmentVariableIsSet(kChildVariable)) {
        runWithSeveralScreens("QtScreens.SeveralDisplays_AreReportedInGlobalPointsWithTheirScale");
        return;
    }
    QtScreens screens;
    QMap<QString, ScreenInfo> byName;
    for (const ScreenInfo& screen : screens.screens())
        byName.insert(screen.name, screen);
    ASSERT_EQ(byName.keys(), (QStringList{"DP-1", "DP-2", "HDMI-1"}));

    const ScreenInfo main = byName["DP-1"], right = byName["HDMI-1"];
    EXPECT_TRUE(main.isMain);
    EXPECT_FALSE(right.isMain);
    EXPECT_EQ(main.frame, QRectF(0, 0, 1920, 1080));
    EXPECT_EQ(main.backingScale, 1.0);
    EXPECT_EQ(main.number, QtScreens::displayNumber(QStringLiteral("DP-1")));
    EXPECT_EQ(right.frame, QRectF(1920, 360, 1280, 720));
    EXPECT_EQ(right.backingScale, 2.0);
    EXPECT_EQ(byName["DP-2"].frame, QRectF(-1000, 1080, 1000, 800));

    EXPECT_EQ(screens.mainScreen()->name, QStringLiteral("DP-1"));
    QCursor::setPos(2000, 100);
    EXPECT_EQ(screens.pointerLocation(), QPointF(2000, 980));
    EXPECT_EQ(screens.screenContaining(screens.pointerLocation())->name, QStringLiteral("HDMI-1"));
}
