#pragma once

// The one way every user file is written: the bytes go to a draft beside
// the target, every write(2) and the fsync are checked, the draft is
// renamed over the target and the folder is synced. On any failure the
// draft is removed, the earlier file stays as it was and Error::file says why
// in the system's words ("No space left on device").
//
// Qt's QSaveFile is not used: it follows links to their target and, in the
// Qt of this platform, misses a failure of the last buffered write.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>

namespace kv
{

class SafeFileWriter
{
public:
    enum class Links {
        // A link to a regular file: that file is replaced and the link kept,
        // as an editor would (outputs named on the command line).
        Follow,
        // A link is refused: files the program keeps for itself (notes).
        Refuse,
    };

    struct Options {
        Links links = Links::Follow;
        // fsync of the draft and of the folder; only a caller that ends
        // with syncFileSystem turns it off.
        bool sync = true;
        // Permission bits of the file written; unset: an earlier file's own,
        // else 0666 less the umask.
        std::optional<mode_t> mode;
        // Files the target must not be (the command's own inputs), compared
        // by device and inode, so also through links and other spellings. A
        // folder among them (the data home's notes) takes no target at all.
        QStringList inputs;
    };

    // Replaces path by bytes. Throws Error::file.
    static void write(const QString& path, const QByteArray& bytes, const Options& options);
    static void write(const QString& path, const QByteArray& bytes);

    // The file that writing path would replace: path itself, or the regular
    // file a link leads to. Throws Error::file for a target that exists and is
    // not a regular file, a refused link, one of the inputs, or a file in an
    // input folder.
    static QString target(const QString& path, const Options& options);

    // A new, unused draft name beside target, of the pattern that
    // removeStaleDrafts knows: ".<name>.kvdraft-<pid>-<random>".
    static QString draftPath(const QString& target);

    // Makes a finished draft (written by someone else, e.g. SQLite) the
    // target: fsync, rename, fsync of the folder. The draft is removed on
    // failure. Throws Error::file.
    static void commit(const QString& draft, const QString& target, bool sync = true);

    // For writers that turned sync off: syncs the file system holding
    // folder and reports a write-back failure. Throws Error::file.
    static void syncFileSystem(const QString& folder);

    // Removes drafts in folder left by processes that are gone, or older than
    // an hour. Returns how many went.
    static int removeStaleDrafts(const QString& folder);

    // The system calls the writer makes; tests replace them to inject faults.
    struct Io {
        ssize_t (*write)(int fd, const void* data, size_t size);
        int (*fsync)(int fd);
        int (*close)(int fd);
    };
    // nullptr restores the system calls.
    static void setIo(const Io* io);
};

} // namespace kv
