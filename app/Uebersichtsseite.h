#pragma once

// The page "Übersicht" of the log window: above, the kinds of problems of each step with the
// number of lines and a bar, largest first; below, the lines of the kind chosen, as the export
// holds them, with the persons of a duplicate report. "Alle Problemzeilen" and a step's own row
// list every line of the log or of the step.

#include "uebersicht/Problemuebersicht.h"

#include <QWidget>

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace fenster {

class Uebersichtsseite : public QWidget
{
    Q_OBJECT

public:
    explicit Uebersichtsseite(QWidget* parent = nullptr);

    // Shows the overview, which must outlive the page or the next call, with its largest group chosen.
    void anzeigen(const uebersicht::Problemuebersicht& uebersicht);

    // The reasons of the lines listed below, in their order: what "Als CSV speichern…" writes.
    const std::vector<uebersicht::Fundstelle>& auswahl() const { return m_auswahl; }

    // What is chosen, for a file name: "Alle", a step's name, or step and kind.
    QString auswahlName() const;

private:
    void gruppeGewaehlt();
    void zeilenAnsteuern();
    void zeilenZeigen(bool mitSchritt);

    const uebersicht::Problemuebersicht* m_uebersicht = nullptr;
    std::vector<uebersicht::Fundstelle> m_auswahl;
    QTreeWidget* m_gruende = nullptr;
    QTreeWidget* m_zeilen = nullptr;
};

} // namespace fenster
