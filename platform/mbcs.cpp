#include "platform/mbcs.h"

#ifdef _WIN32
#include <mbstring.h>
#else
#include "platform/mbcs_cp932.h"
#endif

namespace {
#ifdef _WIN32
const unsigned char* U(const char* s)
{
    return reinterpret_cast<const unsigned char*>(s);
}
#endif
}  // namespace

int MbsCmp(const char* a, const char* b)
{
#ifdef _WIN32
    return _mbscmp(U(a), U(b));
#else
    return cp932::Compare(a, b);
#endif
}

int MbsICmp(const char* a, const char* b)
{
#ifdef _WIN32
    return _mbsicmp(U(a), U(b));
#else
    return cp932::CompareNoCase(a, b);
#endif
}

void MbsUpper(char* text)
{
#ifdef _WIN32
    _mbsupr(reinterpret_cast<unsigned char*>(text));
#else
    cp932::Upper(text);
#endif
}

const char* MbsRChr(const char* text, unsigned char ch)
{
#ifdef _WIN32
    return reinterpret_cast<const char*>(_mbsrchr(U(text), ch));
#else
    return cp932::ReverseFind(text, ch);
#endif
}

bool EndsWithSeparator(const char* text)
{
    const char* p = MbsRChr(text, '\\');
    return p != nullptr && p[1] == '\0';
}
