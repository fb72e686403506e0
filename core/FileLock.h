#pragma once

// Serialises the programs that change one file: held across reading,
// changing and writing it back, so that no change of another run is lost.
// The lock is flock(2) on "<file>.lock" beside the file (the file itself is
// replaced on every write, so it cannot carry the lock). Nothing is written
// to the lock file, so a full disk cannot break it, and the system drops
// the lock of a process that ends in any way. The empty lock file stays.

#include <QString>

namespace kv
{

class FileLock
{
public:
    explicit FileLock(const QString& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits up to timeoutMs for the lock. Throws Error::file when the lock
    // file cannot be opened or another run keeps the lock that long.
    void acquire(int timeoutMs = 30000);

private:
    QString m_file;
    int m_fd = -1;
};

} // namespace kv
