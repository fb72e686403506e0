#pragma once

// Faults for in-process tests of SafeFileWriter: while an object lives,
// the writer's write, fsync or close fails from the at-th call on with the
// given error, as a disk that has filled up or broken would. Writes may also
// be cut short, to exercise the writer's loop.

#include "core/SafeFileWriter.h"

#include <cerrno>
#include <unistd.h>

namespace kvtest
{

class FailingIo
{
public:
    enum Call { Write, Fsync, Close };
    FailingIo(Call call, int at, int error, size_t shortWrites = 0)
    {
        s_call = call;
        s_at = at;
        s_error = error;
        s_short = shortWrites;
        s_count = 0;
        static const kv::SafeFileWriter::Io io{&write, &fsync, &close};
        kv::SafeFileWriter::setIo(&io);
    }
    ~FailingIo() { kv::SafeFileWriter::setIo(nullptr); }
    FailingIo(const FailingIo&) = delete;
    FailingIo& operator=(const FailingIo&) = delete;
    // How many calls of the failing kind were made.
    static int calls() { return s_count; }

private:
    static bool fails(Call call)
    {
        if (call != s_call || ++s_count < s_at)
            return false;
        errno = s_error;
        return true;
    }
    static ssize_t write(int fd, const void* data, size_t size)
    {
        if (fails(Write))
            return -1;
        return ::write(fd, data, s_short && size > s_short ? s_short : size);
    }
    static int fsync(int fd) { return fails(Fsync) ? -1 : ::fsync(fd); }
    static int close(int fd)
    {
        if (!fails(Close))
            return ::close(fd);
        ::close(fd); // the descriptor is freed even when close reports an error
        errno = s_error;
        return -1;
    }

    static inline Call s_call = Write;
    static inline int s_at = 1;
    static inline int s_error = ENOSPC;
    static inline size_t s_short = 0;
    static inline int s_count = 0;
};

} // namespace kvtest
