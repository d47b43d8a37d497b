#include "WindowMove.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace fareboard {
namespace {

xcb_connection_t* x11()
{
    auto* x = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x ? x->connection() : nullptr;
}

}  // namespace

WindowMove startWindowMove(QWindow* window)
{
    if (!window)
        return WindowMove::ByHand;
    if (xcb_connection_t* c = x11()) {
        // The display's own state, not the events queued so far: the release may be on its way.
        xcb_query_pointer_reply_t* pointer =
            xcb_query_pointer_reply(c, xcb_query_pointer(c, xcb_window_t(window->winId())), nullptr);
        const bool held = pointer && (pointer->mask & XCB_BUTTON_MASK_1);
        std::free(pointer);
        if (!held)
            return WindowMove::Over;
    }
    return window->startSystemMove() ? WindowMove::ByWindowManager : WindowMove::ByHand;
}

void cancelWindowMove(QWindow* window)
{
    xcb_connection_t* c = x11();
    if (!c || !window)
        return;
    const char name[] = "_NET_WM_MOVERESIZE";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, xcb_window_t(window->winId())), nullptr);
    if (atom && tree) {
        xcb_client_message_event_t event;
        std::memset(&event, 0, sizeof event);
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = xcb_window_t(window->winId());
        event.type = atom->atom;
        event.data.data32[2] = 11;  // _NET_WM_MOVERESIZE_CANCEL
        event.data.data32[3] = 1;   // the left button
        event.data.data32[4] = 1;   // from an application
        xcb_send_event(c, 0, tree->root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(c);
    }
    std::free(atom);
    std::free(tree);
}

}  // namespace fareboard
