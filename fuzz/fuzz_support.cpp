#include "fuzz/fuzz_support.h"


#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace kolvane::fuzz {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Every input is written and every report rewritten thousands of times a
// second: on a RAM disk when there is one, since a disk file system may
// flush a truncated file to the disk on every close.
std::filesystem::path ScratchParent()
{
    constexpr const char* kRamDisk = "/dev/shm";
    std::error_code ignored;
    if (std::filesystem::is_directory(kRamDisk, ignored) && access(kRamDisk, W_OK) == 0) return kRamDisk;
    return std::filesystem::temp_directory_path();
}

// The folder of this process: several fuzzing jobs may run side by side.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (ScratchParent() / "kolvane-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
        root_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Root() const { return root_; }

private:
    std::string root_;
};

int g_boxes = 0;

}  // namespace

std::string ScratchPath(std::string_view name)
{
    static const ScratchFolder folder;
    return folder.Root() + "/" + std::string(name);
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) Fail("the fuzz input file can be created", __FILE__, __LINE__);
    const bool written = size == 0 || std::fwrite(data, 1, size, file.get()) == size;
    if (std::fclose(file.release()) != 0 || !written) Fail("the fuzz input is written", __FILE__, __LINE__);
}

Reporter& SilentReporter()
{
    class Counting final : public Reporter {
    public:
        void Message(std::string_view, std::string_view) override { ++g_boxes; }
        void Trace(std::string_view) override {}
    };
    static Counting reporter;
    return reporter;
}

int BoxCount() { return g_boxes; }

void ResetBoxCount() { g_boxes = 0; }

void Fail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

}  // namespace kolvane::fuzz
