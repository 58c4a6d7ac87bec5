// TidymothC.exe: lists or deletes the files of a saved deletion pattern with
// no window and no question, for the Task Scheduler and scripts.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "console/console_output.h"
#include "console/console_run.h"

#define TIDYMOTH_WIDEN_(text) L##text
#define TIDYMOTH_WIDEN(text) TIDYMOTH_WIDEN_(text)

namespace {

const wchar_t kHelp[] =
    L"TidymothC: Tidymoth の削除パターンでファイルを検索し、削除します。\r\n"
    L"\r\n"
    L"使い方:\r\n"
    L"  TidymothC list   [--pattern 名前 | --number 番号] [--settings ファイル]\r\n"
    L"  TidymothC delete [--pattern 名前 | --number 番号] [--settings ファイル] [--permanent]\r\n"
    L"  TidymothC --help | --version\r\n"
    L"\r\n"
    L"  list         見つかったファイルのパスを一行に一つ出力します。何も削除しません。\r\n"
    L"  delete       見つかったファイルをごみ箱へ移動し、結果を「（削除済み）」「(削除に失敗)」で示します。\r\n"
    L"  --pattern    この名前の削除パターンを使います（同じ名前が複数あれば最初のもの）。\r\n"
    L"  --number     N 番目（1 から）の削除パターンを使います。どちらもなければ最初の削除パターンです。\r\n"
    L"  --settings   設定ファイル（省略時はカレントディレクトリの Tidymoth.use）。書き換えることはありません。\r\n"
    L"  --permanent  ごみ箱を使わず、完全に削除します。\r\n"
    L"\r\n"
    L"ごみ箱に入れられないファイルは削除せず、失敗とします。確認は一切しません。\r\n"
    L"\r\n"
    L"終了コード:\r\n"
    L"  0  すべてのファイルを指定どおりに処理した（見つからなかった場合も）\r\n"
    L"  1  削除に失敗したファイルがある、または Ctrl+C で中断した\r\n"
    L"  2  引数の誤り、設定ファイルがない・読めない・壊れている、削除パターンがない（何もしません）\r\n"
    L"  3  ファイルが 64000 個に達したので検索を打ち切った（見つかった分は処理した）\r\n"
    L"\r\n"
    L"例:\r\n"
    L"  TidymothC list --pattern 一時ファイル > 一覧.txt\r\n"
    L"  TidymothC delete --pattern 一時ファイル\r\n"
    L"  schtasks /create /tn \"Tidymoth 一時ファイル\" /sc daily /st 03:00 /tr \"C:\\Tools\\Tidymoth\\TidymothC.exe delete --pattern 一時ファイル --settings C:\\Tools\\Tidymoth\\Tidymoth.use\"\r\n";

// Ctrl+C and Ctrl+Break stop the command after the current file; closing
// the console or logging off ends the process as usual.
BOOL WINAPI OnConsoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    InterruptConsoleCommand();
    return TRUE;
}

}  // namespace

int main()
{
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; argv && i < count; ++i)
        args.emplace_back(argv[i]);
    ::LocalFree(argv);

    ConsoleOptions options;
    std::wstring error;
    if (!ParseArguments(args, options, error)) {
        CConsoleOutput out;
        out.Message(error);
        out.Message(L"使い方は TidymothC --help で表示します。");
        return EXIT_USAGE;
    }
    if (options.command == ConsoleOptions::Command::Help || options.command == ConsoleOptions::Command::Version) {
        COutputStream out(STD_OUTPUT_HANDLE);
        if (options.command == ConsoleOptions::Command::Help)
            out.WriteRaw(kHelp);
        else
            out.Line(L"TidymothC " TIDYMOTH_WIDEN(TIDYMOTH_VERSION));
        return EXIT_DONE;
    }

    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    // The shell's Recycle Bin wants COM on this thread.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int code = EXIT_FAILED;
    try {
        code = RunConsoleCommand(options);
    } catch (...) {
        // Out of memory, most likely: said, never a crash.
        CConsoleOutput out;
        out.Message(L"予期しないエラーのため中止しました。");
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return code;
}
