#include "core/ListFile.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/SafeFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <array>

namespace kv
{

namespace
{

constexpr char Magic[] = "oxom"; // stored with its terminating zero

void xorBytes(char* data, qsizetype size, unsigned char mask)
{
    for (qsizetype i = 0; i < size; ++i)
        data[i] = static_cast<char>(static_cast<unsigned char>(data[i]) ^ mask);
}

std::array<char, listfile::HeaderSize> buildHeader(int mode, int key)
{
    std::array<char, listfile::HeaderSize> header{}; // reserved bytes stay zero
    std::copy(Magic, Magic + sizeof Magic, header.begin());
    qToLittleEndian<qint32>(mode, header.data() + listfile::ModeOffset);
    qToLittleEndian<quint32>(static_cast<quint32>(key), header.data() + listfile::KeyOffset);
    xorBytes(header.data(), header.size(), listfile::HeaderMask);
    return header;
}

QByteArray readRest(QFile& file)
{
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error::file(file.fileName(), file.errorString());
    return bytes;
}

} // namespace

QByteArray listfile::render(const QStringList& lines)
{
    QByteArray text;
    for (const QString& line : lines) {
        text += Cp1250::encode(line);
        text += "\r\n";
    }
    return text;
}

QStringList listfile::split(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

void saveListFile(const QStringList& list, const QString& path, int mode, int key,
                  const SafeFileWriter::Options& options)
{
    const auto header = buildHeader(mode, key);
    QByteArray bytes(header.data(), header.size());
    if (mode == 0) {
        bytes += listfile::render(list);
    } else if (mode == 1) {
        QByteArray body = listfile::render(list);
        xorBytes(body.data(), body.size(), static_cast<unsigned char>(key & 0xFF));
        bytes += body;
    }
    SafeFileWriter::write(path, bytes, options);
}

void saveListFile(const QStringList& list, const QString& path, int mode, int key)
{
    saveListFile(list, path, mode, key, SafeFileWriter::Options());
}

void loadListFile(QStringList& list, const QString& path)
{
    QByteArray text;
    if (readListFileText(path, text))
        list = listfile::split(Cp1250::decode(text));
    // Any other mode: a format this program does not know; keep the list.
}

bool readListFileText(const QString& path, QByteArray& text)
{
    text.clear();
    if (!QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::file(path, file.errorString());

    std::array<char, listfile::HeaderSize> header{};
    const qint64 got = file.read(header.data(), header.size());
    if (got < 0)
        throw Error::file(path, file.errorString());
    xorBytes(header.data(), got, listfile::HeaderMask);

    // A file shorter than a header cannot be a container, whatever its
    // first bytes say.
    const bool container =
        got == listfile::HeaderSize && std::equal(Magic, Magic + sizeof Magic, header.begin());
    if (!container) {
        if (!file.seek(0))
            throw Error::file(path, file.errorString());
        text = readRest(file);
        return true;
    }

    const qint32 mode = qFromLittleEndian<qint32>(header.data() + listfile::ModeOffset);
    if (mode != 0 && mode != 1)
        return false;
    // Read whole and unmasked in place: one copy of the body, however long.
    text = readRest(file);
    if (mode == 1) {
        const auto bodyKey = static_cast<unsigned char>(
            qFromLittleEndian<quint32>(header.data() + listfile::KeyOffset) & 0xFF);
        xorBytes(text.data(), text.size(), bodyKey);
    }
    return true;
}

} // namespace kv
