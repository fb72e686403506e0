#pragma once

#include <QDialog>

namespace kv
{

// Small window that explains how a selection is built.
class SelectionTipDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SelectionTipDialog(QWidget* parent = nullptr);
    void applyTexts();
    static QString tipText(int langBase);
};

} // namespace kv
