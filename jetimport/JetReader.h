#pragma once

#include <QString>
#include <QVariantList>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace kv::jet
{

// How a Jet column is carried over to SQLite.
enum class ColumnKind {
    Boolean,  // 0 or 1, never null
    Integer,  // Byte, Integer, Long Integer
    Float,    // Single, Double: the stored binary value, exactly
    Currency, // fixed four decimals, as a floating number
    Numeric,  // Decimal: the digits as text, SQLite keeps them as a number
    Date,     // text "YYYY-MM-DD HH:MM:SS"
    Text,     // text up to 255 characters
    Memo,     // text of any length
    Binary,   // Binary and OLE Object: the bytes
    Guid,     // replication ID as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
};

struct JetColumn {
    QString name;
    int jetType = 0; // the file's type code
    ColumnKind kind = ColumnKind::Text;
    int size = 0; // characters of a text, bytes of a binary
    int precision = 0;
    int scale = 0;
    // Declared SQLite type: its affinity keeps the kind (VARCHAR(50), TEXT, ...).
    QString sqlType() const;
};

struct JetTable {
    QString name;
    std::vector<JetColumn> columns;
    qint64 rowCount = 0; // as recorded in the table's definition
};

// Read-only access to a Microsoft Jet 3 or Jet 4 database through libmdb.
// The file is opened for reading only, so it is never changed. Texts come
// out as Unicode: Jet 4 stores them so, Jet 3 in a single-byte code page
// that the file does not record reliably; Windows-1250 unless told.
class JetReader
{
public:
    enum class ReadResult {
        Done,   // every row was handed over
        Retry,  // a long text may have been cut: the buffers grew, read the table again
        Failed, // error() says why
    };
    using RowFn = std::function<void(const QVariantList&)>;

    static constexpr std::size_t DefaultBindSize = 256 * 1024;
    static constexpr std::size_t MaxBindSize = std::size_t(1) << 30;

    JetReader();
    ~JetReader();
    JetReader(const JetReader&) = delete;
    JetReader& operator=(const JetReader&) = delete;

    // charset names an iconv code page for Jet 3 texts ("CP1250" when empty);
    // Jet 4 ignores it. False with error() when the file cannot be read as a
    // Jet database.
    bool open(const QString& path, const QString& charset = QString());
    void close();
    QString error() const { return m_error; }
    bool isJet3() const { return m_jet3; }
    QString versionName() const;
    const std::vector<JetTable>& tables() const { return m_tables; }

    // Longest text value, in UTF-8 bytes, read in one go; grows by itself
    // when a value fills it (ReadResult::Retry).
    void setBindSize(std::size_t bytes) { m_bindSize = bytes; }
    std::size_t bindSize() const { return m_bindSize; }

    // Hands every row of tables()[index] to row, values in column order:
    // null, qlonglong, double, QString or QByteArray.
    ReadResult readTable(int index, const RowFn& row);

private:
    struct Handle;
    bool readCatalog();
    std::unique_ptr<Handle> m_handle;
    std::vector<JetTable> m_tables;
    QString m_path;
    QString m_error;
    bool m_jet3 = false;
    std::size_t m_bindSize = DefaultBindSize;
};

} // namespace kv::jet
