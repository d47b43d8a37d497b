#include "app/Application.h"
#include "board/mdlIniIo.h"
#include "extlib/QtKobuRes.h"
#include "platform/Clock.h"
#include "platform/EventLoopSleeper.h"
#include "platform/QtMessageBox.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);

    fareboard::QtMessageBox messageBox;
    fareboard::EventLoopSleeper sleeper;
    fareboard::SystemClock clock;
    fareboard::QtKobuRes library;

    // The settings file sits next to the executable and follows its name.
    const QString baseName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    fareboard::ApplicationConfig config{
        baseName, fareboard::mdlIniIo::settingsFilePath(QCoreApplication::applicationDirPath(), baseName)};

    fareboard::Application app({messageBox, sleeper, clock, library}, config);
    app.start();
    return qtApp.exec();
}
