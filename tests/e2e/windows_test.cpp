// The program as it starts, the About box, and the ways of quitting, driven
// from outside the real Tidymoth.exe.
#include <functional>

#include "tests/e2e/e2e_support.h"

namespace e2e {
namespace {

using WindowsTest = E2eTest;

// Three patterns; the second has a double-byte name.
std::vector<Pattern> ThreePatterns()
{
    return {
        {"P0", {{"*.TMP", 0}, {"*.BAK", 0}}, {{"C:\\TEMP\\", 1}, {"D:\\WORK\\", 0}}},
        {"表示ログ", {{"*.LOG", 0}}, {{"C:\\LOGS\\", 1}}},
        {"P2", {}, {}},
    };
}

// A start from a settings file: none, a whole one, and one cut inside the
// last directory, which is reported once and left alone.
struct StartRow {
    const char* name;
    Bytes file;                     // none when empty
    std::vector<std::string> kept;  // the report names them; no report without
    MainState shown;
};

const StartRow kStarts[] = {
    {"WithoutSettingsFile", {}, {}, FreshMainState()},
    {"WithThePatternsOfTheFile",
     SettingsBytes(ThreePatterns()),
     {},
     {{"P0", "表示ログ", "P2"}, 0, "P0", {"*.TMP", "*.BAK"}, -1, "", {"C:\\TEMP\\", "D:\\WORK\\"}, -1, "", BST_UNCHECKED, false}},
    {"DamagedFile",
     [] {
         std::vector<Pattern> patterns = ThreePatterns();
         patterns[0].name = "KEPT0";
         patterns[1].name = "KEPT1";
         patterns[2] = {"LOST", {{"*.OLD", 0}}, {{"C:\\OLD\\", 1}}};
         Bytes file = SettingsBytes(patterns);
         file.resize(file.size() - 6);
         return file;
     }(),
     {"KEPT0", "KEPT1"},
     {{"KEPT0", "KEPT1"}, 0, "KEPT0", {"*.TMP", "*.BAK"}, -1, "", {"C:\\TEMP\\", "D:\\WORK\\"}, -1, "", BST_UNCHECKED, false}},
};

class StartTest : public E2eTest, public ::testing::WithParamInterface<StartRow> {};

TEST_P(StartTest, ShowsTheSettingsFileAndEndsWithoutWritingIt)
{
    const StartRow& row = GetParam();
    ASSERT_TRUE(Start(row.file));
    if (!row.kept.empty()) {
        Window box = app.WaitForMessageBox();
        ASSERT_TRUE(box.Exists());
        EXPECT_EQ(kMessage, box.Caption());
        const std::string text = box.Text(0xFFFF);
        for (const std::string& name : row.kept)
            EXPECT_NE(std::string::npos, text.find(name)) << Utf8(text);
        EXPECT_EQ(std::string::npos, text.find("LOST")) << Utf8(text);
        EXPECT_FALSE(main.IsEnabled()) << "the message is modal over the main window";
        ASSERT_TRUE(app.Press(box, IDOK));
    }
    EXPECT_EQ(kMainCaption, main.Caption());
    EXPECT_EQ(row.shown, ReadMainState(main));
    EXPECT_EQ(kUpdateLabel, main.Text(IDC_UPDATE));
    EXPECT_TRUE(WaitUntil([&] { return app.Focus() == main.Item(IDC_MASK_EDIT); }))
        << "the focus is in \"" << ClassName(app.Focus()) << "\", not in the mask field";
    ExpectNoMessageBox();
    EXPECT_EQ(1u, app.TopWindows().size());

    QuitWithoutSaveQuestion();
    if (row.file.empty())
        EXPECT_FALSE(app.HasSettings());
    else
        ExpectSettings(row.file);
}

INSTANTIATE_TEST_SUITE_P(Files, StartTest, ::testing::ValuesIn(kStarts),
                         [](const ::testing::TestParamInfo<StartRow>& info) { return std::string(info.param.name); });

TEST_F(WindowsTest, ChoosingAPatternShowsItsEntries)
{
    const Bytes file = SettingsBytes(ThreePatterns());
    ASSERT_TRUE(Start(file));
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 1) && app.Sync());
    EXPECT_EQ(
        (MainState{{"P0", "表示ログ", "P2"}, 1, "表示ログ", {"*.LOG"}, -1, "", {"C:\\LOGS\\"}, -1, "", BST_UNCHECKED, false}),
        ReadMainState(main));
    QuitWithoutSaveQuestion();
    ExpectSettings(file);
}

