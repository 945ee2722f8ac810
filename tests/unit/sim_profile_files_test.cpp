// The simulated profile files against the profile functions under Wine 8 (code page 932): the
// expected results were measured there with the same files and calls, except where a test
// says otherwise.
#include "platform/sim/sim_profile_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;

using sim::SimFileSystem;
using sim::SimProfileFiles;

const std::string kFolder = "C:\\Programs\\Quillmoor";
const std::string kFile = kFolder + "\\QuillmoorForTundra.ini";

class SimProfileFilesTest : public ::testing::Test {
 protected:
  SimProfileFilesTest() { fs.makeDirectory(kFolder); }

  void put(const std::string& bytes) { fs.writeFile(kFile, bytes); }
  std::string contents() const { return fs.readFile(kFile).value_or("<no file>"); }

  std::string read(const std::string& section, const std::string& key, size_t size = 260) {
    return profile.getString(section, key, "DEF", size, kFile);
  }
  uint32_t readInt(const std::string& section, const std::string& key, int32_t fallback = 99) {
    return profile.getInt(section, key, fallback, kFile);
  }
  bool write(const std::string& section, const std::string& key, const std::string& value) {
    return profile.writeString(section, key, value, kFile);
  }

  SimFileSystem fs;
  SimProfileFiles profile{fs};
};

// --- Reading ---

TEST_F(SimProfileFilesTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(read("s", "k"), "DEF");
  EXPECT_EQ(readInt("s", "k", -7), static_cast<uint32_t>(-7));
  EXPECT_FALSE(fs.exists(kFile));  // reading creates nothing

  put("[s]\r\nk=1\r\n");
  EXPECT_EQ(read("t", "k"), "DEF");
  EXPECT_EQ(read("s", "j"), "DEF");
  EXPECT_EQ(readInt("t", "k", 5), 5u);
  EXPECT_EQ(readInt("s", "j", 5), 5u);
}

TEST_F(SimProfileFilesTest, DefaultLosesTrailingSpacesAndOuterQuotes) {
  auto fallback = [&](const std::string& value, size_t size = 260) {
    return profile.getString("s", "k", value, size, kFile);
  };
  EXPECT_EQ(fallback("  def  "), "  def");
  EXPECT_EQ(fallback("d \t "), "d \t");
  EXPECT_EQ(fallback("   "), " ");  // measured under Wine 8: the first space stays
  EXPECT_EQ(fallback(""), "");
  EXPECT_EQ(fallback("abcdef", 4), "abc");
  EXPECT_EQ(fallback("abcdef", 1), "");
  EXPECT_EQ(fallback("abcdef", 0), "");
  // Measured under Wine 8: a default is unquoted like a stored value, once its spaces are off.
  EXPECT_EQ(fallback("\"q\"  "), "q");
  EXPECT_EQ(fallback("\" q \""), " q ");
  EXPECT_EQ(fallback("\"q\" \t"), "\"q\" \t");
  EXPECT_EQ(fallback("  \"q\""), "  \"q\"");
  EXPECT_EQ(fallback("\"abc\"", 4), "ab");
}

TEST_F(SimProfileFilesTest, NamesAreTrimmedAndFoldOnlyAsciiCase) {
  put("[Sec]\r\n  Key One  =  \t value with  blanks \t \r\n"
      "\x0bkv\x0c=2\r\n"
      "   [ Other ]  trailing\r\nx=1\r\n"
      "[\x82\x60]\r\nk=fullwidth\r\n"
      "[\x83\x41]\r\nk=katakana\r\n");
  EXPECT_EQ(read("sec", "key one"), "value with  blanks");
  EXPECT_EQ(read(" SEC ", "\tKEY ONE\t"), "value with  blanks");
  EXPECT_EQ(read("sec", "kv"), "2");
  EXPECT_EQ(read("other", "x"), "1");
  // Full-width A (0x82 0x60) does not match full-width a (0x82 0x81).
  EXPECT_EQ(read("\x82\x81", "k"), "DEF");
  EXPECT_EQ(read("\x82\x60", "k"), "fullwidth");
  // 0x83 0x41 and 0x83 0x61 are different katakana: their trail bytes must not fold.
  EXPECT_EQ(read("\x83\x61", "k"), "DEF");
  EXPECT_EQ(read("\x83\x41", "k"), "katakana");
}

