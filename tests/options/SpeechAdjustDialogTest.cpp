#include "options/SpeechAdjustDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

#include <vector>

namespace fareboard {
namespace {

TEST(SpeechAdjustDialog, OffersTheInstalledVoicesAndAuditionsTheValuesShown)
{
    SpeechSettings start;
    start.voice = VoiceKind::Espeak;
    start.rate = 130;
    SpeechAdjustDialog dialog(start, {VoiceKind::OpenJTalk, VoiceKind::Espeak}, QStringLiteral("音声の調節"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("音声の調節"));
    auto* voice = dialog.findChild<QComboBox*>(QStringLiteral("voice"));
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->count(), 2);
    EXPECT_EQ(dialog.settings(), start);

    dialog.findChild<QSlider*>(QStringLiteral("pitch"))->setValue(-3);
    dialog.findChild<QSlider*>(QStringLiteral("volume"))->setValue(500);
    std::vector<SpeechSettings> heard;
    QObject::connect(&dialog, &SpeechAdjustDialog::auditionRequested, [&](const SpeechSettings& s) { heard.push_back(s); });
    dialog.findChild<QPushButton*>(QStringLiteral("audition"))->click();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].pitch, -3);
    EXPECT_EQ(heard[0].volume, SpeechSettings::kMaxVolume);
    EXPECT_EQ(heard[0].voice, VoiceKind::Espeak);

    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::RestoreDefaults)->click();
    EXPECT_EQ(dialog.settings(), SpeechSettings{});
}

}  // namespace
}  // namespace fareboard
