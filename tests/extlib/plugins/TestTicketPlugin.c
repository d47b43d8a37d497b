/* Plug-ins that are wrong in one way each, built from this one plain C file with a macro per
 * fault, so the loader's checks can be tried against real shared libraries. */
#include "fareboard_plugin.h"

#include <signal.h>
#include <string.h>
#include <time.h>

/* Stands for a plug-in with a bug: a bad pointer, or a loop that never ends. */
#if defined(TEST_CRASH_IN_DRAW) || defined(TEST_LOOP_IN_INFO)
static void misbehave(void)
{
#ifdef TEST_CRASH_IN_DRAW
    raise(SIGSEGV);
#else
    volatile int forever = 1;
    while (forever) {
    }
#endif
}
#endif

#ifndef TEST_ABI_VERSION
#define TEST_ABI_VERSION FAREBOARD_PLUGIN_ABI_VERSION
#endif
#ifndef TEST_WIDTH
#define TEST_WIDTH 120
#endif
#ifndef TEST_HEIGHT
#define TEST_HEIGHT 60
#endif
#ifndef TEST_INFO_RESULT
#define TEST_INFO_RESULT 1
#endif

FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_abi_version(void) { return TEST_ABI_VERSION; }

/* Every field gets its own value, so a field read from the wrong place shows. */
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_get_info(fareboard_ticket_info* info)
{
#ifdef TEST_LOOP_IN_INFO
    misbehave();
#endif
    info->reserved0 = 77;
    info->preview_width = TEST_WIDTH;
    info->preview_height = TEST_HEIGHT;
    info->can_print_date = 2;
    info->can_print_time = 1;
    info->can_print_route_no = 0;
    info->can_print_stop_name = -1;
    info->can_print_barcode = 1;
    info->barcode_count = 13;
    info->max_route_no = 640;
    info->barcode_route_mode = 3;
    info->stop_range_from = 5;
    info->stop_range_to = 95;
    info->corp_switch = 5;
    return TEST_INFO_RESULT;
}

#ifdef TEST_LIAR
/* Claims a text far longer than any buffer and never writes the NUL. */
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_get_notes(char* buffer, int32_t capacity)
{
    if (buffer && capacity > 0)
        memset(buffer, 'x', (size_t)capacity);
    return 0x7FFFFFFF;
}

/* Windows line ends, a final line end, and more names than any selector should take. */
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_get_companies(char* buffer, int32_t capacity)
{
    static const char name[] = "\xE6\xA1\x9C\xE4\xBA\xA4\xE9\x80\x9A\r\n"; /* 桜交通 */
    const int32_t one = (int32_t)(sizeof name - 1);
    const int32_t length = 300 * one;
    int32_t i;
    if (buffer && capacity > length) {
        for (i = 0; i < 300; ++i)
            memcpy(buffer + i * one, name, (size_t)one);
        buffer[length] = '\0';
    }
    return length;
}

/* Declines to draw after scribbling over the picture it was given. */
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_draw(uint32_t* pixels, int32_t width, int32_t height,
                                                      int32_t stride, const char* stop_name, const char* date,
                                                      const char* time, int32_t route_no, int32_t ticket_no,
                                                      int32_t section, int32_t company_index)
{
    int32_t y;
    (void)stop_name; (void)date; (void)time; (void)route_no; (void)ticket_no; (void)section;
    (void)company_index;
    for (y = 0; y < height; ++y)
        memset((char*)pixels + (size_t)y * (size_t)stride, 0, (size_t)width * 4);
    return 0;
}
#else
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_get_notes(char* buffer, int32_t capacity)
{
    static const char notes[] = "test";
    if (buffer && capacity > 0) {
        strncpy(buffer, notes, (size_t)capacity - 1);
        buffer[capacity - 1] = '\0';
    }
    return (int32_t)(sizeof notes - 1);
}

FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_get_companies(char* buffer, int32_t capacity)
{
    return fareboard_ticket_get_notes(buffer, capacity);
}

#ifndef TEST_OMIT_DRAW
FAREBOARD_PLUGIN_EXPORT int32_t fareboard_ticket_draw(uint32_t* pixels, int32_t width, int32_t height,
                                                      int32_t stride, const char* stop_name, const char* date,
                                                      const char* time, int32_t route_no, int32_t ticket_no,
                                                      int32_t section, int32_t company_index)
{
    (void)pixels; (void)width; (void)height; (void)stride; (void)stop_name; (void)date; (void)time;
    (void)route_no; (void)ticket_no; (void)section; (void)company_index;
#ifdef TEST_CRASH_IN_DRAW
    misbehave();
#endif
#ifdef TEST_SLOW_DRAW
    /* Takes a second over every ticket, as one that renders a large picture may, and inks it all. */
    {
        const struct timespec second = {1, 0};
        int32_t x, y;
        nanosleep(&second, NULL);
        for (y = 0; y < height; ++y)
            for (x = 0; x < width; ++x)
                ((uint32_t*)((char*)pixels + (size_t)y * (size_t)stride))[x] = 0xFF000000u;
    }
#endif
    return 1;
}
#endif
#endif
