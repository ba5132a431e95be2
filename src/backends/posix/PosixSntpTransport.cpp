// Talks to a time server with a connected UDP socket: the kernel then passes
// on only datagrams from the server's address and port.
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/time/SntpTransport.h"

namespace halyard {
namespace {

class PosixSntpTransport final : public SntpTransport {
 public:
  ~PosixSntpTransport() override { Close(); }

  bool Open(const ServerName& server, std::string& address, std::string& failure) override {
    Close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(server.port);
    const int error = getaddrinfo(server.host.c_str(), port.c_str(), &hints, &found);
    if (error != 0) {
      failure = error == EAI_SYSTEM ? std::string("name lookup failed") : gai_strerror(error);
      return false;
    }
    failure = "no address takes a socket";
    for (const addrinfo* at = found; at != nullptr; at = at->ai_next) {
      const int fd = socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
      if (fd < 0) continue;
      if (connect(fd, at->ai_addr, at->ai_addrlen) != 0) {
        close(fd);
        continue;
      }
      char text[NI_MAXHOST] = "";
      getnameinfo(at->ai_addr, at->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST);
      address = text;
      fd_ = fd;
      break;
    }
    freeaddrinfo(found);
    return fd_ >= 0;
  }

  bool Send(std::span<const std::uint8_t> datagram) override {
    return fd_ >= 0 && send(fd_, datagram.data(), datagram.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(datagram.size());
  }

  std::optional<std::size_t> Receive(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override {
    if (fd_ < 0) return std::nullopt;
    pollfd wait{fd_, POLLIN, 0};
    int ready = 0;
    do {
      ready = poll(&wait, 1, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return std::nullopt;
    // A closed port answers with ICMP, which a connected socket reports here.
    const ssize_t length = recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
    if (length < 0) return std::nullopt;
    return static_cast<std::size_t>(length);
  }

  void Close() override {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = -1;
};

}  // namespace

std::unique_ptr<SntpTransport> MakePlatformSntpTransport() { return std::make_unique<PosixSntpTransport>(); }

}  // namespace halyard