TEST_F(SimProfileFilesTest, ValuesLoseBlanksAndMatchingOuterQuotes) {
  put("[s]\r\n"
      "q1=\"  quoted  \"\r\nq2='x'\r\nq3=\"unmatched\r\nq4=\"\r\nq5=\"\"\r\nq6='\"\r\n"
      "q7=\"a\"b\"\r\n"
      "b1=\x0bx\x0b\r\nb2=\x0cx\x0c\r\nb3=\x1ax\x1a\r\n"
      "b4=\x81\x40x\x81\x40\r\nb5=\x01x\x01\r\n");
  EXPECT_EQ(read("s", "q1"), "  quoted  ");
  EXPECT_EQ(read("s", "q2"), "x");
  EXPECT_EQ(read("s", "q3"), "\"unmatched");
  EXPECT_EQ(read("s", "q4"), "\"");
  EXPECT_EQ(read("s", "q5"), "");
  EXPECT_EQ(read("s", "q6"), "'\"");
  EXPECT_EQ(read("s", "q7"), "a\"b");
  EXPECT_EQ(read("s", "b1"), "x");
  EXPECT_EQ(read("s", "b2"), "x");
  EXPECT_EQ(read("s", "b3"), "x");                  // Ctrl-Z counts as a blank
  EXPECT_EQ(read("s", "b4"), "\x81\x40x\x81\x40");  // the ideographic space does not
  EXPECT_EQ(read("s", "b5"), "\x01x\x01");
}

TEST_F(SimProfileFilesTest, LinesHaveNoCommentsOrEscapes) {
  put("[s]\r\n;k=1\r\nv=v ; c\r\nnoeq\r\nempty=\r\neq=a=b\r\n=nameless\r\n");
  EXPECT_EQ(read("s", ";k"), "1");
  EXPECT_EQ(read("s", "v"), "v ; c");
  EXPECT_EQ(read("s", "noeq"), "DEF");
  EXPECT_EQ(read("s", "empty"), "");
  EXPECT_EQ(read("s", "eq"), "a=b");
  EXPECT_EQ(read("s", ""), "nameless");
}

TEST_F(SimProfileFilesTest, FirstOfDuplicateKeysAndSectionsWins) {
  put("[s]\r\ndup=first\r\ndup=second\r\nbare\r\nbare=later\r\n[S]\r\nonly=second section\r\n");
  EXPECT_EQ(read("s", "dup"), "first");
  EXPECT_EQ(read("s", "bare"), "DEF");  // the first "bare" has no '='
  EXPECT_EQ(read("s", "only"), "DEF");
}

TEST_F(SimProfileFilesTest, SectionHeaderForms) {
  put("[a]b]\r\ny=2\r\n"
      "[unclosed\r\nz=3\r\n"
      "[c]d=1\r\nw=4\r\n"
      "[x=5\r\n"
      "[t]  \x1a\r\nk=6\r\n");
  EXPECT_EQ(read("a]b", "y"), "2");  // the last ']' closes the name
  EXPECT_EQ(read("a", "y"), "DEF");
  EXPECT_EQ(read("unclosed", "z"), "DEF");  // not a header: z stays in [a]b]
  EXPECT_EQ(read("a]b", "z"), "3");
  EXPECT_EQ(read("c", "w"), "4");  // text after ']' is ignored
  EXPECT_EQ(read("c", "d"), "DEF");
  EXPECT_EQ(read("c", "[x"), "5");
  EXPECT_EQ(read("t", "k"), "6");
}

