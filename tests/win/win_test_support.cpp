#include "tests/win/win_test_support.h"

#include <map>

#include "platform/win/ui_seam.h"

namespace win_test {
namespace {

ScriptedBoxes* g_boxes = nullptr;
std::map<UINT_PTR, std::function<void()>> g_actions;

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    auto it = g_actions.find(id);
    if (it == g_actions.end())
        return;
    std::function<void()> action = std::move(it->second);
    g_actions.erase(it);
    action();
}

}  // namespace

ScriptedBoxes::ScriptedBoxes()
{
    g_boxes = this;
    platform::SetMessageBoxHandler(&ScriptedBoxes::Handler);
}

ScriptedBoxes::~ScriptedBoxes()
{
    platform::SetMessageBoxHandler(nullptr);
    g_boxes = nullptr;
}

ScriptedBoxes& ScriptedBoxes::Answer(int answer)
{
    m_answers.push_back(answer);
    return *this;
}

int ScriptedBoxes::Handler(HWND owner, const char* text, const char* caption, UINT type)
{
    ScriptedBoxes& self = *g_boxes;
    int answer;
    if (self.m_next < self.m_answers.size())
        answer = self.m_answers[self.m_next++];
    else
        answer = (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    self.m_boxes.push_back(RecordedBox{owner, text ? text : "", caption ? caption : "", type, answer});
    if (self.onBox)
        self.onBox(self.m_boxes.back());
    return answer;
}

void RunInDrain(std::function<void()> action, UINT delayMs)
{
    UINT_PTR id = ::SetTimer(nullptr, 0, delayMs, TimerProc);
    g_actions[id] = std::move(action);
}

void CancelDrainActions()
{
    for (auto& a : g_actions)
        ::KillTimer(nullptr, a.first);
    g_actions.clear();
}

void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

std::string TextOf(HWND window)
{
    int n = ::GetWindowTextLengthA(window);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = ::GetWindowTextA(window, &s[0], n + 1);
    s.resize(static_cast<size_t>(n < 0 ? 0 : n));
    return s;
}

std::string ListItem(HWND list, int index)
{
    LRESULT n = ::SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == LB_ERR)
        return std::string();
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = ::SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&s[0]));
    s.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
    return s;
}

std::vector<std::string> ListItems(HWND list)
{
    std::vector<std::string> items;
    int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        items.push_back(ListItem(list, i));
    return items;
}

std::vector<std::string> ComboItems(HWND combo)
{
    std::vector<std::string> items;
    int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LRESULT n = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string s(static_cast<size_t>(n) + 1, '\0');
        n = ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&s[0]));
        s.resize(n == CB_ERR ? 0 : static_cast<size_t>(n));
        items.push_back(s);
    }
    return items;
}

std::vector<int> SelectedLines(HWND list)
{
    int count = static_cast<int>(::SendMessageA(list, LB_GETSELCOUNT, 0, 0));
    std::vector<int> lines(count > 0 ? static_cast<size_t>(count) : 0);
    if (count > 0)
        ::SendMessageA(list, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(lines.data()));
    return lines;
}

}  // namespace win_test
