// Text between the program's ANSI code page (932 on the target system) and
// the UTF-16 the system keeps names and window texts in.
#pragma once

#include <string>

#include "platform/cstring.h"

// The UTF-16 form of text in the ANSI code page.
std::wstring WideFromAnsi(const char* text);
// The ANSI spelling for what is shown: a character the code page cannot
// spell exactly becomes "？", never a look-alike ("e" for "é", "\" for "¥"),
// a separator or a wildcard.
CString AnsiFromWide(const wchar_t* text);
// The exact ANSI spelling; false when the code page cannot spell all of it.
bool ExactAnsiFromWide(const wchar_t* text, CString& ansi);