TEST_F(SimProfileFilesTest, KeysBeforeTheFirstHeaderBelongToTheNamelessSection) {
  put("top=1\r\n[s]\r\nk=2\r\n[]\r\nhidden=3\r\n");
  EXPECT_EQ(read("", "top"), "1");
  EXPECT_EQ(read("  ", "top"), "1");
  EXPECT_EQ(read("s", "top"), "DEF");
  // Measured under Wine 8: "[]" is a second nameless section, shadowed by the first.
  EXPECT_EQ(read("", "hidden"), "DEF");
}

TEST_F(SimProfileFilesTest, AllLineEndsRead) {
  put("[a]\rx=1\r\r\n[b]\ny=2\n\n[c]\r\nz=3");
  EXPECT_EQ(read("a", "x"), "1");
  EXPECT_EQ(read("b", "y"), "2");
  EXPECT_EQ(read("c", "z"), "3");
}

TEST_F(SimProfileFilesTest, ShiftJisTrailBytesAreNotDelimiters) {
  // 0x83 0x5D ends in ']', 0x95 0x5C ("hyo") in '\'.
  put("[\x83\x5d]\r\nk=6\r\n\x95\x5c=7\r\n"
      "[a\x83\x5d\r\nk=8\r\n"
      "[b\x83\x5d]x\x83\x5d\r\nk=9\r\n");
  EXPECT_EQ(read("\x83\x5d", "k"), "6");
  EXPECT_EQ(read("\x83\x5d", "\x95\x5c"), "7");
  EXPECT_EQ(read("a", "k"), "DEF");  // no real ']' on the line: not a header
  EXPECT_EQ(read("\x83\x5d", "[a\x83\x5d"), "DEF");
  EXPECT_EQ(read("b\x83\x5d", "k"), "9");
}

TEST_F(SimProfileFilesTest, LeadByteTakesTheByteAfterIt) {
  // Measured under Wine 8: a lead byte swallows a following LF or '=' but not a NUL; a pair
  // that cannot be a character, and a lead byte left alone, read as 0x81 0x45.
  put("[s]\r\na=\x95\nb=2\r\nc\x95=3\r\nd=x\x95\r\ne=1\r\ny=\x95\0b\r\nz=\x95"s);
  const std::string unconvertible = "\x81\x45";
  EXPECT_EQ(read("s", "a"), unconvertible + "b=2");
  EXPECT_EQ(read("s", "b"), "DEF");
  EXPECT_EQ(read("s", "c"), "DEF");
  EXPECT_EQ(read("s", "d"), "x" + unconvertible);
  EXPECT_EQ(read("s", "e"), "1");
  EXPECT_EQ(read("s", "y"), unconvertible);
  EXPECT_EQ(read("s", "z"), unconvertible);
}

TEST_F(SimProfileFilesTest, NulBytesEndNamesAndValues) {
  put("[s]\r\nv1=\0x\r\nv2=x\0y\r\nk\0z=3\r\n[t\0u]\r\nq=4\r\n"s);
  EXPECT_EQ(read("s", "v1"), "");
  EXPECT_EQ(read("s", "v2"), "x");
  EXPECT_EQ(read("s", "k"), "3");
  EXPECT_EQ(read("t", "q"), "4");
}

TEST_F(SimProfileFilesTest, FileIsReadAfreshOnEveryCall) {
  put("[s]\r\nk=1\r\n");
  EXPECT_EQ(read("s", "k"), "1");
  put("[s]\r\nk=2\r\n");
  EXPECT_EQ(read("s", "k"), "2");
  EXPECT_EQ(readInt("s", "k"), 2u);
  put("[s]\r\nk=1\r\n");
  EXPECT_TRUE(write("s", "j", "x"));
  EXPECT_EQ(contents(), "[s]\r\nk=1\r\nj=x\r\n");
}

// --- Buffer sizes ---

TEST_F(SimProfileFilesTest, ValueIsCutToTheBuffer) {
  put("[s]\r\nk=" + std::string(300, 'x') + "\r\nq=\"  quoted  \"\r\n");
  EXPECT_EQ(read("s", "k"), std::string(259, 'x'));
  EXPECT_EQ(read("s", "k", 1), "");
  EXPECT_EQ(read("s", "k", 0), "");
  EXPECT_EQ(read("s", "q", 4), "  q");
}

