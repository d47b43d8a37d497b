#include "SpeechAdjustDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace fareboard {

SpeechAdjustDialog::SpeechAdjustDialog(const SpeechSettings& settings, const std::vector<VoiceKind>& voices,
                                       const QString& title, QWidget* owner)
    : QDialog(owner)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    voice_ = new QComboBox(this);
    voice_->setObjectName(QStringLiteral("voice"));
    for (VoiceKind kind : voices)
        voice_->addItem(voiceName(kind), int(kind));
    form->addRow(QStringLiteral("音声"), voice_);

    auto add = [&](const QString& name, const QString& label, int min, int max, int value) {
        QSlider* slider = addSlider(name, min, max, value);
        auto* shown = new QLabel(this);
        shown->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-200")));
        auto show = [shown, name](int v) {
            shown->setText(name == QLatin1String("pitch") && v > 0 ? QStringLiteral("+%1").arg(v) : QString::number(v));
        };
        show(value);
        connect(slider, &QSlider::valueChanged, shown, show);
        auto* row = new QHBoxLayout;
        row->addWidget(slider, 1);
        row->addWidget(shown);
        form->addRow(label, row);
        return slider;
    };
    rate_ = add(QStringLiteral("rate"), QStringLiteral("速さ (%)"), SpeechSettings::kMinRate, SpeechSettings::kMaxRate,
                settings.rate);
    pitch_ = add(QStringLiteral("pitch"), QStringLiteral("高さ (半音)"), SpeechSettings::kMinPitch,
                 SpeechSettings::kMaxPitch, settings.pitch);
    volume_ = add(QStringLiteral("volume"), QStringLiteral("音量 (%)"), SpeechSettings::kMinVolume,
                  SpeechSettings::kMaxVolume, settings.volume);
    showValues(settings);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("標準に戻す"));
    QPushButton* listen = buttons->addButton(QStringLiteral("試聴"), QDialogButtonBox::ActionRole);
    listen->setObjectName(QStringLiteral("audition"));
    connect(listen, &QPushButton::clicked, this, [this] { emit auditionRequested(this->settings()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this, [this] {
        SpeechSettings defaults;
        defaults.voice = VoiceKind(voice_->itemData(0).toInt());
        showValues(defaults);
    });
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void SpeechAdjustDialog::showValues(const SpeechSettings& settings)
{
    const int index = voice_->findData(int(settings.voice));
    voice_->setCurrentIndex(index < 0 ? 0 : index);
    rate_->setValue(settings.rate);
    pitch_->setValue(settings.pitch);
    volume_->setValue(settings.volume);
}

QSlider* SpeechAdjustDialog::addSlider(const QString& name, int min, int max, int value)
{
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(name);
    slider->setRange(min, max);
    slider->setValue(value);
    slider->setPageStep(std::max(1, (max - min) / 10));
    return slider;
}

SpeechSettings SpeechAdjustDialog::settings() const
{
    SpeechSettings s;
    s.voice = voice_->count() > 0 ? VoiceKind(voice_->currentData().toInt()) : VoiceKind::OpenJTalk;
    s.rate = rate_->value();
    s.pitch = pitch_->value();
    s.volume = volume_->value();
    return s;
}

}  // namespace fareboard
