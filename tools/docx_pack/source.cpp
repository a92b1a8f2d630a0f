#include "source.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <map>
#include <vector>

namespace docx_pack {
namespace {

constexpr const char* k_ns_w = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* k_ns_r = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* k_ns_m = "http://schemas.openxmlformats.org/officeDocument/2006/math";

// A4 with 2.5 cm side margins; tables span the text width.
constexpr int k_page_w = 11906, k_page_h = 16838;
constexpr int k_margin_side = 1418, k_margin_top = 1440;
constexpr int k_text_width = k_page_w - 2 * k_margin_side;
constexpr int k_cell_margin = 108; // TableNormal's left and right cell margins
constexpr int k_max_table_depth = 8;
// A table of at most this many rows fits on a page: it is kept whole.
constexpr size_t k_whole_table_rows = 20;

struct Line {
    int no;
    std::string text;
};

bool starts_with(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string trim(std::string_view s)
{
    size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b, e - b + 1));
}

size_t utf8_len(unsigned char c)
{
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0) return 2;
    if ((c & 0xF0) == 0xE0) return 3;
    if ((c & 0xF8) == 0xF0) return 4;
    return 1;
}

void set_val(pugi::xml_node n, const char* attr, const std::string& v) { n.append_attribute(attr).set_value(v.c_str()); }

pugi::xml_node child_attr(pugi::xml_node parent, const char* name, const char* attr, const std::string& v)
{
    pugi::xml_node n = parent.append_child(name);
    set_val(n, attr, v);
    return n;
}

pugi::xml_node child_val(pugi::xml_node parent, const char* name, const std::string& v)
{
    return child_attr(parent, name, "w:val", v);
}

void text_node(pugi::xml_node parent, const char* name, const std::string& text)
{
    pugi::xml_node t = parent.append_child(name);
    t.append_attribute("xml:space").set_value("preserve");
    t.text().set(text.c_str());
}

// ---- equations ---------------------------------------------------------------
// A small TeX-like notation: x_{i}, x^{2}, \frac{a}{b}, \sqrt{x}, {grouping},
// "upright text", and brackets ( ) [ ] that pair within one group. Anything
// else is literal, so control names such as 编辑框1_d0 need no quoting;
// blanks outside quotes only space the source.
struct MNode {
    enum Kind { Char, Plain, Group, Frac, Sqrt, Script, Delim } kind = Char;
    std::string text;
    std::vector<MNode> a, b, c; // base/numerator/radicand; sub/denominator; sup
    bool sub = false, sup = false;

    static MNode make(Kind k, std::string text = {}, std::vector<MNode> a = {})
    {
        MNode n;
        n.kind = k;
        n.text = std::move(text);
        n.a = std::move(a);
        return n;
    }
};

class MathParser {
public:
    MathParser(std::string_view s, int line) : s_(s), line_(line) {}

    std::vector<MNode> parse() { return seq(false); }

private:
    [[noreturn]] void fail(const std::string& what) { throw SourceError(line_, "公式：" + what); }

    // A bracket pair becomes one delimiter around what it encloses, so that
    // both brackets always belong to one element and a script after the
    // closing bracket applies to the whole bracketed part. A bracket that is
    // not paired within its group is a mistake in the template (write \( to
    // mean a lone one).
    std::vector<MNode> seq(bool until_brace)
    {
        std::vector<MNode> out;
        std::vector<size_t> open; // indexes in `out` of the unclosed brackets
        auto close = [&](char c) {
            const char want = c == ')' ? '(' : '[';
            if (open.empty() || out[open.back()].kind != MNode::Char || out[open.back()].text != std::string(1, want)) fail(std::string("括号没有配对：") + c);
            MNode d = MNode::make(MNode::Delim, out[open.back()].text + c);
            d.a.assign(std::make_move_iterator(out.begin() + long(open.back()) + 1), std::make_move_iterator(out.end()));
            out.erase(out.begin() + long(open.back()), out.end());
            open.pop_back();
            out.push_back(std::move(d));
        };
        auto end = [&] {
            if (!open.empty()) fail("括号没有配对：" + out[open.back()].text);
            return out;
        };
        while (i_ < s_.size()) {
            char c = s_[i_];
            if (c == '}') {
                if (!until_brace) fail("多余的 }");
                ++i_;
                return end();
            }
            if (c == ' ' || c == '\t') {
                ++i_;
            } else if ((c == '_' || c == '^') && i_ + 1 < s_.size() && s_[i_ + 1] == '{') {
                i_ += 2;
                attach(out, c == '_', seq(true));
            } else if (c == '{') {
                ++i_;
                out.push_back(MNode::make(MNode::Group, {}, seq(true)));
            } else if (c == '"') {
                size_t end = s_.find('"', i_ + 1);
                if (end == std::string_view::npos) fail("缺少配对的 \"");
                out.push_back(MNode::make(MNode::Plain, std::string(s_.substr(i_ + 1, end - i_ - 1))));
                i_ = end + 1;
            } else if (c == '\\') {
                command(out);
            } else if (c == '(' || c == '[') {
                open.push_back(out.size());
                out.push_back(MNode::make(MNode::Char, std::string(1, c)));
                ++i_;
            } else if (c == ')' || c == ']') {
                close(c);
                ++i_;
            } else {
                size_t len = std::min(utf8_len(static_cast<unsigned char>(c)), s_.size() - i_);
                out.push_back(MNode::make(MNode::Char, std::string(s_.substr(i_, len))));
                i_ += len;
            }
        }
        if (until_brace) fail("缺少 }");
        return end();
    }

