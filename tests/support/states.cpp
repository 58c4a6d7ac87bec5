#include "tests/support/states.h"

#include <tuple>

#include "res/resource.h"
#include "tests/support/controls.h"
#include "tests/support/texts.h"

namespace testing_support {
namespace {

auto Fields(const MainState& s)
{
    return std::tie(s.patterns, s.patternSel, s.patternText, s.masks, s.maskSel, s.maskEdit, s.dirs, s.dirSel, s.dirEdit,
                    s.subfolders, s.updateEnabled);
}

auto Fields(const ResultsState& s)
{
    return std::tie(s.status, s.action, s.actionEnabled, s.listEnabled, s.deleteEnabled, s.deleteCheck, s.recycleEnabled,
                    s.recycleCheck, s.low, s.high, s.pos, s.maxText, s.lines);
}

void PrintList(std::ostream* os, const char* name, const std::vector<std::string>& items)
{
    // Long lists are cut: the 64000 lines of a full result set help nobody.
    const size_t shown = items.size() > 40 ? 40 : items.size();
    *os << name << " (" << items.size() << ") [";
    for (size_t i = 0; i < shown; ++i)
        *os << (i ? ", " : "") << Utf8(items[i]);
    *os << (shown < items.size() ? ", ...]" : "]");
}

const char* EnabledText(bool enabled)
{
    return enabled ? "enabled" : "disabled";
}

}  // namespace

bool MainState::operator==(const MainState& other) const
{
    return Fields(*this) == Fields(other);
}

MainState ReadMainState(HWND main)
{
    auto item = [&](int id) { return ::GetDlgItem(main, id); };
    return MainState{
        ComboItems(item(IDC_PATTERN_COMBO)), ComboCurSel(item(IDC_PATTERN_COMBO)), WindowText(item(IDC_PATTERN_COMBO)),
        ListItems(item(IDC_MASK_LIST)),      ListCurSel(item(IDC_MASK_LIST)),      WindowText(item(IDC_MASK_EDIT)),
        ListItems(item(IDC_DIR_LIST)),       ListCurSel(item(IDC_DIR_LIST)),       WindowText(item(IDC_DIR_EDIT)),
        Check(item(IDC_SUBFOLDERS)),         IsEnabled(item(IDC_UPDATE))};
}

void PrintTo(const MainState& s, std::ostream* os)
{
    PrintList(os, "patterns", s.patterns);
    *os << " sel " << s.patternSel << " text \"" << Utf8(s.patternText) << "\"; ";
    PrintList(os, "masks", s.masks);
    *os << " sel " << s.maskSel << " edit \"" << Utf8(s.maskEdit) << "\"; ";
    PrintList(os, "dirs", s.dirs);
    *os << " sel " << s.dirSel << " edit \"" << Utf8(s.dirEdit) << "\"; subfolders " << s.subfolders << "; update "
        << EnabledText(s.updateEnabled);
}

MainState FreshMainState()
{
    return MainState{{texts::kDefaultName}, 0, texts::kDefaultName, {}, -1, "", {}, -1, "", BST_UNCHECKED, false};
}

bool ResultsState::operator==(const ResultsState& other) const
{
    return Fields(*this) == Fields(other);
}

ResultsState ReadResultsState(HWND results)
{
    auto item = [&](int id) { return ::GetDlgItem(results, id); };
    const ProgressState bar = Progress(item(IDC_PROGRESS));
    return ResultsState{WindowText(item(IDC_STATUS)),
                        WindowText(item(IDC_ACTION)),
                        IsEnabled(item(IDC_ACTION)),
                        IsEnabled(item(IDC_RESULT_LIST)),
                        IsEnabled(item(IDC_DELETE_THIS)),
                        Check(item(IDC_DELETE_THIS)),
                        IsEnabled(item(IDC_TO_RECYCLE)),
                        Check(item(IDC_TO_RECYCLE)),
                        bar.low,
                        bar.high,
                        bar.pos,
                        WindowText(item(IDC_PROGRESS_MAX)),
                        ListItems(item(IDC_RESULT_LIST))};
}

void PrintTo(const ResultsState& s, std::ostream* os)
{
    *os << "status \"" << Utf8(s.status) << "\"; action \"" << Utf8(s.action) << "\" " << EnabledText(s.actionEnabled)
        << "; list " << EnabledText(s.listEnabled) << "; delete box " << EnabledText(s.deleteEnabled) << " " << s.deleteCheck
        << "; recycle box " << EnabledText(s.recycleEnabled) << " " << s.recycleCheck << "; bar " << s.low << ".." << s.high
        << " at " << s.pos << ", label \"" << Utf8(s.maxText) << "\"; ";
    PrintList(os, "lines", s.lines);
}

ResultsState ReadyState(const std::vector<std::string>& lines)
{
    const int n = static_cast<int>(lines.size());
    return ResultsState{texts::kReadyStatus,
                        texts::kDeleteAction,
                        true,
                        true,
                        true,
                        BST_CHECKED,
                        true,
                        BST_CHECKED,
                        0,
                        n,
                        n - 1,
                        std::to_string(n),
                        lines};
}

ResultsState NothingFoundState()
{
    return ResultsState{
        texts::kNothingStatus, texts::kCloseAction, true, false, false, BST_UNCHECKED, false, BST_UNCHECKED, 0, 0, 0, "0", {}};
}

ResultsState DoneState(const std::vector<std::string>& lines, int lastHandled, int deleteCheck, int recycleCheck)
{
    const int n = static_cast<int>(lines.size());
    return ResultsState{texts::kDoneStatus, texts::kDoneAction, true, true, false, deleteCheck, false, recycleCheck, 0, n,
                        lastHandled,        std::to_string(n),  lines};
}

}  // namespace testing_support
