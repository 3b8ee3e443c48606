// main() of the widget test programs: headless unless a display is asked for.
#include <QApplication>
#include <QDir>
#include <QTemporaryFile>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The headless screen is as large as a usual monitor (not the plugin's 800 pixels), so
    // that windows are sized and placed as users see them.
    // The file is named relative to the working folder: the platform's arguments are split
    // at colons, which a Windows path has.
    QTemporaryFile screens(QStringLiteral("hx-screens-XXXXXX.json"));
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && screens.open()) {
        screens.write(R"({"screens": [{"name": "offscreen", "x": 0, "y": 0, "width": 1920, "height": 1080,
                          "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QDir::current().relativeFilePath(screens.fileName()).toUtf8());
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QApplication app(argc, argv);
    // Programs the tests start get the plain platform: the file is this process's alone.
    if (platform.startsWith("offscreen:configfile="))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
