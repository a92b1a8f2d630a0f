// A desktop panel for the desktop tests: a dock window along the bottom of
// the screen that reserves its height (as a site laptop's task bar does), so
// the window manager's work area is the screen less the panel.
//   desk_panel [HEIGHT]   (30 when not given)
// Waits for the window manager, prints "ready" once the work area leaves
// the panel out, and runs until it is killed.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

void set_cardinals(xcb_connection_t* c, xcb_window_t w, const char* name, const uint32_t* values, uint32_t n)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, name), XCB_ATOM_CARDINAL, 32, n, values);
}

// A 32-bit property of the root window (empty when it is not set).
std::vector<uint32_t> root_values(xcb_connection_t* c, xcb_window_t root, const char* name)
{
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom(c, name), XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr);
    std::vector<uint32_t> v;
    if (r && r->format == 32) {
        auto* data = static_cast<uint32_t*>(xcb_get_property_value(r));
        v.assign(data, data + xcb_get_property_value_length(r) / 4);
    }
    std::free(r);
    return v;
}

// Polls for up to `ms` milliseconds.
template <class Done> bool wait_for(Done done, int ms = 10000)
{
    for (int i = 0; i < ms / 20; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const int height = argc > 1 ? std::atoi(argv[1]) : 30;
    if (height <= 0) {
        std::fprintf(stderr, "usage: desk_panel [HEIGHT]\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "desk_panel: no X display\n");
        return 1;
    }
    xcb_screen_t* s = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!wait_for([&] { return !root_values(c, s->root, "_NET_SUPPORTING_WM_CHECK").empty(); })) {
        std::fprintf(stderr, "desk_panel: no window manager came up\n");
        return 1;
    }
    const uint32_t w = s->width_in_pixels, h = uint32_t(height), top = s->height_in_pixels - h;
    xcb_window_t win = xcb_generate_id(c);
    const uint32_t look[] = {0x303840, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, win, s->root, 0, int16_t(top), uint16_t(w), uint16_t(h), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, s->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, look);
    const char title[] = "desk_panel";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof title - 1, title);
    // Where it was put, as the user asked: a window manager leaves it there.
    const uint32_t hints[18] = {1 | 2 | 4 | 8, 0, top, w, h}; // US and P position and size
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
    const xcb_atom_t dock = atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &dock);
    // left, right, top, bottom; then the bottom strut spans the whole width.
    const uint32_t strut[12] = {0, 0, 0, h, 0, 0, 0, 0, 0, 0, 0, w - 1};
    set_cardinals(c, win, "_NET_WM_STRUT", strut, 4);
    set_cardinals(c, win, "_NET_WM_STRUT_PARTIAL", strut, 12);
    const uint32_t every_desktop = 0xFFFFFFFF;
    set_cardinals(c, win, "_NET_WM_DESKTOP", &every_desktop, 1);
    // A window manager still starting up may take the panel for a plain
    // window: shown again until the work area leaves it out.
    auto reserved = [&] {
        std::vector<uint32_t> area = root_values(c, s->root, "_NET_WORKAREA");
        return area.size() >= 4 && area[3] == top;
    };
    bool ready = false;
    for (int attempt = 0; attempt < 10 && !ready; ++attempt) {
        if (attempt) xcb_unmap_window(c, win);
        xcb_map_window(c, win);
        xcb_flush(c);
        ready = wait_for(reserved, 1000);
    }
    if (!ready) {
        std::fprintf(stderr, "desk_panel: the work area never left the panel out\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    while (xcb_generic_event_t* e = xcb_wait_for_event(c)) std::free(e);
    xcb_disconnect(c);
    return 0;
}
