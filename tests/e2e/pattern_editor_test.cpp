// The pattern editor of the real Tidymoth.exe: pattern commands through the
// combo box, masks, directories with their subfolder flags, the folder
// browser, saving and the quit paths. After every save the settings file is
// compared byte for byte.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "tests/e2e/e2e_support.h"
#include "tests/support/temp_dir.h"

namespace e2e {
namespace {

using PatternEditorTest = E2eTest;


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

// ---- Quitting -------------------------------------------------------------

TEST_F(PatternEditorTest, QuitWithChangesYesAndAnEmptyNameSavesNothing)
{
    const Bytes file = SettingsBytes({{"P0", {{"*.TMP", 0}}, {}}});
    ASSERT_TRUE(Start(file));
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, ""));
    ASSERT_TRUE(app.Sync());
    EXPECT_TRUE(main.IsEnabled(IDC_UPDATE));

    ASSERT_TRUE(main.Click(IDCANCEL));
    ASSERT_TRUE(app.Answer(kConfirm, kSaveQuestion, IDYES));
    ASSERT_TRUE(app.Answer(kMessage, kNameMissing, IDOK));
    // The quit question still follows.
    ASSERT_TRUE(app.Answer(kConfirm, kQuitQuestion, IDYES));
    EXPECT_TRUE(app.WaitForExit());
    ExpectSettings(file);
}

TEST_F(PatternEditorTest, QuitWithChangesNoToTheSaveQuestionKeepsThemUnsaved)
{
    const Bytes file = SettingsBytes({{"P0", {{"*.TMP", 0}}, {}}});
    ASSERT_TRUE(Start(file));
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, "Renamed"));
    ASSERT_TRUE(app.Sync());

    ASSERT_TRUE(main.Click(IDCANCEL));
    ASSERT_TRUE(app.Answer(kConfirm, kSaveQuestion, IDNO));
    ASSERT_TRUE(app.Answer(kConfirm, kQuitQuestion, IDNO));
    ExpectNoMessageBox();
    EXPECT_TRUE(main.IsEnabled(IDC_UPDATE)) << "the changes are still unsaved";
    EXPECT_EQ("Renamed", main.Text(IDC_PATTERN_COMBO));
    ExpectSettings(file);

    ASSERT_TRUE(main.Click(IDCANCEL));
    ASSERT_TRUE(app.Answer(kConfirm, kSaveQuestion, IDNO));
    ASSERT_TRUE(app.Answer(kConfirm, kQuitQuestion, IDYES));
    EXPECT_TRUE(app.WaitForExit());
    ExpectSettings(file);
}

// ---- New, delete, switch --------------------------------------------------

