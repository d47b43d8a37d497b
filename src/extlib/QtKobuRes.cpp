#include "QtKobuRes.h"

#include "extlib/FileDialogFilters.h"
#include "extlib/KobuResDialogs.h"
#include "extlib/OsRelease.h"
#include "extlib/TicketPlugin.h"
#include "platform/OleColor.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <algorithm>

namespace fareboard {

int32_t QtKobuRes::Call_dlg100(QWidget* owner, int16_t keta, int16_t& zeroMode, int16_t& shift, int16_t& fillZero)
{
    DigitSettingsDialog dialog(owner, keta, zeroMode, shift, fillZero);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    zeroMode = dialog.zeroMode();
    shift = dialog.shift();
    fillZero = dialog.fillZero();
    return 1;
}

void QtKobuRes::Call_dlg110(QWidget* owner, int32_t /*kind*/, const QString& text)
{
    VersionBox box(owner, text);
    box.exec();
}

int32_t QtKobuRes::Call_dlg111(QWidget* owner, DateRecord& date)
{
    DateChooserDialog dialog(owner, dateOfRecord(date));
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    setRecordDate(date, dialog.selectedDate());
    return 1;
}

int32_t QtKobuRes::TmlChooseColor(QWidget* owner, int32_t& color, std::span<int32_t> customColors)
{
    // Qt keeps its custom colours per process; load the caller's table into them before the
    // dialog and read them back afterwards, so the table is the one that persists.
    const int shared = std::min<int>(int(customColors.size()), QColorDialog::customCount());
    for (int i = 0; i < shared; ++i)
        QColorDialog::setCustomColor(i, oleColorToQColor(customColors[i]));
    QColorDialog dialog(oleColorToQColor(color), owner);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < shared; ++i)
        customColors[i] = qColorToOleColor(QColorDialog::customColor(i));
    if (!accepted)
        return 0;
    color = qColorToOleColor(dialog.selectedColor());
    return 1;
}

QString QtKobuRes::TmlFileDlg(QWidget* owner, int32_t /*flags*/, const QString& filters, const QString& initial,
                              const QString& title)
{
    QFileDialog dialog(owner, title, initial);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList nameFilters = fileDialogNameFilters(filters);
    if (!nameFilters.isEmpty())
        dialog.setNameFilters(nameFilters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtKobuRes::TmlFolderDlg(QWidget* owner, const QString& title)
{
    return QFileDialog::getExistingDirectory(owner, title);
}

QString QtKobuRes::GetOsInfo() { return hostOsName(); }

// Each operation loads the plug-in afresh and unloads it when done, so a plug-in file the user
// replaces is picked up at the next call and nothing stays mapped after the path is cleared.
int32_t QtKobuRes::KBU_GetPlgInfo(const QString& path, PlgInfo& info)
{
    const auto plugin = TicketPlugin::open(path);
    if (!plugin)
        return 0;
    info = plugin->info();
    return 1;
}

void QtKobuRes::KBU_SetPlgComment(const QString& path, QWidget* commentBox)
{
    const auto plugin = TicketPlugin::open(path);
    if (!plugin || !commentBox)
        return;
    const QString notes = plugin->notes();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(commentBox))
        plain->setPlainText(notes);
    else if (auto* rich = qobject_cast<QTextEdit*>(commentBox))
        rich->setPlainText(notes);
    else if (auto* line = qobject_cast<QLineEdit*>(commentBox))
        line->setText(notes);
    else if (auto* label = qobject_cast<QLabel*>(commentBox))
        label->setText(notes);
}

void QtKobuRes::KBU_SetCorpAddList(const QString& path, QComboBox* companyList)
{
    const auto plugin = TicketPlugin::open(path);
    if (!plugin || !companyList)
        return;
    companyList->addItems(plugin->companies());
}

void QtKobuRes::KBU_DrawSeiriken(const QString& path, QImage& surface, const QString& stopName, const QString& date,
                                 const QString& time, int32_t routeNo, int16_t ticketNo, int16_t section,
                                 int16_t corpIndex)
{
    if (path.isEmpty())
        return;
    const auto plugin = TicketPlugin::open(path);
    if (!plugin)
        return;
    plugin->draw(surface, {stopName, date, time, routeNo, ticketNo, section, corpIndex});
}

}  // namespace fareboard
