#include "text/mbcs.h"

namespace text {

namespace {

// Length of the character at `pos`: 2 for a lead byte followed by a trail byte, else 1.
size_t charLength(const std::string& s, size_t pos, const LeadByteTest& isLead) {
  return isLead(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() ? 2 : 1;
}

}  // namespace

size_t findLastChar(const std::string& haystack, char ch, const LeadByteTest& isLead) {
  size_t found = std::string::npos;
  for (size_t pos = 0; pos < haystack.size(); pos += charLength(haystack, pos, isLead)) {
    if (haystack[pos] == ch) found = pos;
  }
  return found;
}

size_t findPart(const std::string& haystack, const std::string& part, const LeadByteTest& isLead) {
  if (part.empty()) return 0;
  for (size_t pos = 0; pos + part.size() <= haystack.size();
       pos += charLength(haystack, pos, isLead)) {
    if (haystack.compare(pos, part.size(), part) == 0) return pos;
  }
  return std::string::npos;
}

}  // namespace text
