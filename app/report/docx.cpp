#include "app/report/docx.h"

#include "ui/cmd.h"

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace report {
namespace {

// Whitespace-only text must survive (a w:t holding one blank is visible
// text), and the declaration, comments and PIs are written back as read.
constexpr unsigned k_parse_flags =
    (pugi::parse_full | pugi::parse_ws_pcdata) & ~pugi::parse_wconv_attribute;

struct Entry {
    std::string name; // as stored in the zip directory
    zip_uint64_t index = 0; // in the package it was read from
    std::string data;       // as read; the main part's is parsed in place
    bool dir = false;
    bool stored = false; // kept uncompressed, as it came (usually media)
    bool has_mtime = false;
    time_t mtime = 0;
};

void set_error(std::string* error, std::string msg)
{
    if (error) *error = std::move(msg);
}

// ---- element names --------------------------------------------------------
// Word always writes the prefixes w:, m: and mc:, but the names are looked up
// from the namespace declarations so that a document written with other
// prefixes (or Strict OOXML) is still understood.
struct Names {
    std::string p, r, t, rPr, del, moveFrom, lastRenderedPageBreak, softHyphen, br, tab;
    std::string oMath, oMathPara, mr, mt, mrPr;
    std::string alternateContent;

    void init(pugi::xml_node root)
    {
        std::string w = "w", m = "m", mc = "mc";
        for (pugi::xml_attribute a : root.attributes()) {
            std::string_view name = a.name(), uri = a.value();
            std::string prefix;
            if (name == "xmlns") prefix.clear();
            else if (name.substr(0, 6) == "xmlns:") prefix = std::string(name.substr(6));
            else continue;
            if (uri == "http://schemas.openxmlformats.org/wordprocessingml/2006/main" ||
                uri == "http://purl.oclc.org/ooxml/wordprocessingml/main")
                w = prefix;
            else if (uri == "http://schemas.openxmlformats.org/officeDocument/2006/math" ||
                     uri == "http://purl.oclc.org/ooxml/officeDocument/math")
                m = prefix;
            else if (uri == "http://schemas.openxmlformats.org/markup-compatibility/2006")
                mc = prefix;
        }
        auto q = [](const std::string& prefix, const char* local) {
            return prefix.empty() ? std::string(local) : prefix + ":" + local;
        };
        p = q(w, "p"), r = q(w, "r"), t = q(w, "t"), rPr = q(w, "rPr");
        del = q(w, "del"), moveFrom = q(w, "moveFrom");
        lastRenderedPageBreak = q(w, "lastRenderedPageBreak"), softHyphen = q(w, "softHyphen");
        br = q(w, "br"), tab = q(w, "tab");
        oMath = q(m, "oMath"), oMathPara = q(m, "oMathPara");
        mr = q(m, "r"), mt = q(m, "t"), mrPr = q(m, "rPr");
        alternateContent = q(mc, "AlternateContent");
    }
};

bool is(pugi::xml_node n, const std::string& name) { return std::strcmp(n.name(), name.c_str()) == 0; }

// ---- the index ----------------------------------------------------------------
// The visible text is cut into segments: stretches within which a match may
// run from one text node into the next. Anything that shows as something
// other than text (a tab, a break, a picture, an equation inside a paragraph,
// the end of a paragraph) ends a segment; marks that show nothing (proofing
// marks, bookmarks, rendering hints, run boundaries) don't.
//
// The main story is walked once, when the first placeholder is asked for;
// the index keeps its text, segment after segment in document order, and
// the text node each stretch of it lives in. That text never changes: a
// replacement marks its bytes used and puts the value in a run of its own
// outside the indexed text. So an occurrence found in the indexed text is
// still in the document exactly when none of its bytes are used; a match
// can neither take in inserted text nor run across it, and the first such
// occurrence is the first in the document.
struct Piece {
    pugi::xml_node t; // a w:t or m:t
    size_t begin = 0; // where its text sits in the index's text
    size_t size = 0;  // its text now; the bytes replaced are gone from it
};

struct Segment {
    bool math = false;
    size_t begin = 0, end = 0; // in the index's text
    std::vector<Piece> pieces; // in document order, so by begin
};

struct Index {
    std::string text;
    std::vector<Segment> segments; // in document order, so by begin
    std::vector<unsigned char> used;
    struct Occurrences {
        std::vector<size_t> at; // every start in the text, in order
        size_t next = 0;        // those before it are known to be used
    };
    std::unordered_map<std::string, Occurrences> found;

    // Finds every placeholder not looked for yet in one pass over the text.
    void find_all(const std::vector<std::string_view>& placeholders);
    // A placeholder's occurrences; found by a search of its own when it
    // was not among those looked for together.
    Occurrences& occurrences(std::string_view placeholder);
    bool touches_used(size_t at, size_t size) const
    {
        return std::memchr(used.data() + at, 1, size) != nullptr;
    }
    Segment& segment_at(size_t at)
    {
        auto it = std::upper_bound(segments.begin(), segments.end(), at,
                                   [](size_t x, const Segment& s) { return x < s.begin; });
        return *(it - 1);
    }
};

// One walk over the main story, cutting it into segments.
class Walker {
public:
    Walker(const Names& n, Index& index) : n_(n), index_(index) {}
    void run(pugi::xml_node root) { block(root); }

private:
    struct Open {
        bool math = false;
        std::string text;
        std::vector<Piece> pieces; // begin relative to text
    };

    void flush(Open& s)
    {
        if (!s.pieces.empty()) {
            Segment seg;
            seg.math = s.math;
            seg.begin = index_.text.size();
            index_.text += s.text;
            seg.end = index_.text.size();
            for (Piece& p : s.pieces) p.begin += seg.begin;
            seg.pieces = std::move(s.pieces);
            index_.segments.push_back(std::move(seg));
        }
        s.text.clear();
        s.pieces.clear();
    }

    void add(Open& s, pugi::xml_node t)
    {
        const char* v = t.child_value();
        size_t len = std::strlen(v);
        s.pieces.push_back({t, s.text.size(), len});
        s.text.append(v, len);
    }

    // Anything that is not a paragraph: the body, tables, rows, cells,
    // content controls, text boxes.
    void block(pugi::xml_node node)
    {
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element) continue;
            if (is(c, n_.p)) paragraph(c);
            else if (is(c, n_.oMath)) math(c);
            else block(c);
        }
    }

    void paragraph(pugi::xml_node p)
    {
        Open s;
        inline_content(p, s);
        flush(s);
    }

    void inline_content(pugi::xml_node node, Open& s)
    {
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element) continue;
            if (is(c, n_.r)) {
                run(c, s);
            } else if (is(c, n_.oMath)) {
                flush(s);
                math(c);
            } else if (is(c, n_.oMathPara)) {
                flush(s);
                block(c);
            } else if (is(c, n_.p)) {
                flush(s);
                paragraph(c);
            } else if (is(c, n_.del) || is(c, n_.moveFrom)) {
                // deleted text is not visible and does not separate
            } else if (is(c, n_.alternateContent)) {
                // each branch is a complete alternative of the same content
                flush(s);
                for (pugi::xml_node b = c.first_child(); b; b = b.next_sibling()) {
                    if (b.type() != pugi::node_element) continue;
                    Open bs;
                    inline_content(b, bs);
                    flush(bs);
                }
            } else {
                // hyperlinks, insertions, content controls, simple fields,
                // smart tags hold runs; proofing marks and bookmarks are empty
                inline_content(c, s);
            }
        }
    }

    void run(pugi::xml_node r, Open& s)
    {
        for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element) continue;
            if (is(c, n_.t)) {
                add(s, c);
            } else if (is(c, n_.rPr) || is(c, n_.lastRenderedPageBreak) || is(c, n_.softHyphen)) {
                continue;
            } else {
                flush(s);
                block(c); // a drawing's text box has paragraphs of its own
            }
        }
    }

    void math(pugi::xml_node om)
    {
        Open s;
        s.math = true;
        math_content(om, s);
        flush(s);
    }

    void math_content(pugi::xml_node node, Open& s)
    {
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element) continue;
            if (is(c, n_.mr)) {
                for (pugi::xml_node t = c.first_child(); t; t = t.next_sibling())
                    if (t.type() == pugi::node_element && is(t, n_.mt)) add(s, t);
            } else if (is(c, n_.del) || is(c, n_.moveFrom)) {
                continue;
            } else {
                math_content(c, s);
            }
        }
    }

    const Names& n_;
    Index& index_;
};

