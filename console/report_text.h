// The texts of the console program's summaries and lists that need no
// system call: sizes as a person reads them, numbers with separators, CSV
// fields and the local time of a file.
#pragma once

#include <cstdint>
#include <string>

#include "engine/found_file.h"

// A number with a comma between each three digits: "1,234,567".
std::wstring GroupedNumber(std::uint64_t n);

// A size in 1024-based units, the unit named, to one decimal below 100 and
// whole above: "512 バイト", "340 KB", "1.2 GB".
std::wstring SizeText(std::uint64_t bytes);

// The size in both forms: "340 KB（348,160 バイト）"; just "512 バイト" below 1 KB.
std::wstring SizeWithBytes(std::uint64_t bytes);

// One field of a CSV row: in double quotes, each quote doubled, where it
// holds a comma, a quote or a line break; as it is otherwise.
std::wstring CsvField(const std::wstring& text);

// A name or path as a line shows it: each control character, and each
// character that some viewers take for a line break, as "<U+000A>", so no
// name ever ends or adds a line.
std::wstring EscapedName(const std::wstring& text);

// A name in a message, escaped and in 「」, so that its spaces show.
std::wstring Quoted(const std::wstring& text);

// Why a file or folder could not be read, from the system's error: a short
// reason and the number.
std::wstring ErrorText(std::uint32_t error);

// Why a delete did not happen, with the system's error where there is one.
std::wstring FaultText(const DeleteOutcome& outcome);

// A date and time as "yyyy-mm-dd hh:mm:ss".
struct DateTime {
    int year, month, day, hour, minute, second;
};
std::wstring DateTimeText(const DateTime& t);
