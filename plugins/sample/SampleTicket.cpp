// The sample ticket plug-in: the five functions of fareboard_plugin.h over the drawing in
// TicketArt. It doubles as the worked example for anyone writing their own plug-in.
#include "fareboard_plugin.h"

#include "TicketArt.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

const char kNotes[] =
    "fareboard 付属のサンプル整理券プラグインです。\n"
    "整理券番号、乗車停留所、日付、時刻、系統番号を印字し、系統番号（4桁）と整理券番号（3桁）に"
    "チェックデジットを付けた8桁を ITF（インターリーブド 2 of 5）のバーコードで印字します。\n"
    "社名はすべて架空のものです。";

// Fictional operators, so that the company selector has something to switch between.
const char* const kCompanies[] = {"ふぁれぼ交通", "綿雲バス", "ななつ森観光バス", "月見坂交通"};
constexpr int kCompanyCount = int(sizeof kCompanies / sizeof kCompanies[0]);

// ITF with eight digits: two bars of the start, five per digit pair, two of the stop.
constexpr int32_t kBarsPrinted = 2 + 4 * 5 + 2;

// The caller's protocol for texts: copy what fits, always end with a NUL, report the full length.
int32_t copyText(const char* text, size_t length, char* buffer, int32_t capacity)
{
    if (buffer && capacity > 0) {
        const size_t n = std::min(length, size_t(capacity) - 1);
        std::memcpy(buffer, text, n);
        buffer[n] = '\0';
    }
    return int32_t(length);
}

}  // namespace

constexpr int32_t kPreviewWidth = 220;
constexpr int32_t kPreviewHeight = 114;

extern "C" {

int32_t fareboard_ticket_abi_version(void) { return FAREBOARD_PLUGIN_ABI_VERSION; }

int32_t fareboard_ticket_get_info(fareboard_ticket_info* info)
{
    if (!info)
        return 0;
    // The console's preview area is 220 pixels wide and leaves about 115 above its company
    // list; the ticket, drawn at 300 x 156, is scaled into that with its proportions kept.
    info->preview_width = kPreviewWidth;
    info->preview_height = kPreviewHeight;
    info->can_print_date = 1;
    info->can_print_time = 1;
    info->can_print_route_no = 1;
    info->can_print_stop_name = 1;
    info->can_print_barcode = 1;
    info->barcode_count = kBarsPrinted;
    info->max_route_no = 9999;
    info->barcode_route_mode = 1;
    info->stop_range_from = 1;
    info->stop_range_to = 999;
    info->corp_switch = 1;
    return 1;
}

int32_t fareboard_ticket_get_notes(char* buffer, int32_t capacity)
{
    return copyText(kNotes, sizeof kNotes - 1, buffer, capacity);
}

int32_t fareboard_ticket_get_companies(char* buffer, int32_t capacity)
{
    std::string list;
    for (int i = 0; i < kCompanyCount; ++i) {
        if (i > 0)
            list += '\n';
        list += kCompanies[i];
    }
    return copyText(list.data(), list.size(), buffer, capacity);
}

int32_t fareboard_ticket_draw(uint32_t* pixels, int32_t width, int32_t height, int32_t stride, const char* stop_name,
                              const char* date, const char* time, int32_t route_no, int32_t ticket_no,
                              int32_t /*section*/, int32_t company_index)
{
    if (!pixels || width <= 0 || height <= 0 || stride / 4 < width)
        return 0;
    QImage picture(reinterpret_cast<uchar*>(pixels), width, height, stride, QImage::Format_ARGB32);
    sample::TicketText text;
    if (company_index >= 0 && company_index < kCompanyCount)
        text.company = QString::fromUtf8(kCompanies[company_index]);
    text.stopName = QString::fromUtf8(stop_name ? stop_name : "");
    text.date = QString::fromUtf8(date ? date : "");
    text.time = QString::fromUtf8(time ? time : "");
    text.routeNo = route_no;
    text.ticketNo = ticket_no;
    sample::paintTicket(picture, text);
    return 1;
}

}  // extern "C"
