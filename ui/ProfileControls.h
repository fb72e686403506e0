#pragma once

#include "domain/ProfileLayout.h"

#include <QColor>
#include <array>
#include <utility>
#include <vector>

class QFrame;
class QLabel;
class QListWidget;
class QObject;
class QPlainTextEdit;
class QTableWidget;
class QWidget;

namespace kv
{

class ElidedLabel;

// The controls of the company profile, built once into the profile's
// content widget: a hidden panel per section with its captions, values,
// grid, list and memo. The profile window fills and places them; the
// filter given watches the panels, the links and the industry list.
class ProfileControls
{
public:
    static const QColor Navy;
    static const QColor Blue;
    static constexpr int ValueLeft = 90; // the data texts' scroll boxes start here at least
    static constexpr int Heading = 20;   // heading strips above grid, list and memo

    ProfileControls(QWidget* content, QWidget* window, QObject* filter);

    static void setLook(QLabel* label, const QColor& colour, bool bold);

    std::array<QFrame*, ProfilePanelCount> pan{};
    QLabel* logo = nullptr;
    QWidget* scbAdresa = nullptr;
    QWidget* scbKontakty = nullptr;
    std::array<ElidedLabel*, 7> address{}; // peno, ico, nazev, ulice, misto, psc, okres
    ElidedLabel* tel = nullptr;
    ElidedLabel* fax = nullptr;
    ElidedLabel* email = nullptr; // DBText10
    ElidedLabel* www = nullptr;   // DBText11
    QLabel* reklamy = nullptr;
    // Captions and headings with their text ids, for ApplyTexts.
    std::vector<std::pair<QLabel*, int>> captions;
    QTableWidget* grid = nullptr;
    QListWidget* industries = nullptr;
    ElidedLabel* webKV = nullptr;
    QPlainTextEdit* note = nullptr;
    QLabel* hint = nullptr; // HintWindow

private:
    QFrame* makePanel(ProfilePanel p, const char* name);
    QLabel* makeHeading(QWidget* parent, int textId);
    QLabel* makeCaption(QWidget* parent, int textId);
    void buildAdresa();
    void buildKontakty();
    void buildOsoby();
    void buildZatrid();
    void buildLines();

    QWidget* m_content;
    QObject* m_filter;
};

} // namespace kv
