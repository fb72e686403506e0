#pragma once

#include <QImage>
#include <QMutex>
#include <QSemaphore>
#include <QString>
#include <QThreadPool>
#include <functional>

namespace kv
{

// Draws, encodes and writes pictures on worker threads while the caller
// goes on writing the database: each picture depends only on its firm, so
// the files are the same whichever thread makes them. The number of waiting
// pictures is bounded and each should hold only what it shows, so memory
// stays bounded however many firms there are.
class PictureWriter
{
public:
    PictureWriter();
    ~PictureWriter();
    PictureWriter(const PictureWriter&) = delete;
    PictureWriter& operator=(const PictureWriter&) = delete;

    // format "PNG" or "JPG" (a literal: it is kept until the picture is written).
    void add(std::function<QImage()> draw, const QString& path, const char* format);
    // Waits for every picture; false with the first failure's text.
    bool finish(QString* error);
    bool failed() const;

private:
    QThreadPool m_pool;
    QSemaphore m_slots;
    mutable QMutex m_mutex;
    QString m_error;
};

} // namespace kv
