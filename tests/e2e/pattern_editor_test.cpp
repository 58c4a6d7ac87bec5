// The pattern editor of the real Tidymoth.exe: pattern commands through the
// combo box, masks, directories with their subfolder flags, the folder
// browser, saving and the quit paths. After every save the settings file is
// compared byte for byte.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

using PatternEditorTest = E2eTest;
using Texts = std::vector<std::string>;

std::string Numbered(const char* format, int i)
{
    char text[64];
    std::snprintf(text, sizeof text, format, i);
    return text;
}

std::string Lower(const std::string& ascii)
{
    std::string s = ascii;
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

Texts TextsOf(const std::vector<Entry>& entries)
{
    Texts texts;
    for (const Entry& e : entries)
        texts.push_back(e.text);
    return texts;
}

// ---- Quitting -------------------------------------------------------------

// One quit: the save question's answer, whether the name is then found
// missing, and the quit question's answer.
struct QuitRound {
    int save;
    bool nameMissing;
    int quit;
};

struct QuitRow {
    const char* name;
    const char* typed;  // into the pattern's name: a change
    std::vector<QuitRound> rounds;
};

class QuitWithChangesTest : public E2eTest, public ::testing::WithParamInterface<QuitRow> {};

TEST_P(QuitWithChangesTest, SavesNothingAndNoKeepsTheChangesUnsaved)
{
    const Bytes file = SettingsBytes({{"P0", {{"*.TMP", 0}}, {}}});
    ASSERT_TRUE(Start(file));
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, GetParam().typed) && app.Sync());
    EXPECT_TRUE(main.IsEnabled(IDC_UPDATE));
    for (const QuitRound& round : GetParam().rounds) {
        ASSERT_TRUE(main.Click(IDCANCEL));
        ASSERT_TRUE(app.Answer(kConfirm, kSaveQuestion, round.save));
        if (round.nameMissing) {
            ASSERT_TRUE(app.Answer(kMessage, kNameMissing, IDOK));
        }
        // The quit question still follows.
        ASSERT_TRUE(app.Answer(kConfirm, kQuitQuestion, round.quit));
        if (round.quit == IDNO) {
            ExpectNoMessageBox();
            EXPECT_TRUE(main.IsEnabled(IDC_UPDATE)) << "the changes are still unsaved";
            EXPECT_EQ(GetParam().typed, main.Text(IDC_PATTERN_COMBO));
            ExpectSettings(file);
        }
    }
    EXPECT_TRUE(app.WaitForExit());
    ExpectSettings(file);
}

INSTANTIATE_TEST_SUITE_P(Answers, QuitWithChangesTest,
                         ::testing::Values(QuitRow{"YesAndAnEmptyName", "", {{IDYES, true, IDYES}}},
                                           QuitRow{
                                               "NoToTheSaveQuestion", "Renamed", {{IDNO, false, IDNO}, {IDNO, false, IDYES}}}),
                         [](const ::testing::TestParamInfo<QuitRow>& info) { return std::string(info.param.name); });

// ---- New, delete, switch --------------------------------------------------

