#pragma once

// Reading a file the program keeps for itself (a note) only when it is a
// regular file in its place: never through a symbolic link, never from a
// device or a FIFO, checked on the open file rather than on its name.

#include <QByteArray>
#include <QString>

namespace kv
{

class RegularFile
{
public:
    // Whether path is a regular file itself (a link is not).
    static bool exists(const QString& path);
    // Fills bytes with the file's content; false when it is missing, a link,
    // not a regular file, or cannot be read.
    static bool read(const QString& path, QByteArray& bytes);
};

} // namespace kv
