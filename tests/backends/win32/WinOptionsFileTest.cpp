
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "options/ClockOptions.h"
#include "platform/window/OptionsPath.h"

namespace halyard {
namespace {

using ReadResult = OptionsFileSource::ReadResult;

std::wstring Wide(const std::string& utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), size);
  out.resize(static_cast<std::size_t>(size) - 1);
  return out;
}

class WinOptionsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    char utf8[4 * MAX_PATH];
    WideCharToMultiByte(CP_UTF8, 0, temp, -1, utf8, sizeof utf8, nullptr, nullptr);
    // A folder name no ANSI code page holds entirely.
    dir_ = std::string(utf8) + "halyard-\xCE\xA9-\xE6\x97\xA5-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Wide(dir_).c_str(), nullptr);
    file_ = dir_ + "\\OPTION.DTA";
    HANDLE h = CreateFileW(Wide(file_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "&HFF\r\nDOT", 9, &written, nullptr);
    CloseHandle(h);
  }
  void TearDown() override {
    DeleteFileW(Wide(file_).c_str());
    RemoveDirectoryW(Wide(dir_).c_str());
  }

  ReadResult Read(const std::string& path, std::string& bytes) {
    return PlatformOptionsFile().ReadFile(path, kMaxOptionsFileBytes, bytes);
  }

  std::string dir_;
  std::string file_;
};

TEST_F(WinOptionsFileTest, ReadsAFileWhoseFolderNameIsNotAnsi) {
  std::string bytes;
  EXPECT_EQ(Read(file_, bytes), ReadResult::Read);
  EXPECT_EQ(bytes, "&HFF\r\nDOT");
}

TEST_F(WinOptionsFileTest, DirectoriesAndMissingFilesAreAbsentDevicesUnreadable) {
  std::string bytes;
  EXPECT_EQ(Read(dir_, bytes), ReadResult::Absent);
  EXPECT_EQ(Read(dir_ + "\\missing.dta", bytes), ReadResult::Absent);
  EXPECT_EQ(Read("NUL", bytes), ReadResult::Unreadable);
}

TEST_F(WinOptionsFileTest, SharesWithAWriterButNotWithAnExclusiveHolder) {
  std::string bytes;
  HANDLE writer = CreateFileW(Wide(file_).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Read(file_, bytes), ReadResult::Read);
  CloseHandle(writer);

  HANDLE exclusive = CreateFileW(Wide(file_).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Read(file_, bytes), ReadResult::Unreadable);
  EXPECT_EQ(LoadClockOptions(file_, PlatformOptionsFile()), DefaultClockOptions());
  CloseHandle(exclusive);
}

TEST(WinOptionsPathTest, IsBesideTheExecutable) {
  const std::string path = OptionsPath();
  ASSERT_GT(path.size(), 11u);
  EXPECT_EQ(path.substr(path.size() - 11), "\\OPTION.DTA");
  EXPECT_NE(GetFileAttributesW(Wide(path.substr(0, path.size() - 11)).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace halyard

