// Tricky code-page-932 strings, shared by the helpers' own tests and by the
// contract test that compares them with the Windows runtime.
#pragma once

struct MbcsCase {
    const char* text;
    bool endsWithSeparator;
    int lastSeparator;  // byte index, or -1
    const char* upper;
};

// Literals are compiled to code page 932: 表 is 95 5C, ソ is 83 5C.
const MbcsCase kMbcsCases[] = {
    {"", false, -1, ""},
    {"\\", true, 0, "\\"},
    {"C:\\", true, 2, "C:\\"},
    {"c:\\temp", false, 2, "C:\\TEMP"},
    {"c:\\temp\\", true, 7, "C:\\TEMP\\"},
    {"C:\\データ表", false, 2, "C:\\データ表"},
    {"C:\\データ表\\", true, 11, "C:\\データ表\\"},
    {"C:\\ソ", false, 2, "C:\\ソ"},
    {"表", false, -1, "表"},
    {"ソ\\", true, 2, "ソ\\"},
    {"\x95\x5C\x83\x5C", false, -1, "\x95\x5C\x83\x5C"},
    {"ｶﾀｶﾅ\\ｿ", false, 4, "ｶﾀｶﾅ\\ｿ"},  // half-width katakana are single bytes
    {"ｿ\\", true, 1, "ｿ\\"},
    {"ａｂｃ\\temp?.log", false, 6, "ＡＢＣ\\TEMP?.LOG"},
    {"ＡＢＣ", false, -1, "ＡＢＣ"},
    {"αβγ\\абв", false, 6, "ΑΒΓ\\АБВ"},
    {"ⅰⅱ", false, -1, "ⅠⅡ"},
    {"*.tmp", false, -1, "*.TMP"},
    {"a\\b\\c", false, 3, "A\\B\\C"},
};

// Pairs for the comparisons: a sign of 0 means equal.
struct MbcsComparePair {
    const char* a;
    const char* b;
    int cmpSign;
    int icmpSign;
};

const MbcsComparePair kMbcsComparePairs[] = {
    {"", "", 0, 0},
    {"TEMP?.LOG", "temp?.log", -1, 0},
    {"Temp?.Log", "TEMP?.LOG", 1, 0},
    {"C:\\TEMP\\", "C:\\TEMP\\", 0, 0},
    {"C:\\TEMP\\", "C:\\TEMP", 1, 1},
    {"ａ", "Ａ", 1, 0},
    {"α", "Α", 1, 0},
    {"表", "ソ", 1, 1},
    {"\x81\x40", "\xA1", 1, 1},  // a double-byte code sorts above any single byte
    {"_", "a", -1, -1},          // ignoring case compares lower case
    {"ｿ", "ソ", -1, -1},
    {"abc", "abd", -1, -1},
};
