// The console program's arguments and report texts, natively: ages, sizes,
// every usage error, sizes as a person reads them, CSV fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/arguments.h"
#include "console/report_text.h"

namespace {

TEST(ConsoleValues, AgesAndSizes)
{
    struct Row {
        const wchar_t* text;
        ValueFault age;
        std::uint64_t ticks;
        ValueFault size;
        std::uint64_t bytes;
    };
    const ValueFault ok = ValueFault::None, bad = ValueFault::Malformed, big = ValueFault::TooLarge;
    const std::uint64_t day = TICKS_PER_DAY, hour = TICKS_PER_HOUR;
    const Row rows[] = {
        {L"7", ok, 7 * day, ok, 7},
        {L"7d", ok, 7 * day, bad, 0},
        {L"7D", ok, 7 * day, bad, 0},
        {L"12h", ok, 12 * hour, bad, 0},
        {L"0", ok, 0, ok, 0},
        {L"007", ok, 7 * day, ok, 7},
        {L"500K", bad, 0, ok, 500 * 1024},
        {L"10m", bad, 0, ok, 10u << 20},
        {L"2G", bad, 0, ok, 2ull << 30},
        {L"", bad, 0, bad, 0},
        {L"7x", bad, 0, bad, 0},
        {L"-1", bad, 0, bad, 0},
        {L"+7", bad, 0, bad, 0},
        {L" 7", bad, 0, bad, 0},
        {L"7dd", bad, 0, bad, 0},
        {L"1.5", bad, 0, bad, 0},
        {L"d", bad, 0, bad, 0},
        {L"７", bad, 0, bad, 0},
        {L"18446744073709551615", big, 0, ok, 18446744073709551615ull},
        {L"18446744073709551616", big, 0, big, 0},
        {L"99999999999999999999", big, 0, big, 0},
        {L"21350398d", ok, 21350398 * day, bad, 0},
        {L"21350399d", big, 0, bad, 0},
        {L"17179869183G", bad, 0, ok, 17179869183ull << 30},
        {L"17179869184G", bad, 0, big, 0},
    };
    for (const Row& row : rows) {
        std::uint64_t ticks = 0, bytes = 0;
        const std::wstring text = row.text;
        EXPECT_EQ(row.age, ParseAge(text, ticks)) << &row - rows;
        EXPECT_EQ(row.size, ParseSize(text, bytes)) << &row - rows;
        if (row.age == ok) {
            EXPECT_EQ(row.ticks, ticks) << &row - rows;
        }
        if (row.size == ok) {
            EXPECT_EQ(row.bytes, bytes) << &row - rows;
        }
    }
}

std::vector<std::wstring> Split(const std::wstring& line)
{
    std::vector<std::wstring> args;
    for (size_t at = 0; at < line.size();) {
        const size_t end = line.find(L' ', at);
        args.push_back(line.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at));
        at = end == std::wstring::npos ? line.size() : end + 1;
    }
    return args;
}