    void command(std::vector<MNode>& out)
    {
        ++i_;
        size_t start = i_;
        while (i_ < s_.size() && std::isalpha(static_cast<unsigned char>(s_[i_]))) ++i_;
        std::string name(s_.substr(start, i_ - start));
        if (name.empty()) { // \{ \} \" \\ \_ ... : the character itself
            if (i_ >= s_.size()) fail("行末的 \\");
            size_t len = std::min(utf8_len(static_cast<unsigned char>(s_[i_])), s_.size() - i_);
            out.push_back(MNode::make(MNode::Char, std::string(s_.substr(i_, len))));
            i_ += len;
        } else if (name == "frac") {
            MNode f = MNode::make(MNode::Frac);
            f.a = group();
            f.b = group();
            out.push_back(std::move(f));
        } else if (name == "sqrt") {
            MNode r = MNode::make(MNode::Sqrt);
            r.a = group();
            out.push_back(std::move(r));
        } else {
            fail("不认识的命令 \\" + name);
        }
    }

    std::vector<MNode> group()
    {
        while (i_ < s_.size() && s_[i_] == ' ') ++i_;
        if (i_ >= s_.size() || s_[i_] != '{') fail("此处应为 {");
        ++i_;
        return seq(true);
    }

    // A script binds to the one thing before it: a character, a group, a
    // quoted text or a construct, as in TeX.
    void attach(std::vector<MNode>& out, bool sub, std::vector<MNode> script)
    {
        if (!out.empty() && out.back().kind == MNode::Script && (sub ? !out.back().sub : !out.back().sup)) {
            (sub ? out.back().b : out.back().c) = std::move(script);
            (sub ? out.back().sub : out.back().sup) = true;
            return;
        }
        MNode s = MNode::make(MNode::Script);
        if (!out.empty()) {
            s.a.push_back(std::move(out.back()));
            out.pop_back();
        }
        (sub ? s.b : s.c) = std::move(script);
        (sub ? s.sub : s.sup) = true;
        out.push_back(std::move(s));
    }

    std::string_view s_;
    int line_;
    size_t i_ = 0;
};

// Text in an equation (a unit, a Chinese word, a control name and so the
// value that replaces it) is written as normal text: set upright, and never
// read as mathematics, so that a value such as "-" (a number that is not
// finite) or "1e-05" shows as it is rather than as a broken expression.
void math_run(pugi::xml_node parent, const std::string& text, bool normal_text)
{
    pugi::xml_node r = parent.append_child("m:r");
    if (normal_text) r.append_child("m:rPr").append_child("m:nor");
    pugi::xml_node fonts = r.append_child("w:rPr").append_child("w:rFonts");
    fonts.append_attribute("w:ascii").set_value("Cambria Math");
    fonts.append_attribute("w:hAnsi").set_value("Cambria Math");
    text_node(r, "m:t", text);
}

bool is_cjk(std::string_view ch)
{
    if (ch.size() < 3) return false;
    const unsigned cp = (unsigned(ch[0]) & 0x0F) << 12 | (unsigned(ch[1]) & 0x3F) << 6 | (unsigned(ch[2]) & 0x3F);
    return (cp >= 0x2E80 && cp <= 0x9FFF) || (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFF00 && cp <= 0xFFEF);
}

// Characters that join into one word: a control name, a number, a symbol.
bool is_word_char(std::string_view ch)
{
    const unsigned char c = static_cast<unsigned char>(ch[0]);
    return is_cjk(ch) || std::isalnum(c) || c == '_' || c == '.';
}

void emit_math(pugi::xml_node parent, const std::vector<MNode>& nodes)
{
    // Consecutive characters share one run, except that a word holding a
    // Chinese character (a control name, as a rule) is a run of its own in
    // normal text.
    std::string run, word;
    bool chinese = false;
    auto end_word = [&] {
        if (chinese) {
            if (!run.empty()) math_run(parent, run, false);
            math_run(parent, word, true);
            run.clear();
        } else {
            run += word;
        }
        word.clear();
        chinese = false;
    };
    auto flush = [&] {
        end_word();
        if (!run.empty()) math_run(parent, run, false);
        run.clear();
    };
    for (const MNode& n : nodes) {
        if (n.kind == MNode::Char) {
            if (is_word_char(n.text)) {
                word += n.text;
                chinese = chinese || is_cjk(n.text);
            } else {
                end_word();
                run += n.text;
            }
            continue;
        }
        flush();
        switch (n.kind) {
        case MNode::Plain:
            math_run(parent, n.text, true);
            break;
        case MNode::Group:
            emit_math(parent, n.a);
            break;
        case MNode::Frac: {
            pugi::xml_node f = parent.append_child("m:f");
            emit_math(f.append_child("m:num"), n.a);
            emit_math(f.append_child("m:den"), n.b);
            break;
        }
        case MNode::Sqrt: {
            pugi::xml_node rad = parent.append_child("m:rad");
            rad.append_child("m:radPr").append_child("m:degHide").append_attribute("m:val").set_value("1");
            rad.append_child("m:deg");
            emit_math(rad.append_child("m:e"), n.a);
            break;
        }
        case MNode::Delim: {
            pugi::xml_node d = parent.append_child("m:d");
            pugi::xml_node pr = d.append_child("m:dPr");
            if (n.text != "()") { // round brackets are the default
                child_attr(pr, "m:begChr", "m:val", n.text.substr(0, 1));
                child_attr(pr, "m:endChr", "m:val", n.text.substr(1, 1));
            }
            emit_math(d.append_child("m:e"), n.a);
            break;
        }
        case MNode::Script: {
            pugi::xml_node s = parent.append_child(n.sub && n.sup ? "m:sSubSup" : n.sub ? "m:sSub" : "m:sSup");
            emit_math(s.append_child("m:e"), n.a);
            if (n.sub) emit_math(s.append_child("m:sub"), n.b);
            if (n.sup) emit_math(s.append_child("m:sup"), n.c);
            break;
        }
        case MNode::Char:
            break;
        }
    }
    flush();
}

