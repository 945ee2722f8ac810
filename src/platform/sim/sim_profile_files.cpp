#include "platform/sim/cp932.h"
#include "platform/sim/sim_profile_files.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace sim {

namespace {

// Text the way Wine handles it after converting from code page 932: one unit per character.
// A single byte b is the unit b; a lead byte with its trail byte is (lead << 8) | trail.
using Text = std::u16string;
using TextView = std::u16string_view;

constexpr size_t kArgumentLimit = 32767;  // characters; Wine fails from here on
constexpr size_t kIntegerBuffer = 30;     // Wine reads integers through a 30-character buffer


bool isTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// What Wine puts for a character it cannot convert: U+30FB, 0x81 0x45 in code page 932.
constexpr char16_t kUnconvertible = 0x8145;

// Measured under Wine 8: a lead byte takes whatever byte follows (CR, LF and '=' too) but a
// NUL; the pair stands for one unconvertible character when that byte cannot be a trail byte,
// and so does a lead byte on its own.
Text decode(std::string_view bytes) {
  Text text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (!isCp932LeadByte(byte)) {
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

size_t byteLength(char16_t unit) {
  return unit > 0xFF ? 2 : 1;
}

void appendBytes(std::string& bytes, char16_t unit) {
  if (unit > 0xFF) bytes += static_cast<char>(unit >> 8);
  bytes += static_cast<char>(unit & 0xFF);
}

std::string encode(TextView text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (char16_t unit : text) appendBytes(bytes, unit);
  return bytes;
}

// Measured under Wine 8: an argument that ends in a lone lead byte loses it (in a file it
// stands for an unconvertible character).
std::string_view withoutLoneLeadByte(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (!isCp932LeadByte(static_cast<unsigned char>(bytes[i]))) continue;
    if (i + 1 == bytes.size()) return bytes.substr(0, i);
    ++i;
  }
  return bytes;
}

// An argument as the Win32 adapter hands it over: the bytes before the first NUL.
Text argument(const std::string& value) {
  Text text = decode(withoutLoneLeadByte(value.c_str()));
  if (text.size() >= kArgumentLimit) {
    throw std::length_error("profile argument of 32767 characters or more");
  }
  return text;
}

// Measured under Wine 8: the blanks that names and values lose. Not U+3000 (0x81 0x40).
bool isBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' ||
         c == 0x1A;
}

bool isLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n';
}

TextView trimLeft(TextView text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

TextView trimRight(TextView text) {
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

TextView trim(TextView text) {
  return trimRight(trimLeft(text));
}

// Names and values end at a NUL byte in the file, as C strings do.
Text beforeNul(TextView text) {
  return Text(text.substr(0, text.find(u'\0')));
}

// Measured under Wine 8: only ASCII letters fold; full-width, Greek and Cyrillic ones don't.
char16_t foldCase(char16_t c) {
  return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

bool sameName(TextView a, TextView b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return foldCase(x) == foldCase(y); });
}

struct Entry {
  Text name;
  std::optional<Text> value;  // none: a line without '='
};

struct Section {
  Text name;  // empty for the lines before the first header, and for "[]"
  std::vector<Entry> entries;
};

// The first section holds the lines before the first header; it is always there.
using Profile = std::vector<Section>;

void addLine(Profile& profile, TextView line) {
  if (line.empty()) return;
  if (line.front() == u'[') {
    const size_t close = line.rfind(u']');
    if (close != TextView::npos) {  // whatever follows the last ']' is ignored
      profile.push_back(Section{beforeNul(trim(line.substr(1, close - 1))), {}});
      return;
    }
  }
  const size_t equals = line.find(u'=');
  const TextView name = trimRight(line.substr(0, equals));
  std::vector<Entry>& entries = profile.back().entries;
  // Measured under Wine 8: a nameless line right after another nameless one is dropped.
  if (name.empty() && !entries.empty() && entries.back().name.empty()) return;
  Entry entry{beforeNul(name), std::nullopt};
  if (equals != TextView::npos) entry.value = beforeNul(trimLeft(line.substr(equals + 1)));
  entries.push_back(std::move(entry));
}

Profile parse(TextView text) {
  Profile profile(1);
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    while (pos < text.size() && !isLineEnd(text[pos])) ++pos;
    const TextView line = text.substr(start, pos - start);
    while (pos < text.size() && isLineEnd(text[pos])) ++pos;
    addLine(profile, trim(line));
  }
  return profile;
}

std::string serialise(const Profile& profile) {
  Text text;
  for (const Section& section : profile) {
    if (!section.name.empty()) text += u"[" + section.name + u"]\r\n";
    for (const Entry& entry : section.entries) {
      text += entry.name;
      if (entry.value) text += u"=" + *entry.value;
      text += u"\r\n";
    }
  }
  return encode(text);
}

Section* findSection(Profile& profile, TextView name) {
  for (Section& section : profile) {
    if (sameName(section.name, name)) return &section;
  }
  return nullptr;
}

Entry* findEntry(Section& section, TextView name) {
  for (Entry& entry : section.entries) {
    if (sameName(entry.name, name)) return &entry;
  }
  return nullptr;
}