TEST_F(PatternEditorTest, NewPatternAtNineteenAndAtTwentyPatterns)
{
    std::vector<Pattern> patterns;
    Texts names;
    for (int i = 0; i < 19; ++i) {
        patterns.push_back({Numbered("N%02d", i), {}, {}});
        names.push_back(patterns.back().name);
    }
    patterns[0].masks = {{"A.TMP", 0}};
    patterns[0].dirs = {{"C:\\N0\\", 1}};
    names.push_back(kDefaultName);
    ASSERT_TRUE(Start(SettingsBytes(patterns)));

    // Leftovers in the fields that the new pattern clears.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "DRAFT.TXT") && main.Type(IDC_DIR_EDIT, "C:\\DRAFT") && main.Click(IDC_SUBFOLDERS) &&
                app.Sync());
    EXPECT_EQ(BST_CHECKED, main.Check(IDC_SUBFOLDERS));
    ASSERT_TRUE(main.Click(IDC_NEW_PATTERN));
    ExpectNoMessageBox();
    EXPECT_EQ((MainState{names, 19, kDefaultName, {}, -1, "", {}, -1, "", BST_UNCHECKED, true}), ReadMainState(main));

    // With 20 patterns the command is refused and nothing is cleared.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "KEEP.ME") && main.Click(IDC_ADD_MASK) && main.Type(IDC_MASK_EDIT, "PENDING") &&
                main.Type(IDC_DIR_EDIT, "C:\\PENDING") && main.Click(IDC_SUBFOLDERS) && app.Sync());
    MainState before = ReadMainState(main);
    EXPECT_EQ(Texts{"KEEP.ME"}, before.masks);
    ASSERT_TRUE(main.Click(IDC_NEW_PATTERN));
    ASSERT_TRUE(Answered(kMessage, kTooManyPatterns, IDOK));
    EXPECT_EQ(before, ReadMainState(main));

    patterns.push_back({kDefaultName, {{"KEEP.ME", 0}}, {}});
    Save(SettingsBytes(patterns));
    before.updateEnabled = false;
    EXPECT_EQ(before, ReadMainState(main));
}

TEST_F(PatternEditorTest, NewPatternNamesThePatternItLeavesFromTheTypedText)
{
    const Pattern p0{"P0", {{"A.TMP", 0}}, {{"C:\\P0\\", 1}}};
    ASSERT_TRUE(Start(SettingsBytes({p0})));
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, "ABC") && main.Click(IDC_NEW_PATTERN));
    ExpectNoMessageBox();
    // The item keeps the old name until the next refill.
    EXPECT_EQ((MainState{{"P0", kDefaultName}, 1, kDefaultName, {}, -1, "", {}, -1, "", BST_UNCHECKED, true}),
              ReadMainState(main));

    const Bytes saved = SettingsBytes({{"ABC", p0.masks, p0.dirs}, {kDefaultName, {}, {}}});
    Save(saved);
    EXPECT_EQ((MainState{{"ABC", kDefaultName}, 1, kDefaultName, {}, -1, "", {}, -1, "", BST_UNCHECKED, false}),
              ReadMainState(main));

    // A new pattern without a name clears the fields and creates nothing.
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 0) && main.Type(IDC_MASK_EDIT, "x.y") && main.Click(IDC_SUBFOLDERS) &&
                main.Type(IDC_PATTERN_COMBO, "") && app.Sync());
    EXPECT_EQ(p0.masks[0].text, main.ListItems(IDC_MASK_LIST).at(0));
    ASSERT_TRUE(main.Click(IDC_NEW_PATTERN));
    ASSERT_TRUE(Answered(kMessage, kNameMissing, IDOK));
    EXPECT_EQ((MainState{{"ABC", kDefaultName}, -1, "", {}, -1, "", {}, -1, "", BST_UNCHECKED, true}), ReadMainState(main));

    // The pattern kept its entries: the close-up shows them again.
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 0) && app.Sync());
    EXPECT_EQ("ABC", main.Text(IDC_PATTERN_COMBO));
    EXPECT_EQ(TextsOf(p0.masks), main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ(TextsOf(p0.dirs), main.ListItems(IDC_DIR_LIST));
    Save(saved);
}

