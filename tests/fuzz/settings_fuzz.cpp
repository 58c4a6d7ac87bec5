// libFuzzer target for the settings-file reader, in memory: whatever the
// bytes hold, the load never faults, keeps within the set's limits, and what
// it kept saves and loads again unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "patterns/pattern_set.h"
#include "tests/support/mem_file.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// Two sets, made once in an empty directory that is then removed: no input
// ever touches the disk.
struct Sets {
    Sets()
    {
        char name[] = "/tmp/tidymoth-fuzz.XXXXXX";
        Check(mkdtemp(name) != nullptr && chdir(name) == 0);
        first = new CPatternSet;
        again = new CPatternSet;
        Check(chdir("/") == 0 && rmdir(name) == 0);
    }
    CPatternSet* first;
    CPatternSet* again;
};

// Every pattern keeps within the limits of a pattern.
void CheckLimits(CPatternSet& set)
{
    Check(set.GetCount() >= 1 && set.GetCount() <= MAX_PATTERNS);
    for (int p = 0; p < set.GetCount(); ++p) {
        Check(set.SetCurrent(p));
        Check(set.GetMaskCount() >= 0 && set.GetMaskCount() <= MAX_ENTRIES);
        Check(set.GetDirCount() >= 0 && set.GetDirCount() <= MAX_ENTRIES);
    }
}

}  // namespace

// The file names every field of every pattern, so two sets that save the
// same bytes hold the same patterns.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Sets sets;
    CMemFile file(data, size);
    const LoadOutcome outcome = sets.first->LoadFrom(file);
    CheckLimits(*sets.first);
    Check(size >= 4 || outcome == LoadOutcome::Unreadable);
    if (outcome == LoadOutcome::Unreadable)
        return 0;

    CMemFile saved;
    sets.first->SaveTo(saved);
    Check(sets.again->LoadFrom(saved) == LoadOutcome::Whole);
    CheckLimits(*sets.again);
    CMemFile savedAgain;
    sets.again->SaveTo(savedAgain);
    Check(saved.GetLength() == savedAgain.GetLength() &&
          std::memcmp(saved.GetData(), savedAgain.GetData(), static_cast<std::size_t>(saved.GetLength())) == 0);
    return 0;
}
