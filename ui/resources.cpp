#include "ui/resources.h"
#include "ui/resources_index.h"

#include <map>
#include <mutex>

namespace ui {
namespace {
const std::map<std::string, Bytes, std::less<>>& table()
{
    static const auto* t = [] {
        auto* m = new std::map<std::string, Bytes, std::less<>>();
        for (const EmbeddedFile* tab : {k_jsb_resources, k_jsb_templates})
            for (const EmbeddedFile* f = tab; f->path; ++f)
                (*m)[f->path] = Bytes(reinterpret_cast<const char*>(f->begin), f->end - f->begin);
        return m;
    }();
    return *t;
}
} // namespace

const Bytes& resource(std::string_view path)
{
    static const Bytes empty;
    auto it = table().find(path);
    return it == table().end() ? empty : it->second;
}

bool has_resource(std::string_view path) { return table().count(path) != 0; }

std::vector<std::string> resource_paths(std::string_view prefix)
{
    std::vector<std::string> out;
    for (auto& [k, v] : table())
        if (std::string_view(k).substr(0, prefix.size()) == prefix) out.push_back(k);
    return out;
}
} // namespace ui
