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
    L"  TidymothC list   [--pattern 名前 | --number 番号] [--settings ファイル] [条件] [除外] [--max-files 個数]\r\n"
    L"                   [--format text|csv] [--log ファイル]\r\n"
    L"  TidymothC delete [--pattern 名前 | --number 番号] [--settings ファイル] [条件] [除外] [--max-files 個数]\r\n"
    L"                   [--permanent] [--remove-empty-folders] [--allow-volume-root] [--log ファイル]\r\n"
    L"  TidymothC --help | --version\r\n"
    L"\r\n"
    L"  list           見つかったファイルのパスを一行に一つ出力します。何も削除しません。\r\n"
    L"  delete         見つかったファイルをごみ箱へ移動し、結果を「（削除済み）」「(削除に失敗)」で示します。\r\n"
    L"                 失敗したファイルには、その理由をエラー出力とログに書きます。\r\n"
    L"  フォルダーを一つずつ読み、そのフォルダーのファイルを処理してから、サブフォルダーへ進みます（ファイル数に上限はありません）。\r\n"
    L"  --pattern      この名前の削除パターンを使います（同じ名前が複数あれば最初のもの）。\r\n"
    L"  --number       N 番目（1 から）の削除パターンを使います。どちらもなければ最初の削除パターンです。\r\n"
    L"  --settings     設定ファイル（省略時はカレントディレクトリの Tidymoth.use）。書き換えることはありません。\r\n"
    L"  --permanent    ごみ箱を使わず、完全に削除します。\r\n"
    L"  --max-files 個数  この個数のファイルを処理したところで、まだファイルがあれば打ち切ります（終了コード 3）。\r\n"
    L"  --remove-empty-folders\r\n"
    L"                 この実行で空になったフォルダーを削除します（完全に削除）。探索するディレクトリそのもの、\r\n"
    L"                 もとから空だったフォルダー、リンクやジャンクション、除外したフォルダーとその上のフォルダー、\r\n"
    L"                 読めなかったフォルダーは削除しません。\r\n"
    L"  --allow-volume-root\r\n"
    L"                 ドライブや共有のルートをサブフォルダーごと * や *.* で削除することを許します（既定では拒否します）。\r\n"
    L"  --format csv   list の結果を CSV（パス、サイズ（バイト）、更新日時）で出力します。Excel で開けます。\r\n"
    L"  --log ファイル  出力とメッセージ、終了コードをこのファイルの末尾に追加します（UTF-8）。\r\n"
    L"\r\n"
    L"条件（マスクに合ったファイルのうち、すべての条件に合うものだけを対象にします）:\r\n"
    L"  --older-than 期間   期間より古いファイル。期間は日数（7 または 7d）か時間数（12h）です。\r\n"
    L"  --newer-than 期間   期間より新しいファイル。\r\n"
    L"  --time written|created|accessed\r\n"
    L"                      期間を測る日時: 更新日時（既定）、作成日時、アクセス日時。\r\n"
    L"  --larger-than サイズ   サイズより大きいファイル。サイズはバイト数か、K、M、G を付けた数（1K = 1024 バイト）です。\r\n"
    L"  --smaller-than サイズ  サイズより小さいファイル。\r\n"
    L"  期間は実行を始めた時刻からの経過時間を、UTC でちょうど 24 時間を 1 日として数えます（暦の日付ではありません）。\r\n"
    L"  タイムゾーンや夏時間で対象が変わることはありません。日時がない、または実行開始より後のファイルは期間の条件に合いません。\r\n"
    L"  削除の直前にもう一度調べ、条件に合わなくなったファイル（その後に書き換えられたものなど）は削除せず、失敗とします。\r\n"
    L"\r\n"
    L"除外（何度でも指定できます）:\r\n"
    L"  --exclude マスク        名前がこのマスクに合うファイルは処理しません（例: --exclude \"*.vmdk\"）。\r\n"
    L"  --exclude-dir マスク|パス\r\n"
    L"                          名前がこのマスクに合うフォルダー（どの深さでも）、またはこの絶対パスのフォルダーには\r\n"
    L"                          入りません（例: --exclude-dir node_modules、--exclude-dir C:\\VM）。\r\n"
    L"\r\n"
    L"ごみ箱に入れられないファイルは削除せず、失敗とします。確認は一切しません。\r\n"
    L"名前の中の制御文字（改行など）は <U+000A> のように示します。\r\n"
    L"\r\n"
    L"終了コード:\r\n"
    L"  0  すべてのファイルを指定どおりに処理した（見つからなかった場合も）\r\n"
    L"  1  削除に失敗したファイルかフォルダーがある、読めないフォルダーがあった、Ctrl+C で中断した、\r\n"
    L"     またはログに書けなかった\r\n"
    L"  2  引数の誤り、設定ファイルがない・読めない・壊れている、削除パターンがない、ログファイルを開けない、\r\n"
    L"     ボリューム全体を削除する削除パターン（何もしません）\r\n"
    L"  3  --max-files の個数に達したので打ち切った（それまでの分は処理した）\r\n"
    L"\r\n"
    L"例:\r\n"
    L"  TidymothC list --pattern 一時ファイル > 一覧.txt\r\n"
    L"  TidymothC list --pattern 一時ファイル --older-than 7 --format csv > 一覧.csv\r\n"
    L"  TidymothC delete --pattern 一時ファイル --older-than 7 --exclude-dir node_modules --remove-empty-folders --log C:\\Tools\\Tidymoth\\nightly.log\r\n"
    L"  schtasks /create /tn \"Tidymoth 一時ファイル\" /sc daily /st 03:00 /tr \"C:\\Tools\\Tidymoth\\TidymothC.exe delete --pattern 一時ファイル --settings C:\\Tools\\Tidymoth\\Tidymoth.use --older-than 7 --log C:\\Tools\\Tidymoth\\nightly.log\"\r\n";

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
        code = RunConsoleCommand(options, ::GetCommandLineW());
    } catch (...) {
        // Out of memory, most likely: said, never a crash.
        CConsoleOutput out;
        out.Message(L"予期しないエラーのため中止しました。");
    }
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return code;
}
