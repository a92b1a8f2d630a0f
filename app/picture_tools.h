#pragma once
// Dragging and zooming a picture box: shared by the picture pop-up, the
// diagram viewer and the module forms that let the user move and zoom
// their own pictures.
#include "ui/cmd.h"

namespace app {

inline constexpr double kZoomIn = 1.2;
inline constexpr double kZoomOut = 0.8;

// One zoom step of one side of a box showing a picture whose own side is
// `own_side` pixels (0 when unknown): the side times the factor, cut toward
// zero. A side stays between 32 pixels and 16 times the picture's own side,
// so a box shrunk to almost nothing still grows again and one zoomed in
// without end neither overflows nor asks for a picture of endless size;
// a side already outside those bounds is never pushed further out.
int zoom_side(int side, double factor, int own_side);

// Zooms the box's Width, then its Height, by the factor (kZoomIn or kZoomOut),
// bounded by the size of the picture it shows.
void zoom_picture_box(const ui::Ref& box, double factor);
// Zooms another unit (the frame around a picture box) by the same steps and
// bounds as the box showing `picture_box`'s picture: Height, then Width.
void zoom_frame_with(const ui::Ref& frame, const ui::Ref& picture_box, double factor);

// The box's Width / 600 x 100, to 2 decimals: the viewer's zoom label.
std::string zoom_percent(const ui::Ref& box);

// The Ref of the control that raised an event.
ui::Ref event_unit(const ui::EventArgs& a);

// Handlers that module forms bind to their own picture boxes.
// LeftButtonDown: the box follows the mouse inside its parent until the
// button is released, and takes the focus so that the wheel reaches it.
void DragPictureBox(ui::EventArgs& a);
// MouseWheel: away from the user zooms in by 1.2; towards the user zooms
// out by 0.8 and puts the box back at the parent's top left corner.
void WheelZoomPictureBox(ui::EventArgs& a);

} // namespace app
