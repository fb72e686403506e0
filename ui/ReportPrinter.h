#pragma once

#include <QObject>
#include <memory>

class QPrinter;

namespace kv
{

class PageSink;
class Report;

// A report's printer choice: the printer (or a PDF file), copies and the page
// range (0/0 meaning all pages); the orientation is the report's own, since it
// lays out the pages. It hangs on the report as a child object, so the
// settings dialog and the preview share it. The printer object is made on
// first use so that a report that is only previewed never talks to the print
// system.
class ReportPrinter : public QObject
{
    Q_OBJECT
public:
    // The report's printer choice, made on first use.
    static ReportPrinter& of(Report& report);
    ~ReportPrinter() override;

    QPrinter& printer();
    int copies = 1;
    int firstPage = 0;
    int lastPage = 0;

    // Generates the report straight to the chosen printer. A printer set to
    // a PDF file writes it through Report::writePdf, copies included, so a
    // failed write keeps the earlier file; throws Error::report naming the
    // reason.
    bool print();
    // Generates the report to printer, drawing pages firstPage..lastPage (0/0
    // all) with the report's orientation and copyCount copies. The drawn pages
    // are also copied to record when given.
    static bool printTo(Report& report, QPrinter& printer, int firstPage, int lastPage,
                        int copyCount = 1, PageSink* record = nullptr);

private:
    explicit ReportPrinter(Report& report);
    Report& m_report;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace kv
