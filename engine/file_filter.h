// What a search may ask of a found file beyond its name: its age and its
// size, read from the folder's listing and read again before it is deleted.
#pragma once

#include <cstdint>
#include <optional>

// A file's times, in 100-nanosecond units since 1601-01-01 UTC (0 where the
// file system keeps none), and its size in bytes.
struct FileFacts {
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    std::uint64_t created = 0;
    std::uint64_t accessed = 0;
};

// Which of a file's times an age is read from.
enum class FileTimeKind { Written, Created, Accessed };

// 100-nanosecond units in an hour and in a day of exactly 24 hours.
const std::uint64_t TICKS_PER_HOUR = 36000000000ull;
const std::uint64_t TICKS_PER_DAY = 24 * TICKS_PER_HOUR;

// Every condition given must hold: strictly older, newer, larger or smaller.
// An age is `now` minus the chosen time, both UTC, so neither the time zone
// nor daylight saving changes what is taken. A file whose chosen time is
// missing or later than `now` is taken by no age condition.
struct FileFilter {
    std::uint64_t now = 0;  // when the run began, in the units of FileFacts
    FileTimeKind time = FileTimeKind::Written;
    std::optional<std::uint64_t> olderThan;  // ages, in 100-nanosecond units
    std::optional<std::uint64_t> newerThan;
    std::optional<std::uint64_t> largerThan;  // sizes, in bytes
    std::optional<std::uint64_t> smallerThan;

    bool UsesTime() const { return olderThan || newerThan; }
    bool UsesSize() const { return largerThan || smallerThan; }
    bool Any() const { return UsesTime() || UsesSize(); }
    // The chosen time of `facts`.
    std::uint64_t TimeOf(const FileFacts& facts) const;
    bool Takes(const FileFacts& facts) const;
};
