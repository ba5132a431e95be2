// The platform's side of talking to a time server: name lookup and one UDP
// socket. Everything the packets mean is decided in the portable core.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "options/ServerName.h"

namespace halyard {

class SntpTransport {
 public:
  virtual ~SntpTransport() = default;

  // Looks `server` up and opens a socket to the first of its addresses that
  // takes one; replies from any other address are not received. On success
  // `address` is that address as text; else `failure` says why in a few words.
  // The lookup may take long: it is never called on the tick.
  virtual bool Open(const ServerName& server, std::string& address, std::string& failure) = 0;
  virtual bool Send(std::span<const std::uint8_t> datagram) = 0;
  // Waits at most `timeout` for a datagram; its length, or none on a timeout
  // or an error (such as the port being closed).
  virtual std::optional<std::size_t> Receive(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) = 0;
  virtual void Close() = 0;
};

// POSIX sockets or Winsock.
std::unique_ptr<SntpTransport> MakePlatformSntpTransport();

}  // namespace halyard
