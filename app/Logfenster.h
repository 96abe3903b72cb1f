#pragma once

// The program's own window for the conversion log, opened when the user wants to see the log
// after a run. The log lists the problem lines one after another; the person at the federation
// needs the other view: which kinds of problems there are, how many of each, and the lines of
// one kind to mend in TVX. The window shows that view ("Übersicht") beside the whole log decoded
// from Windows-1252 ("Logdatei"), saves the lines chosen as a CSV file, and still hands the log
// to the desktop's text viewer on request. It is not modal: the main window stays usable.

#include "questions/Questions.h"
#include "uebersicht/Problemuebersicht.h"

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTabWidget;

namespace fenster {

class Logseite;
class Uebersichtsseite;

class Logfenster : public QWidget
{
    Q_OBJECT

public:
    // What opens the log in the desktop's viewer; true when a viewer was started.
    using Logbetrachter = std::function<bool(const std::string& pfad)>;

    Logfenster(questions::Questions& fragen, Logbetrachter betrachter, QWidget* parent = nullptr);

    // Reads the log and shows it, the largest group of problems chosen. When the log cannot be
    // read, the user is told and the result is false.
    bool logZeigen(const std::string& pfad);

private:
    void CmdCsv_Click();
    void CmdEditor_Click();
    std::string csvVorschlag() const;

    questions::Questions& m_fragen;
    Logbetrachter m_betrachter;
    std::string m_pfad;
    uebersicht::Problemuebersicht m_uebersicht;
    QTabWidget* m_seiten = nullptr;
    Uebersichtsseite* m_uebersichtsseite = nullptr;
    Logseite* m_logseite = nullptr;
    QLabel* m_bezStatus = nullptr;
};

} // namespace fenster
