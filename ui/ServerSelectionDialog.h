#pragma once

#include "domain/ServerSelections.h"

#include <QDialog>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kv
{

// The list of the selections saved on the server (name, author, time saved)
// for choosing one to load, or a name to save under: picking a row fills the
// name, which can also be typed. Object names: lvVybery, edNazev, buttons.
class ServerSelectionDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Load, Save };

    ServerSelectionDialog(Mode mode, const std::vector<ServerSelections::Entry>& entries,
                          QWidget* parent = nullptr);

    // The chosen or typed name, as given (spaces kept; the store refuses blank names).
    QString name() const;
    void setName(const QString& name);

private:
    QPushButton* okButton() const;
    void updateOk();
    Mode m_mode;
    QTreeWidget* m_list = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLineEdit* m_name = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace kv
