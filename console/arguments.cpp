#include "console/arguments.h"

#include <limits>
#include <map>

#include "engine/cleanup_rules.h"

namespace {

const std::uint64_t MAX_VALUE = std::numeric_limits<std::uint64_t>::max();

// `text` as digits, then at most one character that `unitOf` turns into a
// multiplier (0 for none it knows); a bare number takes `bare`.
template <typename UnitOf>
ValueFault ParseCount(const std::wstring& text, std::uint64_t bare, UnitOf unitOf, std::uint64_t& value)
{
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= L'0' && text[digits] <= L'9')
        ++digits;
    if (digits == 0 || text.size() - digits > 1)
        return ValueFault::Malformed;
    const std::uint64_t unit = digits == text.size() ? bare : unitOf(text[digits]);
    if (unit == 0)
        return ValueFault::Malformed;
    std::uint64_t n = 0;
    for (size_t i = 0; i < digits; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - L'0');
        if (n > (MAX_VALUE - digit) / 10)
            return ValueFault::TooLarge;
        n = n * 10 + digit;
    }
    if (n > MAX_VALUE / unit)
        return ValueFault::TooLarge;
    value = n * unit;
    return ValueFault::None;
}

// What the parser knows of each option: its name, whether a value follows
// it, whether it may be given again, and what it does with that value
// (false, after saying why, for one it cannot take).
struct OptionRule {
    const wchar_t* name;
    bool takesValue;
    bool repeatable;
    bool (*take)(const std::wstring& name, const std::wstring& value, ConsoleOptions& options, std::wstring& error);
};

// A switch with no value.
template <bool ConsoleOptions::*flag>
bool TakeSwitch(const std::wstring&, const std::wstring&, ConsoleOptions& options, std::wstring&)
{
    options.*flag = true;
    return true;
}

// A whole number from 1 to `most`, read into `into`.
bool TakeCounted(const std::wstring& name, const std::wstring& value, std::uint64_t most, std::uint64_t& into,
                 std::wstring& error)
{
    std::uint64_t n = 0;
    const ValueFault fault = ParseCount(value, 1, [](wchar_t) -> std::uint64_t { return 0; }, n);
    if (fault == ValueFault::TooLarge || (fault == ValueFault::None && n > most)) {
        error = name + L" の値が大きすぎます: " + value;
        return false;
    }
    if (fault != ValueFault::None || n == 0) {
        error = name + (name == L"--number" ? L" には 1 以上の番号を指定してください: " : L" には 1 以上の整数を指定してください: ") +
                value;
        return false;
    }
    into = n;
    return true;
}

// An age or a size, read by `parse` into `into`; `takes` says what the
// option takes when the value is not that.
bool TakeCount(ValueFault (*parse)(const std::wstring&, std::uint64_t&), const wchar_t* takes, const std::wstring& name,
               const std::wstring& value, std::optional<std::uint64_t>& into, std::wstring& error)
{
    std::uint64_t n = 0;
    switch (parse(value, n)) {
    case ValueFault::None:
        into = n;
        return true;
    case ValueFault::Malformed:
        error = name + takes + value;
        return false;
    case ValueFault::TooLarge:
        break;
    }
    error = name + L" の値が大きすぎます: " + value;
    return false;
}

bool TakeAge(const std::wstring& name, const std::wstring& value, ConsoleOptions& options, std::wstring& error)
{
    return TakeCount(ParseAge, L" には日数（7 または 7d）か時間数（12h）を 0 以上の整数で指定してください: ", name, value,
                     name == L"--older-than" ? options.filter.olderThan : options.filter.newerThan, error);
}

bool TakeSize(const std::wstring& name, const std::wstring& value, ConsoleOptions& options, std::wstring& error)
{
    return TakeCount(ParseSize, L" にはバイト数を 0 以上の整数で、または K、M、G を付けて（500K、10M、2G）指定してください: ", name,
                     value, name == L"--larger-than" ? options.filter.largerThan : options.filter.smallerThan, error);
}

