// The simulated profile files against the profile functions under Wine 8 (code page 932): the
// expected results were measured there with the same files and calls, except where a case
// says otherwise.
#include "platform/sim/sim_profile_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using testing::PrintToString;

using sim::SimFileSystem;
using sim::SimProfileFiles;

const std::string kFolder = "C:\\Programs\\Quillmoor";
const std::string kFile = kFolder + "\\QuillmoorForTundra.ini";
const std::string kHyo = "\x95\x5c";  // its trail byte is '\'
const std::string kAsLeft = "<as the case above left it>";

// getString(section, key, fallback, size) is to give `expected`.
struct Read {
  std::string section, key, expected;
  size_t size = 260;
  std::string fallback = "DEF";
};

struct ReadCase {
  std::string label;
  std::optional<std::string> file;  // nullopt: no file at all
  std::vector<Read> reads;
};

struct Write {
  std::string section, key, value;
};

struct WriteCase {
  std::string label;
  std::optional<std::string> before;  // nullopt: no file yet; kAsLeft: the file as it is
  std::vector<Write> writes;          // each succeeds
  std::string after;                  // the whole file
  std::vector<Read> reads = {};       // then
};

class SimProfileFilesTest : public ::testing::Test {
 protected:
  SimProfileFilesTest() { fs.makeDirectory(kFolder); }

  void put(const std::optional<std::string>& bytes) {
    std::filesystem::remove(fs.hostPath(kFile));
    if (bytes) fs.writeFile(kFile, *bytes);
  }
  std::string contents() const { return fs.readFile(kFile).value_or("<no file>"); }

