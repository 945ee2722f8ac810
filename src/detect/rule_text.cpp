#include "detect/rule_text.h"

namespace rule_text {

namespace {

bool isEscaped(text::ProfileUnitsView stored) {
  return stored.size() >= 2 && stored.front() == u'"' && stored.back() == u'"';
}

bool readsBackUnchanged(const std::string& value, const text::LeadByteTest& isLead) {
  if (value.find_first_of(std::string("\0\r\n", 3)) != std::string::npos) return false;
  const text::ProfileText line("K=" + value + "\r\n", isLead);
  // A buffer larger than any reading of the value: nothing is cut.
  return text::profileString(line.storedValue(u"", u"K"), u"", 2 * value.size() + 3) == value;
}

std::string escape(const std::string& value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped = "\"";
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      escaped += "\\\\";
    } else if (byte >= 0x20 && byte < 0x7F) {
      escaped += c;
    } else {
      escaped += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    }
  }
  return escaped + "\"";
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string unescape(const std::string& inner) {
  std::string value;
  for (size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] == '\\' && i + 1 < inner.size() && inner[i + 1] == '\\') {
      value += '\\';
      ++i;
    } else if (inner[i] == '\\' && i + 3 < inner.size() && inner[i + 1] == 'x' &&
               hexValue(inner[i + 2]) >= 0 && hexValue(inner[i + 3]) >= 0) {
      value += static_cast<char>(hexValue(inner[i + 2]) * 16 + hexValue(inner[i + 3]));
      i += 3;
    } else {
      value += inner[i];
    }
  }
  return value;
}

}  // namespace

std::string cut(std::string value, size_t maxBytes, const text::LeadByteTest& isLead) {
  if (value.size() <= maxBytes) return value;
  size_t end = 0;
  while (true) {
    const size_t next = end + (isLead(static_cast<unsigned char>(value[end])) ? 2 : 1);
    if (next > maxBytes) break;
    end = next;
  }
  value.resize(end);
  return value;
}

std::string stored(const std::string& value, const text::LeadByteTest& isLead) {
  return readsBackUnchanged(value, isLead) ? value : escape(value);
}

std::string read(const text::ProfileText& file, text::ProfileUnitsView section,
                 text::ProfileUnitsView key, size_t maxBytes, const text::LeadByteTest& isLead) {
  const text::ProfileUnits* value = file.storedValue(section, key);
  if (value != nullptr && isEscaped(*value)) {
    return cut(unescape(text::encodeProfileText(value->substr(1, value->size() - 2))), maxBytes,
               isLead);
  }
  std::string plain = text::profileString(value, u"", maxBytes + 1);
  // The reader leaves NULs where a character did not fit whole.
  return cut(plain.substr(0, plain.find('\0')), maxBytes, isLead);
}

}  // namespace rule_text
