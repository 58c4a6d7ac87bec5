#include "tests/e2e/e2e_support.h"

#include <cstdio>

namespace e2e {

const char MAIN_CAPTION[] = "Tidymoth for Windows ver 0.1.5 α１";
const char RESULTS_CAPTION[] = "検索ダイアログ";
const char ABOUT_CAPTION[] = "ﾊﾞｰｼﾞｮﾝ情報 Tidymoth";
const char CONFIRM[] = "確認";
const char MESSAGE[] = "メッセージ";
const char WARNING[] = "警告";
const char QUIT_QUESTION[] = "Tidymoth を終了します\nよろしいですか？";
const char SAVE_QUESTION[] = "いくつかの設定が更新されています\n変更を保存しますか？";
const char NAME_MISSING[] = "削除パターン名を入力してください";
const char DEFAULT_NAME[] = "新しいパターン";

bool MainState::operator==(const MainState& o) const
{
    return patterns == o.patterns && patternSel == o.patternSel && patternText == o.patternText &&
           masks == o.masks && maskSel == o.maskSel && maskEdit == o.maskEdit && dirs == o.dirs &&
           dirSel == o.dirSel && dirEdit == o.dirEdit && subfolders == o.subfolders &&
           updateEnabled == o.updateEnabled;
}

MainState ReadMainState(const Window& main)
{
    MainState s;
    s.patterns = main.ComboItems(IDC_PATTERN_COMBO);
    s.patternSel = main.ComboCurSel(IDC_PATTERN_COMBO);
    s.patternText = main.Text(IDC_PATTERN_COMBO);
    s.masks = main.ListItems(IDC_MASK_LIST);
    s.maskSel = main.ListCurSel(IDC_MASK_LIST);
    s.maskEdit = main.Text(IDC_MASK_EDIT);
    s.dirs = main.ListItems(IDC_DIR_LIST);
    s.dirSel = main.ListCurSel(IDC_DIR_LIST);
    s.dirEdit = main.Text(IDC_DIR_EDIT);
    s.subfolders = main.Check(IDC_SUBFOLDERS);
    s.updateEnabled = main.IsEnabled(IDC_UPDATE);
    return s;
}

void PrintTo(const MainState& s, std::ostream* os)
{
    auto list = [&](const char* name, const std::vector<std::string>& items, int sel) {
        *os << name << " [";
        for (size_t i = 0; i < items.size(); ++i)
            *os << (i ? ", " : "") << Utf8(items[i]);
        *os << "] sel " << sel << "; ";
    };
    list("patterns", s.patterns, s.patternSel);
    *os << "text \"" << Utf8(s.patternText) << "\"; ";
    list("masks", s.masks, s.maskSel);
    *os << "mask edit \"" << Utf8(s.maskEdit) << "\"; ";
    list("dirs", s.dirs, s.dirSel);
    *os << "dir edit \"" << Utf8(s.dirEdit) << "\"; subfolders " << s.subfolders << "; update "
        << (s.updateEnabled ? "enabled" : "disabled");
}

bool E2eTest::Start(const Bytes& settings)
{
    if (!settings.empty() && !app.WriteSettings(settings))
        return false;
    if (!app.Start())
        return false;
    main = app.Main();
    return true;
}

void E2eTest::ExpectSettings(const Bytes& expected)
{
    const Bytes actual = app.ReadSettings();
    if (actual == expected)
        return;
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    auto excerpt = [&](const Bytes& b) {
        std::string text;
        char hex[4];
        for (size_t i = at < 8 ? 0 : at - 8; i < b.size() && i < at + 24; ++i) {
            std::snprintf(hex, sizeof hex, "%02X ", b[i]);
            text += (i == at ? "| " : "") + std::string(hex);
        }
        return text;
    };
    ADD_FAILURE() << "the settings file holds " << actual.size() << " bytes, expected " << expected.size()
                  << "; first difference at offset " << at << "\n  expected: " << excerpt(expected)
                  << "\n  actual:   " << excerpt(actual);
}

void E2eTest::ExpectNoMessageBox()
{
    ASSERT_TRUE(app.Sync());
    EXPECT_TRUE(app.MessageBoxes().empty()) << "a message box is open";
}

void E2eTest::QuitWithoutSaveQuestion()
{
    ASSERT_TRUE(main.Click(IDCANCEL));
    ASSERT_TRUE(app.Answer(CONFIRM, QUIT_QUESTION, IDYES));
    EXPECT_TRUE(app.WaitForExit());
}

}  // namespace e2e
