// In-process tests of the real windows: message boxes answered by script
// through the program's one seam, and test code run inside the program's
// own message drains.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/controls.h"
#include "tests/support/states.h"
#include "tests/support/texts.h"

namespace win_test {

using namespace testing_support;
using namespace texts;

struct RecordedBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
    int answer;
};

// Answers every message box the program raises while it lives. Answers are
// taken in order; when none is left, MB_YESNO gets IDNO and the rest IDOK.
// A box may also run `onBox` (for example to press a button elsewhere)
// before it is answered.
class ScriptedBoxes {
public:
    ScriptedBoxes();
    ~ScriptedBoxes();
    ScriptedBoxes(const ScriptedBoxes&) = delete;
    ScriptedBoxes& operator=(const ScriptedBoxes&) = delete;

    ScriptedBoxes& Answer(int answer);
    const std::vector<RecordedBox>& Boxes() const { return m_boxes; }
    size_t Count() const { return m_boxes.size(); }
    const RecordedBox& Last() const { return m_boxes.back(); }
    void Clear() { m_boxes.clear(); }

    std::function<void(const RecordedBox&)> onBox;

private:
    static int Handler(HWND owner, const char* text, const char* caption, UINT type);
    std::vector<int> m_answers;
    size_t m_next = 0;
    std::vector<RecordedBox> m_boxes;
};

// Runs `action` from inside the next message drain of this thread (the
// program's modal loop, a search poll, the deletion pass's pump) after
// `delayMs`, through a thread timer.
void RunInDrain(std::function<void()> action, UINT delayMs = 0);
// Drops every action still waiting.
void CancelDrainActions();

// Dispatches this thread's queued messages, as the program's loops do.
void PumpPending();
// Pumps until `done` or the time-out; false on time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

}  // namespace win_test