TEST_F(PatternEditorTest, DeletingPatterns)
{
    std::vector<Pattern> p;
    for (int i = 0; i < 4; ++i)
        p.push_back({Numbered("P%d", i), {{Numbered("M%d.TMP", i), 0}}, {{Numbered("C:\\D%d\\", i), i % 2}}});
    ASSERT_TRUE(Start(SettingsBytes(p)));
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 2) && app.Sync());
    EXPECT_EQ(Texts{"M2.TMP"}, main.ListItems(IDC_MASK_LIST));
    auto deleteAnswered = [&](int answer) {
        return main.Click(IDC_DELETE_PATTERN) && Answered(kWarning, kDeletePatternQuestion, answer);
    };

    // No to the question changes nothing.
    const MainState before = ReadMainState(main);
    ASSERT_TRUE(deleteAnswered(IDNO));
    EXPECT_EQ(before, ReadMainState(main));

    // Pattern 2 of P0..P3: P1 becomes current.
    ASSERT_TRUE(deleteAnswered(IDYES));
    const Texts m1{"M1.TMP"}, d1{"C:\\D1\\"};
    EXPECT_EQ((MainState{{"P0", "P1", "P3"}, 1, "P1", m1, -1, "", d1, -1, "", BST_UNCHECKED, true}), ReadMainState(main));

    // Pattern 0 of P0, P1, P3: P1, now first, becomes current.
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 0) && deleteAnswered(IDYES));
    EXPECT_EQ((MainState{{"P1", "P3"}, 0, "P1", m1, -1, "", d1, -1, "", BST_UNCHECKED, true}), ReadMainState(main));

    // An arrow key moves the selection without switching the pattern; the
    // deletion takes the selected item.
    ASSERT_TRUE(main.PressKey(IDC_PATTERN_COMBO, VK_DOWN) && app.Sync());
    EXPECT_EQ((MainState{{"P1", "P3"}, 1, "P3", m1, -1, "", d1, -1, "", BST_UNCHECKED, true}), ReadMainState(main));
    ASSERT_TRUE(deleteAnswered(IDYES));
    const MainState single{{"P1"}, 0, "P1", m1, -1, "", d1, -1, "", BST_UNCHECKED, true};
    EXPECT_EQ(single, ReadMainState(main));

    // The only pattern stays, and the update button keeps its state.
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN) && app.Answer(kWarning, kDeletePatternQuestion, IDYES));
    ASSERT_TRUE(Answered(kWarning, kLastPattern, IDOK));
    EXPECT_EQ(single, ReadMainState(main));
    Save(SettingsBytes({p[1]}));
}

TEST_F(PatternEditorTest, WithNoItemSelectedTheCurrentPatternIsKeptAndDeleted)
{
    const std::vector<Pattern> p = {{"P0", {{"A.TMP", 0}}, {}}, {"P1", {{"B.TMP", 0}}, {}}, {"P2", {{"C.TMP", 0}}, {}}};
    ASSERT_TRUE(Start(SettingsBytes(p)));
    // A name that matches no item: the list opens and closes with no item
    // selected, and P1 stays current under its new name.
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 1) && main.Type(IDC_PATTERN_COMBO, "Renamed") &&
                main.ShowDropDown(IDC_PATTERN_COMBO, true) && main.ShowDropDown(IDC_PATTERN_COMBO, false) && app.Sync());
    ASSERT_EQ(-1, main.ComboCurSel(IDC_PATTERN_COMBO)) << "the case needs a combo box with no item selected";
    EXPECT_EQ(Texts{"B.TMP"}, main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ("Renamed", main.Text(IDC_PATTERN_COMBO));

    // The deletion takes the current pattern and selects its neighbour.
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN));
    ASSERT_TRUE(Answered(kWarning, kDeletePatternQuestion, IDYES));
    EXPECT_EQ((MainState{{"P0", "P2"}, 0, "P0", {"A.TMP"}, -1, "", {}, -1, "", BST_UNCHECKED, true}), ReadMainState(main));
    Save(SettingsBytes({p[0], p[2]}));
}

TEST_F(PatternEditorTest, TheOnlyPatternOfAFreshStartCannotBeDeleted)
{
    ASSERT_TRUE(Start());
    const MainState before = ReadMainState(main);
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN) && app.Answer(kWarning, kDeletePatternQuestion, IDYES));
    ASSERT_TRUE(Answered(kWarning, kLastPattern, IDOK));
    EXPECT_EQ(before, ReadMainState(main));
    EXPECT_FALSE(main.IsEnabled(IDC_UPDATE));
}