void equation(pugi::xml_node parent, std::string_view src, int line)
{
    // LibreOffice cannot show a relation without its left side: a line that
    // goes on from the one above repeats the symbol it works out.
    const std::string_view start = src.substr(std::min(src.find_first_not_of(" \t"), src.size()));
    for (std::string_view relation : {"=", "≈", "<", ">", "≤", "≥"})
        if (start.substr(0, relation.size()) == relation) throw SourceError(line, "公式不能以 " + std::string(relation) + " 开头");
    emit_math(parent.append_child("m:oMath"), MathParser(src, line).parse());
}

// ---- paragraphs --------------------------------------------------------------
// Word reads a paragraph's properties only in the schema's order.
pugi::xml_node paragraph_property(pugi::xml_node p, const char* name)
{
    static const char* const order[] = {"w:pStyle", "w:keepNext", "w:keepLines", "w:pageBreakBefore", "w:tabs",
                                        "w:spacing", "w:ind", "w:jc"};
    auto rank = [](const char* n) {
        for (size_t i = 0; i < std::size(order); ++i)
            if (std::string_view(order[i]) == n) return i;
        return std::size(order);
    };
    pugi::xml_node ppr = p.child("w:pPr");
    if (!ppr) ppr = p.prepend_child("w:pPr");
    if (pugi::xml_node have = ppr.child(name)) return have;
    for (pugi::xml_node c = ppr.first_child(); c; c = c.next_sibling())
        if (rank(c.name()) > rank(name)) return ppr.insert_child_before(name, c);
    return ppr.append_child(name);
}

pugi::xml_node paragraph(pugi::xml_node parent, const char* style, const char* jc = nullptr)
{
    pugi::xml_node p = parent.append_child("w:p");
    if (style) set_val(paragraph_property(p, "w:pStyle"), "w:val", style);
    if (jc) set_val(paragraph_property(p, "w:jc"), "w:val", jc);
    return p;
}

void page_break(pugi::xml_node parent)
{
    child_attr(parent.append_child("w:p").append_child("w:r"), "w:br", "w:type", "page");
}

// A field whose result the word processor works out when it lays the page
// out (LibreOffice) or when it updates the fields on opening (Word).
void field(pugi::xml_node p, const std::string& instruction)
{
    child_attr(p.append_child("w:r"), "w:fldChar", "w:fldCharType", "begin");
    text_node(p.append_child("w:r"), "w:instrText", " " + instruction + " ");
    child_attr(p.append_child("w:r"), "w:fldChar", "w:fldCharType", "separate");
    child_attr(p.append_child("w:r"), "w:fldChar", "w:fldCharType", "end");
}

// How wide a line of text is, in ems of its font: CJK and full-width
// characters take a whole em, the rest about half.
double text_ems(std::string_view s)
{
    double ems = 0;
    for (size_t i = 0; i < s.size(); i += utf8_len(static_cast<unsigned char>(s[i])))
        ems += static_cast<unsigned char>(s[i]) < 0x80 ? 0.5 : 1.0;
    return ems;
}

struct RunStyle {
    bool bold = false;
    const char* vert = nullptr; // "subscript" / "superscript"
    int half_points = 0;        // font size; 0: the paragraph style's
};

void text_run(pugi::xml_node p, const std::string& text, RunStyle st)
{
    if (text.empty()) return;
    pugi::xml_node r = p.append_child("w:r");
    if (st.bold || st.vert || st.half_points) {
        pugi::xml_node rpr = r.append_child("w:rPr");
        if (st.bold) rpr.append_child("w:b"), rpr.append_child("w:bCs");
        if (st.half_points) {
            child_val(rpr, "w:sz", std::to_string(st.half_points));
            child_val(rpr, "w:szCs", std::to_string(st.half_points));
        }
        if (st.vert) child_val(rpr, "w:vertAlign", st.vert);
    }
    text_node(r, "w:t", text);
}

// Inline markup: **bold** (also how a template splits a word over runs),
// _{subscript}, ^{superscript}, $equation$, and \ to take the next
// character literally.
void inline_text(pugi::xml_node p, std::string_view s, int line, bool bold = false, int half_points = 0)
{
    std::string buf;
    RunStyle st{bold, nullptr, half_points};
    auto flush = [&] {
        text_run(p, buf, st);
        buf.clear();
    };
    size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        if (c == '\\' && i + 1 < s.size()) {
            size_t len = std::min(utf8_len(static_cast<unsigned char>(s[i + 1])), s.size() - i - 1);
            buf.append(s.substr(i + 1, len));
            i += 1 + len;
        } else if (starts_with(s.substr(i), "**")) {
            flush();
            st.bold = !st.bold;
            i += 2;
        } else if (starts_with(s.substr(i), "_{") || starts_with(s.substr(i), "^{")) {
            size_t end = s.find('}', i + 2);
            if (end == std::string_view::npos) throw SourceError(line, "缺少 }");
            flush();
            RunStyle script = st;
            script.vert = c == '_' ? "subscript" : "superscript";
            text_run(p, std::string(s.substr(i + 2, end - i - 2)), script);
            i = end + 1;
        } else if (c == '$' && s.find('$', i + 1) != std::string_view::npos) {
            size_t end = s.find('$', i + 1);
            flush();
            equation(p, s.substr(i + 1, end - i - 1), line);
            i = end + 1;
        } else {
            buf += c;
            ++i;
        }
    }
    if (st.bold != bold) throw SourceError(line, "** 没有配对");
    flush();
}

