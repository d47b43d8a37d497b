#pragma once

#include "BroadcastData.h"
#include "ReadingsLoader.h"
#include "platform/speech/SpokenText.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace fareboard {

class SpeechEngine;
class TapeHost;
class mdlSndAPI;

// The announcement tape: the broadcast data of the current route, the position on it and the
// speech engine. The console's tape buttons drive it; after "送り" and "戻し" the console
// reads TapePos() and TapeStepAt(TapePos()) to decide whether the fares step along.
// Failures are silent and leave the console usable.
class mdlM_Tape {
public:
    // Makes the speech engine; an empty pointer means speech is not available here.
    using EngineFactory = std::function<std::unique_ptr<SpeechEngine>()>;

    mdlM_Tape(TapeHost& host, mdlSndAPI& sound, EngineFactory makeEngine);
    ~mdlM_Tape();
    mdlM_Tape(const mdlM_Tape&) = delete;
    mdlM_Tape& operator=(const mdlM_Tape&) = delete;

    void TapeInit();
    // Reads <folder>/<name>tp.csv, e.g. "12tp.csv" for route "12".
    void TapeLoad(const QString& folder, const QString& name);
    // After a reset that starts the board at `row`: the next "送り" plays the announcement
    // that steps the board on from there (at the first row, the tape's first entry).
    void TapeCue(int row);
    void TapeNext();
    void TapeBack();
    void TapeStop();
    void TapeAdjust();
    void TapeSpeak(int32_t pos);

    int32_t TapePos() const { return pos_; }
    int32_t TapeCount() const { return count_; }
    int16_t TapeStepAt(int32_t pos) const;
    int16_t TapeFlagAt(int32_t pos) const;
    bool TapeUsable() const { return usable_; }
    const TapeEntry* entryAt(int32_t pos) const;

    // Lets the speech engine go at shutdown, before the settings are saved.
    void releaseEngine();

    // The stop-request bell and the timetable run speak through the tape's voice; none when
    // speech is not available (or after the release at shutdown).
    SpeechEngine* voice() const { return engine_.get(); }
    // Plays entry pos, chime and text, as "送り" does on reaching it from the entry before, and
    // leaves the tape there; a timetable run announces the stop it moved the board to.
    void TapePlayAt(int32_t pos);

    // The broadcast data file of a route in a folder: "<folder>/<name>tp.csv".
    static QString fileName(const QString& folder, const QString& name);

    // The readings of a broadcast folder, "<folder>/readings.csv"; bad lines are skipped and
    // a missing or unreadable file gives none. `refusal`, when given, gets why a file that is
    // there was not used (for the tape group's tool tip).
    static ReadingTable readingsOf(const QString& folder, QString* refusal = nullptr);
    // A readings file's bytes, whole: past kMaxReadingsBytes AppError 6 and none of it.
    static QByteArray readingsFileBytes(const QString& path);
    // The folder's readings are still being read; what is spoken meanwhile waits for them.
    bool readingsPending() const { return readingsLoader_.pending(); }
    // Entry pos as the voice is given it: the folder's readings over the built-in ones.
    QString spokenAt(int32_t pos) const;

private:
    bool onVista();
    void setGroup(bool usable);
    void playChime(const QString& file, const char* kind);
    void loadReadings(const QString& folder);
    void readingsLoaded(ReadingTable table, const QString& refusal);
    void showToolTip();

    TapeHost& host_;
    mdlSndAPI& sound_;
    EngineFactory makeEngine_;
    std::unique_ptr<SpeechEngine> engine_;
    std::vector<TapeEntry> tape_;
    std::vector<QString> spoken_;
    ReadingTable readings_;
    ReadingsLoader readingsLoader_;
    int32_t speakWhenRead_ = 0;  // the entry asked for while the readings were still read
    // What the tape group's tool tip tells: why the broadcast data or the readings were not
    // read, and which voice failed.
    QString loadTip_, readingsTip_, voiceTip_;
    int32_t count_ = 0;
    int32_t pos_ = 0;
    bool usable_ = false;
};

}  // namespace fareboard
