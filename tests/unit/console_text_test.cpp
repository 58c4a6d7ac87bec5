// The console program's arguments and report texts, natively: ages, sizes,
// the usage errors of the filters, the log and the list, sizes as a person
// reads them, CSV fields.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/arguments.h"
#include "console/report_text.h"

namespace {

TEST(ConsoleValues, AgesAndSizes)
{
    const ValueFault ok = ValueFault::None, bad = ValueFault::Malformed, big = ValueFault::TooLarge;
    const std::uint64_t day = TICKS_PER_DAY;
    const struct {
        const wchar_t* text;
        ValueFault age;
        std::uint64_t ticks;
        ValueFault size;
        std::uint64_t bytes;
    } rows[] = {
        {L"7", ok, 7 * day, ok, 7},           {L"7d", ok, 7 * day, bad, 0},
        {L"7D", ok, 7 * day, bad, 0},         {L"12h", ok, 12 * TICKS_PER_HOUR, bad, 0},
        {L"007", ok, 7 * day, ok, 7},         {L"0", ok, 0, ok, 0},
        {L"500K", bad, 0, ok, 500 * 1024},    {L"10m", bad, 0, ok, 10u << 20},
        {L"2G", bad, 0, ok, 2ull << 30},      {L"", bad, 0, bad, 0},
        {L"7x", bad, 0, bad, 0},              {L"-1", bad, 0, bad, 0},
        {L"+7", bad, 0, bad, 0},              {L" 7", bad, 0, bad, 0},
        {L"7dd", bad, 0, bad, 0},             {L"1.5", bad, 0, bad, 0},
        {L"d", bad, 0, bad, 0},               {L"７", bad, 0, bad, 0},
        {L"21350398d", ok, 21350398 * day, bad, 0},
        {L"21350399d", big, 0, bad, 0},
        {L"18446744073709551615", big, 0, ok, 18446744073709551615ull},
        {L"18446744073709551616", big, 0, big, 0},
        {L"17179869183G", bad, 0, ok, 17179869183ull << 30},
        {L"17179869184G", bad, 0, big, 0},
    };
    for (const auto& row : rows) {
        std::uint64_t ticks = 0, bytes = 0;
        EXPECT_EQ(row.age, ParseAge(row.text, ticks)) << &row - rows;
        EXPECT_EQ(row.size, ParseSize(row.text, bytes)) << &row - rows;
        EXPECT_EQ(row.ticks, ticks) << &row - rows;
        EXPECT_EQ(row.bytes, bytes) << &row - rows;
    }
}

TEST(ConsoleArguments, UsageErrorsNameTheOptionAndTheValue)
{
    const struct {
        std::vector<std::wstring> args;
        const wchar_t* error;  // empty for a command line that runs
    } rows[] = {
        {{L"list", L"--older-than"}, L"--older-than の後に値を指定してください。"},
        {{L"delete", L"--newer-than", L"-1"}, L"--newer-than には日数（7 または 7d）か時間数（12h）を 0 以上の整数で指定してください: -1"},
        {{L"delete", L"--smaller-than", L"18446744073709551616"}, L"--smaller-than の値が大きすぎます: 18446744073709551616"},
        {{L"delete", L"--time", L"created"}, L"--time は --older-than か --newer-than と一緒に指定してください。"},
        {{L"delete", L"--older-than", L"7", L"--older-than", L"8"}, L"--older-than は一度だけ指定してください。"},
        {{L"delete", L"--older-than", L"7", L"--newer-than", L"7"}, L"--older-than 7 と --newer-than 7 の両方に当てはまるファイルはありません。"},
        {{L"delete", L"--larger-than", L"1K", L"--smaller-than", L"1025"}, L"--larger-than 1K と --smaller-than 1025 の両方に当てはまるファイルはありません。"},
        {{L"delete", L"--larger-than", L"1M", L"--smaller-than", L"1K"}, L"--larger-than 1M と --smaller-than 1K の両方に当てはまるファイルはありません。"},
        {{L"delete", L"--format", L"csv"}, L"--format は list にだけ指定できます。"},
        {{L"list", L"--format", L"xml"}, L"--format には text か csv を指定してください: xml"},
        {{L"list", L"--log", L""}, L"--log にはログファイルを一つだけ指定してください。"},
        {{L"delete", L"--smaller-than", L"0"}, L"--smaller-than 0 に当てはまるファイルはありません。"},
        {{L"list", L"--newer-than", L"0h"}, L"--newer-than 0h に当てはまるファイルはありません。"},
        {{L"list", L"--number", L"99999999999999999999"}, L"--number の値が大きすぎます: 99999999999999999999"},
        {{L"list", L"--number", L"2147483648"}, L"--number の値が大きすぎます: 2147483648"},
        {{L"list", L"--max-files", L"0"}, L"--max-files には 1 以上の整数を指定してください: 0"},
        {{L"list", L"--exclude", L"sub\\*.tmp"}, L"--exclude にはファイル名のマスク（フォルダーを含まない名前、*.vmdk など）を指定してください: sub\\*.tmp"},
        {{L"list", L"--exclude-dir", L".\\cache"}, L"--exclude-dir にはフォルダー名のマスク（node_modules など）か、ワイルドカードを含まないフォルダーの絶対パス（C:\\VM など）を指定してください: .\\cache"},
        {{L"list", L"--remove-empty-folders"}, L"--remove-empty-folders は delete にだけ指定できます。"},
        {{L"list", L"--allow-volume-root"}, L"--allow-volume-root は delete にだけ指定できます。"},
        {{L"delete", L"--older-than", L"7x", L"--help"}, L""},
        {{L"delete", L"--exclude", L"*.vmdk", L"--exclude", L"a", L"--exclude-dir", L"node_modules", L"--exclude-dir", L"C:\\VM",
          L"--remove-empty-folders", L"--allow-volume-root", L"--max-files", L"100"}, L""},
        {{L"list", L"--larger-than", L"1K", L"--smaller-than", L"1026", L"--format", L"csv", L"--log", L"x.log"}, L""},
    };
    for (const auto& row : rows) {
        ConsoleOptions options;
        std::wstring error;
        EXPECT_EQ(!*row.error, ParseArguments(row.args, options, error)) << &row - rows;
        EXPECT_EQ(row.error, error) << &row - rows;
    }
}

TEST(ReportText, SizesAndCsvFields)
{
    const std::pair<std::uint64_t, const wchar_t*> sizes[] = {
        {0, L"0 バイト"},
        {1023, L"1023 バイト"},
        {1024, L"1.0 KB（1,024 バイト）"},
        {102348, L"99.9 KB（102,348 バイト）"},
        {102349, L"100 KB（102,349 バイト）"},
        {348160, L"340 KB（348,160 バイト）"},
        {1048063, L"1023 KB（1,048,063 バイト）"},
        {1048064, L"1.0 MB（1,048,064 バイト）"},
        {1288490189, L"1.2 GB（1,288,490,189 バイト）"},
        {18446744073709551615ull, L"16.0 EB（18,446,744,073,709,551,615 バイト）"},
    };
    for (const auto& row : sizes)
        EXPECT_EQ(row.second, SizeWithBytes(row.first)) << row.first;
    const std::pair<const wchar_t*, const wchar_t*> fields[] = {
        {L"C:\\T\\表 ソ.tmp", L"C:\\T\\表 ソ.tmp"},
        {L"C:\\T\\a,b.tmp", L"\"C:\\T\\a,b.tmp\""},
        {L"C:\\T\\say \"hi\".tmp", L"\"C:\\T\\say \"\"hi\"\".tmp\""},
        {L"C:\\T\\two\r\nlines", L"\"C:\\T\\two\r\nlines\""},
    };
    for (const auto& row : fields)
        EXPECT_EQ(row.second, CsvField(row.first));
    // No name ever ends or adds a line of text output or the log.
    EXPECT_EQ(L"C:\\T\\nl<U+000A>cr<U+000D>tab<U+0009>del<U+007F>nel<U+0085>ls<U+2028>表 ソ.tmp",
              EscapedName(L"C:\\T\\nl\ncr\rtab\tdel\x7Fnel\x85ls\u2028表 ソ.tmp"));
    EXPECT_EQ(L"「my pattern 」", Quoted(L"my pattern "));
    EXPECT_EQ(L"2026-01-02 03:04:05", DateTimeText({2026, 1, 2, 3, 4, 5}));
}

}  // namespace