const OptionRule kRules[] = {
    {L"--pattern", true, false,
     [](const std::wstring&, const std::wstring& value, ConsoleOptions& options, std::wstring&) {
         options.byName = true;
         options.patternName = value;
         return true;
     }},
    {L"--number", true, false,
     [](const std::wstring& name, const std::wstring& value, ConsoleOptions& options, std::wstring& error) {
         std::uint64_t n = 0;
         if (!TakeCounted(name, value, std::numeric_limits<int>::max(), n, error))
             return false;
         options.number = static_cast<int>(n);
         return true;
     }},
    {L"--settings", true, false,
     [](const std::wstring&, const std::wstring& value, ConsoleOptions& options, std::wstring&) {
         options.settingsPath = value;
         return true;
     }},
    {L"--permanent", false, true, TakeSwitch<&ConsoleOptions::permanent>},
    {L"--older-than", true, false, TakeAge},
    {L"--newer-than", true, false, TakeAge},
    {L"--time", true, false,
     [](const std::wstring&, const std::wstring& value, ConsoleOptions& options, std::wstring& error) {
         if (value == L"written" || value == L"created" || value == L"accessed") {
             options.filter.time = value == L"written"   ? FileTimeKind::Written
                                   : value == L"created" ? FileTimeKind::Created
                                                         : FileTimeKind::Accessed;
             return true;
         }
         error = L"--time には written、created、accessed のどれかを指定してください: " + value;
         return false;
     }},
    {L"--larger-than", true, false, TakeSize},
    {L"--smaller-than", true, false, TakeSize},
    {L"--log", true, false,
     [](const std::wstring&, const std::wstring& value, ConsoleOptions& options, std::wstring&) {
         options.logPath = value;
         return true;
     }},
    {L"--format", true, false,
     [](const std::wstring&, const std::wstring& value, ConsoleOptions& options, std::wstring& error) {
         if (value == L"text" || value == L"csv") {
             options.format = value == L"csv" ? ConsoleOptions::Format::Csv : ConsoleOptions::Format::Text;
             return true;
         }
         error = L"--format には text か csv を指定してください: " + value;
         return false;
     }},
    {L"--max-files", true, false,
     [](const std::wstring& name, const std::wstring& value, ConsoleOptions& options, std::wstring& error) {
         return TakeCounted(name, value, std::numeric_limits<std::uint64_t>::max(), options.maxFiles, error);
     }},
    {L"--exclude", true, true,
     [](const std::wstring&, const std::wstring& value, ConsoleOptions& options, std::wstring& error) {
         if (IsFileExclusion(value)) {
             options.excludeFiles.push_back(value);
             return true;
         }
         error = L"--exclude にはファイル名のマスク（フォルダーを含まない名前、*.vmdk など）を指定してください: " + value;
         return false;
     }},
    {L"--exclude-dir", true, true,
     [](const std::wstring&, const std::wstring& value, ConsoleOptions& options, std::wstring& error) {
         if (KindOfFolderExclusion(value) != FolderExclusionKind::Invalid) {
             options.excludeFolders.push_back(value);
             return true;
         }
         error = L"--exclude-dir にはフォルダー名のマスク（node_modules など）か、ワイルドカードを含まないフォルダーの絶対パス"
                 L"（C:\\VM など）を指定してください: " +
                 value;
         return false;
     }},
    {L"--remove-empty-folders", false, true, TakeSwitch<&ConsoleOptions::removeEmptyFolders>},
    {L"--allow-volume-root", false, true, TakeSwitch<&ConsoleOptions::allowVolumeRoot>},
};

// The message for an option given twice, or given a value it cannot take.
std::wstring OnlyOnce(const std::wstring& name)
{
    if (name == L"--pattern" || name == L"--number")
        return L"削除パターンは --pattern か --number のどちらか一つで、一度だけ指定してください。";
    if (name == L"--settings")
        return L"--settings には設定ファイルを一つだけ指定してください。";
    if (name == L"--log")
        return L"--log にはログファイルを一つだけ指定してください。";
    return name + L" は一度だけ指定してください。";
}

}  // namespace

ValueFault ParseAge(const std::wstring& text, std::uint64_t& ticks)
{
    return ParseCount(text, TICKS_PER_DAY,
                      [](wchar_t c) {
                          return c == L'd' || c == L'D' ? TICKS_PER_DAY : c == L'h' || c == L'H' ? TICKS_PER_HOUR : 0;
                      },
                      ticks);
}

