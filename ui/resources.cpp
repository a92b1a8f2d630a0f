#include "ui/resources.h"
#include "ui/resources_index.h"

#include <algorithm>
#include <ostream>

namespace ui {
namespace {
struct Entry {
    std::string_view path;
    Bytes bytes; // refers to the embedded bytes
};

// An index of the embedded files, sorted by path; the bytes stay where the
// build put them.
const std::vector<Entry>& index()
{
    static const std::vector<Entry> entries = [] {
        std::vector<Entry> v;
        for (const EmbeddedFile* tab : {k_jsb_resources, k_jsb_templates})
            for (const EmbeddedFile* f = tab; f->path; ++f)
                v.push_back({f->path, Bytes::lasting({reinterpret_cast<const char*>(f->begin), size_t(f->end - f->begin)})});
        // A path given twice: the later file counts.
        std::reverse(v.begin(), v.end());
        std::stable_sort(v.begin(), v.end(), [](const Entry& a, const Entry& b) { return a.path < b.path; });
        v.erase(std::unique(v.begin(), v.end(), [](const Entry& a, const Entry& b) { return a.path == b.path; }), v.end());
        return v;
    }();
    return entries;
}

const Entry* find(std::string_view path)
{
    const auto& v = index();
    auto it = std::lower_bound(v.begin(), v.end(), path, [](const Entry& e, std::string_view p) { return e.path < p; });
    return it != v.end() && it->path == path ? &*it : nullptr;
}
} // namespace

std::ostream& operator<<(std::ostream& os, const Bytes& b) { return os << b.view(); }

const Bytes& resource(std::string_view path)
{
    static const Bytes empty;
    const Entry* e = find(path);
    return e ? e->bytes : empty;
}

bool has_resource(std::string_view path) { return find(path) != nullptr; }

std::vector<std::string> resource_paths(std::string_view prefix)
{
    std::vector<std::string> out;
    for (const Entry& e : index())
        if (e.path.starts_with(prefix)) out.emplace_back(e.path);
    return out;
}
} // namespace ui
