#include "text/mbcs.h"

#include <gtest/gtest.h>

#include "platform/sim/cp932.h"

namespace {

// "表" is 0x95 0x5C in code page 932: its trail byte is a backslash.
const std::string kHyo = "\x95\x5c";

}  // namespace

TEST(Mbcs, LastBackslashSkipsTrailBytes) {
  EXPECT_EQ(text::findLastChar("C:\\" + kHyo, '\\', sim::isCp932LeadByte), 2u);
  EXPECT_EQ(text::findLastChar("C:\\dir\\" + kHyo + "x.exe", '\\', sim::isCp932LeadByte), 6u);
  EXPECT_EQ(text::findLastChar(kHyo + kHyo, '\\', sim::isCp932LeadByte), std::string::npos);
  EXPECT_EQ(text::findLastChar("ZENTA.exe", '\\', sim::isCp932LeadByte), std::string::npos);
  // A lead byte at the very end has no trail byte and is a character of its own.
  EXPECT_EQ(text::findLastChar("a\\\x95", '\\', sim::isCp932LeadByte), 1u);
}

TEST(Mbcs, PartNeverMatchesFromATrailByte) {
  // The title "表示" (0x95 0x5C 0x8E 0xA6) contains the byte 0x5C only as a trail byte.
  const std::string title = kHyo + "\x8e\xa6";
  EXPECT_EQ(text::findPart(title, "\\", sim::isCp932LeadByte), std::string::npos);
  // "\x5c\x8e" would match at byte 1, which is inside a character.
  EXPECT_EQ(text::findPart(title, "\x5c\x8e", sim::isCp932LeadByte), std::string::npos);
  EXPECT_EQ(text::findPart(title, "\x8e\xa6", sim::isCp932LeadByte), 2u);
  // A part whose first byte equals the title's lead byte, found after a false start.
  EXPECT_EQ(text::findPart("\x95\x5c\x95\x41", "\x95\x41", sim::isCp932LeadByte), 2u);
}

TEST(Mbcs, EmptyAndOversizedParts) {
  EXPECT_EQ(text::findPart("abc", "", sim::isCp932LeadByte), 0u);
  EXPECT_EQ(text::findPart("", "", sim::isCp932LeadByte), 0u);
  EXPECT_EQ(text::findPart("ab", "abc", sim::isCp932LeadByte), std::string::npos);
  EXPECT_EQ(text::findPart("xxabc", "abc", sim::isCp932LeadByte), 2u);
}