// Aho-Corasick over the bytes of the placeholders: every occurrence of
// every one of them in a single pass, whatever their number.
void Index::find_all(const std::vector<std::string_view>& placeholders)
{
    std::vector<std::string_view> sought;
    std::vector<Occurrences*> lists;
    for (std::string_view p : placeholders) {
        if (p.empty()) continue;
        auto [it, fresh] = found.try_emplace(std::string(p));
        if (!fresh) continue;
        sought.push_back(p);
        lists.push_back(&it->second); // elements stay put when the map grows
    }
    if (sought.empty()) return;

    struct Node {
        std::vector<std::pair<unsigned char, int>> next;
        int fail = 0;
        int sought = -1; // the placeholder ending here
        int out = -1;    // the nearest node down the fail chain where one ends
    };
    std::vector<Node> nodes(1);
    int root_next[256];
    std::fill(std::begin(root_next), std::end(root_next), -1);
    auto child = [&](int n, unsigned char c) {
        if (n == 0) return root_next[c];
        for (auto [b, k] : nodes[n].next)
            if (b == c) return k;
        return -1;
    };
    for (size_t i = 0; i < sought.size(); ++i) {
        int n = 0;
        for (unsigned char c : sought[i]) {
            int k = child(n, c);
            if (k < 0) {
                k = static_cast<int>(nodes.size());
                nodes[n].next.push_back({c, k});
                if (n == 0) root_next[c] = k;
                nodes.emplace_back();
            }
            n = k;
        }
        nodes[n].sought = static_cast<int>(i);
    }
    std::vector<int> queue;
    queue.reserve(nodes.size());
    for (auto [c, k] : nodes[0].next) queue.push_back(k);
    for (size_t q = 0; q < queue.size(); ++q) {
        const int n = queue[q];
        for (auto [c, k] : nodes[n].next) {
            if (n != 0) {
                int f = nodes[n].fail, g;
                while ((g = child(f, c)) < 0 && f != 0) f = nodes[f].fail;
                nodes[k].fail = g < 0 ? 0 : g;
            }
            const Node& f = nodes[nodes[k].fail];
            nodes[k].out = f.sought >= 0 ? nodes[k].fail : f.out;
            queue.push_back(k);
        }
    }

    for (const Segment& s : segments) {
        int n = 0;
        for (size_t i = s.begin; i < s.end; ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            int k;
            while ((k = child(n, c)) < 0 && n != 0) n = nodes[n].fail;
            n = k < 0 ? 0 : k;
            for (int m = nodes[n].sought >= 0 ? n : nodes[n].out; m >= 0; m = nodes[m].out) {
                const int p = nodes[m].sought;
                lists[p]->at.push_back(i + 1 - sought[p].size());
            }
        }
    }
}

