// One search and deletion from the real Tidymoth.exe: files found in a
// temporary tree, flags changed per line, deleted permanently or into Wine's
// Recycle Bin ($XDG_DATA_HOME/Trash).
#include <windows.h>

#include <algorithm>

#include "tests/e2e/e2e_support.h"
#include "tests/support/temp_dir.h"

namespace e2e {
namespace {

using SearchDeleteTest = E2eTest;

int LineOf(const std::vector<std::string>& lines, const std::string& path)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == path)
            return static_cast<int>(i);
    }
    ADD_FAILURE() << Utf8(path) << " is not listed";
    return 0;
}

// Clicks a three-state box until it shows `state` (it cycles on every click).
bool ClickUntil(const Tidymoth& app, const Window& w, int id, int state)
{
    for (int i = 0; i < 3 && w.Check(id) != state; ++i) {
        if (!w.Click(id) || !app.Sync())
            return false;
    }
    return w.Check(id) == state;
}

TEST_F(SearchDeleteTest, SearchListsTheFilesAndTheDeletionPassMarksEachLine)
{
    // The Recycle Bin must be a temporary one (tools/wine-env.sh --test).
    const std::string trash = TrashFolder() + "\\files\\";
    if (TrashFolder().empty())
        GTEST_SKIP() << "XDG_DATA_HOME is not set: run under tools/wine-env.sh --test";

    testing_support::TempDir tree(false);
    const std::string a = tree / "a.tmp", b = tree / "b.tmp", c = tree / "c.tmp", e = tree / "e.tmp", d = tree / "sub\\d.tmp",
                      keep = tree / "keep.txt";
    ASSERT_TRUE(testing_support::MakeDirectory(tree / "sub"));
    for (const std::string& f : {a, b, c, e, d, keep})
        ASSERT_TRUE(testing_support::WriteFileBytes(f, Bytes{'x'}));
    // A read-only file cannot be deleted permanently.
    ASSERT_TRUE(testing_support::SetReadOnly(e, true));

    ASSERT_TRUE(Start(SettingsBytes({{"Temp", {{"*.TMP", 0}}, {{tree.Path() + "\\", 1}}}})));
    ASSERT_TRUE(main.Click(IDC_START_SEARCH));
    Window results = app.WaitForWindow(kResultsCaption);
    ASSERT_TRUE(results.Exists());
    ASSERT_TRUE(WaitUntil([&] { return results.Text(IDC_ACTION) == kDeleteAction && results.IsEnabled(IDC_ACTION); }))
        << Utf8(results.Text(IDC_STATUS));

    // Ready to delete: every file listed, line 0 selected, both boxes ticked.
    const ResultsState ready = ReadResultsState(results);
    const std::vector<std::string>& lines = ready.lines;
    ASSERT_EQ(5u, lines.size());
    const int la = LineOf(lines, a), lb = LineOf(lines, b), lc = LineOf(lines, c), ld = LineOf(lines, d), le = LineOf(lines, e);
    EXPECT_EQ(ReadyState(lines), ready);
    EXPECT_EQ(std::vector<int>{0}, results.ListSelection(IDC_RESULT_LIST));

    // a.tmp is kept; b.tmp and e.tmp, selected together, are deleted
    // permanently.
    ASSERT_TRUE(results.SelectLines(IDC_RESULT_LIST, {la}));
    ASSERT_TRUE(app.Sync());
    ASSERT_TRUE(ClickUntil(app, results, IDC_DELETE_THIS, BST_UNCHECKED));
    ASSERT_TRUE(results.SelectLines(IDC_RESULT_LIST, {lb, le}));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(BST_CHECKED, results.Check(IDC_TO_RECYCLE));
    ASSERT_TRUE(ClickUntil(app, results, IDC_TO_RECYCLE, BST_UNCHECKED));

    // The boxes show the flags of the selection: mixed flags indeterminate.
    ASSERT_TRUE(results.SelectLines(IDC_RESULT_LIST, {la, lc}));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(BST_INDETERMINATE, results.Check(IDC_DELETE_THIS));
    EXPECT_EQ(BST_CHECKED, results.Check(IDC_TO_RECYCLE));
    ASSERT_TRUE(results.SelectLines(IDC_RESULT_LIST, {le}));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(BST_CHECKED, results.Check(IDC_DELETE_THIS));
    EXPECT_EQ(BST_UNCHECKED, results.Check(IDC_TO_RECYCLE));

    ASSERT_TRUE(results.Click(IDC_ACTION));
    ASSERT_TRUE(WaitUntil([&] { return results.Text(IDC_STATUS) == kDoneStatus; })) << Utf8(results.Text(IDC_STATUS));
    ExpectNoMessageBox();
    // Every line says what happened; the boxes still show e.tmp's flags.
    std::vector<std::string> done = lines;
    for (int line : {lb, lc, ld})
        done[line] += kDeletedMark;
    done[le] += kFailedMark;
    EXPECT_EQ(DoneState(done, std::max({lb, lc, ld, le}), BST_CHECKED, BST_UNCHECKED), ReadResultsState(results));

    using testing_support::FileExists;
    EXPECT_TRUE(FileExists(a));
    EXPECT_TRUE(FileExists(keep));
    EXPECT_TRUE(FileExists(e));
    EXPECT_FALSE(FileExists(b));
    EXPECT_FALSE(FileExists(c));
    EXPECT_FALSE(FileExists(d));
    EXPECT_TRUE(FileExists(trash + "c.tmp")) << trash;
    EXPECT_TRUE(FileExists(trash + "d.tmp")) << trash;
    EXPECT_FALSE(FileExists(trash + "b.tmp")) << "b.tmp was to be deleted permanently";

    // The done button closes the results window; the main window stays clean.
    ASSERT_TRUE(results.Click(IDC_ACTION));
    EXPECT_TRUE(WaitUntil([&] { return !results.Exists(); }));
    EXPECT_FALSE(main.IsEnabled(IDC_UPDATE));
    QuitWithoutSaveQuestion();
}

}  // namespace
}  // namespace e2e
