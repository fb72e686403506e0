// libmdb's header wraps its own includes of glib and iconv in extern "C";
// glib's C++ templates must be seen outside that block, so they come first.
#include <glib.h>
#include <iconv.h>
#include <locale.h>
#include <mdbtools.h>

#include "jetimport/JetReader.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include <charconv>
#include <cmath>
#include <cstring>

namespace kv::jet
{

namespace
{

// Four-digit years and a fixed layout, whatever the locale.
const char* const kDateFormat = "%Y-%m-%d %H:%M:%S";
// Room for any value that is not a memo or an object: such a value lies
// within one page, and a byte becomes at most three in UTF-8.
constexpr std::size_t kSmallBuffer = 64 * 1024;
// libmdb reads object pieces into the bound buffer in chunks of up to 1 MiB.
constexpr std::size_t kObjectBuffer = 1024 * 1024 + 4096;
// libmdb may write a terminating zero just past the size it was given.
constexpr std::size_t kSlack = 64;

struct TableDef {
    MdbTableDef* def = nullptr;
    ~TableDef()
    {
        if (def)
            mdb_free_tabledef(def);
    }
};

MdbColumn* columnAt(MdbTableDef* table, unsigned i)
{
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
}

ColumnKind kindOf(int jetType)
{
    switch (jetType) {
    case MDB_BOOL:
        return ColumnKind::Boolean;
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
        return ColumnKind::Integer;
    case MDB_FLOAT:
    case MDB_DOUBLE:
        return ColumnKind::Float;
    case MDB_MONEY:
        return ColumnKind::Currency;
    case MDB_NUMERIC:
        return ColumnKind::Numeric;
    case MDB_DATETIME:
        return ColumnKind::Date;
    case MDB_MEMO:
        return ColumnKind::Memo;
    case MDB_BINARY:
    case MDB_OLE:
        return ColumnKind::Binary;
    case MDB_REPID:
        return ColumnKind::Guid;
    default:
        return ColumnKind::Text;
    }
}

// Jet keeps a date as days since 1899-12-30 with the time of day as the
// fraction, whose magnitude counts even for days before that date. libmdb
// converts only 1899-12-30 to about 2700; this covers the rest.
QString dateText(double stored)
{
    const double days = std::trunc(stored);
    qint64 seconds = std::llround(std::fabs(stored - days) * 86400.0);
    QDate date = QDate(1899, 12, 30).addDays(qint64(days));
    if (seconds >= 86400) {
        date = date.addDays(1);
        seconds -= 86400;
    }
    return date.toString(QStringLiteral("yyyy-MM-dd ")) +
           QTime(0, 0).addSecs(int(seconds)).toString(QStringLiteral("HH:mm:ss"));
}

// A Single as the shortest decimal that reads back as the same Single, so
// 3.14 stays 3.14 instead of 3.1400001049041748.
double singleValue(float f)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, f);
    return QByteArray(buffer, int(result.ptr - buffer)).toDouble();
}

bool isJetHeader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(20);
    return head.size() == 20 && head.startsWith(QByteArray("\0\1\0\0", 4)) &&
           (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

} // namespace

QString JetColumn::sqlType() const
{
    switch (kind) {
    case ColumnKind::Boolean:
        return QStringLiteral("BOOLEAN");
    case ColumnKind::Integer:
        return jetType == MDB_BYTE  ? QStringLiteral("TINYINT")
               : jetType == MDB_INT ? QStringLiteral("SMALLINT")
                                    : QStringLiteral("INTEGER");
    case ColumnKind::Float:
        return jetType == MDB_FLOAT ? QStringLiteral("FLOAT") : QStringLiteral("DOUBLE");
    case ColumnKind::Currency:
        return QStringLiteral("REAL");
    case ColumnKind::Numeric:
        return QStringLiteral("NUMERIC(%1,%2)").arg(precision).arg(scale);
    case ColumnKind::Date:
        return QStringLiteral("DATETIME");
    case ColumnKind::Text:
        return QStringLiteral("VARCHAR(%1)").arg(size);
    case ColumnKind::Memo:
        return QStringLiteral("TEXT");
    case ColumnKind::Binary:
        return QStringLiteral("BLOB");
    case ColumnKind::Guid:
        return QStringLiteral("VARCHAR(38)");
    }
    return QStringLiteral("TEXT");
}