Index::Occurrences& Index::occurrences(std::string_view placeholder)
{
    auto [it, fresh] = found.try_emplace(std::string(placeholder));
    if (fresh) {
        for (const Segment& s : segments) {
            std::string_view seg(text.data() + s.begin, s.end - s.begin);
            for (size_t at = seg.find(placeholder); at != std::string_view::npos; at = seg.find(placeholder, at + 1))
                it->second.at.push_back(s.begin + at);
        }
    }
    return it->second;
}

// ---- values -----------------------------------------------------------------
// Keeps what XML 1.0 can carry: drops C0 controls other than tab and line
// ends, malformed or overlong UTF-8, surrogates and U+FFFE/U+FFFF.
std::string clean_text(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if (c >= 0x20 || c == '\t' || c == '\n' || c == '\r') out += static_cast<char>(c);
            ++i;
            continue;
        }
        size_t len;
        uint32_t cp, min;
        if ((c & 0xE0) == 0xC0) len = 2, cp = c & 0x1F, min = 0x80;
        else if ((c & 0xF0) == 0xE0) len = 3, cp = c & 0x0F, min = 0x800;
        else if ((c & 0xF8) == 0xF0) len = 4, cp = c & 0x07, min = 0x10000;
        else {
            ++i; // a stray continuation byte or an invalid lead byte
            continue;
        }
        bool ok = i + len <= s.size();
        for (size_t k = 1; ok && k < len; ++k) {
            unsigned char b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (b & 0x3F);
        }
        if (!ok) {
            ++i; // resynchronise on the next byte
            continue;
        }
        if (cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF) && cp != 0xFFFE && cp != 0xFFFF)
            out.append(s.substr(i, len));
        i += len;
    }
    return out;
}

void set_text(pugi::xml_node t, const std::string& text)
{
    t.text().set(text.c_str());
    pugi::xml_attribute space = t.attribute("xml:space");
    if (!space) space = t.append_attribute("xml:space");
    space.set_value("preserve");
}

// Lines of a value: CR LF, LF and a lone CR each end a line.
std::vector<std::string> split_lines(const std::string& s)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') {
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += s[i];
        }
    }
    return lines;
}

struct XmlString : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

