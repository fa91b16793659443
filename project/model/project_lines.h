// The keys of the project file's member lines, as both project readers
// match them: a line holding "Form=" (and not "IconForm=") names a form from
// its sixth character; one holding "Module=" or "Class=" names its file two
// characters after its first semicolon.
#pragma once

#include <cstddef>
#include <string_view>

namespace kolvane {

inline constexpr std::string_view kFormKey = "Form=";
inline constexpr std::string_view kIconFormKey = "IconForm=";
inline constexpr std::string_view kModuleKey = "Module=";
inline constexpr std::string_view kClassKey = "Class=";
inline constexpr std::size_t kFormValueStart = 5;  // the line's sixth character
inline constexpr std::size_t kSkipAfterSemicolon = 2;

}  // namespace kolvane