struct JetReader::Handle {
    MdbHandle* mdb = nullptr;
    std::vector<MdbCatalogEntry*> entries; // parallel to m_tables
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

JetReader::JetReader() = default;

JetReader::~JetReader() = default;

void JetReader::close()
{
    m_handle.reset();
    m_tables.clear();
    m_jet3 = false;
}

QString JetReader::versionName() const
{
    if (!m_handle)
        return QString();
    switch (m_handle->mdb->f->jet_version) {
    case MDB_VER_JET3:
        return QStringLiteral("Jet 3 (Access 97)");
    case MDB_VER_JET4:
        return QStringLiteral("Jet 4 (Access 2000-2003)");
    default:
        return QStringLiteral("ACE (Access 2007 or later)");
    }
}

bool JetReader::open(const QString& path, const QString& charset)
{
    close();
    m_path = path;
    m_error.clear();
    const QFileInfo info(path);
    if (!info.isFile()) {
        m_error = QStringLiteral("%1: no such file.").arg(path);
        return false;
    }
    if (!isJetHeader(path)) {
        m_error = QStringLiteral("%1 is not a Microsoft Jet database (.mdb) or cannot be read.")
                      .arg(path);
        return false;
    }
    // MDB_NOFLAGS opens the file read-only.
    MdbHandle* mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb) {
        m_error = QStringLiteral("%1: the Jet database cannot be opened.").arg(path);
        return false;
    }
    m_handle = std::make_unique<Handle>();
    m_handle->mdb = mdb;
    m_jet3 = mdb->f->jet_version == MDB_VER_JET3;
    // Jet writes whole pages; anything else is a file cut short in copying.
    if (mdb->fmt->pg_size <= 0 || info.size() % mdb->fmt->pg_size != 0) {
        m_error = QStringLiteral("%1 is damaged: it ends in the middle of a page.").arg(path);
        close();
        return false;
    }

    // libmdb picks its text conversion from the environment and, for Jet 3,
    // from a code page in the header that Access 97 sets to the machine's
    // Western page regardless of the data. Both are replaced here: UTF-8 out,
    // Unicode or the given code page in.
    const QByteArray source = !m_jet3             ? QByteArray("UCS-2LE")
                              : charset.isEmpty() ? QByteArray("CP1250")
                                                  : charset.toLatin1();
    iconv_t in = iconv_open("UTF-8", source.constData());
    iconv_t out = iconv_open(source.constData(), "UTF-8");
    if (in == iconv_t(-1) || out == iconv_t(-1)) {
        if (in != iconv_t(-1))
            iconv_close(in);
        if (out != iconv_t(-1))
            iconv_close(out);
        m_error = QStringLiteral("Unknown character set \"%1\".").arg(charset);
        close();
        return false;
    }
    mdb_iconv_close(mdb);
    mdb->iconv_in = in;
    mdb->iconv_out = out;
    mdb_set_date_fmt(mdb, kDateFormat);
    mdb_set_shortdate_fmt(mdb, kDateFormat);
    mdb_set_boolean_fmt_numbers(mdb);
    if (!readCatalog()) {
        close();
        return false;
    }
    return true;
}

bool JetReader::readCatalog()
{
    MdbHandle* mdb = m_handle->mdb;
    // Every Jet database lists at least its own system tables; an empty
    // list means the catalogue pages could not be read.
    if (!mdb_read_catalog(mdb, MDB_TABLE) || mdb->num_catalog == 0) {
        m_error = QStringLiteral("%1: the list of tables cannot be read.").arg(m_path);
        return false;
    }
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (!mdb_is_user_table(entry))
            continue;
        const QString name = QString::fromUtf8(entry->object_name);
        TableDef table{mdb_read_table(entry)};
        if (!table.def || !mdb_read_columns(table.def)) {
            m_error =
                QStringLiteral("%1: the definition of table %2 cannot be read.").arg(m_path, name);
            return false;
        }
        JetTable t;
        t.name = name;
        t.rowCount = table.def->num_rows;
        for (unsigned c = 0; c < table.def->num_cols; ++c) {
            const MdbColumn* col = columnAt(table.def, c);
            JetColumn jc;
            jc.name = QString::fromUtf8(col->name);
            jc.jetType = col->col_type;
            jc.kind = kindOf(col->col_type);
            // A Jet 4 text column records its size in bytes of UCS-2.
            jc.size = col->col_type == MDB_TEXT && !m_jet3 ? col->col_size / 2 : col->col_size;
            jc.precision = col->col_prec;
            jc.scale = col->col_scale;
            t.columns.push_back(jc);
        }
        m_tables.push_back(std::move(t));
        m_handle->entries.push_back(entry);
    }
    return true;
}