std::string zip_message(zip_error_t* e)
{
    std::string m = zip_error_strerror(e);
    zip_error_fini(e);
    return m;
}

} // namespace

struct Docx::Impl {
    bool loaded = false;
    // The package as read, kept open: a part that was not edited is copied
    // from it as it is stored, without being compressed again.
    std::string package;
    zip_t* archive = nullptr;
    std::vector<Entry> entries;
    size_t main = 0; // index of the main document part
    pugi::xml_document doc;
    Names names;
    std::unique_ptr<Index> index; // made when the first placeholder is asked for
    bool dirty = false;
    std::string created, modified; // core properties' times; none when empty
    // Paragraphs where a placeholder was given an empty value or "-".
    std::vector<pugi::xml_node> blank;

    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    ~Impl()
    {
        if (archive) zip_discard(archive);
    }

    bool load(std::string_view bytes, std::string* error);
    Index& indexed();
    bool replace_next(std::string_view placeholder, std::string_view value);
    // Puts the value in place of the text [from, to) of a segment.
    void splice(Segment& seg, size_t from, size_t to, std::string_view value);
    // A run shell: same attributes and formatting as `like`, no content.
    pugi::xml_node new_run_after(pugi::xml_node like, pugi::xml_node after);
    bool has_content(pugi::xml_node run) const;
};

bool Docx::Impl::load(std::string_view bytes, std::string* error)
{
    package.assign(bytes);
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* src = zip_source_buffer_create(package.data(), package.size(), 0, &ze);
    if (!src) {
        set_error(error, "无法读取文档：" + zip_message(&ze));
        return false;
    }
    zip_t* za = zip_open_from_source(src, ZIP_RDONLY, &ze);
    if (!za) {
        zip_source_free(src);
        set_error(error, "不是有效的 Word 文档（无法作为 zip 包打开：" + zip_message(&ze) + "）");
        return false;
    }
    zip_error_fini(&ze);
    archive = za;

    zip_int64_t count = zip_get_num_entries(za, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        const char* raw = zip_get_name(za, i, ZIP_FL_ENC_RAW);
        if (!raw || zip_stat_index(za, i, 0, &st) != 0) {
            set_error(error, std::string("文档包已损坏：") + zip_strerror(za));
            return false;
        }
        Entry e;
        e.name = raw;
        e.index = static_cast<zip_uint64_t>(i);
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
            set_error(error, "文档已加密：" + e.name);
            return false;
        }
        if ((st.valid & ZIP_STAT_MTIME)) e.has_mtime = true, e.mtime = st.mtime;
        e.stored = (st.valid & ZIP_STAT_COMP_METHOD) && st.comp_method == ZIP_CM_STORE;
        if (!e.name.empty() && e.name.back() == '/') {
            e.dir = true;
        } else {
            zip_file_t* f = zip_fopen_index(za, i, 0);
            if (!f) {
                set_error(error, "无法读取文档中的 " + e.name + "：" + zip_strerror(za));
                return false;
            }
            e.data.resize(st.size);
            zip_int64_t got = zip_fread(f, e.data.data(), e.data.size());
            bool ok = got == static_cast<zip_int64_t>(e.data.size());
            std::string why = ok ? "" : zip_file_strerror(f);
            zip_fclose(f);
            if (!ok) {
                set_error(error, "无法读取文档中的 " + e.name + "：" + why);
                return false;
            }
        }
        entries.push_back(std::move(e));
    }

    // The main part is whatever the package relationships name as the
    // office document; Word itself always calls it word/document.xml.
    std::string main_name = "word/document.xml";
    for (const Entry& e : entries) {
        if (e.name != "_rels/.rels") continue;
        pugi::xml_document rels;
        if (!rels.load_buffer(e.data.data(), e.data.size())) break;
        for (pugi::xml_node rel : rels.document_element().children("Relationship")) {
            std::string_view type = rel.attribute("Type").value();
            static constexpr std::string_view suffix = "/officeDocument";
            if (type.size() >= suffix.size() && type.substr(type.size() - suffix.size()) == suffix) {
                std::string target = rel.attribute("Target").value();
                if (!target.empty() && target[0] == '/') target.erase(0, 1);
                if (!target.empty()) main_name = target;
                break;
            }
        }
    }
    auto it = std::find_if(entries.begin(), entries.end(),
                           [&](const Entry& e) { return !e.dir && e.name == main_name; });
    if (it == entries.end()) {
        set_error(error, "不是有效的 Word 文档：缺少正文部件 " + main_name);
        return false;
    }
    main = static_cast<size_t>(it - entries.begin());

    // Parsed where it lies (the part's bytes are not needed again: an
    // unedited main part is copied from the package like the others).
    pugi::xml_parse_result res = doc.load_buffer_inplace(it->data.data(), it->data.size(), k_parse_flags);
    if (!res) {
        set_error(error, "文档正文无法解析：" + std::string(res.description()) + "（偏移 " +
                             std::to_string(res.offset) + "）");
        return false;
    }
    if (!doc.document_element()) {
        set_error(error, "文档正文为空");
        return false;
    }
    names.init(doc.document_element());
    loaded = true;
    return true;
}