// Each command line that cannot be run, with the message that says why; and
// the ones that can, with what they set.
TEST(ConsoleArguments, UsageErrorsNameTheOptionAndTheValue)
{
    const struct {
        const wchar_t* line;
        const wchar_t* error;  // empty for a command line that runs
    } rows[] = {
        {L"", L"コマンド (list または delete) を指定してください。"},
        {L"list list", L"使えない引数です: list"},
        {L"delete --bogus", L"使えない引数です: --bogus"},
        {L"delete --number", L"--number の後に値を指定してください。"},
        {L"list --older-than", L"--older-than の後に値を指定してください。"},
        {L"delete --number 0", L"--number には 1 以上の番号を指定してください: 0"},
        {L"delete --pattern a --number 1", L"削除パターンは --pattern か --number のどちらか一つで、一度だけ指定してください。"},
        {L"delete --pattern a --pattern b", L"削除パターンは --pattern か --number のどちらか一つで、一度だけ指定してください。"},
        {L"list --settings a --settings b", L"--settings には設定ファイルを一つだけ指定してください。"},
        {L"list --permanent", L"--permanent は delete にだけ指定できます。"},
        {L"delete --older-than 7x", L"--older-than には日数（7 または 7d）か時間数（12h）を 0 以上の整数で指定してください: 7x"},
        {L"delete --newer-than -1", L"--newer-than には日数（7 または 7d）か時間数（12h）を 0 以上の整数で指定してください: -1"},
        {L"delete --larger-than -1",
         L"--larger-than にはバイト数を 0 以上の整数で、または K、M、G を付けて（500K、10M、2G）指定してください: -1"},
        {L"delete --smaller-than 18446744073709551616", L"--smaller-than の値が大きすぎます: 18446744073709551616"},
        {L"delete --older-than 99999999999999999999", L"--older-than の値が大きすぎます: 99999999999999999999"},
        {L"delete --older-than 7 --time modified", L"--time には written、created、accessed のどれかを指定してください: modified"},
        {L"delete --time created", L"--time は --older-than か --newer-than と一緒に指定してください。"},
        {L"delete --older-than 7 --older-than 8", L"--older-than は一度だけ指定してください。"},
        {L"delete --older-than 7 --newer-than 7", L"--older-than 7 と --newer-than 7 の両方に当てはまるファイルはありません。"},
        {L"delete --older-than 30 --newer-than 7d", L"--older-than 30 と --newer-than 7d の両方に当てはまるファイルはありません。"},
        {L"delete --larger-than 1K --smaller-than 1025", L"--larger-than 1K と --smaller-than 1025 の両方に当てはまるファイルはありません。"},
        {L"delete --larger-than 1M --smaller-than 1K", L"--larger-than 1M と --smaller-than 1K の両方に当てはまるファイルはありません。"},
        {L"delete --format csv", L"--format は list にだけ指定できます。"},
        {L"list --format xml", L"--format には text か csv を指定してください: xml"},
        {L"list --log", L"--log の後に値を指定してください。"},
        {L"list --log  ", L"--log にはログファイルを一つだけ指定してください。"},
        {L"list --log a --log b", L"--log にはログファイルを一つだけ指定してください。"},
        {L"delete --older-than 7x --help", L""},
        {L"list --larger-than 1K --smaller-than 1026 --format csv --log x.log", L""},
        {L"delete --permanent --permanent --older-than 0 --newer-than 12h --time accessed", L""},
    };
    for (const auto& row : rows) {
        ConsoleOptions options;
        std::wstring error;
        EXPECT_EQ(!*row.error, ParseArguments(Split(row.line), options, error)) << &row - rows;
        EXPECT_EQ(row.error, error) << &row - rows;
    }

    ConsoleOptions options;
    std::wstring error;
    ASSERT_TRUE(ParseArguments(Split(L"delete --pattern 一時 --newer-than 30 --older-than 12h --time created --smaller-than 2G "
                                     L"--log C:\\l.log --permanent"),
                               options, error));
    EXPECT_EQ(ConsoleOptions::Command::Delete, options.command);
    EXPECT_EQ(L"一時", options.patternName);
    EXPECT_EQ(12 * TICKS_PER_HOUR, *options.filter.olderThan);
    EXPECT_EQ(30 * TICKS_PER_DAY, *options.filter.newerThan);
    EXPECT_EQ(FileTimeKind::Created, options.filter.time);
    EXPECT_EQ(2ull << 30, *options.filter.smallerThan);
    EXPECT_FALSE(options.filter.largerThan);
    EXPECT_EQ(L"C:\\l.log", options.logPath);
    EXPECT_TRUE(options.permanent);
    ASSERT_TRUE(ParseArguments(Split(L"list --format csv"), options, error));
    EXPECT_EQ(ConsoleOptions::Format::Csv, options.format);
    EXPECT_FALSE(options.filter.Any());
}

TEST(ReportText, SizesNumbersAndCsvFields)
{
    const struct {
        std::uint64_t bytes;
        const wchar_t* text;
    } sizes[] = {
        {0, L"0 バイト"},
        {1023, L"1023 バイト"},
        {1024, L"1.0 KB（1,024 バイト）"},
        {1536, L"1.5 KB（1,536 バイト）"},
        {102348, L"99.9 KB（102,348 バイト）"},
        {102349, L"100 KB（102,349 バイト）"},
        {348160, L"340 KB（348,160 バイト）"},
        {1048063, L"1023 KB（1,048,063 バイト）"},
        {1048064, L"1.0 MB（1,048,064 バイト）"},
        {1288490189, L"1.2 GB（1,288,490,189 バイト）"},
        {5ull << 40, L"5.0 TB（5,497,558,138,880 バイト）"},
        {18446744073709551615ull, L"16.0 EB（18,446,744,073,709,551,615 バイト）"},
    };
    for (const auto& row : sizes)
        EXPECT_EQ(row.text, SizeWithBytes(row.bytes)) << row.bytes;

    const struct {
        const wchar_t* field;
        const wchar_t* csv;
    } fields[] = {
        {L"C:\\T\\a.tmp", L"C:\\T\\a.tmp"},
        {L"C:\\T\\a,b.tmp", L"\"C:\\T\\a,b.tmp\""},
        {L"C:\\T\\say \"hi\".tmp", L"\"C:\\T\\say \"\"hi\"\".tmp\""},
        {L"C:\\T\\two\r\nlines", L"\"C:\\T\\two\r\nlines\""},
        {L"C:\\T\\表 ソ.tmp", L"C:\\T\\表 ソ.tmp"},
        {L"", L""},
    };
    for (const auto& row : fields)
        EXPECT_EQ(row.csv, CsvField(row.field));
    EXPECT_EQ(L"2026-01-02 03:04:05", DateTimeText({2026, 1, 2, 3, 4, 5}));
}

}  // namespace
