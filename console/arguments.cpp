#include "console/arguments.h"

namespace {

// A pattern's number: digits only, from 1; 0 for anything else.
int NumberFrom(const std::wstring& text)
{
    if (text.empty() || text.size() > 4)
        return 0;
    int n = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return 0;
        n = n * 10 + (c - L'0');
    }
    return n;
}

}  // namespace

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

    bool settingsGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool takesValue = arg == L"--pattern" || arg == L"--number" || arg == L"--settings";
        if (takesValue && i + 1 >= args.size()) {
            error = arg + L" の後に値を指定してください。";
            return false;
        }
        if (arg == L"--pattern" || arg == L"--number") {
            if (options.byName || options.number != 0) {
                error = L"削除パターンは --pattern か --number のどちらか一つで、一度だけ指定してください。";
                return false;
            }
            const std::wstring& value = args[++i];
            if (arg == L"--pattern") {
                options.byName = true;
                options.patternName = value;
            } else if ((options.number = NumberFrom(value)) == 0) {
                error = L"--number には 1 以上の番号を指定してください: " + value;
                return false;
            }
        } else if (arg == L"--settings") {
            if (settingsGiven || args[i + 1].empty()) {
                error = L"--settings には設定ファイルを一つだけ指定してください。";
                return false;
            }
            settingsGiven = true;
            options.settingsPath = args[++i];
        } else if (arg == L"--permanent") {
            options.permanent = true;
        } else if ((arg == L"list" || arg == L"delete") && options.command == ConsoleOptions::Command::None) {
            options.command = arg == L"list" ? ConsoleOptions::Command::List : ConsoleOptions::Command::Delete;
        } else {
            error = L"使えない引数です: " + arg;
            return false;
        }
    }
    if (options.command == ConsoleOptions::Command::None) {
        error = L"コマンド (list または delete) を指定してください。";
        return false;
    }
    if (options.permanent && options.command != ConsoleOptions::Command::Delete) {
        error = L"--permanent は delete にだけ指定できます。";
        return false;
    }
    return true;
}