TEST_F(PatternEditorTest, NewPatternAtNineteenAndAtTwentyPatterns)
{
    std::vector<Pattern> patterns;
    for (int i = 0; i < 19; ++i)
        patterns.push_back({Numbered("N%02d", i), {}, {}});
    patterns[0].masks = {{"A.TMP", 0}};
    patterns[0].dirs = {{"C:\\N0\\", 1}};
    ASSERT_TRUE(Start(SettingsBytes(patterns)));

    // Leftovers in the fields that "新規" clears.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "DRAFT.TXT"));
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, "C:\\DRAFT"));
    ASSERT_TRUE(main.Click(IDC_SUBFOLDERS));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(BST_CHECKED, main.Check(IDC_SUBFOLDERS));

    ASSERT_TRUE(main.Click(IDC_NEW_PATTERN));
    ExpectNoMessageBox();
    MainState s = ReadMainState(main);
    ASSERT_EQ(20u, s.patterns.size());
    EXPECT_EQ("N18", s.patterns[18]);
    EXPECT_EQ(kDefaultName, s.patterns[19]);
    EXPECT_EQ(19, s.patternSel);
    EXPECT_EQ(kDefaultName, s.patternText);
    EXPECT_TRUE(s.masks.empty());
    EXPECT_TRUE(s.dirs.empty());
    EXPECT_EQ("", s.maskEdit);
    EXPECT_EQ("", s.dirEdit);
    EXPECT_EQ(BST_UNCHECKED, s.subfolders);
    EXPECT_TRUE(s.updateEnabled);

    // With 20 patterns the command is refused and nothing is cleared.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "KEEP.ME"));
    ASSERT_TRUE(main.Click(IDC_ADD_MASK));
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "PENDING"));
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, "C:\\PENDING"));
    ASSERT_TRUE(main.Click(IDC_SUBFOLDERS));
    ASSERT_TRUE(app.Sync());
    const MainState before = ReadMainState(main);
    EXPECT_EQ(std::vector<std::string>{"KEEP.ME"}, before.masks);
    ASSERT_TRUE(main.Click(IDC_NEW_PATTERN));
    ASSERT_TRUE(app.Answer(kMessage, kTooManyPatterns, IDOK));
    ExpectNoMessageBox();
    EXPECT_EQ(before, ReadMainState(main));

    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    patterns.push_back({kDefaultName, {{"KEEP.ME", 0}}, {}});
    ExpectSettings(SettingsBytes(patterns));
    s = ReadMainState(main);
    EXPECT_FALSE(s.updateEnabled);
    EXPECT_EQ(20u, s.patterns.size());
    EXPECT_EQ(19, s.patternSel);
    EXPECT_EQ(kDefaultName, s.patternText);
}

TEST_F(PatternEditorTest, NewPatternNamesThePatternItLeavesFromTheTypedText)
{
    const Pattern p0{"P0", {{"A.TMP", 0}}, {{"C:\\P0\\", 1}}};
    ASSERT_TRUE(Start(SettingsBytes({p0})));
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, "ABC"));
    ASSERT_TRUE(main.Click(IDC_NEW_PATTERN));
    ExpectNoMessageBox();
    MainState s = ReadMainState(main);
    // The item keeps the old name until the next refill.
    EXPECT_EQ((std::vector<std::string>{"P0", kDefaultName}), s.patterns);
    EXPECT_EQ(1, s.patternSel);
    EXPECT_EQ(kDefaultName, s.patternText);
    EXPECT_TRUE(s.masks.empty());
    EXPECT_TRUE(s.updateEnabled);

    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    const Bytes saved = SettingsBytes({{"ABC", p0.masks, p0.dirs}, {kDefaultName, {}, {}}});
    ExpectSettings(saved);
    s = ReadMainState(main);
    EXPECT_EQ((std::vector<std::string>{"ABC", kDefaultName}), s.patterns);
    EXPECT_EQ(1, s.patternSel);
    EXPECT_FALSE(s.updateEnabled);

    // "新規" with an empty name clears the fields and creates nothing.
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 0));
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "x.y"));
    ASSERT_TRUE(main.Click(IDC_SUBFOLDERS));
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, ""));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(p0.masks[0].text, main.ListItems(IDC_MASK_LIST).at(0));
    ASSERT_TRUE(main.Click(IDC_NEW_PATTERN));
    ASSERT_TRUE(app.Answer(kMessage, kNameMissing, IDOK));
    ExpectNoMessageBox();
    s = ReadMainState(main);
    EXPECT_EQ((std::vector<std::string>{"ABC", kDefaultName}), s.patterns);
    EXPECT_TRUE(s.masks.empty());
    EXPECT_TRUE(s.dirs.empty());
    EXPECT_EQ("", s.maskEdit);
    EXPECT_EQ(BST_UNCHECKED, s.subfolders);

    // The pattern kept its entries: the close-up shows them again.
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 0));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ("ABC", main.Text(IDC_PATTERN_COMBO));
    EXPECT_EQ(std::vector<std::string>{"A.TMP"}, main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ(std::vector<std::string>{"C:\\P0\\"}, main.ListItems(IDC_DIR_LIST));
    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    ExpectSettings(saved);
}

