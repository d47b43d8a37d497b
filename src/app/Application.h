#pragma once

#include "board/SettingsStore.h"
#include "console/DataIo.h"
#include "platform/AppError.h"
#include "platform/PlatformServices.h"

#include <QString>

#include <memory>
#include <optional>

namespace fareboard {

class ConsoleMenu;
class Form1;
class GlyphSource;
class Operation;
class RouteImport;
class frmCtl;
class frmOption;
class mdlM_Tape;
class mdlSndAPI;
class AppTapeHost;

// Where this run keeps its files and what it is called. The program derives them from its own
// executable; tests point them at a scratch folder.
struct ApplicationConfig {
    QString exeBaseName;   // also the board's model name and the sound channels' prefix
    QString settingsPath;  // <folder>/<exeBaseName>.in4
    // What a first start offers before the user has chosen anything: the bundled demo route
    // and its chimes, and the sample ticket plug-in. Empty: the dialog's bare defaults.
    QString demoFolder = {};
    QString samplePlugin = {};
    // The operation panel's and the stop-request bell's own settings; empty keeps none.
    QString operationSettingsPath = {};
    // Where imported feeds' routes are kept, one folder per operator; empty: no import here.
    QString routesHome = {};
};

// Owns everything one run of the program has: the route table, the settings store, the sound
// channels, the tape and the three windows. There are no globals; a test builds one with fake
// services and throws it away.
class Application {
public:
    Application(PlatformServices services, ApplicationConfig config);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The title of the program's message boxes.
    QString title() const { return config_.exeBaseName; }
    const ApplicationConfig& config() const { return config_; }
    PlatformServices& services() { return services_; }

    DataIo& dataIo() { return dataIo_; }
    SettingsStore& settings() { return settings_; }
    Form1& board() { return *board_; }
    frmOption& options() { return *options_; }
    frmCtl& console() { return *console_; }
    mdlSndAPI& sound() { return *sound_; }
    mdlM_Tape& tape() { return *tape_; }
    // The console's background menu, which the windows beyond the three add their entries to.
    ConsoleMenu& consoleMenu() { return *consoleMenu_; }
    // The operation panel and the stop-request bell; made at the end of the start-up.
    Operation* operation() { return operation_.get(); }
    // The feed import and the route list; made at the end of the start-up when the run has a
    // routes home.
    RouteImport* routeImport() { return routeImport_; }

    // The start-up: sound channels closed, digits zeroed, the console shown at the bottom right
    // (or where the settings put it), the options dialog built with its defaults and the
    // built-in panel, the board at the top left and shaped, settings loaded.
    void start();

    // Board layout steps of the start-up.
    void InitDegitValues();
    void InitPanel();
    // The demo route, its chimes and the sample plug-in as the dialog's initial values, so a
    // first start can drive a route at once; a settings file replaces them.
    void InitDemoDefaults();
    // Applies the options dialog to the board and the console (its OK button).
    void SetProp();

    // The settings file as start-up reads it, once: the store, or the fault that stopped the read.
    struct StoredSettings {
        SettingsStore store;
        std::optional<AppError> fault;
        QByteArray damaged;  // a file that ends early: what it does hold
    };
    StoredSettings readStoredSettings() const;

    // Applies the settings file as start-up read it, or reports why it could not be read.
    void LoadIni(const StoredSettings& read);
    // Writes the settings file at the confirmed close.
    void SaveIni();

private:
    void showConsole(const StoredSettings& stored);
    void applySettings(const SettingsStore& s);
    void gatherSettings(SettingsStore& s);
    void buildOptions();
    void buildOperation();
    void buildRouteImport();

    PlatformServices services_;
    ApplicationConfig config_;
    DataIo dataIo_;
    SettingsStore settings_;
    // One glyph source for every stop-name column, so its cache of rendered glyphs is shared.
    std::shared_ptr<GlyphSource> glyphs_;
    std::unique_ptr<mdlSndAPI> sound_;
    std::unique_ptr<Form1> board_;
    std::unique_ptr<frmOption> options_;
    std::unique_ptr<frmCtl> console_;
    std::unique_ptr<AppTapeHost> tapeHost_;
    std::unique_ptr<mdlM_Tape> tape_;
    ConsoleMenu* consoleMenu_ = nullptr;  // the console's own
    std::unique_ptr<Operation> operation_;
    RouteImport* routeImport_ = nullptr;  // the console's too
    // The settings file could not be read: it is copied aside before the first save over it.
    bool keepDamagedFile_ = false;
};

}  // namespace fareboard
