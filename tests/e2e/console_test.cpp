// TidymothC.exe run as a scheduled task runs it: no console, its streams
// redirected to files, a start-up directory holding the settings. What it
// prints (exact UTF-8 bytes), its exit code, and what is left on disk and in
// Wine's Recycle Bin.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <memory>

#include "tests/e2e/e2e_support.h"
#include "tests/support/broken_trash.h"
#include "tests/support/host_shell.h"

namespace e2e {
namespace {

using testing_support::HostPathOf;
using testing_support::RunHostShell;

struct ConsoleRun {
    DWORD code = 0xFFFFFFFF;
    std::string out;  // the bytes of each stream
    std::string err;
};

// TidymothC.exe started with `args` in `dir`, its streams redirected to files
// ("<stdout>" in `args` names the output stream's).
class ConsoleProcess {
public:
    ConsoleProcess(const std::string& dir, const std::wstring& args);
    ~ConsoleProcess();
    // Waits for it to end by itself.
    ConsoleRun Finish();

private:
    TempDir m_streams{false};
    std::string m_outPath = m_streams / "out.txt", m_errPath = m_streams / "err.txt";
    PROCESS_INFORMATION m_process = {};
};

ConsoleProcess::ConsoleProcess(const std::string& dir, const std::wstring& args)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    // Shared for writing, as a shell's redirection is.
    auto create = [&](const std::string& path) {
        return ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS, 0, nullptr);
    };
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = create(m_outPath);
    startup.hStdError = create(m_errPath);
    const std::string exe = Tidymoth::ExePath();
    std::wstring command = L"\"" + Wide932(exe.substr(0, exe.size() - 4)) + L"C.exe\" " + args;
    // "<stdout>" names the file the output stream goes to.
    for (size_t at; (at = command.find(L"<stdout>")) != std::wstring::npos;)
        command.replace(at, 8, Wide932(m_outPath));
    const bool started = ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                          Wide932(dir).c_str(), &startup, &m_process);
    ::CloseHandle(startup.hStdOutput);
    ::CloseHandle(startup.hStdError);
    if (!started)
        ADD_FAILURE() << "TidymothC.exe did not start";
}

ConsoleProcess::~ConsoleProcess()
{
    if (m_process.hProcess)
        Finish();
}

ConsoleRun ConsoleProcess::Finish()
{
    ConsoleRun run;
    if (!m_process.hProcess)
        return run;
    const PROCESS_INFORMATION process = m_process;
    m_process = {};
    // Nothing may wait for a person: a question would hold it here.
    if (::WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "TidymothC.exe did not end by itself";
        ::TerminateProcess(process.hProcess, 99);
        ::WaitForSingleObject(process.hProcess, WAIT_TIMEOUT_MS);
    }
    ::GetExitCodeProcess(process.hProcess, &run.code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    Bytes out, err;
    ReadFileBytes(m_outPath, out);
    ReadFileBytes(m_errPath, err);
    run.out.assign(out.begin(), out.end());
    run.err.assign(err.begin(), err.end());
    return run;
}

// Runs TidymothC.exe with `args` in `dir` and waits for it to end by itself.
ConsoleRun RunConsole(const std::string& dir, const std::wstring& args)
{
    return ConsoleProcess(dir, args).Finish();
}

// Each line with a CRLF after it.
std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The lines of output, without their CRLF.
std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

std::vector<std::string> Sorted(std::vector<std::string> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool Contains(const std::string& text, const std::string& cp932)
{
    return text.find(Utf8(cp932)) != std::string::npos;
}

// CSV read by the rules of RFC 4180: records ended by CRLF, fields by commas,
// a quoted field holding commas, line breaks and doubled quotes. Empty for
// text that breaks them.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    for (size_t at = 0; at < text.size();) {
        std::string& field = records.back().back();
        if (text[at] == '"' && field.empty()) {
            for (++at; at < text.size() && (text[at] != '"' || text.compare(at, 2, "\"\"") == 0); at += text[at] == '"' ? 2 : 1)
                field += text[at];
            if (at++ == text.size())
                return {};
        } else if (text[at] == ',') {
            records.back().emplace_back();
            ++at;
        } else if (text.compare(at, 2, "\r\n") == 0) {
            records.emplace_back(1);
            at += 2;
        } else if (text[at] == '"' || text[at] == '\r' || text[at] == '\n') {
            return {};
        } else {
            field += text[at++];
        }
    }
    records.pop_back();  // after the last CRLF
    return records;
}