// False when the key already holds exactly this value. Measured under Wine 8: a new section,
// a new key and the value lose leading blanks only; trailing ones go when the file is next read.
bool setValue(Profile& profile, TextView section, TextView key, TextView value) {
  Section* target = findSection(profile, trim(section));
  if (!target) target = &profile.emplace_back(Section{Text(trimLeft(section)), {}});
  Entry* entry = findEntry(*target, trim(key));
  if (!entry) entry = &target->entries.emplace_back(Entry{Text(trimLeft(key)), std::nullopt});
  const Text newValue(trimLeft(value));
  if (entry->value == newValue) return false;
  entry->value = newValue;
  return true;
}

// Nullopt when there is no regular file to read: missing, a folder, a device.
std::optional<std::string> readBytes(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return std::move(bytes).str();
}

bool writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

// The value of `key` in `section`; nullopt when the file, the section, the key or its '=' is
// missing.
std::optional<Text> findValue(const std::optional<std::filesystem::path>& file, TextView section,
                              TextView key) {
  const std::optional<std::string> bytes = file ? readBytes(*file) : std::nullopt;
  if (!bytes) return std::nullopt;
  Profile profile = parse(decode(*bytes));
  Section* found = findSection(profile, trim(section));
  Entry* entry = found ? findEntry(*found, trim(key)) : nullptr;
  return entry ? entry->value : std::nullopt;
}

// What of a stored value fits a buffer of `size` characters, outer quotes taken off.
// Measured under Wine 8: in a buffer that fits the unquoted text exactly, the text loses its
// last character: "abc" in a buffer of 4 gives ab.
Text clipValue(TextView value, size_t size) {
  const bool quoted = value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
                      value.back() == value.front();
  if (quoted) value.remove_prefix(1);
  Text clipped(value.substr(0, size - 1));
  if (quoted && size >= value.size() && !clipped.empty()) clipped.pop_back();
  return clipped;
}

// Measured under Wine 8: trailing spaces (not tabs) come off, but never the first character;
// then the default is clipped like a stored value, quotes and all.
Text clipDefault(TextView fallback, size_t size) {
  size_t end = fallback.size();
  while (end > 1 && fallback[end - 1] == u' ') --end;
  return clipValue(fallback.substr(0, end), size);
}

// The bytes the adapter returns from its zeroed buffer of `size` bytes. Measured under Wine 8:
// when the text has more bytes than fit, the whole characters that fit are kept, the bytes
// after them are left alone and the length reported is still size - 1.
std::string fillBuffer(TextView text, size_t size) {
  std::string bytes = encode(text);
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

// Measured under Wine 8: control characters and blanks skipped, one sign, then "0x", "0o" or
// "0b" (lower case only) choose the base; digits up to the first that does not belong to it;
// the total wraps modulo 2^32.
uint32_t parseInteger(TextView text) {
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

bool isSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

// Measured under Wine 8: names with these characters fail.
bool isValidFileName(TextView name) {
  if (name.empty() || isSeparator(name.back())) return false;
  return std::none_of(name.begin(), name.end(), [](char16_t c) {
    return c < u' ' || TextView(u"<>\"|?*").find(c) != TextView::npos;
  });
}

// A name without any folder ("a.ini") lives in the Windows folder; "C:a.ini" does not.
bool isBareName(TextView name) {
  return std::none_of(name.begin(), name.end(), isSeparator) &&
         !(name.size() >= 2 && name[1] == u':');
}

}  // namespace

SimProfileFiles::SimProfileFiles(SimFileSystem& fs) : fs_(fs) {}

std::optional<std::filesystem::path> SimProfileFiles::hostFile(const std::string& file) const {
  const std::string name = file.c_str();
  const Text units = decode(name);
  if (!isValidFileName(units)) return std::nullopt;
  return fs_.hostPath(isBareName(units) ? std::string(kWindowsDirectory) + "\\" + name : name);
}

uint32_t SimProfileFiles::getInt(const std::string& section, const std::string& key,
                                 int32_t defaultValue, const std::string& file) {
  const std::optional<Text> value = findValue(hostFile(file), argument(section), argument(key));
  const Text text = value ? clipValue(*value, kIntegerBuffer) : Text();
  // "k=" gives the default, "k=abc" gives 0.
  return text.empty() ? static_cast<uint32_t>(defaultValue) : parseInteger(text);
}

std::string SimProfileFiles::getString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, size_t bufferSize,
                                       const std::string& file) {
  if (bufferSize == 0) return {};  // the adapter does not call Windows then
  const Text fallback = argument(defaultValue);
  const std::optional<Text> value = findValue(hostFile(file), argument(section), argument(key));
  return fillBuffer(value ? clipValue(*value, bufferSize) : clipDefault(fallback, bufferSize),
                    bufferSize);
}

bool SimProfileFiles::writeString(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file) {
  const Text sectionName = argument(section);
  const Text keyName = argument(key);
  const Text newValue = argument(value);
  const std::optional<std::filesystem::path> path = hostFile(file);
  if (!path) return false;
  std::error_code error;
  std::string bytes;
  if (std::filesystem::exists(*path, error)) {
    std::optional<std::string> existing = readBytes(*path);
    if (!existing) return false;  // a folder, or a file that cannot be read
    bytes = std::move(*existing);
  }
  Profile profile = parse(decode(bytes));
  if (!setValue(profile, sectionName, keyName, newValue)) return true;  // file left untouched
  if (path->parent_path() == fs_.hostPath(kWindowsDirectory)) {
    fs_.makeDirectory(kWindowsDirectory);  // always there on Windows
  }
  return writeBytes(*path, serialise(profile));
}

}  // namespace sim
