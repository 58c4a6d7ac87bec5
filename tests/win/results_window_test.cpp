// The results window as the user drives it: the two three-state boxes over
// a selection of lines, and what the action button, the close box, Enter and
// Escape do in every state the window can be in.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/dpi_scale.h"
#include "tests/win/search_fixture.h"

using namespace win_test;

namespace {

// ---- The three-state boxes -------------------------------------------------

struct BoxRow {
    const char* name;
    std::vector<int> clearedBefore;  // lines whose flag is cleared first
    std::vector<int> selection;
    int shownOnSelection;  // the box under test once the lines are selected
    std::vector<int> shownAfterClick;
    std::vector<std::vector<int>> flagsAfterClick;  // lines 0 to 3
};

const BoxRow kBoxRows[] = {
    // A click on a checked box clears the line's flag and shows it unchecked,
    // never indeterminate.
    {"OneLine", {}, {1}, BST_CHECKED, {BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED}, {{1, 0, 1, 1}, {1, 1, 1, 1}, {1, 0, 1, 1}}},
    {"TwoLinesThatDiffer",
     {2},
     {1, 2},
     BST_INDETERMINATE,
     {BST_UNCHECKED, BST_CHECKED, BST_UNCHECKED},
     {{1, 0, 0, 1}, {1, 1, 1, 1}, {1, 0, 0, 1}}},
    {"TwoLinesAlike", {0, 3}, {0, 3}, BST_UNCHECKED, {BST_CHECKED, BST_UNCHECKED}, {{1, 1, 1, 1}, {0, 1, 1, 0}}},
    // With nothing selected both boxes show unchecked and a click changes no
    // flag; the indeterminate state the click would give is put back.
    {"NoLine", {2}, {}, BST_UNCHECKED, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}, {{1, 1, 0, 1}, {1, 1, 0, 1}, {1, 1, 0, 1}}},
};

class ThreeStateBoxTest : public SearchFixture, public ::testing::WithParamInterface<std::tuple<BoxRow, int>> {};

TEST_P(ThreeStateBoxTest, ClicksActOnEverySelectedLine)
{
    const BoxRow& row = std::get<0>(GetParam());
    const int box = std::get<1>(GetParam());
    const int other = box == IDC_DELETE_THIS ? IDC_TO_RECYCLE : IDC_DELETE_THIS;

    for (int i = 0; i < 4; ++i)
        MakeFile("D\\F" + std::to_string(i) + ".TXT");
    AddDir(PathOf("D"), false);
    AddMask("*.TXT");
    Search();
    ASSERT_EQ(4, Results().GetResultCount());
    for (int line : row.clearedBefore)
        SetFlags(line, box == IDC_DELETE_THIS ? 0 : 1, box == IDC_TO_RECYCLE ? 0 : 1);

    Select(row.selection);
    EXPECT_EQ(row.selection, Selection());
    EXPECT_EQ(row.shownOnSelection, CheckOf(box));
    const int otherShown = row.selection.empty() ? BST_UNCHECKED : BST_CHECKED;
    EXPECT_EQ(otherShown, CheckOf(other));
    for (size_t click = 0; click < row.shownAfterClick.size(); ++click) {
        SCOPED_TRACE("click " + std::to_string(click + 1));
        Click(box);
        EXPECT_EQ(row.shownAfterClick[click], CheckOf(box));
        // The other box and its flags stay as they were.
        EXPECT_EQ(otherShown, CheckOf(other));
        EXPECT_EQ(row.flagsAfterClick[click], LineFlags(box, 4));
        EXPECT_EQ(std::vector<int>(4, 1), LineFlags(other, 4));
    }
}

INSTANTIATE_TEST_SUITE_P(Selections, ThreeStateBoxTest,
                         ::testing::Combine(::testing::ValuesIn(kBoxRows), ::testing::Values(IDC_DELETE_THIS, IDC_TO_RECYCLE)),
                         [](const ::testing::TestParamInfo<std::tuple<BoxRow, int>>& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == IDC_DELETE_THIS ? "_DeleteBox" : "_RecycleBox");
                         });

// ---- The state table -------------------------------------------------------

enum class State { Searching, StopRequested, Listing, Ready, NothingFound, Deleting, Done };
// Keys reach the window through a drain of the program's loops, or through
// the dialog handling of a modal loop that runs meanwhile (the About box's).
enum class Input { Button, CloseBox, Enter, Escape, EnterInModalLoop, EscapeInModalLoop };
enum class Effect {
    None,         // the phase goes on as if nothing happened
    StopRequest,  // the stop question (answered No: the search goes on)
    Destroys,
    Hides,
    StartsPass,
    Interrupt,  // the interrupt question (answered No: the pass goes on)
    Disabled,   // the button cannot be pressed
};

struct Cell {
    State state;
    Input input;
    Effect effect;
};

const char* const kStateNames[] = {"Searching", "StopRequested", "Listing", "Ready", "NothingFound", "Deleting", "Done"};
const char* const kInputNames[] = {"Button", "CloseBox", "Enter", "Escape", "EnterInModalLoop", "EscapeInModalLoop"};

