// libFuzzer target for the settings-file reader: whatever the file holds, the
// load never faults, keeps within the set's limits, and what it kept saves
// and loads again unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "patterns/pattern_set.h"
#include "tests/support/texts.h"

namespace {

const std::string& WorkDir()
{
    static const std::string dir = [] {
        char name[] = "/tmp/tidymoth-fuzz.XXXXXX";
        const char* made = mkdtemp(name);
        if (!made || chdir(made) != 0)
            std::abort();
        return std::string(made);
    }();
    return dir;
}

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

// Every pattern's content, in a form that can be compared.
std::string Describe(CPatternSet& set)
{
    std::string out = std::to_string(set.GetCount()) + "|";
    for (int p = 0; p < set.GetCount(); ++p) {
        Check(set.SetCurrent(p));
        out += std::string(set.GetCurrentName()) + "|";
        Check(set.GetMaskCount() >= 0 && set.GetMaskCount() <= MAX_ENTRIES);
        Check(set.GetDirCount() >= 0 && set.GetDirCount() <= MAX_ENTRIES);
        for (int i = 0; i < set.GetMaskCount(); ++i)
            out += std::string(set.GetMask(i)) + "|";
        for (int i = 0; i < set.GetDirCount(); ++i)
            out += std::string(set.GetDir(i)) + ":" + std::to_string(set.GetDirFlag(i)) + "|";
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WorkDir();
    FILE* f = std::fopen(texts::kSettingsFile, "wb");
    Check(f != nullptr);
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);

    auto set = std::make_unique<CPatternSet>();
    Check(set->GetCount() >= 1 && set->GetCount() <= MAX_PATTERNS);
    Check(size >= 4 || set->GetLoadOutcome() == LoadOutcome::Unreadable);
    if (set->GetLoadOutcome() == LoadOutcome::Unreadable)
        return 0;
    std::string first = Describe(*set);

    set->Save();
    auto again = std::make_unique<CPatternSet>();
    Check(again->GetLoadOutcome() == LoadOutcome::Whole);
    Check(Describe(*again) == first);
    return 0;
}
