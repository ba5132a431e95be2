// Talks to a time server with a connected UDP socket through Winsock.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "platform/time/SntpTransport.h"

namespace halyard {
namespace {

class WinSntpTransport final : public SntpTransport {
 public:
  WinSntpTransport() {
    WSADATA data{};
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~WinSntpTransport() override {
    Close();
    if (started_) WSACleanup();
  }

  bool Open(const ServerName& server, std::string& address, std::string& failure) override {
    Close();
    if (!started_) {
      failure = "Winsock did not start";
      return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(server.port);
    const int error = getaddrinfo(server.host.c_str(), port.c_str(), &hints, &found);
    if (error != 0) {
      failure = error == WSAHOST_NOT_FOUND ? "name not found" : "name lookup failed (" + std::to_string(error) + ")";
      return false;
    }
    failure = "no address takes a socket";
    for (const addrinfo* at = found; at != nullptr; at = at->ai_next) {
      const SOCKET s = socket(at->ai_family, at->ai_socktype, at->ai_protocol);
      if (s == INVALID_SOCKET) continue;
      if (connect(s, at->ai_addr, static_cast<int>(at->ai_addrlen)) != 0) {
        closesocket(s);
        continue;
      }
      char text[NI_MAXHOST] = "";
      getnameinfo(at->ai_addr, static_cast<socklen_t>(at->ai_addrlen), text, sizeof text, nullptr, 0, NI_NUMERICHOST);
      address = text;
      socket_ = s;
      break;
    }
    freeaddrinfo(found);
    return socket_ != INVALID_SOCKET;
  }

  bool Send(std::span<const std::uint8_t> datagram) override {
    const int size = static_cast<int>(datagram.size());
    return socket_ != INVALID_SOCKET &&
           send(socket_, reinterpret_cast<const char*>(datagram.data()), size, 0) == size;
  }

  std::optional<std::size_t> Receive(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override {
    if (socket_ == INVALID_SOCKET) return std::nullopt;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    timeval wait{static_cast<long>(timeout.count() / 1000), static_cast<long>(timeout.count() % 1000 * 1000)};
    if (select(0, &readable, nullptr, nullptr, &wait) <= 0) return std::nullopt;
    // A closed port answers with ICMP, which Winsock reports here as a reset.
    const int length = recv(socket_, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0);
    if (length < 0) return std::nullopt;
    return static_cast<std::size_t>(length);
  }

  void Close() override {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
  }

 private:
  bool started_ = false;
  SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace

std::unique_ptr<SntpTransport> MakePlatformSntpTransport() { return std::make_unique<WinSntpTransport>(); }

}  // namespace halyard
