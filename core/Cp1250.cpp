#include "core/Cp1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kv
{

namespace
{

// The converters are kept per thread: opening one costs far more than a
// short conversion, and they carry no state between complete inputs.
QStringDecoder& decoder()
{
    thread_local QStringDecoder d("windows-1250", QStringConverter::Flag::Stateless);
    return d;
}

QStringEncoder& encoder()
{
    thread_local QStringEncoder e("windows-1250", QStringConverter::Flag::Stateless);
    return e;
}

} // namespace

QString Cp1250::decode(const QByteArray& bytes)
{
    return decoder().decode(bytes);
}

QByteArray Cp1250::encode(const QString& text)
{
    return encoder().encode(text);
}

bool Cp1250::encodeStrict(const QString& text, QByteArray& out, qsizetype* badIndex)
{
    // A round trip catches both reported errors and the codec's silent
    // substitutions or best-fit mappings.
    QByteArray bytes = encode(text);
    if (decode(bytes) == text) {
        out = std::move(bytes);
        return true;
    }
    if (badIndex) {
        *badIndex = 0;
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
            const QString one = text.mid(i, len);
            if (decode(encode(one)) != one) {
                *badIndex = i;
                break;
            }
            i += len;
        }
    }
    return false;
}

} // namespace kv
