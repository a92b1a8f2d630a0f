// The cut choice with its pictures and composed name, the charge-structure
// picture, the reference tables behind the form's lookup buttons and the
// layout picture in the diagram viewer.
#include "modules/blast_design/smooth_blasting.h"

#include "app/registry.h"
#include "app/shell.h"
#include "modules/common/tunnel_subclasses.h"

#include <string>
#include <vector>

namespace blast_design {

using namespace ui;

namespace {

const char* const kCutTypes = "列表框1";
const char* const kCutForms = "列表框2";
const char* const kLayoutBox = "图片框_布眼图";

std::string blast_picture(const std::string& file) { return "resources/pictures/blast_design/" + file; }

struct CutForm {
    const char* name;
    const char* picture;
};

// The forms of each cut type, by the type's index in 列表框1, in list order.
const std::vector<std::vector<CutForm>>& cut_forms()
{
    static const std::vector<std::vector<CutForm>> t = {
        {{"二级复式楔形掏槽", "cut_wedge_two_stage.png"},
         {"三级复式楔形掏槽", "cut_wedge_three_stage.png"},
         {"多级复式楔形掏槽", "cut_wedge_multi_stage.png"}},
        {{"龟裂直孔掏槽", "cut_burn.png"},
         {"小直径中空直孔掏槽", "cut_small_hollow.png"},
         {"五梅花小直径中空直孔掏槽", "cut_small_quincunx.png"},
         {"菱形掏槽", "cut_small_diamond.png"},
         {"螺旋掏槽", "cut_spiral.png"}},
        {{"菱形掏槽", "cut_large_diamond.png"}, {"对称掏槽", "cut_large_symmetric.png"}},
    };
    return t;
}

const CutForm* find_cut_form(int type, int form)
{
    if (type < 0 || type >= int(cut_forms().size())) return nullptr;
    const auto& forms = cut_forms()[type];
    return form >= 0 && form < int(forms.size()) ? &forms[form] : nullptr;
}

// "type(form)"; a type whose form is not chosen yet is named alone, without
// an empty pair of brackets.
void compose_cut_name()
{
    const std::string form = current_item_text(ctl(kCutForms));
    set_box_text("编辑框1_采用掏槽形式", current_item_text(ctl(kCutTypes)) + (form.empty() ? "" : "(" + form + ")"));
}

void SmoothBlastingFillCutForms(EventArgs&)
{
    cmd_list_clear(ctl(kCutForms));
    const int type = list_index(kCutTypes);
    if (type >= 0 && type < int(cut_forms().size())) {
        for (const CutForm& f : cut_forms()[type]) cmd_list_add_item(ctl(kCutForms), f.name);
        // Only the wedge cut has a parameter table of its own.
        rt_set_property(ctl("按钮1"), prop::Disabled, type != 0);
        show_picture(kLayoutBox, blast_picture(cut_forms()[type].front().picture).c_str());
    }
    compose_cut_name();
}

void SmoothBlastingComposeCutForm(EventArgs&)
{
    if (const CutForm* f = find_cut_form(list_index(kCutTypes), list_index(kCutForms)))
        show_picture(kLayoutBox, blast_picture(f->picture).c_str());
    compose_cut_name();
}

void SmoothBlastingShowChargeStructure(EventArgs&)
{
    static const char* const pictures[] = {"charge_structure_air_deck.png", "charge_structure_air_deck_decoupled.png",
                                           "charge_structure_decoupled.png"};
    const int i = combo_index("组合框1");
    if (i >= 0 && i < 3) show_picture("图片框1", blast_picture(pictures[i]).c_str());
}

// ---- explosive consumption by tunnel category and sub-class -----------------------

// The same six tables the ventilation form looks up for the same pair of boxes.
const Bytes* charge_factor_table()
{
    const int category = combo_index("组合框_隧道类别");
    const int sub = combo_index("组合框_隧道小类");
    if (sub < 0 || sub >= int(modules::tunnel_subclasses(category).size())) return nullptr;
    return &resource("resources/pictures/ventilation/charge_factor_" + std::to_string(category) + "_" +
                     std::to_string(sub) + ".png");
}

const char* const kPopup = "popup";

// Follows the sub-class only while the pop-up is open, and keeps its size.
void SmoothBlastingRefreshChargeFactorTable(EventArgs&)
{
    if (!cmd_is_created(U(kPopup))) return;
    if (const Bytes* table = charge_factor_table())
        rt_set_property(U(kPopup, "图片框2"), prop::PicBox::Picture, Blob{*table});
}

void SmoothBlastingLookupChargeFactor(EventArgs&)
{
    if (const Bytes* table = charge_factor_table()) {
        app::ShowLookupPicture(*table, 700, 600);
        return;
    }
    // No table for the pair: the pop-up keeps its picture and still takes the size.
    if (!cmd_is_created(U(kPopup))) cmd_load_form(kPopup);
    rt_set_property(U(kPopup), prop::Height, 600);
    rt_set_property(U(kPopup), prop::Width, 700);
}

// ---- fixed lookups ------------------------------------------------------------------------

struct Lookup {
    const char* handler;
    const char* picture;
    int width, height; // of the pop-up window
};

const Lookup kLookups[] = {
    {"SmoothBlastingLookupExplosives", "explosives_table.png", 700, 600},
    {"SmoothBlastingLookupWedgeCut", "wedge_cut_table.png", 500, 300},
    {"SmoothBlastingLookupNonelDetonators", "nonel_detonator_table.png", 700, 600},
    {"SmoothBlastingLookupElectricDetonators", "electric_detonator_table.png", 700, 600},
    {"SmoothBlastingLookupPerimeterHoles", "perimeter_hole_table.png", 700, 600},
    {"SmoothBlastingLookupCircularCut", "circular_cut_table.png", 700, 600},
};

// ---- the layout picture ---------------------------------------------------------------

void SmoothBlastingShowDiagram(EventArgs&)
{
    app::ShowDiagram(rt_get_property(ctl(kLayoutBox), prop::PicBox::Picture).bytes(), true);
}

void register_smooth_blasting_lookups(Runtime& rt)
{
    rt.register_handler("SmoothBlastingFillCutForms", SmoothBlastingFillCutForms);
    rt.register_handler("SmoothBlastingComposeCutForm", SmoothBlastingComposeCutForm);
    rt.register_handler("SmoothBlastingShowChargeStructure", SmoothBlastingShowChargeStructure);
    rt.register_handler("SmoothBlastingRefreshChargeFactorTable", SmoothBlastingRefreshChargeFactorTable);
    rt.register_handler("SmoothBlastingLookupChargeFactor", SmoothBlastingLookupChargeFactor);
    for (const Lookup& l : kLookups) {
        const Lookup* lookup = &l;
        rt.register_handler(l.handler, [lookup](EventArgs&) {
            app::ShowLookupPicture(resource(blast_picture(lookup->picture)), lookup->width, lookup->height);
        });
    }
    rt.register_handler("SmoothBlastingShowDiagram", SmoothBlastingShowDiagram);
}

} // namespace
JSB_HANDLERS(register_smooth_blasting_lookups)

} // namespace blast_design
