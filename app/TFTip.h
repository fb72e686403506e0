#pragma once

#include <QDialog>

namespace kv
{

// Small window that explains how a selection is built.
class TFTip : public QDialog
{
    Q_OBJECT
public:
    explicit TFTip(QWidget* parent = nullptr);
    void ApplyTexts();
    static QString tipText(int langBase);
};

} // namespace kv
