#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

namespace kv
{

// The lines of a text taken one by one from its front, without splitting the
// whole text first: CR LF, a lone CR or a lone LF ends a line, and a last
// line without an end still counts (as listfile::split). A record of
// millions of tiny lines thus costs its values, not a list of every line.
class LineCursor
{
public:
    // text must outlive the cursor.
    explicit LineCursor(QStringView text);

    // Lines not taken yet.
    qsizetype remaining() const { return m_remaining; }
    // The next line; an empty string when none remains. Lines of one or two
    // characters share one string per distinct text, as keys and short
    // texts repeat.
    QString next();

private:
    QStringView nextView();

    QStringView m_text;
    qsizetype m_pos = 0;
    qsizetype m_remaining = 0;
    QHash<quint64, QString> m_short;
};

} // namespace kv
