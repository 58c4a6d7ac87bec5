#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "patterns/pattern_set.h"
#include "platform/file.h"
#include "tests/support/settings_bytes.h"
#include "tests/support/texts.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

using namespace testing_support;

namespace {

const std::string kFile = texts::kSettingsFile;

Bytes SavedBytes(CPatternSet& set)
{
    set.Save();
    Bytes b;
    EXPECT_TRUE(ReadFileBytes(kFile, b));
    return b;
}

struct SettingsFileTest : ::testing::Test {
    TempDir dir;
};

TEST_F(SettingsFileTest, PathIsTheStartupDirectoryWithTheFileName)
{
    CPatternSet set;
    EXPECT_EQ(CurrentDirectory() + Separator() + kFile, std::string(set.GetPath()));
}

TEST_F(SettingsFileTest, WorkedExampleIsExactlyItsFiftyNineBytes)
{
    CPatternSet set;
    set.AddMask("*.TMP", 0);
    set.AddDir("C:\\TEMP\\", 1);
    const Bytes expected = {0x01, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x00, 0x90, 0x56, 0x82, 0xB5, 0x82, 0xA2, 0x83,
                            0x70, 0x83, 0x5E, 0x81, 0x5B, 0x83, 0x93, 0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00,
                            0x2A, 0x2E, 0x54, 0x4D, 0x50, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x08, 0x00,
                            0x00, 0x00, 0x43, 0x3A, 0x5C, 0x54, 0x45, 0x4D, 0x50, 0x5C, 0x01, 0x00, 0x00, 0x00};
    ASSERT_EQ(59u, expected.size());
    EXPECT_EQ(expected, SavedBytes(set));
    EXPECT_FALSE(FileExists(kFile + ".tmp"));
}

TEST_F(SettingsFileTest, SaveThenLoadReproducesEverything)
{
    Bytes first;
    {
        CPatternSet set;
        set.SetName("P0");
        set.AddMask("*.TMP", 0);
        set.AddDir("C:\\TEMP\\", 1);
        set.AddDir("C:\\データ表\\", 0);
        set.NewPattern();
        set.SetName("");  // an empty name is the length 0 alone
        set.NewPattern();
        set.SetName("P2");
        set.AddMask("TEMP?.LOG", 0);
        set.AddMask("*.BAK", 0);
        set.AddDir("D:\\", INT_MIN);
        set.AddDir("E:\\", INT_MAX);
        set.AddDir("F:\\", -1);
        set.AddDir("G:\\", 2);
        first = SavedBytes(set);  // saved with pattern 2 current
    }
    CPatternSet loaded;
    EXPECT_EQ(LoadOutcome::Whole, loaded.GetLoadOutcome());
    ASSERT_EQ(3, loaded.GetCount());
    EXPECT_STREQ("P0", loaded.GetCurrentName());  // the first pattern is current
    EXPECT_STREQ("C:\\データ表\\", loaded.GetDir(1));
    EXPECT_EQ(0, loaded.GetDirFlag(1));
    EXPECT_STREQ("", loaded.GetName(1));
    loaded.SetCurrent(1);
    EXPECT_EQ(0, loaded.GetMaskCount());
    EXPECT_EQ(0, loaded.GetDirCount());
    loaded.SetCurrent(2);
    ASSERT_EQ(4, loaded.GetDirCount());
    EXPECT_EQ(INT_MIN, loaded.GetDirFlag(0));
    EXPECT_EQ(INT_MAX, loaded.GetDirFlag(1));
    EXPECT_EQ(-1, loaded.GetDirFlag(2));
    EXPECT_EQ(2, loaded.GetDirFlag(3));
    EXPECT_STREQ("*.BAK", loaded.GetMask(1));
    EXPECT_EQ(first, SavedBytes(loaded));  // mask flags and all, byte for byte

    // A pattern with nothing in it is its name and two zero counts.
    SettingsWriter empty;
    empty.Int(1).Str("").Int(0).Int(0);
    RemoveTree(kFile);
    CPatternSet bare;
    bare.SetName("");
    EXPECT_EQ(empty.bytes, SavedBytes(bare));
}

TEST_F(SettingsFileTest, MaskFlagsTravelBothWays)
{
    SettingsWriter b;
    b.Int(1).Record({"P", {{"A", 5}, {"B", -9}}, {}});
    ASSERT_TRUE(WriteFileBytes(kFile, b.bytes));
    CPatternSet set;
    EXPECT_EQ(b.bytes, SavedBytes(set));
}

TEST_F(SettingsFileTest, DeletedPatternsDoNotReachTheFile)
{
    CPatternSet set;
    for (int i = 1; i < 5; ++i)
        set.NewPattern();
    set.SetCurrent(0);
    set.DeletePattern(4);
    set.DeletePattern(1);
    SettingsWriter b;
    b.Int(3);
    for (int i = 0; i < 3; ++i)
        b.Record({texts::kDefaultName, {}, {}});
    EXPECT_EQ(b.bytes, SavedBytes(set));
}

TEST_F(SettingsFileTest, ZeroByteInsideAStringCutsTheValueOnly)
{
    SettingsWriter b;
    b.Int(1).Raw(5, std::string("AB\0CD", 5)).Int(1).Raw(4, std::string("*.\0X", 4)).Int(7).Int(1).Str("C:\\X\\").Int(1);
    ASSERT_TRUE(WriteFileBytes(kFile, b.bytes));
    CPatternSet set;
    EXPECT_EQ(LoadOutcome::Whole, set.GetLoadOutcome());
    EXPECT_STREQ("AB", set.GetCurrentName());
    EXPECT_STREQ("*.", set.GetMask(0));
    ASSERT_EQ(1, set.GetDirCount());
    EXPECT_STREQ("C:\\X\\", set.GetDir(0));
    EXPECT_EQ(1, set.GetDirFlag(0));
}

TEST_F(SettingsFileTest, EveryTruncationKeepsTheWholeRecordsBeforeIt)
{
    SettingsWriter b;
    b.Int(3);
    std::vector<size_t> recordEnds;
    b.Record({"P0", {{"*.TMP", 0}}, {{"C:\\TEMP\\", 1}}});
    recordEnds.push_back(b.bytes.size());
    b.Record({"P1", {}, {{"D:\\", 0}, {"E:\\", 1}}});
    recordEnds.push_back(b.bytes.size());
    b.Record({"P2", {{"A", 0}, {"B", 0}}, {}});
    recordEnds.push_back(b.bytes.size());

    for (size_t length = 0; length < b.bytes.size(); ++length) {
        SCOPED_TRACE(length);
        ASSERT_TRUE(WriteFileBytes(kFile, Bytes(b.bytes.begin(), b.bytes.begin() + length)));
        CPatternSet set;
        int whole = 0;
        while (whole < 3 && recordEnds[whole] <= length)
            ++whole;
        EXPECT_EQ(whole == 0 ? LoadOutcome::Unreadable : LoadOutcome::Partial, set.GetLoadOutcome());
        ASSERT_EQ(whole == 0 ? 1 : whole, set.GetCount());
        // The first pattern is current, and a record cut short leaves nothing.
        EXPECT_STREQ(whole == 0 ? texts::kDefaultName : "P0", set.GetCurrentName());
        Bytes unchanged;
        ASSERT_TRUE(ReadFileBytes(kFile, unchanged));
        EXPECT_EQ(length, unchanged.size());  // loading writes nothing
    }
}

TEST_F(SettingsFileTest, HostileCountsAndLengthsAreRefused)
{
    for (const HostileFile& c : HostileSettingsFiles()) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFileBytes(kFile, c.file.bytes));
        CPatternSet set;
        EXPECT_EQ(c.outcome, set.GetLoadOutcome());
        EXPECT_EQ(c.kept, set.GetCount());
        EXPECT_LE(set.GetMaskCount(), MAX_ENTRIES);
        EXPECT_LE(set.GetDirCount(), MAX_ENTRIES);
    }
}

