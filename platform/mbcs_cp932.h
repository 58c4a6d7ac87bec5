// Code page 932 (Shift-JIS as Windows defines it), written out so that the
// portable build behaves as the Windows runtime does.
#pragma once

namespace cp932 {

// 0x81-0x9F and 0xE0-0xFC open a double-byte character.
inline bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Reads one character at *p and advances p: a byte, or lead * 256 + trail.
// A lead byte right before the terminator stands alone.
unsigned NextChar(const unsigned char*& p);

unsigned ToUpper(unsigned ch);
unsigned ToLower(unsigned ch);

int Compare(const char* a, const char* b);
int CompareNoCase(const char* a, const char* b);
void Upper(char* text);
const char* ReverseFind(const char* text, unsigned char ch);

}  // namespace cp932
