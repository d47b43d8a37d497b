#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace fareboard {

// The user's settings as stored in the settings file: eleven records, in file order. While the
// program runs the windows' controls hold the live values; this is their image at start-up and
// at shutdown. Check boxes hold 0/1, option buttons -1 (selected) / 0, list indexes -1 for none,
// colours 0x00BBGGRR, window places twips.

struct DataDirSettings {
    QString FareDataDir;
    QString TapeDataDir;
};

struct PanelSettings {
    int16_t AutoSeiriNum = 0;
    int32_t PanelColor0 = 0;
    int32_t PanelColor1 = 0;
    int32_t PanelColor2 = 0;
    int16_t PanelListIndex = 0;
    int16_t SeiriNumZeroPad = 0;
    // Stored in this order: 0, 1, 7, 6, 3, 2, 4, 5.
    int16_t PanelOpt0 = 0;
    int16_t PanelOpt1 = 0;
    int16_t PanelOpt7 = 0;
    int16_t PanelOpt6 = 0;
    int16_t PanelOpt3 = 0;
    int16_t PanelOpt2 = 0;
    int16_t PanelOpt4 = 0;
    int16_t PanelOpt5 = 0;
    QString UserPanelFile0;
    QString UserPanelFile1;
    QString UserPanelFile2;
};

struct DegitSettings {
    int32_t DegitBackColor = 0;
    int32_t DegitBaseForeColor = 0;
    int32_t DegitForeColor = 0;
    int16_t InfoDigitFlag0 = 0;
    int16_t InfoDigitCol0 = 0;
    int16_t InfoDigitFlag4 = 0;
    int16_t InfoDigitFlag1 = 0;
    int16_t InfoDigitCol1 = 0;
    int16_t InfoDigitFlag2 = 0;
    int16_t InfoDigitCol2 = 0;
    int16_t InfoDigitFlag3 = 0;
    int16_t InfoDigitCol4 = 0;
    int16_t InfoDigitCol3 = 0;
};

struct ChimeiSettings {
    int32_t ChimeiBackColor = 0;
    int32_t ChimeiForeColor = 0;
    int16_t ChimeiListIndex = 0;
    int16_t ChimeiBold = 0;
};

struct SoundSettings {
    QString SoundFile0;
    QString SoundFile1;
    int16_t FareSoundMode0 = 0;
    int16_t FareSoundMode1 = 0;
    int16_t FarePlaySync0 = 0;
    int16_t FarePlaySync1 = 0;
    QString SoundFile7;
    int16_t SoundListIndex = 0;
    QString SoundFile8;
    QString SoundFile9;
    QString SoundFile10;
    int16_t TapeSoundMode2 = 0;
    int16_t TapeSoundMode3 = 0;
    int16_t TapePlaySync0 = 0;
    int16_t TapePlaySync1 = 0;
    QString SoundFile3;
    QString SoundFile4;
    QString SoundFile5;
    QString SoundFile6;
};

struct SeiriPrevSettings {
    int16_t UseSeiriPrev = 0;
    QString SeiriPlgDir;
    int16_t DateMode0 = 0;
    int16_t DateMode1 = 0;
    int16_t DateMode2 = 0;
    QString FixedDate;
};

struct CtlSettings {
    int16_t CtlFrontPanel = 0;
    int32_t CtlScroll0 = 0;
    int32_t CtlScroll1 = 0;
    int16_t LateNightFare = 0;
    int16_t PreviewOpen = 0;
    int32_t CtlLeft = 0;
    int32_t CtlTop = 0;
};

struct BoardPos {
    int32_t BoardLeft = 0;
    int32_t BoardTop = 0;
};

struct DegitAttr {
    int16_t Shift = 0;
    int16_t ZeroMode = 0;
    int16_t FillZero = 0;
};

struct SettingsStore {
    static constexpr int kDegitCount = 24;
    static constexpr int kCustomColorCount = 17;

    DataDirSettings DataDir;
    PanelSettings Panel;
    DegitSettings Degit;
    ChimeiSettings Chimei;
    SoundSettings Sound;
    SeiriPrevSettings SeiriPrev;
    CtlSettings Ctl;
    BoardPos Board;
    std::array<int32_t, kCustomColorCount> CustomColors{};
    int16_t DegitCount = kDegitCount;  // always written as 24
    std::array<DegitAttr, kDegitCount> DegitAttrs{};  // Degit(1)..Degit(24)
};

}  // namespace fareboard