const Cell kCells[] = {
    {State::Searching, Input::Button, Effect::StopRequest},
    {State::Searching, Input::CloseBox, Effect::StopRequest},
    {State::Searching, Input::Enter, Effect::None},
    {State::Searching, Input::Escape, Effect::None},
    {State::Searching, Input::EnterInModalLoop, Effect::None},
    {State::Searching, Input::EscapeInModalLoop, Effect::None},
    {State::StopRequested, Input::Button, Effect::Destroys},
    {State::StopRequested, Input::CloseBox, Effect::Destroys},
    {State::StopRequested, Input::Enter, Effect::None},
    {State::StopRequested, Input::Escape, Effect::None},
    {State::Listing, Input::Button, Effect::Disabled},
    {State::Listing, Input::CloseBox, Effect::StopRequest},
    {State::Listing, Input::Enter, Effect::None},
    {State::Listing, Input::Escape, Effect::None},
    {State::Listing, Input::EnterInModalLoop, Effect::None},
    {State::Listing, Input::EscapeInModalLoop, Effect::None},
    {State::Ready, Input::Button, Effect::StartsPass},
    {State::Ready, Input::CloseBox, Effect::Destroys},
    {State::Ready, Input::Enter, Effect::StartsPass},
    {State::Ready, Input::Escape, Effect::Hides},
    {State::NothingFound, Input::Button, Effect::Destroys},
    {State::NothingFound, Input::CloseBox, Effect::Destroys},
    {State::NothingFound, Input::Enter, Effect::Destroys},
    {State::NothingFound, Input::Escape, Effect::Hides},
    {State::Deleting, Input::Button, Effect::Interrupt},
    {State::Deleting, Input::CloseBox, Effect::Interrupt},
    {State::Deleting, Input::Enter, Effect::None},
    {State::Deleting, Input::Escape, Effect::None},
    {State::Done, Input::Button, Effect::Destroys},
    {State::Done, Input::CloseBox, Effect::Destroys},
    {State::Done, Input::Enter, Effect::Destroys},
    {State::Done, Input::Escape, Effect::Hides},
};

class StateTableTest : public SearchFixture, public ::testing::WithParamInterface<Cell> {
protected:
    void SetUp() override
    {
        SearchFixture::SetUp();
        for (int i = 0; i < 4; ++i)
            MakeFile("D\\F" + std::to_string(i) + ".TXT");
        const std::string d = AddDir(PathOf("D"), false);
        AddMask(GetParam().state == State::NothingFound ? "*.NONE" : "*.TXT");
        for (const std::string& name : Enumerate(PathOf("D"), "*.TXT", false))
            files.push_back(d + name);
    }

    bool Marked(int line) { return Line(line).size() > files[static_cast<size_t>(line)].size(); }
    // Every file deleted and its line marked so; the pass handled the last.
    void ExpectAllDeleted()
    {
        ExpectDone(WithMark(files, kDeletedMark), static_cast<int>(files.size()) - 1);
        for (const std::string& file : files)
            EXPECT_FALSE(FileExists(file)) << file;
    }

    // The user's input. Inside a loop of the program keys reach the focused
    // control through its drain; otherwise the modal loop's dialog keyboard
    // handling sees them.
    void Apply(bool insideLoop)
    {
        window = ResultsWindow();
        switch (GetParam().input) {
        case Input::Button:
            if (!Enabled(IDC_ACTION)) {
                buttonDisabled = true;
                return;
            }
            Click(IDC_ACTION);
            break;
        case Input::CloseBox:
            ::SendMessageA(window, WM_CLOSE, 0, 0);
            break;
        case Input::Enter:
        case Input::Escape: {
            WPARAM key = GetParam().input == Input::Enter ? VK_RETURN : VK_ESCAPE;
            if (insideLoop)
                PostKeyToFocus(window, key);
            else
                PressDialogKey(window, key);
            break;
        }
        case Input::EnterInModalLoop:
        case Input::EscapeInModalLoop:
            PressDialogKey(window, GetParam().input == Input::EnterInModalLoop ? VK_RETURN : VK_ESCAPE);
            break;
        }
        applied = true;
    }

    Paths files;
    HWND window = nullptr;
    bool applied = false;
    bool buttonDisabled = false;
};