TEST_F(PatternEditorTest, CloseUpReloadsTheListsAndOpeningTheListRenames)
{
    const std::vector<Pattern> p = {
        {"P0", {{"A.TMP", 0}, {"B.TMP", 0}}, {{"C:\\X\\", 1}, {"C:\\Y\\", 0}}},
        {"P1", {{"C.TMP", 0}}, {}},
        {"P2", {}, {}},
    };
    ASSERT_TRUE(Start(SettingsBytes(p)));
    ASSERT_TRUE(main.SelectLine(IDC_MASK_LIST, 1) && main.SelectLine(IDC_DIR_LIST, 0) && app.Sync());
    MainState shown{{"P0", "P1", "P2"}, 0, "P0",      TextsOf(p[0].masks), 1,    "B.TMP",
                    TextsOf(p[0].dirs), 0, "C:\\X\\", BST_CHECKED,         false};
    EXPECT_EQ(shown, ReadMainState(main));

    // Opening and closing the list without choosing reloads the lists: the
    // selections go, the fields, the check box and the update button stay.
    ASSERT_TRUE(main.ShowDropDown(IDC_PATTERN_COMBO, true) && app.Sync());
    EXPECT_TRUE(main.ComboDropped(IDC_PATTERN_COMBO));
    ASSERT_TRUE(main.ShowDropDown(IDC_PATTERN_COMBO, false) && app.Sync());
    EXPECT_FALSE(main.ComboDropped(IDC_PATTERN_COMBO));
    shown.maskSel = shown.dirSel = -1;
    EXPECT_EQ(shown, ReadMainState(main));

    // An arrow key with the list closed selects P1 but keeps P0's lists.
    ASSERT_TRUE(main.PressKey(IDC_PATTERN_COMBO, VK_DOWN) && app.Sync());
    shown.patternSel = 1;
    shown.patternText = "P1";
    EXPECT_EQ(shown, ReadMainState(main));

    // Opening the list now gives P0 the name shown, "P1"; closing it
    // switches to P1. The items are not refreshed.
    ASSERT_TRUE(main.ShowDropDown(IDC_PATTERN_COMBO, true) && main.ShowDropDown(IDC_PATTERN_COMBO, false) && app.Sync());
    EXPECT_EQ(Texts{"C.TMP"}, main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ((Texts{"P0", "P1", "P2"}), main.ComboItems(IDC_PATTERN_COMBO));

    // A change, so that the update can be pressed.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "d.tmp") && main.Click(IDC_ADD_MASK));
    std::vector<Pattern> saved = p;
    saved[0].name = "P1";
    saved[1].masks.push_back({"D.TMP", 0});
    Save(SettingsBytes(saved));
    EXPECT_EQ((Texts{"P1", "P1", "P2"}), main.ComboItems(IDC_PATTERN_COMBO));
    EXPECT_EQ(1, main.ComboCurSel(IDC_PATTERN_COMBO));

    // A name typed and then the list opened goes to the pattern that was
    // current, and is saved by the next update.
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, "Second") && main.ChooseComboItem(IDC_PATTERN_COMBO, 2) && app.Sync());
    EXPECT_EQ("P2", main.Text(IDC_PATTERN_COMBO));
    EXPECT_TRUE(main.ListItems(IDC_MASK_LIST).empty());
    EXPECT_EQ((Texts{"P1", "P1", "P2"}), main.ComboItems(IDC_PATTERN_COMBO));
    saved[1].name = "Second";
    Save(SettingsBytes(saved));
    EXPECT_EQ((Texts{"P1", "Second", "P2"}), main.ComboItems(IDC_PATTERN_COMBO));
    EXPECT_EQ(2, main.ComboCurSel(IDC_PATTERN_COMBO));
}

// ---- Masks ----------------------------------------------------------------

