#pragma once

#include <functional>
#include <memory>

namespace fareboard {

class AudioDevice;
class MessageBox;
class Shell;
class SpeechEngine;
class Sleeper;
class Clock;
class KobuRes;

// The host services one Application uses. The program hands in the real ones, a test its fakes;
// the Application never owns them.
struct PlatformServices {
    MessageBox& messageBox;
    Sleeper& sleeper;
    Clock& clock;
    KobuRes& library;  // the dialog and utility library
    Shell& shell;
    AudioDevice& audio;
    // Makes the announcement voice; an empty result means speech is not available.
    std::function<std::unique_ptr<SpeechEngine>()> makeSpeechEngine;
};

}  // namespace fareboard
