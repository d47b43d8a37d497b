#pragma once

#include "extlib/KobuRes.h"

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QComboBox;
class QSpinBox;

namespace fareboard {

// The library's own dialogs, kept apart from the calls that run them so that tests can fill
// them in and accept them without a modal loop.

// Zero handling, blank cells at the right and zero fill of a digit control with `keta` cells.
class DigitSettingsDialog final : public QDialog {
    Q_OBJECT
public:
    DigitSettingsDialog(QWidget* owner, int16_t keta, int16_t zeroMode, int16_t shift, int16_t fillZero);

    int16_t zeroMode() const;
    int16_t shift() const;
    int16_t fillZero() const;

private:
    QComboBox* zeroMode_;
    QSpinBox* shift_;
    QSpinBox* fillZero_;
};

// The version box: the caller's text, an OK button.
class VersionBox final : public QDialog {
    Q_OBJECT
public:
    VersionBox(QWidget* owner, const QString& text);
};

// A calendar to pick a date from.
class DateChooserDialog final : public QDialog {
    Q_OBJECT
public:
    DateChooserDialog(QWidget* owner, QDate start);

    QDate selectedDate() const;
    void setSelectedDate(QDate date);

private:
    QCalendarWidget* calendar_;
};

// The date held by a date record, invalid when the record holds none.
QDate dateOfRecord(const DateRecord& record);
// Sets year, month, day of week (0 = Sunday) and day; the time of day stays as it is.
void setRecordDate(DateRecord& record, QDate date);

}  // namespace fareboard
