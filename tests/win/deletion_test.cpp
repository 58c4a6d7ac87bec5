// The deletion pass on real files: what each line says afterwards and what
// is left on disk and in the Recycle Bin (Wine's trash under XDG_DATA_HOME),
// the interrupt, flags changed while the pass runs, and the main window's
// commands during the pass.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "engine/paths.h"
#include "engine/search_run.h"
#include "engine/win_deleter.h"
#include "engine/win_file_system.h"
#include "patterns/pattern_set.h"
#include "platform/win/wide_text.h"
#include "tests/support/broken_trash.h"
#include "tests/win/search_fixture.h"

using namespace win_test;

namespace {

std::string NameOf(const std::string& path)
{
    return path.substr(path.rfind('\\') + 1);
}

bool InTrash(const std::string& name)
{
    return FileExists(TrashFolder() + "\\files\\" + name);
}

class DeletionTest : public SearchFixture {
protected:
    void SetUp() override
    {
        // Never the user's own Recycle Bin.
        if (TrashFolder().empty())
            GTEST_SKIP() << "XDG_DATA_HOME must name a temporary folder (tools/wine-env.sh --test)";
        SearchFixture::SetUp();
    }

    // One file in each directory D00, D01, ... in that order, so that line i
    // shows file i; each holds its own name.
    Paths MakeOneFileEach(const std::vector<std::string>& names)
    {
        Paths paths;
        for (size_t i = 0; i < names.size(); ++i) {
            char dir[8];
            std::sprintf(dir, "D%02u", static_cast<unsigned>(i));
            paths.push_back(AddDir(MakeDir(dir), false) + names[i]);
            MakeFile(std::string(dir) + "\\" + names[i], names[i]);
        }
        return paths;
    }
    // Searches `names` under a prefix of the test's own, all ticked for
    // permanent deletion.
    Paths SearchPermanent(const std::vector<std::string>& names)
    {
        Paths paths = MakeOneFileEach(names);
        AddMask("*.DAT");
        Search();
        ExpectReady(paths);
        SelectAll();
        Click(IDC_TO_RECYCLE);
        Select({0});
        return paths;
    }
    bool Marked(int line)
    {
        const std::string text = Line(line);
        auto endsWith = [&](const std::string& mark) {
            return text.size() >= mark.size() && text.compare(text.size() - mark.size(), mark.size(), mark) == 0;
        };
        return endsWith(kDeletedMark) || endsWith(kFailedMark);
    }
    bool PassRunning() { return ResultsWindow() && Results().IsPassRunning(); }
};

// ---- What each line says, and what is left ----------------------------------

enum class Meanwhile { Nothing, Removed, HeldOpen, ReadOnly, ReplacedByDirectory, FolderSwappedForALink };

struct OutcomeRow {
    const char* name;
    int deleteFlag;
    int recycleFlag;
    Meanwhile meanwhile;  // between the search and the pass
    const char* mark;     // nullptr: the line is left as it is
};

const OutcomeRow kOutcomes[] = {
    {"TICKED_BIN", 1, 1, Meanwhile::Nothing, kDeletedMark},
    {"TICKED_GONE", 1, 0, Meanwhile::Nothing, kDeletedMark},
    {"UNTICKED_BIN", 0, 1, Meanwhile::Nothing, nullptr},
    {"UNTICKED", 0, 0, Meanwhile::Nothing, nullptr},
    {"REMOVED_BIN", 1, 1, Meanwhile::Removed, kFailedMark},
    {"REMOVED", 1, 0, Meanwhile::Removed, kFailedMark},
    {"HELD_OPEN", 1, 0, Meanwhile::HeldOpen, kFailedMark},
    {"READ_ONLY", 1, 0, Meanwhile::ReadOnly, kFailedMark},
    {"NOW_DIR_BIN", 1, 1, Meanwhile::ReplacedByDirectory, kFailedMark},
    {"NOW_DIR", 1, 0, Meanwhile::ReplacedByDirectory, kFailedMark},
    {"SWAPPED_BIN", 1, 1, Meanwhile::FolderSwappedForALink, kFailedMark},
    {"SWAPPED", 1, 0, Meanwhile::FolderSwappedForALink, kFailedMark},
    {"LAST", 1, 0, Meanwhile::Nothing, kDeletedMark},
};

TEST_F(DeletionTest, EveryLineSaysWhatHappenedAndThePassGoesOn)
{
    std::vector<std::string> names;
    for (const OutcomeRow& row : kOutcomes)
        names.push_back(std::string("OUT_") + row.name + ".DAT");
    // The same file a second time, through a second mask: the first line
    // deletes it, the second finds it gone.
    names.push_back("OUT_TWICE.DAT");
    const Paths paths = MakeOneFileEach(names);
    AddMasks({"*.DAT", "*TWICE*"});
    Search();
    Paths lines = paths;
    lines.push_back(paths.back());
    ExpectReady(lines);
    const int n = static_cast<int>(lines.size());

    for (size_t i = 0; i < std::size(kOutcomes); ++i)
        SetFlags(static_cast<int>(i), kOutcomes[i].deleteFlag, kOutcomes[i].recycleFlag);
    SetFlags(n - 2, 1, 0);
    SetFlags(n - 1, 1, 0);

    HANDLE held = INVALID_HANDLE_VALUE;
    for (size_t i = 0; i < std::size(kOutcomes); ++i) {
        const std::string& path = paths[i];
        switch (kOutcomes[i].meanwhile) {
        case Meanwhile::Nothing:
            break;
        case Meanwhile::Removed:
            ASSERT_TRUE(::DeleteFileA(path.c_str()));
            break;
        case Meanwhile::HeldOpen:
            held =
                ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
            break;
        case Meanwhile::ReadOnly:
            ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
            break;
        case Meanwhile::ReplacedByDirectory:
            ASSERT_TRUE(::DeleteFileA(path.c_str()));
            ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
            ASSERT_TRUE(WriteNewFile(path + "\\INSIDE.TXT", "inside"));
            break;
        case Meanwhile::FolderSwappedForALink: {
            // The folder moves away, and a link to another folder, which holds
            // a file of the same name, takes its place.
            const std::string dir = path.substr(0, path.rfind('\\'));
            const std::string other = MakeDir(NameOf(dir) + "_OTHER");
            ASSERT_TRUE(WriteNewFile(other + "\\" + NameOf(path), "other"));
            ASSERT_TRUE(::MoveFileA(dir.c_str(), (dir + "_MOVED").c_str()));
            ASSERT_TRUE(MakeDirectoryLink(dir, other));
            break;
        }
        }
    }

    Click(IDC_ACTION);
    if (held != INVALID_HANDLE_VALUE)
        ::CloseHandle(held);

    EXPECT_EQ(0u, boxes.Count());
    // The last line was handled: the bar stops one short of its range.
    Paths done;
    for (size_t i = 0; i < std::size(kOutcomes); ++i)
        done.push_back(kOutcomes[i].mark ? paths[i] + kOutcomes[i].mark : paths[i]);
    Append(done, {paths.back() + kDeletedMark, paths.back() + kFailedMark});
    ExpectDone(done, n - 1);
    for (size_t i = 0; i < std::size(kOutcomes); ++i) {
        const OutcomeRow& row = kOutcomes[i];
        const std::string& path = paths[i];
        const std::string name = NameOf(path);
        SCOPED_TRACE(row.name);
        const bool deleted = row.mark == kDeletedMark;
        switch (row.meanwhile) {
        case Meanwhile::Nothing:
            EXPECT_EQ(!deleted, FileExists(path));
            if (!deleted) {
                EXPECT_EQ(name, FileContent(path));
            }
            break;
        case Meanwhile::Removed:
            EXPECT_FALSE(FileExists(path));
            break;
        case Meanwhile::HeldOpen:
            EXPECT_EQ(name, FileContent(path));
            break;
        case Meanwhile::ReadOnly:
            EXPECT_EQ(name, FileContent(path));
            EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
            break;
        case Meanwhile::ReplacedByDirectory:
            // The directory and what it holds are untouched.
            EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
            EXPECT_EQ("inside", FileContent(path + "\\INSIDE.TXT"));
            break;
        case Meanwhile::FolderSwappedForALink: {
            // Neither the file behind the link nor the listed one, moved away, is touched.
            const std::string dir = path.substr(0, path.rfind('\\'));
            EXPECT_EQ("other", FileContent(path));
            EXPECT_EQ(name, FileContent(dir + "_MOVED\\" + name));
            break;
        }
        }
        // Only a deleted file with its recycle flag set is in the trash, the
        // same file, with its record of where it came from.
        const bool trashed = deleted && row.recycleFlag == 1;
        EXPECT_EQ(trashed, InTrash(name));
        if (trashed) {
            EXPECT_EQ(name, FileContent(TrashFolder() + "\\files\\" + name));
            const std::string info = FileContent(TrashFolder() + "\\info\\" + name + ".trashinfo");
            EXPECT_NE(std::string::npos, info.find("Path=")) << info;
            EXPECT_NE(std::string::npos, info.find(name)) << info;
            EXPECT_NE(std::string::npos, info.find("DeletionDate=")) << info;
        }
    }
    EXPECT_FALSE(InTrash(NameOf(paths.back())));
}

// ---- A file the Recycle Bin cannot take ------------------------------------

// Answers the shell's own confirmation boxes (real dialogs, not the
// program's message boxes) as they appear, in order.
class ShellBoxes {
public:
    explicit ShellBoxes(std::vector<int> answers) : m_answers(std::move(answers))
    {
        s_self = this;
        m_hook = ::SetWindowsHookExA(WH_CBT, &ShellBoxes::Hook, nullptr, ::GetCurrentThreadId());
    }
    ~ShellBoxes()
    {
        ::UnhookWindowsHookEx(m_hook);
        s_self = nullptr;
    }
    std::vector<HWND> owners;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE && s_self) {
            HWND box = reinterpret_cast<HWND>(wParam);
            char cls[16] = "";
            ::GetClassNameA(box, cls, sizeof cls);
            HWND owner = ::GetWindow(box, GW_OWNER);
            if (lstrcmpA(cls, "#32770") == 0 && owner && ::GetDlgItem(box, IDYES) && ::GetDlgItem(box, IDNO)) {
                // Boxes beyond the script are refused, never left open.
                size_t index = s_self->owners.size();
                int answer = index < s_self->m_answers.size() ? s_self->m_answers[index] : IDNO;
                s_self->owners.push_back(owner);
                ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static ShellBoxes* s_self;
    std::vector<int> m_answers;
    HHOOK m_hook;
};

ShellBoxes* ShellBoxes::s_self = nullptr;

TEST_F(DeletionTest, FileTheBinCannotTakeIsDeletedOnlyWithConsent)
{
    // The trash is set up on first use: use it once before breaking it.
    const std::string first = MakeFile("FIRST_USE.DAT");
    char source[MAX_PATH + 2] = {};
    lstrcpyA(source, first.c_str());
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = source;
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;
    ASSERT_EQ(0, ::SHFileOperationA(&op));

    const Paths paths = MakeOneFileEach({"NUKE_NO.DAT", "NUKE_YES.DAT", "NUKE_AFTER.DAT"});
    AddMask("*.DAT");
    Search();
    ExpectReady(paths);
    SetFlags(2, 1, 0);
    {
        BrokenTrash broken;
        ASSERT_TRUE(broken.Ok());
        // The shell asks, in a box owned by the results window, whether to
        // delete for good what it cannot recycle.
        ShellBoxes shell({IDNO, IDYES});
        Click(IDC_ACTION);
        EXPECT_EQ((std::vector<HWND>{ResultsWindow(), ResultsWindow()}), shell.owners);
    }

    EXPECT_EQ(0u, boxes.Count());
    // No: the file stays. Yes: it is deleted for good.
    ExpectDone({paths[0] + kFailedMark, paths[1] + kDeletedMark, paths[2] + kDeletedMark}, 2);
    EXPECT_EQ("NUKE_NO.DAT", FileContent(paths[0]));
    EXPECT_FALSE(FileExists(paths[1]));
    for (const std::string& path : paths)
        EXPECT_FALSE(InTrash(NameOf(path))) << path;
}

// ---- The interrupt ---------------------------------------------------------

// QuitWhileAsked: the button asks, and the main window's quit comes while
// that question is open.
enum class Trigger { Button, CloseBox, Quit, QuitWhileAsked };

struct InterruptRow {
    const char* name;
    Trigger trigger;
    std::vector<int> answers;  // the quit adds its own questions after a Yes
    std::vector<const char*> questions;
};

class InterruptTest : public DeletionTest, public ::testing::WithParamInterface<InterruptRow> {};

TEST_P(InterruptTest, AsksAndStopsAfterTheFileJustHandled)
{
    const InterruptRow& row = GetParam();
    const Paths paths = SearchPermanent({"I0.DAT", "I1.DAT", "I2.DAT", "I3.DAT", "I4.DAT"});
    ASSERT_TRUE(Dirty());  // the pattern was entered and not saved
    for (int answer : row.answers)
        boxes.Answer(answer);
    spy.SlowAlways();
    bool asked = false;
    AtDrain([&] { return PassRunning() && Marked(1) && !Marked(2); },
            [&] {
                asked = true;
                EXPECT_EQ(kDeletingAction, Text(IDC_ACTION));
                EXPECT_EQ(kDeletingStatus, Text(IDC_STATUS));
                if (row.trigger == Trigger::QuitWhileAsked)
                    boxes.onBox = [&](const RecordedBox&) {
                        boxes.onBox = nullptr;
                        ClickMain(IDCANCEL);
                    };
                if (row.trigger == Trigger::Button || row.trigger == Trigger::QuitWhileAsked)
                    Click(IDC_ACTION);
                else if (row.trigger == Trigger::CloseBox)
                    ::SendMessageA(ResultsWindow(), WM_CLOSE, 0, 0);
                else
                    ClickMain(IDCANCEL);
            });
    HWND window = ResultsWindow();
    Click(IDC_ACTION);
    ASSERT_TRUE(asked);

    // The interrupt question comes first, from the results window.
    ASSERT_EQ(row.questions.size(), boxes.Count());
    ExpectQuestion(boxes.Boxes()[0], kWarning, kInterruptQuestion, window);
    for (size_t i = 1; i < row.questions.size(); ++i)
        ExpectQuestion(boxes.Boxes()[i], kConfirm, row.questions[i], main->m_hWnd);
    // The pass ends at the next result after a Yes, and runs on after a No.
    const bool interrupted = row.answers[0] == IDYES;
    const int reached = interrupted ? 2 : 5;
    EXPECT_EQ(window, ResultsWindow());
    ExpectDone(WithMark(paths, kDeletedMark, reached), reached - 1);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(i >= reached, FileExists(paths[i])) << paths[i];
    const bool quit = row.trigger == Trigger::Quit && interrupted && row.answers.back() == IDYES;
    EXPECT_EQ(!quit, ::IsWindowVisible(main->m_hWnd) != FALSE);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, InterruptTest,
    ::testing::Values(
        InterruptRow{"ButtonNo", Trigger::Button, {IDNO}, {kInterruptQuestion}},
        InterruptRow{"ButtonYes", Trigger::Button, {IDYES}, {kInterruptQuestion}},
        InterruptRow{"CloseBoxNo", Trigger::CloseBox, {IDNO}, {kInterruptQuestion}},
        InterruptRow{"CloseBoxYes", Trigger::CloseBox, {IDYES}, {kInterruptQuestion}},
        // Quitting asks the interrupt question first; only a Yes goes on to
        // the save question (answered No) and the quit question.
        InterruptRow{"QuitInterruptNo", Trigger::Quit, {IDNO}, {kInterruptQuestion}},
        // Never a second interrupt question on the first.
        InterruptRow{"QuitWhileAskedNo", Trigger::QuitWhileAsked, {IDNO}, {kInterruptQuestion}},
        InterruptRow{
            "QuitInterruptYesQuitYes", Trigger::Quit, {IDYES, IDNO, IDYES}, {kInterruptQuestion, kSaveQuestion, kQuitQuestion}},
        InterruptRow{
            "QuitInterruptYesQuitNo", Trigger::Quit, {IDYES, IDNO, IDNO}, {kInterruptQuestion, kSaveQuestion, kQuitQuestion}}),
    [](const ::testing::TestParamInfo<InterruptRow>& info) { return std::string(info.param.name); });

// ---- Flags and selection while the pass runs -------------------------------

TEST_F(DeletionTest, FlagsChangedAheadOfThePassAreHonoured)
{
    const Paths paths = SearchPermanent({"AHEAD0.DAT", "AHEAD1.DAT", "AHEAD2.DAT", "AHEAD3.DAT", "AHEAD4.DAT"});
    SetFlags(3, 0, 0);
    spy.SlowAlways();
    AtDrain([&] { return PassRunning() && Marked(0) && !Marked(1); },
            [&] {
                SetFlags(2, 0, 0);  // cleared: kept
                SetFlags(3, 1, 0);  // set: deleted
                SetFlags(4, 1, 1);  // into the bin
            });
    Click(IDC_ACTION);

    Paths done = WithMark(paths, kDeletedMark);
    done[2] = paths[2];
    ExpectDone(done, 4);
    EXPECT_TRUE(FileExists(paths[2]));
    EXPECT_FALSE(FileExists(paths[3]));
    EXPECT_FALSE(InTrash(NameOf(paths[3])));
    EXPECT_TRUE(InTrash(NameOf(paths[4])));
}

TEST_F(DeletionTest, MarkedLinesLoseTheirSelectionAndTheBoxesStayAsTheyWere)
{
    const Paths paths = SearchPermanent({"SEL0.DAT", "SEL1.DAT", "SEL2.DAT", "SEL3.DAT"});
    SetFlags(1, 0, 0);
    Select({0, 1, 2, 3});
    ASSERT_EQ(BST_INDETERMINATE, CheckOf(IDC_DELETE_THIS));
    ASSERT_EQ(BST_UNCHECKED, CheckOf(IDC_TO_RECYCLE));
    Click(IDC_ACTION);

    Paths done = WithMark(paths, kDeletedMark);
    done[1] = paths[1];
    ExpectDone(done, 3);
    EXPECT_EQ(std::vector<int>{1}, Selection());
    EXPECT_EQ(BST_INDETERMINATE, CheckOf(IDC_DELETE_THIS));
    EXPECT_EQ(BST_UNCHECKED, CheckOf(IDC_TO_RECYCLE));
    // Afterwards the list still selects, and the disabled boxes follow.
    Select({0});
    EXPECT_EQ(BST_CHECKED, CheckOf(IDC_DELETE_THIS));
    EXPECT_EQ(BST_UNCHECKED, CheckOf(IDC_TO_RECYCLE));
    EXPECT_FALSE(Enabled(IDC_DELETE_THIS));
}

// ---- What else is tried while the pass runs ---------------------------------

enum class Attempt {
    OkAndEscape,                 // neither takes the window away
    NewSearchAndPatternChanges,  // both refused
};

class AttemptDuringPassTest : public DeletionTest, public ::testing::WithParamInterface<Attempt> {};

TEST_P(AttemptDuringPassTest, TheWindowStaysAndThePassGoesOn)
{
    const Paths paths = SearchPermanent({"RUN0.DAT", "RUN1.DAT", "RUN2.DAT"});
    HWND window = ResultsWindow();
    spy.SlowAlways();
    bool tried = false;
    AtDrain([&] { return PassRunning() && Marked(0) && !Marked(1); },
            [&] {
                tried = true;
                if (GetParam() == Attempt::OkAndEscape) {
                    Results().OnOK();
                    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                    PressDialogKey(window, VK_ESCAPE);
                    ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                } else {
                    ExpectPatternCommandsLocked(true);
                    main->OnStartSearch();
                }
                EXPECT_EQ(window, ResultsWindow());
                EXPECT_TRUE(::IsWindowVisible(window));
                EXPECT_EQ(3, Results().GetResultCount());
                EXPECT_TRUE(PassRunning());
            });
    Click(IDC_ACTION);
    ASSERT_TRUE(tried);
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_EQ(window, ResultsWindow());
    ExpectDone(WithMark(paths, kDeletedMark), 2);
    for (const std::string& path : paths)
        EXPECT_FALSE(FileExists(path)) << path;
    ExpectPatternCommandsLocked(false);
}

INSTANTIATE_TEST_SUITE_P(Attempts, AttemptDuringPassTest,
                         ::testing::Values(Attempt::OkAndEscape, Attempt::NewSearchAndPatternChanges),
                         [](const ::testing::TestParamInfo<Attempt>& info) {
                             return info.param == Attempt::OkAndEscape ? "OkAndEscape" : "NewSearchAndPatternChanges";
                         });

// ---- Every name exact, and links never followed ---------------------------

bool ExistsExactly(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ExactDeletionTest : public DeletionTest, public ::testing::WithParamInterface<int> {};

// Names the code page cannot spell come back from the "A" functions as
// look-alikes (café as cafe) or "?": each line still deletes exactly the file
// it was found as, whichever way it goes.
TEST_P(ExactDeletionTest, ExactlyTheTickedFilesGoWhateverTheirNames)
{
    const int recycle = GetParam();
    const std::wstring dir = testing_support::Wide932(MakeDir("INTL"));
    // Names of each run's own, as the trash is shared by the runs.
    const std::wstring run = recycle ? L"bin_" : L"gone_";
    const std::vector<std::wstring> names = {run + L"café.tmp", run + L"cafe.tmp", run + L"a\U0001F600.tmp", run + L"ab.tmp",
                                             run + L"한.tmp"};
    const std::vector<std::wstring> kept = {names[1], names[3]};
    for (const std::wstring& name : names) {
        HANDLE file = ::CreateFileW((dir + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        ::CloseHandle(file);
    }
    AddDir(PathOf("INTL"), false);
    AddMask("*.TMP");
    Search();
    ASSERT_EQ(static_cast<int>(names.size()), Results().GetResultCount());

    // Every line names an existing file, each file once, as the line shows it.
    std::vector<std::wstring> listed, lines;
    for (int i = 0; i < Results().GetResultCount(); ++i) {
        const std::wstring path = testing_support::WideListItem(Control(IDC_RESULT_LIST), i);
        EXPECT_TRUE(ExistsExactly(path));
        lines.push_back(path);
        const std::wstring name = path.substr(path.rfind(L'\\') + 1);
        listed.push_back(name);
        const bool keep = std::find(kept.begin(), kept.end(), name) != kept.end();
        SetFlags(i, keep ? 0 : 1, recycle);
    }
    std::vector<std::wstring> sorted = listed, expected = names;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_TRUE(sorted == expected);

    Click(IDC_ACTION);
    for (int i = 0; i < static_cast<int>(listed.size()); ++i) {
        const bool keep = std::find(kept.begin(), kept.end(), listed[i]) != kept.end();
        EXPECT_EQ(keep, ExistsExactly(dir + L"\\" + listed[i])) << i;
        EXPECT_TRUE(testing_support::WideListItem(Control(IDC_RESULT_LIST), i) ==
                    (keep ? lines[i] : lines[i] + testing_support::Wide932(kDeletedMark)))
            << i;
        EXPECT_EQ(!keep && recycle == 1, ExistsExactly(testing_support::Wide932(TrashFolder()) + L"\\files\\" + listed[i])) << i;
    }
}

// A link to a file looks like the file to every call under Wine, and every
// way of deleting it deletes what it points to: the line fails instead, and
// the link and its target stay; the rest of the tree goes.
TEST_P(ExactDeletionTest, ALinkToAFileIsNeitherDeletedNorFollowed)
{
    if (!OnWine())
        GTEST_SKIP() << "the link is made as a host symbolic link";
    const int recycle = GetParam();
    const std::string plain = recycle ? "BIN_PLAIN.TMP" : "GONE_PLAIN.TMP";  // the trash is shared by the runs
    MakeFile("OUTSIDE\\VICTIM2.TMP", "victim");
    MakeFile("TREE\\" + plain, "plain");
    MakeFile("TREE\\NAMESAKE.TMP", "namesake");
    Finally removeLink{[&] { RemoveWholeTree(PathOf("TREE")); }};
    const std::string host = HostPathOf(PathOf("TREE"));
    // A second link is named as its target with a dot after: the system
    // reports both under the same name, and only the target's id tells them.
    ASSERT_EQ(0, RunHostShell("ln -s ../OUTSIDE/VICTIM2.TMP '" + host + "/FILELINK.TMP' && ln -s NAMESAKE.TMP '" + host +
                              "/NAMESAKE.TMP.'"));
    const std::string tree = AddDir(PathOf("TREE"), false);
    AddMasks({"*.TMP", "*.TMP."});
    Search();
    ASSERT_EQ(4, Results().GetResultCount());
    const Paths lines = Lines();
    for (int i = 0; i < 4; ++i)
        SetFlags(i, NameOf(lines[i]) == "NAMESAKE.TMP" ? 0 : 1, recycle);
    Click(IDC_ACTION);

    for (int i = 0; i < 4; ++i) {
        const std::string name = NameOf(lines[i]);
        const bool isLink = name == "FILELINK.TMP" || name == "NAMESAKE.TMP.";
        EXPECT_EQ(lines[i] + (isLink ? kFailedMark : name == plain ? kDeletedMark : ""), Line(i));
    }
    EXPECT_EQ(0, RunHostShell("test -L '" + host + "/FILELINK.TMP' && test -L '" + host + "/NAMESAKE.TMP.'"));
    EXPECT_EQ("victim", FileContent(PathOf("OUTSIDE\\VICTIM2.TMP")));
    EXPECT_EQ("namesake", FileContent(PathOf("TREE\\NAMESAKE.TMP")));
    EXPECT_FALSE(FileExists(PathOf("TREE\\" + plain)));
    EXPECT_FALSE(InTrash("VICTIM2.TMP"));
    EXPECT_FALSE(InTrash("FILELINK.TMP"));
    EXPECT_FALSE(InTrash("NAMESAKE.TMP"));
    EXPECT_EQ(recycle == 1, InTrash(plain));
}

// Names the system would change without the verbatim prefix (a closing dot
// or space, a device name) and paths beyond MAX_PATH: each line names its
// own file, and a delete for good takes exactly that file, its namesake kept.
// The Recycle Bin takes only plain paths: it is never handed one of these,
// so their lines fail and the files stay where they are.
TEST_P(ExactDeletionTest, NamesTheSystemWouldChangeAndPathsBeyondMaxPath)
{
    const int recycle = GetParam();
    const std::string top = recycle ? "EXACT_BIN" : "EXACT_GONE";  // the trash is shared by the runs
    const std::wstring verbatim = L"\\\\?\\" + testing_support::Wide932(MakeDir(top));
    Finally removeExact{[&] { RemoveWholeTree(PathOf(top)); }};
    std::wstring deep = L"deep";
    for (const std::wstring& dir : {std::wstring(L"cache"), std::wstring(L"cache."), deep})
        ASSERT_TRUE(::CreateDirectoryW((verbatim + L"\\" + dir).c_str(), nullptr));
    for (const wchar_t c : {L'a', L'b', L'c'}) {
        deep += L"\\" + std::wstring(100, c);
        ASSERT_TRUE(::CreateDirectoryW((verbatim + L"\\" + deep).c_str(), nullptr));
    }
    const std::vector<std::wstring> ticked = {L"cache.\\f.tmp", L"data.tmp.", L"space.tmp ", L"nul.tmp",       L"con.tmp",
                                              L"aux.tmp",        L"prn.tmp",   L"com1.tmp",   deep + L"\\x.tmp", L"lpt1.tmp"};
    const std::vector<std::wstring> kept = {L"cache\\f.tmp", L"data.tmp"};
    std::vector<std::wstring> names = ticked;
    names.insert(names.end(), kept.begin(), kept.end());
    for (const std::wstring& name : names) {
        HANDLE file = ::CreateFileW((verbatim + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << ::GetLastError();
        ::CloseHandle(file);
    }
    const std::wstring shown = testing_support::Wide932(AddDir(PathOf(top), true));
    AddMasks({"*.TMP", "*.TMP.", "SPACE*"});
    Search();

    // Every line names its own file, each file once.
    std::vector<std::wstring> lines, expected;
    for (const std::wstring& name : names)
        expected.push_back(shown + name);
    for (int i = 0; i < Results().GetResultCount(); ++i) {
        lines.push_back(testing_support::WideListItem(Control(IDC_RESULT_LIST), i));
        const bool keep = std::find(kept.begin(), kept.end(), lines.back().substr(shown.size())) != kept.end();
        SetFlags(i, keep ? 0 : 1, recycle);
    }
    std::vector<std::wstring> sorted = lines;
    std::sort(sorted.begin(), sorted.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_TRUE(sorted == expected) << Results().GetResultCount();

    Click(IDC_ACTION);
    EXPECT_EQ(0u, boxes.Count());
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::wstring name = lines[i].substr(shown.size());
        const bool keep = std::find(kept.begin(), kept.end(), name) != kept.end();
        const char* mark = keep ? "" : recycle ? kFailedMark : kDeletedMark;
        EXPECT_TRUE(testing_support::WideListItem(Control(IDC_RESULT_LIST), i) == lines[i] + testing_support::Wide932(mark))
            << i;
        EXPECT_EQ(keep || recycle == 1, ExistsExactly(verbatim + L"\\" + name)) << i;
        const std::wstring leaf = name.substr(name.rfind(L'\\') + 1);
        EXPECT_FALSE(ExistsExactly(L"\\\\?\\" + testing_support::Wide932(TrashFolder()) + L"\\files\\" + leaf)) << i;
    }
}

// A stored directory may name its folder through a drive letter that is an
// alias of it, a share, or its short name: its files are still the listed ones.
TEST_F(DeletionTest, DriveAliasesSharesAndShortNamesStillDelete)
{
    MakeFile("ALIASED\\BY_DRIVE.TMP", "x");
    MakeFile("SHARED\\SUB\\BY_SHARE.TMP", "x");
    MakeFile("A LONG FOLDER NAME\\BY_SHORT_NAME.TMP", "x");
    MappedDrive drive(PathOf("ALIASED"), "BY_DRIVE.TMP");
    // Wine finds a share as a link in its prefix's dosdevices/unc folder.
    const std::string c = HostPathOf("C:\\");
    const std::string hosts = c.empty() ? c : c.substr(0, c.rfind("/c:")) + "/unc/TIDYMOTH-HOST";
    const std::string link = "ln -s '" + HostPathOf(PathOf("SHARED")) + "' '" + hosts + "/SHARE'";
    const bool shared = OnWine() && !hosts.empty() && RunHostShell("mkdir -p '" + hosts + "' && " + link) == 0;
    Finally unshare{[&] {
        if (shared)
            RunHostShell("rm -rf '" + hosts + "'");
    }};
    char shortName[MAX_PATH] = "";
    ::GetShortPathNameA(PathOf("A LONG FOLDER NAME").c_str(), shortName, MAX_PATH);
    const bool isShort = shortName[0] && PathOf("A LONG FOLDER NAME") != shortName;
    if (!drive.Ok() && !shared && !isShort)
        GTEST_SKIP() << "neither a drive letter, a share nor a short name for a folder here";
    Finally leaveDrive{[&] { testing_support::ChangeDirectory(temp.Path()); }};
    Paths paths;
    if (drive.Ok())
        paths.push_back(AddDir(drive.Drive() + "\\", false) + "BY_DRIVE.TMP");
    if (shared)
        paths.push_back(AddDir("\\\\TIDYMOTH-HOST\\SHARE\\", true) + "SUB\\BY_SHARE.TMP");
    if (isShort)
        paths.push_back(AddDir(shortName, false) + "BY_SHORT_NAME.TMP");
    AddMask("*.TMP");
    Search();
    ExpectReady(paths);
    SelectAll();
    Click(IDC_TO_RECYCLE);
    Click(IDC_ACTION);
    Paths done;
    for (const std::string& path : paths) {
        done.push_back(path + kDeletedMark);
        EXPECT_FALSE(FileExists(path));
    }
    ExpectDone(done, static_cast<int>(paths.size()) - 1);
}

INSTANTIATE_TEST_SUITE_P(Flags, ExactDeletionTest, ::testing::Values(1, 0),
                         [](const ::testing::TestParamInfo<int>& info) { return info.param ? "ToTheBin" : "Permanently"; });

// The unattended delete reads a file's age and size again through the handle
// it deletes with: a file written or grown since it was listed is kept; with
// no filter nothing is read again.
TEST(FilteredDelete, AFileThatNoLongerPassesIsKept)
{
    testing_support::TempDir dir;
    FILETIME t;
    ::GetSystemTimeAsFileTime(&t);
    const std::uint64_t now = (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime, old = now - 10 * TICKS_PER_DAY;
    const auto write = [&](const char* name, size_t size, std::uint64_t ticks) {
        const FILETIME w = {DWORD(ticks), DWORD(ticks >> 32)};
        HANDLE file = WriteFileBytes(dir / name, Bytes(size, 'x'))
                          ? ::CreateFileA((dir / name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                          : INVALID_HANDLE_VALUE;
        const bool set = ::SetFileTime(file, nullptr, nullptr, &w);
        ::CloseHandle(file);
        return set;
    };
    for (const char* name : {"written.tmp", "grown.tmp", "same.tmp", "unfiltered.tmp"})
        ASSERT_TRUE(write(name, 10, old));
    FileFilter filter;
    filter.now = now;
    filter.olderThan = 7 * TICKS_PER_DAY;
    filter.smallerThan = 100;
    struct Found : WalkCaller {
        void DirectoryEntered(const CString&) override {}
        int ResultCount() const override { return static_cast<int>(files.size()); }
        void FileFound(const CString& shown, const CFoundFile& file) override { files.emplace_back(NameOf(shown.GetString()), file); }
        bool StopNow() override { return false; }
        std::vector<std::pair<std::string, CFoundFile>> files;
    } found;
    CPatternSet set;
    set.AddDir(dir.Path().c_str(), 0);
    set.AddMask("*.TMP", 0);
    CWinFileSystem fs;
    CSearchRun(fs, found).Run(set, dir.Path().c_str(), &filter);
    ASSERT_EQ(4u, found.files.size());
    ASSERT_TRUE(write("written.tmp", 10, now + TICKS_PER_HOUR) && write("unfiltered.tmp", 10, now + TICKS_PER_HOUR) &&
                write("grown.tmp", 200, old));
    CListedFileDeleter filtered(&filter), unfiltered;
    for (const auto& file : found.files) {
        const bool passes = file.first == "same.tmp" || file.first == "unfiltered.tmp";
        const DeleteOutcome outcome = (file.first == "unfiltered.tmp" ? unfiltered : filtered).DeletePermanently(file.second);
        EXPECT_EQ(passes ? DeleteFault::None : DeleteFault::Changed, outcome.fault) << file.first;
        EXPECT_EQ(!passes, FileExists(dir / file.first)) << file.first;
    }
}

// An emptied folder is removed only while it is empty, the folder listed and
// no link; whatever took its place meanwhile stays, and so does what a link
// leads to.
TEST(EmptiedFolder, RemovedOnlyWhileEmptyTheOneListedAndNoLink)
{
    testing_support::TempDir dir;
    const struct {
        const char* name;
        DeleteFault fault;
    } rows[] = {{"EMPTY", DeleteFault::None},     {"REFILLED", DeleteFault::NotEmpty}, {"SWAPPED", DeleteFault::Changed},
                {"LINKED", DeleteFault::Link},    {"GONE", DeleteFault::Gone}};
    for (const char* name : {"EMPTY", "REFILLED", "SWAPPED", "LINKED", "GONE", "ELSEWHERE"})
        ASSERT_TRUE(MakeDirectory(dir / name));
    CWinFileSystem fs;
    auto root = std::make_shared<CSearchRoot>();
    root->shown = WideFromAnsi(dir.Path().c_str());
    root->verbatim = VerbatimDirectory(root->shown);
    root->reported = fs.ReportedNameOf(root->verbatim);
    std::map<std::wstring, std::uint64_t> listed;
    std::uint32_t error = 0;
    auto listing = fs.List(root->verbatim, error);
    for (WalkFileSystem::Entry entry; listing && listing->Next(entry);)
        listed[entry.exactName] = entry.fileId;
    listing.reset();
    ASSERT_TRUE(WriteFileBytes(dir / "REFILLED\\new.tmp", Bytes{'x'}) && ::MoveFileA((dir / "SWAPPED").c_str(), (dir / "OLD").c_str()) &&
                MakeDirectory(dir / "SWAPPED") && ::RemoveDirectoryA((dir / "LINKED").c_str()) &&
                MakeDirectoryLink(dir / "LINKED", dir / "ELSEWHERE") && ::RemoveDirectoryA((dir / "GONE").c_str()));
    for (const auto& row : rows) {
        const std::wstring name = WideFromAnsi(row.name);
        const DeleteOutcome outcome = CListedFileDeleter().RemoveEmptiedFolder(CFoundFile(root, name, listed[name]));
        // Wine opens what a host's link leads to even when asked for the link: its id tells.
        EXPECT_EQ(row.fault == DeleteFault::Link && OnWine() ? DeleteFault::Changed : row.fault, outcome.fault) << row.name;
        EXPECT_EQ(row.fault != DeleteFault::None && row.fault != DeleteFault::Gone, FileExists(dir / row.name)) << row.name;
    }
    EXPECT_TRUE(FileExists(dir / "ELSEWHERE") && FileExists(dir / "REFILLED\\new.tmp"));
    ::DeleteFileA((dir / "REFILLED\\new.tmp").c_str());
    RemoveWholeTree(dir / "LINKED");
}

}  // namespace
