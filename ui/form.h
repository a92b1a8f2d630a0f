#pragma once
// Forms and controls as the runtime holds them. A form is a window made of
// controls; the first control record of a form is the form itself. State
// lives here; the backends only show it.
#include "ui/resources.h"
#include "ui/value.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace ui {

enum class Kind : int {
    window, menu, Label, EditBox, TransLabel, ShapeBox, PicBtn, PicBox, ComboBox, Button,
    GroupBox, Q_tip, ProcessBar, RadioBox, CheckBox, ChkListBox, Tab, ListBox, Timer,
    HtmlViewer, ToolBar, HScrollBar, VScrollBar, DriverBox, CommonDlg, BarChart, WordApp,
    WordDocuments,
};
const char* kind_name(Kind k);
bool kind_from_name(const std::string& s, Kind* out);

enum class Event : int {
    Created, Destroyed, SizeChanged, QueryClose, Click, SelectionChanged, ContentChanged,
    PositionChanged, PageChanged, Tick, ButtonClick, LeftButtonDown, RightButtonDown,
    LostFocus, MouseWheel,
};
const char* event_name(Event e);
bool event_from_name(const std::string& s, Event* out);

// Property numbers: 0..7 on every control, the rest per kind.
namespace prop {
constexpr int Left = 0, Top = 1, Width = 2, Height = 3, Tag = 4, Visible = 5, Disabled = 6,
              MousePointer = 7;
namespace window { constexpr int Title = 8; }
namespace EditBox { constexpr int Content = 8, TextColor = 10, BackColor = 11, Font = 12, InputMode = 18; }
namespace Label { constexpr int Caption = 8, TextColor = 16; }
namespace TransLabel { constexpr int Caption = 8; }
namespace GroupBox { constexpr int Caption = 8; }
namespace Button { constexpr int Caption = 8; }
namespace CheckBox { constexpr int Caption = 11, TextColor = 15, Checked = 18; }
namespace RadioBox { constexpr int Caption = 11, Checked = 18; }
namespace ComboBox { constexpr int Content = 9, CurrentIndex = 19; }
namespace ListBox { constexpr int BackColor = 13, CurrentIndex = 16; }
namespace ChkListBox { constexpr int SingleCheck = 12, CurrentIndex = 14; }
namespace PicBox { constexpr int Picture = 10; }
namespace PicBtn { constexpr int Picture = 10, PictureHover = 11, PicturePressed = 12, PictureDisabled = 13; }
namespace ProcessBar { constexpr int Maximum = 12, Position = 13; }
namespace ScrollBar { constexpr int Maximum = 9, Page = 10, Position = 12; }
namespace Tab { constexpr int CurrentPage = 12; }
namespace Timer { constexpr int Interval = 8; }
namespace ShapeBox { constexpr int BackColor = 8; }
namespace CommonDlg { constexpr int Kind = 8, FileName = 10, Filter = 11, InitialFolder = 13, DefaultExtension = 14; }
namespace WordApp { constexpr int AppVisible = 14; }
namespace BarChart {
constexpr int Title = 15, XAxisCaption = 18, YMaximum = 22, YDivisions = 23, SeriesCount = 27,
              CurrentSeries = 28, SeriesName = 29, SeriesColor = 30, CategoryCount = 31,
              CurrentCategory = 32, CategoryName = 33, Value = 34;
}
namespace FontMember { constexpr int Size = 5, Face = 6; }
} // namespace prop

// 0xFF000000 stands for the system's button-face colour.
constexpr int32_t kButtonFace = int32_t(0xFF000000u);

struct Font {
    std::string face = "宋体";
    int size = 9;
    bool bold = false, italic = false, underline = false;
};

// A bar chart's series and categories. Every control carries one; only a
// BarChart fills it (one series, one category, Runtime::create_form), so
// that the others cost no allocation.
// The largest value a bar chart keeps: a larger one is kept as this.
constexpr double kChartValueCap = 10000000.0;