TEST_F(PatternEditorTest, DeletingPatterns)
{
    std::vector<Pattern> p;
    for (int i = 0; i < 4; ++i)
        p.push_back({Numbered("P%d", i), {{Numbered("M%d.TMP", i), 0}}, {{Numbered("C:\\D%d\\", i), i % 2}}});
    ASSERT_TRUE(Start(SettingsBytes(p)));
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 2));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(std::vector<std::string>{"M2.TMP"}, main.ListItems(IDC_MASK_LIST));

    // No to the question changes nothing.
    const MainState before = ReadMainState(main);
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN));
    ASSERT_TRUE(app.Answer(kWarning, kDeletePatternQuestion, IDNO));
    ExpectNoMessageBox();
    EXPECT_EQ(before, ReadMainState(main));

    // Pattern 2 of P0..P3: P1 becomes current.
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN));
    ASSERT_TRUE(app.Answer(kWarning, kDeletePatternQuestion, IDYES));
    ExpectNoMessageBox();
    MainState s = ReadMainState(main);
    EXPECT_EQ((std::vector<std::string>{"P0", "P1", "P3"}), s.patterns);
    EXPECT_EQ(1, s.patternSel);
    EXPECT_EQ("P1", s.patternText);
    EXPECT_EQ(std::vector<std::string>{"M1.TMP"}, s.masks);
    EXPECT_EQ(std::vector<std::string>{"C:\\D1\\"}, s.dirs);
    EXPECT_TRUE(s.updateEnabled);

    // Pattern 0 of P0, P1, P3: P1, now first, becomes current.
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 0));
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN));
    ASSERT_TRUE(app.Answer(kWarning, kDeletePatternQuestion, IDYES));
    ExpectNoMessageBox();
    s = ReadMainState(main);
    EXPECT_EQ((std::vector<std::string>{"P1", "P3"}), s.patterns);
    EXPECT_EQ(0, s.patternSel);
    EXPECT_EQ("P1", s.patternText);
    EXPECT_EQ(std::vector<std::string>{"M1.TMP"}, s.masks);

    // An arrow key moves the selection without switching the pattern; the
    // deletion takes the selected item.
    ASSERT_TRUE(main.PressKey(IDC_PATTERN_COMBO, VK_DOWN));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(1, main.ComboCurSel(IDC_PATTERN_COMBO));
    EXPECT_EQ("P3", main.Text(IDC_PATTERN_COMBO));
    EXPECT_EQ(std::vector<std::string>{"M1.TMP"}, main.ListItems(IDC_MASK_LIST));
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN));
    ASSERT_TRUE(app.Answer(kWarning, kDeletePatternQuestion, IDYES));
    ExpectNoMessageBox();
    s = ReadMainState(main);
    EXPECT_EQ(std::vector<std::string>{"P1"}, s.patterns);
    EXPECT_EQ(0, s.patternSel);
    EXPECT_EQ("P1", s.patternText);
    EXPECT_EQ(std::vector<std::string>{"M1.TMP"}, s.masks);
    EXPECT_EQ(std::vector<std::string>{"C:\\D1\\"}, s.dirs);

    // The only pattern stays, and the update button keeps its state.
    const MainState single = ReadMainState(main);
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN));
    ASSERT_TRUE(app.Answer(kWarning, kDeletePatternQuestion, IDYES));
    ASSERT_TRUE(app.Answer(kWarning, kLastPattern, IDOK));
    ExpectNoMessageBox();
    EXPECT_EQ(single, ReadMainState(main));

    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    ExpectSettings(SettingsBytes({p[1]}));
}

