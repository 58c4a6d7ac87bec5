#include "console/report_text.h"

#include <cstdio>

std::wstring GroupedNumber(std::uint64_t n)
{
    std::wstring digits = std::to_wstring(n);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, L',');
    return digits;
}

std::wstring SizeText(std::uint64_t bytes)
{
    static const wchar_t* const kUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB", L"EB"};
    const size_t last = sizeof kUnits / sizeof kUnits[0] - 1;
    if (bytes < 1024)
        return std::to_wstring(bytes) + L" バイト";
    size_t k = 0;
    std::uint64_t unit = 1024;
    while (k < last && bytes / 1024 >= unit) {
        unit *= 1024;
        ++k;
    }
    // Rounded to the nearest tenth below 100, to the nearest whole above;
    // what rounds up to 1024 is one of the next unit.
    const std::uint64_t whole = bytes / unit, rest = bytes % unit;
    const std::uint64_t tenths = whole * 10 + (rest * 10 + unit / 2) / unit;
    if (tenths < 1000)
        return std::to_wstring(tenths / 10) + L"." + std::to_wstring(tenths % 10) + L" " + kUnits[k];
    const std::uint64_t rounded = whole + (rest >= unit - rest ? 1 : 0);
    if (rounded >= 1024 && k < last)
        return std::wstring(L"1.0 ") + kUnits[k + 1];
    return std::to_wstring(rounded) + L" " + kUnits[k];
}

std::wstring SizeWithBytes(std::uint64_t bytes)
{
    if (bytes < 1024)
        return SizeText(bytes);
    return SizeText(bytes) + L"（" + GroupedNumber(bytes) + L" バイト）";
}

std::wstring CsvField(const std::wstring& text)
{
    if (text.find_first_of(L",\"\r\n") == std::wstring::npos)
        return text;
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        quoted += c;
        if (c == L'"')
            quoted += L'"';
    }
    return quoted + L"\"";
}

std::wstring DateTimeText(const DateTime& t)
{
    wchar_t text[32];
    std::swprintf(text, sizeof text / sizeof text[0], L"%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}
