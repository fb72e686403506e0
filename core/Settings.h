#pragma once

#include <QString>
#include <array>

namespace kv
{

// The program's settings, read from the configuration and written back to it:
// the language, the data home and the display flags. Which windows are open
// is not a setting; the windows know that themselves (ui/MainWindow).
// The display flags are indexed by the entry numbers of the configuration
// key Nast; entries without a name are spare and kept for writing back.
enum NastEntry {
    NastLogo = 0,
    NastAdresa = 1,
    NastKontakty = 2,
    NastOsoby = 3,
    NastZatrid = 4,
    NastPozn = 17,
    NastReklamy = 18,
    NastRadky = 22,
    NastWeb = 23,
    NastNazev = 24,
    NastUlice = 26,
    NastMisto = 27,
    NastPsc = 28,
    NastOkres = 29,
};
constexpr int NastCount = 30;

struct Settings {
    int langBase = 0; // 0 Czech, 500 English
    QString dataHome; // empty until the configuration is read
    // libpq connection string of a server holding the company data; empty:
    // the data home's own SQLite file. Pictures, help and pages always come
    // from the data home.
    QString database;
    std::array<bool, NastCount> nast;                 // display flags, all on by default
    std::array<unsigned char, NastCount> nastEntries; // raw bytes as read, for the spare entries
    Settings();
};

// The one instance of the settings.
Settings& settings();

// Normalises a directory path written with backslashes (see Settings.cpp).
QString cleanPath(const QString& path);

// Replaces every occurrence of find in text, left to right, never searching
// a replacement again. Without caseSensitive only ASCII letters fold.
QString replaceAll(const QString& text, const QString& find, const QString& replacement,
                   bool caseSensitive);

// Joins the data home with a path below it, using '/' as separator.
QString dataPath(const QString& relative);

} // namespace kv
