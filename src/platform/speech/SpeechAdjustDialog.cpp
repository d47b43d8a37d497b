#include "SpeechAdjustDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace fareboard {

SpeechAdjustDialog::SpeechAdjustDialog(const SpeechSettings& settings, const QString& title, QWidget* owner)
    : QDialog(owner)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    auto add = [&](const QString& name, const QString& label, int min, int max, int value) {
        QSlider* slider = addSlider(name, min, max, value);
        form->addRow(label, slider);
        return slider;
    };
    rate_ = add(QStringLiteral("rate"), QStringLiteral("速さ"), SpeechSettings::kMinRate, SpeechSettings::kMaxRate,
                settings.rate);
    pitch_ = add(QStringLiteral("pitch"), QStringLiteral("高さ"), SpeechSettings::kMinPitch, SpeechSettings::kMaxPitch,
                 settings.pitch);
    volume_ = add(QStringLiteral("volume"), QStringLiteral("音量"), SpeechSettings::kMinVolume,
                  SpeechSettings::kMaxVolume, settings.volume);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::RestoreDefaults)->setText(QStringLiteral("標準に戻す"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this, [this] {
        const SpeechSettings defaults;
        rate_->setValue(defaults.rate);
        pitch_->setValue(defaults.pitch);
        volume_->setValue(defaults.volume);
    });
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QSlider* SpeechAdjustDialog::addSlider(const QString& name, int min, int max, int value)
{
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(name);
    slider->setRange(min, max);
    slider->setValue(value);
    slider->setPageStep((max - min) / 10);
    return slider;
}

SpeechSettings SpeechAdjustDialog::settings() const
{
    return {rate_->value(), pitch_->value(), volume_->value()};
}

}  // namespace fareboard
