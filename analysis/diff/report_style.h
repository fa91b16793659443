// The look the change-count text report gives a report over the modules of
// a project, which the unused-code report shares: the banner, the file and
// status lines, and the four-column totals per module kind and overall.
#pragma once

#include "project/model/module_kind.h"
#include "project/text/strings.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace kolvane::report_style {

inline constexpr std::string_view kBannerRule = "-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-\n";
inline constexpr const char* kFileNameFormat = "ファイル名 ： %s\n";
inline constexpr const char* kStatusFormat = "状態       ： %s\n";
inline constexpr const char* kKindTotalsFormat = "%sファイル%10lld行%10lld行%10lld行%10lld行\n";
inline constexpr const char* kAllTotalsFormat = "合計       %10lld行%10lld行%10lld行%10lld行\n\n\n";

using Columns = std::array<std::int64_t, 4>;

// The title between two rules.
inline void AppendBanner(std::string& report, std::string_view title)
{
    report.append(kBannerRule).append(title).append(kBannerRule);
}

// A figure in decimal, as "%lld" writes it.
inline void AppendNumber(std::string& report, std::int64_t value)
{
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    report.append(digits.data(), end);
}

// The header line, a line per module kind (all seven), the overall line and
// two empty lines.
inline void AppendTotals(std::string& report, std::string_view header,
                         const std::array<Columns, kModuleKindCount>& perKind, const Columns& all)
{
    report.append(header);
    for (std::size_t kind = 0; kind < kModuleKindCount; ++kind) {
        const Columns& t = perKind[kind];
        report += FormatText(kKindTotalsFormat, std::string(kModuleKindTexts[kind]).c_str(),
                             static_cast<long long>(t[0]), static_cast<long long>(t[1]),
                             static_cast<long long>(t[2]), static_cast<long long>(t[3]));
    }
    report += FormatText(kAllTotalsFormat, static_cast<long long>(all[0]), static_cast<long long>(all[1]),
                         static_cast<long long>(all[2]), static_cast<long long>(all[3]));
}

}  // namespace kolvane::report_style
