#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <utility>

namespace fareboard {

// The fixed lists and texts the options dialog offers, kept apart from the widgets so that
// they can be checked on their own.

// The twelve numbering schemes of the ticket-number labels, in the order of their mode number.
QStringList numberingSchemeTexts();

// The stop-name font modes, in the order of their FontMode number.
QStringList chimeiFontModeTexts();

// A chooser's filter list: each description and pattern ended by a NUL, and one more NUL after
// the last, which is how the dialog library reads it.
QString chooserFilterList(std::initializer_list<std::pair<QString, QString>> filters);

QString soundFilterList();
QString panelPictureFilterList();

// The fixed ticket date as the dialog shows it: year in plain decimal, "/", two-digit month,
// "/", two-digit day.
QString fixedDateText(int year, int month, int day);
inline QString fixedDateText(const QDate& date) { return fixedDateText(date.year(), date.month(), date.day()); }

// Reads a fixed date text back; none when it does not name a real date.
std::optional<QDate> parseFixedDate(const QString& text);

}  // namespace fareboard
