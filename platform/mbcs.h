// Multibyte text helpers for the ANSI code page. A lead byte opens a
// double-byte character whose second byte belongs to it, even when that byte
// has the value of "\" (0x5C), as in 表 or ソ. On Windows these are the
// runtime's own multibyte functions; elsewhere they are our code-page-932
// implementation (mbcs_cp932.h), and a contract test shows both agree.
#pragma once

// Compares character codes: <0, 0 or >0.
int MbsCmp(const char* a, const char* b);
// Compares ignoring case (both sides lower-cased): <0, 0 or >0.
int MbsICmp(const char* a, const char* b);
// Upper-cases in place; every character keeps its byte length.
void MbsUpper(char* text);
// The last single-byte character `ch`, or nullptr.
const char* MbsRChr(const char* text, unsigned char ch);

// True when the last character, read from the start, is the single-byte "\".
bool EndsWithSeparator(const char* text);