using ConsoleTest = E2eTest;

// The same files as "検索開始" finds for the same pattern, the second pattern
// picked by its name in both programs; folder by folder, each folder's own
// files before its subfolders'.
TEST_F(ConsoleTest, ListPrintsWhatTheResultsWindowLists)
{
    const std::string dir = app.StartDir();
    for (const char* sub : {"\\T", "\\T\\sub", "\\T\\sub\\表", "\\REL"})
        ASSERT_TRUE(MakeDirectory(dir + sub));
    for (const char* file : {"\\T\\a.tmp", "\\T\\b.TMP", "\\T\\keep.txt", "\\T\\x.log", "\\T\\sub\\c.tmp", "\\T\\sub\\表\\ソ.tmp",
                             "\\REL\\r.log", "\\REL\\r.txt"})
        ASSERT_TRUE(WriteFileBytes(dir + file, Bytes{'x'}));
    const Bytes settings = SettingsBytes(
        {{"First", {{"*.TXT", 0}}, {{"REL", 0}}}, {"二番目", {{"*.TMP", 0}, {"*.LOG", 0}}, {{dir + "\\T", 1}, {"REL", 0}}}});
    ASSERT_TRUE(Start(settings));
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 1) && main.Click(IDC_START_SEARCH));
    Window results = app.WaitForWindow(kResultsCaption);
    ASSERT_TRUE(WaitUntil([&] { return results.Text(IDC_STATUS) == kReadyStatus; })) << Utf8(results.Text(IDC_STATUS));
    std::vector<std::string> listed;
    for (const std::string& line : results.ListItems(IDC_RESULT_LIST))
        listed.push_back(Utf8(line));
    ASSERT_EQ(6u, listed.size());

    const ConsoleRun run = RunConsole(dir, L"list --pattern 二番目");
    EXPECT_EQ(0u, run.code) << run.err;
    const std::vector<std::string> lines = LinesOf(run.out);
    EXPECT_EQ(Sorted(listed), Sorted(lines));
    const auto at = [&](const char* tail) { return std::find(lines.begin(), lines.end(), dir + tail) - lines.begin(); };
    EXPECT_LT(at("\\T\\x.log"), at("\\T\\sub\\c.tmp")) << run.out;
    EXPECT_TRUE(Contains(run.err, "見つかったファイル: 6 個")) << run.err;
    // Started elsewhere (a task starts in the system folder), the relative
    // directory is still taken from the settings file's folder.
    const ConsoleRun elsewhere = RunConsole(dir + "\\T\\sub", L"list --number 2 --settings ..\\..\\Tidymoth.use");
    EXPECT_EQ(0u, elsewhere.code) << elsewhere.err;
    EXPECT_EQ(run.out, elsewhere.out);
    ExpectSettings(settings);
    app.Kill();
}