struct ChartModel {
    std::string title, x_caption;
    int y_maximum = 100, y_divisions = 10;
    int series_count = 1, current_series = 0, category_count = 1, current_category = 0;
    std::vector<std::string> series_names;
    std::vector<int32_t> series_colors;
    std::vector<std::string> category_names;
    std::vector<std::vector<double>> values; // [series][category]
};

struct ToolButton {
    int image = 0;
    int state = 0;
    std::string caption;
};

struct MenuItem {
    int id = 0;
    std::string caption;
    int level = 0;      // 0 = menu-bar entry or pop-up root, 1 = item under the preceding root
    bool hidden = false; // a hidden root serves as a pop-up menu
    std::string click;  // handler name
};

enum class Border { none, resizable, fixed, tool_resizable, tool_fixed };

struct Form;

struct Control {
    int id = 0;
    Kind kind = Kind::Label;
    std::string name;
    Form* form = nullptr;
    Control* parent = nullptr; // nullptr: the form's client area
    int page = -1;             // page of a Tab parent
    std::vector<Control*> children;

    int left = 0, top = 0, width = 0, height = 0;
    int tag = 0;
    bool visible = true, disabled = false, tab_stop = true;
    int mouse_pointer = 0;
    std::map<Event, std::string> events;

    // Texts: Title, Content or Caption, by kind.
    std::string text;
    int32_t text_color = 0;
    int32_t back_color = kButtonFace;
    Font font;
    int input_mode = 0;
    // What the formulas reading this box accept (see ui/value.h).
    Domain domain = Domain::Unchecked;
    // The figure a calculation worked out for the number it last wrote here
    // and the text it wrote for it (see worked_figure in ui/cmd.h).
    double worked = 0;
    std::string worked_text;

    // Lists.
    std::vector<std::string> items;
    std::vector<bool> item_checked;
    int current_index = -1;
    bool single_check = false;
    bool editable = false; // ComboBox that takes typing

    // Marks.
    bool checked = false;
    std::string group; // radio group; empty = siblings on the same page

    // Pictures: PicBox uses [0]; PicBtn normal, hover, pressed, disabled.
    Bytes pictures[4];
    int32_t transparent_color = -1;
    int display_mode = 0; // PicBox: as the form gives it; every picture box shows its picture whole in its own shape
    int64_t animation_start = 0; // clock time the current picture started playing

    // Ranges.
    int minimum = 0, maximum = 100, position = 0;
    int page_size = 0; // scroll bar: what one page shows, in its units (0: a tenth of the range)

    // Timer.
    int interval = 0;
    int64_t next_due = 0;

    // Tab.
    int current_page = 0;
    std::vector<std::string> page_captions;
    bool headerless = false;
    int header_side = 0; // 0 top, 1 bottom, 2 left, 3 right
    bool multiline = false;

    // CommonDlg.
    int dialog_kind = 0; // 0 open, 1 save
    std::string file_name, filter, initial_folder, default_extension;

    // WordApp.
    bool app_visible = false;

    // BarChart.
    ChartModel chart;

    // Q_tip: target control id -> tip text.
    std::map<int, std::string> tips;

    // ToolBar: its buttons and the image list they index.
    std::vector<ToolButton> tool_buttons;
    std::vector<Bytes> images;

    // HtmlViewer: last address navigated to.
    std::string address;

    // window only.
    Border border = Border::none;
    bool close_box = true, min_box = false, max_box = false;
    bool escape_closes = false; // Esc closes it as its close box does
    bool centered = true;

    void* view = nullptr; // the backend's widget, if any
};

struct Form {
    std::string name; // definition name: "main", "Roller" ...
    int id = 0;
    std::vector<std::unique_ptr<Control>> controls; // [0] is the form itself
    std::unordered_map<std::string, Control*> by_name;
    std::vector<MenuItem> menus;
    Form* owner = nullptr;
    bool modal = false;
    Control* frame = nullptr; // container of another form when embedded
    bool destroying = false;
    int disabled_by_modal = 0;

    Control& self() { return *controls[0]; }
    Control* find(const std::string& control_name) const
    {
        auto it = by_name.find(control_name);
        return it == by_name.end() ? nullptr : it->second;
    }
};

} // namespace ui
