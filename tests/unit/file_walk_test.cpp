// The walk of one directory for one mask, over a file system given as a
// table: order, paths, links, the result limit and stops, natively.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/file_walk.h"
#include "engine/search_logic.h"
#include "platform/mbcs.h"

namespace {

using Lines = std::vector<std::string>;

// Directories by path (upper case, without a closing separator), each with
// its entries in listing order: "NAME/" is a directory, "NAME@" a link to one.
class TableFileSystem : public WalkFileSystem {
public:
    explicit TableFileSystem(std::map<std::string, Lines> dirs) : m_dirs(std::move(dirs)) {}

    bool EnterDirectory(const CString& dir) override
    {
        std::string key = Key(dir);
        if (!m_dirs.count(key))
            return false;
        m_current = key;
        return true;
    }

    void Enumerate(const char* pattern, const Visitor& visit) override
    {
        const std::string dir = m_current;
        Lines names = {".", "..", };
        for (const std::string& e : m_dirs[dir])
            names.push_back(e);
        for (std::string name : names) {
            bool isDir = name == "." || name == ".." || name.back() == '/' || name.back() == '@';
            bool isLink = name.back() == '@';
            if (isDir && name.size() > 2)
                name.pop_back();
            if (!Matches(pattern, name.c_str()))
                continue;
            if (!visit(Entry{name.c_str(), isDir, isLink}))
                return;
        }
    }

private:
    static std::string Key(CString dir)
    {
        dir.MakeUpper();
        if (EndsWithSeparator(dir))
            dir.Truncate(dir.GetLength() - 1);
        return dir.GetString();
    }
    // "*" and "?" over ASCII names, ignoring case, as the system matches.
    static bool Matches(const char* p, const char* s)
    {
        if (*p == '\0')
            return *s == '\0';
        if (*p == '*')
            return Matches(p + 1, s) || (*s && Matches(p, s + 1));
        if (*s == '\0')
            return false;
        bool same = *p == '?' || std::toupper(static_cast<unsigned char>(*p)) == std::toupper(static_cast<unsigned char>(*s));
        return same && Matches(p + 1, s + 1);
    }

