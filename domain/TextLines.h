#pragma once

#include <QStringList>

class QIODevice;

namespace kv::textlines
{

// Shared pieces of the selection's line-based formats.

// Reads the rest of the device and splits its Windows-1250 text into lines
// (CR, LF or CR LF ends a line; a last line without an end still counts).
QStringList readAll(QIODevice& device);

// Writes every line followed by CR LF in Windows-1250; throws Error::selection
// when the device refuses the bytes.
void writeLines(QIODevice& device, const QStringList& lines);

// A count line of a block: a non-negative decimal integer, else throws
// Error::selection naming what the line should have held.
int parseCount(const QString& line, const QString& what);

// A whole decimal integer (optional sign, digits only), as keys and flag
// lines must be. Returns false for anything else.
bool parseInt(const QString& line, qint64* value);

} // namespace kv::textlines