// ---- tables --------------------------------------------------------------------
std::vector<std::string> split_cells(std::string_view row)
{
    std::string s = trim(row);
    if (!s.empty() && s.front() == '|') s.erase(0, 1);
    if (s.size() >= 1 && s.back() == '|' && !(s.size() >= 2 && s[s.size() - 2] == '\\')) s.pop_back();
    std::vector<std::string> cells(1);
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '|') {
            cells.back() += "\\|"; // the inline pass unescapes it
            ++i;
        } else if (s[i] == '|') {
            cells.emplace_back();
        } else {
            cells.back() += s[i];
        }
    }
    for (auto& c : cells) c = trim(c);
    return cells;
}

// |---|:---:|---:| : marks the rows above as headings and sets alignments
bool is_rule_row(const std::vector<std::string>& cells)
{
    for (const auto& c : cells) {
        std::string_view v = c;
        if (!v.empty() && v.front() == ':') v.remove_prefix(1);
        if (!v.empty() && v.back() == ':') v.remove_suffix(1);
        if (v.empty() || v.find_first_not_of('-') != std::string_view::npos) return false;
    }
    return true;
}

const char* rule_alignment(const std::string& c)
{
    bool left = !c.empty() && c.front() == ':', right = c.size() > 1 && c.back() == ':';
    return left && right ? "center" : right ? "right" : nullptr;
}

// ---- column widths ----------------------------------------------------------------
// A placeholder (a control's name) stands for a shown value: its width is
// that of a value, not of the name.
bool is_placeholder(std::string_view word)
{
    static const char* const kinds[] = {"编辑框", "标签", "组合框", "列表框", "选择框", "单选框", "透明标签",
                                        "计算值_", "复选框", "分组框", "选择列表框"};
    for (const char* k : kinds)
        if (starts_with(word, k)) return true;
    return false;
}

// How wide a cell's text is, in ems of the table font: markup left out,
// each placeholder counted as a value of three ems (six digits).
double cell_ems(const std::string& cell)
{
    constexpr double k_value_ems = 3;
    double widest = 0;
    // an explicit line break ("<br>"-free templates: a cell is one line)
    std::string plain;
    for (size_t i = 0; i < cell.size(); ++i) {
        const char c = cell[i];
        if (c == '\\' && i + 1 < cell.size()) {
            plain += cell[++i];
        } else if (c == '*' || c == '$' || c == '{' || c == '}' || ((c == '_' || c == '^') && i + 1 < cell.size() && cell[i + 1] == '{')) {
            continue;
        } else {
            plain += c;
        }
    }
    double ems = 0;
    for (size_t at = 0; at <= plain.size();) {
        size_t end = plain.find(' ', at);
        if (end == std::string::npos) end = plain.size();
        const std::string_view word = std::string_view(plain).substr(at, end - at);
        ems += (is_placeholder(word) ? k_value_ems : text_ems(word)) + (end < plain.size() ? 0.5 : 0);
        at = end + 1;
    }
    widest = std::max(widest, ems);
    return widest;
}

// How much wider than measured a text may come out (Latin letters, bold).
constexpr double k_measure = 1.04;

// A narrower width (in ems) for a column: its widest cell on `lines` lines,
// widened a little where some cell would leave a character or two alone on
// its last line, or might just not fit on one; 0 when no width below
// `below` does.
double wrapped_ems(const std::vector<double>& lengths, double widest, int lines, double below)
{
    for (double w = std::max(3.0, std::ceil(2 * widest / lines) / 2); w < below; w += 0.5) {
        bool bad = false;
        for (double len : lengths) {
            if (len * k_measure <= w) continue;
            const double last = len - std::floor(len / w) * w;
            bad = bad || len <= w * k_measure || (last > 0.01 && last < 3);
        }
        if (!bad) return w;
    }
    return 0;
}

