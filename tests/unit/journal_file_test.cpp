// The journal's text: what is written reads back the same, and an entry an earlier version
// wrote reads as it did then.
#include "keeping/journal_file.h"

#include <gtest/gtest.h>

TEST(JournalFile, WhatIsWrittenReadsBackAndOlderEntriesAsBefore) {
  journal_file::Entry a;
  a.window.window = platform::Hwnd{0x10014};
  a.window.processId = 4100;
  a.window.image = "ed.exe";
  a.window.ownLayered = true;
  a.window.layeredAlpha = 200;
  a.window.normalKnown = false;
  a.window.placement.normalPosition = {-5, 10, 700, 480};
  a.session = 3;
  journal_file::Entry b = a;
  b.window.window = platform::Hwnd{0x10020};
  b.window.normalKnown = true;
  b.session = 1;
  const std::string text = journal_file::format({a, b});
  const journal_file::Contents back = journal_file::parse(text, 7);
  EXPECT_EQ(back.entries, (std::vector{a, b}));
  EXPECT_TRUE(back.problems.empty());

  // Without SESSION and NORMALKNOWN: the reader's session, and a rectangle taken as known.
  std::string older = journal_file::format({a});
  for (const std::string key : {"SESSION=3\r\n", "NORMALKNOWN=0\r\n"}) {
    older.erase(older.find(key), key.size());
  }
  const journal_file::Contents old = journal_file::parse(older, 7);
  ASSERT_EQ(old.entries.size(), 1u);
  EXPECT_EQ(old.entries[0].session, 7u);
  EXPECT_TRUE(old.entries[0].window.normalKnown);
}
