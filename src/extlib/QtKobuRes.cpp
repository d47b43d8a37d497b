#include "QtKobuRes.h"

#include "extlib/FileDialogFilters.h"
#include "extlib/KobuResDialogs.h"
#include "extlib/OsRelease.h"
#include "extlib/TicketHelper.h"
#include "extlib/TicketPlugin.h"
#include "extlib/TicketRequest.h"
#include "extlib/TicketWorker.h"
#include "platform/OleColor.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

#include <algorithm>

namespace fareboard {
namespace {

// A plug-in file as it was when it failed: a rebuilt or replaced file gets another chance.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QString& path)
{
    const QFileInfo file(path);
    return {file.exists() ? file.size() : -1, file.lastModified()};
}

QString faultMessage(TicketHelper::Fault fault, const QString& path, int timeoutMs)
{
    switch (fault) {
    case TicketHelper::Fault::TimedOut:
        return QStringLiteral("整理券プラグインが %1 秒たっても応答しないため止めました。このプラグインは使用しません。\n%2")
            .arg(timeoutMs / 1000.0)
            .arg(path);
    case TicketHelper::Fault::NotStarted:
        return QStringLiteral("整理券プラグインを動かすプログラム fareboard-ticket を起動できません。\n%1").arg(path);
    default:
        return QStringLiteral("整理券プラグインが異常終了しました。このプラグインは使用しません。\n%1").arg(path);
    }
}

}  // namespace

struct QtKobuRes::Plugins {
    PluginHosting hosting;
    int timeoutMs;
    TicketWorker helper;
    QHash<QString, FileStamp> refused;
    QSet<QString> told;
    PluginFaultHandler onFault;

    Plugins(PluginHosting h, const QString& helperPath, int timeout)
        : hosting(h), timeoutMs(timeout), helper(helperPath.isEmpty() ? TicketHelper::besideProgram() : helperPath, timeout)
    {
    }
};

QtKobuRes::QtKobuRes() : QtKobuRes(PluginHosting::Helper) {}

QtKobuRes::QtKobuRes(PluginHosting hosting, const QString& helperPath, int timeoutMs)
    : plugins_(std::make_unique<Plugins>(hosting, helperPath, timeoutMs))
{
}

QtKobuRes::~QtKobuRes() = default;

void QtKobuRes::setPluginFaultHandler(PluginFaultHandler handler)
{
    plugins_->onFault = std::move(handler);
}

void QtKobuRes::startPluginHost()
{
    if (plugins_->hosting == PluginHosting::Helper)
        plugins_->helper.start();
}

bool QtKobuRes::refused(const QString& path)
{
    Plugins& p = *plugins_;
    const auto refused = p.refused.constFind(path);
    if (refused == p.refused.cend())
        return false;
    if (*refused == stampOf(path))
        return true;
    p.refused.erase(refused);
    return false;
}

void QtKobuRes::fail(const QString& path, int fault)
{
    Plugins& p = *plugins_;
    p.refused.insert(path, stampOf(path));
    if (!p.told.contains(path)) {
        p.told.insert(path);
        if (p.onFault)
            p.onFault(path, faultMessage(TicketHelper::Fault(fault), path, p.timeoutMs));
    }
}

std::optional<TicketReply> QtKobuRes::runPlugin(const TicketRequest& request)
{
    Plugins& p = *plugins_;
    if (p.hosting == PluginHosting::InProcess)
        return runTicketRequest(request);
    if (refused(request.path))
        return std::nullopt;
    TicketHelper::Fault fault = TicketHelper::Fault::None;
    auto reply = p.helper.run(request, fault);
    if (!reply)
        fail(request.path, int(fault));
    return reply;
}

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
    return TmlFolderDlgAt(owner, title, QString());
}

QString QtKobuRes::TmlFolderDlgAt(QWidget* owner, const QString& title, const QString& initial)
{
    return QFileDialog::getExistingDirectory(owner, title, initial);
}

QString QtKobuRes::GetOsInfo() { return hostOsName(); }

// A plug-in file the user replaces is picked up at the next call: the helper keeps a plug-in
// loaded only while its file stays the same, and nothing of it is ever mapped into the program.
int32_t QtKobuRes::KBU_GetPlgInfo(const QString& path, PlgInfo& info)
{
    if (path.isEmpty())
        return 0;
    const auto reply = runPlugin({TicketOp::Info, path, {}, {}});
    if (!reply || !reply->accepted)
        return 0;
    info = reply->info;
    return 1;
}

void QtKobuRes::KBU_SetPlgComment(const QString& path, QWidget* commentBox)
{
    if (path.isEmpty() || !commentBox)
        return;
    const auto reply = runPlugin({TicketOp::Notes, path, {}, {}});
    if (!reply || !reply->accepted)
        return;
    const QString& notes = reply->notes;
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
    if (path.isEmpty() || !companyList)
        return;
    const auto reply = runPlugin({TicketOp::Companies, path, {}, {}});
    if (!reply || !reply->accepted)
        return;
    companyList->addItems(reply->companies);
}

void QtKobuRes::KBU_DrawSeiriken(const QString& path, QImage& surface, const QString& stopName, const QString& date,
                                 const QString& time, int32_t routeNo, int16_t ticketNo, int16_t section,
                                 int16_t corpIndex)
{
    if (path.isEmpty())
        return;
    QImage picture = ticketPictureOf(surface);
    if (picture.isNull())
        return;
    const auto reply = runPlugin(
        {TicketOp::Draw, path, std::move(picture), {stopName, date, time, routeNo, ticketNo, section, corpIndex}});
    if (!reply || !reply->accepted)
        return;
    paintTicketPicture(surface, reply->picture);
}

void QtKobuRes::KBU_DrawSeirikenLater(QObject* receiver, const QString& path, const QImage& surface,
                                      const QString& stopName, const QString& date, const QString& time,
                                      int32_t routeNo, int16_t ticketNo, int16_t section, int16_t corpIndex,
                                      std::function<void(const QImage&)> drawn)
{
    Plugins& p = *plugins_;
    if (p.hosting == PluginHosting::InProcess) {
        KobuRes::KBU_DrawSeirikenLater(receiver, path, surface, stopName, date, time, routeNo, ticketNo, section,
                                       corpIndex, std::move(drawn));
        return;
    }
    if (path.isEmpty() || refused(path))
        return;
    QImage picture = ticketPictureOf(surface);
    if (picture.isNull())
        return;
    QPointer<QObject> alive(receiver);
    p.helper.draw({TicketOp::Draw, path, std::move(picture), {stopName, date, time, routeNo, ticketNo, section, corpIndex}},
                  [this, alive, path, surface, drawn = std::move(drawn)](std::optional<TicketReply> reply,
                                                                         TicketHelper::Fault fault) {
                      if (!reply) {
                          fail(path, int(fault));
                          return;
                      }
                      if (!alive || !reply->accepted)
                          return;
                      QImage ticket = surface;
                      paintTicketPicture(ticket, reply->picture);
                      drawn(ticket);
                  });
}

}  // namespace fareboard