TEST_F(SimProfileFilesTest, QuotedValueLosesItsLastCharacterInABufferThatFitsItExactly) {
  put("[s]\r\nq=\"abc\"\r\nu=abc\r\n");
  const std::vector<std::pair<size_t, std::string>> quoted{
      {2, "a"}, {3, "ab"}, {4, "ab"}, {5, "abc"}, {6, "abc"}};  // 4: measured under Wine 8
  for (const auto& [size, expected] : quoted) EXPECT_EQ(read("s", "q", size), expected) << size;
  const std::vector<std::pair<size_t, std::string>> plain{
      {2, "a"}, {3, "ab"}, {4, "abc"}, {5, "abc"}};
  for (const auto& [size, expected] : plain) EXPECT_EQ(read("s", "u", size), expected) << size;
}

TEST_F(SimProfileFilesTest, DoubleByteCharacterCutByTheBufferEndLeavesNuls) {
  // Measured under Wine 8: the reported length stays size - 1 while the cut character's bytes
  // are left as they were in the (zeroed) buffer.
  const std::string hyo = "\x95\x5c";
  put("[s]\r\nk=a" + hyo + hyo + "b\r\n");
  const std::vector<std::pair<size_t, std::string>> cases{
      {1, ""},
      {2, "a"},
      {3, "a\0"s},
      {4, "a" + hyo},
      {5, "a" + hyo + "\0"s},
      {6, "a" + hyo + hyo},
      {7, "a" + hyo + hyo + "b"},
  };
  for (const auto& [size, expected] : cases) EXPECT_EQ(read("s", "k", size), expected) << size;
  EXPECT_EQ(profile.getString("s", "missing", "a" + hyo + hyo, 3, kFile), "a\0"s);
}

// --- Integers ---

TEST_F(SimProfileFilesTest, IntegerForms) {
  const std::vector<std::pair<std::string, uint32_t>> cases{
      {"12abc", 12},
      {"\" 7\"", 7},
      {"-3", static_cast<uint32_t>(-3)},
      {"+5", 5},
      {"\"42\"", 42},
      {"'12'", 12},
      {"\"12", 0},
      {"010", 10},
      {"019", 19},
      {"abc", 0},
      {"0x10", 16},
      {"0xAbC", 2748},
      {"0X1f", 0},
      {"0b101", 5},  // measured under Wine 8: binary and octal prefixes too
      {"0o17", 15},
      {"0B1", 0},
      {"0b2", 0},
      {"-0x10", static_cast<uint32_t>(-16)},
      {"- 5", 0},
      {"+-5", 0},
      {"-", 0},
      {"1e3", 1},
      {"12.5", 12},
      {"1 2", 1},
      {"\x82\x4f\x82\x50", 0},  // full-width digits
      {"\x1c"s + "5", 5},
      {"4294967295", 4294967295u},
      {"4294967296", 0},
      {"4294967297", 1},
      {"-2147483649", 2147483647u},
      {"0x123456789", 0x23456789u},
  };
  std::string file = "[s]\r\n";
  for (size_t i = 0; i < cases.size(); ++i) {
    file += "k" + std::to_string(i) + "=" + cases[i].first + "\r\n";
  }
  put(file);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(readInt("s", "k" + std::to_string(i)), cases[i].second) << cases[i].first;
  }
}

TEST_F(SimProfileFilesTest, IntegerIsReadThroughThirtyCharacters) {
  const std::string ones(29, '1');
  const std::string zeros(42, '0');
  put("[s]\r\nlong=12345678901234567890123456789012345678901234567890\r\n" + ("zeros=" + zeros) +
      "12\r\n" + ("ones=" + ones) + "\r\n" + ("quoted=\"" + ones) + "\"\r\n");
  EXPECT_EQ(readInt("s", "long"), 1849262357u);  // the first 29 digits, wrapped
  EXPECT_EQ(readInt("s", "zeros"), 0u);
  EXPECT_EQ(readInt("s", "ones"), 1729917383u);    // 29 ones
  EXPECT_EQ(readInt("s", "quoted"), 1461481927u);  // 28 ones: the quote costs one
}

