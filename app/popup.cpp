// The "查询" pop-up: a reference table that exists only as a picture, shown
// beside the main window (no owner, not modal) when a lookup button asks.
#include "app/picture_tools.h"
#include "app/registry.h"
#include "app/shell.h"

namespace app {

namespace {
using namespace ui;

const char* const kPopup = "popup";
Ref popup() { return U(kPopup); }
Ref frame() { return U(kPopup, "外形框1"); }
Ref picture() { return U(kPopup, "图片框2"); }

int get(const Ref& r, int p) { return cmd_to_int(rt_get_property(r, p)); }
void set(const Ref& r, int p, double v) { rt_set_property(r, p, int(v)); } // cut toward zero

void PicturePopupCreated(EventArgs&)
{
    set(picture(), prop::Top, get(frame(), prop::Top));
    set(picture(), prop::Width, get(frame(), prop::Width) * 0.95);
    set(frame(), prop::Height, get(popup(), prop::Height));
}

// The picture's size when the table fits the window: 95 % of the window.
int fitted_width() { return int(get(popup(), prop::Width) * 0.95); }
int fitted_height() { return int(get(popup(), prop::Height) * 0.95); }

// The frame fills the window and the picture, 95 % of it, stands in the
// middle of the frame: the table shows whole, centred in the window.
void fit_table()
{
    set(frame(), prop::Left, 0);
    set(frame(), prop::Top, 0);
    set(frame(), prop::Width, get(popup(), prop::Width));
    set(frame(), prop::Height, get(popup(), prop::Height));
    set(picture(), prop::Width, fitted_width());
    set(picture(), prop::Height, fitted_height());
    set(picture(), prop::Left, (cmd_client_width(frame()) - fitted_width()) / 2);
    set(picture(), prop::Top, (cmd_client_height(frame()) - fitted_height()) / 2);
    cmd_repaint_now(picture());
}

// Every size change, also the ones ShowLookupPicture makes.
void LayoutPicturePopup(EventArgs&) { fit_table(); }

void DragPopupPicture(EventArgs&)
{
    cmd_set_focus(picture());
    cmd_drag_control(picture());
}

// Zooming in grows the frame with the picture, and the window scrolls over
// it; zooming out shrinks only the picture, never below the size at which
// the table fits the window: there it is fitted and centred again.
void WheelPopupPicture(EventArgs& a)
{
    if (a.a > 0) {
        zoom_picture_box(picture(), kZoomIn);
        zoom_frame_with(frame(), picture(), kZoomIn);
        return;
    }
    auto fits = [] { return get(picture(), prop::Width) <= fitted_width() || get(picture(), prop::Height) <= fitted_height(); };
    if (fits()) return;
    zoom_picture_box(picture(), kZoomOut);
    if (fits()) fit_table();
}

void register_popup(Runtime& rt)
{
    rt.register_handler("PicturePopupCreated", PicturePopupCreated);
    rt.register_handler("LayoutPicturePopup", LayoutPicturePopup);
    rt.register_handler("DragPopupPicture", DragPopupPicture);
    rt.register_handler("WheelPopupPicture", WheelPopupPicture);
}
JSB_HANDLERS(register_popup)
} // namespace

void ShowLookupPicture(const ui::Bytes& picture_bytes, int width, int height)
{
    if (!cmd_is_created(popup())) cmd_load_form(kPopup);
    rt_set_property(picture(), prop::PicBox::Picture, Blob{picture_bytes});
    rt_set_property(popup(), prop::Height, height);
    rt_set_property(popup(), prop::Width, width);
}

} // namespace app
