#include "options/ServerName.h"

#include <gtest/gtest.h>

namespace halyard {
namespace {

TEST(ServerName, HostsAddressesAndPorts) {
  struct Row {
    std::string text;
    std::optional<ServerName> server;
  };
  const Row rows[] = {
      {"ntp.example", ServerName{"ntp.example", 123}},
      {"192.0.2.7:12301", ServerName{"192.0.2.7", 12301}},
      {"[2001:db8::1]:123", ServerName{"2001:db8::1", 123}},
      {"[::1]", ServerName{"::1", 123}},
      {"::1", ServerName{"::1", 123}},
      {"fe80::1%eth0", ServerName{"fe80::1%eth0", 123}},
      {"time_1.example:65535", ServerName{"time_1.example", 65535}},
      {"", std::nullopt},
      {":123", std::nullopt},
      {"ntp.example:", std::nullopt},
      {"ntp.example:0", std::nullopt},
      {"ntp.example:65536", std::nullopt},
      {"ntp.example:12x", std::nullopt},
      {"[::1]123", std::nullopt},
      {"[::1", std::nullopt},
      {"[]:123", std::nullopt},
      {"ntp example", std::nullopt},
      {"ntp.example/x", std::nullopt},
      {std::string(254, 'a'), std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(ParseServerName(row.text), row.server) << row.text;
}

}  // namespace
}  // namespace halyard