TEST_F(PatternEditorTest, MasksAreAddedUpperCasedRefusedAndRemoved)
{
    ASSERT_TRUE(Start(SettingsBytes({{"P0", {{"OLD.BAK", 0}, {"KEEP.ME", 5}}, {}}})));

    // Nothing typed, nothing selected: nothing happens at all.
    ASSERT_TRUE(main.Click(IDC_ADD_MASK) && main.Click(IDC_REMOVE_MASK));
    ExpectNoMessageBox();
    EXPECT_FALSE(main.IsEnabled(IDC_UPDATE));
    EXPECT_EQ(2u, main.ListItems(IDC_MASK_LIST).size());

    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "temp?.log") && main.Click(IDC_ADD_MASK));
    ExpectNoMessageBox();
    const Texts masks = {"OLD.BAK", "KEEP.ME", "TEMP?.LOG"};
    EXPECT_EQ(masks, main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ("", main.Text(IDC_MASK_EDIT));
    EXPECT_TRUE(main.IsEnabled(IDC_UPDATE));
    EXPECT_TRUE(WaitUntil([&] { return app.Focus() == main.Item(IDC_MASK_EDIT); }));

    // The same mask in other letters, and masks with a folder part, are
    // refused; the field keeps the text.
    for (const char* refused : {"Temp?.Log", "sub\\*.tmp", "a/b.tmp", "c:x.tmp"}) {
        SCOPED_TRACE(refused);
        ASSERT_TRUE(main.Type(IDC_MASK_EDIT, refused) && main.Click(IDC_ADD_MASK));
        ASSERT_TRUE(Answered(kMessage, refused[0] == 'T' ? kDuplicateMask : kMaskWithFolder, IDOK));
        EXPECT_EQ(masks, main.ListItems(IDC_MASK_LIST));
        EXPECT_EQ(refused, main.Text(IDC_MASK_EDIT));
    }

    // 表 ends in the byte of "\": still a plain name, upper-cased around it.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "表*.log") && main.Click(IDC_ADD_MASK));
    ExpectNoMessageBox();
    EXPECT_EQ("表*.LOG", main.ListItems(IDC_MASK_LIST).back());

    // Selecting a line fills the field only when it is empty.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "typed") && main.SelectLine(IDC_MASK_LIST, 0) && app.Sync());
    EXPECT_EQ("typed", main.Text(IDC_MASK_EDIT));
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "") && main.SelectLine(IDC_MASK_LIST, 2) && app.Sync());
    EXPECT_EQ("TEMP?.LOG", main.Text(IDC_MASK_EDIT));

    // Removing entry 0: every flag stays with its own mask.
    ASSERT_TRUE(main.SelectLine(IDC_MASK_LIST, 0) && main.Click(IDC_REMOVE_MASK) && app.Sync());
    EXPECT_EQ((Texts{"KEEP.ME", "TEMP?.LOG", "表*.LOG"}), main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ(-1, main.ListCurSel(IDC_MASK_LIST));
    EXPECT_EQ("TEMP?.LOG", main.Text(IDC_MASK_EDIT));
    Save(SettingsBytes({{"P0", {{"KEEP.ME", 5}, {"TEMP?.LOG", 0}, {"表*.LOG", 0}}, {}}}));
}

TEST_F(PatternEditorTest, FullListsRefuseTheHundredAndFirstEntry)
{
    TempDir dir(false);
    Pattern full{"FULL", {}, {}};
    for (int i = 0; i < 100; ++i) {
        full.masks.push_back({Numbered("M%03d.TMP", i), 0});
        full.dirs.push_back({Numbered("C:\\D%03d\\", i), i % 2});
    }
    ASSERT_TRUE(Start(SettingsBytes({full})));

    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "new.tmp") && main.Click(IDC_ADD_MASK));
    ASSERT_TRUE(app.Answer(kMessage, kTooManyMasks, IDOK));
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, dir.Path()) && main.Click(IDC_ADD_DIR));
    ASSERT_TRUE(Answered(kMessage, kTooManyDirs, IDOK));
    EXPECT_EQ(
        (MainState{
            {"FULL"}, 0, "FULL", TextsOf(full.masks), -1, "new.tmp", TextsOf(full.dirs), -1, dir.Path(), BST_UNCHECKED, false}),
        ReadMainState(main));

    // After a removal there is room again.
    ASSERT_TRUE(main.SelectLine(IDC_MASK_LIST, 99) && main.Click(IDC_REMOVE_MASK) && main.Click(IDC_ADD_MASK));
    ExpectNoMessageBox();
    full.masks.back() = {"NEW.TMP", 0};
    EXPECT_EQ(TextsOf(full.masks), main.ListItems(IDC_MASK_LIST));
    Save(SettingsBytes({full}));
}

// ---- Directories ----------------------------------------------------------

