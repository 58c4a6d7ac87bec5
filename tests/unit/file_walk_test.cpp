// The walk of one directory for one mask, over a file system given as a
// table: order, paths, links, the result limit and stops, natively.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "engine/file_walk.h"
#include "engine/search_logic.h"
#include "platform/mbcs.h"

namespace {

using Lines = std::vector<std::string>;
using ExactLines = std::vector<std::wstring>;

// The fake's code page: ASCII, and 表 as Shift-JIS spells it; "é" has the
// look-alike "e", and what it cannot spell becomes "?".
std::string Spell(const std::wstring& exact)
{
    std::string text;
    for (wchar_t c : exact) {
        if (c < 0x80)
            text += static_cast<char>(c);
        else if (c == L'表')
            text += "表";
        else
            text += c == L'é' ? "e" : "?";
    }
    return text;
}

std::wstring ExactFormOfText(const char* text)
{
    std::wstring exact;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (p[0] == 0x95 && p[1] == 0x5C) {
            exact += L'表';
            ++p;
        } else {
            exact += static_cast<wchar_t>(*p);
        }
    }
    return exact;
}

// Directories by exact path (without a closing separator), each with its
// entries in listing order: "NAME/" is a directory, "NAME@" a link to one.
class TableFileSystem : public WalkFileSystem {
public:
    explicit TableFileSystem(std::map<std::wstring, ExactLines> dirs) : m_dirs(std::move(dirs)) {}

    std::wstring ExactFormOf(const CString& text) const override { return ExactFormOfText(text); }

    bool EnterDirectory(const std::wstring& dir) override
    {
        std::wstring key = Key(dir);
        if (!m_dirs.count(key))
            return false;
        m_current = key;
        return true;
    }

    void Enumerate(const std::wstring& pattern, const Visitor& visit) override
    {
        const std::wstring dir = m_current;
        ExactLines names = {L".", L".."};
        for (const std::wstring& e : m_dirs[dir])
            names.push_back(e);
        for (std::wstring name : names) {
            bool isDir = name == L"." || name == L".." || name.back() == L'/' || name.back() == L'@';
            bool isLink = name.back() == L'@';
            if (isDir && name.size() > 2)
                name.pop_back();
            if (!Matches(pattern.c_str(), name.c_str()))
                continue;
            const std::string spelled = Spell(name);
            if (!visit(Entry{spelled.c_str(), name.c_str(), isDir, isLink}))
                return;
        }
    }

private:
    static std::wstring Key(std::wstring dir)
    {
        for (wchar_t& c : dir)
            c = c < 0x80 ? static_cast<wchar_t>(std::toupper(c)) : c;
        if (!dir.empty() && dir.back() == L'\\')
            dir.pop_back();
        return dir;
    }
    // "*" and "?", ignoring the case of ASCII letters, as the system matches.
    static bool Matches(const wchar_t* p, const wchar_t* s)
    {
        if (*p == L'\0')
            return *s == L'\0';
        if (*p == L'*')
            return Matches(p + 1, s) || (*s && Matches(p, s + 1));
        if (*s == L'\0')
            return false;
        auto fold = [](wchar_t c) { return c < 0x80 ? std::toupper(c) : static_cast<int>(c); };
        return (*p == L'?' || fold(*p) == fold(*s)) && Matches(p + 1, s + 1);
    }

    std::map<std::wstring, ExactLines> m_dirs;
    std::wstring m_current;
};

// Records what the walk reports: "enter DIR", "file PATH" and "poll", and
// the exact path of every file.
class RecordingCaller : public WalkCaller {
public:
    RecordingCaller(int count, int stopAtPoll) : m_count(count), m_stopAtPoll(stopAtPoll) {}
    void DirectoryEntered(const CString& dir) override { events.push_back("enter " + std::string(dir)); }
    int ResultCount() const override { return m_count; }
    void FileFound(const CString& path, const std::wstring& exactPath) override
    {
        ++m_count;
        events.push_back("file " + std::string(path));
        exact.push_back(exactPath);
    }
    bool StopNow() override
    {
        events.push_back("poll");
        return ++m_polls == m_stopAtPoll;
    }
    Lines events;
    ExactLines exact;

private:
    int m_count;
    int m_stopAtPoll;
    int m_polls = 0;
};

const std::map<std::wstring, ExactLines> kTree = {
    {L"C:", {L"ROOT.TMP", L"SUB1/", L"SUB2/"}},
    {L"C:\\SUB1", {L"A.TMP", L"A.LOG"}},
    {L"C:\\SUB2", {L"B.TMP", L"DEEP/", L"OUT@"}},
    {L"C:\\SUB2\\DEEP", {L"C.TMP"}},
    {L"C:\\SUB2\\OUT", {L"NEVER.TMP"}},
    {L"C:\\DATA表", {L"F.TMP", L"X.TMP/", L"SUB/"}},
    {L"C:\\DATA表\\SUB", {L"G.TMP"}},
    {L"C:\\DATA表\\X.TMP", {L"H.TMP"}},
    {L"C:\\INTL", {L"café.tmp", L"cafe.tmp", L"한.tmp", L"ab.tmp", L"사진/"}},
    {L"C:\\INTL\\사진", {L"x.tmp"}},
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
    ExactLines exact = {};  // checked when given
};

