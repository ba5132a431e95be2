
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "options/ClockOptions.h"
#include "platform/window/OptionsPath.h"

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

// Whatever the bytes, the clock gets what the line rules make of the first
// MiB, and reading leaves the file as it was.
TEST_F(PosixOptionsFileTest, HostileContentsAreReadWithinTheLimitAndLeftAlone) {
  std::string garbage(4096, '\0');
  std::uint32_t state = 0x9E3779B9u;
  for (char& c : garbage) {
    state = state * 1664525u + 1013904223u;
    c = static_cast<char>(state >> 24);
  }
  const std::string cases[] = {std::string(10u << 20, '7'), garbage, std::string(5000, '\0'),
                               std::string("&HFF\0\0\r\n\0DOT", 11)};
  for (const std::string& contents : cases) {
    const std::string path = Write("OPTION.DTA", contents);
    struct stat before {}, after {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    const ClockOptions loaded = LoadClockOptions(path, PlatformOptionsFile());
    EXPECT_EQ(loaded, ParseClockOptions(std::string_view(contents).substr(0, kMaxOptionsFileBytes)));
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    if (contents.size() > kMaxOptionsFileBytes) {
      // Ten MiB without a line end: one cut line, the other eight empty.
      EXPECT_EQ(loaded.BackgroundColor, std::string(kMaxOptionLineBytes, '7'));
      EXPECT_EQ(loaded.DialColor, "");
    }
  }
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

TEST_F(PosixOptionsFileTest, AFileRewrittenWhileReadGivesOnlyWhatWasInItAndIsNeverTouched) {
  const std::string a = "&H000000\r\n&HFFFFFF\r\n&HFFFFFF\r\nDOT\r\n&H00FF00\r\n&HFF901E\r\n&HFFFFFF\r\nkHz\r\nONE\r\n";
  const std::string b = "&H202020\n&H00FFFF\n&H0000FF\nLINE\n&HFF00FF\n&H00A5FF\n&H000000\nkc/s\nTWO TWO\n";
  const std::string path = Write("OPTION.DTA", a);
  const ClockOptions optionsA = ParseClockOptions(a), optionsB = ParseClockOptions(b);
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    // Truncate-and-write, not an atomic rename: readers can meet half a file.
    for (int i = 0; !stop; ++i) std::ofstream(path, std::ios::binary | std::ios::trunc) << (i % 2 ? b : a);
  });
  for (int i = 0; i < 300; ++i) {
    const ClockOptions got = LoadClockOptions(path, PlatformOptionsFile());
    for (std::size_t line = 0; line < ClockOptions::kLineCount; ++line) {
      const std::string& text = got.Line(line);
      const bool fromA = optionsA.Line(line).starts_with(text), fromB = optionsB.Line(line).starts_with(text);
      ASSERT_TRUE(fromA || fromB || got == DefaultClockOptions()) << "line " << line + 1 << ": " << text;
    }
  }
  stop = true;
  writer.join();

  // Reading never writes: same bytes, same modification time.
  std::ofstream(path, std::ios::binary | std::ios::trunc) << a;
  struct stat before {}, after {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(LoadClockOptions(path, PlatformOptionsFile()), optionsA);
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
  EXPECT_EQ(before.st_size, after.st_size);
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

