#include "text/profile_text.h"

#include <algorithm>

namespace text {

namespace {

constexpr size_t kIntegerBuffer = 30;  // integers are read through a 30-character buffer

// The replacement character, 0x81 0x45 in code page 932.
constexpr char16_t kUnconvertible = 0x8145;

bool isTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

size_t byteLength(char16_t unit) {
  return unit > 0xFF ? 2 : 1;
}

void appendBytes(std::string& bytes, char16_t unit) {
  if (unit > 0xFF) bytes += static_cast<char>(unit >> 8);
  bytes += static_cast<char>(unit & 0xFF);
}

// The blanks that names and values lose; not the ideographic space (0x81 0x40).
bool isBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' ||
         c == 0x1A;
}

bool isLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n';
}

ProfileUnitsView trimLeft(ProfileUnitsView text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

ProfileUnitsView trimRight(ProfileUnitsView text) {
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

ProfileUnitsView trim(ProfileUnitsView text) {
  return trimRight(trimLeft(text));
}

// Names and values end at a NUL byte in the file, as C strings do.
ProfileUnits beforeNul(ProfileUnitsView text) {
  return ProfileUnits(text.substr(0, text.find(u'\0')));
}

// Only ASCII letters fold; full-width, Greek and Cyrillic ones don't.
char16_t foldCase(char16_t c) {
  return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

ProfileUnits folded(ProfileUnitsView name) {
  ProfileUnits result(name);
  std::transform(result.begin(), result.end(), result.begin(), foldCase);
  return result;
}

bool sameName(ProfileUnitsView a, ProfileUnitsView b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return foldCase(x) == foldCase(y); });
}

// What of a stored value fits a buffer of `size` characters, outer quotes taken off. In a
// buffer that fits the unquoted text exactly, the text loses its last character.
ProfileUnits clipValue(ProfileUnitsView value, size_t size) {
  const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                      value.back() == value.front();
  if (quoted) value.remove_prefix(1);
  ProfileUnits clipped(value.substr(0, size - 1));
  if (quoted && size >= value.size() && !clipped.empty()) clipped.pop_back();
  return clipped;
}

// A default loses trailing spaces (not tabs), but never its first character; then it is
// clipped like a stored value, quotes and all.
ProfileUnits clipDefault(ProfileUnitsView fallback, size_t size) {
  size_t end = fallback.size();
  while (end > 1 && fallback[end - 1] == u' ') --end;
  return clipValue(fallback.substr(0, end), size);
}

std::string fillBuffer(ProfileUnitsView text, size_t size) {
  std::string bytes = encodeProfileText(text);
  if (bytes.size() < size) return bytes;
  std::string kept;
  for (char16_t unit : text) {
    if (kept.size() + byteLength(unit) > size - 1) break;
    appendBytes(kept, unit);
  }
  kept.resize(size - 1, '\0');
  return kept;
}

uint32_t digitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return 36;
}

// Control characters and blanks skipped, one sign, then "0x", "0o" or "0b" (lower case only)
// choose the base; digits up to the first that does not belong to it; wraps modulo 2^32.
uint32_t parseInteger(ProfileUnitsView text) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] <= u' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
    negative = text[pos++] == u'-';
  }
  uint32_t base = 10;
  if (pos + 1 < text.size() && text[pos] == u'0') {
    const char16_t prefix = text[pos + 1];
    base = prefix == u'x' ? 16 : prefix == u'o' ? 8 : prefix == u'b' ? 2 : 10;
    if (base != 10) pos += 2;
  }
  uint32_t total = 0;
  for (; pos < text.size() && digitValue(text[pos]) < base; ++pos) {
    total = total * base + digitValue(text[pos]);
  }
  return negative ? 0u - total : total;
}

}  // namespace

ProfileUnits decodeProfileText(std::string_view bytes, const LeadByteTest& isLead) {
  ProfileUnits text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (!isLead(byte)) {
      text += static_cast<char16_t>(byte);
    } else if (i + 1 == bytes.size() || bytes[i + 1] == '\0') {
      text += kUnconvertible;
    } else {
      const auto trail = static_cast<unsigned char>(bytes[++i]);
      text += isTrailByte(trail) ? static_cast<char16_t>(byte << 8 | trail) : kUnconvertible;
    }
  }
  return text;
}

std::string encodeProfileText(ProfileUnitsView units) {
  std::string bytes;
  bytes.reserve(units.size());
  for (char16_t unit : units) appendBytes(bytes, unit);
  return bytes;
}

