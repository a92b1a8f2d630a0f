#pragma once
// Layout of the tables that the build generates for embedded files.
namespace ui {
struct EmbeddedFile {
    const char* path;
    const unsigned char* begin;
    const unsigned char* end;
};
extern const EmbeddedFile k_jsb_resources[];
extern const EmbeddedFile k_jsb_templates[];
} // namespace ui
