// A file mask as Windows reads one, matched against a file's own name only
// (never its generated short name), the same way on every system: "*" takes
// any run of characters, "?" one character or none before a dot or the end,
// a dot before "?" or "*" also the end of a name without one, and "*." at the
// end the names without a dot. "", "*" and "*.*" take every name. Letters
// compare without regard to case.
#pragma once

#include <string>

class CFileMask {
public:
    explicit CFileMask(const std::wstring& mask);

    bool Takes(const wchar_t* name) const;

private:
    enum class Kind {
        Every,     // "", "*", "*.*"
        Exact,     // no wildcard: the whole name
        Suffix,    // "*" and a tail without wildcards ("*.TMP")
        Wildcard,  // anything else: the full rules
    };
    bool TakesByRules(const wchar_t* name, size_t length) const;

    // The mask upper-cased, its wildcards in the forms Windows gives them
    // (DOS_STAR, DOS_QM, DOS_DOT for "*.", "?" and a dot before a wildcard).
    std::wstring m_expression;
    Kind m_kind;
};

// The upper case of a character as file names compare: Latin, Greek,
// Cyrillic, Roman numerals, circled and full-width letters; others as they are.
wchar_t UpcaseForNames(wchar_t c);
