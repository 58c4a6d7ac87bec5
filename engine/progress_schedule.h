// The results window's progress range while the search walks: it widens in
// steps, each time a folder is entered with exactly a scheduled count.
#pragma once

// The new maximum of the progress range when a directory is entered with
// exactly `count` results, or 0 when the range stays as it is.
int ProgressMaximumFor(int count);
