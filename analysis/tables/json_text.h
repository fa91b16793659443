// JSON text written piece by piece: strings escaped, numbers and null as
// they are. The caller writes the structure; the text is UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

// Appends the UTF-8 text as a JSON string, quotes included.
void AppendJsonString(std::string& out, std::string_view utf8);
// Appends "name": before a value.
void AppendJsonName(std::string& out, std::string_view name);
// Appends the number, or null when there is none.
void AppendJsonNumber(std::string& out, std::optional<std::int64_t> value);

// Appends a member of an object, "name":value, with the comma before it
// unless it is the object's first (out ends with its "{").
void AppendJsonField(std::string& out, std::string_view name, std::string_view utf8);
void AppendJsonField(std::string& out, std::string_view name, std::optional<std::int64_t> value);

}  // namespace kolvane
