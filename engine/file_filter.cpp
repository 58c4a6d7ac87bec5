#include "engine/file_filter.h"

std::uint64_t FileFilter::TimeOf(const FileFacts& facts) const
{
    switch (time) {
    case FileTimeKind::Created:
        return facts.created;
    case FileTimeKind::Accessed:
        return facts.accessed;
    case FileTimeKind::Written:
        break;
    }
    return facts.written;
}

bool FileFilter::Takes(const FileFacts& facts) const
{
    if (largerThan && !(facts.size > *largerThan))
        return false;
    if (smallerThan && !(facts.size < *smallerThan))
        return false;
    if (!UsesTime())
        return true;
    const std::uint64_t t = TimeOf(facts);
    if (t == 0 || t > now)
        return false;
    const std::uint64_t age = now - t;
    return (!olderThan || age > *olderThan) && (!newerThan || age < *newerThan);
}
