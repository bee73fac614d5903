// Holds Ctrl+Alt+<key> on the root window, as another program that got the
// combination first would, until it is killed. Prints "held" once the grab
// is in place, "refused" if someone else already holds it.
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    const xcb_keysym_t keysym = argc > 1 ? xcb_keysym_t(argv[1][0]) : xcb_keysym_t('d');
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "hotkey_holder: cannot connect to the display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    if (!codes || codes[0] == XCB_NO_SYMBOL) {
        std::fprintf(stderr, "hotkey_holder: no key for the symbol\n");
        return 2;
    }
    // Ctrl+Alt with every combination of the lock modifiers (Caps Lock, Num
    // Lock on Mod2), as a careful grabber does.
    const uint16_t base = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    const uint16_t locks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                              XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
    bool refused = false;
    for (uint16_t lock : locks) {
        xcb_void_cookie_t cookie =
            xcb_grab_key_checked(connection, 1, screen->root, base | lock, codes[0],
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            refused = true;
            std::free(error);
        }
    }
    std::free(codes);
    xcb_key_symbols_free(symbols);
    std::printf(refused ? "refused\n" : "held\n");
    std::fflush(stdout);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection))
        std::free(event);
    xcb_disconnect(connection);
    return 0;
}
