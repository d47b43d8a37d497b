#include "KobuResDialogs.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace fareboard {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

DigitSettingsDialog::DigitSettingsDialog(QWidget* owner, int16_t keta, int16_t zeroMode, int16_t shift,
                                         int16_t fillZero)
    : QDialog(owner), zeroMode_(new QComboBox(this)), shift_(new QSpinBox(this)), fillZero_(new QSpinBox(this))
{
    setWindowTitle(QStringLiteral("桁表示の設定"));
    zeroMode_->setObjectName(QStringLiteral("cboZeroMode"));
    shift_->setObjectName(QStringLiteral("spnShift"));
    fillZero_->setObjectName(QStringLiteral("spnFillZero"));

    zeroMode_->addItem(QStringLiteral("0 と空白は表示しない"), 0);
    zeroMode_->addItem(QStringLiteral("0 と空白は 0 と表示する"), 1);
    zeroMode_->addItem(QStringLiteral("-1 は 0 と表示し、0 は表示しない"), 2);
    zeroMode_->addItem(QStringLiteral("-1、0、空白は 0 と表示する"), 3);
    // A value outside the four modes can arrive from a stored control; offer it as it is so
    // that accepting the dialog without touching this list does not change it.
    if (zeroMode < 0 || zeroMode > 3)
        zeroMode_->addItem(QStringLiteral("値をそのまま表示する (%1)").arg(zeroMode), int(zeroMode));
    zeroMode_->setCurrentIndex(zeroMode_->findData(int(zeroMode)));

    const int cells = keta < 1 ? 1 : keta;
    shift_->setRange(0, cells - 1);
    shift_->setValue(shift);
    shift_->setSuffix(QStringLiteral(" 桁"));
    fillZero_->setRange(0, cells);
    fillZero_->setValue(fillZero);
    fillZero_->setSuffix(QStringLiteral(" 桁"));
    fillZero_->setSpecialValueText(QStringLiteral("しない"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("ゼロの表示:"), zeroMode_);
    form->addRow(QStringLiteral("右端の空白:"), shift_);
    form->addRow(QStringLiteral("ゼロ埋め:"), fillZero_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("表示桁数: %1").arg(keta), this));
    layout->addLayout(form);
    layout->addWidget(okCancel(this));
}

int16_t DigitSettingsDialog::zeroMode() const { return int16_t(zeroMode_->currentData().toInt()); }
int16_t DigitSettingsDialog::shift() const { return int16_t(shift_->value()); }
int16_t DigitSettingsDialog::fillZero() const { return int16_t(fillZero_->value()); }

VersionBox::VersionBox(QWidget* owner, const QString& text) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    auto* label = new QLabel(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
    label->setObjectName(QStringLiteral("lblVersion"));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(ok);
}

DateChooserDialog::DateChooserDialog(QWidget* owner, QDate start)
    : QDialog(owner), calendar_(new QCalendarWidget(this))
{
    setWindowTitle(QStringLiteral("日付の選択"));
    calendar_->setObjectName(QStringLiteral("calDate"));
    calendar_->setSelectedDate(start.isValid() ? start : QDate::currentDate());
    // A double click on a day is the quickest way to choose it.
    connect(calendar_, &QCalendarWidget::activated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(calendar_);
    layout->addWidget(okCancel(this));
}

QDate DateChooserDialog::selectedDate() const { return calendar_->selectedDate(); }
void DateChooserDialog::setSelectedDate(QDate date) { calendar_->setSelectedDate(date); }

QDate dateOfRecord(const DateRecord& record) { return QDate(record.year, record.month, record.day); }

void setRecordDate(DateRecord& record, QDate date)
{
    record.year = int16_t(date.year());
    record.month = int16_t(date.month());
    record.dayOfWeek = int16_t(date.dayOfWeek() % 7);  // Qt counts Monday 1 .. Sunday 7
    record.day = int16_t(date.day());
}

}  // namespace fareboard