// Column widths that add up to `width`: each column as wide as its widest
// cell where the table has room, the rest shared out in proportion. Where it
// has not, the widest columns wrap, into two lines and then more, each line
// about as long as the others, so that no name wraps a character or two
// onto a line of its own.
std::vector<int> column_widths(const std::vector<std::vector<std::string>>& cells, const std::vector<std::string>& rule,
                               size_t ncols, int width)
{
    constexpr int k_em = 210;    // twips of an em at the table's 10.5 pt
    constexpr int k_slack = 60;  // what the measure misses (the grid's lines)
    constexpr double k_nested_ems = 16, k_least_ems = 3;
    const int pad = 2 * k_cell_margin + k_slack;
    std::vector<std::vector<double>> lengths(ncols);
    std::vector<double> want(ncols, k_least_ems);
    // more than three dashes in the rule row: the column's least width in characters
    for (size_t c = 0; c < rule.size() && c < ncols; ++c)
        want[c] = std::max(want[c], static_cast<double>(std::count(rule[c].begin(), rule[c].end(), '-')));
    for (const auto& row : cells)
        for (size_t c = 0; c < row.size() && c < ncols; ++c) {
            const std::string& t = row[c];
            const bool nested = t.size() > 4 && starts_with(t, "[[");
            const double ems = nested ? k_nested_ems : t == "^^" ? 0 : cell_ems(t);
            if (!nested) lengths[c].push_back(ems);
            want[c] = std::max(want[c], nested ? ems : ems * k_measure);
        }
    auto twips = [&](const std::vector<double>& ems) {
        double t = 0;
        for (double e : ems) t += e * k_em + pad;
        return t;
    };
    std::vector<double> ems = want;
    std::vector<int> lines(ncols, 1);
    std::vector<bool> stuck(ncols, false);
    while (twips(ems) > width) {
        size_t widest = ncols;
        for (size_t c = 0; c < ncols; ++c)
            if (!stuck[c] && (widest == ncols || ems[c] > ems[widest])) widest = c;
        if (widest == ncols) break;
        const double w = lines[widest] < 6 ? wrapped_ems(lengths[widest], want[widest], lines[widest] + 1, ems[widest]) : 0;
        if (w > 0) ems[widest] = w;
        if (w > 0) ++lines[widest];
        else stuck[widest] = true;
    }
    // Room left over takes lines back from the columns wrapped most.
    for (bool again = true; again;) {
        again = false;
        size_t most = ncols;
        for (size_t c = 0; c < ncols; ++c)
            if (lines[c] > 1 && (most == ncols || lines[c] > lines[most])) most = c;
        if (most == ncols) break;
        const double wider =
            lines[most] == 2 ? want[most] : wrapped_ems(lengths[most], want[most], lines[most] - 1, want[most] + 0.01);
        if (wider > ems[most] && twips(ems) + (wider - ems[most]) * k_em <= width) {
            ems[most] = wider;
            --lines[most];
            again = true;
        }
    }
    if (twips(ems) > width) {
        // still too wide: the columns that wrap anyway give up more (all
        // columns alike where none wraps)
        double fixed = 0, flexible = 0;
        for (size_t c = 0; c < ncols; ++c)
            (ems[c] < want[c] ? flexible : fixed) += ems[c] * k_em;
        const bool any = flexible > 0;
        const double room = width - pad * double(ncols) - (any ? fixed : 0);
        const double scale = room / (any ? flexible : fixed);
        for (size_t c = 0; c < ncols; ++c)
            if (!any || ems[c] < want[c]) ems[c] = std::max(1.0, ems[c] * scale);
    }
    // what is left goes to the columns that keep their text on one line
    const double spare = width - twips(ems);
    std::vector<bool> grows(ncols);
    double base = 0;
    for (size_t c = 0; c < ncols; ++c) {
        grows[c] = ems[c] >= want[c];
        if (grows[c]) base += ems[c] * k_em + pad;
    }
    std::vector<int> out(ncols);
    for (size_t c = 0; c < ncols; ++c) {
        const double w = ems[c] * k_em + pad;
        out[c] = static_cast<int>(grows[c] && spare > 0 && base > 0 ? w + spare * w / base : w);
    }
    int sum = 0;
    for (int w : out) sum += w;
    out.back() += width - sum; // rounding
    return out;
}

// ---- optional parts ---------------------------------------------------------------
// Hidden bookmarks ("_Jsb…") mark what a report leaves out when a value on
// it is empty or "-" (app/report/docx.cpp reads them).
constexpr int k_first_mark_id = 10000;

pugi::xml_node first_paragraph(pugi::xml_node n)
{
    if (std::string_view(n.name()) == "w:p") return n;
    return n.select_node(".//w:p").node();
}

pugi::xml_node last_paragraph(pugi::xml_node n)
{
    if (std::string_view(n.name()) == "w:p") return n;
    pugi::xpath_node_set all = n.select_nodes(".//w:p");
    return all.empty() ? pugi::xml_node() : all[all.size() - 1].node();
}

void mark_start(pugi::xml_node p, const std::string& name, int id)
{
    pugi::xml_node ppr = p.child("w:pPr");
    pugi::xml_node start = ppr ? p.insert_child_after("w:bookmarkStart", ppr) : p.prepend_child("w:bookmarkStart");
    set_val(start, "w:id", std::to_string(id));
    set_val(start, "w:name", name);
}

void mark_end(pugi::xml_node p, int id) { set_val(p.append_child("w:bookmarkEnd"), "w:id", std::to_string(id)); }

class Builder {
public:
    Builder(Template& out, std::map<std::string, std::vector<Line>> named)
        : out_(out), named_(std::move(named))
    {
    }

    void body(const std::vector<Line>& lines);

private:
    void table(pugi::xml_node parent, const std::vector<Line>& rows, int width, int depth);
    void title_page(const std::vector<Line>& lines);
    void contents(int line);
    // A paragraph of the body; it starts a new page when one was asked for.
    pugi::xml_node block(const char* style, const char* jc = nullptr);

    Template& out_;
    std::map<std::string, std::vector<Line>> named_;
    pugi::xml_node body_;
    // A page break waiting for the next paragraph: given to that paragraph
    // as "page break before", it cannot leave an empty paragraph of its own
    // to spill onto a page that the previous one filled.
    bool break_before_ = false;
    std::vector<std::string> chapters_; // the "# " headings, for !toc
    int chapter_ = 0;
    int marks_ = 0; // optional lines, rows and blocks marked so far
    // Marks `from` … `to` (body-level nodes) as one optional part.
    void mark(const char* kind, pugi::xml_node from, pugi::xml_node to, int line);
    void keep_closing_paragraph();
};