ValueFault ParseSize(const std::wstring& text, std::uint64_t& bytes)
{
    return ParseCount(text, 1,
                      [](wchar_t c) -> std::uint64_t {
                          switch (c) {
                          case L'K': case L'k': return 1ull << 10;
                          case L'M': case L'm': return 1ull << 20;
                          case L'G': case L'g': return 1ull << 30;
                          default: return 0;
                          }
                      },
                      bytes);
}

bool ParseArguments(const std::vector<std::wstring>& args, ConsoleOptions& options, std::wstring& error)
{
    options = ConsoleOptions();
    // Help and the version stand alone and win over everything else.
    for (const std::wstring& arg : args) {
        if (arg == L"--help" || arg == L"-h" || arg == L"/?") {
            options.command = ConsoleOptions::Command::Help;
            return true;
        }
        if (arg == L"--version") {
            options.command = ConsoleOptions::Command::Version;
            return true;
        }
    }

    // The values of the options given, by name, to check them together.
    std::map<std::wstring, std::wstring> given;
    const auto isGiven = [&](const wchar_t* name) { return given.count(name) != 0; };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const OptionRule* rule = nullptr;
        for (const OptionRule& r : kRules) {
            if (arg == r.name)
                rule = &r;
        }
        if (!rule) {
            if ((arg == L"list" || arg == L"delete") && options.command == ConsoleOptions::Command::None) {
                options.command = arg == L"list" ? ConsoleOptions::Command::List : ConsoleOptions::Command::Delete;
                continue;
            }
            error = L"使えない引数です: " + arg;
            return false;
        }
        if (rule->takesValue && i + 1 >= args.size()) {
            error = arg + L" の後に値を指定してください。";
            return false;
        }
        const std::wstring value = rule->takesValue ? args[++i] : std::wstring();
        // One pattern, by name or by number; one file of each kind.
        const bool onePattern = (arg == L"--pattern" || arg == L"--number") && (isGiven(L"--pattern") || isGiven(L"--number"));
        const bool oneFile = (arg == L"--settings" || arg == L"--log") && value.empty();
        if (onePattern || oneFile || (isGiven(rule->name) && !rule->repeatable)) {
            error = OnlyOnce(arg);
            return false;
        }
        if (!rule->take(arg, value, options, error))
            return false;
        given.emplace(arg, value);
    }

    if (options.command == ConsoleOptions::Command::None) {
        error = L"コマンド (list または delete) を指定してください。";
        return false;
    }
    for (const wchar_t* name : {L"--permanent", L"--remove-empty-folders", L"--allow-volume-root"}) {
        if (isGiven(name) && options.command != ConsoleOptions::Command::Delete) {
            error = std::wstring(name) + L" は delete にだけ指定できます。";
            return false;
        }
    }
    if (isGiven(L"--format") && options.command != ConsoleOptions::Command::List) {
        error = L"--format は list にだけ指定できます。";
        return false;
    }
    const FileFilter& filter = options.filter;
    if (isGiven(L"--time") && !filter.UsesTime()) {
        error = L"--time は --older-than か --newer-than と一緒に指定してください。";
        return false;
    }
    // A range no file can be in is a mistake, never a run that takes nothing.
    if (filter.olderThan && filter.newerThan && *filter.olderThan >= *filter.newerThan) {
        error = L"--older-than " + given.at(L"--older-than") + L" と --newer-than " + given.at(L"--newer-than") +
                L" の両方に当てはまるファイルはありません。";
        return false;
    }
    // Nothing is strictly smaller than 0 bytes, nor younger than no time at all.
    for (const wchar_t* name : {L"--smaller-than", L"--newer-than"}) {
        const auto& limit = std::wstring(name) == L"--smaller-than" ? filter.smallerThan : filter.newerThan;
        if (limit && *limit == 0) {
            error = std::wstring(name) + L" " + given.at(name) + L" に当てはまるファイルはありません。";
            return false;
        }
    }
    if (filter.largerThan && filter.smallerThan &&
        (*filter.smallerThan <= *filter.largerThan || *filter.smallerThan - *filter.largerThan < 2)) {
        error = L"--larger-than " + given.at(L"--larger-than") + L" と --smaller-than " + given.at(L"--smaller-than") +
                L" の両方に当てはまるファイルはありません。";
        return false;
    }
    return true;
}
