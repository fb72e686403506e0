#pragma once

// Engine layer over the read-only company database (SQLite).
//
//   Database db(path);                      // read-only; throws Error::engine with SQLite's reason
//   TableCursor firms(db, "firma");
//   firms.setSort("nazev");                 // "placena DESC, nazev"; integers sort numerically,
//                                           // texts in Czech order
//   firms.setFilter("peno in(200219)");     // Jet-style filter, see JetDialect.h
//   firms.setFiltered(true);
//   firms.addCalculatedField("Prosez");
//   firms.setCalcFields([](Record& r) { r.setValue("Prosez", r.text("nazev")); });
//   QObject::connect(&firms, &TableCursor::afterScroll, ...);  // after every move
//   firms.open();                           // stands on the first row
//   firms.recordCount(); firms.position(); firms.setPosition(5);
//   firms.first(); firms.next(); firms.prior(); firms.last(); firms.eof(); firms.bof();
//   firms.text("nazev"); firms.integer("peno"); firms.isNull("email"); firms.current();
//   firms.rowAt(p)                          // row at a 1-based position: no move, no notification
//   firms.suspendViews(); ... firms.resumeViews();   // nested; one notification if anything moved
//
//   TableCursor persons(db, "osoby");
//   persons.setSort("sortno");
//   persons.setMaster(&firms, "peno");      // "peno;kod" for several link fields
//   persons.open();                         // follows every move of the master from now on
//
//   QueryCursor q(db);                      // any SELECT of the program, as lines of text
//   q.setSql({"select osoba from osoby ", "where peno=1", "  and sortno=1 "});
//   q.open(); while (!q.eof()) { q.text("osoba"); q.next(); }
//
// Setting the filter, the switch or the sort of an open cursor runs it again
// and puts it on the first row. A filter or sort that fails leaves the cursor
// as it was and throws Error::engine. Reading a field of an empty cursor gives
// empty text or 0; an unknown field name throws.
//
// A cursor holds only the ordered row ids of its set; rows are read on demand
// through a small cache, so a set of a million firms opens, counts and jumps
// without reading every row. A move whose row cannot be read (a lost server
// connection) throws and leaves the cursor where it was. On a server whose
// connection had to pin another version (Database::versionEpoch) those row
// ids mean nothing: the cursor's next move or run reads its set again with
// its filter, sort and master, standing on the first row, and rowAt throws
// until then.

#include "engine/Filter.h"
#include "engine/Record.h"

#include <QCache>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kv::engine
{

class Database;
class Statement;
struct TableInfo;
struct SortTerm;
struct Translated;

class TableCursor : public QObject
{
    Q_OBJECT
public:
    using CalcFields = std::function<void(Record&)>;

    TableCursor(Database& db, const QString& table, QObject* parent = nullptr);
    ~TableCursor() override;

    QString tableName() const;

    void setSort(const QString& sort);
    QString sort() const { return m_sort; }
    void setFilter(const QString& filter);
    void setFilter(const Filter& filter);
    // The filter's text, its number lists spelled out.
    QString filter() const { return m_filter.text(); }
    // The filter as installed, number lists carried as numbers: what another
    // cursor takes over without spelling and reading them again.
    const Filter& filterWithSets() const { return m_filter; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }
    // Both at once: one run, one notification.
    void setFilter(const QString& filter, bool on);
    void setFilter(const Filter& filter, bool on);

    void setMaster(TableCursor* master, const QString& linkFields);
    TableCursor* master() const { return m_master; }

    void addCalculatedField(const QString& name);
    void setCalcFields(CalcFields fill) { m_calc = std::move(fill); }

    void open();
    void close();
    bool isOpen() const { return m_open; }
    // Runs the cursor again (for example after calculated fields changed meaning).
    void refresh();

    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_rows.empty(); }

    int recordCount() const { return int(m_rows.size()); }
    int position() const { return m_index + 1; } // 1-based; 0 when empty
    void setPosition(int position);              // clamped into 1..recordCount

    QVariant value(const QString& field) const;
    QString text(const QString& field) const { return value(field).toString(); }
    int integer(const QString& field) const { return value(field).toInt(); }
    // Whole 64 bits: company numbers go beyond what integer() holds.
    qint64 int64(const QString& field) const { return value(field).toLongLong(); }
    bool isNull(const QString& field) const { return value(field).isNull(); }
    const Record& current() const { return m_current; }
    QStringList fieldNames() const;

    // Row at a 1-based position without moving; invalid Record when out of range.
    Record rowAt(int position) const;
    QVariant fieldAt(int position, const QString& field) const;

    void suspendViews();
    void resumeViews();
    bool viewsSuspended() const { return m_suspend > 0; }

signals:
    void afterScroll();

private:
    bool sortsInMemory(const std::vector<SortTerm>& terms) const;
    Translated buildQuery(const std::vector<SortTerm>& terms, bool memorySort) const;
    void sortByRanks(std::vector<qint64>& rows, const std::vector<SortTerm>& terms) const;
    // The whole table in one ascending Czech order, when the cursor shows
    // every row and the order is one the rank index holds.
    std::optional<std::vector<qint64>> wholeTableInOrder(const std::vector<SortTerm>& terms) const;
    void readRows(const Translated& q, std::vector<qint64>& rows);
    void run();
    void finishRun(std::vector<qint64>& rows);
    void moveTo(int index, bool bof, bool eof);
    // Its rows came from a version the server connection no longer reads.
    bool stale() const;
    void catchUp();
    // The statements that read a row, and the fields they give.
    void prepareReads();
    void moved();
    void notifyMoved();
    void followMaster();
    Record fetch(qint64 rowid) const;
    // The row at a 0-based index; on a server with the rows around it.
    Record fetchAt(size_t index) const;
    void prefetch(size_t index) const;
    Record record(const Statement& row, int columns) const;
    void loadCurrent();

    Database& m_db;
    const TableInfo* m_table;
    QString m_sort;
    Filter m_filter;
    bool m_filtered = false;
    QPointer<TableCursor> m_master;
    QStringList m_linkFields;
    QList<TableCursor*> m_details;
    QStringList m_calcNames;
    CalcFields m_calc;

    bool m_open = false;
    std::vector<qint64> m_rows;
    int m_index = -1;
    bool m_eof = true;
    bool m_bof = true;
    Record m_current;
    std::shared_ptr<const FieldSet> m_fields;
    std::unique_ptr<Statement> m_fetch;
    std::unique_ptr<Statement> m_block; // a server's rows by the block
    std::unique_ptr<Statement> m_list;
    QString m_listSql;
    mutable QCache<qint64, Record> m_cache{256};

    quint64 m_epoch = 0; // the Database's versionEpoch when the rows were read
    int m_suspend = 0;
    bool m_pending = false;
};

} // namespace kv::engine