pugi::xml_node Docx::Impl::new_run_after(pugi::xml_node like, pugi::xml_node after)
{
    pugi::xml_node run = like.parent().insert_child_after(like.name(), after);
    for (pugi::xml_attribute a : like.attributes()) run.append_copy(a);
    for (pugi::xml_node c : like.children())
        if (c.type() == pugi::node_element && (is(c, names.rPr) || is(c, names.mrPr))) run.append_copy(c);
    return run;
}

bool Docx::Impl::has_content(pugi::xml_node run) const
{
    for (pugi::xml_node c : run.children())
        if (c.type() == pugi::node_element && !is(c, names.rPr) && !is(c, names.mrPr)) return true;
    return false;
}

Index& Docx::Impl::indexed()
{
    if (!index) {
        index = std::make_unique<Index>();
        Walker(names, *index).run(doc.document_element());
        index->used.assign(index->text.size(), 0);
    }
    return *index;
}

bool Docx::Impl::replace_next(std::string_view placeholder, std::string_view value)
{
    if (!loaded || placeholder.empty()) return false;
    Index& ix = indexed();
    Index::Occurrences& o = ix.occurrences(placeholder);
    while (o.next < o.at.size() && ix.touches_used(o.at[o.next], placeholder.size())) ++o.next;
    if (o.next == o.at.size()) return false;
    const size_t from = o.at[o.next++], to = from + placeholder.size();
    std::fill(ix.used.begin() + static_cast<std::ptrdiff_t>(from), ix.used.begin() + static_cast<std::ptrdiff_t>(to), 1);
    Segment& seg = ix.segment_at(from);
    if (value.find_first_not_of(" ") == std::string_view::npos || value == "-") {
        const auto at = std::partition_point(seg.pieces.begin(), seg.pieces.end(),
                                             [&](const Piece& p) { return p.begin + p.size <= from; });
        pugi::xml_node n = at == seg.pieces.end() ? pugi::xml_node() : at->t;
        while (n && n.name() != names.p) n = n.parent();
        if (n) blank.push_back(n);
    }
    splice(seg, from, to, value);
    dirty = true;
    return true;
}