TEST(FileWalk, OrderPathsLinksLimitAndStops)
{
    const Row rows[] = {
        {"a root: its files are root + name; after each subdirectory the string is cut back to the bare drive",
         {{"C:\\", "*.TMP", 1}},
         {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll", "enter C:\\SUB2",
          "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll"}},
        {"without subfolders only the directory itself",
         {{"C:\\SUB2", "*.TMP", 0}},
         {"enter C:\\SUB2", "file C:\\SUB2\\B.TMP", "poll"}},
        {"a subfolder flag other than 1 is no subfolder flag",
         {{"C:\\SUB2", "*.TMP", 2}},
         {"enter C:\\SUB2", "file C:\\SUB2\\B.TMP", "poll"}},
        {"a directory ending in 表 gets its separator; a mask matching a directory polls but lists nothing",
         {{"C:\\DATA表", "*.TMP", 1}},
         {"enter C:\\DATA表", "file C:\\DATA表\\F.TMP", "poll", "poll", "enter C:\\DATA表\\X.TMP",
          "file C:\\DATA表\\X.TMP\\H.TMP", "poll", "enter C:\\DATA表\\SUB", "file C:\\DATA表\\SUB\\G.TMP", "poll"}},
        {"\"*\" matches . and .. too: polled, never listed nor walked",
         {{"C:\\SUB1", "*", 1}},
         {"enter C:\\SUB1", "poll", "poll", "file C:\\SUB1\\A.TMP", "poll", "file C:\\SUB1\\A.LOG", "poll"}},
        {"a file under two directories and matched by two masks is listed once per match",
         {{"C:\\SUB2\\", "*.TMP", 1}, {"C:\\SUB2\\", "C.*", 1}, {"C:\\SUB2\\DEEP\\", "*.TMP", 0}},
         {"enter C:\\SUB2\\", "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll",
          "enter C:\\SUB2\\", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll", "enter C:\\SUB2\\DEEP\\",
          "file C:\\SUB2\\DEEP\\C.TMP", "poll"}},
        {"a missing directory is skipped without a word; the next is walked",
         {{"C:\\GONE\\", "*.TMP", 1}, {"C:\\SUB1\\", "*.TMP", 1}},
         {"enter C:\\SUB1\\", "file C:\\SUB1\\A.TMP", "poll"}},
        {"a mask matching nothing: no poll, and the subdirectories are still walked",
         {{"C:\\", "*.NONE", 1}},
         {"enter C:\\", "enter C:\\SUB1", "enter C:\\SUB2", "enter C:\\SUB2\\DEEP"}},
        {"the 64001st match is not stored and ends the walk, unpolled",
         {{"C:\\", "*.TMP", 1}, {"C:\\SUB1\\", "*.TMP", 1}},
         {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1"},
         MAX_RESULTS - 1,
         0,
         true},
        {"a stop at the first entry: no further entry, subdirectory or walk",
         {{"C:\\", "*.TMP", 1}, {"C:\\SUB1\\", "*.TMP", 1}},
         {"enter C:\\", "file C:\\ROOT.TMP", "poll"},
         0,
         1},
        {"a stop deep down ends every level above",
         {{"C:\\", "*.TMP", 1}},
         {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll"},
         0,
         2},
        {"names the code page cannot spell: a look-alike or \"?\" beside the exact path, which tells "
         "e-acute from e; such a directory is walked like any other",
         {{"C:\\INTL\\", "*.TMP", 1}},
         {"enter C:\\INTL\\", "file C:\\INTL\\cafe.tmp", "poll", "file C:\\INTL\\cafe.tmp", "poll", "file C:\\INTL\\?.tmp",
          "poll", "file C:\\INTL\\ab.tmp", "poll", "enter C:\\INTL\\??", "file C:\\INTL\\??\\x.tmp", "poll"},
         0,
         0,
         false,
         {L"C:\\INTL\\café.tmp", L"C:\\INTL\\cafe.tmp", L"C:\\INTL\\한.tmp", L"C:\\INTL\\ab.tmp", L"C:\\INTL\\사진\\x.tmp"}},
        {"exact paths follow the same joins and cuts as the code page's, root and 表 included",
         {{"C:\\", "ROOT.TMP", 1}, {"C:\\DATA表", "*.TMP", 1}},
         {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "enter C:\\SUB2", "enter C:\\SUB2\\DEEP",
          "enter C:\\DATA表", "file C:\\DATA表\\F.TMP", "poll", "poll", "enter C:\\DATA表\\X.TMP",
          "file C:\\DATA表\\X.TMP\\H.TMP", "poll", "enter C:\\DATA表\\SUB", "file C:\\DATA表\\SUB\\G.TMP", "poll"},
         0,
         0,
         false,
         {L"C:\\ROOT.TMP", L"C:\\DATA表\\F.TMP", L"C:\\DATA表\\X.TMP\\H.TMP", L"C:\\DATA表\\SUB\\G.TMP"}},
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
        if (!row.exact.empty()) {
            EXPECT_EQ(row.exact, caller.exact) << row.what;
        }
        EXPECT_EQ(row.limitReached, walk.LimitReached()) << row.what;
        EXPECT_EQ(row.limitReached || row.stopAtPoll > 0, walk.MustEnd()) << row.what;
    }
}

}  // namespace
