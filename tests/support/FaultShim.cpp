// A preload library for tests: makes writes to files below one folder fail
// as a full or broken disk would, without special rights. Loaded with
// LD_PRELOAD into the program under test and set by the environment:
//
//   KV_FAULT_DIR    the folder; files elsewhere (and the terminal) are left alone
//   KV_FAULT_CALL   write (write, writev, pwrite), fsync (fsync, fdatasync,
//                   syncfs) or close
//   KV_FAULT_AT     the first call that fails, counting from 1 (default 1);
//                   every later one fails too, as a full disk stays full
//   KV_FAULT_ERRNO  ENOSPC (default) or EIO
//   KV_FAULT_KILL   1: the process kills itself with SIGKILL at that call
//                   instead, as an interrupted run
//
// Built by CMake only for the tests.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace
{

enum class Kind { Write, Fsync, Close };

struct Settings {
    bool active = false;
    char dir[PATH_MAX] = {};
    size_t dirLength = 0;
    Kind kind = Kind::Write;
    long at = 1;
    int error = ENOSPC;
    bool kill = false;
};

const Settings& settings()
{
    static const Settings s = [] {
        Settings r;
        const char* dir = std::getenv("KV_FAULT_DIR");
        if (!dir || !*dir || !::realpath(dir, r.dir))
            return r;
        r.dirLength = std::strlen(r.dir);
        const char* call = std::getenv("KV_FAULT_CALL");
        if (call && std::strcmp(call, "fsync") == 0)
            r.kind = Kind::Fsync;
        else if (call && std::strcmp(call, "close") == 0)
            r.kind = Kind::Close;
        if (const char* at = std::getenv("KV_FAULT_AT"))
            r.at = std::max(1L, std::strtol(at, nullptr, 10));
        if (const char* e = std::getenv("KV_FAULT_ERRNO"); e && std::strcmp(e, "EIO") == 0)
            r.error = EIO;
        const char* kill = std::getenv("KV_FAULT_KILL");
        r.kill = kill && std::strcmp(kill, "1") == 0;
        r.active = true;
        return r;
    }();
    return s;
}

std::atomic<long> calls{0};

bool below(int fd)
{
    const Settings& s = settings();
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[PATH_MAX];
    const ssize_t n = ::readlink(link, path, sizeof path - 1);
    if (n < 0 || size_t(n) < s.dirLength)
        return false;
    path[n] = '\0';
    return std::strncmp(path, s.dir, s.dirLength) == 0 &&
           (path[s.dirLength] == '\0' || path[s.dirLength] == '/');
}

// Whether this call fails; errno is set when it does.
bool fault(Kind kind, int fd)
{
    const Settings& s = settings();
    if (!s.active || s.kind != kind || !below(fd))
        return false;
    if (++calls < s.at)
        return false;
    if (s.kill)
        ::raise(SIGKILL);
    errno = s.error;
    return true;
}

template <typename F> F next(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

ssize_t write(int fd, const void* data, size_t size)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    return fault(Kind::Write, fd) ? -1 : real(fd, data, size);
}

ssize_t writev(int fd, const struct iovec* iov, int count)
{
    static const auto real = next<ssize_t (*)(int, const struct iovec*, int)>("writev");
    return fault(Kind::Write, fd) ? -1 : real(fd, iov, count);
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    return fault(Kind::Write, fd) ? -1 : real(fd, data, size, offset);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    return fault(Kind::Write, fd) ? -1 : real(fd, data, size, offset);
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    return fault(Kind::Fsync, fd) ? -1 : real(fd);
}

int fdatasync(int fd)
{
    static const auto real = next<int (*)(int)>("fdatasync");
    return fault(Kind::Fsync, fd) ? -1 : real(fd);
}

int syncfs(int fd)
{
    static const auto real = next<int (*)(int)>("syncfs");
    return fault(Kind::Fsync, fd) ? -1 : real(fd);
}

int close(int fd)
{
    static const auto real = next<int (*)(int)>("close");
    if (fault(Kind::Close, fd)) {
        const int error = errno;
        real(fd); // Linux frees the descriptor even when close reports an error
        errno = error;
        return -1;
    }
    return real(fd);
}

} // extern "C"