JetReader::ReadResult JetReader::readTable(int index, const RowFn& row)
{
    if (!m_handle || index < 0 || index >= int(m_tables.size())) {
        m_error = QStringLiteral("No such table.");
        return ReadResult::Failed;
    }
    MdbHandle* mdb = m_handle->mdb;
    const JetTable& jt = m_tables[size_t(index)];
    TableDef table{mdb_read_table(m_handle->entries[size_t(index)])};
    if (!table.def || !mdb_read_columns(table.def) ||
        table.def->num_cols != unsigned(jt.columns.size())) {
        m_error = QStringLiteral("%1: table %2 cannot be read.").arg(m_path, jt.name);
        return ReadResult::Failed;
    }
    MdbTableDef* t = table.def;
    mdb_set_bind_size(mdb, m_bindSize);
    const unsigned columns = t->num_cols;
    std::vector<std::vector<char>> buffers(columns);
    std::vector<int> lengths(columns, 0);
    for (unsigned c = 0; c < columns; ++c) {
        const JetColumn& jc = jt.columns[c];
        std::size_t size = kSmallBuffer;
        if (jc.kind == ColumnKind::Memo)
            size = std::max(m_bindSize, kSmallBuffer);
        else if (jc.jetType == MDB_OLE)
            size = std::max(m_bindSize, kObjectBuffer);
        buffers[c].assign(size + kSlack, '\0');
        mdb_bind_column(t, int(c) + 1, buffers[c].data(), &lengths[c]);
    }

    mdb_rewind_table(t);
    qint64 rows = 0;
    QVariantList values;
    while (mdb_fetch_row(t)) {
        values.clear();
        bool mayBeCut = false;
        for (unsigned c = 0; c < columns; ++c) {
            MdbColumn* col = columnAt(t, c);
            const JetColumn& jc = jt.columns[c];
            const char* text = buffers[c].data();
            if (jc.kind == ColumnKind::Boolean) {
                values << qlonglong(text[0] == '1' ? 1 : 0);
                continue;
            }
            if (col->cur_value_len == 0) {
                values << QVariant();
                continue;
            }
            const unsigned char* raw = mdb->pg_buf + col->cur_value_start;
            switch (jc.kind) {
            case ColumnKind::Integer:
                values << QByteArray(text).toLongLong();
                break;
            case ColumnKind::Float:
                values << (jc.jetType == MDB_FLOAT
                               ? singleValue(mdb_get_single(mdb->pg_buf, col->cur_value_start))
                               : mdb_get_double(mdb->pg_buf, col->cur_value_start));
                break;
            case ColumnKind::Currency:
                values << QByteArray(text).toDouble();
                break;
            case ColumnKind::Date: {
                const double stored = mdb_get_double(mdb->pg_buf, col->cur_value_start);
                values << (stored >= 0.0 && stored <= 1e6 ? QString::fromLatin1(text)
                                                          : dateText(stored));
                break;
            }
            case ColumnKind::Text:
            case ColumnKind::Memo: {
                const std::size_t n = std::strlen(text);
                // The conversion stops short of the buffer's end when a value
                // does not fit; a value this close to it may have been cut.
                if (n + 8 >= m_bindSize)
                    mayBeCut = true;
                values << QString::fromUtf8(text, qsizetype(n));
                break;
            }
            case ColumnKind::Binary:
                if (jc.jetType == MDB_OLE) {
                    std::size_t size = 0;
                    void* data = mdb_ole_read_full(mdb, col, &size);
                    values << QByteArray(static_cast<const char*>(data), qsizetype(size));
                    free(data);
                } else {
                    values << QByteArray(reinterpret_cast<const char*>(raw),
                                         qsizetype(col->cur_value_len));
                }
                break;
            case ColumnKind::Numeric:
            case ColumnKind::Guid:
            case ColumnKind::Boolean:
                values << QString::fromLatin1(text);
                break;
            }
        }
        if (mayBeCut) {
            if (m_bindSize >= MaxBindSize) {
                m_error = QStringLiteral("%1: a text in table %2 is longer than %3 bytes.")
                              .arg(m_path, jt.name)
                              .arg(MaxBindSize);
                return ReadResult::Failed;
            }
            m_bindSize = std::min(MaxBindSize, m_bindSize * 2);
            return ReadResult::Retry;
        }
        row(values);
        ++rows;
    }
    // libmdb ends the scan quietly when a page cannot be read; the row count
    // of the table's definition tells a damaged file from the end.
    if (rows != qint64(t->num_rows)) {
        m_error = QStringLiteral("%1: only %2 of the %3 rows of table %4 could be read.")
                      .arg(m_path)
                      .arg(rows)
                      .arg(t->num_rows)
                      .arg(jt.name);
        return ReadResult::Failed;
    }
    return ReadResult::Done;
}

} // namespace kv::jet
