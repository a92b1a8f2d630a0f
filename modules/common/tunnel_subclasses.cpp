#include "modules/common/tunnel_subclasses.h"

#include "app/registry.h"
#include "ui/cmd.h"

namespace modules {

const std::vector<std::string>& tunnel_subclasses(int category_index)
{
    static const std::vector<std::string> table[] = {
        {"正洞机械开挖自卸汽车-无轨", "正洞开挖轻轨斗车运输-轨道", "人工开挖"},
        {"铁路隧道掘进"},
        {"每立方米耗药定额值", "每立方米耗药经验值"},
    };
    static const std::vector<std::string> none;
    return category_index >= 0 && category_index < 3 ? table[category_index] : none;
}

void fill_tunnel_subclasses(const std::string& form)
{
    using namespace ui;
    const Ref sub = U(form, "组合框_隧道小类");
    cmd_combo_clear(sub);
    int category = rt_get_property(U(form, "组合框_隧道类别"), prop::ComboBox::CurrentIndex).integer();
    for (const std::string& item : tunnel_subclasses(category)) cmd_combo_add_item(sub, item);
    rt_set_property(sub, prop::ComboBox::CurrentIndex, 0);
}

namespace {
void fill_tunnel_subclasses_handler(ui::EventArgs& e) { fill_tunnel_subclasses(e.form->name); }

void register_tunnel_subclasses(ui::Runtime& rt) { rt.register_handler("FillTunnelSubclasses", fill_tunnel_subclasses_handler); }
} // namespace
JSB_HANDLERS(register_tunnel_subclasses)

} // namespace modules
