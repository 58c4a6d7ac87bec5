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

std::wstring ErrorText(std::uint32_t error)
{
    const wchar_t* reason = nullptr;
    switch (error) {
    case 2:
    case 3:
        reason = L"見つかりません";
        break;
    case 5:
        reason = L"アクセスが拒否されました";
        break;
    case 21:
        reason = L"デバイスの準備ができていません";
        break;
    case 53:
    case 67:
        reason = L"ネットワーク上の場所が見つかりません";
        break;
    case 59:
    case 64:
        reason = L"ネットワークの接続が切れました";
        break;
    case 123:
    case 161:
        reason = L"パスが正しくありません";
        break;
    case 206:
        reason = L"パスが長すぎます";
        break;
    case 267:
        reason = L"フォルダーではありません";
        break;
    default:
        break;
    }
    const std::wstring number = L"エラー " + std::to_wstring(error);
    return reason ? reason + (L"。" + number) : number;
}

std::wstring FaultText(const DeleteOutcome& outcome)
{
    const wchar_t* reason = nullptr;
    switch (outcome.fault) {
    case DeleteFault::None:
        return std::wstring();
    case DeleteFault::Gone:
        reason = L"見つかりません";
        break;
    case DeleteFault::InUse:
        reason = L"ほかのプログラムが使用中です";
        break;
    case DeleteFault::NoAccess:
        reason = L"アクセスが拒否されました（読み取り専用か、権限がありません）";
        break;
    case DeleteFault::Changed:
        reason = L"一覧にした後で変更されています";
        break;
    case DeleteFault::Link:
        reason = L"リンクか、リンクを通る場所です";
        break;
    case DeleteFault::RecycleBin:
        reason = L"ごみ箱に入れられません";
        break;
    case DeleteFault::NotEmpty:
        reason = L"フォルダーが空ではありません";
        break;
    case DeleteFault::Other:
        break;
    }
    const std::wstring number = L"エラー " + std::to_wstring(outcome.error);
    if (!reason)
        return outcome.error == 0 ? L"原因はわかりません" : number;
    return outcome.error == 0 ? std::wstring(reason) : reason + (L"。" + number);
}
