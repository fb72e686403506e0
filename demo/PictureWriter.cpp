#include "demo/PictureWriter.h"

#include "demo/DemoPictures.h"

#include <QThread>
#include <algorithm>

namespace kv
{

namespace
{

// Encoding takes longer than making a firm: on two cores a few million firms
// leave a backlog of about a hundred thousand pictures, a few hundred bytes
// each.
constexpr int kWaiting = 1 << 18;

} // namespace

PictureWriter::PictureWriter() : m_slots(kWaiting)
{
    // Encoding is most of a picture's cost and a large home has hundreds of
    // thousands: every core draws, also while the database is being finished.
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    m_pool.setThreadPriority(QThread::IdlePriority);
}

PictureWriter::~PictureWriter()
{
    m_pool.waitForDone();
}

void PictureWriter::add(std::function<QImage()> draw, const QString& path, const char* format)
{
    m_slots.acquire();
    m_pool.start([this, draw = std::move(draw), path, format] {
        if (!failed()) {
            QString error;
            if (!DemoPictures::save(draw(), path, format, &error)) {
                const QMutexLocker lock(&m_mutex);
                if (m_error.isEmpty())
                    m_error = error;
            }
        }
        m_slots.release();
    });
}

bool PictureWriter::failed() const
{
    const QMutexLocker lock(&m_mutex);
    return !m_error.isEmpty();
}

bool PictureWriter::finish(QString* error)
{
    m_pool.waitForDone();
    const QMutexLocker lock(&m_mutex);
    if (!m_error.isEmpty() && error)
        *error = m_error;
    return m_error.isEmpty();
}

} // namespace kv
