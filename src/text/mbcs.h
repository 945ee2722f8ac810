// Byte searches on multi-byte text that never match on the trail byte of a double-byte
// character; the caller names the code page by its lead-byte test.
#pragma once

#include <functional>
#include <string>

namespace text {

using LeadByteTest = std::function<bool(unsigned char)>;

// Position of the last `ch` that stands on a character boundary, or npos.
size_t findLastChar(const std::string& haystack, char ch, const LeadByteTest& isLead);

// Position of the first occurrence of `part` that begins on a character boundary, or npos.
// An empty part is found at 0.
size_t findPart(const std::string& haystack, const std::string& part, const LeadByteTest& isLead);

}  // namespace text