// A short paragraph that closes the report is not split over two pages and
// does not go to the last page alone: the paragraph before it goes along.
void Builder::keep_closing_paragraph()
{
    constexpr double k_short_ems = 3 * 37; // three lines of the body text
    pugi::xml_node last = body_.last_child();
    if (!last || std::string_view(last.name()) != "w:p" || std::string_view(last.select_node("w:pPr/w:pStyle").node().attribute("w:val").value()) != "Body")
        return;
    std::string text;
    for (pugi::xpath_node t : last.select_nodes(".//w:t | .//m:t")) text += t.node().child_value();
    if (text_ems(text) > k_short_ems) return;
    paragraph_property(last, "w:keepLines");
    if (pugi::xml_node before = last.previous_sibling(); before && std::string_view(before.name()) == "w:p")
        paragraph_property(before, "w:keepNext");
}

void Builder::mark(const char* kind, pugi::xml_node from, pugi::xml_node to, int line)
{
    pugi::xml_node first = first_paragraph(from), last = last_paragraph(to);
    if (!first || !last) throw SourceError(line, "可省略的部分没有内容");
    const int id = k_first_mark_id + marks_++;
    mark_start(first, std::string("_Jsb") + kind + std::to_string(id), id);
    mark_end(last, id);
}

pugi::xml_node Builder::block(const char* style, const char* jc)
{
    pugi::xml_node p = paragraph(body_, style, jc);
    if (break_before_) paragraph_property(p, "w:pageBreakBefore");
    break_before_ = false;
    return p;
}

// Whether a paragraph's text ends with a colon.
bool ends_with_colon(pugi::xml_node p)
{
    std::string text;
    for (pugi::xpath_node t : p.select_nodes(".//w:t")) text += t.node().child_value();
    return text.ends_with("：") || text.ends_with(":");
}

std::string bookmark_name(int chapter) { return "_Toc" + std::to_string(chapter); }

// One line per chapter: its heading, dot leaders, and its page number as a
// PAGEREF to the heading's bookmark. LibreOffice works the numbers out as it
// lays the pages out; Word updates them on opening (settings ask it to). A
// TOC field would not do: LibreOffice shows a TOC field's stored result.
void Builder::contents(int line)
{
    if (chapters_.empty()) throw SourceError(line, "!toc：没有 # 一级标题");
    for (size_t i = 0; i < chapters_.size(); ++i) {
        pugi::xml_node p = block("TOC1");
        inline_text(p, chapters_[i], line);
        p.append_child("w:r").append_child("w:tab");
        field(p, "PAGEREF " + bookmark_name(int(i) + 1) + " \\h");
    }
    out_.update_fields = true;
}

void Builder::table(pugi::xml_node parent, const std::vector<Line>& rows, int width, int depth)
{
    if (depth > k_max_table_depth) throw SourceError(rows.front().no, "表格嵌套过深（引用了自身？）");
    std::vector<std::vector<std::string>> cells;
    std::vector<int> lines;
    std::vector<std::string> rule;
    size_t header_rows = 0;
    std::vector<bool> optional;
    for (const Line& l : rows) {
        std::string text = trim(l.text);
        const bool opt = !text.empty() && text.front() == '?';
        if (opt) text = trim(text.substr(1));
        auto c = split_cells(text);
        if (is_rule_row(c)) {
            if (opt) throw SourceError(l.no, "|---| 行不能省略");
            if (!rule.empty()) throw SourceError(l.no, "一个表格只能有一行 |---|");
            rule = c;
            header_rows = cells.size();
            continue;
        }
        cells.push_back(std::move(c));
        lines.push_back(l.no);
        optional.push_back(opt);
    }
    if (cells.empty()) throw SourceError(rows.front().no, "表格没有内容行");
    size_t ncols = 0;
    for (const auto& r : cells) ncols = std::max(ncols, r.size());
    const std::vector<int> col_ws = column_widths(cells, rule, ncols, width);

    pugi::xml_node tbl = parent.append_child("w:tbl");
    pugi::xml_node pr = tbl.append_child("w:tblPr");
    child_val(pr, "w:tblStyle", "TableGrid");
    pugi::xml_node tw = pr.append_child("w:tblW");
    set_val(tw, "w:w", std::to_string(width));
    set_val(tw, "w:type", "dxa");
    if (depth == 0) child_val(pr, "w:jc", "center");
    child_attr(pr, "w:tblLayout", "w:type", "fixed");
    pugi::xml_node grid = tbl.append_child("w:tblGrid");
    for (size_t c = 0; c < ncols; ++c) set_val(grid.append_child("w:gridCol"), "w:w", std::to_string(col_ws[c]));

    // "^^" continues the cell above it (merged vertically)
    auto merged = [&](size_t r, size_t c) { return c < cells[r].size() && cells[r][c] == "^^"; };
    // A short table is kept on one page: each row stays with the next (a
    // long one may break between rows, its heading rows repeated).
    const bool whole = depth == 0 && cells.size() <= k_whole_table_rows;
    for (size_t r = 0; r < cells.size(); ++r) {
        const bool heading = r < header_rows;
        pugi::xml_node tr = tbl.append_child("w:tr");
        // a row is never split across pages
        pugi::xml_node trpr = tr.append_child("w:trPr");
        trpr.append_child("w:cantSplit");
        if (heading) trpr.append_child("w:tblHeader");
        for (size_t c = 0; c < ncols; ++c) {
            const bool continues = merged(r, c);
            if (continues && (r == 0 || r == header_rows)) throw SourceError(lines[r], "^^ 上方没有可合并的单元格");
            const bool starts = !continues && r + 1 < cells.size() && r + 1 != header_rows && merged(r + 1, c);
            const std::string text = c < cells[r].size() && !continues ? cells[r][c] : std::string();
            const int col_w = col_ws[c];
            pugi::xml_node tc = tr.append_child("w:tc");
            pugi::xml_node tcpr = tc.append_child("w:tcPr");
            pugi::xml_node tcw = tcpr.append_child("w:tcW");
            set_val(tcw, "w:w", std::to_string(col_w));
            set_val(tcw, "w:type", "dxa");
            if (starts) child_val(tcpr, "w:vMerge", "restart");
            if (continues) tcpr.append_child("w:vMerge");
            child_val(tcpr, "w:vAlign", "center");
            if (text.size() > 4 && starts_with(text, "[[") && text.substr(text.size() - 2) == "]]") {
                const std::string name = trim(text.substr(2, text.size() - 4));
                auto it = named_.find(name);
                if (it == named_.end()) throw SourceError(lines[r], "没有名为 " + name + " 的 !table");
                table(tc, it->second, col_w - 2 * k_cell_margin, depth + 1);
                paragraph(tc, "TableText"); // a cell ends with a paragraph
            } else {
                const char* jc = c < rule.size() ? rule_alignment(rule[c]) : nullptr;
                if (heading) jc = "center";
                pugi::xml_node p = paragraph(tc, "TableText", jc);
                if (whole && r + 1 < cells.size()) paragraph_property(p, "w:keepNext");
                inline_text(p, text, lines[r], heading);
            }
        }
        if (optional[r]) {
            if (heading) throw SourceError(lines[r], "标题行不能省略");
            mark("Row", tr, tr, lines[r]);
        }
    }
}