void Docx::Impl::splice(Segment& seg, size_t from, size_t to, std::string_view value)
{
    std::vector<Piece>& pieces = seg.pieces;
    // pieces the match touches (empty text nodes at the edges are left alone)
    const size_t first = static_cast<size_t>(
        std::partition_point(pieces.begin(), pieces.end(), [&](const Piece& p) { return p.begin + p.size <= from; }) -
        pieces.begin());
    size_t last = first;
    while (last + 1 < pieces.size() && pieces[last + 1].begin < to) ++last;
    // what stays of them, in document order
    std::vector<Piece> kept;

    // The rest of the match leaves the later text nodes, whatever run they
    // are in; their other text stays where it is.
    std::vector<Piece> later;
    for (size_t k = first + 1; k <= last; ++k) {
        const Piece& pc = pieces[k];
        std::string text = pc.t.child_value();
        size_t cut = std::min(to, pc.begin + pc.size) - pc.begin;
        set_text(pc.t, text.substr(cut));
        if (cut < pc.size) later.push_back({pc.t, pc.begin + cut, pc.size - cut});
    }

    // The run where the match starts is split around the match; the value
    // goes between the two halves in a run of its own, formatted alike.
    const Piece p0 = pieces[first];
    pugi::xml_node t0 = p0.t;
    pugi::xml_node run = t0.parent();
    std::string text0 = t0.child_value();
    const size_t head = from - p0.begin;
    const size_t tail_at = std::min(to, p0.begin + p0.size) - p0.begin;
    if (head > 0) kept.push_back({t0, p0.begin, head});

    pugi::xml_node tail = new_run_after(run, run);
    if (tail_at < text0.size()) {
        pugi::xml_node t = tail.append_child(t0.name());
        for (pugi::xml_attribute a : t0.attributes()) t.append_copy(a);
        set_text(t, text0.substr(tail_at));
        kept.push_back({t, p0.begin + tail_at, text0.size() - tail_at});
    }
    kept.insert(kept.end(), later.begin(), later.end());
    for (pugi::xml_node c = t0.next_sibling(); c;) {
        pugi::xml_node next = c.next_sibling();
        tail.append_move(c);
        c = next;
    }
    set_text(t0, text0.substr(0, head));

    pugi::xml_node val = new_run_after(run, run);
    const std::string clean = clean_text(value);
    if (seg.math) {
        // an equation has no line breaks: a line end becomes a blank
        std::string flat;
        for (const std::string& line : split_lines(clean)) flat += (flat.empty() ? "" : " ") + line;
        set_text(val.append_child(names.mt.c_str()), flat);
    } else {
        bool first_line = true;
        for (const std::string& line : split_lines(clean)) {
            if (!first_line) val.append_child(names.br.c_str());
            first_line = false;
            size_t start = 0;
            while (true) {
                size_t tab = line.find('\t', start);
                std::string part = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
                if (!part.empty()) set_text(val.append_child(names.t.c_str()), part);
                if (tab == std::string::npos) break;
                val.append_child(names.tab.c_str());
                start = tab + 1;
            }
        }
        // an empty value still leaves its run, with an empty text node
        if (!has_content(val)) set_text(val.append_child(names.t.c_str()), "");
    }

    // Tidy up: text nodes emptied by the match, then runs left with nothing
    // but formatting, go.
    std::vector<pugi::xml_node> runs = {run, tail};
    for (size_t k = first; k <= last; ++k) {
        pugi::xml_node t = pieces[k].t;
        pugi::xml_node parent = t.parent();
        if (*t.child_value() == '\0') {
            parent.remove_child(t);
            if (std::find(runs.begin(), runs.end(), parent) == runs.end()) runs.push_back(parent);
        }
    }
    for (pugi::xml_node r : runs)
        if (!has_content(r)) r.parent().remove_child(r);

    pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(first), pieces.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(first), kept.begin(), kept.end());
}


Docx::Docx() : d_(std::make_unique<Impl>()) {}
Docx::~Docx() = default;
Docx::Docx(Docx&&) noexcept = default;
Docx& Docx::operator=(Docx&&) noexcept = default;

bool Docx::open(const std::string& path, std::string* error)
{
    d_ = std::make_unique<Impl>();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        set_error(error, "无法打开文件 " + path + "：" + std::strerror(errno));
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        set_error(error, "无法读取文件 " + path);
        return false;
    }
    return open_bytes(bytes, error);
}

bool Docx::open_bytes(std::string_view bytes, std::string* error)
{
    auto impl = std::make_unique<Impl>();
    if (!impl->load(bytes, error)) {
        d_ = std::make_unique<Impl>();
        return false;
    }
    d_ = std::move(impl);
    return true;
}

bool Docx::replace_next(std::string_view placeholder, std::string_view value)
{
    return d_->replace_next(placeholder, value);
}

void Docx::prepare(const std::vector<std::string_view>& placeholders)
{
    if (d_->loaded) d_->indexed().find_all(placeholders);
}

int Docx::replace(std::string_view placeholder, std::string_view value, int times)
{
    int n = 0;
    while (n < times && replace_next(placeholder, value)) ++n;
    return n;
}

