#include "tests/support/settings_bytes.h"

#include <climits>

namespace testing_support {

SettingsWriter& SettingsWriter::Int(std::int32_t value)
{
    const std::uint32_t u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<unsigned char>(u >> (8 * i)));
    return *this;
}

SettingsWriter& SettingsWriter::Raw(std::int32_t length, const std::string& s)
{
    Int(length);
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
}

SettingsWriter& SettingsWriter::Record(const Pattern& pattern)
{
    Str(pattern.name).Int(static_cast<std::int32_t>(pattern.masks.size()));
    for (const Entry& m : pattern.masks)
        Str(m.text).Int(m.flag);
    Int(static_cast<std::int32_t>(pattern.dirs.size()));
    for (const Entry& d : pattern.dirs)
        Str(d.text).Int(d.flag);
    return *this;
}

Bytes SettingsBytes(const std::vector<Pattern>& patterns)
{
    SettingsWriter w;
    w.Int(static_cast<std::int32_t>(patterns.size()));
    for (const Pattern& p : patterns)
        w.Record(p);
    return w.bytes;
}

std::vector<HostileFile> HostileSettingsFiles()
{
    std::vector<HostileFile> cases;
    auto add = [&](const char* what, LoadOutcome outcome, int kept) -> SettingsWriter& {
        cases.push_back({what, SettingsWriter(), outcome, kept});
        return cases.back().file;
    };
    add("negative pattern count", LoadOutcome::Unreadable, 1).Int(-1).Record({"P", {}, {}});
    add("zero patterns", LoadOutcome::Unreadable, 1).Int(0);
    add("huge pattern count", LoadOutcome::Partial, 1).Int(INT_MAX).Record({"P", {}, {}});
    add("negative mask count", LoadOutcome::Unreadable, 1).Int(1).Str("P").Int(-3);
    add("101 masks", LoadOutcome::Unreadable, 1).Int(1).Str("P").Int(101);
    add("101 directories", LoadOutcome::Partial, 1).Int(2).Record({"OK", {}, {}}).Str("P").Int(0).Int(101);
    add("negative string length", LoadOutcome::Unreadable, 1).Int(1).Int(-1).Int(0).Int(0);
    add("string longer than the file", LoadOutcome::Unreadable, 1).Int(1).Int(1000).Int(0).Int(0);
    add("INT_MAX string length", LoadOutcome::Unreadable, 1).Int(1).Int(INT_MAX).Int(0).Int(0);
    add("INT_MIN string length", LoadOutcome::Partial, 1).Int(2).Record({"OK", {}, {}}).Int(INT_MIN);
    add("trailing bytes after the last record", LoadOutcome::Whole, 1).Int(1).Record({"P", {}, {}}).Int(42);
    {
        SettingsWriter& many = add("21 patterns", LoadOutcome::Partial, MAX_PATTERNS);
        many.Int(21);
        for (int i = 0; i < 21; ++i)
            many.Record({"P" + std::to_string(i), {{"M", i}}, {{"D\\", 1}}});
    }
    {
        SettingsWriter& full = add("100 masks and 100 directories", LoadOutcome::Whole, 1);
        full.Int(1).Str("P").Int(100);
        for (int i = 0; i < 100; ++i)
            full.Str("M").Int(0);
        full.Int(100);
        for (int i = 0; i < 100; ++i)
            full.Str("D\\").Int(1);
    }
    return cases;
}

}  // namespace testing_support