TEST_F(SimProfileFilesTest, EmptyIntegerGivesTheDefault) {
  put("[s]\r\nempty=\r\nquotes=\"\"\r\nbare\r\n");
  EXPECT_EQ(readInt("s", "empty", -5), static_cast<uint32_t>(-5));
  EXPECT_EQ(readInt("s", "quotes"), 99u);
  EXPECT_EQ(readInt("s", "bare"), 99u);
}

// --- Writing ---

TEST_F(SimProfileFilesTest, WriteCreatesFileSectionsAndKeysInOrder) {
  EXPECT_TRUE(write("Sec", "Key", "Value"));
  EXPECT_EQ(contents(), "[Sec]\r\nKey=Value\r\n");
  EXPECT_TRUE(write("Other", "a", "1"));
  EXPECT_TRUE(write("sec", "Key2", "2"));
  EXPECT_TRUE(write("", "top", "0"));
  EXPECT_EQ(contents(), "top=0\r\n[Sec]\r\nKey=Value\r\nKey2=2\r\n[Other]\r\na=1\r\n");
  EXPECT_TRUE(write("Sec", "", "nameless"));
  EXPECT_TRUE(write("Sec", "k3", ""));
  EXPECT_EQ(read("Sec", ""), "nameless");
  EXPECT_EQ(contents(),
            "top=0\r\n[Sec]\r\nKey=Value\r\nKey2=2\r\n=nameless\r\nk3=\r\n[Other]\r\na=1\r\n");
}

TEST_F(SimProfileFilesTest, WriteFailsWithoutAFolderOrOntoAFolder) {
  EXPECT_FALSE(profile.writeString("s", "k", "v", "C:\\Missing\\a.ini"));
  EXPECT_FALSE(fs.exists("C:\\Missing"));

  fs.makeDirectory(kFile);
  EXPECT_FALSE(write("s", "k", "v"));
  EXPECT_EQ(read("s", "k"), "DEF");
  EXPECT_EQ(readInt("s", "k"), 99u);

  fs.writeFile(kFolder + "\\plain.ini", "[s]\r\n");
  EXPECT_FALSE(profile.writeString("s", "k", "v", kFolder + "\\plain.ini\\b.ini"));
  EXPECT_EQ(fs.readFile(kFolder + "\\plain.ini"), "[s]\r\n");
}

TEST_F(SimProfileFilesTest, IdenticalValueLeavesTheFileUntouched) {
  put("\n\n[s]\nk = v \n\n");
  EXPECT_TRUE(write("S", "K", "v"));
  EXPECT_TRUE(write("s", "k", "  v"));  // leading blanks of the value go before comparing
  EXPECT_EQ(contents(), "\n\n[s]\nk = v \n\n");

  put("[s]\r\nk=\r\n\r\n");
  EXPECT_TRUE(write("s", "k", ""));
  EXPECT_EQ(contents(), "[s]\r\nk=\r\n\r\n");

  put("[s]\nk=V\n");
  EXPECT_TRUE(write("s", "k", "v"));  // the comparison is case-sensitive
  EXPECT_EQ(contents(), "[s]\r\nk=v\r\n");
}

TEST_F(SimProfileFilesTest, AnyChangeRewritesTheWholeFile) {
  put("top=1\r\n noeqtop \r\n\r\n[]\r\nempty=1\r\n   [ Other ]  trailing\r\n"
      "  spaced key  =  spaced value  \r\nnoeq\r\n;comment\r\n;c2 = x\r\n"
      "[unclosed\r\n=v\r\n=w\r\n\t\r\nq=\"a\"\r\nnul\0x=1\r\nn2=a\0b\r\n"
      "[s\0t]\r\nx=1\r\n[other]\r\nlast=1\r\n"s);
  EXPECT_TRUE(write("other", "added", "2"));
  // Measured under Wine 8: "[]" loses its header, "=w" right after "=v" is dropped, names and
  // values end at the NUL.
  EXPECT_EQ(contents(),
            "top=1\r\nnoeqtop\r\nempty=1\r\n[Other]\r\nspaced key=spaced value\r\nnoeq\r\n"
            ";comment\r\n;c2=x\r\n[unclosed\r\n=v\r\nq=\"a\"\r\nnul=1\r\nn2=a\r\nadded=2\r\n"
            "[s]\r\nx=1\r\n[other]\r\nlast=1\r\n");
}