void Docx::leave_out_blank_parts()
{
    Impl& d = *d_;
    if (!d.loaded) return;
    const std::string w = d.names.p.substr(0, d.names.p.size() - 1); // "w:"
    const std::string start_tag = w + "bookmarkStart", end_tag = w + "bookmarkEnd", name_attr = w + "name",
                      id_attr = w + "id", tr_tag = w + "tr";
    pugi::xml_node body = d.doc.document_element().child((w + "body").c_str());
    if (!body) return;
    // The body-level node a node lies in.
    auto top = [&](pugi::xml_node n) {
        while (n && n.parent() != body) n = n.parent();
        return n;
    };
    // Every node that holds a blank value, the value's own node included:
    // one walk up from each value, stopping where an earlier walk went.
    std::unordered_set<const void*> holding;
    for (pugi::xml_node p : d.blank)
        for (pugi::xml_node a = p; a && holding.insert(a.internal_object()).second; a = a.parent()) {
        }
    auto holds_blank = [&](pugi::xml_node n) { return holding.count(n.internal_object()) > 0; };
    // The marks in document order; each start is paired with the first end
    // of its id after it.
    std::vector<pugi::xml_node> marks;
    struct Walker : pugi::xml_tree_walker {
        const std::string &start, &end;
        std::vector<pugi::xml_node>& marks;
        Walker(const std::string& s, const std::string& e, std::vector<pugi::xml_node>& m) : start(s), end(e), marks(m) {}
        bool for_each(pugi::xml_node& n) override
        {
            if (n.name() == start || n.name() == end) marks.push_back(n);
            return true;
        }
    } walker(start_tag, end_tag, marks);
    body.traverse(walker);
    struct Part {
        pugi::xml_node start, end;
    };
    std::vector<Part> parts;
    std::unordered_map<std::string, size_t> open; // id -> its part, until its end
    std::vector<pugi::xml_node> ends;              // the ends of the parts
    for (pugi::xml_node m : marks) {
        const std::string id = m.attribute(id_attr.c_str()).value();
        if (m.name() == start_tag) {
            if (std::string_view(m.attribute(name_attr.c_str()).value()).substr(0, 4) != "_Jsb") continue;
            open[id] = parts.size();
            parts.push_back({m, {}});
        } else if (const auto o = open.find(id); o != open.end()) {
            parts[o->second].end = m;
            ends.push_back(m);
            open.erase(o);
        }
    }

    std::vector<pugi::xml_node> gone; // body-level nodes and rows to remove
    std::unordered_set<const void*> going;
    auto remove_later = [&](pugi::xml_node n) {
        if (going.insert(n.internal_object()).second) gone.push_back(n);
    };
    for (const Part& part : parts) {
        const std::string_view name = part.start.attribute(name_attr.c_str()).value();
        if (name.substr(4, 3) == "Row") {
            pugi::xml_node tr = part.start;
            while (tr && tr.name() != tr_tag) tr = tr.parent();
            if (tr && holds_blank(tr)) remove_later(tr);
            continue;
        }
        // a line or a block: the body-level nodes from its start to its end
        pugi::xml_node first = top(part.start), last = part.end ? top(part.end) : first;
        bool blank = false;
        for (pugi::xml_node n = first; n && !blank; n = n.next_sibling()) {
            blank = holds_blank(n);
            if (n == last) break;
        }
        if (!blank) continue;
        for (pugi::xml_node n = first; n; n = n.next_sibling()) {
            remove_later(n);
            if (n == last) break;
        }
    }
    // The marks themselves go too; what they marked stays unless it is blank.
    for (const Part& part : parts) part.start.parent().remove_child(part.start);
    for (pugi::xml_node n : ends) n.parent().remove_child(n);
    // the deepest first (a row before the table it lies in)
    std::vector<std::pair<int, pugi::xml_node>> by_depth;
    for (pugi::xml_node n : gone) {
        int k = 0;
        for (pugi::xml_node a = n; a; a = a.parent()) ++k;
        by_depth.emplace_back(k, n);
    }
    std::stable_sort(by_depth.begin(), by_depth.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& [k, n] : by_depth) n.parent().remove_child(n);
    d.blank.clear();
    d.index.reset();
    d.dirty = true;
}

void Docx::set_times(std::string created, std::string modified)
{
    d_->created = std::move(created);
    d_->modified = std::move(modified);
}

