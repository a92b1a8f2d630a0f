#pragma once
// How the runtime's values look on a Qt desktop: Windows colour values,
// Windows font faces and point sizes, texts with CR LF, embedded pictures.
#include "ui/form.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <memory>
#include <vector>

namespace ui::qt {

// The program's look, set once after the QApplication exists: the Fusion
// style with its standard light palette and Qt's own dialogs in Chinese.
void use_program_look();

// A Windows colour value (0x00BBGGRR; kButtonFace for the system face).
QColor to_qcolor(int32_t windows_color);
// The face colour Windows draws dialogs and buttons with.
QColor button_face();

// The installed family that shows Chinese text (first of a list of known
// CJK families, else the system's default).
QString cjk_family();
// A form's font: its face mapped to an installed family that has the
// Chinese glyphs, its point size turned into pixels as Windows does at
// 96 dpi so that texts fit the pixel geometry of the forms.
QFont to_qfont(const Font& f);

// Runtime text (UTF-8, lines ending CR LF) for a widget and back.
QString to_qtext(const std::string& s);
std::string from_qtext(const QString& s, bool crlf = true);

// A decoded PNG or GIF: one image per frame (one for a still picture).
struct Picture {
    std::vector<QImage> frames;
    std::vector<bool> opaque; // per frame: every pixel fully opaque
    bool empty() const { return frames.empty(); }
    const QImage& frame(int i) const { return frames[size_t(i) % frames.size()]; }
    bool frame_opaque(int i) const { return opaque[size_t(i) % opaque.size()]; }
};
// Decodes a picture (remembering the ones used last); pixels of
// `transparent` (a Windows colour, -1 for none) become see-through. Never
// null; empty for no picture or bytes that are none.
std::shared_ptr<const Picture> decode_picture(const Bytes& data, int32_t transparent = -1);
// Starts decoding embedded pictures (with their transparent colours) on a
// worker thread, for a form about to show them: the first paint finds them
// decoded. Other blocks are decoded when first drawn.
void decode_ahead(const std::vector<std::pair<Bytes, int32_t>>& pictures);
// The picture drawn at a widget's size (logical pixels at the device pixel
// ratio), smooth when scaled, as a paint copies it: decoded the first time
// it is shown and kept for each size it is shown at. Null for no picture.
QPixmap picture_at(const Bytes& data, int32_t transparent, QSize size, qreal dpr, int frame = 0);

} // namespace ui::qt