TEST_F(PatternEditorTest, WithNoItemSelectedTheCurrentPatternIsKeptAndDeleted)
{
    const std::vector<Pattern> p = {{"P0", {{"A.TMP", 0}}, {}}, {"P1", {{"B.TMP", 0}}, {}}, {"P2", {{"C.TMP", 0}}, {}}};
    ASSERT_TRUE(Start(SettingsBytes(p)));
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 1));
    // A name that matches no item: the list opens and closes with no item
    // selected, and P1 stays current under its new name.
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, "Renamed"));
    ASSERT_TRUE(main.ShowDropDown(IDC_PATTERN_COMBO, true));
    ASSERT_TRUE(main.ShowDropDown(IDC_PATTERN_COMBO, false));
    ASSERT_TRUE(app.Sync());
    ASSERT_EQ(-1, main.ComboCurSel(IDC_PATTERN_COMBO)) << "the case needs a combo box with no item selected";
    EXPECT_EQ(std::vector<std::string>{"B.TMP"}, main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ("Renamed", main.Text(IDC_PATTERN_COMBO));

    // The deletion takes the current pattern and selects its neighbour.
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN));
    ASSERT_TRUE(app.Answer(kWarning, kDeletePatternQuestion, IDYES));
    ExpectNoMessageBox();
    MainState s = ReadMainState(main);
    EXPECT_EQ((std::vector<std::string>{"P0", "P2"}), s.patterns);
    EXPECT_EQ(0, s.patternSel);
    EXPECT_EQ("P0", s.patternText);
    EXPECT_EQ(std::vector<std::string>{"A.TMP"}, s.masks);
    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    ExpectSettings(SettingsBytes({p[0], p[2]}));
}

TEST_F(PatternEditorTest, TheOnlyPatternOfAFreshStartCannotBeDeleted)
{
    ASSERT_TRUE(Start());
    const MainState before = ReadMainState(main);
    ASSERT_TRUE(main.Click(IDC_DELETE_PATTERN));
    ASSERT_TRUE(app.Answer(kWarning, kDeletePatternQuestion, IDYES));
    ASSERT_TRUE(app.Answer(kWarning, kLastPattern, IDOK));
    ExpectNoMessageBox();
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
    ASSERT_TRUE(main.SelectLine(IDC_MASK_LIST, 1));
    ASSERT_TRUE(main.SelectLine(IDC_DIR_LIST, 0));
    ASSERT_TRUE(app.Sync());
    MainState before = ReadMainState(main);
    EXPECT_EQ("B.TMP", before.maskEdit);
    EXPECT_EQ("C:\\X\\", before.dirEdit);
    EXPECT_EQ(BST_CHECKED, before.subfolders);
    EXPECT_EQ(1, before.maskSel);

    // Opening and closing the list without choosing reloads the lists: the
    // selections go, the fields, the check box and the update button stay.
    ASSERT_TRUE(main.ShowDropDown(IDC_PATTERN_COMBO, true));
    ASSERT_TRUE(app.Sync());
    EXPECT_TRUE(main.ComboDropped(IDC_PATTERN_COMBO));
    ASSERT_TRUE(main.ShowDropDown(IDC_PATTERN_COMBO, false));
    ASSERT_TRUE(app.Sync());
    EXPECT_FALSE(main.ComboDropped(IDC_PATTERN_COMBO));
    MainState expected = before;
    expected.maskSel = -1;
    expected.dirSel = -1;
    EXPECT_EQ(expected, ReadMainState(main));

    // An arrow key with the list closed selects P1 but keeps P0's lists.
    ASSERT_TRUE(main.PressKey(IDC_PATTERN_COMBO, VK_DOWN));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(1, main.ComboCurSel(IDC_PATTERN_COMBO));
    EXPECT_EQ("P1", main.Text(IDC_PATTERN_COMBO));
    EXPECT_EQ((std::vector<std::string>{"A.TMP", "B.TMP"}), main.ListItems(IDC_MASK_LIST));
    EXPECT_FALSE(main.IsEnabled(IDC_UPDATE));

    // Opening the list now gives P0 the name shown, "P1"; closing it
    // switches to P1. The items are not refreshed.
    ASSERT_TRUE(main.ShowDropDown(IDC_PATTERN_COMBO, true));
    ASSERT_TRUE(main.ShowDropDown(IDC_PATTERN_COMBO, false));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(std::vector<std::string>{"C.TMP"}, main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ((std::vector<std::string>{"P0", "P1", "P2"}), main.ComboItems(IDC_PATTERN_COMBO));

    // A change, so that the update can be pressed.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "d.tmp"));
    ASSERT_TRUE(main.Click(IDC_ADD_MASK));
    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    std::vector<Pattern> saved = p;
    saved[0].name = "P1";
    saved[1].masks.push_back({"D.TMP", 0});
    ExpectSettings(SettingsBytes(saved));
    EXPECT_EQ((std::vector<std::string>{"P1", "P1", "P2"}), main.ComboItems(IDC_PATTERN_COMBO));
    EXPECT_EQ(1, main.ComboCurSel(IDC_PATTERN_COMBO));

    // A name typed and then the list opened goes to the pattern that was
    // current, and is saved by the next update.
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, "Second"));
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 2));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ("P2", main.Text(IDC_PATTERN_COMBO));
    EXPECT_TRUE(main.ListItems(IDC_MASK_LIST).empty());
    EXPECT_EQ((std::vector<std::string>{"P1", "P1", "P2"}), main.ComboItems(IDC_PATTERN_COMBO));
    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    saved[1].name = "Second";
    ExpectSettings(SettingsBytes(saved));
    EXPECT_EQ((std::vector<std::string>{"P1", "Second", "P2"}), main.ComboItems(IDC_PATTERN_COMBO));
    EXPECT_EQ(2, main.ComboCurSel(IDC_PATTERN_COMBO));
}

