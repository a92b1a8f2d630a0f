#pragma once
// Embedded resources: every form definition, picture, sound and report
// template is compiled into the program; nothing is read from disk. They
// are served where they lie: a resource's block refers to the embedded
// bytes and nothing is copied.
#include "ui/bytes.h"

#include <string>
#include <string_view>
#include <vector>

namespace ui {

// The embedded file at a path relative to the source tree
// ("forms/Roller.json", "resources/sounds/click.wav", "templates/roller.docx").
// Empty when there is none. The block lives as long as the program.
const Bytes& resource(std::string_view path);
bool has_resource(std::string_view path);
// Paths of all embedded files whose path starts with the prefix.
std::vector<std::string> resource_paths(std::string_view prefix);

} // namespace ui