// A dry run, then the run that deletes: into the bin, for good, and into a
// bin that cannot take the file, which is then left where it is.
TEST_F(ConsoleTest, DeleteMarksEachListedLineWithItsOutcome)
{
    if (TrashFolder().empty())
        GTEST_SKIP() << "XDG_DATA_HOME is not set: run under tools/wine-env.sh --test";
    const std::string dir = app.StartDir();
    const std::string trash = TrashFolder() + "\\files\\";
    struct Row {
        const wchar_t* args;
        const char* readOnly;  // a file deletion for good refuses, or none
        bool brokenBin;
        DWORD code;
    };
    const Row rows[] = {
        {L"delete", nullptr, false, 0},
        {L"delete --permanent", "ro.tmp", false, 1},
        {L"delete", nullptr, true, 1},
    };
    int round = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(round);
        // Names of each round's own, as the bin is shared.
        const std::string tree = dir + "\\T" + std::to_string(round++);
        ASSERT_TRUE(MakeDirectory(tree));
        std::vector<std::wstring> names = {L"a.tmp", L"caf\u00e9.tmp", L"\U0001F98B.tmp"};
        for (std::wstring& name : names) {
            name = std::to_wstring(round) + name;
            ASSERT_TRUE(::CloseHandle(
                ::CreateFileW((Wide932(tree) + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
        }
        ASSERT_TRUE(WriteFileBytes(tree + "\\keep.txt", Bytes{'x'}));
        if (row.readOnly) {
            ASSERT_TRUE(WriteFileBytes(tree + "\\" + row.readOnly, Bytes{'x'}) && SetReadOnly(tree + "\\" + row.readOnly, true));
        }
        ASSERT_TRUE(app.WriteSettings(SettingsBytes({{"Temp", {{"*.TMP", 0}}, {{tree, 0}}}})));

        // Names the code page cannot spell come out exactly, in UTF-8.
        const ConsoleRun list = RunConsole(dir, L"list");
        ASSERT_EQ(0u, list.code) << list.err;
        const std::vector<std::string> listed = LinesOf(list.out);
        ASSERT_EQ(names.size() + (row.readOnly ? 1 : 0), listed.size()) << list.out;
        EXPECT_NE(std::string::npos, list.out.find(tree + "\\" + std::to_string(round) + "caf\xC3\xA9.tmp\r\n"));
        EXPECT_NE(std::string::npos, list.out.find(std::to_string(round) + "\xF0\x9F\xA6\x8B.tmp\r\n"));

        // The first round has used the bin, so it is set up when a later one breaks it.
        std::unique_ptr<BrokenTrash> broken(row.brokenBin ? new BrokenTrash : nullptr);
        ASSERT_TRUE(!broken || broken->Ok());
        const ConsoleRun run = RunConsole(dir, row.args);
        broken.reset();
        EXPECT_EQ(row.code, run.code) << run.err;
        // Each line as the results window shows it after the pass.
        std::string expected;
        for (const std::string& line : listed) {
            const bool refused = row.brokenBin || (row.readOnly && line == tree + "\\" + row.readOnly);
            expected += line + Utf8(refused ? kFailedMark : kDeletedMark) + "\r\n";
        }
        EXPECT_EQ(expected, run.out);
        for (const std::wstring& name : names) {
            const bool inBin = ::GetFileAttributesW((Wide932(trash) + name).c_str()) != INVALID_FILE_ATTRIBUTES;
            const bool onDisk = ::GetFileAttributesW((Wide932(tree) + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
            EXPECT_EQ(row.brokenBin, onDisk);
            EXPECT_EQ(!row.brokenBin && !std::wcsstr(row.args, L"--permanent"), inBin);
        }
        EXPECT_TRUE(FileExists(tree + "\\keep.txt"));
        if (row.readOnly) {
            EXPECT_TRUE(FileExists(tree + "\\" + row.readOnly));
        }
        EXPECT_TRUE(Contains(run.err, row.brokenBin ? "失敗: 3 個" : row.readOnly ? "失敗: 1 個" : "失敗: 0 個")) << run.err;
    }
}

// Names the system would change without the verbatim prefix, a stored
// directory whose own name ends in a dot, and a tree beyond MAX_PATH: listed
// exactly, refused by the Recycle Bin (the files stay), then deleted for
// good, each exactly, with their namesakes and an excluded file kept, and
// the folders that run emptied removed bottom-up.
TEST_F(ConsoleTest, ExactNamesAtAnyDepth)
{
    if (TrashFolder().empty())
        GTEST_SKIP() << "XDG_DATA_HOME is not set: run under tools/wine-env.sh --test";
    const std::string x = app.StartDir() + "\\X";
    const std::wstring verbatim = L"\\\\?\\" + Wide932(x);
    std::wstring deep = L"deep";
    for (const wchar_t c : {L'a', L'b', L'c'})
        deep += L"\\" + std::wstring(100, c);
    std::vector<std::wstring> dirs = {L"", L"cache", L"cache.", L"deep"};
    for (size_t at = 4; at != std::wstring::npos; at = deep.find(L'\\', at + 1))
        dirs.push_back(deep.substr(0, deep.find(L'\\', at + 1)));
    for (const std::wstring& d : dirs)
        ASSERT_TRUE(::CreateDirectoryW((verbatim + L"\\" + d).c_str(), nullptr));
    const std::vector<std::wstring> taken = {L"cache.\\f.tmp", L"data.tmp.", L"space.tmp ", L"nul.tmp", deep + L"\\x.tmp"};
    const std::vector<std::wstring> kept = {L"cache\\f.tmp", L"data.tmp"};
    std::vector<std::wstring> files = taken;
    files.insert(files.end(), kept.begin(), kept.end());
    for (const std::wstring& name : files)
        ASSERT_TRUE(::CloseHandle(
            ::CreateFileW((verbatim + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    const auto exists = [&](const std::wstring& name) {
        return ::GetFileAttributesW((verbatim + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    ASSERT_TRUE(app.WriteSettings(SettingsBytes({{"Exact",
                                                  {{"F.TMP", 0}, {"*.TMP.", 0}, {"SPACE*", 0}, {"NUL.*", 0}, {"X.TMP", 0}},
                                                  {{x + "\\cache.\\", 0}, {x, 0}, {x + "\\deep\\", 1}}}})));

    // Each directory as stored, then the names as they are on the disk.
    const std::string a = std::string(100, 'a'), b = std::string(100, 'b'), c = std::string(100, 'c');
    const std::vector<std::string> lines = {x + "\\cache.\\f.tmp", x + "\\data.tmp.", x + "\\space.tmp ", x + "\\nul.tmp",
                                            x + "\\deep\\" + a + "\\" + b + "\\" + c + "\\x.tmp"};
    const ConsoleRun list = RunConsole(app.StartDir(), L"list");
    EXPECT_EQ(0u, list.code) << list.err;
    EXPECT_EQ(Sorted(lines), Sorted(LinesOf(list.out)));

    const auto marked = [&](const char* mark) {
        std::string text;
        for (const std::string& line : lines)
            text += line + Utf8(mark) + "\r\n";
        return text;
    };
    const ConsoleRun bin = RunConsole(app.StartDir(), L"delete");
    EXPECT_EQ(1u, bin.code) << bin.err;
    EXPECT_EQ(Sorted(LinesOf(marked(kFailedMark))), Sorted(LinesOf(bin.out)));
    EXPECT_TRUE(Contains(bin.err, "失敗: 5 個")) << bin.err;
    for (const std::wstring& name : files)
        EXPECT_TRUE(exists(name));

    const ConsoleRun gone = RunConsole(app.StartDir(), L"delete --permanent --remove-empty-folders --exclude NUL.*");
    EXPECT_EQ(0u, gone.code) << gone.err;
    const std::string done = Utf8(kDeletedMark), chain = x + "\\deep\\" + a, chainB = chain + "\\" + b + "\\";
    const std::vector<std::string> out = LinesOf(gone.out);
    ASSERT_EQ(7u, out.size()) << gone.out;
    EXPECT_EQ(Sorted({lines[0] + done, lines[1] + done, lines[2] + done}), Sorted({out[0], out[1], out[2]}));
    EXPECT_EQ((std::vector<std::string>{lines[4] + done, chainB + c + "\\" + done, chainB + done, chain + "\\" + done}),
              std::vector<std::string>(out.begin() + 3, out.end()));
    EXPECT_TRUE(Contains(gone.err, "除外したファイル: 1 個") && Contains(gone.err, "空になったフォルダー: 削除 3 個、失敗 0 個"))
        << gone.err;
    for (const std::wstring& name : taken)
        EXPECT_EQ(name == L"nul.tmp", exists(name));
    for (const std::wstring& name : kept)
        EXPECT_TRUE(exists(name));
    EXPECT_TRUE(exists(L"deep") && !exists(L"deep\\" + std::wstring(100, L'a')));

    // What the fixture's cleaning cannot name.
    ::DeleteFileW((verbatim + L"\\cache\\f.tmp").c_str());
    ::DeleteFileW((verbatim + L"\\nul.tmp").c_str());
    for (auto d = dirs.rbegin(); d != dirs.rend(); ++d)
        ::RemoveDirectoryW((verbatim + L"\\" + *d).c_str());
}

// A nightly cleanup: files whose times and sizes the test sets, taken or
// left out by each filter; the CSV read back; two logged deletes with a
// failure into one log; two runs logging at once; logs that are refused.
TEST_F(ConsoleTest, FiltersSizesLogAndCsv)
{
    const std::string dir = app.StartDir(), f = dir + "\\F";
    const std::wstring wf = Wide932(f) + L"\\";
    ASSERT_TRUE(MakeDirectory(f) && MakeDirectory(dir + "\\logs"));
    const auto ticks = [](const FILETIME& t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    FILETIME t;
    ::GetSystemTimeAsFileTime(&t);
    const long long now = ticks(t), minute = 600000000LL, day = 1440 * minute;
    const SYSTEMTIME oldLocal = {2020, 3, 0, 4, 5, 6, 7, 0};  // as Excel will show it
    SYSTEMTIME oldUtc;
    ASSERT_TRUE(::TzSpecificLocalTimeToSystemTime(nullptr, &oldLocal, &oldUtc) && ::SystemTimeToFileTime(&oldUtc, &t));
    const long long old = ticks(t);
    const std::wstring comma = L"a,b \u2603\U0001F98B.tmp";  // a comma; names outside code page 932
    const struct {
        std::wstring name;
        DWORD size;
        long long written, accessed;  // 0 leaves the last access as it is
    } files[] = {{L"old.tmp", 2000, old, 0},
                 {comma, 3000, old, 0},
                 {L"week_plus.tmp", 10, now - 7 * day - 10 * minute, 0},
                 {L"week_minus.tmp", 10, now - 7 * day + 10 * minute, 0},
                 {L"new.tmp", 10, now - 60 * minute, 0},
                 {L"future.tmp", 10, now + 2 * day, 0},
                 {L"read.tmp", 10, now - 60 * minute, now - 30 * day}};
    for (const auto& file : files) {
        HANDLE h = ::CreateFileW((wf + file.name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        const FILETIME w = {DWORD(file.written), DWORD(file.written >> 32)}, a = {DWORD(file.accessed), DWORD(file.accessed >> 32)};
        DWORD written = 0;
        EXPECT_TRUE(::WriteFile(h, std::string(file.size, 'x').data(), file.size, &written, nullptr) &&
                    ::SetFileTime(h, nullptr, file.accessed ? &a : nullptr, &w));
        ::CloseHandle(h);
    }
    ASSERT_TRUE(WriteFileBytes(f + "\\keep.txt", Bytes{'x'}));
    const Bytes settings = SettingsBytes({{"夜間", {{"*.TMP", 0}}, {{f, 0}}}});
    ASSERT_TRUE(app.WriteSettings(settings));
    const auto path = [&](const std::wstring& name) { return Utf8(wf + name); };

    const struct {
        const wchar_t* args;
        std::vector<std::wstring> taken;
        const char* summary;
    } rows[] = {
        {L"list --newer-than 7", {L"week_minus.tmp", L"new.tmp", L"read.tmp"}, "うち条件で除外: 4 個"},
        {L"list --older-than 7d", {L"old.tmp", comma, L"week_plus.tmp"}, "マスクに合ったファイル: 7 個、うち条件で除外: 4 個"},
        {L"list --older-than 168h --newer-than 1000", {L"week_plus.tmp"}, "うち条件で除外: 6 個"},
        {L"list --older-than 20 --time accessed", {L"read.tmp"}, "うち条件で除外: 6 個"},
        {L"list --larger-than 1K --smaller-than 2001", {L"old.tmp"}, "合計サイズ: 2.0 KB（2,000 バイト）"},
        {L"list --older-than 7 --larger-than 2000", {comma}, "合計サイズ: 2.9 KB（3,000 バイト）"},
        {L"list", {L"old.tmp", comma, L"week_plus.tmp", L"week_minus.tmp", L"new.tmp", L"future.tmp", L"read.tmp"},
         "合計サイズ: 4.9 KB（5,050 バイト）"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Utf8(row.args));
        const ConsoleRun run = RunConsole(dir, row.args);
        std::vector<std::string> expected;
        for (const std::wstring& name : row.taken)
            expected.push_back(path(name));
        EXPECT_EQ(0u, run.code);
        EXPECT_EQ(Sorted(expected), Sorted(LinesOf(run.out)));
        EXPECT_TRUE(Contains(run.err, row.summary)) << run.err;
        EXPECT_EQ(std::wcschr(row.args, L'-') != nullptr, Contains(run.err, "マスクに合ったファイル")) << run.err;
    }

    const ConsoleRun csv = RunConsole(dir, L"list --older-than 7 --format csv");
    ASSERT_EQ(0u, csv.out.compare(0, 3, "\xEF\xBB\xBF"));
    std::vector<std::vector<std::string>> records = ReadCsv(csv.out.substr(3));
    ASSERT_EQ(4u, records.size()) << csv.out;
    std::sort(records.begin() + 1, records.end());
    EXPECT_EQ((std::vector<std::string>{Utf8("パス"), Utf8("サイズ"), Utf8("更新日時")}), records[0]);
    EXPECT_EQ((std::vector<std::string>{path(comma), "3000", "2020-03-04 05:06:07"}), records[1]);
    EXPECT_EQ((std::vector<std::string>{path(L"old.tmp"), "2000", "2020-03-04 05:06:07"}), records[2]);
    EXPECT_EQ(path(L"week_plus.tmp") + "|10", records[3][0] + "|" + records[3][1]);

    // Logged twice into one log; the read-only file is refused both times.
    // The log holds each run's header, then what both streams got as it
    // happened (each failed line followed by its reason), then its exit code.
    ASSERT_TRUE(SetReadOnly(f + "\\old.tmp", true));
    const std::string log = dir + "\\logs\\nightly.log";
    const std::wstring logged = L"delete --permanent --older-than 7 --log " + Wide932(log);
    const ConsoleRun runs[] = {RunConsole(dir, logged), RunConsole(dir, logged)};
    ASSERT_TRUE(SetReadOnly(f + "\\old.tmp", false));
    EXPECT_EQ(Sorted({path(L"old.tmp") + Utf8(kFailedMark), path(comma) + Utf8(kDeletedMark),
                      path(L"week_plus.tmp") + Utf8(kDeletedMark)}),
              Sorted(LinesOf(runs[0].out)));
    EXPECT_EQ(Lines({path(L"old.tmp") + Utf8(kFailedMark)}), runs[1].out);
    EXPECT_TRUE(Contains(runs[0].err, "サイズ: 見つかったファイル 4.9 KB（5,010 バイト）、削除 2.9 KB（3,010 バイト）、失敗 2.0 KB（2,000 バイト）"));
    std::vector<std::string> expected;
    for (const ConsoleRun& run : runs) {
        EXPECT_EQ(1u, run.code) << run.err;
        const std::vector<std::string> err = LinesOf(run.err), out = LinesOf(run.out);
        expected.push_back("header");
        auto reason = err.begin() + 2;  // what comes before the first file
        expected.insert(expected.end(), err.begin(), reason);
        for (const std::string& line : out) {
            expected.push_back(line);
            if (line == path(L"old.tmp") + Utf8(kFailedMark))
                expected.push_back(*reason++);
        }
        EXPECT_TRUE(Contains(reason[-1], "アクセスが拒否されました")) << reason[-1];
        expected.insert(expected.end(), reason, err.end());
        expected.push_back(Utf8("終了コード: 1"));
    }
    Bytes bytes;
    ASSERT_TRUE(ReadFileBytes(log, bytes));
    std::vector<std::string> logLines = LinesOf(std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(expected.size(), logLines.size());
    for (std::string& line : logLines) {
        if (line.compare(0, 5, "==== ") == 0) {
            EXPECT_NE(std::string::npos, line.find(Utf8(logged) + Utf8(" | 設定ファイル: " + app.SettingsPath() + " | 削除パターン: 夜間")));
            line = "header";
        }
    }
    EXPECT_EQ(expected, logLines);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r'));

    // Two runs logging at once: every line whole.
    for (int i = 0; i < 1500; ++i)
        ASSERT_TRUE(WriteFileBytes(f + "\\many_" + std::to_string(i) + ".log", Bytes()));
    ASSERT_TRUE(WriteFileBytes(dir + "\\many.use", SettingsBytes({{"Many", {{"*.LOG", 0}}, {{f, 0}}}})));
    const std::wstring listMany = L"list --settings many.use --log " + Wide932(dir + "\\logs\\shared.log");
    ConsoleProcess one(dir, listMany), two(dir, listMany);
    EXPECT_EQ(0u, one.Finish().code + two.Finish().code);
    ASSERT_TRUE(ReadFileBytes(dir + "\\logs\\shared.log", bytes));
    size_t whole = 0;
    for (const std::string& line : LinesOf(std::string(bytes.begin(), bytes.end())))
        whole += line.compare(0, f.size() + 6, f + "\\many_") == 0 && line.find(".log") == line.size() - 4 ? 1 : 0;
    EXPECT_EQ(3000u, whole);

    // Logs that cannot be kept: nothing searched or deleted, nothing written
    // to them or created through them. Wine shows a host's link to a file as
    // the file itself.
    const std::string linked = dir + "\\logs\\linked.log", logs = HostPathOf(dir + "\\logs");
    ASSERT_TRUE(::CreateHardLinkA(linked.c_str(), (f + "\\keep.txt").c_str(), nullptr));
    const bool hostLinks = RunHostShell("cd '" + logs + "' && ln -s ../F/keep.txt exist.log && ln -s ../created.bat dangle.log") == 0;
    EXPECT_TRUE(hostLinks || !testing_support::OnWine());
    const std::pair<std::string, const char*> refusals[] = {
        {dir + "\\logs", "ログファイルを開けません（エラー 5）: "},
        {dir + "\\none\\x.log", "ログファイルを開けません（エラー 3）: "},
        {app.SettingsPath(), "ログファイルに設定ファイルは指定できません: "},
        {linked, "ログファイルにリンクは使えません: "},
        {hostLinks ? dir + "\\logs\\exist.log" : linked, "ログファイルにリンクは使えません: "},
        {hostLinks ? dir + "\\logs\\dangle.log" : linked, "ログファイルにリンクは使えません: "},
        {"<stdout>", "ログファイルに出力先と同じファイルは指定できません: "},
    };
    for (const auto& refusal : refusals) {
        const ConsoleRun run = RunConsole(dir, L"delete --permanent --log " + Wide932(refusal.first));
        EXPECT_EQ(2u, run.code);
        const std::string named = refusal.first == "<stdout>" ? "" : "「" + refusal.first + "」";
        EXPECT_TRUE(Contains(run.err, refusal.second + named)) << run.err;
        EXPECT_TRUE(run.out.empty() || refusal.first == "<stdout>") << run.out;
    }
    EXPECT_TRUE(FileExists(f + "\\new.tmp") && ReadFileBytes(f + "\\keep.txt", bytes) && bytes == Bytes{'x'});
    EXPECT_FALSE(FileExists(dir + "\\created.bat"));
    ExpectSettings(settings);
}

// What cannot be run ends with exit code 2 and deletes nothing; help and the
// version end with 0; the ceiling the user sets ends the list with 3. Every
// file is taken once, however many masks take it. The settings file is
// never written.
TEST_F(ConsoleTest, ExitCodesAndMessages)
{
    const std::string dir = app.StartDir();
    const std::string kept = dir + "\\T\\f.tmp";
    ASSERT_TRUE(MakeDirectory(dir + "\\T") && WriteFileBytes(kept, Bytes{'x'}));
    const Pattern temp = {"Temp", {{"*.TMP", 0}}, {{dir + "\\T", 0}}};
    const Bytes good = SettingsBytes({temp});
    // Every mask takes every name: 100 masks over 641 files, more than 64000 matches.
    for (int i = 0; i < 640; ++i)
        ASSERT_TRUE(WriteFileBytes(dir + "\\T\\f" + std::to_string(i) + ".txt", Bytes()));
    Pattern all = {"All", {}, {{dir + "\\T", 0}}};
    for (std::string stars = "*"; stars.size() <= 100; stars += "*")
        all.masks.push_back({stars, 0});
    // A whole record, then a second one cut short.
    SettingsWriter damaged;
    damaged.Int(2).Record(temp).Str("Cut").Int(1);
    struct Row {
        const wchar_t* args;
        Bytes settings;  // none for an empty one
        DWORD code;
        const char* err;  // a line the error stream holds
        const char* out;  // what the output stream holds
    };
    const Row rows[] = {
        {L"", good, 2, "コマンド (list または delete) を指定してください。", ""},
        {L"delete --bogus", good, 2, "使えない引数です: --bogus", ""},
        {L"delete --number", good, 2, "--number の後に値を指定してください。", ""},
        {L"delete --number 0", good, 2, "--number には 1 以上の番号を指定してください: 0", ""},
        {L"delete --pattern Temp --number 1", good, 2, "どちらか一つで、一度だけ指定してください。", ""},
        {L"list --permanent", good, 2, "--permanent は delete にだけ指定できます。", ""},
        {L"delete --older-than 7x", good, 2, "--older-than には日数（7 または 7d）か時間数（12h）を 0 以上の整数で指定してください: 7x", ""},
        {L"delete --larger-than -1", good, 2, "--larger-than にはバイト数を 0 以上の整数で、または K、M、G を付けて（500K、10M、2G）指定してください: -1", ""},
        {L"delete --older-than 99999999999999999999", good, 2, "--older-than の値が大きすぎます: 99999999999999999999", ""},
        {L"delete --older-than 7 --time modified", good, 2, "--time には written、created、accessed のどれかを指定してください: modified", ""},
        {L"delete", Bytes(), 2, "設定ファイルがありません: 「", ""},
        {L"delete", damaged.bytes, 2, "設定ファイルが壊れていて、最後まで読み込めませんでした: 「", ""},
        {L"delete --settings none.use", good, 2, "設定ファイルがありません: 「none.use」", ""},
        {L"delete --pattern temp", good, 2, "この名前の削除パターンはありません: 「temp」", ""},
        {L"delete --number 2", good, 2, "削除パターン 2 番はありません（登録されている削除パターンは 1 個です）。", ""},
        {L"list", SettingsBytes({all}), 0, "見つかったファイル: 641 個", ".txt\r\n"},
        {L"list --max-files 640", SettingsBytes({all}), 3, "ファイルが --max-files の 640 個に達したので打ち切りました。", ".txt\r\n"},
        {L"delete --version", good, 0, "", "TidymothC "},
        {L"delete --help", good, 0, "", "schtasks /create"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        ::DeleteFileA(app.SettingsPath().c_str());
        ASSERT_TRUE(row.settings.empty() || app.WriteSettings(row.settings));
        const ConsoleRun run = RunConsole(dir, row.args);
        EXPECT_EQ(row.code, run.code);
        EXPECT_TRUE(Contains(run.err, row.err)) << run.err;
        EXPECT_EQ(row.code != 2, Contains(run.out, row.out) && !run.out.empty());
        if (row.out == std::string(".txt\r\n")) {
            EXPECT_EQ(row.code == 3 ? 640u : 641u, LinesOf(run.out).size());
        }
        EXPECT_TRUE(FileExists(kept));
        EXPECT_EQ(row.settings, app.ReadSettings());
    }
}

}  // namespace
}  // namespace e2e