// ---- Masks ----------------------------------------------------------------

TEST_F(PatternEditorTest, MasksAreAddedUpperCasedRefusedAndRemoved)
{
    ASSERT_TRUE(Start(SettingsBytes({{"P0", {{"OLD.BAK", 0}, {"KEEP.ME", 5}}, {}}})));

    // Nothing typed, nothing selected: nothing happens at all.
    ASSERT_TRUE(main.Click(IDC_ADD_MASK));
    ASSERT_TRUE(main.Click(IDC_REMOVE_MASK));
    ExpectNoMessageBox();
    EXPECT_FALSE(main.IsEnabled(IDC_UPDATE));
    EXPECT_EQ(2u, main.ListItems(IDC_MASK_LIST).size());

    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "temp?.log"));
    ASSERT_TRUE(main.Click(IDC_ADD_MASK));
    ExpectNoMessageBox();
    const std::vector<std::string> masks = {"OLD.BAK", "KEEP.ME", "TEMP?.LOG"};
    EXPECT_EQ(masks, main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ("", main.Text(IDC_MASK_EDIT));
    EXPECT_TRUE(main.IsEnabled(IDC_UPDATE));
    EXPECT_TRUE(WaitUntil([&] { return app.Focus() == main.Item(IDC_MASK_EDIT); }));

    // The same mask in other letters, and masks with a folder part, are
    // refused; the field keeps the text.
    for (const char* refused : {"Temp?.Log", "sub\\*.tmp", "a/b.tmp", "c:x.tmp"}) {
        SCOPED_TRACE(refused);
        ASSERT_TRUE(main.Type(IDC_MASK_EDIT, refused));
        ASSERT_TRUE(main.Click(IDC_ADD_MASK));
        ASSERT_TRUE(app.Answer(kMessage, refused[0] == 'T' ? kDuplicateMask : kMaskWithFolder, IDOK));
        ExpectNoMessageBox();
        EXPECT_EQ(masks, main.ListItems(IDC_MASK_LIST));
        EXPECT_EQ(refused, main.Text(IDC_MASK_EDIT));
    }

    // 表 ends in the byte of "\": still a plain name, upper-cased around it.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "表*.log"));
    ASSERT_TRUE(main.Click(IDC_ADD_MASK));
    ExpectNoMessageBox();
    EXPECT_EQ("表*.LOG", main.ListItems(IDC_MASK_LIST).back());

    // Selecting a line fills the field only when it is empty.
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "typed"));
    ASSERT_TRUE(main.SelectLine(IDC_MASK_LIST, 0));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ("typed", main.Text(IDC_MASK_EDIT));
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, ""));
    ASSERT_TRUE(main.SelectLine(IDC_MASK_LIST, 2));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ("TEMP?.LOG", main.Text(IDC_MASK_EDIT));

    // Removing entry 0: every flag stays with its own mask.
    ASSERT_TRUE(main.SelectLine(IDC_MASK_LIST, 0));
    ASSERT_TRUE(main.Click(IDC_REMOVE_MASK));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ((std::vector<std::string>{"KEEP.ME", "TEMP?.LOG", "表*.LOG"}), main.ListItems(IDC_MASK_LIST));
    EXPECT_EQ(-1, main.ListCurSel(IDC_MASK_LIST));
    EXPECT_EQ("TEMP?.LOG", main.Text(IDC_MASK_EDIT));

    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    ExpectSettings(SettingsBytes({{"P0", {{"KEEP.ME", 5}, {"TEMP?.LOG", 0}, {"表*.LOG", 0}}, {}}}));
}