// The title's size: the style's 26 pt, or less for a title that would
// otherwise wrap and leave a word alone on a second line.
int title_half_points(const std::string& title)
{
    constexpr int k_style = 52, k_least = 36;
    const double fitting = 0.98 * k_text_width / 10.0 / std::max(text_ems(title), 1.0); // twips → half-points
    return std::clamp(static_cast<int>(fitting), k_least, k_style);
}

void Builder::title_page(const std::vector<Line>& lines)
{
    bool first = true;
    for (const Line& l : lines) {
        const std::string text = trim(l.text);
        if (text.empty()) continue;
        if (first) {
            const int size = title_half_points(text);
            inline_text(block("TitlePageTitle"), text, l.no, false, size == 52 ? 0 : size);
        } else {
            inline_text(block("TitlePageLine"), text, l.no);
        }
        first = false;
    }
    break_before_ = true;
    out_.title_page = true;
}

void Builder::body(const std::vector<Line>& lines)
{
    pugi::xml_document& doc = out_.document;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value("UTF-8");
    decl.append_attribute("standalone").set_value("yes");
    pugi::xml_node root = doc.append_child("w:document");
    root.append_attribute("xmlns:w").set_value(k_ns_w);
    root.append_attribute("xmlns:r").set_value(k_ns_r);
    root.append_attribute("xmlns:m").set_value(k_ns_m);
    pugi::xml_node body = body_ = root.append_child("w:body");

    bool toc = false;
    for (const Line& l : lines) {
        const std::string s = trim(l.text);
        if (starts_with(s, "# ")) chapters_.push_back(trim(s.substr(2)));
        toc = toc || s == "!toc";
    }

    std::vector<Line> rows; // the table being read
    auto end_table = [&] {
        if (rows.empty()) return;
        if (break_before_) { // a table has no "page break before" of its own
            page_break(body);
            break_before_ = false;
        }
        // the line before a table (its caption, as a rule) stays with it
        if (pugi::xml_node last = body.last_child(); last && std::string_view(last.name()) == "w:p")
            paragraph_property(last, "w:keepNext");
        table(body, rows, k_text_width, 0);
        rows.clear();
    };
    // Open !optional blocks: their first line and the body node before them.
    struct Open {
        int line;
        pugi::xml_node before;
    };
    std::vector<Open> open;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        std::string s = trim(l.text);
        if (starts_with(s, "|") || starts_with(s, "?|")) {
            rows.push_back(l);
            continue;
        }
        end_table();
        if (s.empty() || s.front() == '%') continue;
        // "?" before a line: left out when a value on it is empty or "-"
        const bool optional = s.front() == '?';
        if (optional) {
            s = trim(s.substr(1));
            if (s.empty() || s.front() == '!' || s.front() == '%') throw SourceError(l.no, "? 只能用于正文、公式、标题或表格行");
        }
        const pugi::xml_node before = body.last_child();
        if (s == "!optional") {
            open.push_back({l.no, body.last_child()});
            continue;
        }
        if (s == "!end" && !open.empty()) {
            const Open o = open.back();
            open.pop_back();
            pugi::xml_node first = o.before ? o.before.next_sibling() : body.first_child();
            if (!first) throw SourceError(o.line, "!optional 与 !end 之间没有内容");
            mark("Block", first, body.last_child(), o.line);
            continue;
        }
        if (s.front() == '!') {
            std::string word = s.substr(1, s.find(' ') == std::string::npos ? std::string::npos : s.find(' ') - 1);
            std::string rest = trim(s.substr(1 + word.size()));
            if (word == "titlepage") {
                std::vector<Line> block;
                while (++i < lines.size() && trim(lines[i].text) != "!end") block.push_back(lines[i]);
                if (i >= lines.size()) throw SourceError(l.no, "!titlepage 缺少 !end");
                title_page(block);
            } else if (word == "page") {
                break_before_ = true;
            } else if (word == "toc") {
                contents(l.no);
            } else if (word == "center" || word == "right") {
                inline_text(block("Normal", word.c_str()), rest, l.no);
            } else if (word == "end") {
                throw SourceError(l.no, "多余的 !end");
            } else {
                throw SourceError(l.no, "不认识的指令 !" + word);
            }
        } else if (s.front() == '=' && starts_with(s, "= ")) {
            inline_text(block("Title"), trim(s.substr(2)), l.no);
        } else if (s.front() == '#') {
            size_t level = s.find_first_not_of('#');
            if (level > 3 || level == std::string::npos || s[level] != ' ')
                throw SourceError(l.no, "标题写作 # 、## 或 ### 加空格");
            const char* style[] = {"", "Heading1", "Heading2", "Heading3"};
            pugi::xml_node p = block(style[level]);
            if (toc && level == 1) { // the contents' page numbers refer to it
                const std::string id = std::to_string(++chapter_);
                pugi::xml_node start = p.append_child("w:bookmarkStart");
                set_val(start, "w:id", id);
                set_val(start, "w:name", bookmark_name(chapter_));
                inline_text(p, trim(s.substr(level)), l.no);
                set_val(p.append_child("w:bookmarkEnd"), "w:id", id);
            } else {
                inline_text(p, trim(s.substr(level)), l.no);
            }
        } else if (starts_with(s, "$ ")) {
            // a line that introduces the equation ("…如下：") stays with it
            if (pugi::xml_node last = body.last_child(); last && std::string_view(last.name()) == "w:p" &&
                                                         ends_with_colon(last))
                paragraph_property(last, "w:keepNext");
            equation(block("Equation").append_child("m:oMathPara"), s.substr(2), l.no);
        } else {
            inline_text(block("Body"), s, l.no);
        }
        if (optional) {
            pugi::xml_node first = before ? before.next_sibling() : body.first_child();
            if (first) mark("Line", first, body.last_child(), l.no);
        }
    }
    end_table();
    if (!open.empty()) throw SourceError(open.back().line, "!optional 缺少 !end");
    keep_closing_paragraph();

    pugi::xml_node sect = body.append_child("w:sectPr");
    pugi::xml_node hdr = sect.append_child("w:headerReference");
    set_val(hdr, "w:type", "default");
    set_val(hdr, "r:id", "rIdHeader");
    pugi::xml_node ftr = sect.append_child("w:footerReference");
    set_val(ftr, "w:type", "default");
    set_val(ftr, "r:id", "rIdFooter");
    pugi::xml_node sz = sect.append_child("w:pgSz");
    set_val(sz, "w:w", std::to_string(k_page_w));
    set_val(sz, "w:h", std::to_string(k_page_h));
    pugi::xml_node mar = sect.append_child("w:pgMar");
    for (auto [k, v] : {std::pair{"w:top", k_margin_top}, {"w:right", k_margin_side}, {"w:bottom", k_margin_top},
                        {"w:left", k_margin_side}, {"w:header", 851}, {"w:footer", 992}, {"w:gutter", 0}})
        set_val(mar, k, std::to_string(v));
    set_val(sect.append_child("w:cols"), "w:space", "425");
    if (out_.title_page) sect.append_child("w:titlePg");
    pugi::xml_node grid = sect.append_child("w:docGrid");
    set_val(grid, "w:type", "lines");
    set_val(grid, "w:linePitch", "312");
}

} // namespace

