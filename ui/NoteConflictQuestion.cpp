#include "ui/NoteConflictQuestion.h"

#include "core/StringTable.h"

#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace kv
{

std::optional<NoteEdit::Answer> NoteConflictQuestion::ask(QWidget* parent, const Note& theirs)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("FKonflikt"));
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(loadStr(251));
    const QString text = theirs.revision == 0 ? loadStr(258) : theirs.text;
    const QString when = theirs.revision == 0 ? QString() : NoteStore::timeText(theirs.changed);
    box.setText(loadStr(252).arg(theirs.author, when, text));
    struct Choice {
        const char* name;
        int textId;
        NoteEdit::Answer answer;
    };
    const Choice choices[] = {
        {"btnJejich", 253, NoteEdit::Answer::KeepTheirs},
        {"btnPrepsat", 254, NoteEdit::Answer::Overwrite},
        {"btnObe", 255, NoteEdit::Answer::KeepBoth},
    };
    std::vector<std::pair<QAbstractButton*, NoteEdit::Answer>> buttons;
    for (const Choice& c : choices) {
        QPushButton* b = box.addButton(loadStr(c.textId), QMessageBox::AcceptRole);
        b->setObjectName(QLatin1String(c.name));
        buttons.emplace_back(b, c.answer);
    }
    QPushButton* back = box.addButton(loadStr(235), QMessageBox::RejectRole);
    back->setObjectName(QStringLiteral("btnZpet"));
    // Keeping both loses nothing, so it is what Enter chooses.
    box.setDefaultButton(static_cast<QPushButton*>(buttons.back().first));
    box.setEscapeButton(back);
    box.exec();
    for (const auto& [button, answer] : buttons)
        if (box.clickedButton() == button)
            return answer;
    return std::nullopt;
}

} // namespace kv
