#include "analysis/tables/json_text.h"

#include <array>

namespace kolvane {
namespace {

constexpr std::string_view kNull = "null";
constexpr std::array<char, 16> kHexDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};

}  // namespace

void AppendJsonString(std::string& out, std::string_view utf8)
{
    out.push_back('"');
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out.append("\\u00");
                out.push_back(kHexDigits[static_cast<unsigned char>(c) >> 4]);
                out.push_back(kHexDigits[static_cast<unsigned char>(c) & 0xF]);
            } else {
                out.push_back(c);
            }
        }
    }
    out.push_back('"');
}

void AppendJsonName(std::string& out, std::string_view name)
{
    AppendJsonString(out, name);
    out.push_back(':');
}

namespace {

void BeginJsonField(std::string& out, std::string_view name)
{
    if (out.empty() || out.back() != '{') out.push_back(',');
    AppendJsonName(out, name);
}

}  // namespace

void AppendJsonField(std::string& out, std::string_view name, std::string_view utf8)
{
    BeginJsonField(out, name);
    AppendJsonString(out, utf8);
}

void AppendJsonField(std::string& out, std::string_view name, std::optional<std::int64_t> value)
{
    BeginJsonField(out, name);
    AppendJsonNumber(out, value);
}

void AppendJsonNumber(std::string& out, std::optional<std::int64_t> value)
{
    if (value) {
        out.append(std::to_string(*value));
    } else {
        out.append(kNull);
    }
}

}  // namespace kolvane
