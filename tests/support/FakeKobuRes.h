#pragma once

#include "extlib/KobuRes.h"

#include <QComboBox>
#include <QDate>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fareboard::test {

// Records every call of the library and answers as the test sets it up. Dialogs are cancelled
// unless the test gives an answer for them.
class FakeKobuRes final : public KobuRes {
public:
    // Call_dlg100: what the dialog was given, and what the "user" answers.
    struct Dlg100Call {
        QWidget* owner;
        int16_t keta;
        int16_t zeroMode;
        int16_t shift;
        int16_t fillZero;
    };
    struct Dlg100Answer {
        int32_t result = 1;
        int16_t zeroMode = 0;
        int16_t shift = 0;
        int16_t fillZero = 0;
    };
    std::vector<Dlg100Call> dlg100Calls;
    std::optional<Dlg100Answer> dlg100Answer;  // none: cancelled, values unchanged, result 0

    struct Dlg110Call {
        QWidget* owner;
        int32_t kind;
        QString text;
    };
    std::vector<Dlg110Call> dlg110Calls;

    std::vector<DateRecord> dlg111Calls;
    std::optional<QDate> chosenDate;

    struct ColorCall {
        int32_t color;
        std::vector<int32_t> customColors;
    };
    std::vector<ColorCall> colorCalls;
    std::optional<int32_t> chosenColor;

    struct FileCall {
        QWidget* owner;
        int32_t flags;
        QString filters;
        QString initial;
        QString title;
    };
    std::vector<FileCall> fileCalls;
    QString chosenFile;  // empty: cancelled

    std::vector<QString> folderCalls;
    std::vector<QString> folderStarts;  // where each folder chooser opened
    QString chosenFolder;

    QString osName = QStringLiteral("Debian GNU/Linux 12 (bookworm)");

    // Plug-ins: the paths asked about, and the record a valid plug-in reports.
    std::vector<QString> plgInfoCalls;
    std::optional<PlgInfo> plgInfo;  // none: every file is turned down
    std::vector<QString> plgCommentCalls;
    QString plgComment;
    std::vector<QString> corpListCalls;
    QStringList corpNames;
    struct DrawCall {
        QString path, stopName, date, time;
        int32_t routeNo;
        int16_t ticketNo, section, corpIndex;
    };
    std::vector<DrawCall> drawCalls;

    int32_t Call_dlg100(QWidget* owner, int16_t keta, int16_t& zeroMode, int16_t& shift, int16_t& fillZero) override
    {
        dlg100Calls.push_back({owner, keta, zeroMode, shift, fillZero});
        if (!dlg100Answer)
            return 0;
        zeroMode = dlg100Answer->zeroMode;
        shift = dlg100Answer->shift;
        fillZero = dlg100Answer->fillZero;
        return dlg100Answer->result;
    }

    void Call_dlg110(QWidget* owner, int32_t kind, const QString& text) override
    {
        dlg110Calls.push_back({owner, kind, text});
    }

    int32_t Call_dlg111(QWidget*, DateRecord& date) override
    {
        dlg111Calls.push_back(date);
        if (!chosenDate)
            return 0;
        date.year = int16_t(chosenDate->year());
        date.month = int16_t(chosenDate->month());
        date.dayOfWeek = int16_t(chosenDate->dayOfWeek() % 7);
        date.day = int16_t(chosenDate->day());
        return 1;
    }

    int32_t TmlChooseColor(QWidget*, int32_t& color, std::span<int32_t> customColors) override
    {
        colorCalls.push_back({color, std::vector<int32_t>(customColors.begin(), customColors.end())});
        if (!chosenColor)
            return 0;
        color = *chosenColor;
        return 1;
    }

    QString TmlFileDlg(QWidget* owner, int32_t flags, const QString& filters, const QString& initial,
                       const QString& title) override
    {
        fileCalls.push_back({owner, flags, filters, initial, title});
        return chosenFile;
    }

    QString TmlFolderDlg(QWidget*, const QString& title) override
    {
        folderCalls.push_back(title);
        return chosenFolder;
    }
    QString TmlFolderDlgAt(QWidget* owner, const QString& title, const QString& initial) override
    {
        folderStarts.push_back(initial);
        return TmlFolderDlg(owner, title);
    }

    QString GetOsInfo() override { return osName; }

    int32_t KBU_GetPlgInfo(const QString& path, PlgInfo& info) override
    {
        plgInfoCalls.push_back(path);
        if (!plgInfo)
            return 0;
        info = *plgInfo;
        return 1;
    }
    void KBU_SetPlgComment(const QString& path, QWidget* commentBox) override
    {
        plgCommentCalls.push_back(path);
        if (auto* box = qobject_cast<QPlainTextEdit*>(commentBox))
            box->setPlainText(plgComment);
    }
    void KBU_SetCorpAddList(const QString& path, QComboBox* companyList) override
    {
        corpListCalls.push_back(path);
        if (companyList)
            companyList->addItems(corpNames);
    }
    void KBU_DrawSeiriken(const QString& path, QImage&, const QString& stopName, const QString& date,
                          const QString& time, int32_t routeNo, int16_t ticketNo, int16_t section,
                          int16_t corpIndex) override
    {
        drawCalls.push_back({path, stopName, date, time, routeNo, ticketNo, section, corpIndex});
    }
};

}  // namespace fareboard::test
