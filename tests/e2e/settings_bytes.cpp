#include "tests/e2e/settings_bytes.h"

#include <windows.h>

namespace e2e {
namespace {

void PutInt(Bytes& b, int value)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>(static_cast<unsigned>(value) >> (8 * i)));
}

void PutString(Bytes& b, const std::string& s)
{
    PutInt(b, static_cast<int>(s.size()));
    b.insert(b.end(), s.begin(), s.end());
}

}  // namespace

Bytes SettingsBytes(const std::vector<Pattern>& patterns)
{
    Bytes b;
    PutInt(b, static_cast<int>(patterns.size()));
    for (const Pattern& p : patterns) {
        PutString(b, p.name);
        PutInt(b, static_cast<int>(p.masks.size()));
        for (const Entry& m : p.masks) {
            PutString(b, m.text);
            PutInt(b, m.flag);
        }
        PutInt(b, static_cast<int>(p.dirs.size()));
        for (const Entry& d : p.dirs) {
            PutString(b, d.text);
            PutInt(b, d.flag);
        }
    }
    return b;
}

std::string UpperCp932(const std::string& text)
{
    std::string upper = text;
    for (size_t i = 0; i < upper.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(upper[i]);
        if (::IsDBCSLeadByteEx(932, c) && i + 1 < upper.size())
            ++i;
        else if (c >= 'a' && c <= 'z')
            upper[i] = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

}  // namespace e2e
