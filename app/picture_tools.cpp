#include "app/picture_tools.h"

#include "app/registry.h"
#include "ui/media.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {
constexpr int kSmallestSide = 32;
constexpr int kLargestZoom = 16;
// Bound for a box whose picture has no size we can read (none, or not a PNG or GIF).
constexpr int kUnknownPictureSide = 1024;

void own_size(const ui::Ref& box, int* w, int* h)
{
    ui::Value pic = ui::rt_get_property(box, ui::prop::PicBox::Picture);
    if (!ui::picture_size(pic.bytes(), w, h)) *w = *h = 0;
}
} // namespace

int zoom_side(int side, double factor, int own_side)
{
    const double lo = kSmallestSide;
    const double hi = std::max(lo, double(kLargestZoom) * (own_side > 0 ? own_side : kUnknownPictureSide));
    double z = std::trunc(double(side) * factor);
    if (factor >= 1) {
        z = std::max(z, lo);
        z = std::min(z, std::max(hi, double(side)));
    } else {
        z = std::max(z, std::min(lo, double(side)));
        z = std::min(z, double(side));
    }
    return int(z);
}

void zoom_picture_box(const ui::Ref& box, double factor)
{
    int w = 0, h = 0;
    own_size(box, &w, &h);
    using namespace ui;
    rt_set_property(box, prop::Width, zoom_side(cmd_to_int(rt_get_property(box, prop::Width)), factor, w));
    rt_set_property(box, prop::Height, zoom_side(cmd_to_int(rt_get_property(box, prop::Height)), factor, h));
}

void zoom_frame_with(const ui::Ref& frame, const ui::Ref& picture_box, double factor)
{
    int w = 0, h = 0;
    own_size(picture_box, &w, &h);
    using namespace ui;
    rt_set_property(frame, prop::Height, zoom_side(cmd_to_int(rt_get_property(frame, prop::Height)), factor, h));
    rt_set_property(frame, prop::Width, zoom_side(cmd_to_int(rt_get_property(frame, prop::Width)), factor, w));
}

std::string zoom_percent(const ui::Ref& box)
{
    double width = ui::cmd_to_number(ui::rt_get_property(box, ui::prop::Width));
    return ui::cmd_to_text(ui::cmd_round(width / 600 * 100, 2));
}

ui::Ref event_unit(const ui::EventArgs& a)
{
    bool is_form = a.control == &a.form->self();
    return ui::U(a.form->name, is_form ? std::string() : a.control->name);
}

void DragPictureBox(ui::EventArgs& a)
{
    ui::Ref box = event_unit(a);
    ui::cmd_drag_control(box);
    ui::cmd_set_focus(box);
}

void WheelZoomPictureBox(ui::EventArgs& a)
{
    ui::Ref box = event_unit(a);
    if (a.a > 0) {
        zoom_picture_box(box, kZoomIn);
        return;
    }
    zoom_picture_box(box, kZoomOut);
    ui::rt_set_property(box, ui::prop::Top, 0);
    ui::rt_set_property(box, ui::prop::Left, 0);
}

static void register_picture_tools(ui::Runtime& rt)
{
    rt.register_handler("DragPictureBox", DragPictureBox);
    rt.register_handler("WheelZoomPictureBox", WheelZoomPictureBox);
}
JSB_HANDLERS(register_picture_tools)

} // namespace app