TEST_F(PatternEditorTest, DirectoriesAndTheirSubfolderFlags)
{
    TempDir base(false);
    const std::string alpha = base / "alpha", beta = base / "beta", gamma = base / "gamma", delta = base / "delta";
    const std::string hyo = base / "dir表";  // ends in the bytes 95 5C
    for (const std::string& d : {alpha, beta, gamma, gamma + "\\sub", delta, hyo})
        ASSERT_TRUE(::CreateDirectoryA(d.c_str(), nullptr)) << Utf8(d);
    const std::string A = UpperCp932(alpha) + "\\", B = UpperCp932(beta) + "\\", G = UpperCp932(gamma) + "\\",
                      GSUB = UpperCp932(gamma) + "\\SUB\\", D = UpperCp932(delta) + "\\", H = UpperCp932(hyo) + "\\";
    ASSERT_EQ("\x95\x5C\x5C", H.substr(H.size() - 3));

    ASSERT_TRUE(Start(SettingsBytes({{"Dirs", {}, {{"C:\\X\\", 1}, {"C:\\Y\\", 0}, {"C:\\Z\\", 1}}}})));
    auto add = [&](const std::string& typed) { return main.Type(IDC_DIR_EDIT, typed) && main.Click(IDC_ADD_DIR) && app.Sync(); };
    auto select = [&](int line) { return main.SelectLine(IDC_DIR_LIST, line) && app.Sync(); };
    auto shown = [&] { return std::make_pair(main.Text(IDC_DIR_EDIT), main.Check(IDC_SUBFOLDERS)); };
    using Shown = std::pair<std::string, int>;  // the field and the check box

    // The check box with no directory selected: only the box changes.
    ASSERT_TRUE(main.Click(IDC_SUBFOLDERS));
    ExpectNoMessageBox();
    EXPECT_EQ(BST_CHECKED, main.Check(IDC_SUBFOLDERS));
    EXPECT_FALSE(main.IsEnabled(IDC_UPDATE));

    // A lower-case path is stored upper-cased with its "\", with the box's
    // state as its flag.
    ASSERT_TRUE(add(Lower(alpha)));
    ExpectNoMessageBox();
    EXPECT_EQ((Texts{"C:\\X\\", "C:\\Y\\", "C:\\Z\\", A}), main.ListItems(IDC_DIR_LIST));
    EXPECT_EQ("", main.Text(IDC_DIR_EDIT));
    EXPECT_TRUE(main.IsEnabled(IDC_UPDATE));
    EXPECT_TRUE(WaitUntil([&] { return app.Focus() == main.Item(IDC_DIR_EDIT); }));

    // Removing entry 1 of X (1), Y (0), Z (1); selecting Y showed its flag.
    ASSERT_TRUE(select(1));
    EXPECT_EQ(Shown("C:\\Y\\", BST_UNCHECKED), shown());
    ASSERT_TRUE(main.Click(IDC_REMOVE_DIR) && app.Sync());
    EXPECT_EQ((Texts{"C:\\X\\", "C:\\Z\\", A}), main.ListItems(IDC_DIR_LIST));
    EXPECT_EQ(-1, main.ListCurSel(IDC_DIR_LIST));
    EXPECT_EQ(Shown("C:\\Y\\", BST_UNCHECKED), shown());
    ASSERT_TRUE(select(1));
    EXPECT_EQ(BST_CHECKED, main.Check(IDC_SUBFOLDERS)) << "Z keeps its own flag";

    // The check box with X selected sets X's flag.
    ASSERT_TRUE(select(0));
    EXPECT_EQ(BST_CHECKED, main.Check(IDC_SUBFOLDERS));
    ASSERT_TRUE(main.Click(IDC_SUBFOLDERS) && app.Sync());
    EXPECT_EQ(BST_UNCHECKED, main.Check(IDC_SUBFOLDERS));

    // A path that already ends in "\" gets no second one; one ending in 表
    // (second byte 5C) gets one.
    ASSERT_TRUE(add(beta + "\\") && add(hyo));
    ExpectNoMessageBox();
    Texts dirs = {"C:\\X\\", "C:\\Z\\", A, B, H};
    EXPECT_EQ(dirs, main.ListItems(IDC_DIR_LIST));

    // A missing directory is refused; the field keeps the text.
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, base / "missing") && main.Click(IDC_ADD_DIR));
    ASSERT_TRUE(Answered(kMessage, kNoSuchPath, IDOK));
    EXPECT_EQ(dirs, main.ListItems(IDC_DIR_LIST));
    EXPECT_EQ(base / "missing", main.Text(IDC_DIR_EDIT));

    // The same directory twice gives two entries; a relative path is taken
    // from the directory added last and stored in full.
    ASSERT_TRUE(add(gamma) && add(gamma) && add("sub"));
    ExpectNoMessageBox();
    dirs.insert(dirs.end(), {G, G, GSUB});
    EXPECT_EQ(dirs, main.ListItems(IDC_DIR_LIST));

    // Selecting a directory while the field holds text keeps the text and
    // shows the directory's flag.
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, "pending") && select(3));
    EXPECT_EQ(Shown("pending", BST_UNCHECKED), shown());
    ASSERT_TRUE(select(2));
    EXPECT_EQ(Shown("pending", BST_CHECKED), shown());

    // Adding keeps the selection; the check box then changes the selected
    // directory's flag, not the new one's.
    ASSERT_TRUE(add(delta));
    EXPECT_EQ(2, main.ListCurSel(IDC_DIR_LIST));
    ASSERT_TRUE(main.Click(IDC_SUBFOLDERS) && app.Sync());
    EXPECT_EQ(BST_UNCHECKED, main.Check(IDC_SUBFOLDERS));
    dirs.push_back(D);
    EXPECT_EQ(dirs, main.ListItems(IDC_DIR_LIST));
    Save(SettingsBytes(
        {{"Dirs", {}, {{"C:\\X\\", 0}, {"C:\\Z\\", 1}, {A, 0}, {B, 0}, {H, 0}, {G, 0}, {G, 0}, {GSUB, 0}, {D, 1}}}}));
}

