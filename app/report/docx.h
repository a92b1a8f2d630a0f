#pragma once
// Fills calculation reports. A report is a Word document (an Office Open XML
// package) whose main text contains placeholders: the names of the controls
// whose shown text takes their place. Only the main story is edited; every
// other part of the package is written back exactly as it was read.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace report {

class Docx {
public:
    Docx();
    ~Docx();
    Docx(Docx&&) noexcept;
    Docx& operator=(Docx&&) noexcept;

    // Loads a package; on failure the document is left empty and a short
    // reason is put in *error (when given).
    bool open(const std::string& path, std::string* error = nullptr);
    bool open_bytes(std::string_view bytes, std::string* error = nullptr);

    // Replaces the first occurrence of the placeholder, searching from the
    // start of the main story, as a "replace one" of a Find/Replace would.
    // A placeholder may span several runs of one paragraph (or one equation);
    // text inserted by an earlier replacement is never matched again. The
    // value is inserted literally, formatted like the first matched run.
    // The first call walks the main story once and keeps an index of its
    // text; every replacement after that works from the index, so filling
    // costs the document's size plus the replacements, not their product.
    bool replace_next(std::string_view placeholder, std::string_view value);
    // Calls replace_next up to `times` times; returns how many matched.
    int replace(std::string_view placeholder, std::string_view value, int times);
    // Looks for all these placeholders in one pass over the text, ahead of
    // their replacements. Optional, and it changes no result: a placeholder
    // not named here is looked for, in a pass of its own, when first asked.
    void prepare(const std::vector<std::string_view>& placeholders);

    // Leaves out the optional parts (lines, table rows and blocks marked by
    // the template) where a placeholder was given an empty value or "-", and
    // the marks of the others. Called once, after the last replacement.
    void leave_out_blank_parts();

    // The document's created and modified times in its core properties
    // (W3C date-time, "2026-12-11T09:30:00Z"), written by the next save.
    void set_times(std::string created, std::string modified);

    // Writes the package through ui::cmd_write_file: a temporary file beside
    // `path`, renamed over it, so a failed save leaves the old file as it was.
    bool save(const std::string& path, std::string* error = nullptr) const;
    // The package as save() would write it.
    bool save_bytes(std::string* out, std::string* error = nullptr) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace report
