#include "tests/support/settings_bytes.h"

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

}  // namespace testing_support