  std::string read(const std::string& section, const std::string& key) {
    return profile.getString(section, key, "DEF", 260, kFile);
  }
  void expectRead(const Read& r) {
    EXPECT_EQ(profile.getString(r.section, r.key, r.fallback, r.size, kFile), r.expected)
        << "[" << PrintToString(r.section) << "] " << PrintToString(r.key) << ", size " << r.size
        << ", default " << PrintToString(r.fallback);
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

TEST_F(SimProfileFilesTest, Reads) {
  const std::string unconvertible = "\x81\x45";
  // A file (none: nullopt), then the reads from it: {section, key, expected, size, default}.
  // clang-format off
  const std::vector<ReadCase> cases{
    {"no file: the default, which loses trailing spaces and outer quotes", std::nullopt,
     {{"s", "k", "DEF"}, {"s", "k", "  def", 260, "  def  "}, {"s", "k", "d \t", 260, "d \t "},
      {"s", "k", " ", 260, "   "},  // measured under Wine 8: the first space stays
      {"s", "k", "", 260, ""}, {"s", "k", "abc", 4, "abcdef"}, {"s", "k", "", 1, "abcdef"},
      {"s", "k", "", 0, "abcdef"},
      // Measured under Wine 8: a default is unquoted like a stored value, once its spaces are off.
      {"s", "k", "q", 260, "\"q\"  "}, {"s", "k", " q ", 260, "\" q \""},
      {"s", "k", "\"q\" \t", 260, "\"q\" \t"}, {"s", "k", "  \"q\"", 260, "  \"q\""},
      {"s", "k", "ab", 4, "\"abc\""}}},
    {"missing section or key", "[s]\r\nk=1\r\n",
     {{"s", "k", "1"}, {"t", "k", "DEF"}, {"s", "j", "DEF"}}},
    {"the file is read afresh on every call", "[s]\r\nk=2\r\n", {{"s", "k", "2"}}},
    {"names are trimmed and fold only ASCII case",
     "[Sec]\r\n  Key One  =  \t value with  blanks \t \r\n\x0bkv\x0c=2\r\n"
     "   [ Other ]  trailing\r\nx=1\r\n[\x82\x60]\r\nk=fullwidth\r\n[\x83\x41]\r\nk=katakana\r\n",
     {{"sec", "key one", "value with  blanks"}, {" SEC ", "\tKEY ONE\t", "value with  blanks"},
      {"sec", "kv", "2"}, {"other", "x", "1"},
      // Full-width A (0x82 0x60) does not match full-width a (0x82 0x81).
      {"\x82\x81", "k", "DEF"}, {"\x82\x60", "k", "fullwidth"},
      // 0x83 0x41 and 0x83 0x61 are different katakana: their trail bytes must not fold.
      {"\x83\x61", "k", "DEF"}, {"\x83\x41", "k", "katakana"}}},
    {"values lose blanks and matching outer quotes",
     "[s]\r\nq1=\"  quoted  \"\r\nq2='x'\r\nq3=\"unmatched\r\nq4=\"\r\nq5=\"\"\r\nq6='\"\r\n"
     "q7=\"a\"b\"\r\nb1=\x0bx\x0b\r\nb2=\x0cx\x0c\r\nb3=\x1ax\x1a\r\n"
     "b4=\x81\x40x\x81\x40\r\nb5=\x01x\x01\r\n",
     {{"s", "q1", "  quoted  "}, {"s", "q2", "x"}, {"s", "q3", "\"unmatched"}, {"s", "q4", "\""},
      {"s", "q5", ""}, {"s", "q6", "'\""}, {"s", "q7", "a\"b"},
      {"s", "b1", "x"}, {"s", "b2", "x"}, {"s", "b3", "x"},  // Ctrl-Z counts as a blank
      {"s", "b4", "\x81\x40x\x81\x40"},                      // the ideographic space does not
      {"s", "b5", "\x01x\x01"}}},
    {"lines have no comments or escapes",
     "[s]\r\n;k=1\r\nv=v ; c\r\nnoeq\r\nempty=\r\neq=a=b\r\n=nameless\r\n",
     {{"s", ";k", "1"}, {"s", "v", "v ; c"}, {"s", "noeq", "DEF"}, {"s", "empty", ""},
      {"s", "eq", "a=b"}, {"s", "", "nameless"}}},
    {"the first of duplicate keys and sections wins",
     "[s]\r\ndup=first\r\ndup=second\r\nbare\r\nbare=later\r\n[S]\r\nonly=second section\r\n",
     {{"s", "dup", "first"}, {"s", "bare", "DEF"},  // the first "bare" has no '='
      {"s", "only", "DEF"}}},
    {"section header forms",
     "[a]b]\r\ny=2\r\n[unclosed\r\nz=3\r\n[c]d=1\r\nw=4\r\n[x=5\r\n[t]  \x1a\r\nk=6\r\n",
     {{"a]b", "y", "2"}, {"a", "y", "DEF"},                  // the last ']' closes the name
      {"unclosed", "z", "DEF"}, {"a]b", "z", "3"},            // not a header: z stays in [a]b]
      {"c", "w", "4"}, {"c", "d", "DEF"}, {"c", "[x", "5"},  // text after ']' is ignored
      {"t", "k", "6"}}},
    // Measured under Wine 8: "[]" is a second nameless section, shadowed by the first.
    {"keys before the first header belong to the nameless section",
     "top=1\r\n[s]\r\nk=2\r\n[]\r\nhidden=3\r\n",
     {{"", "top", "1"}, {"  ", "top", "1"}, {"s", "top", "DEF"}, {"", "hidden", "DEF"}}},
    {"all line ends read", "[a]\rx=1\r\r\n[b]\ny=2\n\n[c]\r\nz=3",
     {{"a", "x", "1"}, {"b", "y", "2"}, {"c", "z", "3"}}},
    // 0x83 0x5D ends in ']', 0x95 0x5C ("hyo") in '\'.
    {"Shift JIS trail bytes are not delimiters",
     "[\x83\x5d]\r\nk=6\r\n\x95\x5c=7\r\n[a\x83\x5d\r\nk=8\r\n[b\x83\x5d]x\x83\x5d\r\nk=9\r\n",
     {{"\x83\x5d", "k", "6"}, {"\x83\x5d", "\x95\x5c", "7"},
      {"a", "k", "DEF"},  // no real ']' on the line: not a header
      {"\x83\x5d", "[a\x83\x5d", "DEF"},
      {"b\x83\x5d", "k", "9"}}},
    // Measured under Wine 8: a lead byte swallows a following LF or '=' but not a NUL; a pair
    // that cannot be a character, and a lead byte left alone, read as 0x81 0x45.
    {"a lead byte takes the byte after it",
     "[s]\r\na=\x95\nb=2\r\nc\x95=3\r\nd=x\x95\r\ne=1\r\ny=\x95\0b\r\nz=\x95"s,
     {{"s", "a", unconvertible + "b=2"}, {"s", "b", "DEF"}, {"s", "c", "DEF"},
      {"s", "d", "x" + unconvertible}, {"s", "e", "1"}, {"s", "y", unconvertible},
      {"s", "z", unconvertible}}},
    {"NUL bytes end names and values", "[s]\r\nv1=\0x\r\nv2=x\0y\r\nk\0z=3\r\n[t\0u]\r\nq=4\r\n"s,
     {{"s", "v1", ""}, {"s", "v2", "x"}, {"s", "k", "3"}, {"t", "q", "4"}}},
    {"a file of blanks only", "\x1a", {{"s", "k", "DEF"}}},
    {"the value is cut to the buffer",
     "[s]\r\nk=" + std::string(300, 'x') + "\r\nq=\"  quoted  \"\r\n",
     {{"s", "k", std::string(259, 'x')}, {"s", "k", "", 1}, {"s", "k", "", 0},
      {"s", "q", "  q", 4}}},
    {"a quoted value loses its last character in a buffer that fits it exactly",
     "[s]\r\nq=\"abc\"\r\nu=abc\r\n",
     {{"s", "q", "a", 2}, {"s", "q", "ab", 3},
      {"s", "q", "ab", 4},  // measured under Wine 8
      {"s", "q", "abc", 5}, {"s", "q", "abc", 6},
      {"s", "u", "a", 2}, {"s", "u", "ab", 3}, {"s", "u", "abc", 4}, {"s", "u", "abc", 5}}},
    // Measured under Wine 8: the reported length stays size - 1 while the cut character's
    // bytes are left as they were in the (zeroed) buffer.
    {"a double-byte character cut by the buffer end leaves NULs",
     "[s]\r\nk=a" + kHyo + kHyo + "b\r\n",
     {{"s", "k", "", 1}, {"s", "k", "a", 2}, {"s", "k", "a\0"s, 3}, {"s", "k", "a" + kHyo, 4},
      {"s", "k", "a" + kHyo + "\0"s, 5}, {"s", "k", "a" + kHyo + kHyo, 6},
      {"s", "k", "a" + kHyo + kHyo + "b", 7}, {"s", "missing", "a\0"s, 3, "a" + kHyo + kHyo}}},
  };
  // clang-format on
  for (const auto& [label, file, reads] : cases) {
    SCOPED_TRACE(label);
    put(file);
    for (const Read& r : reads) expectRead(r);
    if (!file) {
      EXPECT_FALSE(fs.exists(kFile));  // reading creates nothing
    }
  }
}

TEST_F(SimProfileFilesTest, Integers) {
  EXPECT_EQ(readInt("s", "k", -7), static_cast<uint32_t>(-7));  // no file yet
  struct IntCase {
    std::string value;
    uint32_t expected;
    int32_t fallback = 99;
  };
  const std::string ones(29, '1');
  // clang-format off
  const std::vector<IntCase> cases{
      {"", static_cast<uint32_t>(-5), -5}, {"\"\"", 99},  // no value: the default
      {"12abc", 12}, {"\" 7\"", 7}, {"-3", static_cast<uint32_t>(-3)}, {"+5", 5}, {"\"42\"", 42},
      {"'12'", 12}, {"\"12", 0}, {"010", 10}, {"019", 19}, {"abc", 0},
      {"0x10", 16}, {"0xAbC", 2748}, {"0X1f", 0},
      {"0b101", 5}, {"0o17", 15},  // measured under Wine 8: binary and octal prefixes too
      {"0B1", 0}, {"0b2", 0}, {"-0x10", static_cast<uint32_t>(-16)},
      {"- 5", 0}, {"+-5", 0}, {"-", 0}, {"1e3", 1}, {"12.5", 12}, {"1 2", 1},
      {"\x82\x4f\x82\x50", 0},  // full-width digits
      {"\x1c"s + "5", 5},
      {"4294967295", 4294967295u}, {"4294967296", 0}, {"4294967297", 1},
      {"-2147483649", 2147483647u}, {"0x123456789", 0x23456789u},
      // Read through a 30-character buffer; here the first 29 digits, wrapped:
      {"12345678901234567890123456789012345678901234567890", 1849262357u},
      {std::string(42, '0') + "12", 0},
      {ones, 1729917383u},                // 29 ones
      {"\"" + ones + "\"", 1461481927u},  // 28 ones: the quote costs one
  };
  // clang-format on
  std::string file = "[s]\r\nbare\r\n";
  for (size_t i = 0; i < cases.size(); ++i) {
    file += "k" + std::to_string(i) + "=" + cases[i].value + "\r\n";
  }
  put(file);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(readInt("s", "k" + std::to_string(i), cases[i].fallback), cases[i].expected)
        << "k" << i << "=" << cases[i].value;
  }
  EXPECT_EQ(readInt("s", "bare"), 99u);  // no '='
  EXPECT_EQ(readInt("t", "k2", 5), 5u);
  EXPECT_EQ(readInt("s", "j", 5), 5u);
}

TEST_F(SimProfileFilesTest, Writes) {
  const std::string so = "\x83\x5c";  // trail byte '\'
  // A file (none: nullopt), the writes, each of which succeeds, the whole file after them and
  // reads from it then.
  // clang-format off
  const std::vector<WriteCase> cases{
    {"a write creates the file", std::nullopt, {{"Sec", "Key", "Value"}}, "[Sec]\r\nKey=Value\r\n"},
    {"new sections and keys go in order", kAsLeft,
     {{"Other", "a", "1"}, {"sec", "Key2", "2"}, {"", "top", "0"}},
     "top=0\r\n[Sec]\r\nKey=Value\r\nKey2=2\r\n[Other]\r\na=1\r\n"},
    {"a nameless key and an empty value", kAsLeft, {{"Sec", "", "nameless"}, {"Sec", "k3", ""}},
     "top=0\r\n[Sec]\r\nKey=Value\r\nKey2=2\r\n=nameless\r\nk3=\r\n[Other]\r\na=1\r\n",
     {{"Sec", "", "nameless"}}},
    {"the file is read afresh on every call", "[s]\r\nk=1\r\n", {{"s", "j", "x"}},
     "[s]\r\nk=1\r\nj=x\r\n"},
    {"an identical value leaves the file untouched", "\n\n[s]\nk = v \n\n",
     {{"S", "K", "v"}, {"s", "k", "  v"}},  // leading blanks of the value go before comparing
     "\n\n[s]\nk = v \n\n"},
    {"an identical empty value too", "[s]\r\nk=\r\n\r\n", {{"s", "k", ""}}, "[s]\r\nk=\r\n\r\n"},
    {"the comparison is case-sensitive", "[s]\nk=V\n", {{"s", "k", "v"}}, "[s]\r\nk=v\r\n"},
    // Measured under Wine 8: "[]" loses its header, "=w" right after "=v" is dropped, names
    // and values end at the NUL.
    {"any change rewrites the whole file",
     "top=1\r\n noeqtop \r\n\r\n[]\r\nempty=1\r\n   [ Other ]  trailing\r\n"
     "  spaced key  =  spaced value  \r\nnoeq\r\n;comment\r\n;c2 = x\r\n"
     "[unclosed\r\n=v\r\n=w\r\n\t\r\nq=\"a\"\r\nnul\0x=1\r\nn2=a\0b\r\n"
     "[s\0t]\r\nx=1\r\n[other]\r\nlast=1\r\n"s,
     {{"other", "added", "2"}},
     "top=1\r\nnoeqtop\r\nempty=1\r\n[Other]\r\nspaced key=spaced value\r\nnoeq\r\n"
     ";comment\r\n;c2=x\r\n[unclosed\r\n=v\r\nq=\"a\"\r\nnul=1\r\nn2=a\r\nadded=2\r\n"
     "[s]\r\nx=1\r\n[other]\r\nlast=1\r\n"},
    {"an existing key keeps its spelling and place", "[Sec]\r\nKey=1\r\n", {{"sec", "KEY", "2"}},
     "[Sec]\r\nKey=2\r\n"},
    {"the first of duplicate keys and sections takes the write",
     "[Dup]\r\na=1\r\na=2\r\n[dup]\r\nb=1\r\n", {{"DUP", "A", "9"}, {"dup", "b", "3"}},
     "[Dup]\r\na=9\r\na=2\r\nb=3\r\n[dup]\r\nb=1\r\n"},
    {"a new key goes to the end of its section", "[A]\nx=1\n[B]\ny=2\n", {{"a", "z", "3"}},
     "[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\n"},
    {"a line without '=' gets one", "[s]\r\nk\r\n", {{"s", "k", ""}}, "[s]\r\nk=\r\n"},
    // Measured under Wine 8: the trailing blanks stay until the next rewrite.
    {"new names and the value lose only leading blanks", std::nullopt, {{" S ", " K ", " V "}},
     "[S ]\r\nK =V \r\n", {{"s", "k", "V"}}},
    {"the next rewrite takes trailing blanks off", kAsLeft, {{"S", "K2", "x"}},
     "[S]\r\nK=V\r\nK2=x\r\n"},
    {"other blanks of new names", kAsLeft, {{"\x0bt\x0b", "\x1ak\x1a", "\t "}},
     "[S]\r\nK=V\r\nK2=x\r\n[t\x0b]\r\nk\x1a=\r\n"},
    {"keys under [] join the section above for good", "[A]\r\na=1\r\n[]\r\nb=2\r\n",
     {{"A", "c", "3"}}, "[A]\r\na=1\r\nc=3\r\nb=2\r\n", {{"A", "b", "2"}}},
    {"nameless lines that end at a NUL", "[s]\r\n\0\r\n\0abc\r\n=\r\n=\0\r\nk=1\r\n"s,
     {{"s", "k", "2"}}, "[s]\r\n\r\n\r\nk=2\r\n"},
    {"a nameless line right after another is dropped",
     "[s]\r\n=a\r\n=b\r\nx\r\n=c\r\n=d\r\ny=1\r\n", {{"s", "y", "2"}},
     "[s]\r\n=a\r\nx\r\n=c\r\ny=2\r\n"},
    {"a value is written raw", "[s]\r\nk=old\r\n", {{"s", "k", "a\r\nb=c"}},
     "[s]\r\nk=a\r\nb=c\r\n", {{"s", "k", "a"}, {"s", "b", "c"}}},
    {"names are written raw", kAsLeft, {{"[x]", "a=b", "v"}},
     "[s]\r\nk=a\r\nb=c\r\n[[x]]\r\na=b=v\r\n", {{"[x]", "a", "b=v"}}},
    {"Shift JIS round trips", std::nullopt, {{so, kHyo, so + "\x83\x74\x83\x67"}},
     "[" + so + "]\r\n" + kHyo + "=" + so + "\x83\x74\x83\x67\r\n",
     {{so, kHyo, so + "\x83\x74\x83\x67"}}},
    {"a lone lead byte at the end of an argument is dropped", std::nullopt,
     {{"s\x95", "k\x95", "x\x95"}}, "[s]\r\nk=x\r\n",
     {{"s\x95", "k", "x"}, {"s", "none", "d", 260, "d\x95"}}},
    // The Win32 adapter passes c_str().
    {"arguments end at a NUL", std::nullopt, {{"s\0x"s, "k\0y"s, "v\0w"s}}, "[s]\r\nk=v\r\n",
     {{"s", "none", "d", 260, "d\0e"s}}},
    {"a file of Ctrl-Z counts as empty", "\x1a", {{"s", "k", "v"}}, "[s]\r\nk=v\r\n"},
    {"a file of blanks counts as empty", "  \t\r\n\x0b\x0c\r\n\r\n\r\r\r", {{"s", "k", "v"}},
     "[s]\r\nk=v\r\n"},
  };
  // clang-format on
  for (const auto& [label, before, writes, after, reads] : cases) {
    SCOPED_TRACE(label);
    if (before != kAsLeft) put(before);
    for (const auto& [section, key, value] : writes) {
      EXPECT_TRUE(write(section, key, value))
          << PrintToString(section) << "/" << PrintToString(key);
    }
    EXPECT_EQ(contents(), after);
    for (const Read& r : reads) expectRead(r);
  }
}

TEST_F(SimProfileFilesTest, NoRegularFileReadsAsDefaultsAndTakesNoWrite) {
  EXPECT_FALSE(profile.writeString("s", "k", "v", "C:\\Missing\\a.ini"));
  EXPECT_FALSE(fs.exists("C:\\Missing"));

  fs.writeFile(kFolder + "\\plain.ini", "[s]\r\n");
  EXPECT_FALSE(profile.writeString("s", "k", "v", kFolder + "\\plain.ini\\b.ini"));
  EXPECT_EQ(fs.readFile(kFolder + "\\plain.ini"), "[s]\r\n");

  // Only the simulation can meet a FIFO; opening it would block for a writer that never comes.
  const std::string fifo = kFolder + "\\fifo.ini";
  ASSERT_EQ(mkfifo(fs.hostPath(fifo).c_str(), 0600), 0);
  fs.makeDirectory(kFile);
  for (const std::string& file : {kFile, fifo}) {
    EXPECT_EQ(profile.getString("s", "k", "DEF", 260, file), "DEF") << file;
    EXPECT_EQ(profile.getInt("s", "k", 99, file), 99u) << file;
    EXPECT_FALSE(profile.writeString("s", "k", "v", file)) << file;
  }
}

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

TEST_F(SimProfileFilesTest, HugeFilesAndVeryLongLinesAreReadWhole) {
  std::string file = "[s]\r\n";
  for (int i = 0; i < 100000; ++i) {
    file += "key" + std::to_string(i) + "=value" + std::to_string(i) + "\r\n";
  }
  put(file + "[end]\r\nlast=yes\r\n");
  EXPECT_EQ(read("end", "last"), "yes");
  EXPECT_EQ(read("s", "key99999"), "value99999");
  EXPECT_TRUE(write("end", "last", "no"));
  EXPECT_EQ(contents(), file + "[end]\r\nlast=no\r\n");

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

TEST_F(SimProfileFilesTest, FileNames) {
  EXPECT_TRUE(profile.writeString("s", "k", "v", "bare.ini"));  // in the Windows folder
  EXPECT_EQ(fs.readFile("C:\\Windows\\bare.ini"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(profile.getString("s", "k", "", 260, "bare.ini"), "v");

  ASSERT_TRUE(fs.setCurrentDirectory(kFolder));
  EXPECT_TRUE(profile.writeString("s", "k", "w", ".\\here.ini"));
  EXPECT_EQ(fs.readFile(kFolder + "\\here.ini"), "[s]\r\nk=w\r\n");

  // "C:\<so><fu><to>\a.ini": the trail byte of "so" (0x83 0x5C) is not a separator.
  const std::string folder = "C:\\\x83\x5c\x83\x74\x83\x67";
  fs.makeDirectory(folder);
  EXPECT_TRUE(profile.writeString("s", "k", "v", folder + "\\a.ini"));
  EXPECT_EQ(fs.hostPath(folder + "\\a.ini"),
            fs.root() / "C" / "\x83\x5c\x83\x74\x83\x67" / "a.ini");
  EXPECT_EQ(profile.getString("s", "k", "", 260, folder + "\\a.ini"), "v");

  // Names Windows rejects.
  for (const std::string name : {"", "C:\\Programs\\", "a<.ini", "a>.ini", "a\".ini", "a|.ini",
                                 "a?.ini", "a*.ini", "a\x01.ini"}) {
    EXPECT_FALSE(profile.writeString("s", "k", "v", name)) << name;
    EXPECT_EQ(profile.getString("s", "k", "DEF", 260, name), "DEF") << name;
  }
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
  for (int i = 0; i < 20000; ++i) hyo += kHyo;
  EXPECT_TRUE(write("s", "k", hyo));
  EXPECT_EQ(profile.getString("s", "k", "", 50000, kFile), hyo);
}

}  // namespace
