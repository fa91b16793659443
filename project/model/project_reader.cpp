#include "project/model/project_reader.h"

#include "project/model/project_lines.h"
#include "project/text/path_text.h"
#include "project/text/platform.h"
#include "project/text/source_file.h"
#include "project/text/strings.h"
#include "project/text/trace.h"

#include <array>
#include <vector>

namespace kolvane {
namespace {

constexpr std::size_t kLineBufferSize = 512;

constexpr std::string_view kParent = "..";
constexpr std::size_t kParentStepLength = 3;  // "..\"
constexpr std::string_view kUncPrefix = "\\\\";

constexpr std::string_view kTooManyValues = "Form=、Module=、Class= の行が多すぎます (各100行まで)";
constexpr std::string_view kTooManyModules = "モジュールが多すぎます (255個まで)";
constexpr std::string_view kValueTooLong = "ファイル名が長すぎます (254バイトまで)";
constexpr std::string_view kPathTooLong = "ファイルのパスが長すぎます (256バイトまで)";

enum Kind { kForm, kModule, kClass, kKindCount };
constexpr const char* kKindTexts[kKindCount] = {"frm", "bas", "cls"};

// A folder that names its place without the current directory: it starts
// with a separator (a UNC path included) or holds a drive colon.
bool IsAbsoluteFolder(std::string_view folder)
{
    return (!folder.empty() && IsPathSeparator(folder.front())) || Contains(folder, ":");
}

// The project path up to and including its last separator, made absolute
// against the current directory when it is relative (the empty folder of a
// bare file name included), so that ".." can climb out of it.
std::string ProjectDirectory(std::string_view projectPath)
{
    const std::size_t cut = LastSeparator(projectPath);
    const std::string_view folder = cut == std::string_view::npos ? std::string_view{} : projectPath.substr(0, cut + 1);
    return IsAbsoluteFolder(folder) ? std::string(folder) : AbsoluteFolder(folder);
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
    std::size_t keep = projectDirectory.size();  // characters of the directory kept
    if (steps > 0 && !separators.empty()) {
        // More steps than folders cut at the root.
        keep = separators[separators.size() - std::min(steps, separators.size())] + 1;
    }

    const std::size_t dropped = std::min(value.size(), kParentStepLength * steps);
    destination.assign(projectDirectory.substr(0, keep));
    destination.append(value.substr(dropped));
}

std::string ResolveMemberPath(std::string_view projectPath, std::string_view value)
{
    return ResolveModulePath(ProjectDirectory(projectPath), value);
}

std::string_view LimitText(LoadFailure failure)
{
    switch (failure) {
    case LoadFailure::TooManyOfAKind: return kTooManyValues;
    case LoadFailure::TooManyModules: return kTooManyModules;
    case LoadFailure::ValueTooLong: return kValueTooLong;
    case LoadFailure::PathTooLong: return kPathTooLong;
    default: return {};
    }
}

ProjectLoad LoadProject(std::string_view projectPath, Reporter& reporter)
{
    ProjectLoad load;
    SourceFile file;
    if (OpenSourceFile(file, projectPath, kModeRead) != 1) {
        Trace(reporter, trace_text::kOpenError);
        load.failure = LoadFailure::CannotOpen;
        return load;
    }

    std::array<std::vector<std::string>, kKindCount> values;
    LoadFailure failure = LoadFailure::None;

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
            failure = LoadFailure::TooManyOfAKind;
        } else if (value.size() > project_limits::kValueLength) {
            failure = LoadFailure::ValueTooLong;
        } else {
            values[kind].emplace_back(value);
            return true;
        }
        return false;
    });

    if (end == LoopEnd::ReadError && failure == LoadFailure::None) failure = LoadFailure::CannotRead;
    if (CloseSourceFile(file) != 1) {
        Trace(reporter, trace_text::kCloseError);
        load.failure = LoadFailure::CannotClose;
        return load;
    }
    if (values[kForm].size() + values[kModule].size() + values[kClass].size() > kModuleCapacity) {
        failure = LoadFailure::TooManyModules;
    }

    const std::string directory = failure == LoadFailure::None ? ProjectDirectory(projectPath) : std::string();
    for (int kind = kForm; kind < kKindCount && failure == LoadFailure::None; ++kind) {
        for (const std::string& value : values[kind]) {
            const std::string path = ResolveModulePath(directory, value);
            if (path.size() > project_limits::kResolvedPathLength) {
                failure = LoadFailure::PathTooLong;
                break;
            }
            load.table.push_back(MakeModuleEntry(kKindTexts[kind], path));
        }
    }

    if (failure != LoadFailure::None) {
        Trace(reporter, failure == LoadFailure::CannotRead ? trace_text::kReadError : LimitText(failure));
        load.table.clear();
        load.failure = failure;
    }
    return load;
}

}  // namespace kolvane
