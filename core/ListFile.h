#pragma once

#include "core/SafeFileWriter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kv
{

// The masked container of the program's own list files (configuration,
// saved selections, label settings): a 28-byte header masked with 0x0E,
// then the lines as Windows-1250 text, each ending in CR LF; in mode 1 every
// body byte is XOR-ed with the low byte of the key stored in the header.
namespace listfile
{
constexpr int HeaderSize = 28;
constexpr unsigned char HeaderMask = 0x0E;
constexpr int ModeOffset = 20;
constexpr int KeyOffset = 24;

// The list's text: every line followed by CR LF, in Windows-1250.
QByteArray render(const QStringList& lines);
// Splits text at CR LF, lone CR or lone LF; a last line without an end is
// still a line, and empty text gives no lines.
QStringList split(const QString& text);
} // namespace listfile

// Writes list to path through SafeFileWriter: the old file is replaced only
// by a complete new one. Mode 0 stores the body plainly, mode 1 scrambled with
// the low byte of key; any other mode writes only the header. Throws
// Error::file when the file cannot be written.
void saveListFile(const QStringList& list, const QString& path, int mode, int key);
void saveListFile(const QStringList& list, const QString& path, int mode, int key,
                  const SafeFileWriter::Options& options);

// Fills list from path: a container in mode 0 or 1, or any other file as
// plain text. A missing file clears list; a container with another mode
// leaves list unchanged. Throws Error::file when an existing file cannot be
// opened or read.
void loadListFile(QStringList& list, const QString& path);
// The stored text of path as loadListFile reads it, unmasked but neither
// decoded nor split: Windows-1250 bytes. A missing file gives no text.
// Returns false for a container of another mode. Throws Error::file as
// loadListFile does.
bool readListFileText(const QString& path, QByteArray& text);

} // namespace kv