TEST_F(PatternEditorTest, FullListsRefuseTheHundredAndFirstEntry)
{
    testing_support::TempDir dir(false);
    Pattern full{"FULL", {}, {}};
    for (int i = 0; i < 100; ++i) {
        full.masks.push_back({Numbered("M%03d.TMP", i), 0});
        full.dirs.push_back({Numbered("C:\\D%03d\\", i), i % 2});
    }
    ASSERT_TRUE(Start(SettingsBytes({full})));

    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "new.tmp"));
    ASSERT_TRUE(main.Click(IDC_ADD_MASK));
    ASSERT_TRUE(app.Answer(kMessage, kTooManyMasks, IDOK));
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, dir.Path()));
    ASSERT_TRUE(main.Click(IDC_ADD_DIR));
    ASSERT_TRUE(app.Answer(kMessage, kTooManyDirs, IDOK));
    ExpectNoMessageBox();
    MainState s = ReadMainState(main);
    EXPECT_EQ(100u, s.masks.size());
    EXPECT_EQ(100u, s.dirs.size());
    EXPECT_EQ("new.tmp", s.maskEdit);
    EXPECT_EQ(dir.Path(), s.dirEdit);
    EXPECT_FALSE(s.updateEnabled);

    // After a removal there is room again.
    ASSERT_TRUE(main.SelectLine(IDC_MASK_LIST, 99));
    ASSERT_TRUE(main.Click(IDC_REMOVE_MASK));
    ASSERT_TRUE(main.Click(IDC_ADD_MASK));
    ExpectNoMessageBox();
    s = ReadMainState(main);
    ASSERT_EQ(100u, s.masks.size());
    EXPECT_EQ("NEW.TMP", s.masks.back());
    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    full.masks.back() = {"NEW.TMP", 0};
    ExpectSettings(SettingsBytes({full}));
}

// ---- Directories ----------------------------------------------------------

