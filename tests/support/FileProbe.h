#pragma once

// Looking at files the way the tests of writers and readers need: a file's
// bytes, every name in a folder (drafts are hidden files), a folder copied.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace kvtest
{

// The bytes of a file; empty when it cannot be read.
inline QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every entry of a folder, hidden and special ones too, sorted by name.
inline QStringList namesIn(const QString& dir)
{
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Copies the files and folders below from into to, replacing files there.
inline void copyTree(const QString& from, const QString& to)
{
    for (const QFileInfo& fi :
         QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(fi.fileName());
        if (fi.isDir()) {
            QDir().mkpath(target);
            copyTree(fi.filePath(), target);
        } else {
            QFile::remove(target);
            QFile::copy(fi.filePath(), target);
        }
    }
}

} // namespace kvtest
