#include "text/mbcs.h"

#include <gtest/gtest.h>

namespace {

bool cp932Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// "表" is 0x95 0x5C in code page 932: its trail byte is a backslash.
const std::string kHyo = "\x95\x5c";

}  // namespace

TEST(Mbcs, LastBackslashSkipsTrailBytes) {
  EXPECT_EQ(text::findLastChar("C:\\" + kHyo, '\\', cp932Lead), 2u);
  EXPECT_EQ(text::findLastChar("C:\\dir\\" + kHyo + "x.exe", '\\', cp932Lead), 6u);
  EXPECT_EQ(text::findLastChar(kHyo + kHyo, '\\', cp932Lead), std::string::npos);
  EXPECT_EQ(text::findLastChar("ZENTA.exe", '\\', cp932Lead), std::string::npos);
  // A lead byte at the very end has no trail byte and is a character of its own.
  EXPECT_EQ(text::findLastChar("a\\\x95", '\\', cp932Lead), 1u);
}

TEST(Mbcs, PartNeverMatchesFromATrailByte) {
  // The title "表示" (0x95 0x5C 0x8E 0xA6) contains the byte 0x5C only as a trail byte.
  const std::string title = kHyo + "\x8e\xa6";
  EXPECT_EQ(text::findPart(title, "\\", cp932Lead), std::string::npos);
  // "\x5c\x8e" would match at byte 1, which is inside a character.
  EXPECT_EQ(text::findPart(title, "\x5c\x8e", cp932Lead), std::string::npos);
  EXPECT_EQ(text::findPart(title, "\x8e\xa6", cp932Lead), 2u);
  // A part whose first byte equals the title's lead byte, found after a false start.
  EXPECT_EQ(text::findPart("\x95\x5c\x95\x41", "\x95\x41", cp932Lead), 2u);
}

TEST(Mbcs, EmptyAndOversizedParts) {
  EXPECT_EQ(text::findPart("abc", "", cp932Lead), 0u);
  EXPECT_EQ(text::findPart("", "", cp932Lead), 0u);
  EXPECT_EQ(text::findPart("ab", "abc", cp932Lead), std::string::npos);
  EXPECT_EQ(text::findPart("xxabc", "abc", cp932Lead), 2u);
}
