#pragma once

namespace fareboard {

class MessageBox;
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
};

}  // namespace fareboard
