#include "tests/e2e/e2e_support.h"

#include <cstdio>

namespace e2e {

std::string UpperCp932(const std::string& text)
{
    std::string upper = text;
    for (size_t i = 0; i < upper.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(upper[i]);
        if (::IsDBCSLeadByteEx(932, c) && i + 1 < upper.size())
            ++i;
        else if (c >= 'a' && c <= 'z')
            upper[i] = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
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

bool E2eTest::Answered(const std::string& caption, const std::string& text, int id)
{
    if (!app.Answer(caption, text, id) || !app.Sync())
        return false;
    if (app.MessageBoxes().empty())
        return true;
    ReportFailure("a message box is still open after \"" + Utf8(text) + "\"");
    return false;
}

void E2eTest::Save(const Bytes& expected)
{
    ASSERT_TRUE(main.Click(IDC_UPDATE) && app.Sync());
    ExpectSettings(expected);
}

void E2eTest::QuitWithoutSaveQuestion()
{
    ASSERT_TRUE(main.Click(IDCANCEL));
    ASSERT_TRUE(app.Answer(kConfirm, kQuitQuestion, IDYES));
    EXPECT_TRUE(app.WaitForExit());
}

}  // namespace e2e
