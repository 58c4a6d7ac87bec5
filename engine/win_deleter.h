// Deletes found files, each only when the file at its verbatim path is the
// one the search listed: reached through the same names (a link to a file
// elsewhere, or a folder on the way swapped for a link after the search,
// leads to another name), and where a name ends in a dot or a space, which a
// system may report without them, with the id the listing gave it and not
// its namesake's. Neither another file nor what a link points to is ever
// deleted. With a filter, a file is deleted only if it still passes it, as
// read through the same handle. Each delete says why it did not happen.
#pragma once

#include <windows.h>

#include "engine/file_filter.h"
#include "engine/found_file.h"

class CListedFileDeleter {
public:
    // `filter`, if any, must outlive the deleter.
    explicit CListedFileDeleter(const FileFilter* filter = nullptr) : m_filter(filter && filter->Any() ? filter : nullptr) {}

    // Deletes the file for good, through the handle that was checked.
    DeleteOutcome DeletePermanently(const CFoundFile& file);
    // Moves the file into the Recycle Bin, where its plain path names it (the
    // shell takes no other); otherwise it stays where it is. A question the
    // shell asks (a file the bin cannot take) is owned by `owner`; declining
    // it is no success.
    DeleteOutcome MoveToRecycleBin(const CFoundFile& file, HWND owner);
    // The same with no one to ask: each question the shell would ask is
    // declined without a window ever being shown, so a file the bin cannot
    // take is left where it is.
    DeleteOutcome MoveToRecycleBinUnattended(const CFoundFile& file);
    // Removes a folder for good, only while it is empty, is the folder listed
    // (its names and id) and is no reparse point; a link is never followed.
    // One that is not empty for a moment (the system still letting go of a
    // file just deleted) is tried again briefly.
    DeleteOutcome RemoveEmptiedFolder(const CFoundFile& folder);

private:
    // The file opened for deletion if it is the listed file, or
    // INVALID_HANDLE_VALUE with `outcome` saying why not.
    HANDLE OpenListedFile(const CFoundFile& file, DeleteOutcome& outcome) const;
    // The folder opened for its removal if it is the listed one, likewise.
    HANDLE OpenListedFolder(const CFoundFile& folder, DeleteOutcome& outcome) const;
    // The opened listed file still passes the filter.
    bool StillPasses(HANDLE opened) const;

    const FileFilter* m_filter;
};