TEST_F(WindowsTest, SystemCommands0x10To0x1FOpenTheAboutBox)
{
    ASSERT_TRUE(Start());
    for (WPARAM command : {0x0010u, 0x001Fu}) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(main.PostSysCommand(command));
        Window about = app.WaitForWindow(kAboutCaption);
        ASSERT_TRUE(about.Exists());
        EXPECT_FALSE(main.IsEnabled()) << "the About box is modal";
        EXPECT_TRUE(about.IsEnabled(IDOK));
        ASSERT_TRUE(app.Press(about, IDOK));
        EXPECT_TRUE(WaitUntil([&] { return main.IsEnabled(); }));
    }
    // 0x0020 is not the About entry and does nothing visible.
    ASSERT_TRUE(main.PostSysCommand(0x0020));
    ExpectNoMessageBox();
    EXPECT_FALSE(app.FindWindowByCaption(kAboutCaption).Exists());
    EXPECT_TRUE(main.IsEnabled());
    EXPECT_EQ(1u, app.TopWindows().size());
}

TEST_F(WindowsTest, EveryWayOfQuittingAsksAndNoKeepsEverything)
{
    const Bytes file = SettingsBytes(ThreePatterns());
    ASSERT_TRUE(Start(file));
    // Some state that must survive: another pattern, a selected line, text
    // in both fields.
    ASSERT_TRUE(main.ChooseComboItem(IDC_PATTERN_COMBO, 1) && main.SelectLine(IDC_DIR_LIST, 0) &&
                main.Type(IDC_MASK_EDIT, "half typed") && app.Sync());
    const MainState before = ReadMainState(main);
    EXPECT_EQ("C:\\LOGS\\", before.dirEdit);
    EXPECT_EQ(BST_CHECKED, before.subfolders);

    const struct {
        const char* way;
        std::function<bool()> quit;
    } ways[] = {
        {"close box", [&] { return main.PostClose(); }},
        {"system menu Close", [&] { return main.PostSysCommand(SC_CLOSE); }},
        {"quit button", [&] { return main.Click(IDCANCEL); }},
        {"Escape", [&] { return app.PressKey(VK_ESCAPE); }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        ASSERT_TRUE(w.quit());
        ASSERT_TRUE(app.Answer(kConfirm, kQuitQuestion, IDNO));
        ExpectNoMessageBox();
        EXPECT_EQ(before, ReadMainState(main));
        EXPECT_TRUE(app.IsRunning());
    }
    ASSERT_TRUE(app.PressKey(VK_ESCAPE));
    ASSERT_TRUE(app.Answer(kConfirm, kQuitQuestion, IDYES));
    EXPECT_TRUE(app.WaitForExit());
    ExpectSettings(file);
}

TEST_F(WindowsTest, UnsavedChangesAskTheSaveQuestionFirst)
{
    ASSERT_TRUE(Start());
    // Typing a name into the combo box is a change.
    ASSERT_TRUE(main.Type(IDC_PATTERN_COMBO, "Cleanup") && app.Sync());
    EXPECT_TRUE(main.IsEnabled(IDC_UPDATE));
    EXPECT_EQ("Cleanup", main.Text(IDC_PATTERN_COMBO));

    ASSERT_TRUE(main.PostClose());
    ASSERT_TRUE(app.Answer(kConfirm, kSaveQuestion, IDYES));
    // Saved before the quit question is even asked.
    ASSERT_TRUE(app.WaitForMessageBox().Exists());
    ExpectSettings(SettingsBytes({{"Cleanup", {}, {}}}));
    EXPECT_FALSE(main.IsEnabled(IDC_UPDATE));
    ASSERT_TRUE(app.Answer(kConfirm, kQuitQuestion, IDNO));
    ExpectNoMessageBox();

    // The save stands and the window is clean: only the quit question now.
    EXPECT_EQ((MainState{{"Cleanup"}, 0, "Cleanup", {}, -1, "", {}, -1, "", BST_UNCHECKED, false}), ReadMainState(main));
    QuitWithoutSaveQuestion();
    ExpectSettings(SettingsBytes({{"Cleanup", {}, {}}}));
}

}  // namespace
}  // namespace e2e