TEST_F(PatternEditorTest, FolderBrowserCancelledAndUsed)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, "kept") && app.Sync());
    MainState state = ReadMainState(main);

    ASSERT_TRUE(main.Click(IDC_BROWSE));
    Window browser = app.WaitForFolderBrowser();
    ASSERT_TRUE(browser.Exists());
    EXPECT_FALSE(main.IsEnabled()) << "the browser is modal";
    EXPECT_EQ(kBrowseTitle, browser.Text(0x3742));
    ASSERT_TRUE(app.Press(browser, IDCANCEL));
    ExpectNoMessageBox();
    EXPECT_EQ(state, ReadMainState(main));

    // OK with the browser's initial choice (Wine offers the desktop) puts
    // that folder's path into the field and adds nothing.
    char desktop[MAX_PATH];
    ASSERT_EQ(S_OK, ::SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop));
    ASSERT_TRUE(main.Click(IDC_BROWSE));
    ASSERT_TRUE(app.Press(app.WaitForFolderBrowser(), IDOK) && app.Sync());
    state.dirEdit = desktop;
    EXPECT_EQ(state, ReadMainState(main));

    ASSERT_TRUE(main.Click(IDC_ADD_DIR));
    ExpectNoMessageBox();
    EXPECT_EQ(Texts{UpperCp932(desktop) + "\\"}, main.ListItems(IDC_DIR_LIST));
}

// ---- A failed save --------------------------------------------------------