TEST_F(SimProfileFilesTest, ExistingKeyKeepsItsSpellingAndPlace) {
  put("[Sec]\r\nKey=1\r\n");
  EXPECT_TRUE(write("sec", "KEY", "2"));
  EXPECT_EQ(contents(), "[Sec]\r\nKey=2\r\n");

  put("[Dup]\r\na=1\r\na=2\r\n[dup]\r\nb=1\r\n");
  EXPECT_TRUE(write("DUP", "A", "9"));
  EXPECT_TRUE(write("dup", "b", "3"));
  EXPECT_EQ(contents(), "[Dup]\r\na=9\r\na=2\r\nb=3\r\n[dup]\r\nb=1\r\n");

  put("[A]\nx=1\n[B]\ny=2\n");
  EXPECT_TRUE(write("a", "z", "3"));
  EXPECT_EQ(contents(), "[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\n");

  put("[s]\r\nk\r\n");
  EXPECT_TRUE(write("s", "k", ""));  // a line without '=' gets one
  EXPECT_EQ(contents(), "[s]\r\nk=\r\n");
}

TEST_F(SimProfileFilesTest, NewNamesAndValueLoseOnlyLeadingBlanks) {
  EXPECT_TRUE(write(" S ", " K ", " V "));
  // Measured under Wine 8: the trailing blanks stay until the next rewrite.
  EXPECT_EQ(contents(), "[S ]\r\nK =V \r\n");
  EXPECT_EQ(read("s", "k"), "V");
  EXPECT_TRUE(write("S", "K2", "x"));
  EXPECT_EQ(contents(), "[S]\r\nK=V\r\nK2=x\r\n");

  EXPECT_TRUE(write("\x0bt\x0b", "\x1ak\x1a", "\t "));
  EXPECT_EQ(contents(), "[S]\r\nK=V\r\nK2=x\r\n[t\x0b]\r\nk\x1a=\r\n");
}

TEST_F(SimProfileFilesTest, NamelessLinesOnRewrite) {
  put("[A]\r\na=1\r\n[]\r\nb=2\r\n");
  EXPECT_TRUE(write("A", "c", "3"));
  EXPECT_EQ(contents(), "[A]\r\na=1\r\nc=3\r\nb=2\r\n");  // b joins [A] for good
  EXPECT_EQ(read("A", "b"), "2");

  put("[s]\r\n\0\r\n\0abc\r\n=\r\n=\0\r\nk=1\r\n"s);
  EXPECT_TRUE(write("s", "k", "2"));
  EXPECT_EQ(contents(), "[s]\r\n\r\n\r\nk=2\r\n");

  put("[s]\r\n=a\r\n=b\r\nx\r\n=c\r\n=d\r\ny=1\r\n");
  EXPECT_TRUE(write("s", "y", "2"));
  EXPECT_EQ(contents(), "[s]\r\n=a\r\nx\r\n=c\r\ny=2\r\n");
}

TEST_F(SimProfileFilesTest, NamesAndValuesAreWrittenRaw) {
  put("[s]\r\nk=old\r\n");
  EXPECT_TRUE(write("s", "k", "a\r\nb=c"));
  EXPECT_EQ(contents(), "[s]\r\nk=a\r\nb=c\r\n");
  EXPECT_EQ(read("s", "k"), "a");
  EXPECT_EQ(read("s", "b"), "c");

  EXPECT_TRUE(write("[x]", "a=b", "v"));
  EXPECT_EQ(contents(), "[s]\r\nk=a\r\nb=c\r\n[[x]]\r\na=b=v\r\n");
  EXPECT_EQ(read("[x]", "a"), "b=v");
}

