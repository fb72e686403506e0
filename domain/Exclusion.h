#pragma once

// Taking single firms out of the company set without touching the selection
// criteria. The excluded firms live in DataModule::excludedFirms (oldest first) and
// are enforced by one condition appended to TFirma's filter:
//
//   (misto_id in(3,17))  ->  ((misto_id in(3,17))) and (not peno in (1017,20455))
//
// The exclusion connector is the lower-case " and "; the selection writes its
// own connectors " And " / " Or ", which is how the tail is found again.

#include "domain/DataModule.h"
#include "engine/Filter.h"

#include <QList>
#include <QString>
#include <functional>

namespace kv
{

// "(not peno in (1017,20455))", or empty for an empty list.
QString exclusionClause(const QList<ExcludedFirm>& firms);

// True when the whole text is one parenthesised group: the bracket opened by
// its first character closes at its last one ("((a)) Or (b)" is not).
bool isOneGroup(const QString& text);

// TFirma's filter with the old exclusion tail cut off and clause appended.
QString composeExclusionFilter(const QString& filter, const QString& clause);
// The same for a filter that carries number lists; they stay carried.
engine::Filter composeExclusionFilter(const engine::Filter& filter, const QString& clause);

// Text 220 and the count, or empty text for no excluded firm.
QString exclusionStatusText(qsizetype count);

class Exclusion
{
public:
    enum class Result { Excluded, Refused };

    explicit Exclusion(DataModule& dm) : m_dm(dm) {}

    // The second status panel's text after every rewrite of the filter.
    void setStatusSink(std::function<void(const QString&)> sink) { m_status = std::move(sink); }
    // The wait window lives with the program's windows.
    void setWaitWindow(std::function<void()> show, std::function<void()> hide)
    {
        m_showWait = std::move(show);
        m_hideWait = std::move(hide);
    }

    DataModule& dm() { return m_dm; }
    QList<ExcludedFirm>& firms() { return m_dm.excludedFirms(); }

    // Excludes the current firm of TFirma; the firm that followed it becomes
    // current (the new last one when it was the last). Refused, with nothing
    // changed, when the set holds fewer than two firms. An engine error (a
    // filter too long for it) leaves list and filter as they were.
    Result excludeCurrent();

    QString exclusionClause() const;
    // Rewrites TFirma's filter from the list, views suspended so they redraw
    // once, and updates the status text.
    void applyExclusion();
    // ApplyExclusion when the list is not empty, otherwise nothing.
    void reapplyExclusion();
    // Empties the list; leaves the filter and the status text alone.
    void clearExclusions();

    // Restores the entries at the given list indexes, then rewrites the filter.
    void restoreSelected(QList<int> indexes);
    // Restores every entry behind the wait window.
    void restoreAll();

private:
    void showWait();
    void hideWait();

    DataModule& m_dm;
    std::function<void(const QString&)> m_status;
    std::function<void()> m_showWait;
    std::function<void()> m_hideWait;
};

} // namespace kv
