// The two three-state boxes of the results window over the flags of the
// selected lines.
#pragma once

// The same values as the system's BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE.
const int CHECK_UNCHECKED = 0;
const int CHECK_CHECKED = 1;
const int CHECK_INDETERMINATE = 2;

// Checked when every selected line has the flag 1, unchecked when every one
// has it 0 (or nothing is selected), indeterminate when they differ.
int CheckStateFor(const int* flags, const int* selected, int selectedCount);

// A click moved the box to `newState`: every selected line's flag becomes 1
// for checked and 0 otherwise. Returns the state the box must show, which is
// never indeterminate.
int ApplyCheckClick(int newState, int* flags, const int* selected, int selectedCount);