    std::map<std::string, Lines> m_dirs;
    std::string m_current;
};

// Records what the walk reports: "enter DIR", "file PATH" and "poll".
class RecordingCaller : public WalkCaller {
public:
    RecordingCaller(int count, int stopAtPoll) : m_count(count), m_stopAtPoll(stopAtPoll) {}
    void DirectoryEntered(const CString& dir) override { events.push_back("enter " + std::string(dir)); }
    int ResultCount() const override { return m_count; }
    void FileFound(const CString& path) override
    {
        ++m_count;
        events.push_back("file " + std::string(path));
    }
    bool StopNow() override
    {
        events.push_back("poll");
        return ++m_polls == m_stopAtPoll;
    }
    Lines events;

private:
    int m_count;
    int m_stopAtPoll;
    int m_polls = 0;
};

const std::map<std::string, Lines> kTree = {
    {"C:", {"ROOT.TMP", "SUB1/", "SUB2/"}},
    {"C:\\SUB1", {"A.TMP", "A.LOG"}},
    {"C:\\SUB2", {"B.TMP", "DEEP/", "OUT@"}},
    {"C:\\SUB2\\DEEP", {"C.TMP"}},
    {"C:\\SUB2\\OUT", {"NEVER.TMP"}},
    {"C:\\DATA表", {"F.TMP", "X.TMP/", "SUB/"}},
    {"C:\\DATA表\\SUB", {"G.TMP"}},
    {"C:\\DATA表\\X.TMP", {"H.TMP"}},
};

struct Walk {
    const char* dir;
    const char* mask;
    int recurse;
};

struct Row {
    const char* what;
    std::vector<Walk> walks;  // as the search runs them: directories, then masks
    Lines events;
    int startCount = 0;
    int stopAtPoll = 0;
    bool limitReached = false;
};

TEST(FileWalk, OrderPathsLinksLimitAndStops)
{
    const Row rows[] = {
        {"a root: its files are root + name; after each subdirectory the string is cut back to the bare drive",
         {{"C:\\", "*.TMP", 1}},
         {"enter C:\\", "file C:\\ROOT.TMP", "poll",
          "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll",
          "enter C:\\SUB2", "file C:\\SUB2\\B.TMP", "poll",
          "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll"}},
        {"without subfolders only the directory itself",
         {{"C:\\SUB2", "*.TMP", 0}},
         {"enter C:\\SUB2", "file C:\\SUB2\\B.TMP", "poll"}},
        {"a subfolder flag other than 1 is no subfolder flag",
         {{"C:\\SUB2", "*.TMP", 2}},
         {"enter C:\\SUB2", "file C:\\SUB2\\B.TMP", "poll"}},
        {"a directory ending in 表 gets its separator; a mask matching a directory polls but lists nothing",
         {{"C:\\DATA表", "*.TMP", 1}},
         {"enter C:\\DATA表", "file C:\\DATA表\\F.TMP", "poll", "poll",
          "enter C:\\DATA表\\X.TMP", "file C:\\DATA表\\X.TMP\\H.TMP", "poll",
          "enter C:\\DATA表\\SUB", "file C:\\DATA表\\SUB\\G.TMP", "poll"}},
        {"\"*\" matches . and .. too: polled, never listed nor walked",
         {{"C:\\SUB1", "*", 1}},
         {"enter C:\\SUB1", "poll", "poll", "file C:\\SUB1\\A.TMP", "poll", "file C:\\SUB1\\A.LOG", "poll"}},
        {"a file under two directories and matched by two masks is listed once per match",
         {{"C:\\SUB2\\", "*.TMP", 1}, {"C:\\SUB2\\", "C.*", 1}, {"C:\\SUB2\\DEEP\\", "*.TMP", 0}},
         {"enter C:\\SUB2\\", "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll",
          "enter C:\\SUB2\\", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll",
          "enter C:\\SUB2\\DEEP\\", "file C:\\SUB2\\DEEP\\C.TMP", "poll"}},
        {"a missing directory is skipped without a word; the next is walked",
         {{"C:\\GONE\\", "*.TMP", 1}, {"C:\\SUB1\\", "*.TMP", 1}},
         {"enter C:\\SUB1\\", "file C:\\SUB1\\A.TMP", "poll"}},
        {"a mask matching nothing: no poll, and the subdirectories are still walked",
         {{"C:\\", "*.NONE", 1}},
         {"enter C:\\", "enter C:\\SUB1", "enter C:\\SUB2", "enter C:\\SUB2\\DEEP"}},
        {"the 64001st match is not stored and ends the walk, unpolled",
         {{"C:\\", "*.TMP", 1}, {"C:\\SUB1\\", "*.TMP", 1}},
         {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1"},
         MAX_RESULTS - 1, 0, true},
        {"a stop at the first entry: no further entry, subdirectory or walk",
         {{"C:\\", "*.TMP", 1}, {"C:\\SUB1\\", "*.TMP", 1}},
         {"enter C:\\", "file C:\\ROOT.TMP", "poll"},
         0, 1},
        {"a stop deep down ends every level above",
         {{"C:\\", "*.TMP", 1}},
         {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll"},
         0, 2},
    };
    for (const Row& row : rows) {
        TableFileSystem fs(kTree);
        RecordingCaller caller(row.startCount, row.stopAtPoll);
        CFileWalk walk(fs, caller);
        for (const Walk& w : row.walks) {
            walk.Walk(w.dir, w.mask, w.recurse);
            if (walk.MustEnd())
                break;
        }
        EXPECT_EQ(row.events, caller.events) << row.what;
        EXPECT_EQ(row.limitReached, walk.LimitReached()) << row.what;
        EXPECT_EQ(row.limitReached || row.stopAtPoll > 0, walk.MustEnd()) << row.what;
    }
}

}  // namespace
