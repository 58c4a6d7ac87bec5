// The walk of one stored directory for every mask, over a file system given
// as a table: order, paths, links, the result limit and stops, natively.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/file_walk.h"
#include "engine/search_logic.h"
#include "platform/mbcs.h"

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
// of a kind nobody knows. A stored directory in `links` resolves elsewhere.
class TableFileSystem : public WalkFileSystem {
public:
    TableFileSystem(std::map<std::wstring, ExactLines> dirs, std::map<std::wstring, std::wstring> links = {})
        : m_dirs(std::move(dirs)), m_links(std::move(links))
    {}

    std::wstring ExactFormOf(const CString& text) const override { return ExactFormOfText(text); }
    CString SpellingOf(const wchar_t* exactName) const override { return Spell(exactName).c_str(); }

    std::unique_ptr<Listing> List(const std::wstring& dir) override
    {
        std::wstring key = Key(dir);
        if (!m_dirs.count(key))
            return nullptr;
        if (++listings[key] > 1)
            listedTwice = true;
        return std::unique_ptr<Listing>(new TableListing(m_dirs[key]));
    }

    std::wstring FinalPathOf(const std::wstring& dir) override
    {
        std::wstring key = Key(dir);
        if (!m_dirs.count(key))
            return std::wstring();
        return L"\\\\?\\" + (m_links.count(key) ? m_links[key] : key);
    }

    bool EnterDirectory(const std::wstring& dir) override
    {
        entered = dir;
        return true;
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
            if (m_next == m_names.size())
                return false;
            m_name = m_names[m_next++];
            const bool dots = m_next <= 2;
            const wchar_t kind = dots ? L'/' : m_name.back();
            const bool isDir = kind == L'/' || kind == L'@' || kind == L'~' || kind == L'%';
            if (isDir && !dots)
                m_name.pop_back();
            const std::uint32_t tag = kind == L'@' ? 0xA000000Cu : kind == L'~' ? 0x9000601Au : kind == L'%' ? 0x80000099u : 0;
            entry = Entry{m_name.c_str(), isDir, tag != 0, tag};
            return true;
        }
        bool EndedInError() const override { return false; }