TEST_F(SimProfileFilesTest, ShiftJisRoundTrips) {
  const std::string so = "\x83\x5c";  // trail byte '\'
  EXPECT_TRUE(write(so, "\x95\x5c", so + "\x83\x74\x83\x67"));
  EXPECT_EQ(read(so, "\x95\x5c"), so + "\x83\x74\x83\x67");
  EXPECT_EQ(contents(), "[" + so + "]\r\n\x95\x5c=" + so + "\x83\x74\x83\x67\r\n");
}

TEST_F(SimProfileFilesTest, LoneLeadByteAtTheEndOfAnArgumentIsDropped) {
  EXPECT_TRUE(write("s\x95", "k\x95", "x\x95"));
  EXPECT_EQ(contents(), "[s]\r\nk=x\r\n");
  EXPECT_EQ(read("s\x95", "k"), "x");
  EXPECT_EQ(profile.getString("s", "none", "d\x95", 260, kFile), "d");
}

// --- Garbage in the file ---

TEST_F(SimProfileFilesTest, BinaryFileReadsAndTakesANewSection) {
  std::string binary;
  for (int round = 0; round < 4; ++round) {
    for (int byte = 0; byte < 256; ++byte) binary += static_cast<char>(byte);
  }
  put(binary);
  EXPECT_EQ(read("s", "k"), "DEF");
  EXPECT_EQ(readInt("s", "k"), 99u);
  EXPECT_TRUE(write("s", "k", "v"));
  const std::string rewritten = contents();
  // The first line (0x00 to 0x09) has a name that ends at once: an empty line.
  EXPECT_EQ(rewritten.substr(0, 3), "\r\n\x0e");
  EXPECT_EQ(rewritten.substr(rewritten.size() - 12), "\r\n[s]\r\nk=v\r\n");
  EXPECT_EQ(read("s", "k"), "v");
}

TEST_F(SimProfileFilesTest, HugeFileIsReadWhole) {
  std::string file = "[s]\r\n";
  for (int i = 0; i < 100000; ++i) {
    file += "key" + std::to_string(i) + "=value" + std::to_string(i) + "\r\n";
  }
  put(file + "[end]\r\nlast=yes\r\n");
  EXPECT_EQ(read("end", "last"), "yes");
  EXPECT_EQ(read("s", "key99999"), "value99999");
  EXPECT_TRUE(write("end", "last", "no"));
  EXPECT_EQ(contents(), file + "[end]\r\nlast=no\r\n");
}

TEST_F(SimProfileFilesTest, VeryLongLinesStayWhole) {
  const std::string longValue(300000, 'x');
  const std::string longName(200000, 'j');
  put("[s]\r\nk=" + longValue + "\r\n" + longName + "=2\r\nm=3\r\n");
  EXPECT_EQ(read("s", "k"), std::string(259, 'x'));
  EXPECT_EQ(profile.getString("s", "k", "", 400000, kFile), longValue);
  EXPECT_EQ(readInt("s", "k", 7), 0u);
  EXPECT_EQ(read("s", "m"), "3");
  EXPECT_TRUE(write("s", "m", "4"));
  EXPECT_EQ(contents(), "[s]\r\nk=" + longValue + "\r\n" + longName + "=2\r\nm=4\r\n");
}

TEST_F(SimProfileFilesTest, BlankOnlyFilesCountAsEmpty) {
  put("\x1a");
  EXPECT_EQ(read("s", "k"), "DEF");
  EXPECT_TRUE(write("s", "k", "v"));
  EXPECT_EQ(contents(), "[s]\r\nk=v\r\n");

  put("  \t\r\n\x0b\x0c\r\n\r\n\r\r\r");
  EXPECT_TRUE(write("s", "k", "v"));
  EXPECT_EQ(contents(), "[s]\r\nk=v\r\n");
}

