#pragma once

// The sample Jet databases in the shared data folder. A missing sample is a
// failure, not a skip: the import would otherwise go untested unnoticed.
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

namespace kvtest
{

inline QString jetSample(const char* name)
{
    const QString path = QStringLiteral(KV_SHARED_DIR "/data/mdb/") + QLatin1String(name);
    if (!QFileInfo(path).isFile())
        ADD_FAILURE() << "Sample Jet database missing: " << path.toStdString()
                      << " (the shared data folder belongs beside the source tree)";
    return path;
}

} // namespace kvtest
