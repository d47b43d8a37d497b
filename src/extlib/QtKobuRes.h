#pragma once

#include "extlib/KobuRes.h"

namespace fareboard {

// The library as the program uses it: Qt dialogs, the host's os-release name, ticket plug-ins
// loaded from shared libraries.
class QtKobuRes final : public KobuRes {
public:
    int32_t Call_dlg100(QWidget* owner, int16_t keta, int16_t& zeroMode, int16_t& shift,
                        int16_t& fillZero) override;
    void Call_dlg110(QWidget* owner, int32_t kind, const QString& text) override;
    int32_t Call_dlg111(QWidget* owner, DateRecord& date) override;
    int32_t TmlChooseColor(QWidget* owner, int32_t& color, std::span<int32_t> customColors) override;
    QString TmlFileDlg(QWidget* owner, int32_t flags, const QString& filters, const QString& initial,
                       const QString& title) override;
    QString TmlFolderDlg(QWidget* owner, const QString& title) override;
    QString GetOsInfo() override;

    // Ticket plug-ins: shared libraries with the interface of plugins/fareboard_plugin.h.
    // The notes go into a QPlainTextEdit, QTextEdit, QLineEdit or QLabel.
    int32_t KBU_GetPlgInfo(const QString& path, PlgInfo& info) override;
    void KBU_SetPlgComment(const QString& path, QWidget* commentBox) override;
    void KBU_SetCorpAddList(const QString& path, QComboBox* companyList) override;
    void KBU_DrawSeiriken(const QString& path, QImage& surface, const QString& stopName, const QString& date,
                          const QString& time, int32_t routeNo, int16_t ticketNo, int16_t section,
                          int16_t corpIndex) override;
};

}  // namespace fareboard