TEST_F(PatternEditorTest, FailedSaveIsReportedAndLeavesTheChangesUnsaved)
{
    const Bytes file = SettingsBytes({{"P0", {{"A.TMP", 0}}, {}}});
    ASSERT_TRUE(app.WriteSettings(file));
    ASSERT_TRUE(SetReadOnly(app.SettingsPath(), true));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "b.tmp") && main.Click(IDC_ADD_MASK) && app.Sync());
    const MainState before = ReadMainState(main);
    EXPECT_TRUE(before.updateEnabled);

    auto expectSaveFailure = [&] {
        Window box = app.WaitForMessageBox();
        ASSERT_TRUE(box.Exists());
        EXPECT_EQ(kWarning, box.Caption());
        const std::string text = box.Text(0xFFFF);
        EXPECT_EQ(0u, text.find(kSaveFailedPrefix)) << Utf8(text);
        ASSERT_TRUE(app.Press(box, IDOK));
    };
    ASSERT_TRUE(main.Click(IDC_UPDATE));
    expectSaveFailure();
    ExpectNoMessageBox();
    EXPECT_EQ(before, ReadMainState(main));
    ExpectSettings(file);

    // Yes to the save question, the save fails, and the quit question follows.
    ASSERT_TRUE(main.Click(IDCANCEL));
    ASSERT_TRUE(app.Answer(kConfirm, kSaveQuestion, IDYES));
    expectSaveFailure();
    ASSERT_TRUE(app.Answer(kConfirm, kQuitQuestion, IDYES));
    EXPECT_TRUE(app.WaitForExit());
    ExpectSettings(file);
}

// ---- Text as the user types it ---------------------------------------------

// Japanese typed the way an input method delivers it (Unicode WM_CHAR) reaches
// every field whole and is saved as its code-page-932 bytes; a name, mask or
// directory the code page cannot spell exactly (é, whose look-alike "e" would
// widen a mask or name another folder) is refused and changes nothing.
TEST_F(PatternEditorTest, TypedJapaneseArrivesWholeAndLookAlikesAreRefused)
{
    TempDir base(false);
    const std::string dir = base / "表ソ削除";
    ASSERT_TRUE(::CreateDirectoryA(dir.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW((testing_support::Wide932(base.Path()) + L"\\caf\u00e9").c_str(), nullptr));
    ASSERT_TRUE(Start());

    struct Row {
        int field;
        int button;  // 0: the name, saved by the update button
        const char* refusal;
    };
    const Row rows[] = {
        {IDC_PATTERN_COMBO, 0, kNameUnspellable},
        {IDC_MASK_EDIT, IDC_ADD_MASK, kMaskUnspellable},
        {IDC_DIR_EDIT, IDC_ADD_DIR, kDirUnspellable},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.refusal);
        const MainState before = ReadMainState(main);
        const std::wstring lookAlike =
            row.field == IDC_DIR_EDIT ? testing_support::Wide932(base.Path()) + L"\\caf\u00e9" : L"caf\u00e9*";
        ASSERT_TRUE(main.TypeWide(row.field, lookAlike) && main.Click(row.button ? row.button : IDC_UPDATE));
        ASSERT_TRUE(Answered(kMessage, row.refusal, IDOK));
        // The field keeps what was typed (read back here as its look-alike);
        // the rest is as it was, but for typing in the name.
        MainState now = ReadMainState(main);
        std::string& typed = row.field == IDC_PATTERN_COMBO ? now.patternText
                             : row.field == IDC_MASK_EDIT   ? now.maskEdit
                                                            : now.dirEdit;
        EXPECT_EQ(row.field == IDC_DIR_EDIT ? base.Path() + "\\cafe" : "cafe*", typed);
        typed = row.field == IDC_PATTERN_COMBO ? before.patternText
                : row.field == IDC_MASK_EDIT   ? before.maskEdit
                                               : before.dirEdit;
        MainState expected = before;
        if (row.field == IDC_PATTERN_COMBO) {
            expected.patternSel = -1;  // typed text selects no item
            expected.updateEnabled = true;
        }
        EXPECT_EQ(expected, now);
        EXPECT_FALSE(app.HasSettings());
    }

    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "ソ削除.tmp") && main.Click(IDC_ADD_MASK));
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, dir) && main.Click(IDC_ADD_DIR));
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, "表ソ削除"));
    ExpectNoMessageBox();
    EXPECT_EQ(Texts{"ソ削除.TMP"}, main.ListItems(IDC_MASK_LIST));
    Save(SettingsBytes({{"表ソ削除", {{"ソ削除.TMP", 0}}, {{UpperCp932(dir) + "\\", 0}}}}));
}

}  // namespace
}  // namespace e2e