TEST_P(StateTableTest, UserInput)
{
    const Cell& cell = GetParam();
    switch (cell.state) {
    case State::Searching:
        spy.SlowAlways();
        AtDrain([&] { return Walking() && Results().GetResultCount() == 2; }, [&] { Apply(true); });
        Search();
        break;
    case State::StopRequested:
        spy.SlowAlways();
        AtDrain([&] { return Walking() && Results().GetResultCount() == 2; }, [&] { Click(IDC_ACTION); });
        boxes.onBox = [&](const RecordedBox&) {
            if (window)
                return;
            ASSERT_TRUE(Results().IsStopRequested());
            Apply(true);
            // The question's own loop dispatches what reaches the window.
            PumpPending();
        };
        Search();
        break;
    case State::Listing:
        spy.SlowAlways();
        AtDrain([&] { return ResultsWindow() && Text(IDC_STATUS) == kListingStatus && Lines().size() >= 2; },
                [&] { Apply(true); });
        Search();
        break;
    case State::Ready:
        Search();
        ExpectReady(files);
        // Deleted permanently, so the test leaves the Recycle Bin alone.
        SelectAll();
        Click(IDC_TO_RECYCLE);
        Apply(false);
        break;
    case State::NothingFound:
        Search();
        ExpectNothingFound();
        Apply(false);
        break;
    case State::Deleting:
        Search();
        SelectAll();
        Click(IDC_TO_RECYCLE);
        spy.SlowAlways();
        AtDrain([&] { return Results().IsPassRunning() && Marked(0) && !Marked(1); }, [&] { Apply(true); });
        Click(IDC_ACTION);
        break;
    case State::Done:
        Search();
        SelectAll();
        Click(IDC_TO_RECYCLE);
        Click(IDC_ACTION);
        ExpectAllDeleted();
        Apply(false);
        break;
    }
    PumpPending();
    ASSERT_TRUE(applied || buttonDisabled) << "the state was never reached";

    const bool idle = cell.state == State::Ready || cell.state == State::NothingFound || cell.state == State::Done;
    switch (cell.effect) {
    case Effect::None:
        EXPECT_EQ(cell.state == State::StopRequested ? 1u : 0u, boxes.Count());
        EXPECT_EQ(window, ResultsWindow());
        if (cell.state == State::Deleting)
            ExpectAllDeleted();
        else
            ExpectReady(files);
        break;
    case Effect::StopRequest:
        ASSERT_EQ(1u, boxes.Count());
        ExpectQuestion(boxes.Last(), kWarning, kStopQuestion, main->m_hWnd);
        ExpectReady(files);
        break;
    case Effect::Disabled:
        EXPECT_TRUE(buttonDisabled);
        EXPECT_EQ(0u, boxes.Count());
        ExpectReady(files);
        break;
    case Effect::Destroys:
        EXPECT_EQ(nullptr, ResultsWindow());
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_EQ(cell.state == State::StopRequested ? 1u : 0u, boxes.Count());
        EXPECT_TRUE(::IsWindowEnabled(MainControl(IDC_START_SEARCH)));
        if (cell.state == State::Ready) {
            for (const std::string& file : files)
                EXPECT_TRUE(FileExists(file)) << file;
        }
        break;
    case Effect::Hides:
        ASSERT_TRUE(idle);
        EXPECT_TRUE(::IsWindow(window));
        EXPECT_FALSE(::IsWindowVisible(window));
        // Hidden as it was: the same state behind the same caption.
        EXPECT_EQ(cell.state == State::Ready  ? kDeleteAction
                  : cell.state == State::Done ? kDoneAction
                                              : kCloseAction,
                  Text(IDC_ACTION));
        for (const std::string& file : files)
            EXPECT_EQ(cell.state != State::Done, FileExists(file)) << file;
        break;
    case Effect::StartsPass:
        EXPECT_EQ(0u, boxes.Count());
        ExpectAllDeleted();
        break;
    case Effect::Interrupt:
        ASSERT_EQ(1u, boxes.Count());
        ExpectQuestion(boxes.Last(), kWarning, kInterruptQuestion, window);
        ExpectAllDeleted();
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Cells, StateTableTest, ::testing::ValuesIn(kCells), [](const ::testing::TestParamInfo<Cell>& info) {
    return std::string(kStateNames[static_cast<int>(info.param.state)]) + "_" + kInputNames[static_cast<int>(info.param.input)];
});

// At 150 %, the list's font and the widths measured in it, and the main
// window's icons, are made again at 144 DPI.
TEST_F(SearchFixture, AtAnotherDpiTheListFitsAndTheIconsAreMadeAgain)
{
    MakeFiles({"D\\A_LONG_NAME_THAT_SETS_THE_WIDTH_OF_THE_LIST.TXT", "D\\B.TXT"});
    AddDir(PathOf("D"), false);
    AddMask("*.TXT");
    Search();
    ASSERT_EQ(2, Results().GetResultCount());
    const auto height = [&] {
        LOGFONTW font = {};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageA(Control(IDC_RESULT_LIST), WM_GETFONT, 0, 0)), sizeof font, &font);
        return font.lfHeight;
    };
    const LONG before = height();
    for (HWND window : {ResultsWindow(), main->m_hWnd}) {
        RECT rect;
        ::GetWindowRect(window, &rect);
        ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&rect));
    }
    PumpPending();
    EXPECT_EQ(ScaleForDpi(before, BASE_DPI, 144), height());
    ExpectLinesFit();
    for (int icon : {ICON_BIG, ICON_SMALL}) {
        ICONINFO info = {};
        BITMAP bitmap = {};
        ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(::SendMessageA(main->m_hWnd, WM_GETICON, icon, 0)), &info));
        ::GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(icon == ICON_BIG ? 48 : 24, bitmap.bmWidth);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
    }
}

}  // namespace
