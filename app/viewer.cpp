// The "计算示意图" viewer: a module's diagram enlarged, fitted, zoomed,
// dragged and saved as the PNG file it was given.
#include "app/picture_tools.h"
#include "app/registry.h"
#include "app/shell.h"

#include <utility>

namespace app {

namespace {
using namespace ui;

const char* const kViewer = "viewer";
Ref viewer() { return U(kViewer); }
Ref frame() { return U(kViewer, "外形框1"); }
Ref picture() { return U(kViewer, "图片框1"); }
Ref toolbar() { return U(kViewer, "工具条3"); }
Ref zoom_label() { return U(kViewer, "透明标签1"); }
Ref save_dialog() { return U(kViewer, "通用对话框1"); }

// The picture fills the frame's height with a 30:23 landscape shape.
constexpr double kFitShape = 1.3043478260869565;

// The wheel has grown the frame with the picture past the window's layout.
bool g_frame_grown = false;

int get(const Ref& r, int p) { return cmd_to_int(rt_get_property(r, p)); }
void set(const Ref& r, int p, double v) { rt_set_property(r, p, int(v)); } // cut toward zero

// Tool-bar and menu zooms end the label with a blank, wheel zooms do not.
void show_zoom(const char* suffix)
{
    rt_set_property(zoom_label(), prop::TransLabel::Caption, zoom_percent(picture()) + suffix);
}

void DiagramViewerCreated(EventArgs&) {}

void LayoutDiagramViewer(EventArgs&)
{
    g_frame_grown = false;
    int client_w = cmd_client_width(viewer()), client_h = cmd_client_height(viewer());
    set(frame(), prop::Height, client_h - 5);
    set(frame(), prop::Width, client_w - 5);
    set(picture(), prop::Width, get(frame(), prop::Height) * kFitShape - 40);
    set(picture(), prop::Height, get(frame(), prop::Height) - 50);
    set(toolbar(), prop::Left, client_w - 32);
    set(zoom_label(), prop::Left, get(frame(), prop::Left) + get(frame(), prop::Width) - 150);
}

// "图片满屏": the picture fitted to the frame, which the window's layout
// gives back its size first where the wheel grew it.
void fit_picture()
{
    if (std::exchange(g_frame_grown, false)) {
        set(frame(), prop::Height, cmd_client_height(viewer()) - 5);
        set(frame(), prop::Width, cmd_client_width(viewer()) - 5);
    }
    set(picture(), prop::Width, get(frame(), prop::Height) * kFitShape - 40);
    set(picture(), prop::Height, get(frame(), prop::Height) - 50);
    set(picture(), prop::Top, 2);
    set(picture(), prop::Left, 2);
}

enum DiagramTool { FitButton = 0, ZoomOutButton = 1, ZoomInButton = 2 };

void DiagramToolbarClicked(EventArgs& a)
{
    switch (a.a) {
    case FitButton: fit_picture(); break;
    case ZoomOutButton: zoom_picture_box(picture(), kZoomOut); break;
    case ZoomInButton: zoom_picture_box(picture(), kZoomIn); break;
    default: return;
    }
    show_zoom("% ");
}

void ZoomDiagramIn(EventArgs&)
{
    zoom_picture_box(picture(), kZoomIn);
    show_zoom("% ");
}

void ZoomDiagramOut(EventArgs&)
{
    zoom_picture_box(picture(), kZoomOut);
    show_zoom("% ");
}

// The wheel zooms as in a look-up: in, the frame grows with the picture and
// the window scrolls over it; out, only the picture shrinks, never below the
// size that fits the window ("图片满屏"), where the frame is the window's
// again and the picture fitted.
void WheelZoomDiagram(EventArgs& a)
{
    if (a.a > 0) {
        zoom_picture_box(picture(), kZoomIn);
        zoom_frame_with(frame(), picture(), kZoomIn);
        g_frame_grown = true;
    } else {
        const int frame_h = cmd_client_height(viewer()) - 5;
        auto fits = [&] {
            return get(picture(), prop::Width) <= int(frame_h * kFitShape - 40) || get(picture(), prop::Height) <= frame_h - 50;
        };
        if (!fits()) {
            zoom_picture_box(picture(), kZoomOut);
            if (fits()) {
                g_frame_grown = true;
                fit_picture();
            }
        }
    }
    show_zoom("%");
}

void ShowDiagramMenu(EventArgs&) { cmd_popup_menu(kViewer, "打开"); }

void DragDiagram(EventArgs&)
{
    cmd_drag_control(picture());
    cmd_set_focus(picture());
}

// Saves the picture as it was given, not a rendering at the current zoom; a
// failed save leaves the chosen file as it was and says why.
void ExportDiagramPicture(EventArgs&)
{
    namespace D = prop::CommonDlg;
    rt_set_property(save_dialog(), D::Kind, 1);
    rt_set_property(save_dialog(), D::Filter, "图片（.png）|*.png");
    rt_set_property(save_dialog(), D::InitialFolder, cmd_program_folder());
    rt_set_property(save_dialog(), D::DefaultExtension, ".png");
    if (!cmd_open_dialog(save_dialog())) return;
    std::string path = cmd_to_text(rt_get_property(save_dialog(), D::FileName));
    Value bytes = rt_get_property(picture(), prop::PicBox::Picture);
    std::string why;
    if (!cmd_write_file(path, bytes.bytes(), &why))
        cmd_message_box("图片保存失败：" + path + "\r\n无法写入文件：" + why, 0, "错误", kViewer);
}

void register_viewer(Runtime& rt)
{
    rt.register_handler("DiagramViewerCreated", DiagramViewerCreated);
    rt.register_handler("LayoutDiagramViewer", LayoutDiagramViewer);
    rt.register_handler("DiagramToolbarClicked", DiagramToolbarClicked);
    rt.register_handler("ShowDiagramMenu", ShowDiagramMenu);
    rt.register_handler("ZoomDiagramIn", ZoomDiagramIn);
    rt.register_handler("ZoomDiagramOut", ZoomDiagramOut);
    rt.register_handler("ExportDiagramPicture", ExportDiagramPicture);
    rt.register_handler("DragDiagram", DragDiagram);
    rt.register_handler("WheelZoomDiagram", WheelZoomDiagram);
}
JSB_HANDLERS(register_viewer)

// Window, frame and picture sizes a module's diagram button gives the viewer.
struct DiagramSizes {
    int window_w, window_h, frame_w, frame_h, picture_w, picture_h;
};
constexpr DiagramSizes kReopened{614, 418, 609, 413, 604, 408};
constexpr DiagramSizes kNewlyLoaded{700, 500, 670, 501, 604, 408};
} // namespace

void ShowDiagram(const ui::Bytes& picture_bytes, bool sized)
{
    bool was_open = cmd_is_created(viewer());
    if (!was_open) cmd_load_form(kViewer);
    g_frame_grown = false;
    rt_set_property(picture(), prop::PicBox::Picture, Blob{picture_bytes});
    if (!sized) return;
    const DiagramSizes& s = was_open ? kReopened : kNewlyLoaded;
    set(viewer(), prop::Width, s.window_w);
    set(viewer(), prop::Height, s.window_h);
    set(frame(), prop::Width, s.frame_w);
    set(frame(), prop::Height, s.frame_h);
    set(picture(), prop::Width, s.picture_w);
    set(picture(), prop::Height, s.picture_h);
}

} // namespace app
