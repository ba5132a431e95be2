
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "options/ClockOptions.h"
#include "platform/OptionsPath.h"

namespace halyard {
namespace {

namespace fs = std::filesystem;
using ReadResult = OptionsFileSource::ReadResult;

class PosixOptionsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "halyard-options-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(dir_ / "locked", fs::perms::owner_all, ignored);
    fs::remove_all(dir_, ignored);
  }

  std::string Write(const std::string& name, const std::string& contents) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path.string();
  }

  ReadResult Read(const std::string& path, std::string& bytes, std::size_t limit = kMaxOptionsFileBytes) {
    bytes = "stale";
    return PlatformOptionsFile().ReadFile(path, limit, bytes);
  }

  fs::path dir_;
};

TEST_F(PosixOptionsFileTest, RegularFileIsReadUpToTheLimit) {
  std::string bytes;
  EXPECT_EQ(Read(Write("OPTION.DTA", "&HFF\r\nDOT\r\n"), bytes), ReadResult::Read);
  EXPECT_EQ(bytes, "&HFF\r\nDOT\r\n");

  EXPECT_EQ(Read(Write("empty", ""), bytes), ReadResult::Read);
  EXPECT_EQ(bytes, "");

  const std::string big(300000, 'q');
  EXPECT_EQ(Read(Write("big", big), bytes, 100000), ReadResult::Read);
  EXPECT_EQ(bytes, big.substr(0, 100000));
  EXPECT_EQ(Read((dir_ / "big").string(), bytes), ReadResult::Read);
  EXPECT_EQ(bytes, big);
}

TEST_F(PosixOptionsFileTest, MissingNamesAndDirectoriesAreAbsent) {
  std::string bytes;
  EXPECT_EQ(Read((dir_ / "nothing").string(), bytes), ReadResult::Absent);
  EXPECT_EQ(Read(dir_.string(), bytes), ReadResult::Absent);
  EXPECT_EQ(Read(Write("plain", "x") + "/OPTION.DTA", bytes), ReadResult::Absent);
  fs::create_symlink(dir_ / "nowhere", dir_ / "dangling");
  EXPECT_EQ(Read((dir_ / "dangling").string(), bytes), ReadResult::Absent);
  EXPECT_EQ(Read("", bytes), ReadResult::Absent);
  EXPECT_TRUE(bytes.empty());
}

TEST_F(PosixOptionsFileTest, FifosAndDevicesAreRefusedWithoutBlocking) {
  std::string bytes;
  const fs::path fifo = dir_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Read(fifo.string(), bytes), ReadResult::Unreadable);
  fs::create_symlink("/dev/zero", dir_ / "zero");
  EXPECT_EQ(Read((dir_ / "zero").string(), bytes), ReadResult::Unreadable);
  EXPECT_TRUE(bytes.empty());

  // The clock itself then starts with its defaults.
  EXPECT_EQ(LoadClockOptions(fifo.string(), PlatformOptionsFile()), DefaultClockOptions());
}

TEST_F(PosixOptionsFileTest, FileWithoutReadPermissionIsUnreadable) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
  const std::string path = Write("locked", "&HFF");
  fs::permissions(path, fs::perms::none);
  std::string bytes;
  EXPECT_EQ(Read(path, bytes), ReadResult::Unreadable);
  EXPECT_EQ(LoadClockOptions(path, PlatformOptionsFile()), DefaultClockOptions());
}

TEST_F(PosixOptionsFileTest, LoadsThroughThePlatformSource) {
  const ClockOptions loaded = LoadClockOptions(Write("OPTION.DTA", "\xEF\xBB\xBF&H0000FF\nDOT"), PlatformOptionsFile());
  EXPECT_EQ(loaded.BackgroundColor, "&H0000FF");
  EXPECT_EQ(loaded.DialColor, "DOT");
  EXPECT_EQ(loaded.BannerText, "");
}

TEST(OptionsPathTest, IsBesideTheExecutableWhateverTheCurrentDirectory) {
  const fs::path exeFolder = fs::read_symlink("/proc/self/exe").parent_path();
  const fs::path before = fs::current_path();
  fs::current_path(fs::temp_directory_path());
  const std::string path = OptionsPath();
  fs::current_path(before);
  EXPECT_EQ(fs::path(path), exeFolder / "OPTION.DTA");
}

}  // namespace
}  // namespace halyard

