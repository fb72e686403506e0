#pragma once

#include <QDialog>

namespace kv
{

// About box with the product title, version and the maker's address.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    void applyTexts();
    // The version as shown: the last component cut off ("1.0.0.12" -> "1.0.0");
    // nothing when no full stop is left.
    static QString shownVersion(const QString& fileVersion);
};

} // namespace kv
