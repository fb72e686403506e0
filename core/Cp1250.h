#pragma once

#include <QByteArray>
#include <QString>

namespace kv
{

// Conversion between the Windows-1250 bytes of the program's files and the
// Unicode text used inside the program.
class Cp1250
{
public:
    static QString decode(const QByteArray& bytes);
    // Characters without a Windows-1250 form come out as the codec's
    // substitute; use encodeStrict where that would lose data silently.
    static QByteArray encode(const QString& text);
    // Encodes text and returns true when every character has a Windows-1250
    // form. Otherwise returns false, leaves out untouched and, if badIndex is
    // given, stores the index of the first offending character in text.
    static bool encodeStrict(const QString& text, QByteArray& out, qsizetype* badIndex = nullptr);
};

} // namespace kv
