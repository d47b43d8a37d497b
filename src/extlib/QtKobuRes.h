#pragma once

#include "extlib/KobuRes.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace fareboard {

struct TicketRequest;
struct TicketReply;

// The library as the program uses it: Qt dialogs, the host's os-release name, ticket plug-ins
// loaded from shared libraries.
class QtKobuRes final : public KobuRes {
public:
    // Where ticket plug-ins run: in the helper process "fareboard-ticket" (a plug-in that
    // crashes or hangs is stopped and refused, the program goes on), or in this process (only
    // for measuring what the helper costs).
    enum class PluginHosting { Helper, InProcess };

    // Told, at most once per plug-in path, that a plug-in crashed or did not answer in time and
    // is refused from now on (until its file changes): the text is for the user.
    using PluginFaultHandler = std::function<void(const QString& path, const QString& message)>;

    // Plug-ins run in the helper beside the running program.
    QtKobuRes();
    explicit QtKobuRes(PluginHosting hosting, const QString& helperPath = {}, int timeoutMs = 2000);
    ~QtKobuRes() override;
    QtKobuRes(const QtKobuRes&) = delete;
    QtKobuRes& operator=(const QtKobuRes&) = delete;

    void setPluginFaultHandler(PluginFaultHandler handler);

    // Starts the helper now, without waiting for it to be ready: it gets its own start-up done
    // on the other core while the windows are built, instead of when the first plug-in call
    // waits for it. Nothing happens when it runs already or plug-ins run in this process.
    void startPluginHost() override;

    int32_t Call_dlg100(QWidget* owner, int16_t keta, int16_t& zeroMode, int16_t& shift,
                        int16_t& fillZero) override;
    void Call_dlg110(QWidget* owner, int32_t kind, const QString& text) override;
    int32_t Call_dlg111(QWidget* owner, DateRecord& date) override;
    int32_t TmlChooseColor(QWidget* owner, int32_t& color, std::span<int32_t> customColors) override;
    QString TmlFileDlg(QWidget* owner, int32_t flags, const QString& filters, const QString& initial,
                       const QString& title) override;
    QString TmlFolderDlg(QWidget* owner, const QString& title) override;
    QString TmlFolderDlgAt(QWidget* owner, const QString& title, const QString& initial) override;
    QString GetOsInfo() override;

    // Ticket plug-ins: shared libraries with the interface of plugins/fareboard_plugin.h.
    // The notes go into a QPlainTextEdit, QTextEdit, QLineEdit or QLabel.
    int32_t KBU_GetPlgInfo(const QString& path, PlgInfo& info) override;
    void KBU_SetPlgComment(const QString& path, QWidget* commentBox) override;
    void KBU_SetCorpAddList(const QString& path, QComboBox* companyList) override;
    void KBU_DrawSeiriken(const QString& path, QImage& surface, const QString& stopName, const QString& date,
                          const QString& time, int32_t routeNo, int16_t ticketNo, int16_t section,
                          int16_t corpIndex) override;
    void KBU_DrawSeirikenLater(QObject* receiver, const QString& path, const QImage& surface, const QString& stopName,
                               const QString& date, const QString& time, int32_t routeNo, int16_t ticketNo,
                               int16_t section, int16_t corpIndex, std::function<void(const QImage&)> drawn) override;

private:
    struct Plugins;
    // The plug-in's answer; null when it crashed, hung or was refused for that before.
    std::optional<TicketReply> runPlugin(const TicketRequest& request);
    bool refused(const QString& path);
    void fail(const QString& path, int fault);

    std::unique_ptr<Plugins> plugins_;
};

}  // namespace fareboard
