#pragma once

#include "SpeechSettings.h"

#include <memory>
#include <vector>

namespace fareboard {

class Voice;

// The voices on this machine, best first: Open JTalk, then espeak-ng. Decided from their
// files alone, so asking costs nothing at start-up.
std::vector<VoiceKind> installedVoices();

// A voice of that kind as installed (espeak-ng with the shipped bus-word dictionary).
std::unique_ptr<Voice> makeInstalledVoice(VoiceKind kind);

// Where the program finds its bus-word dictionary for the analyser: beside the executable,
// or in the installed data folder.
QString busWordDictionary();

}  // namespace fareboard