TEST_F(PatternEditorTest, DirectoriesAndTheirSubfolderFlags)
{
    testing_support::TempDir base(false);
    const std::string alpha = base / "alpha", beta = base / "beta", gamma = base / "gamma", delta = base / "delta";
    const std::string hyo = base / "dir表";  // ends in the bytes 95 5C
    for (const std::string& d : {alpha, beta, gamma, gamma + "\\sub", delta, hyo})
        ASSERT_TRUE(::CreateDirectoryA(d.c_str(), nullptr)) << Utf8(d);
    const std::string A = UpperCp932(alpha) + "\\", B = UpperCp932(beta) + "\\", G = UpperCp932(gamma) + "\\",
                      GSUB = UpperCp932(gamma) + "\\SUB\\", D = UpperCp932(delta) + "\\", H = UpperCp932(hyo) + "\\";
    ASSERT_EQ("\x95\x5C\x5C", H.substr(H.size() - 3));

    ASSERT_TRUE(Start(SettingsBytes({{"Dirs", {}, {{"C:\\X\\", 1}, {"C:\\Y\\", 0}, {"C:\\Z\\", 1}}}})));
    auto add = [&](const std::string& typed) {
        return main.Type(IDC_DIR_EDIT, typed) && main.Click(IDC_ADD_DIR) && app.Sync();
    };

    // The check box with no directory selected: only the box changes.
    ASSERT_TRUE(main.Click(IDC_SUBFOLDERS));
    ExpectNoMessageBox();
    EXPECT_EQ(BST_CHECKED, main.Check(IDC_SUBFOLDERS));
    EXPECT_FALSE(main.IsEnabled(IDC_UPDATE));

    // A lower-case path is stored upper-cased with its "\", with the box's
    // state as its flag.
    ASSERT_TRUE(add(Lower(alpha)));
    ExpectNoMessageBox();
    EXPECT_EQ((std::vector<std::string>{"C:\\X\\", "C:\\Y\\", "C:\\Z\\", A}), main.ListItems(IDC_DIR_LIST));
    EXPECT_EQ("", main.Text(IDC_DIR_EDIT));
    EXPECT_TRUE(main.IsEnabled(IDC_UPDATE));
    EXPECT_TRUE(WaitUntil([&] { return app.Focus() == main.Item(IDC_DIR_EDIT); }));

    // Removing entry 1 of X (1), Y (0), Z (1); selecting Y showed its flag.
    ASSERT_TRUE(main.SelectLine(IDC_DIR_LIST, 1));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ("C:\\Y\\", main.Text(IDC_DIR_EDIT));
    EXPECT_EQ(BST_UNCHECKED, main.Check(IDC_SUBFOLDERS));
    ASSERT_TRUE(main.Click(IDC_REMOVE_DIR));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ((std::vector<std::string>{"C:\\X\\", "C:\\Z\\", A}), main.ListItems(IDC_DIR_LIST));
    EXPECT_EQ(-1, main.ListCurSel(IDC_DIR_LIST));
    EXPECT_EQ("C:\\Y\\", main.Text(IDC_DIR_EDIT));
    EXPECT_EQ(BST_UNCHECKED, main.Check(IDC_SUBFOLDERS));
    ASSERT_TRUE(main.SelectLine(IDC_DIR_LIST, 1));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(BST_CHECKED, main.Check(IDC_SUBFOLDERS)) << "Z keeps its own flag";

    // The check box with X selected sets X's flag.
    ASSERT_TRUE(main.SelectLine(IDC_DIR_LIST, 0));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(BST_CHECKED, main.Check(IDC_SUBFOLDERS));
    ASSERT_TRUE(main.Click(IDC_SUBFOLDERS));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(BST_UNCHECKED, main.Check(IDC_SUBFOLDERS));

    // A path that already ends in "\" gets no second one; one ending in 表
    // (second byte 5C) gets one.
    ASSERT_TRUE(add(beta + "\\"));
    ASSERT_TRUE(add(hyo));
    ExpectNoMessageBox();
    std::vector<std::string> dirs = {"C:\\X\\", "C:\\Z\\", A, B, H};
    EXPECT_EQ(dirs, main.ListItems(IDC_DIR_LIST));

    // A missing directory is refused; the field keeps the text.
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, base / "missing"));
    ASSERT_TRUE(main.Click(IDC_ADD_DIR));
    ASSERT_TRUE(app.Answer(kMessage, kNoSuchPath, IDOK));
    ExpectNoMessageBox();
    EXPECT_EQ(dirs, main.ListItems(IDC_DIR_LIST));
    EXPECT_EQ(base / "missing", main.Text(IDC_DIR_EDIT));

    // The same directory twice gives two entries; a relative path is taken
    // from the directory added last and stored in full.
    ASSERT_TRUE(add(gamma));
    ASSERT_TRUE(add(gamma));
    ASSERT_TRUE(add("sub"));
    ExpectNoMessageBox();
    dirs.insert(dirs.end(), {G, G, GSUB});
    EXPECT_EQ(dirs, main.ListItems(IDC_DIR_LIST));

    // Selecting a directory while the field holds text keeps the text and
    // shows the directory's flag.
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, "pending"));
    ASSERT_TRUE(main.SelectLine(IDC_DIR_LIST, 3));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ("pending", main.Text(IDC_DIR_EDIT));
    EXPECT_EQ(BST_UNCHECKED, main.Check(IDC_SUBFOLDERS));
    ASSERT_TRUE(main.SelectLine(IDC_DIR_LIST, 2));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ("pending", main.Text(IDC_DIR_EDIT));
    EXPECT_EQ(BST_CHECKED, main.Check(IDC_SUBFOLDERS));

    // Adding keeps the selection; the check box then changes the selected
    // directory's flag, not the new one's.
    ASSERT_TRUE(add(delta));
    EXPECT_EQ(2, main.ListCurSel(IDC_DIR_LIST));
    ASSERT_TRUE(main.Click(IDC_SUBFOLDERS));
    ASSERT_TRUE(app.Sync());
    EXPECT_EQ(BST_UNCHECKED, main.Check(IDC_SUBFOLDERS));
    dirs.push_back(D);
    EXPECT_EQ(dirs, main.ListItems(IDC_DIR_LIST));

    ASSERT_TRUE(main.Click(IDC_UPDATE));
    ASSERT_TRUE(app.Sync());
    ExpectSettings(SettingsBytes({{"Dirs",
                                   {},
                                   {{"C:\\X\\", 0},
                                    {"C:\\Z\\", 1},
                                    {A, 0},
                                    {B, 0},
                                    {H, 0},
                                    {G, 0},
                                    {G, 0},
                                    {GSUB, 0},
                                    {D, 1}}}}));
}

