#pragma once
// Report template sources (resources/templates/*.tpl, described in
// resources/templates/README.md) turned into the parts of a Word document.
#include <pugixml.hpp>

#include <stdexcept>
#include <string>

namespace docx_pack {

// A mistake in a template source, reported as "file:line: message".
struct SourceError : std::runtime_error {
    SourceError(int line, const std::string& what) : std::runtime_error(what), line(line) {}
    int line;
};

struct Template {
    std::string title;         // footer and document properties
    bool title_page = false;   // the first page has no header and footer
    bool update_fields = false; // ask Word to update the fields on opening (page numbers of !toc)
    pugi::xml_document document; // word/document.xml
};

// `fallback_title` is used when the source has no !title line.
void parse_template(const std::string& source, const std::string& fallback_title, Template& out);

} // namespace docx_pack