TEST_F(SimProfileFilesTest, DeviceInPlaceOfTheFileIsNeverOpened) {
  // Only the simulation can meet a FIFO; opening it would block for a writer that never comes.
  ASSERT_EQ(mkfifo(fs.hostPath(kFile).c_str(), 0600), 0);
  EXPECT_EQ(read("s", "k"), "DEF");
  EXPECT_EQ(readInt("s", "k"), 99u);
  EXPECT_FALSE(write("s", "k", "v"));
}

// --- File names ---

TEST_F(SimProfileFilesTest, BareNameLivesInTheWindowsFolder) {
  EXPECT_TRUE(profile.writeString("s", "k", "v", "bare.ini"));
  EXPECT_EQ(fs.readFile("C:\\Windows\\bare.ini"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(profile.getString("s", "k", "", 260, "bare.ini"), "v");

  ASSERT_TRUE(fs.setCurrentDirectory(kFolder));
  EXPECT_TRUE(profile.writeString("s", "k", "w", ".\\here.ini"));
  EXPECT_EQ(fs.readFile(kFolder + "\\here.ini"), "[s]\r\nk=w\r\n");
}

TEST_F(SimProfileFilesTest, NamesWindowsRejectsFail) {
  for (const std::string name : {"", "C:\\Programs\\", "a<.ini", "a>.ini", "a\".ini", "a|.ini",
                                 "a?.ini", "a*.ini", "a\x01.ini"}) {
    EXPECT_FALSE(profile.writeString("s", "k", "v", name)) << name;
    EXPECT_EQ(profile.getString("s", "k", "DEF", 260, name), "DEF") << name;
  }
}

TEST_F(SimProfileFilesTest, FolderNamesWithBackslashTrailBytes) {
  // "C:\<so><fu><to>\a.ini": the trail byte of "so" (0x83 0x5C) is not a separator.
  const std::string folder = "C:\\\x83\x5c\x83\x74\x83\x67";
  fs.makeDirectory(folder);
  EXPECT_TRUE(profile.writeString("s", "k", "v", folder + "\\a.ini"));
  EXPECT_EQ(fs.hostPath(folder + "\\a.ini"),
            fs.root() / "C" / "\x83\x5c\x83\x74\x83\x67" / "a.ini");
  EXPECT_EQ(profile.getString("s", "k", "", 260, folder + "\\a.ini"), "v");
}

// --- Arguments ---

TEST_F(SimProfileFilesTest, ArgumentsEndAtANul) {
  // The Win32 adapter passes c_str().
  EXPECT_TRUE(write("s\0x"s, "k\0y"s, "v\0w"s));
  EXPECT_EQ(contents(), "[s]\r\nk=v\r\n");
  EXPECT_EQ(profile.getString("s", "none", "d\0e"s, 260, kFile), "d");
}

TEST_F(SimProfileFilesTest, ArgumentsOf32767CharactersThrow) {
  // Measured under Wine 8: from this length on, the call crashes or garbles the file; the
  // simulation throws instead.
  const std::string fits(32766, 'y');
  const std::string tooLong(32767, 'y');
  EXPECT_TRUE(write("s", "k", fits));
  EXPECT_EQ(profile.getString("s", "k", "", 40000, kFile), fits);
  EXPECT_THROW(write("s", "k", tooLong), std::length_error);
  EXPECT_THROW(write(tooLong, "k", "v"), std::length_error);
  EXPECT_THROW(read("s", tooLong), std::length_error);
  EXPECT_THROW(profile.getString("s", "k", tooLong, 260, kFile), std::length_error);
  EXPECT_THROW(readInt(tooLong, "k"), std::length_error);
  // Double-byte characters count once each: 20000 of them fit.
  std::string hyo;
  for (int i = 0; i < 20000; ++i) hyo += "\x95\x5c";
  EXPECT_TRUE(write("s", "k", hyo));
  EXPECT_EQ(profile.getString("s", "k", "", 50000, kFile), hyo);
}

}  // namespace
