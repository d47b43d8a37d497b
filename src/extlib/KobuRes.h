#pragma once

#include "extlib/ByteText.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <span>

class QComboBox;
class QObject;
class QWidget;

namespace fareboard {

// The date record the date chooser fills: year, month (1-12), day of week (0 = Sunday), day,
// then the time of day. Callers read only year, month and day.
struct DateRecord {
    int16_t year = 0;
    int16_t month = 0;
    int16_t dayOfWeek = 0;
    int16_t day = 0;
    int16_t hour = 0;
    int16_t minute = 0;
    int16_t second = 0;
    int16_t millisecond = 0;
};

// What a ticket plug-in says about itself. The layout is fixed (fourteen little-endian 32-bit
// integers, 56 bytes) because plug-ins fill it in place.
struct PlgInfo {
    int32_t Reserved0 = 0;
    int32_t PreviewWidth = 0;
    int32_t PreviewHeight = 0;
    int32_t CanPrintDate = 0;
    int32_t CanPrintTime = 0;
    int32_t CanPrintRouteNo = 0;
    int32_t CanPrintStopName = 0;
    int32_t CanPrintBarcode = 0;
    int32_t BarcodeCount = 0;
    int32_t MaxRouteNo = 0;
    int32_t BarcodeRouteMode = 0;
    int32_t StopRangeFrom = 0;
    int32_t StopRangeTo = 0;
    int32_t CorpSwitch = 0;
};
static_assert(sizeof(PlgInfo) == 56, "plug-ins fill the record in place");

// The dialog and utility library: the program's common dialogs, the host's name, the
// Shift-JIS byte functions and the ticket plug-in operations. Windows and controls reach it
// through this interface so that tests can answer the dialogs instead of a person.
//
// `owner` is the window the dialog belongs to (it is centred on it and blocks it); it may be
// null. Every call runs to completion on the user-interface thread.
class KobuRes {
public:
    virtual ~KobuRes() = default;

    // Digit settings of a control with `keta` cells. `zeroMode`, `shift` and `fillZero` come in
    // as the current values and hold the user's choice afterwards. Returns 1 when the user
    // accepted; any other result leaves the three values as they came in.
    virtual int32_t Call_dlg100(QWidget* owner, int16_t keta, int16_t& zeroMode, int16_t& shift,
                                int16_t& fillZero) = 0;

    // Version box showing `text` (lines separated by CR LF); returns when it is closed. `kind`
    // is always 1 for the program's own version box.
    virtual void Call_dlg110(QWidget* owner, int32_t kind, const QString& text) = 0;

    // Date chooser. `date` comes in as the date to start from (today when it holds no valid
    // date); nonzero result = a date was chosen and its year, month, day of week and day are set.
    virtual int32_t Call_dlg111(QWidget* owner, DateRecord& date) = 0;

    // Colour chooser starting at `color` (0x00BBGGRR). The custom colour table is offered to
    // the user and takes back any change made to it. Nonzero result = `color` holds the choice.
    virtual int32_t TmlChooseColor(QWidget* owner, int32_t& color, std::span<int32_t> customColors) = 0;

    // File chooser. `filters` is a run of description and pattern strings, each ended by a NUL,
    // with one more NUL after the last pattern. `flags` and `initial` are 0 and empty for every
    // caller. Returns the full path of the chosen file, or an empty string when cancelled.
    virtual QString TmlFileDlg(QWidget* owner, int32_t flags, const QString& filters, const QString& initial,
                               const QString& title) = 0;

    // Folder chooser. Returns the chosen folder, or an empty string when cancelled.
    virtual QString TmlFolderDlg(QWidget* owner, const QString& title) = 0;
    // The same, opened at `initial` (the folder set now) where the chooser can start there.
    virtual QString TmlFolderDlgAt(QWidget* owner, const QString& title, const QString& initial)
    {
        (void)initial;
        return TmlFolderDlg(owner, title);
    }

    // Gets ready for plug-in calls about to come, without waiting for anything, so that the first
    // call does not wait for what the library must start first. By default there is nothing to do.
    virtual void startPluginHost() {}

    // The name of the host's operating system, as the host reports it.
    virtual QString GetOsInfo() = 0;

    // Byte functions on the Shift-JIS form; they depend on nothing but the text, so every
    // implementation shares them.
    int32_t LenB_ASCII(const QString& text) const { return fareboard::LenB_ASCII(text); }
    QString MidB_ASCII(const QString& text, int32_t start, int32_t length) const
    {
        return fareboard::MidB_ASCII(text, start, length);
    }

    // Ticket plug-in operations. The plug-in is always named by its full path; nothing is
    // held loaded between calls by the interface's contract.

    // Nonzero when `path` is a valid plug-in; `info` (zero-filled by the caller) is filled then.
    virtual int32_t KBU_GetPlgInfo(const QString& path, PlgInfo& info) = 0;
    // Puts the plug-in's notes into the multi-line text box `commentBox`.
    virtual void KBU_SetPlgComment(const QString& path, QWidget* commentBox) = 0;
    // Appends the plug-in's company names to `companyList`.
    virtual void KBU_SetCorpAddList(const QString& path, QComboBox* companyList) = 0;
    // Draws one ticket into `surface` (the console's preview). An empty path draws nothing.
    virtual void KBU_DrawSeiriken(const QString& path, QImage& surface, const QString& stopName,
                                  const QString& date, const QString& time, int32_t routeNo, int16_t ticketNo,
                                  int16_t section, int16_t corpIndex) = 0;
    // The same drawing without waiting for the plug-in: `drawn` gets a copy of `surface` with
    // the ticket on it, on the calling thread, once the plug-in has answered, and only while
    // `receiver` lives. A plug-in that fails may leave `drawn` uncalled; so does a newer
    // drawing asked for before this one started. Here the drawing is made at once.
    virtual void KBU_DrawSeirikenLater(QObject* receiver, const QString& path, const QImage& surface,
                                       const QString& stopName, const QString& date, const QString& time,
                                       int32_t routeNo, int16_t ticketNo, int16_t section, int16_t corpIndex,
                                       std::function<void(const QImage& drawn)> drawn)
    {
        (void)receiver;
        QImage ticket = surface;
        KBU_DrawSeiriken(path, ticket, stopName, date, time, routeNo, ticketNo, section, corpIndex);
        drawn(ticket);
    }
};

}  // namespace fareboard
