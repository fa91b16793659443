#include "project/project_reader.h"

#include "project/module_table.h"
#include "project/path_text.h"
#include "project/source_file.h"
#include "project/strings.h"
#include "project/trace.h"

#include <array>
#include <cstring>
#include <vector>

namespace kolvane {
namespace {

constexpr std::size_t kLineBufferSize = 512;

constexpr std::string_view kFormKey = "Form=";
constexpr std::string_view kIconFormKey = "IconForm=";
constexpr std::string_view kModuleKey = "Module=";
constexpr std::string_view kClassKey = "Class=";
constexpr std::size_t kFormValueStart = 5;  // the line's sixth character
constexpr std::size_t kSkipAfterSemicolon = 2;
constexpr std::string_view kParent = "..";
constexpr std::size_t kParentStepLength = 3;  // "..\"
constexpr std::string_view kUncPrefix = "\\\\";

constexpr std::string_view kTooManyValues = "Form=、Module=、Class= の行が多すぎます (各100行まで)";
constexpr std::string_view kTooManyModules = "モジュールが多すぎます (255個まで)";
constexpr std::string_view kValueTooLong = "ファイル名が長すぎます (254バイトまで)";
constexpr std::string_view kPathTooLong = "ファイルのパスが長すぎます (256バイトまで)";
constexpr std::string_view kReadError = "ファイル読み込みエラー";

enum Kind { kForm, kModule, kClass, kKindCount };
constexpr const char* kKindTexts[kKindCount] = {"frm", "bas", "cls"};

bool Contains(std::string_view text, std::string_view key)
{
    return text.find(key) != std::string_view::npos;
}

// The project path up to and including its last separator; empty when it
// has none, so that modules resolve against the current directory.
std::string_view ProjectDirectory(std::string_view projectPath)
{
    const std::size_t cut = LastSeparator(projectPath);
    return cut == std::string_view::npos ? std::string_view{} : projectPath.substr(0, cut + 1);
}

// The value after the first ";" and the blank that follows it; nullopt-like
// false when the line has no ";".
bool ValueAfterSemicolon(std::string_view line, std::string_view& value)
{
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos) return false;
    value = line.substr(std::min(semicolon + kSkipAfterSemicolon, line.size()));
    return true;
}

std::string ResolveModulePath(std::string_view projectDirectory, std::string_view value)
{
    if (Contains(value, ":") || value.starts_with(kUncPrefix)) return std::string(value);
    std::string resolved;
    if (Contains(value, kParent)) {
        ResolveParentRelative(projectDirectory, value, resolved);
    } else {
        resolved.append(projectDirectory).append(value);
    }
    return resolved;
}

}  // namespace

void ResolveParentRelative(std::string_view projectDirectory, std::string_view value, std::string& destination)
{
    // Every place where ".." begins counts, so three dots in a row count twice.
    std::size_t steps = 0;
    for (std::size_t at = value.find(kParent); at != std::string_view::npos; at = value.find(kParent, at + 1)) {
        ++steps;
    }

    // Separators before the directory's trailing one, met from the back.
    std::vector<std::size_t> separators;
    if (!projectDirectory.empty()) {
        ForEachSeparator(projectDirectory.substr(0, projectDirectory.size() - 1),
                         [&](std::size_t position) { separators.push_back(position); });
    }
    std::size_t keep = 0;  // characters of the directory kept
    if (!projectDirectory.empty()) {
        if (separators.empty()) {
            keep = projectDirectory.size();  // already at the root
        } else if (steps <= separators.size()) {
            keep = separators[separators.size() - steps] + 1;
        } else {
            keep = separators.front() + 1;  // cut at the root
        }
        if (steps == 0) keep = projectDirectory.size();
    }

    const std::size_t dropped = std::min(value.size(), kParentStepLength * steps);
    destination.assign(projectDirectory.substr(0, keep));
    destination.append(RightString(std::string(value).c_str(), static_cast<unsigned>(value.size() - dropped)));
}

std::string ResolveMemberPath(std::string_view projectPath, std::string_view value)
{
    return ResolveModulePath(ProjectDirectory(projectPath), value);
}

std::int32_t LoadProject(std::string_view projectPath)
{
    const std::string_view directory = ProjectDirectory(projectPath);

    SourceFile file;
    if (OpenSourceFile(file, projectPath, kModeRead) != 1) {
        Trace(trace_text::kOpenError);
        return 0;
    }

    ClearModuleTable();
    std::array<std::vector<std::string>, kKindCount> values;
    std::string_view failure;

    std::array<char, kLineBufferSize> line{};
    const LoopEnd end = ForEachLine(file, line, [&](char* text) {
        std::string_view current(text);
        if (current.ends_with('\n')) current.remove_suffix(1);

        Kind kind;
        std::string_view value;
        if (Contains(current, kFormKey) && !Contains(current, kIconFormKey)) {
            kind = kForm;
            value = current.substr(std::min(kFormValueStart, current.size()));
        } else if (Contains(current, kModuleKey)) {
            kind = kModule;
            if (!ValueAfterSemicolon(current, value)) return true;
        } else if (Contains(current, kClassKey)) {
            kind = kClass;
            if (!ValueAfterSemicolon(current, value)) return true;
        } else {
            return true;
        }

        if (values[kind].size() >= project_limits::kValuesPerKind) {
            failure = kTooManyValues;
        } else if (value.size() > project_limits::kValueLength) {
            failure = kValueTooLong;
        } else {
            values[kind].emplace_back(value);
            return true;
        }
        return false;
    });

    if (end == LoopEnd::ReadError && failure.empty()) failure = kReadError;
    if (CloseSourceFile(file) != 1) {
        Trace(trace_text::kCloseError);
        return 0;
    }
    if (values[kForm].size() + values[kModule].size() + values[kClass].size() > kModuleCapacity) {
        failure = kTooManyModules;
    }

    std::int32_t rows = 0;
    for (int kind = kForm; kind < kKindCount && failure.empty(); ++kind) {
        for (const std::string& value : values[kind]) {
            const std::string path = ResolveModulePath(directory, value);
            if (path.size() > project_limits::kResolvedPathLength) {
                failure = kPathTooLong;
                break;
            }
            ModuleEntry& entry = ModuleTable[rows++];
            std::memcpy(entry.kind, kKindTexts[kind], kKindLength);
            std::memcpy(entry.path, path.data(), path.size());
        }
    }

    if (!failure.empty()) {
        Trace(failure);
        ClearModuleTable();
        return 0;
    }
    ModuleCount = rows;
    return 1;
}

}  // namespace kolvane
