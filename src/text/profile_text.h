// The text of a private-profile (INI) file, read and changed the way the profile functions
// (GetPrivateProfileIntA, GetPrivateProfileStringA, WritePrivateProfileStringA) do it.
//
// The functions re-read and re-parse the whole file on every call; this parses it once, so
// that a reader of many keys takes time linear in the file's size. The simulated desktop's
// profile functions are built on it too: there is one copy of these rules, checked byte for
// byte against the real functions under Wine 8 with code page 932.
//
// Text is handled as the functions handle it after converting from the ANSI code page: one
// unit per character. A single byte b is the unit b; a lead byte with its trail byte is the
// unit (lead << 8) | trail. Trail bytes are those of code page 932; a character that cannot
// be converted reads as 0x81 0x45, code page 932's replacement character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/mbcs.h"

namespace text {

using ProfileUnits = std::u16string;
using ProfileUnitsView = std::u16string_view;

// Plain ASCII (section and key names, numbers) as profile units.
inline ProfileUnits asciiUnits(std::string_view ascii) {
  return ProfileUnits(ascii.begin(), ascii.end());
}

// Bytes to units: a lead byte takes whatever byte follows but a NUL; the pair is one
// replacement character when that byte cannot be a trail byte, and so is a lone lead byte.
ProfileUnits decodeProfileText(std::string_view bytes, const LeadByteTest& isLead);
std::string encodeProfileText(ProfileUnitsView units);

class ProfileText {
 public:
  ProfileText(std::string_view bytes, LeadByteTest isLead);

  ProfileUnits decode(std::string_view bytes) const { return decodeProfileText(bytes, isLead_); }

  // The value of `key` in `section` as stored: blanks around it gone, quotes kept. Null when
  // the section, the key or its '=' is missing. Names are trimmed and match in any ASCII case;
  // of two sections or keys with one name, the first counts.
  const ProfileUnits* storedValue(ProfileUnitsView section, ProfileUnitsView key) const;
  bool hasSection(ProfileUnitsView section) const;

  // Index of the section that lookups of `section` find; nullopt when there is none.
  std::optional<size_t> sectionIndex(ProfileUnitsView section) const;
  size_t sectionCount() const { return sections_.size(); }
  // Section 0 holds the lines before the first header; it is always there, maybe empty.
  const ProfileUnits& sectionName(size_t index) const { return sections_[index].name; }
  bool sectionIsEmpty(size_t index) const { return sections_[index].entries.empty(); }

  // WritePrivateProfileStringA with a value: false when the key already holds exactly it.
  bool setValue(ProfileUnitsView section, ProfileUnitsView key, ProfileUnitsView value);
  // The file as the functions rewrite it: CRLF line ends, no blank lines.
  std::string bytes() const;

 private:
  struct Entry {
    ProfileUnits name;
    std::optional<ProfileUnits> value;  // none: a line without '='
  };
  struct Section {
    ProfileUnits name;  // empty for the lines before the first header, and for "[]"
    std::vector<Entry> entries;
  };

  void addLine(ProfileUnitsView line);
  Section* findSection(ProfileUnitsView name);
  const Section* findSection(ProfileUnitsView name) const;
  Section& addSection(ProfileUnits name);

  LeadByteTest isLead_;
  std::vector<Section> sections_;
  std::unordered_map<ProfileUnits, size_t> firstSection_;  // folded name -> index
};

// What GetPrivateProfileIntA gives for a stored value (null: missing).
uint32_t profileInt(const ProfileUnits* stored, int32_t defaultValue);

// The bytes GetPrivateProfileStringA leaves in a zeroed buffer of `size` bytes (at least 1)
// for a stored value, or for the default when `stored` is null. When the text does not fit,
// the whole characters that fit are kept and the rest up to size - 1 stays NUL.
std::string profileString(const ProfileUnits* stored, ProfileUnitsView defaultValue, size_t size);

}  // namespace text
