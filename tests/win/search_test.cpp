// The search from the main window's start button to the listed results, on
// real trees: what is found, in which order, under which path, how the
// results window shows the walk, and how a walk is stopped.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/win/search_fixture.h"

using namespace win_test;

namespace {

// `dir` (ending with "\") followed by each name that `mask` matches in
// `path`, in the system's order.
Paths Matches(const std::string& dir, const std::string& path, const std::string& mask)
{
    Paths lines;
    for (const std::string& name : Enumerate(path, mask, false))
        lines.push_back(dir + name);
    return lines;
}

// A path as the directory field stores it.
std::string UpperCase(std::string path)
{
    ::CharUpperA(&path[0]);
    return path;
}

bool SameDirectory(const std::string& a, const std::string& b)
{
    std::string x = a, y = b;
    while (x.size() > 3 && x.back() == '\\')
        x.pop_back();
    while (y.size() > 3 && y.back() == '\\')
        y.pop_back();
    return lstrcmpiA(x.c_str(), y.c_str()) == 0;
}

using SearchTest = SearchFixture;

// ---- What is found, and in which order -------------------------------------

TEST_F(SearchTest, ResultsComeByDirectoryThenMaskThenDepthFirst)
{
    MakeFiles({"D1\\1.A", "D1\\1.B", "D1\\SubDir\\2.A", "D1\\SubDir\\X.B", "D2\\3.A", "D2\\SUB2\\4.A", "D3\\P\\p.A",
               "D3\\P\\PP\\pp.A", "D3\\Q\\q.A"});
    const std::string d1 = AddDir(PathOf("D1"), true);
    const std::string d2 = AddDir(PathOf("D2"), false);
    const std::string d1sub = AddDir(PathOf("D1\\SubDir"), false);
    const std::string d3 = AddDir(PathOf("D3"), true);
    AddMasks({"*.a", "*.b", "X*"});
    ASSERT_EQ(0, lstrcmpiA(PathOf("D1\\SUBDIR\\").c_str(), d1sub.c_str())) << d1sub;

    // D3's subdirectories come in the order the system lists them, each
    // with its own matches before those of its subdirectories.
    Paths d3Tree;
    std::string lastEntered;
    for (const std::string& sub : Enumerate(PathOf("D3"), "*", true)) {
        if (sub == "P") {
            Append(d3Tree, {d3 + "P\\p.A", d3 + "P\\PP\\pp.A"});
            lastEntered = PathOf("D3\\P\\PP");
        } else {
            d3Tree.push_back(d3 + "Q\\q.A");
            lastEntered = PathOf("D3\\Q");
        }
    }
    Paths expected = {
        d1 + "1.A",         d1 + "SubDir\\2.A",  // D1 with *.A; subdirectory names as the system spells them
        d1 + "1.B",         d1 + "SubDir\\X.B",  // D1 with *.B
        d1 + "SubDir\\X.B",                      // D1 with X*: the same file again
        d2 + "3.A",                              // D2 with *.A, without its subfolder
        d1sub + "2.A",      d1sub + "X.B",       // D1\SUBDIR as stored, with *.A and *.B
        d1sub + "X.B",                           // and with X*
    };
    Append(expected, d3Tree);

    Search();
    ExpectReady(expected);
    EXPECT_EQ(0u, boxes.Count());
    // The walk leaves the process in the last directory it entered.
    EXPECT_TRUE(SameDirectory(lastEntered, testing_support::CurrentDirectory())) << testing_support::CurrentDirectory();

    // Every match is a result of its own, with flags of its own.
    SetFlags(4, 0, 0);
    EXPECT_EQ(BST_CHECKED, BoxFor({3, 7, 8}, IDC_DELETE_THIS));
    EXPECT_EQ(BST_CHECKED, CheckOf(IDC_TO_RECYCLE));
}

TEST_F(SearchTest, HiddenSystemAndReadOnlyFilesAreFoundAndDirectoriesNever)
{
    const struct {
        const char* name;
        DWORD attributes;
    } files[] = {
        {"PLAIN.TXT", 0},
        {"HIDDEN.TXT", FILE_ATTRIBUTE_HIDDEN},
        {"SYSTEM.TXT", FILE_ATTRIBUTE_SYSTEM},
        {"READONLY.TXT", FILE_ATTRIBUTE_READONLY},
        {"ALL.TXT", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const auto& file : files) {
        std::string path = MakeFile(std::string("D\\") + file.name);
        if (file.attributes) {
            ASSERT_TRUE(::SetFileAttributesA(path.c_str(), file.attributes));
        }
        ASSERT_EQ(file.attributes, ::GetFileAttributesA(path.c_str()) & file.attributes) << file.name;
    }
    // A directory whose name the mask matches, with bits of its own.
    MakeFile("D\\FOLDER.TXT\\IN.TXT");
    const DWORD folderBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(::SetFileAttributesA(PathOf("D\\FOLDER.TXT").c_str(), folderBits));
    ASSERT_EQ(folderBits | FILE_ATTRIBUTE_DIRECTORY,
              ::GetFileAttributesA(PathOf("D\\FOLDER.TXT").c_str()) & (folderBits | FILE_ATTRIBUTE_DIRECTORY));

    const std::string d = AddDir(PathOf("D"), true);
    AddMask("*.TXT");
    Search();

    Paths expected = Matches(d, PathOf("D"), "*.TXT");
    ASSERT_EQ(5u, expected.size());
    // The directory's contents come from the subdirectory pass.
    expected.push_back(d + "FOLDER.TXT\\IN.TXT");
    ExpectReady(expected);
}

TEST_F(SearchTest, RootOfADrive)
{
    MakeFiles({"ROOTED\\ROOT.TXT", "ROOTED\\SUB1\\A.TXT", "ROOTED\\SUB2\\B.TXT", "ROOTED\\SUB2\\DEEP\\C.TXT"});
    MappedDrive drive(PathOf("ROOTED"), "ROOT.TXT");
    if (!drive.Ok())
        GTEST_SKIP() << "no drive letter could be mapped to " << PathOf("ROOTED");
    Finally leaveDrive{[&] { testing_support::ChangeDirectory(temp.Path()); }};

    // The status line is shown at drains: with every step slow, each poll drains.
    spy.SlowAlways();
    spy.statusTexts.clear();
    const std::string root = AddDir(drive.Drive() + "\\", true);
    ASSERT_EQ(drive.Drive() + "\\", root);
    AddMask("*.TXT");

    // Files of the root are root + name; after each subdirectory the walk's
    // string is cut back to the bare drive, and the next one is again
    // drive + "\" + name.
    Paths expected = {root + "ROOT.TXT"};
    Paths statuses = {root + kSearchingSuffix};
    for (const std::string& sub : Enumerate(drive.Drive(), "*", true)) {
        if (sub == "SUB1") {
            expected.push_back(root + "SUB1\\A.TXT");
            statuses.push_back(root + "SUB1" + kSearchingSuffix);
        } else {
            Append(expected, {root + "SUB2\\B.TXT", root + "SUB2\\DEEP\\C.TXT"});
            Append(statuses, {root + "SUB2" + kSearchingSuffix, root + "SUB2\\DEEP" + kSearchingSuffix});
        }
    }
    Append(statuses, {kListingStatus, kReadyStatus});

    Search();
    ExpectReady(expected);
    EXPECT_EQ(statuses, spy.statusTexts);
}

TEST_F(SearchTest, DirectoryNameEndingInACharacterWhoseSecondByteIsABackslash)
{
    ASSERT_EQ("\x95\x5C", std::string("表"));
    MakeFiles({"D\\DATA表\\F.TXT", "D\\DATA表\\SUB\\G.TXT", "D\\ZZZ\\H.TXT"});

    // D as the field stores it, then DATA表 without a closing separator, as
    // an older settings file can hold it.
    const std::string d = UpperCase(PathOf("D")) + "\\";
    const std::string bare = PathOf("D\\DATA表");
    StartFrom({{d, 1}, {bare, 0}}, {});
    spy.SlowAlways();
    spy.statusTexts.clear();
    // Entered in the field, it gets its separator.
    const std::string entered = AddDir(PathOf("D\\DATA表"), false);
    EXPECT_EQ(0, lstrcmpiA((bare + "\\").c_str(), entered.c_str())) << entered;
    AddMask("*.TXT");

    // D itself holds no match, so no poll shows it before DATA表 or ZZZ is entered.
    Paths expected;
    Paths statuses;
    for (const std::string& sub : Enumerate(PathOf("D"), "*", true)) {
        if (sub == "ZZZ") {
            expected.push_back(d + "ZZZ\\H.TXT");
            statuses.push_back(d + "ZZZ" + kSearchingSuffix);
        } else {
            Append(expected, {d + "DATA表\\F.TXT", d + "DATA表\\SUB\\G.TXT"});
            Append(statuses, {d + "DATA表" + kSearchingSuffix, d + "DATA表\\SUB" + kSearchingSuffix});
        }
    }
    Append(expected, {bare + "\\F.TXT", entered + "F.TXT"});
    Append(statuses, {bare + kSearchingSuffix, entered + kSearchingSuffix, kListingStatus, kReadyStatus});

    Search();
    ExpectReady(expected);
    EXPECT_EQ(statuses, spy.statusTexts);
}

TEST_F(SearchTest, MasksNamingAnotherDirectoryAreNotSearched)
{
    MakeFiles({"TOP.TXT", "D\\A.TXT", "D\\表紙.TXT", "D\\SUB\\B.TXT"});
    // The mask field refuses these; an older or damaged settings file can
    // hold them. "表*.TXT" holds the byte 0x5C only inside 表 and is a plain
    // mask; an empty one names no file.
    const std::string d = UpperCase(PathOf("D")) + "\\";
    std::vector<Entry> masks;
    for (const char* mask : {"SUB\\*.TXT", "*.TXT", "..\\*.TXT", "C:*.TXT", "SUB/*.TXT", "表*.TXT", ""})
        masks.push_back({mask, 0});
    StartFrom({{d, 0}}, masks);

    Paths expected = Matches(d, PathOf("D"), "*.TXT");
    expected.push_back(d + "表紙.TXT");
    Search();
    ExpectReady(expected);
}

TEST_F(SearchTest, RelativeDirectoryIsTakenFromTheStartUpDirectoryAndAnEmptyOneNamesNone)
{
    MakeFiles({"REL\\F.TXT", "ABS\\Y.TXT"});
    MakeFile("ABS\\REL\\DECOY.TXT");        // where a walk left in ABS would look
    MakeFile("ELSEWHERE\\REL\\DECOY.TXT");  // where the current directory points
    // Relative directories come only from older settings files. An empty
    // entry, which only a damaged one holds, is not the start-up directory:
    // nothing of that tree besides REL is listed.
    const std::string abs = UpperCase(PathOf("ABS")) + "\\";
    StartFrom({{abs, 0}, {"REL\\", 0}, {"REL", 0}, {"", 1}}, {{"*.TXT", 0}});
    ASSERT_TRUE(testing_support::ChangeDirectory(PathOf("ELSEWHERE")));

    Search();
    ExpectReady({abs + "Y.TXT", PathOf("REL\\F.TXT"), PathOf("REL\\F.TXT")});
}

// Added from a current directory the code page cannot spell, a relative
// directory is refused, and the current directory stays where it was.
TEST_F(SearchTest, ARefusedRelativeDirectoryLeavesTheCurrentDirectory)
{
    const std::wstring cafe = testing_support::Wide932(temp.Path()) + L"\\caf\u00e9";
    ASSERT_TRUE(::CreateDirectoryW(cafe.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((cafe + L"\\SUB").c_str(), nullptr));
    ASSERT_TRUE(::SetCurrentDirectoryW(cafe.c_str()));
    Finally leave{[&] { testing_support::ChangeDirectory(temp.Path()); }};
    ::SetWindowTextA(MainControl(IDC_DIR_EDIT), "SUB");
    ClickMain(IDC_ADD_DIR);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(kDirUnspellable, boxes.Last().text);
    EXPECT_TRUE(ListItems(MainControl(IDC_DIR_LIST)).empty());
    wchar_t now[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, now);
    EXPECT_TRUE(cafe == now);
}

// Each of these names has a short name under Wine, and on Windows wherever
// short names are made ("*.TMP" would take REPORT~1.TMP); the DOS forms of a
// mask follow Windows' rules, also where Wine's own differ.
TEST_F(SearchTest, AMaskTakesAFileByItsOwnNameOnly)
{
    // Two more for the list's width: the widest line in pixels is not the
    // one with the most characters.
    for (const char* name : {"a.tmp", "B.TMP", "report.tmp_keep", "page.html", "p.htm", "thesis.bakup", "c.bak", "noext",
                             "WWWWWWWWWW.tmp", "iiiiiiiiiiiiiiiiiiii.tmp"})
        MakeFile(std::string("D\\") + name);
    const std::string d = AddDir(PathOf("D"), false);
    const struct {
        const char* mask;
        std::set<std::string> takes;
    } rows[] = {
        {"*.tmp", {"a.tmp", "B.TMP", "WWWWWWWWWW.tmp", "iiiiiiiiiiiiiiiiiiii.tmp"}},
        {"*.bak", {"c.bak"}},
        {"*.htm", {"p.htm"}},
        {"*.", {"noext"}},
        {"????.*", {"a.tmp", "B.TMP", "page.html", "p.htm", "c.bak"}},
        {"*.tmp?", {"a.tmp", "B.TMP", "WWWWWWWWWW.tmp", "iiiiiiiiiiiiiiiiiiii.tmp"}},
    };
    Paths expected;
    for (const auto& row : rows) {
        AddMask(row.mask);
        for (const std::string& name : Enumerate(PathOf("D"), "*", false)) {
            if (row.takes.count(name))
                expected.push_back(d + name);
        }
    }
    Search();
    ExpectReady(expected);
}

TEST_F(SearchTest, LinkedDirectoriesAreNotFollowed)
{
    MakeFiles({"D\\F.TXT", "D\\SUB\\G.TXT", "OUTSIDE\\X.TXT"});
    Finally removeLinks{[&] { RemoveWholeTree(PathOf("D")); }};
    if (!MakeDirectoryLink(PathOf("D\\OUT"), PathOf("OUTSIDE")) || !MakeDirectoryLink(PathOf("D\\SUB\\LOOP"), PathOf("D")))
        GTEST_SKIP() << "no directory link could be made";
    const DWORD linkBits = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    ASSERT_EQ(linkBits, ::GetFileAttributesA(PathOf("D\\OUT").c_str()) & linkBits);
    ASSERT_EQ(linkBits, ::GetFileAttributesA(PathOf("D\\SUB\\LOOP").c_str()) & linkBits);

    const std::string d = AddDir(PathOf("D"), true);
    AddMask("*.TXT");
    Search();
    // Neither the tree outside nor the loop back to D is walked.
    ExpectReady({d + "F.TXT", d + "SUB\\G.TXT"});
}

TEST_F(SearchTest, TreesBeyondMaxPathAreListedAtEveryDepth)
{
    // Folders whose paths are longer than MAX_PATH, made through the verbatim
    // form, with a file in each; the search leaves the process in the last
    // folder it entered that can be a current directory.
    const std::string shallow = "D\\" + std::string(120, 'A');
    MakeFile(shallow + "\\G.TXT");
    std::string deep = PathOf(shallow);
    Finally removeDeep{[&] {
        testing_support::ChangeDirectory(temp.Path());
        RemoveWholeTree(PathOf("D"));
    }};
    std::string below;
    for (const char name : {'B', 'C', 'D'}) {
        below += "\\" + std::string(name == 'B' ? 150 : 100, name);
        const std::wstring wide = L"\\\\?\\" + testing_support::Wide932(deep + below);
        ASSERT_TRUE(::CreateDirectoryW(wide.c_str(), nullptr));
        ASSERT_TRUE(::CloseHandle(::CreateFileW((wide + L"\\F.TXT").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    }
    ASSERT_GT(deep.size() + below.size(), 400u);

    const std::string d = AddDir(PathOf("D"), true);
    AddMask("*.TXT");
    Search();
    const std::string a = d + std::string(120, 'A');
    const std::string b = a + "\\" + std::string(150, 'B');
    const std::string c = b + "\\" + std::string(100, 'C');
    ExpectReady({a + "\\G.TXT", b + "\\F.TXT", c + "\\F.TXT", c + "\\" + std::string(100, 'D') + "\\F.TXT"});
    EXPECT_TRUE(SameDirectory(PathOf(shallow), testing_support::CurrentDirectory())) << testing_support::CurrentDirectory();

    // Typed, such a folder is taken at its whole length; it cannot be the
    // current directory, which stays where it was.
    Results().DestroyWindow();
    EXPECT_EQ(UpperCase(c) + "\\", AddDir(c, false));
    EXPECT_EQ(0u, boxes.Count());
    EXPECT_TRUE(SameDirectory(PathOf(shallow), testing_support::CurrentDirectory())) << testing_support::CurrentDirectory();
}

// ---- The nothing-found state -----------------------------------------------

enum class Empty { NoDirectories, NoMasks, MissingDirectory, NoMatch };

struct EmptyRow {
    const char* name;
    Empty kind;
};

class NothingFoundTest : public SearchFixture, public ::testing::WithParamInterface<EmptyRow> {};

TEST_P(NothingFoundTest, ShowsTheNothingFoundState)
{
    MakeFile("D\\A.TXT");
    std::string d;
    const Empty kind = GetParam().kind;
    if (kind != Empty::NoDirectories)
        d = AddDir(PathOf("D"), true);
    if (kind != Empty::NoMasks)
        AddMask(kind == Empty::NoMatch ? "*.NONE" : "*.TXT");
    if (kind == Empty::MissingDirectory) {
        testing_support::ChangeDirectory(temp.Path());
        testing_support::RemoveTree(PathOf("D"));
        ASSERT_FALSE(FileExists(PathOf("D")));
    }
    spy.statusTexts.clear();
    Search();
    ExpectNothingFound();
    EXPECT_EQ(0u, boxes.Count());
    // Only a directory that was entered is named.
    Paths statuses;
    if (kind == Empty::NoMatch)
        statuses.push_back(d + kSearchingSuffix);
    Append(statuses, {kListingStatus, kNothingStatus});
    EXPECT_EQ(statuses, spy.statusTexts);
}

INSTANTIATE_TEST_SUITE_P(Patterns, NothingFoundTest,
                         ::testing::Values(EmptyRow{"NoDirectories", Empty::NoDirectories}, EmptyRow{"NoMasks", Empty::NoMasks},
                                           EmptyRow{"MissingDirectory", Empty::MissingDirectory},
                                           EmptyRow{"NothingMatches", Empty::NoMatch}),
                         [](const ::testing::TestParamInfo<EmptyRow>& info) { return std::string(info.param.name); });

// ---- Progress and status while walking -------------------------------------

struct ScheduleRow {
    const char* name;
    std::vector<int> filesPerDirectory;
    // The range's maximum seen at a drain right after the count reached
    // the first number.
    std::vector<std::pair<int, int>> maximumAtCount;
};

class ProgressScheduleTest : public SearchFixture, public ::testing::WithParamInterface<ScheduleRow> {};

TEST_P(ProgressScheduleTest, RangeWidensOnlyWhenADirectoryIsEnteredAtAScheduledCount)
{
    const ScheduleRow& row = GetParam();
    Paths expected;
    for (size_t i = 0; i < row.filesPerDirectory.size(); ++i) {
        std::string dir = "S" + std::to_string(i);
        for (int f = 0; f < row.filesPerDirectory[i]; ++f) {
            char name[16];
            std::sprintf(name, "\\F%03d.TXT", f);
            MakeFile(dir + name);
        }
        Append(expected, Matches(AddDir(PathOf(dir), false), PathOf(dir), "*.TXT"));
    }
    AddMask("*.TXT");

    struct Sample {
        ProgressState bar;
        std::string maxText;
    };
    std::map<int, Sample> samples;
    std::set<int> wanted;
    for (const auto& at : row.maximumAtCount)
        wanted.insert(at.first);
    spy.statusTexts.clear();
    // Slowed only while walking (the listing disables the button), once for
    // each count at which the entry about to be read can make a wanted one.
    int lastSlowed = -1;
    spy.slow = [&] {
        int count = Results().GetResultCount();
        if (count == lastSlowed || !(wanted.count(count) || wanted.count(count + 1)) || !Enabled(IDC_ACTION))
            return false;
        lastSlowed = count;
        return true;
    };
    EachDrain([&] {
        if (!ResultsWindow() || Text(IDC_STATUS) == kListingStatus)
            return false;
        int count = Results().GetResultCount();
        if (!samples.count(count))
            samples[count] = Sample{Bar(), Text(IDC_PROGRESS_MAX)};
        return true;
    });
    Search();
    CancelDrainSteps();

    for (const auto& at : row.maximumAtCount) {
        SCOPED_TRACE("count " + std::to_string(at.first));
        auto it = samples.find(at.first);
        ASSERT_NE(samples.end(), it) << "no drain at this count";
        EXPECT_EQ(0, it->second.bar.low);
        EXPECT_EQ(at.second, it->second.bar.high);
        EXPECT_EQ(std::to_string(at.second), it->second.maxText);
        // The walk sets the position to the count plus one; the bar shows
        // at most its maximum.
        EXPECT_EQ(std::min(at.first + 1, at.second), it->second.bar.pos);
    }
    // The listing then shows the whole count.
    ExpectReady(expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ProgressScheduleTest,
    ::testing::Values(
        ScheduleRow{"Passing100InsideTheFirstDirectory", {150, 10, 1}, {{101, 100}, {150, 100}, {151, 100}, {161, 100}}},
        ScheduleRow{"Exactly100ThenExactly300", {100, 200, 1}, {{100, 100}, {101, 300}, {300, 300}, {301, 500}}},
        ScheduleRow{"Reaching100InALaterDirectory", {99, 1, 1}, {{99, 100}, {100, 100}, {101, 300}}}),
    [](const ::testing::TestParamInfo<ScheduleRow>& info) { return std::string(info.param.name); });

TEST_F(SearchTest, StatusLineNamesADirectoryOnlyWhenItChanges)
{
    MakeFiles({"D\\A.TXT", "D\\B.LOG", "D\\C.TXT"});
    const std::string d = AddDir(PathOf("D"), false);
    AddMasks({"*.TXT", "*.LOG"});
    Paths expected = Matches(d, PathOf("D"), "*.TXT");
    expected.push_back(d + "B.LOG");
    {
        spy.statusTexts.clear();
        Search();
        ExpectReady(expected);
        // The walk comes to D once for each mask; the line names it once.
        EXPECT_EQ((Paths{d + kSearchingSuffix, kListingStatus, kReadyStatus}), spy.statusTexts);
    }
    {
        // The next search enters the same directory first: the new window
        // keeps its template's line until the listing.
        spy.statusTexts.clear();
        spy.SlowAlways();
        Paths seen;
        EachDrain([&] {
            if (!ResultsWindow() || Text(IDC_STATUS) == kListingStatus)
                return false;
            seen.push_back(Text(IDC_STATUS));
            return true;
        });
        Search();
        CancelDrainSteps();
        ExpectReady(expected);
        EXPECT_EQ((Paths{kListingStatus, kReadyStatus}), spy.statusTexts);
        ASSERT_FALSE(seen.empty());
        for (const std::string& text : seen)
            EXPECT_EQ(kTemplateStatus, text);
    }
}

// ---- Stopping a search -----------------------------------------------------

// A pattern of two directories and two masks, D with a subdirectory.
class StopTest : public SearchFixture {
protected:
    void SetUp() override
    {
        SearchFixture::SetUp();
        for (int i = 0; i < 8; ++i)
            MakeFile("D\\F" + std::to_string(i) + ".TXT");
        MakeFiles({"D\\SUB\\G.TXT", "D\\L.LOG", "E\\H.TXT"});
        d = AddDir(PathOf("D"), true);
        e = AddDir(PathOf("E"), false);
        AddMasks({"*.TXT", "*.LOG"});
        all = Matches(d, PathOf("D"), "*.TXT");
        Append(all, {d + "SUB\\G.TXT", d + "L.LOG", e + "H.TXT"});
        spy.SlowAlways();
        spy.statusTexts.clear();
    }
    bool Listing(int lines)
    {
        return ResultsWindow() && !Results().IsStopRequested() && Text(IDC_STATUS) == kListingStatus &&
               static_cast<int>(Lines().size()) >= lines;
    }
    void ExpectStopQuestion(const RecordedBox& box) { ExpectQuestion(box, kWarning, kStopQuestion, main->m_hWnd); }
    // The main window as before: usable, and its search can start again.
    void ExpectMainUsable()
    {
        EXPECT_TRUE(::IsWindowVisible(main->m_hWnd));
        EXPECT_TRUE(::IsWindowEnabled(main->m_hWnd));
        EXPECT_TRUE(::IsWindowEnabled(MainControl(IDC_START_SEARCH)));
    }

    std::string d, e;
    Paths all;
};

TEST_F(StopTest, AnsweredNoTheWalkGoesOnAndAFurtherRequestAsksAgain)
{
    int asked = 0;
    boxes.onBox = [&](const RecordedBox& box) {
        ++asked;
        // The question is owned by the main window: the results window stays usable.
        EXPECT_TRUE(Results().IsStopRequested());
        EXPECT_TRUE(::IsWindowEnabled(ResultsWindow()));
        ExpectStopQuestion(box);
    };
    AtDrain([&] { return Walking() && Results().GetResultCount() == 3; }, [&] { Click(IDC_ACTION); });
    AtDrain([&] { return Walking() && Results().GetResultCount() == 6; },
            [&] {
                EXPECT_EQ(1, asked);
                Click(IDC_ACTION);
            });
    Search();
    EXPECT_EQ(2, asked);
    ExpectReady(all);
}

TEST_F(StopTest, AnsweredYesNothingMoreIsSearchedAndTheWindowGoes)
{
    boxes.Answer(IDYES);
    HWND window = nullptr;
    AtDrain([&] { return Walking() && Results().GetResultCount() == 3; },
            [&] {
                window = ResultsWindow();
                Click(IDC_ACTION);
            });
    Search();
    ASSERT_EQ(1u, boxes.Count());
    ExpectStopQuestion(boxes.Last());
    EXPECT_EQ(nullptr, ResultsWindow());
    EXPECT_FALSE(::IsWindow(window));
    // No further entry, subdirectory, mask or directory.
    EXPECT_EQ(3, Results().GetResultCount());
    EXPECT_EQ(Paths{d + kSearchingSuffix}, spy.statusTexts);
    EXPECT_FALSE(Results().IsStopRequested());
    ExpectMainUsable();
}

struct CloseRow {
    const char* name;
    bool listing;   // else walking
    bool byButton;  // else the close box
    int answer;
};

class ClosedUnderTheQuestionTest : public StopTest, public ::testing::WithParamInterface<CloseRow> {};

TEST_P(ClosedUnderTheQuestionTest, EndsTheSearchCleanly)
{
    const CloseRow& row = GetParam();
    boxes.Answer(row.answer);
    bool closed = false;
    boxes.onBox = [&](const RecordedBox&) {
        if (closed)
            return;
        closed = true;
        // A stop is asked for: the button and the close box destroy the window.
        ASSERT_TRUE(Results().IsStopRequested());
        if (row.byButton)
            Click(IDC_ACTION);
        else
            ::SendMessageA(ResultsWindow(), WM_CLOSE, 0, 0);
        EXPECT_EQ(nullptr, ResultsWindow());
    };
    AtDrain([&] { return row.listing ? Listing(3) : Walking() && Results().GetResultCount() == 3; },
            [&] {
                // While listing the button is disabled: only the close box asks.
                if (row.byButton)
                    Click(IDC_ACTION);
                else
                    ::SendMessageA(ResultsWindow(), WM_CLOSE, 0, 0);
            });
    Search();
    ASSERT_TRUE(closed);
    ASSERT_EQ(1u, boxes.Count());
    ExpectStopQuestion(boxes.Last());
    EXPECT_EQ(nullptr, ResultsWindow());
    ExpectMainUsable();

    // The program goes on: the next search runs as ever.
    spy.slow = nullptr;
    Search();
    ExpectReady(all);
}

INSTANTIATE_TEST_SUITE_P(Phases, ClosedUnderTheQuestionTest,
                         ::testing::Values(CloseRow{"WalkingByButtonAnsweredNo", false, true, IDNO},
                                           CloseRow{"WalkingByCloseBoxAnsweredYes", false, false, IDYES},
                                           CloseRow{"ListingByCloseBoxAnsweredNo", true, false, IDNO},
                                           CloseRow{"ListingByCloseBoxAnsweredYes", true, false, IDYES}),
                         [](const ::testing::TestParamInfo<CloseRow>& info) { return std::string(info.param.name); });

TEST_F(StopTest, ConfirmedWhileListingKeepsExactlyTheListedLines)
{
    boxes.Answer(IDYES);
    int listed = 0;
    AtDrain([&] { return Listing(3); },
            [&] {
                EXPECT_FALSE(Enabled(IDC_ACTION));
                listed = static_cast<int>(Lines().size());
                ::SendMessageA(ResultsWindow(), WM_CLOSE, 0, 0);
            });
    Search();
    ASSERT_EQ(1u, boxes.Count());
    ExpectStopQuestion(boxes.Last());
    ASSERT_GE(listed, 3);
    ASSERT_LT(listed, static_cast<int>(all.size()));

    // Every stored result has its line; nothing unlisted is a result.
    const Paths listedLines(all.begin(), all.begin() + listed);
    EXPECT_EQ(listed, Results().GetResultCount());
    ExpectReady(listedLines);

    // The pass deletes what was listed and nothing else.
    spy.slow = nullptr;
    SelectAll();
    Click(IDC_TO_RECYCLE);
    Click(IDC_ACTION);
    ExpectDone(WithMark(listedLines, kDeletedMark), listed - 1);
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(static_cast<int>(i) >= listed, FileExists(all[i])) << all[i];
}

TEST_F(StopTest, SecondSearchAndPatternChangesAreRefusedWhileOneRuns)
{
    spy.slow = [&] { return Results().GetResultCount() <= 3; };
    HWND window = nullptr;
    bool tried = false;
    AtDrain([&] { return Walking() && Results().GetResultCount() == 2; },
            [&] {
                tried = true;
                window = ResultsWindow();
                ExpectPatternCommandsLocked(true);
                main->OnStartSearch();
                // The running search is not disturbed.
                EXPECT_EQ(window, ResultsWindow());
                EXPECT_EQ(2, Results().GetResultCount());
                EXPECT_FALSE(Results().IsStopRequested());
            });
    Search();
    ASSERT_TRUE(tried);
    EXPECT_EQ(window, ResultsWindow());
    ExpectReady(all);
    EXPECT_EQ(0u, boxes.Count());
    ExpectPatternCommandsLocked(false);
}

struct QuitRow {
    const char* name;
    int quitAnswer;
};

class QuitDuringSearchTest : public StopTest, public ::testing::WithParamInterface<QuitRow> {};

TEST_P(QuitDuringSearchTest, AsksAndEndsTheSearchOnYes)
{
    const bool quit = GetParam().quitAnswer == IDYES;
    ASSERT_TRUE(Dirty());  // the pattern was entered and not saved
    boxes.Answer(IDNO).Answer(GetParam().quitAnswer);
    AtDrain([&] { return Walking() && Results().GetResultCount() == 2; }, [&] { ClickMain(IDCANCEL); });
    Search();

    ASSERT_EQ(2u, boxes.Count());
    ExpectQuestion(boxes.Boxes()[0], kConfirm, kSaveQuestion, main->m_hWnd);
    ExpectQuestion(boxes.Boxes()[1], kConfirm, kQuitQuestion, main->m_hWnd);
    EXPECT_FALSE(FileExists(PathOf(kSettingsFile)));
    if (quit) {
        // Ended as after a confirmed stop, and the main window's dialog ended.
        EXPECT_EQ(nullptr, ResultsWindow());
        EXPECT_EQ(2, Results().GetResultCount());
        EXPECT_FALSE(::IsWindowVisible(main->m_hWnd));
    } else {
        ExpectReady(all);
        EXPECT_TRUE(::IsWindowVisible(main->m_hWnd));
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, QuitDuringSearchTest, ::testing::Values(QuitRow{"Yes", IDYES}, QuitRow{"No", IDNO}),
                         [](const ::testing::TestParamInfo<QuitRow>& info) { return std::string(info.param.name); });

// ---- A window left from the last search ------------------------------------

struct OwnedWindows {
    HWND owner;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectOwned(HWND window, LPARAM param)
{
    OwnedWindows* found = reinterpret_cast<OwnedWindows*>(param);
    if (::GetWindow(window, GW_OWNER) == found->owner)
        found->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOwnedBy(HWND owner)
{
    OwnedWindows found{owner, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

TEST_F(SearchTest, NewSearchDestroysTheWindowLeftOpenOrHidden)
{
    MakeFile("D\\A.TXT");
    const std::string d = AddDir(PathOf("D"), false);
    AddMask("*.TXT");
    Search();
    HWND first = ResultsWindow();
    ExpectReady({d + "A.TXT"});

    Search();
    HWND second = ResultsWindow();
    EXPECT_FALSE(::IsWindow(first));
    ExpectReady({d + "A.TXT"});

    // Escape only hides the window.
    PressDialogKey(second, VK_ESCAPE);
    ASSERT_TRUE(::IsWindow(second));
    ASSERT_FALSE(::IsWindowVisible(second));
    Search();
    EXPECT_FALSE(::IsWindow(second));
    ExpectReady({d + "A.TXT"});
    EXPECT_EQ(std::vector<HWND>{ResultsWindow()}, WindowsOwnedBy(main->m_hWnd));
}

// ---- The limit of the result set --------------------------------------------

TEST_F(SearchTest, StopsAt64000ResultsListsThemAllAndAppliesEverySelection)
{
    const int files = MAX_RESULTS + 1;
    // Watching every message would cost a round trip to Wine's server each.
    spy.Stop();
    MakeDir("BIG");
    Finally removeBig{[&] {
        testing_support::ChangeDirectory(temp.Path());
        RemoveWholeTree(PathOf("BIG"));
    }};
    ASSERT_TRUE(MakeNumberedFiles(PathOf("BIG"), files));
    const std::string big = AddDir(PathOf("BIG"), false);
    AddMask("*.DAT");
    Search();

    // The 64001st match is not stored; the 64000 before it are listed, ready
    // to delete, under a status that says where the search stopped.
    ASSERT_EQ(MAX_RESULTS, Results().GetResultCount());
    const ResultsState listed = State();
    const Paths& lines = listed.lines;
    ASSERT_EQ(static_cast<size_t>(MAX_RESULTS), lines.size());
    EXPECT_EQ(lines.size(), std::set<std::string>(lines.begin(), lines.end()).size());
    const Paths enumerated = Matches(big, PathOf("BIG"), "*.DAT");
    ASSERT_EQ(static_cast<size_t>(files), enumerated.size());
    EXPECT_TRUE(std::equal(lines.begin(), lines.end(), enumerated.begin()));
    EXPECT_NE(std::string::npos, listed.status.find("64000")) << listed.status;
    EXPECT_NE(kReadyStatus, listed.status);
    ResultsState ready = ReadyState(lines);
    ready.status = listed.status;
    EXPECT_EQ(ready, listed);
    EXPECT_EQ("64000", listed.maxText);
    EXPECT_EQ(std::vector<int>{0}, Selection());
    EXPECT_EQ(0u, boxes.Count());

    // A selection larger than one fetch of selected lines once took (32,000):
    // a line beyond that many shows in the boxes, and a click reaches every
    // selected line.
    const int beyond = 32000 + 8000;
    SetFlags(beyond, 0, 1);
    SelectAll();
    EXPECT_EQ(BST_INDETERMINATE, CheckOf(IDC_DELETE_THIS));
    EXPECT_EQ(BST_CHECKED, CheckOf(IDC_TO_RECYCLE));
    Click(IDC_DELETE_THIS);
    EXPECT_EQ(BST_UNCHECKED, CheckOf(IDC_DELETE_THIS));
    Click(IDC_TO_RECYCLE);
    EXPECT_EQ(BST_UNCHECKED, CheckOf(IDC_TO_RECYCLE));
    // Read afresh from every line's flags.
    SelectAll();
    EXPECT_EQ(BST_UNCHECKED, CheckOf(IDC_DELETE_THIS));
    EXPECT_EQ(BST_UNCHECKED, CheckOf(IDC_TO_RECYCLE));
    Click(IDC_DELETE_THIS);
    SelectAll();
    EXPECT_EQ(BST_CHECKED, CheckOf(IDC_DELETE_THIS));
    Click(IDC_DELETE_THIS);
    SelectAll();
    EXPECT_EQ(BST_UNCHECKED, CheckOf(IDC_DELETE_THIS));

    // The last listed file can be deleted, and only it.
    const int last = MAX_RESULTS - 1;
    SetFlags(last, 1, 0);
    Click(IDC_ACTION);
    Paths done = lines;
    done[last] += kDeletedMark;
    ExpectDone(done, last);
    EXPECT_FALSE(FileExists(lines[last]));
    EXPECT_TRUE(FileExists(lines[0]));
    EXPECT_TRUE(FileExists(enumerated[MAX_RESULTS]));
}

}  // namespace
