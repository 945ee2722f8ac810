// How the texts of a rule (title, process name, title part) are kept in the rules file.
//
// A text that the profile reader gives back unchanged is written as it is, so every file the
// program wrote before stays byte for byte the same. Any other text is escaped: a line break
// or a NUL, blanks at either end, outer quotes, a lead byte without a trail byte, anything the
// reader would change or that would add a line to the file. The escaped form is the text in
// double quotes, with every byte outside printable ASCII written \xHH (two hex digits) and
// the backslash written \\; all else is as it was. So an escaped value is plain ASCII on one
// line, and the older reader, which takes off the quotes, sees the text with its escapes.
//
// A stored value in double quotes is read as escaped. A text in double quotes never reads
// back unchanged (the reader takes the quotes off), so no ordinary text has that form. In a
// quoted value from an older file, a backslash not followed by "\" or "x" and two hex digits
// stays a backslash.
#pragma once

#include <cstddef>
#include <string>

#include "text/mbcs.h"
#include "text/profile_text.h"

namespace rule_text {

// What a value of the rules file can hold: the profile reader's 260-byte buffer keeps 259.
constexpr size_t kMaxBytes = 259;

// At most `maxBytes` bytes, never half a double-byte character.
std::string cut(std::string value, size_t maxBytes, const text::LeadByteTest& isLead);

// What the rules file holds for `value`.
std::string stored(const std::string& value, const text::LeadByteTest& isLead);

// The text of `key` in `section`, as `stored` wrote it or as the older program did, cut to at
// most `maxBytes` bytes at the end of a whole character; "" when the key is missing.
std::string read(const text::ProfileText& file, text::ProfileUnitsView section,
                 text::ProfileUnitsView key, size_t maxBytes, const text::LeadByteTest& isLead);

}  // namespace rule_text
