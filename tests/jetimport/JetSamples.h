#pragma once

// The sample Jet databases kept with the tests (tests/data/jet). A missing
// sample is a failure, not a skip: the import would otherwise go untested.
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

namespace kvtest
{

inline QString jetSample(const char* name)
{
    const QString path = QStringLiteral(KV_JET_SAMPLES "/") + QLatin1String(name);
    if (!QFileInfo(path).isFile())
        ADD_FAILURE() << "Sample Jet database missing: " << path.toStdString();
    return path;
}

} // namespace kvtest
