#pragma once

// The program's only window. The club official chooses the export folder of the member
// administration, the club database to create and the competition definitions file, presses
// Start and watches the counters grow; the conversion itself is the core's run, and the window
// is its front end: it shows the progress and the database's content, lets Abbruch reach the
// run between two input lines, and asks the run's questions.
//
// The controls carry their established names (AnzVDb, CmdStart, ...) as object names; the
// handlers are named after control and event (CmdStart_Click).

#include "import/Exportdateien.h"
#include "run/Lauffrontend.h"
#include "run/Umsetzungslauf.h"

#include <QElapsedTimer>
#include <QWidget>

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace fenster {

class Anzeigefeld;
class Logfenster;

// Where the program finds its files on this machine.
struct Programmumgebung
{
    std::string programmOrdner;        // folder of the executable, without trailing "/"
    std::string anwendungsdatenOrdner; // the shared data folder + "/TVX_Dadazuror", without trailing "/"

    // The running executable's folder and the first writable shared data folder.
    static Programmumgebung ermitteln();
};

class MainVdbVidazer : public QWidget, public run::Lauffrontend
{
    Q_OBJECT

public:
    // Start-up: builds the controls, makes sure the application-data folder exists and
    // restores the folders and files chosen before the last end from the settings file.
    explicit MainVdbVidazer(questions::Questions& fragen, Programmumgebung umgebung = Programmumgebung::ermitteln(),
                            QWidget* parent = nullptr);
    ~MainVdbVidazer() override;

    std::string einstellungsdateiPfad() const;

    // On a desktop without a folder browser the export folder is chosen by typing any name
    // into the wanted folder of a save dialog.
    void ordnerauswahlErlauben(bool erlaubt) { m_ordnerauswahl = erlaubt; }

    // What opens the conversion log outside the program ("Im Editor öffnen" of the log window);
    // true when a viewer was started. The desktop's viewer for text files unless replaced.
    using Logbetrachter = std::function<bool(const std::string& pfad)>;
    void logbetrachterSetzen(Logbetrachter betrachter) { m_logbetrachter = std::move(betrachter); }

    // The least time between two looks at the window's events while a run converts; tests that
    // act at a chosen line set zero, every line.
    void ereignisabstandSetzen(std::chrono::milliseconds abstand) { m_lauf.ereignisabstand = abstand; }

    // Whether a conversion is under way; closing the window is refused then.
    bool laufAktiv() const { return m_imStart || !m_lauf.leerlauf(); }

    // run::Lauffrontend
    questions::Questions& fragen() override { return m_fragen; }
    void inhalt(const clubdb::VdbInhalt& inhalt) override;
    void laufzustand(bool laeuft) override;
    void logAnzeigen(const std::string& pfad) override;
    void unvollstaendig(const importer::Vollstaendigkeit& stand) override;
    void fortschritt(importer::Anzeige anzeige, const std::string& text) override;
    void ereignisseVerarbeiten() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void steuerelementeAnlegen();
    void bedienungEinrichten(); // names for a screen reader, the order of the Tab key
    QRect pixel(int links, int oben, int breite, int hoehe) const;
    void einstellungenLaden();
    void einstellungenSpeichern();
    void fortschrittZeigen();

    // The readiness check: after every choice of a path it decides which parts of the window
    // are shown and whether Start is possible.
    void bereitschaftPruefen();
    void fundeZeigen();
    void fundeBeschreiben();

    void AnzExport_Click();
    void AnzVDb_Click();
    void AnzWkAk_Click();
    void vdbAuswahlLeeren();

    void CmdStart_Click();
    void CmdAbbruch_Click();
    void CmdEnde_Click();
    void ChkLog_Click(bool angehakt);
    void sofortBeenden();

    questions::Questions& m_fragen;
    Programmumgebung m_umgebung;
    run::Umsetzungslauf m_lauf;
    Logbetrachter m_logbetrachter;
    Logfenster* m_logfenster = nullptr; // made when a log is first shown, then reused
    bool m_ordnerauswahl = true;
    bool m_imStart = false; // from the click on Start to the end of its handler
    bool m_beendet = false; // the program ends at once, without saving the settings

    // Export folder and the files found in it.
    std::string m_exportOrdner; // empty or ending in "/"
    importer::Exportdateien m_dateien;

    // Club database.
    std::string m_vdbPfad;
    std::string m_vdbOrdner; // empty or ending in "/": the folder of the log, remembered for the next start
    bool m_vdbErstellt = false;
    std::string m_vergleichsdatenbank;

    std::string m_definitionsPfad;

    QLabel* m_bezVersion = nullptr;
    Anzeigefeld* m_anzVDb = nullptr;
    Anzeigefeld* m_anzExport = nullptr;
    Anzeigefeld* m_anzWkAk = nullptr;
    QGroupBox* m_fundRahmen = nullptr;
    QCheckBox* m_chkExKreis = nullptr;
    QCheckBox* m_chkExVereine = nullptr;
    QCheckBox* m_chkExMitglieder = nullptr;
    QCheckBox* m_chkExStartrechte = nullptr;
    QGroupBox* m_einRahmen = nullptr;
    Anzeigefeld* m_anzKreise = nullptr;
    Anzeigefeld* m_anzVereine = nullptr;
    Anzeigefeld* m_anzMitglieder = nullptr;
    Anzeigefeld* m_anzStartberechtigungen = nullptr;
    QGroupBox* m_vdbInhaltRahmen = nullptr;
    Anzeigefeld* m_anzVDbKreise = nullptr;
    Anzeigefeld* m_anzVDbVereine = nullptr;
    Anzeigefeld* m_anzVdbSchuetzen = nullptr;
    Anzeigefeld* m_anzVdbHochmeldung = nullptr;
    Anzeigefeld* m_anzVDbGesMitglieder = nullptr;
    Anzeigefeld* m_anzVDbZweitmitgliedschaften = nullptr;
    Anzeigefeld* m_anzVDbStartrechte = nullptr;
    QCheckBox* m_chkLog = nullptr;
    QPushButton* m_cmdStart = nullptr;
    QPushButton* m_cmdAbbruch = nullptr;
    QPushButton* m_cmdEnde = nullptr;

    // Progress texts not shown yet: a label repainted for every line of a federation export
    // would cost more than the line itself, so the labels follow every 50 ms and at the end of
    // each step.
    std::array<std::optional<std::string>, 3> m_fortschritt;
    QElapsedTimer m_fortschrittUhr;
};

} // namespace fenster