    private:
        ExactLines m_names;
        size_t m_next = 0;
        std::wstring m_name;
    };

    static std::wstring Key(std::wstring dir)
    {
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
// the exact and final path of every file.
class RecordingCaller : public WalkCaller {
public:
    RecordingCaller(int count, int stopAtPoll) : m_count(count), m_stopAtPoll(stopAtPoll) {}
    void DirectoryEntered(const CString& dir) override { events.push_back("enter " + std::string(dir)); }
    int ResultCount() const override { return m_count; }
    void FileFound(const CString& path, const std::wstring& exactPath, const std::wstring& finalPath) override
    {
        ++m_count;
        events.push_back("file " + std::string(path));
        exact.push_back(exactPath);
        finals.push_back(finalPath);
    }
    bool StopNow() override
    {
        events.push_back("poll");
        return ++m_polls == m_stopAtPoll;
    }
    Lines events;
    ExactLines exact;
    ExactLines finals;

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
    {L"C:\\MIX", {L"a.tmp", L"B.TMP", L"report.tmp_keep", L"page.html", L"p.htm", L"thesis.bakup", L"c.bak", L"noext"}},
    {L"C:\\LINKS", {L"OUT@", L"CLOUD~", L"ODD%", L"LOCKED/", L"Z.TMP"}},
    {L"C:\\LINKS\\OUT", {L"NEVER.TMP"}},
    {L"C:\\LINKS\\CLOUD", {L"P.TMP"}},
    {L"C:\\LINKS\\ODD", {L"NEVER.TMP"}},
    {L"C:\\LINKED", {L"C.TMP"}},
    {L"C:\\YEN", {L"A¥B/", L"Z/"}},
    {L"C:\\YEN\\A¥B", {L"1.TMP"}},
    {L"C:\\YEN\\Z", {L"2.TMP"}},
};
// A stored directory that is itself a link, and where it leads.
const std::map<std::wstring, std::wstring> kLinks = {{L"C:\\LINKED", L"C:\\SUB2\\DEEP"}};

struct Walk {
    const char* dir;
    std::vector<CString> masks;
    int recurse;
};

struct Row {
    const char* what;
    std::vector<Walk> walks;  // as the search runs them, one per stored directory
    Lines events;
    int startCount = 0;
    int stopAtPoll = 0;
    bool limitReached = false;
    ExactLines exact = {};                 // checked when given
    ExactLines finals = {};                // checked when given
    const wchar_t* lastEntered = nullptr;  // the current directory afterwards, checked when given

    // Rows say only what they check beyond the events.
    Row Starting(int count, bool full) const { return Set(&Row::startCount, count).Set(&Row::limitReached, full); }
    Row StopAt(int poll) const { return Set(&Row::stopAtPoll, poll); }
    Row Exact(const ExactLines& paths) const { return Set(&Row::exact, paths); }
    Row Finals(const ExactLines& paths) const { return Set(&Row::finals, paths); }
    Row LeavesIn(const wchar_t* dir) const { return Set(&Row::lastEntered, dir); }
    template <typename T, typename V>
    Row Set(T Row::*member, const V& value) const
    {
        Row row = *this;
        row.*member = value;
        return row;
    }
};

TEST(FileWalk, OrderPathsLinksLimitAndStops)
{
    const Row rows[] = {
        Row{"a root: its files are root + name, and so are their final paths; the walk ends in the last folder entered",
            {{"C:\\", {"*.TMP"}, 1}},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll", "enter C:\\SUB2",
             "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll"}}
            .Finals(
                {L"\\\\?\\C:\\ROOT.TMP", L"\\\\?\\C:\\SUB1\\A.TMP", L"\\\\?\\C:\\SUB2\\B.TMP", L"\\\\?\\C:\\SUB2\\DEEP\\C.TMP"})
            .LeavesIn(L"C:\\SUB2\\DEEP"),
        {"without subfolders only the directory itself",
         {{"C:\\SUB2", {"*.TMP"}, 0}},
         {"enter C:\\SUB2", "file C:\\SUB2\\B.TMP", "poll"}},
        {"a subfolder flag other than 1 is no subfolder flag",
         {{"C:\\SUB2", {"*.TMP"}, 2}},
         {"enter C:\\SUB2", "file C:\\SUB2\\B.TMP", "poll"}},
        {"a directory ending in 表 gets its separator; a mask matching a directory polls but lists nothing",
         {{"C:\\DATA表", {"*.TMP"}, 1}},
         {"enter C:\\DATA表", "file C:\\DATA表\\F.TMP", "poll", "poll", "enter C:\\DATA表\\X.TMP",
          "file C:\\DATA表\\X.TMP\\H.TMP", "poll", "enter C:\\DATA表\\SUB", "file C:\\DATA表\\SUB\\G.TMP", "poll"}},
        {"\"*\" matches . and .. too: polled, never listed nor walked",
         {{"C:\\SUB1", {"*"}, 1}},
         {"enter C:\\SUB1", "poll", "poll", "file C:\\SUB1\\A.TMP", "poll", "file C:\\SUB1\\A.LOG", "poll"}},
        Row{"a later mask walks the whole tree again from what the listings kept, folder by folder",
            {{"C:\\", {"*.TMP", "*.LOG"}, 1}},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll", "enter C:\\SUB2",
             "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll", "enter C:\\",
             "enter C:\\SUB1", "file C:\\SUB1\\A.LOG", "poll", "enter C:\\SUB2", "enter C:\\SUB2\\DEEP"}}
            .LeavesIn(L"C:\\SUB2\\DEEP"),
        {"a file under two directories and matched by two masks is listed once per match",
         {{"C:\\SUB2\\", {"*.TMP", "C.*"}, 1}, {"C:\\SUB2\\DEEP\\", {"*.TMP"}, 0}},
         {"enter C:\\SUB2\\", "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll",
          "enter C:\\SUB2\\", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll", "enter C:\\SUB2\\DEEP\\",
          "file C:\\SUB2\\DEEP\\C.TMP", "poll"}},
        {"a mask takes a file by its own name only: masks in the pattern's order, each in listing order",
         {{"C:\\MIX\\", {"*.tmp", "*.bak", "*.htm", "*."}, 0}},
         {"enter C:\\MIX\\", "file C:\\MIX\\a.tmp", "poll", "file C:\\MIX\\B.TMP", "poll", "enter C:\\MIX\\",
          "file C:\\MIX\\c.bak", "poll", "enter C:\\MIX\\", "file C:\\MIX\\p.htm", "poll", "enter C:\\MIX\\",
          "file C:\\MIX\\noext", "poll"}},
        {"links, junctions and unknown reparse points are not followed, a cloud placeholder folder is; a subfolder "
         "that cannot be entered is skipped for every mask",
         {{"C:\\LINKS\\", {"*.TMP", "P.*"}, 1}},
         {"enter C:\\LINKS\\", "file C:\\LINKS\\Z.TMP", "poll", "enter C:\\LINKS\\CLOUD", "file C:\\LINKS\\CLOUD\\P.TMP", "poll",
          "enter C:\\LINKS\\", "enter C:\\LINKS\\CLOUD", "file C:\\LINKS\\CLOUD\\P.TMP", "poll"}},
        Row{"a stored directory that is a link is entered; final paths are those of where it leads",
            {{"C:\\LINKED\\", {"*.TMP"}, 1}},
            {"enter C:\\LINKED\\", "file C:\\LINKED\\C.TMP", "poll"}}
            .Exact({L"C:\\LINKED\\C.TMP"})
            .Finals({L"\\\\?\\C:\\SUB2\\DEEP\\C.TMP"}),
        {"a missing directory is skipped without a word; the next is walked",
         {{"C:\\GONE\\", {"*.TMP"}, 1}, {"C:\\SUB1\\", {"*.TMP"}, 1}},
         {"enter C:\\SUB1\\", "file C:\\SUB1\\A.TMP", "poll"}},
        {"a mask matching nothing: no poll, and the subdirectories are still walked",
         {{"C:\\", {"*.NONE"}, 1}},
         {"enter C:\\", "enter C:\\SUB1", "enter C:\\SUB2", "enter C:\\SUB2\\DEEP"}},
        Row{"the 64001st match is not stored and ends the walk, unpolled",
            {{"C:\\", {"*.TMP", "*.LOG"}, 1}, {"C:\\SUB1\\", {"*.TMP"}, 1}},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1"}}
            .Starting(MAX_RESULTS - 1, true)
            .LeavesIn(L"C:\\SUB1"),
        Row{"a stop at the first entry: no further entry, subdirectory, mask or walk",
            {{"C:\\", {"*.TMP", "*.LOG"}, 1}, {"C:\\SUB1\\", {"*.TMP"}, 1}},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll"}}
            .StopAt(1),
        Row{"a stop deep down ends every level above",
            {{"C:\\", {"*.TMP"}, 1}},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "file C:\\SUB1\\A.TMP", "poll"}}
            .StopAt(2),
        Row{"a stop in a later mask's walk",
            {{"C:\\SUB2\\", {"*.TMP", "C.*"}, 1}},
            {"enter C:\\SUB2\\", "file C:\\SUB2\\B.TMP", "poll", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll",
             "enter C:\\SUB2\\", "enter C:\\SUB2\\DEEP", "file C:\\SUB2\\DEEP\\C.TMP", "poll"}}
            .StopAt(3),
        Row{"names the code page cannot spell: \"？\" beside the exact path, never a look-alike; such a directory is walked "
            "like any other",
            {{"C:\\INTL\\", {"*.TMP"}, 1}},
            {"enter C:\\INTL\\", "file C:\\INTL\\caf？.tmp", "poll", "file C:\\INTL\\cafe.tmp", "poll", "file C:\\INTL\\？.tmp",
             "poll", "file C:\\INTL\\ab.tmp", "poll", "enter C:\\INTL\\？？", "file C:\\INTL\\？？\\x.tmp", "poll"}}
            .Exact({L"C:\\INTL\\café.tmp", L"C:\\INTL\\cafe.tmp", L"C:\\INTL\\한.tmp", L"C:\\INTL\\ab.tmp",
                    L"C:\\INTL\\사진\\x.tmp"}),
        Row{"a spelling holding a \"\\\" never cuts the path short: the next folder is named right",
            {{"C:\\YEN", {"*.TMP"}, 1}},
            {"enter C:\\YEN", "enter C:\\YEN\\A\\B", "file C:\\YEN\\A\\B\\1.TMP", "poll", "enter C:\\YEN\\Z",
             "file C:\\YEN\\Z\\2.TMP", "poll"}}
            .Exact({L"C:\\YEN\\A¥B\\1.TMP", L"C:\\YEN\\Z\\2.TMP"}),
        Row{"exact paths follow the same joins as the code page's, root and 表 included",
            {{"C:\\", {"ROOT.TMP"}, 1}, {"C:\\DATA表", {"*.TMP"}, 1}},
            {"enter C:\\", "file C:\\ROOT.TMP", "poll", "enter C:\\SUB1", "enter C:\\SUB2", "enter C:\\SUB2\\DEEP",
             "enter C:\\DATA表", "file C:\\DATA表\\F.TMP", "poll", "poll", "enter C:\\DATA表\\X.TMP",
             "file C:\\DATA表\\X.TMP\\H.TMP", "poll", "enter C:\\DATA表\\SUB", "file C:\\DATA表\\SUB\\G.TMP", "poll"}}
            .Exact({L"C:\\ROOT.TMP", L"C:\\DATA表\\F.TMP", L"C:\\DATA表\\X.TMP\\H.TMP", L"C:\\DATA表\\SUB\\G.TMP"}),
    };
    for (const Row& row : rows) {
        TableFileSystem fs(kTree, kLinks);
        RecordingCaller caller(row.startCount, row.stopAtPoll);
        CFileWalk walk(fs, caller);
        for (const Walk& w : row.walks) {
            walk.Walk(w.dir, w.masks, w.recurse);
            // Each folder is listed once for all the masks.
            EXPECT_FALSE(fs.listedTwice) << row.what;
            fs.listings.clear();
            if (walk.MustEnd())
                break;
        }
        EXPECT_EQ(row.events, caller.events) << row.what;
        if (!row.exact.empty()) {
            EXPECT_EQ(row.exact, caller.exact) << row.what;
        }
        if (!row.finals.empty()) {
            EXPECT_EQ(row.finals, caller.finals) << row.what;
        }
        if (row.lastEntered) {
            EXPECT_EQ(std::wstring(row.lastEntered), fs.entered) << row.what;
        }
        EXPECT_EQ(row.limitReached, walk.LimitReached()) << row.what;
        EXPECT_EQ(row.limitReached || row.stopAtPoll > 0, walk.MustEnd()) << row.what;
    }
}

}  // namespace
