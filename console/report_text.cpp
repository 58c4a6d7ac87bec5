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

std::wstring EscapedName(const std::wstring& text)
{
    std::wstring shown;
    shown.reserve(text.size());
    for (wchar_t c : text) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029) {
            wchar_t code[12];
            std::swprintf(code, sizeof code / sizeof code[0], L"<U+%04X>", static_cast<unsigned>(c));
            shown += code;
        } else {
            shown += c;
        }
    }
    return shown;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"「" + EscapedName(text) + L"」";
}

namespace {

// A reason and the system's error number: "reason。エラー N", or either alone.
std::wstring WithErrorNumber(const wchar_t* reason, std::uint32_t error)
{
    const std::wstring number = L"エラー " + std::to_wstring(error);
    if (!reason)
        return error == 0 ? L"原因はわかりません" : number;
    return error == 0 ? std::wstring(reason) : reason + (L"。" + number);
}

}  // namespace

std::wstring ErrorText(std::uint32_t error)
{
    static const struct {
        std::uint32_t error;
        const wchar_t* reason;
    } kReasons[] = {
        {2, L"見つかりません"},
        {3, L"見つかりません"},
        {5, L"アクセスが拒否されました"},
        {21, L"デバイスの準備ができていません"},
        {53, L"ネットワーク上の場所が見つかりません"},
        {59, L"ネットワークの接続が切れました"},
        {64, L"ネットワークの接続が切れました"},
        {67, L"ネットワーク上の場所が見つかりません"},
        {123, L"パスが正しくありません"},
        {161, L"パスが正しくありません"},
        {206, L"パスが長すぎます"},
        {267, L"フォルダーではありません"},
    };
    for (const auto& known : kReasons) {
        if (known.error == error)
            return WithErrorNumber(known.reason, error);
    }
    return WithErrorNumber(nullptr, error);
}

std::wstring FaultText(const DeleteOutcome& outcome)
{
    const auto reason = [](DeleteFault fault) -> const wchar_t* {
        switch (fault) {
        case DeleteFault::Gone: return L"見つかりません";
        case DeleteFault::InUse: return L"ほかのプログラムが使用中です";
        case DeleteFault::NoAccess: return L"アクセスが拒否されました（読み取り専用か、権限がありません）";
        case DeleteFault::Changed: return L"一覧にした後で変更されています";
        case DeleteFault::Link: return L"リンクか、リンクを通る場所です";
        case DeleteFault::RecycleBin: return L"ごみ箱に入れられません";
        case DeleteFault::NotEmpty: return L"フォルダーが空ではありません";
        case DeleteFault::None:
        case DeleteFault::Other: break;
        }
        return nullptr;
    };
    return outcome.Deleted() ? std::wstring() : WithErrorNumber(reason(outcome.fault), outcome.error);
}
