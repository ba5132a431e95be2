/* Preloaded into the test's chronyd beside libfaketime: the kernel stamps
   received packets with the real time, which libfaketime cannot shift, and a
   server whose clock is shifted by less than a second would mix that real
   receive time with a shifted transmit time. Refusing the stamps quietly
   makes it stamp both from its own (shifted) clock. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <sys/socket.h>

int setsockopt(int fd, int level, int name, const void* value, socklen_t length) {
  if (level == SOL_SOCKET) {
    switch (name) {
      case SO_TIMESTAMP:
      case SO_TIMESTAMPNS:
      case SO_TIMESTAMPING:
#ifdef SO_TIMESTAMP_NEW
      case SO_TIMESTAMP_NEW:
      case SO_TIMESTAMPNS_NEW:
      case SO_TIMESTAMPING_NEW:
#endif
        return 0;
      default:
        break;
    }
  }
  int (*next)(int, int, int, const void*, socklen_t) =
      (int (*)(int, int, int, const void*, socklen_t))dlsym(RTLD_NEXT, "setsockopt");
  return next(fd, level, name, value, length);
}
