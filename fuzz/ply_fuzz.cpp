// Any bytes as a .PLY playlist file: what is read, saved and read again is
// the same set of clips.

#include <unistd.h>

#include <string>

#include "core/cpstringarray.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "playlist/entry_set.h"

namespace {

// In memory where the system has a memory file system: the save flushes to
// the disk, which would otherwise be most of each run's time.
std::string ScratchPath() {
    const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/vantic-ply-fuzz-" + std::to_string(::getpid()) + ".PLY";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantic;
    cpStringArray lines;
    if (!lines.SplitLines(FuzzText(data, size))) {
        return 0;
    }
    EntrySet set;
    if (!LinesToEntrySet(lines, set)) {
        return 0;
    }
    set.Settings().clear();
    const std::optional<cpStringArray> written = EntrySetToLines(set);
    FUZZ_CHECK(written.has_value());
    const std::string path = ScratchPath();
    FUZZ_CHECK(written->SaveLines(path, path + ".tmp"));
    cpStringArray loaded;
    FUZZ_CHECK(loaded.LoadLines(path));
    ::unlink(path.c_str());
    EntrySet once;
    FUZZ_CHECK(LinesToEntrySet(loaded, once));
    const std::optional<cpStringArray> again = EntrySetToLines(once);
    EntrySet twice;
    FUZZ_CHECK(again && LinesToEntrySet(*again, twice) && twice == once);
    FUZZ_CHECK(once.TotalCount() == set.TotalCount());
    return 0;
}
