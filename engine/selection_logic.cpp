#include "engine/selection_logic.h"

int CheckStateFor(const int* flags, const int* selected, int selectedCount)
{
    if (selectedCount <= 0)
        return CHECK_UNCHECKED;
    int first = flags[selected[0]];
    for (int i = 1; i < selectedCount; ++i) {
        if (flags[selected[i]] != first)
            return CHECK_INDETERMINATE;
    }
    return first == 1 ? CHECK_CHECKED : CHECK_UNCHECKED;
}

int ApplyCheckClick(int newState, int* flags, const int* selected, int selectedCount)
{
    int value = newState == CHECK_CHECKED ? 1 : 0;
    for (int i = 0; i < selectedCount; ++i)
        flags[selected[i]] = value;
    return newState == CHECK_INDETERMINATE ? CHECK_UNCHECKED : newState;
}
