#pragma once

#include "board/SettingsStore.h"
#include "console/DataIo.h"
#include "platform/PlatformServices.h"

#include <QString>

#include <memory>

namespace fareboard {

class Form1;
class GlyphSource;

// Where this run keeps its files and what it is called. The program derives them from its own
// executable; tests point them at a scratch folder.
struct ApplicationConfig {
    QString exeBaseName;   // also the board's model name and the sound channels' prefix
    QString settingsPath;  // <folder>/<exeBaseName>.in4
};

// Owns everything one run of the program has: the route table, the settings store and the
// windows. There are no globals; a test builds one with fake services and throws it away.
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

    Form1& board();

    // Creates and shows the windows.
    void start();

private:
    PlatformServices services_;
    ApplicationConfig config_;
    DataIo dataIo_;
    SettingsStore settings_;
    // One glyph source for every stop-name column, so its cache of rendered glyphs is shared.
    std::shared_ptr<GlyphSource> glyphs_;
    std::unique_ptr<Form1> board_;
};

}  // namespace fareboard
