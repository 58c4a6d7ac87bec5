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

}  // namespace win_test