TEST_F(PatternEditorTest, FolderBrowserCancelledAndUsed)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(main.Type(IDC_DIR_EDIT, "kept"));
    ASSERT_TRUE(app.Sync());
    const MainState before = ReadMainState(main);

    ASSERT_TRUE(main.Click(IDC_BROWSE));
    Window browser = app.WaitForFolderBrowser();
    ASSERT_TRUE(browser.Exists());
    EXPECT_FALSE(main.IsEnabled()) << "the browser is modal";
    EXPECT_EQ(kBrowseTitle, browser.Text(0x3742));
    ASSERT_TRUE(app.Press(browser, IDCANCEL));
    ExpectNoMessageBox();
    EXPECT_EQ(before, ReadMainState(main));

    // OK with the browser's initial choice (Wine offers the desktop) puts
    // that folder's path into the field and adds nothing.
    char desktop[MAX_PATH];
    ASSERT_EQ(S_OK, ::SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop));
    ASSERT_TRUE(main.Click(IDC_BROWSE));
    browser = app.WaitForFolderBrowser();
    ASSERT_TRUE(app.Press(browser, IDOK));
    ASSERT_TRUE(app.Sync());
    MainState s = ReadMainState(main);
    EXPECT_EQ(desktop, s.dirEdit);
    EXPECT_TRUE(s.dirs.empty());
    EXPECT_FALSE(s.updateEnabled);

    ASSERT_TRUE(main.Click(IDC_ADD_DIR));
    ExpectNoMessageBox();
    EXPECT_EQ(std::vector<std::string>{UpperCp932(desktop) + "\\"}, main.ListItems(IDC_DIR_LIST));
}

// ---- A failed save --------------------------------------------------------

TEST_F(PatternEditorTest, FailedSaveIsReportedAndLeavesTheChangesUnsaved)
{
    const Bytes file = SettingsBytes({{"P0", {{"A.TMP", 0}}, {}}});
    ASSERT_TRUE(app.WriteSettings(file));
    ASSERT_TRUE(testing_support::SetReadOnly(app.SettingsPath(), true));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(main.Type(IDC_MASK_EDIT, "b.tmp"));
    ASSERT_TRUE(main.Click(IDC_ADD_MASK));
    ASSERT_TRUE(app.Sync());
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

}  // namespace
}  // namespace e2e