void parse_template(const std::string& source, const std::string& fallback_title, Template& out)
{
    std::string_view src = source;
    if (starts_with(src, "\xEF\xBB\xBF")) src.remove_prefix(3);
    std::vector<Line> lines;
    for (size_t pos = 0, no = 1; pos <= src.size(); ++no) {
        size_t end = src.find('\n', pos);
        std::string_view l = src.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        lines.push_back({static_cast<int>(no), std::string(l)});
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }

    // Named tables (!table NAME ... !end) are taken out first so that a cell
    // may use one defined further down; !title may stand anywhere.
    out.title = fallback_title;
    std::map<std::string, std::vector<Line>> named;
    std::vector<Line> rest;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string s = trim(lines[i].text);
        if (starts_with(s, "!title ") || s == "!title") {
            out.title = trim(s.substr(6));
            if (out.title.empty()) throw SourceError(lines[i].no, "!title 后应写报告标题");
        } else if (starts_with(s, "!table")) {
            const std::string name = trim(s.substr(6));
            if (name.empty()) throw SourceError(lines[i].no, "!table 后应写表格名");
            if (named.count(name)) throw SourceError(lines[i].no, "表格 " + name + " 重复定义");
            const int at = lines[i].no;
            std::vector<Line>& rows = named[name];
            while (++i < lines.size() && trim(lines[i].text) != "!end") {
                const std::string row = trim(lines[i].text);
                if (row.empty() || row.front() == '%') continue;
                if (row.front() != '|' && !starts_with(row, "?|")) throw SourceError(lines[i].no, "!table 中只能写表格行");
                rows.push_back(lines[i]);
            }
            if (i >= lines.size()) throw SourceError(at, "!table 缺少 !end");
            if (rows.empty()) throw SourceError(at, "表格 " + name + " 是空的");
        } else {
            rest.push_back(lines[i]);
        }
    }
    Builder(out, std::move(named)).body(rest);
}

} // namespace docx_pack