TEST_F(SettingsFileTest, EmptyOrUnopenableFilesAreReportedNotReplaced)
{
    ASSERT_TRUE(WriteFileBytes(kFile, {}));
    {
        CPatternSet set;
        EXPECT_EQ(LoadOutcome::Unreadable, set.GetLoadOutcome());
        EXPECT_EQ(1, set.GetCount());
        EXPECT_STREQ(texts::kDefaultName, set.GetCurrentName());
    }
    RemoveTree(kFile);
    ASSERT_TRUE(MakeDirectory(kFile));  // a name that cannot be read as a file
    CPatternSet set;
    EXPECT_EQ(LoadOutcome::Unreadable, set.GetLoadOutcome());
    EXPECT_EQ(1, set.GetCount());
}

TEST_F(SettingsFileTest, LeftoverTemporaryFileIsIgnored)
{
    SettingsWriter b;
    b.Int(1).Record({"REAL", {}, {}});
    ASSERT_TRUE(WriteFileBytes(kFile, b.bytes));
    ASSERT_TRUE(WriteFileBytes(kFile + ".tmp", {0xFF, 0xFF}));
    CPatternSet set;
    EXPECT_EQ(LoadOutcome::Whole, set.GetLoadOutcome());
    EXPECT_STREQ("REAL", set.GetCurrentName());
    set.SetName("NEW");
    set.Save();
    EXPECT_FALSE(FileExists(kFile + ".tmp"));
}