ProfileText::ProfileText(std::string_view bytes, LeadByteTest isLead) : isLead_(std::move(isLead)) {
  addSection({});
  const ProfileUnits text = decode(bytes);
  const ProfileUnitsView view(text);
  size_t pos = 0;
  while (pos < view.size()) {
    const size_t start = pos;
    while (pos < view.size() && !isLineEnd(view[pos])) ++pos;
    const ProfileUnitsView line = view.substr(start, pos - start);
    while (pos < view.size() && isLineEnd(view[pos])) ++pos;
    addLine(trim(line));
  }
}

void ProfileText::addLine(ProfileUnitsView line) {
  if (line.empty()) return;
  if (line.front() == u'[') {
    const size_t close = line.rfind(u']');
    if (close != ProfileUnitsView::npos) {  // whatever follows the last ']' is ignored
      addSection(beforeNul(trim(line.substr(1, close - 1))));
      return;
    }
  }
  const size_t equals = line.find(u'=');
  const ProfileUnitsView name = trimRight(line.substr(0, equals));
  std::vector<Entry>& entries = sections_.back().entries;
  // A nameless line right after another nameless one is dropped.
  if (name.empty() && !entries.empty() && entries.back().name.empty()) return;
  Entry entry{beforeNul(name), std::nullopt};
  if (equals != ProfileUnitsView::npos) entry.value = beforeNul(trimLeft(line.substr(equals + 1)));
  entries.push_back(std::move(entry));
}

ProfileText::Section& ProfileText::addSection(ProfileUnits name) {
  firstSection_.try_emplace(folded(name), sections_.size());
  return sections_.emplace_back(Section{std::move(name), {}});
}

std::optional<size_t> ProfileText::sectionIndex(ProfileUnitsView name) const {
  const auto found = firstSection_.find(folded(trim(name)));
  if (found == firstSection_.end()) return std::nullopt;
  return found->second;
}

ProfileText::Section* ProfileText::findSection(ProfileUnitsView name) {
  const std::optional<size_t> index = sectionIndex(name);
  return index ? &sections_[*index] : nullptr;
}

const ProfileText::Section* ProfileText::findSection(ProfileUnitsView name) const {
  const std::optional<size_t> index = sectionIndex(name);
  return index ? &sections_[*index] : nullptr;
}

bool ProfileText::hasSection(ProfileUnitsView section) const {
  return findSection(section) != nullptr;
}

const ProfileUnits* ProfileText::storedValue(ProfileUnitsView section, ProfileUnitsView key) const {
  const Section* found = findSection(section);
  if (found == nullptr) return nullptr;
  const ProfileUnitsView name = trim(key);
  for (const Entry& entry : found->entries) {
    if (sameName(entry.name, name)) return entry.value ? &*entry.value : nullptr;
  }
  return nullptr;
}

// A new section, a new key and the value lose leading blanks only; trailing ones go when the
// file is next read.
bool ProfileText::setValue(ProfileUnitsView section, ProfileUnitsView key, ProfileUnitsView value) {
  Section* target = findSection(section);
  if (target == nullptr) target = &addSection(ProfileUnits(trimLeft(section)));
  const ProfileUnitsView keyName = trim(key);
  Entry* entry = nullptr;
  for (Entry& candidate : target->entries) {
    if (sameName(candidate.name, keyName)) {
      entry = &candidate;
      break;
    }
  }
  if (entry == nullptr) {
    entry = &target->entries.emplace_back(Entry{ProfileUnits(trimLeft(key)), std::nullopt});
  }
  const ProfileUnits newValue(trimLeft(value));
  if (entry->value == newValue) return false;
  entry->value = newValue;
  return true;
}

std::string ProfileText::bytes() const {
  ProfileUnits text;
  for (const Section& section : sections_) {
    if (!section.name.empty()) text += u"[" + section.name + u"]\r\n";
    for (const Entry& entry : section.entries) {
      text += entry.name;
      if (entry.value) text += u"=" + *entry.value;
      text += u"\r\n";
    }
  }
  return encodeProfileText(text);
}

uint32_t profileInt(const ProfileUnits* stored, int32_t defaultValue) {
  const ProfileUnits text = stored ? clipValue(*stored, kIntegerBuffer) : ProfileUnits();
  // "k=" gives the default, "k=abc" gives 0.
  return text.empty() ? static_cast<uint32_t>(defaultValue) : parseInteger(text);
}

std::string profileString(const ProfileUnits* stored, ProfileUnitsView defaultValue, size_t size) {
  return fillBuffer(stored ? clipValue(*stored, size) : clipDefault(defaultValue, size), size);
}

}  // namespace text
