/*
 * fareboard ticket plug-in interface.
 *
 * A ticket plug-in (a ".4SP" file) is a shared library that draws the boarding ticket (整理券)
 * the bus's ticket machine would issue, for the console's ticket preview. fareboard loads it by
 * its path for each operation, calls the functions below and unloads it again, so a plug-in
 * must not rely on staying loaded between calls and must not hand out pointers to its own
 * memory: every text and every pixel crosses this interface in buffers owned by the caller.
 *
 * Rules every function follows:
 *   - Plain C linkage and the types of <stdint.h> only, so a plug-in may be written in C, C++
 *     or anything else that can export C functions.
 *   - Texts are UTF-8. Texts given to the plug-in end with a NUL. Texts the plug-in gives back
 *     are written into the caller's buffer (see fareboard_ticket_get_notes).
 *   - Plug-ins run in the helper process fareboard-ticket, which the program starts beside
 *     itself. All calls come from the helper's main thread, one at a time; a plug-in needs no
 *     locking. While any function runs, a Qt QGuiApplication (off screen) exists in the
 *     process, so a plug-in built with Qt may use QImage, QPainter and fonts. What a plug-in
 *     prints to standard output or error shows on the program's standard error.
 *   - The program checks everything a plug-in returns (version, sizes, lengths). A plug-in
 *     that lacks one of the five functions, or reports a version the program does not know,
 *     is turned down as "not a plug-in". A plug-in that crashes, or takes longer than 2
 *     seconds for one call, is stopped with its helper and turned down as well, until its
 *     file changes; the program goes on.
 *
 * Build a plug-in as a shared library whose file name ends in ".4SP", for example
 *     g++ -shared -fPIC -fvisibility=hidden -I<fareboard>/plugins my_ticket.cpp -o my_ticket.4SP
 * and export the five functions with FAREBOARD_PLUGIN_EXPORT.
 */
#ifndef FAREBOARD_PLUGIN_H
#define FAREBOARD_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The interface version this header describes. A plug-in returns it from
 * fareboard_ticket_abi_version; it changes whenever a function or record below changes. */
#define FAREBOARD_PLUGIN_ABI_VERSION 1

/* The largest preview side, in pixels, the program accepts from PreviewWidth/PreviewHeight. */
#define FAREBOARD_PLUGIN_MAX_PREVIEW_SIDE 2000

#if defined(_WIN32)
#define FAREBOARD_PLUGIN_EXPORT __declspec(dllexport)
#else
#define FAREBOARD_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

/* What the plug-in can print and how large its ticket is: fourteen signed 32-bit integers,
 * 56 bytes without gaps, in this order. A flag counts as set only when it is exactly 1 (except
 * corp_switch, which counts from 1 upwards); any other value reads as "not able". */
typedef struct fareboard_ticket_info {
    int32_t reserved0;           /* zero when handed to the plug-in; the program never reads it */
    int32_t preview_width;       /* width of the ticket picture in pixels, 1..2000 */
    int32_t preview_height;      /* height of the ticket picture in pixels, 1..2000 */
    int32_t can_print_date;      /* 1 = the ticket shows the date */
    int32_t can_print_time;      /* 1 = the ticket shows the time */
    int32_t can_print_route_no;  /* 1 = the ticket shows the route number */
    int32_t can_print_stop_name; /* 1 = the ticket shows the stop name */
    int32_t can_print_barcode;   /* 1 = the ticket carries a barcode; the next five fields are
                                    shown to the user only then */
    int32_t barcode_count;       /* the barcode's size as the plug-in counts it (shown as a
                                    plain number, e.g. its number of bars or digits) */
    int32_t max_route_no;        /* highest route number the plug-in accepts; the range starts at 1 */
    int32_t barcode_route_mode;  /* 1 = the barcode numbers routes sequentially; any other value
                                    = route number plus an outbound/return flag */
    int32_t stop_range_from;     /* first stop number the plug-in recognises */
    int32_t stop_range_to;       /* last stop number the plug-in recognises */
    int32_t corp_switch;         /* 1 or more = the plug-in supplies company names
                                    (fareboard_ticket_get_companies); 0 or less = none */
} fareboard_ticket_info;

/* Returns FAREBOARD_PLUGIN_ABI_VERSION as the plug-in was built. Called first, before any other
 * function; a version the program does not know ends the call there. */
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_abi_version(void);

/* Fills *info, which arrives zero-filled. Returns nonzero when the plug-in is usable; 0 turns
 * the plug-in down. A size outside 1..FAREBOARD_PLUGIN_MAX_PREVIEW_SIDE also turns it down. */
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_get_info(fareboard_ticket_info* info);

/* The plug-in's notes for the user (several lines separated by "\n"), in UTF-8.
 * Writes at most capacity - 1 bytes of the text into buffer followed by a NUL (nothing when
 * capacity is 0; buffer may then be NULL) and returns the length of the whole text in bytes,
 * without the NUL. The program calls once with capacity 0 to learn the length, then again with
 * a buffer large enough; it shortens texts longer than 64 KiB. A negative result means "no
 * notes". */
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_get_notes(char* buffer, int32_t capacity);

/* The company names the user can choose between, one per line ("\n" between names, UTF-8),
 * written and counted exactly like fareboard_ticket_get_notes. The position of a name in this list
 * is the company_index later passed to fareboard_ticket_draw. Called only when corp_switch is
 * 1 or more. At most 256 names and 64 KiB are taken. */
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_get_companies(char* buffer, int32_t capacity);

/* Draws one ticket into a picture of width x height pixels (normally the preview size the
 * plug-in reported, but the plug-in must draw into whatever size it is given).
 *   pixels        row after row, each pixel a uint32_t 0xAARRGGBB (not premultiplied; the
 *                 layout of Qt's QImage::Format_ARGB32); it arrives holding the preview as it
 *                 is, normally opaque white. After the call the picture is painted over the
 *                 preview, so a pixel left with alpha 0 leaves the preview unchanged.
 *   stride        bytes from the start of one row to the next (at least width * 4)
 *   stop_name     the stop where the passenger boards, e.g. "市役所前"
 *   date          "MM-DD-YYYY" (the system date) or "YYYY/MM/DD" (a date the user fixed)
 *   time          "HH:MM:SS", 24-hour clock
 *   route_no      the route number (系統), 0 when the route has no number
 *   ticket_no     the boarding-ticket number (整理券番号) of the stop, -32768..32767
 *   section       the stop's row in the route (区間), 1 upwards
 *   company_index position in the company list, -1 when no company is chosen
 * Returns nonzero when it drew; on 0 the preview is left exactly as it was. */
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_draw(uint32_t* pixels, int32_t width, int32_t height,
                                                      int32_t stride, const char* stop_name, const char* date,
                                                      const char* time, int32_t route_no, int32_t ticket_no,
                                                      int32_t section, int32_t company_index);

/* The function types, for loaders that look the functions up by name. */
typedef int32_t (*fareboard_ticket_abi_version_fn)(void);
typedef int32_t (*fareboard_ticket_get_info_fn)(fareboard_ticket_info* info);
typedef int32_t (*fareboard_ticket_text_fn)(char* buffer, int32_t capacity);
typedef int32_t (*fareboard_ticket_draw_fn)(uint32_t* pixels, int32_t width, int32_t height, int32_t stride,
                                             const char* stop_name, const char* date, const char* time,
                                             int32_t route_no, int32_t ticket_no, int32_t section,
                                             int32_t company_index);

#ifdef __cplusplus
}
#endif

#endif /* FAREBOARD_PLUGIN_H */
