// Files: what a save meets when another program holds the file.
#include "port_case.h"

using Status = platform::FileContents::Status;

PORT_CASE(AFileAnotherProgramHoldsIsNeitherReadNorReplaced) {
  platform::Files& files = fixture.platform().files;
  const std::string path = "port-contract-held.ini";
  const std::string copy = path + ".new";
  for (const auto& [name, bytes] : {std::pair{path, "old"}, std::pair{copy, "new"}}) {
    std::unique_ptr<platform::WritableFile> file = files.create(name);
    PORT_EXPECT(file && file->write(bytes) && file->close());
  }
  fixture.holdFile(path, true);
  PORT_EXPECT(files.read(path).status == Status::Unreadable);
  PORT_EXPECT(files.create(path) == nullptr);  // nor written in place
  PORT_EXPECT(!files.replace(copy, path));
  PORT_EXPECT(!files.remove(path));
  fixture.holdFile(path, false);
  PORT_EXPECT_EQ(files.read(path).bytes, std::string("old"));
  PORT_EXPECT(files.replace(copy, path));
  PORT_EXPECT_EQ(files.read(path).bytes, std::string("new"));
  // A read with a cap takes nothing of a larger file.
  const platform::FileContents capped = files.read(path, 2);
  PORT_EXPECT(capped.status == Status::TooLarge && capped.bytes.empty());
  PORT_EXPECT_EQ(files.read(path, 3).bytes, std::string("new"));
  PORT_EXPECT(files.remove(path));
}
