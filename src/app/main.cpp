#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/StartupWarmup.h"
#include "extlib/QtKobuRes.h"
#include "platform/Clock.h"
#include "platform/DesktopLook.h"
#include "platform/DesktopShell.h"
#include "platform/EventLoopSleeper.h"
#include "platform/InstallPaths.h"
#include "platform/SettingsLocation.h"
#include "platform/QtMessageBox.h"
#include "platform/audio/SdlAudioDevice.h"
#include "platform/audio/SdlMixer.h"
#include "platform/audio/SdlPcmPlayer.h"
#include "platform/speech/BackgroundSpeechEngine.h"
#include "platform/speech/InstalledVoices.h"
#include "platform/speech/Voice.h"
#include "platform/speech/VoicePlaceNames.h"
#include "reading/GazetteerFile.h"
#include "reading/TownListFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QTimer>
#include <QTranslator>

#include <memory>

int main(int argc, char** argv)
{
    if (const auto status = fareboard::answerCommandLine(argc, argv))
        return *status;
    fareboard::StartupWarmup warmup;
    QApplication qtApp(argc, argv);
    // The board's digits and dots are drawn by the program; the windows around them use the
    // Japanese gothic face a Japanese desktop would.
    qtApp.setFont(QFont(QStringLiteral("IPAPGothic"), 9));
    qtApp.setWindowIcon(fareboard::programIcon());
    QTranslator qtJapanese;
    if (fareboard::loadQtJapanese(qtJapanese))
        QCoreApplication::installTranslator(&qtJapanese);
    warmup.applicationReady();

    const QString baseName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();

    fareboard::QtMessageBox messageBox;
    fareboard::EventLoopSleeper sleeper;
    fareboard::SystemClock clock;
    fareboard::QtKobuRes library;
    // Told from inside a board update; shown once that update is over, not in the middle of it.
    library.setPluginFaultHandler([&messageBox](const QString&, const QString& message) {
        QMetaObject::invokeMethod(
            qApp,
            [&messageBox, message] {
                messageBox.show(message, QStringLiteral("プラグインロードエラー"), fareboard::MessageBox::Icon::Critical,
                                fareboard::MessageBox::Buttons::Ok);
            },
            Qt::QueuedConnection);
    });
    fareboard::DesktopShell shell;
    fareboard::SdlMixer mixer;
    fareboard::SdlAudioDevice audio(mixer);
    fareboard::SdlPcmPlayer voiceChannel(mixer, baseName + QStringLiteral("Voice"));

    // The settings file follows the executable's name: beside it, or in the user's
    // configuration folder when the program is installed where it cannot write.
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString plugin = fareboard::shippedFile(exeDir, QStringLiteral("sample.4SP"));
    fareboard::ApplicationConfig config{baseName, fareboard::settingsFileLocation(exeDir, baseName),
                                        fareboard::demoFolder(exeDir),
                                        QFileInfo::exists(plugin) ? plugin : QString()};
    // The voice's own settings sit beside the other per-user files; the .in4 layout has no room.
    const QString speechSettings = fareboard::userConfigHome() + QLatin1Char('/') + baseName + QStringLiteral("/speech.conf");
    // So do the operation panel's and the stop-request bell's.
    config.operationSettingsPath = fareboard::userConfigHome() + QLatin1Char('/') + baseName + QStringLiteral("/operation.conf");
    // Imported feeds are the user's data, kept whatever the program's folder.
    config.routesHome = fareboard::userDataHome() + QStringLiteral("/fareboard/routes");
    // Read by the speech worker at its first text, never before the windows are up.
    const fareboard::GazetteerFile gazetteer;
    const fareboard::TownListFile towns(fareboard::shippedFile(exeDir, QString::fromLatin1(fareboard::TownListFile::kFileName)));
    // Each engine's worker reads its place names with a reader of its own, which keeps the
    // region of the tape it was last given.
    auto readPlaces = [&gazetteer, &towns] {
        auto names = std::make_shared<fareboard::PlaceNames>(gazetteer, towns);
        return [names](const QString& text, const QStringList& tape, fareboard::Voice& voice, bool background) {
            return names->read(text, tape, voice, background);
        };
    };
    fareboard::PlatformServices services{messageBox, sleeper, clock, library, shell, audio, [&voiceChannel, speechSettings, readPlaces] {
                                             return std::unique_ptr<fareboard::SpeechEngine>(
                                                 fareboard::BackgroundSpeechEngine::create(
                                                     voiceChannel, fareboard::installedVoices(),
                                                     fareboard::makeInstalledVoice, speechSettings, readPlaces()));
                                         }};
    fareboard::Application app(services, config);
    app.start();
    // The sound card opens once the windows are on screen; a sound asked for before then waits
    // for it instead of being lost.
    QTimer::singleShot(0, &qtApp, [&mixer] { mixer.openInBackground(); });
    const int status = qtApp.exec();
    warmup.join();
    return status;
}
