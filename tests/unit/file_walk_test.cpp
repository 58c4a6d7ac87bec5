// The walk over a file system given as a table, natively: the results
// window's search (order, the forms of each path, links, the result limit and
// stops) and the console's cleanup (folder by folder, exclusions, emptied
// folders, folders that cannot be read).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "console/cleanup_report.h"
#include "engine/search_run.h"
#include "patterns/pattern_set.h"
#include "tests/support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;
using ExactLines = std::vector<std::wstring>;

// The fake's code page: ASCII, and 表 as Shift-JIS spells it; what it cannot
// spell becomes "？", except "¥", which it spells "\\" as a careless
// conversion would.
std::string Spell(const std::wstring& exact)
{
    std::string text;
    for (wchar_t c : exact) {
        if (c < 0x80)
            text += static_cast<char>(c);
        else if (c == L'表')
            text += "表";
        else
            text += c == L'¥' ? "\\" : "？";
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
// entries in listing order: "NAME/" is a directory, "NAME@" a symbolic link
// to one, "NAME~" a cloud drive's placeholder folder, "NAME%" a reparse point
// of a kind nobody knows, "!N" where the listing fails with the system's
// error N (first: it cannot begin); an entry's size is the length of its
// name. A stored directory in `links` resolves elsewhere.
// Folders are listed by their verbatim paths only, exactly: "CACHE." is not
// "CACHE".
class TableFileSystem : public WalkFileSystem {
public:
    TableFileSystem(std::map<std::wstring, ExactLines> dirs, std::map<std::wstring, std::wstring> links = {})
        : m_dirs(std::move(dirs)), m_links(std::move(links))
    {}

    std::wstring ExactFormOf(const CString& text) const override { return ExactFormOfText(text); }
    CString SpellingOf(const wchar_t* exactName) const override { return Spell(exactName).c_str(); }

    std::unique_ptr<Listing> List(const std::wstring& dir, std::uint32_t& error) override
    {
        std::wstring key = Key(dir);
        if (!m_dirs.count(key) || (!m_dirs[key].empty() && m_dirs[key][0][0] == L'!')) {
            error = m_dirs.count(key) ? std::stoul(m_dirs[key][0].substr(1)) : WALK_ERROR_PATH_NOT_FOUND;
            return nullptr;
        }
        if (++listings[key] > 1)
            listedTwice = true;
        return std::unique_ptr<Listing>(new TableListing(m_dirs[key]));
    }

    // Asked once as the walk starts with a stored directory: each folder is
    // listed once for all the masks from then on.
    ReportedName ReportedNameOf(const std::wstring& dir) override
    {
        listings.clear();
        std::wstring key = Key(dir);
        if (!m_dirs.count(key))
            return ReportedName();
        const std::wstring target = m_links.count(key) ? m_links[key] : key;
        return {L"\\\\?\\" + target, target.substr(2)};
    }

    bool IsVolumeMountPoint(const std::wstring&) override { return false; }

    bool EnterDirectory(const std::wstring& dir) override
    {
        entered = dir;
        return true;
    }

    // Takes the file or folder at `path` away: a folder only when it is empty.
    DeleteOutcome Remove(const std::wstring& path)
    {
        const std::wstring key = Key(path);
        if (m_dirs.count(key) && !m_dirs[key].empty())
            return {DeleteFault::NotEmpty, 145};
        m_dirs.erase(key);
        const size_t cut = key.rfind(L'\\');
        ExactLines& parent = m_dirs[key.substr(0, cut)];
        for (auto it = parent.begin(); it != parent.end(); ++it) {
            const std::wstring name = it->back() == L'/' ? it->substr(0, it->size() - 1) : *it;
            if (Key(L"\\\\?\\" + name) == key.substr(cut + 1)) {
                parent.erase(it);
                return {DeleteFault::None, 0};
            }
        }
        return {DeleteFault::Gone, 2};
    }

    std::map<std::wstring, int> listings;
    bool listedTwice = false;
    std::wstring entered;

private:
    class TableListing : public Listing {
    public:
        explicit TableListing(const ExactLines& entries) : m_names{L".", L".."}
        {
            m_names.insert(m_names.end(), entries.begin(), entries.end());
        }
        bool Next(Entry& entry) override
        {
            if (m_next == m_names.size() || m_names[m_next][0] == L'!') {
                m_error = m_next == m_names.size() ? 0 : std::stoul(m_names[m_next].substr(1));
                return false;
            }
            m_name = m_names[m_next++];
            const bool dots = m_next <= 2;
            const wchar_t kind = dots ? L'/' : m_name.back();
            const bool isDir = kind == L'/' || kind == L'@' || kind == L'~' || kind == L'%';
            if (isDir && !dots)
                m_name.pop_back();
            const std::uint32_t tag = kind == L'@' ? 0xA000000Cu : kind == L'~' ? 0x9000601Au : kind == L'%' ? 0x80000099u : 0;
            FileFacts facts;
            facts.size = m_name.size();
            entry = Entry{m_name.c_str(), isDir, tag != 0, tag, 0, facts};
            return true;
        }
        std::uint32_t Error() const override { return m_error; }

    private:
        ExactLines m_names;
        size_t m_next = 0;
        std::uint32_t m_error = 0;
        std::wstring m_name;
    };

    static std::wstring Key(std::wstring dir)
    {
        if (dir.compare(0, 4, L"\\\\?\\") != 0)
            return std::wstring();
        dir.erase(0, 4);
        for (wchar_t& c : dir)
            c = c < 0x80 ? static_cast<wchar_t>(std::toupper(c)) : c;
        if (!dir.empty() && dir.back() == L'\\')
            dir.pop_back();
        return dir;
    }

    std::map<std::wstring, ExactLines> m_dirs;
    std::map<std::wstring, std::wstring> m_links;
};

// Records what the walk reports: "enter DIR", "file PATH" and "poll", and
// the exact and verbatim path of every file.
class RecordingCaller : public WalkCaller {
public:
    RecordingCaller(int count, int stopAtPoll) : m_count(count), m_stopAtPoll(stopAtPoll) {}
    void DirectoryEntered(const CString& dir) override { events.push_back("enter " + std::string(dir)); }
    int ResultCount() const override { return m_count; }
    void FileFound(const CString& path, const CFoundFile& file) override
    {
        ++m_count;
        events.push_back("file " + std::string(path));
        exact.push_back(file.Shown());
        verbatim.push_back(file.Verbatim());
    }
    bool StopNow() override
    {
        events.push_back("poll");
        return ++m_polls == m_stopAtPoll;
    }
    Lines events;
    ExactLines exact;
    ExactLines verbatim;

private:
    int m_count;
    int m_stopAtPoll;
    int m_polls = 0;
};

const std::wstring kLongName(251, L'A');  // C:\LONG\ and this one are beyond a current directory's limit

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
    {L"C:\\MIX", {L"a.tmp", L"B.TMP", L"report.tmp_keep", L"page.html", L"p.htm", L"thesis.bakup", L"c.bak", L"noext"}},
    {L"C:\\LINKS", {L"OUT@", L"CLOUD~", L"ODD%", L"LOCKED/", L"Z.TMP"}},
    {L"C:\\LINKS\\OUT", {L"NEVER.TMP"}},
    {L"C:\\LINKS\\CLOUD", {L"P.TMP"}},
    {L"C:\\LINKS\\ODD", {L"NEVER.TMP"}},
    {L"C:\\LINKED", {L"C.TMP"}},
    {L"C:\\YEN", {L"A¥B/", L"Z/"}},
    {L"C:\\YEN\\A¥B", {L"1.TMP"}},
    {L"C:\\YEN\\Z", {L"2.TMP"}},
    {L"C:\\DOTS", {L"cache/", L"cache./", L"data.tmp.", L"data.tmp", L"space.tmp ", L"nul.tmp"}},
    {L"C:\\DOTS\\CACHE", {L"f.tmp"}},
    {L"C:\\DOTS\\CACHE.", {L"g.tmp"}},
    {L"C:\\LONG", {L"top.tmp", kLongName + L"/"}},
    {L"C:\\LONG\\" + kLongName, {L"deep.tmp"}},
};
// A stored directory that is itself a link, and where it leads.
const std::map<std::wstring, std::wstring> kLinks = {{L"C:\\LINKED", L"C:\\SUB2\\DEEP"}};

struct Dir {
    const char* path;
    int recurse;
};

struct Row {
    const char* what;
    std::vector<Dir> dirs;  // the pattern's, in order
    std::vector<CString> masks;
    Lines events;
    int startCount = 0;
    int stopAtPoll = 0;
    bool limitReached = false;
    ExactLines exact = {};                 // checked when given
    ExactLines verbatim = {};              // checked when given
    const wchar_t* lastEntered = nullptr;  // the current directory afterwards, checked when given
    FileFilter filter = {};
    long long leftOut = 0;

    // Rows say only what they check beyond the events.
    Row Starting(int count, bool full) const { return Set(&Row::startCount, count).Set(&Row::limitReached, full); }
    Row StopAt(int poll) const { return Set(&Row::stopAtPoll, poll); }
    Row Exact(const ExactLines& paths) const { return Set(&Row::exact, paths); }
    Row Verbatim(const ExactLines& paths) const { return Set(&Row::verbatim, paths); }
    Row LeavesIn(const wchar_t* dir) const { return Set(&Row::lastEntered, dir); }
    Row LargerThan(std::uint64_t size, long long leftOutCount) const
    {
        FileFilter larger;
        larger.largerThan = size;
        return Set(&Row::filter, larger).Set(&Row::leftOut, leftOutCount);
    }
    template <typename T, typename V>
    Row Set(T Row::*member, const V& value) const
    {
        Row row = *this;
        row.*member = value;
        return row;
    }
};

TEST(SearchRun, OrderPathsLinksLimitAndStops)
{
    const std::string longDir = "C:\\LONG\\" + std::string(kLongName.begin(), kLongName.end());
    const Row rows[] = {
        Row{"a root: its files are root + name; the walk ends in the last folder entered",
            {{"C:\\", 1}}, {"*.TMP"},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll", "enter C:\\SUB2",
             "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll"}}
            .Verbatim({L"\\\\?\\C:\\ROOT.TMP", L"\\\\?\\C:\\SUB1\\A.TMP", L"\\\\?\\C:\\SUB2\\B.TMP",
                       L"\\\\?\\C:\\SUB2\\DEEP\\C.TMP"})
            .LeavesIn(L"C:\\SUB2\\DEEP"),
        {"without subfolders only the directory itself", {{"C:\\SUB2", 0}}, {"*.TMP"}, {"enter C:\\SUB2", "file C:\\SUB2\\B.TMP", "poll"}},
        {"a subfolder flag other than 1 is no subfolder flag",
         {{"C:\\SUB2", 2}}, {"*.TMP"},
         {"enter C:\\SUB2", "file C:\\SUB2\\B.TMP", "poll"}},
        {"a directory ending in 表 gets its separator; a mask matching a directory polls but lists nothing",
         {{"C:\\DATA表", 1}}, {"*.TMP"},
         {"enter C:\\DATA表", "file C:\\DATA表\\F.TMP", "poll", "poll", "enter C:\\DATA表\\X.TMP",
          "file C:\\DATA表\\X.TMP\\H.TMP", "poll", "enter C:\\DATA表\\SUB", "file C:\\DATA表\\SUB\\G.TMP", "poll"}},
        {"\"*\" matches . and .. too: polled, never listed nor walked",
         {{"C:\\SUB1", 1}}, {"*"},
         {"enter C:\\SUB1", "poll", "poll", "file C:\\SUB1\\A.TMP", "poll", "file C:\\SUB1\\A.LOG", "poll"}},
        Row{"a later mask walks the whole tree again from what the listings kept, folder by folder",
            {{"C:\\", 1}}, {"*.TMP", "*.LOG"},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll", "enter C:\\SUB2",
             "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll", "enter C:\\",
             "enter C:\\SUB1", "file C:\\SUB1\\A.LOG", "poll", "enter C:\\SUB2", "enter C:\\SUB2\\DEEP"}}
            .LeavesIn(L"C:\\SUB2\\DEEP"),
        {"a file under two directories and matched by two masks is listed once per match",
         {{"C:\\SUB2\\", 1}, {"C:\\SUB2\\DEEP\\", 0}}, {"*.TMP", "C.*"},
         {"enter C:\\SUB2\\", "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll",
          "enter C:\\SUB2\\", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll", "enter C:\\SUB2\\DEEP\\",
          "file C:\\SUB2\\DEEP\\C.TMP", "poll", "enter C:\\SUB2\\DEEP\\", "file C:\\SUB2\\DEEP\\C.TMP", "poll"}},
        {"a mask takes a file by its own name only: masks in the pattern's order, each in listing order",
         {{"C:\\MIX\\", 0}}, {"*.tmp", "*.bak", "*.htm", "*."},
         {"enter C:\\MIX\\", "file C:\\MIX\\a.tmp", "poll", "file C:\\MIX\\B.TMP", "poll", "enter C:\\MIX\\",
          "file C:\\MIX\\c.bak", "poll", "enter C:\\MIX\\", "file C:\\MIX\\p.htm", "poll", "enter C:\\MIX\\",
          "file C:\\MIX\\noext", "poll"}},
        {"links, junctions and unknown reparse points are not followed, a cloud placeholder folder is; a subfolder "
         "that cannot be entered is skipped for every mask",
         {{"C:\\LINKS\\", 1}}, {"*.TMP", "P.*"},
         {"enter C:\\LINKS\\", "file C:\\LINKS\\Z.TMP", "poll", "enter C:\\LINKS\\CLOUD", "file C:\\LINKS\\CLOUD\\P.TMP", "poll",
          "enter C:\\LINKS\\", "enter C:\\LINKS\\CLOUD", "file C:\\LINKS\\CLOUD\\P.TMP", "poll"}},
        Row{"a stored directory that is a link is entered, under its own name",
            {{"C:\\LINKED\\", 1}}, {"*.TMP"},
            {"enter C:\\LINKED\\", "file C:\\LINKED\\C.TMP", "poll"}}
            .Exact({L"C:\\LINKED\\C.TMP"})
            .Verbatim({L"\\\\?\\C:\\LINKED\\C.TMP"}),
        {"a missing directory is skipped without a word; the next is walked",
         {{"C:\\GONE\\", 1}, {"C:\\SUB1\\", 1}}, {"*.TMP"},
         {"enter C:\\SUB1\\", "file C:\\SUB1\\A.TMP", "poll"}},
        {"a mask matching nothing: no poll, and the subdirectories are still walked",
         {{"C:\\", 1}}, {"*.NONE"},
         {"enter C:\\", "enter C:\\SUB1", "enter C:\\SUB2", "enter C:\\SUB2\\DEEP"}},
        Row{"the 64001st match is not stored and ends the search, unpolled",
            {{"C:\\", 1}, {"C:\\SUB1\\", 1}}, {"*.TMP", "*.LOG"},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1"}}
            .Starting(MAX_RESULTS - 1, true)
            .LeavesIn(L"C:\\SUB1"),
        Row{"a filter leaves files out before the limit: neither stored nor counted towards it, still polled",
            {{"C:\\", 1}}, {"*.TMP"},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "poll", "enter C:\\SUB2", "poll",
             "enter C:\\SUB2\\DEEP", "poll"}}
            .Starting(MAX_RESULTS - 1, false)
            .LargerThan(5, 3),
        Row{"a later mask's files are filtered by what their listing gave",
            {{"C:\\MIX\\", 0}}, {"*.tmp", "*.html"},
            {"enter C:\\MIX\\", "poll", "poll", "enter C:\\MIX\\", "file C:\\MIX\\page.html", "poll"}}
            .LargerThan(5, 2),
        Row{"a stop at the first entry: no further entry, subdirectory, mask or directory",
            {{"C:\\", 1}, {"C:\\SUB1\\", 1}}, {"*.TMP", "*.LOG"},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll"}}
            .StopAt(1),
        Row{"a stop deep down ends every level above",
            {{"C:\\", 1}}, {"*.TMP"},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll"}}
            .StopAt(2),
        Row{"a stop in a later mask's walk",
            {{"C:\\SUB2\\", 1}}, {"*.TMP", "C.*"},
            {"enter C:\\SUB2\\", "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll",
             "enter C:\\SUB2\\", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll"}}
            .StopAt(3),
        Row{"names the code page cannot spell: \"？\" beside the exact path, never a look-alike; such a directory is walked "
            "like any other",
            {{"C:\\INTL\\", 1}}, {"*.TMP"},
            {"enter C:\\INTL\\", "file C:\\INTL\\caf？.tmp", "poll", "file C:\\INTL\\cafe.tmp", "poll", "file C:\\INTL\\？.tmp",
             "poll", "file C:\\INTL\\ab.tmp", "poll", "enter C:\\INTL\\？？", "file C:\\INTL\\？？\\x.tmp", "poll"}}
            .Exact({L"C:\\INTL\\café.tmp", L"C:\\INTL\\cafe.tmp", L"C:\\INTL\\한.tmp", L"C:\\INTL\\ab.tmp",
                    L"C:\\INTL\\사진\\x.tmp"}),
        Row{"a spelling holding a \"\\\" never cuts the path short: the next folder is named right",
            {{"C:\\YEN", 1}}, {"*.TMP"},
            {"enter C:\\YEN", "enter C:\\YEN\\A\\B", "file C:\\YEN\\A\\B\\1.TMP", "poll", "enter C:\\YEN\\Z",
             "file C:\\YEN\\Z\\2.TMP", "poll"}}
            .Exact({L"C:\\YEN\\A¥B\\1.TMP", L"C:\\YEN\\Z\\2.TMP"}),
        Row{"exact and verbatim paths follow the same joins as the code page's, root and 表 included",
            {{"C:\\", 0}, {"C:\\DATA表", 0}}, {"*.TMP"},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\DATA表", "file C:\\DATA表\\F.TMP", "poll", "poll"}}
            .Exact({L"C:\\ROOT.TMP", L"C:\\DATA表\\F.TMP"})
            .Verbatim({L"\\\\?\\C:\\ROOT.TMP", L"\\\\?\\C:\\DATA表\\F.TMP"}),
        Row{"names ending in a dot or a space and device names are kept exactly: \"cache.\" is walked beside \"cache\", "
            "each with its own files; the current directory is the last folder that can be one",
            {{"C:\\DOTS", 1}}, {"*.TMP"},
            {"enter C:\\DOTS", "file C:\\DOTS\\data.tmp", "poll", "file C:\\DOTS\\nul.tmp", "poll", "enter C:\\DOTS\\cache",
             "file C:\\DOTS\\cache\\f.tmp", "poll", "enter C:\\DOTS\\cache.", "file C:\\DOTS\\cache.\\g.tmp", "poll"}}
            .Verbatim({L"\\\\?\\C:\\DOTS\\data.tmp", L"\\\\?\\C:\\DOTS\\nul.tmp", L"\\\\?\\C:\\DOTS\\cache\\f.tmp",
                       L"\\\\?\\C:\\DOTS\\cache.\\g.tmp"})
            .LeavesIn(L"C:\\DOTS\\cache"),
        Row{"a name ending in a dot or a space is found by a mask that takes it",
            {{"C:\\DOTS\\", 0}}, {"*.TMP.", "SPACE*"},
            {"enter C:\\DOTS\\", "file C:\\DOTS\\data.tmp.", "poll", "enter C:\\DOTS\\", "file C:\\DOTS\\space.tmp ", "poll"}}
            .Exact({L"C:\\DOTS\\data.tmp.", L"C:\\DOTS\\space.tmp "})
            .Verbatim({L"\\\\?\\C:\\DOTS\\data.tmp.", L"\\\\?\\C:\\DOTS\\space.tmp "}),
        Row{"a folder beyond a current directory's limit is walked like any other",
            {{"C:\\LONG", 1}}, {"*.TMP"},
            {"enter C:\\LONG", "file C:\\LONG\\top.tmp", "poll", "enter " + longDir, "file " + longDir + "\\deep.tmp", "poll"}}
            .LeavesIn(L"C:\\LONG"),
        Row{"relative and dotted directories are resolved before the prefix",
            {{"C:\\SUB2\\..\\SUB1\\.", 0}, {"DATA表/./SUB", 0}}, {"*.TMP"},
            {"enter C:\\SUB2\\..\\SUB1\\.", "file C:\\SUB2\\..\\SUB1\\.\\A.TMP", "poll", "enter C:\\DATA表/./SUB",
             "file C:\\DATA表/./SUB\\G.TMP", "poll"}}
            .Verbatim({L"\\\\?\\C:\\SUB1\\A.TMP", L"\\\\?\\C:\\DATA表\\SUB\\G.TMP"}),
    };
    testing_support::TempDir fresh;  // no settings file for the set to find
    for (const Row& row : rows) {
        CPatternSet set;
        for (const Dir& dir : row.dirs)
            set.AddDir(dir.path, dir.recurse);
        for (const CString& mask : row.masks)
            set.AddMask(mask, 0);
        TableFileSystem fs(kTree, kLinks);
        RecordingCaller caller(row.startCount, row.stopAtPoll);
        CSearchRun search(fs, caller);
        search.Run(set, "C:\\", &row.filter);
        EXPECT_FALSE(fs.listedTwice) << row.what;
        EXPECT_EQ(row.events, caller.events) << row.what;
        if (!row.exact.empty()) {
            EXPECT_EQ(row.exact, caller.exact) << row.what;
        }
        if (!row.verbatim.empty()) {
            EXPECT_EQ(row.verbatim, caller.verbatim) << row.what;
        }
        if (row.lastEntered) {
            EXPECT_EQ(std::wstring(row.lastEntered), fs.entered) << row.what;
        }
        EXPECT_EQ(row.limitReached, search.LimitReached()) << row.what;
        EXPECT_EQ(row.limitReached || row.stopAtPoll > 0, search.EndedEarly()) << row.what;
        EXPECT_EQ(row.leftOut, search.LeftOut()) << row.what;
    }
}

}  // namespace

// ---- The console's cleanup: folder by folder ---------------------------------

namespace {

const std::map<std::wstring, ExactLines> kCleanTree = {
    {L"C:\\T", {L"a.tmp", L"b.log", L"keep.txt", L"SUB/", L"EMPTY/", L"OUT@", L"X/", L"DEEP/", L"VM/", L"CLOUD~"}},
    {L"C:\\T\\SUB", {L"c.tmp", L"nl\nline.tmp"}},
    {L"C:\\T\\EMPTY", {}},
    {L"C:\\T\\OUT", {L"never.tmp"}},
    {L"C:\\T\\X", {L"locked.tmp", L"x.tmp"}},
    {L"C:\\T\\DEEP", {L"D1/"}},
    {L"C:\\T\\DEEP\\D1", {L"d.tmp", L"D2/"}},
    {L"C:\\T\\DEEP\\D1\\D2", {L"z.tmp"}},
    {L"C:\\T\\VM", {L"disk.tmp"}},
    {L"C:\\T\\CLOUD", {L"p.tmp"}},
    {L"C:\\BAD", {L"ok.tmp", L"SUB/", L"NOACCESS/", L"HALF/", L"!64", L"never.tmp"}},
    {L"C:\\BAD\\HALF", {L"h.tmp", L"!64"}},
    {L"C:\\BAD\\SUB", {L"s.tmp"}},
    {L"C:\\BAD\\NOACCESS", {L"!5"}},
    {L"C:\\LOCKED", {L"!5"}},
};

// The two streams as the run writes them, in order.
struct RecordingSink : ConsoleSink {
    void Result(const std::wstring& line) override { lines.push_back(L"out: " + line); }
    void FlushResults() override {}
    void Message(const std::wstring& line) override { lines.push_back(L"err: " + line); }
    bool ResultsOnConsole() const override { return false; }
    void ResultsPreamble(const std::wstring&) override {}
    bool ProgressDue() const override { return false; }
    void Progress(const std::wstring&) override {}
    void EndProgress() override {}
    ExactLines lines;
};

// Deletes from the table; a file named "locked" is in use.
struct TableActions : CleanupActions {
    explicit TableActions(TableFileSystem& fs) : fs(fs) {}
    DeleteOutcome DeleteListedFile(const CFoundFile& file) override
    {
        return file.Verbatim().find(L"locked") != std::wstring::npos ? DeleteOutcome{DeleteFault::InUse, 32}
                                                                       : fs.Remove(file.Verbatim());
    }
    DeleteOutcome RemoveEmptiedFolder(const CFoundFile& folder) override { return fs.Remove(folder.Verbatim()); }
    TableFileSystem& fs;
};

TEST(CleanupRun, FolderByFolderEachFileOnceExclusionsEmptiedFoldersUnreadFolders)
{
    const struct {
        const char* what;
        std::vector<Dir> dirs;
        std::vector<CString> masks;
        std::vector<std::wstring> args;
        ExactLines lines;    // as written before the summary
        ExactLines summary;  // lines the summary holds
        int code;
    } rows[] = {
        {"each folder's own files as it is listed, each once whichever masks take it, then its subfolders; a folder "
         "under an earlier stored directory is not taken again; a line break in a name is shown escaped",
         {{"C:\\T\\SUB", 0}, {"C:\\T", 1}, {"C:\\T\\", 1}}, {"*.TMP", "A*"}, {L"list"},
         {L"out: C:\\T\\SUB\\c.tmp", L"out: C:\\T\\SUB\\nl<U+000A>line.tmp", L"out: C:\\T\\a.tmp", L"out: C:\\T\\X\\locked.tmp",
          L"out: C:\\T\\X\\x.tmp", L"out: C:\\T\\DEEP\\D1\\d.tmp", L"out: C:\\T\\DEEP\\D1\\D2\\z.tmp", L"out: C:\\T\\VM\\disk.tmp",
          L"out: C:\\T\\CLOUD\\p.tmp"},
         {L"err: 見つかったファイル: 9 個（0.0 秒）"}, EXIT_DONE},
        {"the ceiling ends the run before the file past it",
         {{"C:\\T", 1}}, {"*.TMP"}, {L"list", L"--max-files", L"2"},
         {L"out: C:\\T\\a.tmp", L"out: C:\\T\\SUB\\c.tmp"},
         {L"err: ファイルが --max-files の 2 個に達したので打ち切りました。", L"err: 見つかったファイル: 2 個（0.0 秒）"}, EXIT_LIMIT},
        {"a file mask, a folder mask at any depth, a folder by its path in any case, a stored directory inside an "
         "excluded folder",
         {{"C:\\T", 1}, {"C:\\T\\DEEP\\D1\\D2", 1}}, {"*.TMP"},
         {L"list", L"--exclude", L"x*", L"--exclude-dir", L"d1", L"--exclude-dir", L"c:\\t\\vm\\"},
         {L"out: C:\\T\\a.tmp", L"out: C:\\T\\SUB\\c.tmp", L"out: C:\\T\\SUB\\nl<U+000A>line.tmp", L"out: C:\\T\\X\\locked.tmp",
          L"out: C:\\T\\CLOUD\\p.tmp", L"err: 除外するフォルダーなので探索しません: 「C:\\T\\DEEP\\D1\\D2」"},
         {L"err: 除外したファイル: 1 個、除外したフォルダー: 3 個"}, EXIT_DONE},
        {"emptied folders removed bottom-up; kept: one with a file left, one empty before, a link, an excluded one, a "
         "placeholder, the stored directory",
         {{"C:\\T", 1}}, {"*.TMP", "*.LOG"},
         {L"delete", L"--permanent", L"--remove-empty-folders", L"--exclude-dir", L"VM"},
         {L"err: 見つかったファイルを完全に削除します（ごみ箱を使いません）。", L"out: C:\\T\\a.tmp（削除済み）",
          L"out: C:\\T\\b.log（削除済み）", L"out: C:\\T\\SUB\\c.tmp（削除済み）",
          L"out: C:\\T\\SUB\\nl<U+000A>line.tmp（削除済み）", L"out: C:\\T\\SUB\\（削除済み）",
          L"out: C:\\T\\X\\locked.tmp(削除に失敗)",
          L"err: 削除できませんでした（ほかのプログラムが使用中です。エラー 32）: 「C:\\T\\X\\locked.tmp」",
          L"out: C:\\T\\X\\x.tmp（削除済み）", L"out: C:\\T\\DEEP\\D1\\d.tmp（削除済み）",
          L"out: C:\\T\\DEEP\\D1\\D2\\z.tmp（削除済み）", L"out: C:\\T\\DEEP\\D1\\D2\\（削除済み）",
          L"out: C:\\T\\DEEP\\D1\\（削除済み）", L"out: C:\\T\\DEEP\\（削除済み）", L"out: C:\\T\\CLOUD\\p.tmp（削除済み）"},
         {L"err: 見つかったファイル: 9 個、削除: 8 個、失敗: 1 個（0.0 秒）", L"err: 空になったフォルダー: 削除 4 個、失敗 0 個"},
         EXIT_FAILED},
        {"listings that fail at their start or part way, a missing stored directory and an empty entry are each "
         "said; what was listed is still taken, and no folder whose listing failed is removed",
         {{"C:\\BAD", 1}, {"C:\\GONE", 1}, {"", 0}, {"C:\\LOCKED", 0}}, {"*.TMP"},
         {L"delete", L"--permanent", L"--remove-empty-folders"},
         {L"err: フォルダーを最後まで読めませんでした（ネットワークの接続が切れました。エラー 64）: 「C:\\BAD」",
          L"err: 見つかったファイルを完全に削除します（ごみ箱を使いません）。", L"out: C:\\BAD\\ok.tmp（削除済み）",
          L"out: C:\\BAD\\SUB\\s.tmp（削除済み）", L"out: C:\\BAD\\SUB\\（削除済み）",
          L"err: フォルダーを読めません（アクセスが拒否されました。エラー 5）: 「C:\\BAD\\NOACCESS」",
          L"err: フォルダーを最後まで読めませんでした（ネットワークの接続が切れました。エラー 64）: 「C:\\BAD\\HALF」",
          L"out: C:\\BAD\\HALF\\h.tmp（削除済み）",
          L"err: フォルダーを読めません（見つかりません。エラー 3）: 「C:\\GONE」", L"err: 探索するディレクトリに空欄があります。",
          L"err: フォルダーを読めません（アクセスが拒否されました。エラー 5）: 「C:\\LOCKED」"},
         {L"err: 読めなかったフォルダー: 6 個"}, EXIT_FAILED},
    };
    for (const auto& row : rows) {
        ConsoleOptions options;
        std::wstring error;
        ASSERT_TRUE(ParseArguments(row.args, options, error)) << row.what;
        CPatternSet set{CPatternSet::NoSettingsFile()};
        for (const Dir& dir : row.dirs)
            set.AddDir(dir.path, dir.recurse);
        for (const CString& mask : row.masks)
            set.AddMask(mask, 0);
        TableFileSystem fs(kCleanTree);
        TableActions actions(fs);
        RecordingSink sink;
        const std::atomic<bool> stop{false};
        CCleanupReport report(sink, ReportStyleOf(options), stop);
        const CleanupSettings settings = CleanupSettingsOf(options, set, options.filter);
        CCleanupRun run(fs, options.command == ConsoleOptions::Command::Delete ? &actions : nullptr, report);
        run.Run(StoredDirectories(set, "C:\\"), settings);
        EXPECT_FALSE(fs.listedTwice) << row.what;
        EXPECT_EQ(row.lines, sink.lines) << row.what;
        sink.lines.clear();
        report.Summary(run.Counts(), settings, 0);
        for (const std::wstring& line : row.summary)
            EXPECT_NE(sink.lines.end(), std::find(sink.lines.begin(), sink.lines.end(), line)) << row.what;
        EXPECT_EQ(row.code, ExitCodeOf(run.Counts())) << row.what;
    }
}

}  // namespace
