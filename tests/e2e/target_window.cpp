// A plain window for the end-to-end tests: filled with one colour by the X
// server itself, it appends every button press it receives to a log file.
//   target_window RRGGBB WxH+X+Y LOGFILE
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

int main(int argc, char** argv) {
    unsigned width = 0, height = 0;
    int x = 0, y = 0;
    if (argc != 4 || std::sscanf(argv[2], "%ux%u+%d+%d", &width, &height, &x, &y) != 4)
        return 2;
    const unsigned color = unsigned(std::strtoul(argv[1], nullptr, 16));
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;

    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t values[] = {color, XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, int16_t(x),
                      int16_t(y), uint16_t(width), uint16_t(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    static const char wmClass[] = "target_window\0TargetWindow";
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, sizeof(wmClass), wmClass);
    xcb_map_window(connection, window);
    xcb_flush(connection);

    FILE* log = std::fopen(argv[3], "a");
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        if ((event->response_type & 0x7f) == XCB_BUTTON_PRESS && log) {
            const auto* press = reinterpret_cast<xcb_button_press_event_t*>(event);
            std::fprintf(log, "press %d %d %d\n", press->detail, press->event_x, press->event_y);
            std::fflush(log);
        }
        std::free(event);
    }
    return 0;
}