namespace {
// The core properties part with its created and modified times set (added
// when the part lacks them); "" when the part cannot be read.
std::string with_times(const std::string& core, const std::string& created, const std::string& modified)
{
    pugi::xml_document x;
    if (!x.load_buffer(core.data(), core.size(), k_parse_flags)) return {};
    pugi::xml_node root = x.document_element();
    if (!root) return {};
    const char* dcterms = "http://purl.org/dc/terms/";
    const char* xsi = "http://www.w3.org/2001/XMLSchema-instance";
    std::string dc_prefix, xsi_prefix;
    for (pugi::xml_attribute a : root.attributes()) {
        std::string_view name = a.name();
        if (name.substr(0, 6) != "xmlns:") continue;
        if (std::string_view(a.value()) == dcterms) dc_prefix = std::string(name.substr(6));
        if (std::string_view(a.value()) == xsi) xsi_prefix = std::string(name.substr(6));
    }
    if (dc_prefix.empty()) root.append_attribute("xmlns:dcterms") = dcterms, dc_prefix = "dcterms";
    if (xsi_prefix.empty()) root.append_attribute("xmlns:xsi") = xsi, xsi_prefix = "xsi";
    for (auto [name, value] : {std::pair{"created", &created}, std::pair{"modified", &modified}}) {
        const std::string tag = dc_prefix + ":" + name;
        pugi::xml_node n = root.child(tag.c_str());
        if (!n) n = root.append_child(tag.c_str());
        n.remove_children();
        n.remove_attributes();
        n.append_attribute((xsi_prefix + ":type").c_str()) = (dc_prefix + ":W3CDTF").c_str();
        n.text().set(value->c_str());
    }
    XmlString w;
    x.save(w, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(w.out);
}
} // namespace

bool Docx::save_bytes(std::string* out, std::string* error) const
{
    const Impl& d = *d_;
    if (!d.loaded) {
        set_error(error, "没有打开的文档");
        return false;
    }
    size_t core = d.entries.size();
    std::string core_xml;
    if (!d.created.empty() || !d.modified.empty()) {
        for (size_t i = 0; i < d.entries.size(); ++i)
            if (d.entries[i].name == "docProps/core.xml") core = i;
        if (core < d.entries.size()) core_xml = with_times(d.entries[core].data, d.created, d.modified);
        if (core_xml.empty()) core = d.entries.size();
    }
    std::string main_xml;
    if (d.dirty) {
        XmlString w;
        // Room for what the values and their runs add: one allocation, not
        // a doubling series of copies (pages never written cost nothing).
        w.out.reserve(2 * d.entries[d.main].data.size() + 4096);
        d.doc.save(w, "", pugi::format_raw, pugi::encoding_utf8);
        main_xml = std::move(w.out);
    }

    // [Content_Types].xml leads, as Office writes it; the rest keep their order
    std::vector<size_t> order;
    for (size_t i = 0; i < d.entries.size(); ++i)
        if (d.entries[i].name == "[Content_Types].xml") order.push_back(i);
    for (size_t i = 0; i < d.entries.size(); ++i)
        if (d.entries[i].name != "[Content_Types].xml") order.push_back(i);

    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* mem = zip_source_buffer_create(nullptr, 0, 0, &ze);
    if (!mem) {
        set_error(error, "无法生成文档：" + zip_message(&ze));
        return false;
    }
    zip_source_keep(mem);
    zip_t* za = zip_open_from_source(mem, ZIP_TRUNCATE, &ze);
    if (!za) {
        zip_source_free(mem);
        set_error(error, "无法生成文档：" + zip_message(&ze));
        return false;
    }
    zip_error_fini(&ze);

    auto fail = [&](const std::string& what) {
        set_error(error, "无法生成文档（" + what + "）：" + zip_strerror(za));
        zip_discard(za);
        zip_source_free(mem);
        return false;
    };
    for (size_t i : order) {
        const Entry& e = d.entries[i];
        if (e.dir) {
            if (zip_dir_add(za, e.name.c_str(), ZIP_FL_ENC_GUESS) < 0) return fail(e.name);
            continue;
        }
        zip_source_t* s = (i == d.main && d.dirty) ? zip_source_buffer(za, main_xml.data(), main_xml.size(), 0)
                          : i == core           ? zip_source_buffer(za, core_xml.data(), core_xml.size(), 0)
                                                : zip_source_zip(za, d.archive, e.index, ZIP_FL_COMPRESSED, 0, -1);
        if (!s) return fail(e.name);
        zip_int64_t idx = zip_file_add(za, e.name.c_str(), s, ZIP_FL_ENC_GUESS);
        if (idx < 0) {
            zip_source_free(s);
            return fail(e.name);
        }
        if (zip_set_file_compression(za, idx, e.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) < 0)
            return fail(e.name);
        if (e.has_mtime && zip_file_set_mtime(za, idx, e.mtime, 0) < 0) return fail(e.name);
    }
    if (zip_close(za) < 0) return fail("zip");

    zip_stat_t st;
    bool ok = zip_source_stat(mem, &st) == 0 && zip_source_open(mem) == 0;
    if (ok) {
        out->resize(st.size);
        ok = zip_source_read(mem, out->data(), st.size) == static_cast<zip_int64_t>(st.size);
        zip_source_close(mem);
    }
    zip_source_free(mem);
    if (!ok) {
        set_error(error, "无法生成文档");
        return false;
    }
    return true;
}

bool Docx::save(const std::string& path, std::string* error) const
{
    std::string bytes, why;
    if (!save_bytes(&bytes, error)) return false;
    if (ui::cmd_write_file(path, bytes, &why)) return true;
    set_error(error, "无法写入文件 " + path + "（" + why + "）");
    return false;
}

} // namespace report