// Each failure leaves the previous file byte for byte, and no temporary file.
struct SaveFailureTest : SettingsFileTest {
    Bytes old;
    void SetUp() override
    {
        SettingsWriter b;
        b.Int(1).Record({"OLD", {{"*.OLD", 0}}, {{"C:\\OLD\\", 1}}});
        old = b.bytes;
        ASSERT_TRUE(WriteFileBytes(kFile, old));
    }
    void ExpectFailedSaveKeepsOldFile(CPatternSet& set)
    {
        set.SetName("NEW");
        EXPECT_THROW(set.Save(), CFileException);
        Bytes now;
        ASSERT_TRUE(ReadFileBytes(kFile, now));
        EXPECT_EQ(old, now);
    }
};

TEST_F(SaveFailureTest, ReadOnlySettingsFileIsRefused)
{
    CPatternSet set;
    ASSERT_TRUE(SetReadOnly(kFile, true));
    try {
        set.Save();
        ADD_FAILURE() << "a read-only settings file was overwritten";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::accessDenied, e.m_cause);
        EXPECT_EQ(std::string(set.GetPath()), std::string(e.m_strFileName));
    }
    SetReadOnly(kFile, false);
    Bytes now;
    ASSERT_TRUE(ReadFileBytes(kFile, now));
    EXPECT_EQ(old, now);
    EXPECT_FALSE(FileExists(kFile + ".tmp"));
}

TEST_F(SaveFailureTest, TemporaryFileThatCannotBeCreated)
{
    CPatternSet set;
    ASSERT_TRUE(MakeDirectory(kFile + ".tmp"));
    ExpectFailedSaveKeepsOldFile(set);
}

TEST_F(SaveFailureTest, DirectoryGoneAfterStartup)
{
    std::string startup = CurrentDirectory();
    TempDir other(false);
    std::string moved = other / "moved";
    CPatternSet set;
    ASSERT_TRUE(ChangeDirectory(other.Path()));
    ASSERT_EQ(0, std::rename(startup.c_str(), moved.c_str()));
    set.SetName("NEW");
    EXPECT_THROW(set.Save(), CFileException);
    EXPECT_FALSE(FileExists(startup));
    Bytes now;
    ASSERT_TRUE(ReadFileBytes(moved + Separator() + kFile, now));
    EXPECT_EQ(old, now);
    std::rename(moved.c_str(), startup.c_str());
}

#ifdef _WIN32
TEST_F(SaveFailureTest, SettingsFileHeldOpenByAnotherProgram)
{
    CPatternSet set;
    HANDLE h = CreateFileA(kFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    ExpectFailedSaveKeepsOldFile(set);
    CloseHandle(h);
    EXPECT_FALSE(FileExists(kFile + ".tmp"));
    set.Save();  // once the other program lets go, saving works
}

TEST(FileErrors, DiskFullIsReported)
{
    CFile full("Z:\\dev\\full", CFile::modeWrite);
    char byte = 0;
    try {
        for (int i = 0; i < 100000; ++i)
            full.Write(&byte, 1);
        full.Flush();
        ADD_FAILURE() << "writing to a full disk succeeded";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::diskFull, e.m_cause);
        EXPECT_EQ(112, e.m_lOsError);
    }
}
#else
TEST_F(SaveFailureTest, DiskFullWhileWritingTheTemporaryFile)
{
    CPatternSet set;
    ASSERT_EQ(0, symlink("/dev/full", (kFile + ".tmp").c_str()));
    ExpectFailedSaveKeepsOldFile(set);
    EXPECT_FALSE(FileExists(kFile + ".tmp"));
}

TEST(SettingsPath, TooLongForTheBufferIsNotCut)
{
    TempDir dir;
    std::string name(200, 'd');
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(MakeDirectory(name));
        ASSERT_TRUE(ChangeDirectory(name));
    }
    CPatternSet set;
    EXPECT_STREQ("", set.GetPath());
    EXPECT_EQ(LoadOutcome::Unreadable, set.GetLoadOutcome());
    EXPECT_THROW(set.Save(), CFileException);
    EXPECT_FALSE(FileExists(kFile));
}
#endif

}  // namespace
