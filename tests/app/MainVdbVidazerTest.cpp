#include "app/Anzeigefeld.h"
#include "app/Logfenster.h"
#include "faults/WriteFaults.h"
#include "support/Fensteraufbau.h"
#include "support/OwnHome.h"
#include "support/QueryRows.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <fstream>

using namespace fenster;
using questions::Answer;

namespace {

const QString kFehltExport = "Fehler: Eine oder beide Exportdateien wurden nicht gefunden.\r\n"
                             "Für die Erstellung der Datenbank werden mindestens die Vereins- und "
                             "Mitgliederdaten benötigt!";
const QString kWkAk = "TVX_Dadazuror: Für das Einlesen der Startrechte wird die Datei mit den voreingestellten "
                      "Disziplinen benötigt!";
const QString kFortschritt = "AnzVereine AnzMitglieder AnzStartberechtigungen";
const QString kVdbZahlen = "AnzVDbKreise AnzVDbVereine AnzVdbSchützen AnzVdbHochmeldung AnzVDbGesMitglieder "
                           "AnzVDbZweitmitgliedschaften AnzVDbStartrechte";

std::vector<std::string> mitglieder(int anzahl)
{
    std::vector<std::string> zeilen;
    for (int i = 0; i < anzahl; ++i)
        zeilen.push_back(memberLine("04-001", "04-001-" + std::to_string(1000 + i), "N" + std::to_string(i)));
    return zeilen;
}

// The caption of a label, check box, button or frame as it is drawn (the "&" of an Alt key only
// underlines the letter after it); null for any other control.
QString beschriftung(QWidget* w)
{
    if (qobject_cast<Anzeigefeld*>(w))
        return {};
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* knopf = qobject_cast<QAbstractButton*>(w))
        return knopf->text().replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
    if (auto* rahmen = qobject_cast<QGroupBox*>(w))
        return rahmen->title();
    return {};
}

// Where the control draws its caption, as its style lays it out. A frame's title may reach to
// the same distance from the right edge as it keeps from the left.
QRect textflaeche(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->contentsRect();
    if (auto* rahmen = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox o;
        o.initFrom(w);
        o.text = rahmen->title();
        o.textAlignment = rahmen->alignment();
        o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect titel = w->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, w);
        return QRect(titel.left(), titel.top(), w->width() - 2 * titel.left(), titel.height());
    }
    QStyleOptionButton knopf;
    knopf.initFrom(w);
    knopf.text = beschriftung(w);
    const bool box = qobject_cast<QCheckBox*>(w);
    return w->style()->subElementRect(box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &knopf, w);
}

struct Aufbau : Fensteraufbau
{
    // The texts of the named labels, joined by "|".
    QString text(const QString& namen) const
    {
        QStringList t;
        for (const QString& name : namen.split(' '))
            t << el<QLabel>(name)->text();
        return t.join('|');
    }
    bool an(const QString& name) const { return el(name)->isEnabled(); }
    // Which of the named controls are shown and can be used; by default those that a run locks.
    QStringList bedienbar(const QString& namen = "CmdStart CmdAbbruch CmdEnde ChkLog AnzVDb") const
    {
        QStringList b;
        for (const QString& name : namen.split(' '))
            if (el(name)->isVisibleTo(fenster.get()) && an(name))
                b << name;
        return b;
    }
    void klick(const char* name) const { QTest::mouseClick(el(name), Qt::LeftButton); }
    // Clicks one of the path fields, with what its dialog returns.
    void waehlen(const char* feld, const std::optional<std::string>& pfad)
    {
        (std::string_view(feld) == "AnzExport" ? fragen.folders : fragen.files).push_back(pfad);
        klick(feld);
    }
    // The three choices, what was said about them forgotten.
    void alleWaehlen()
    {
        waehlen("AnzExport", export_);
        waehlen("AnzVDb", vdb);
        waehlen("AnzWkAk", wkak);
        meldungen();
    }
    // Presses Start and acts once while the run goes on, as soon as the clubs step has stored the
    // clubs: the members step is under way then (its labels follow only every 50 ms, so they cannot
    // tell).
    void startenUnd(const char* vereine, const std::function<void()>& aktion)
    {
        QTimer waechter;
        waechter.setInterval(0);
        QObject::connect(&waechter, &QTimer::timeout, [&] {
            if (text("AnzVDbVereine") == vereine) {
                waechter.stop();
                aktion();
            }
        });
        waechter.start();
        klick("CmdStart");
    }
    // Settings as the last start left them; the window starts anew and reads them.
    void einstellungen(const std::string& inhalt)
    {
        std::ofstream(fenster->einstellungsdateiPfad(), std::ios::binary) << inhalt;
        starten();
    }
    // The rows of a list of the log window: its shown columns joined by "|", child rows indented.
    QStringList zeilen(const char* name) const
    {
        auto* liste = el<QTreeWidget>(name);
        QStringList z;
        for (QTreeWidgetItemIterator it(liste); *it; ++it) {
            QStringList spalten;
            for (int s = 0; s < liste->columnCount(); ++s)
                if (!liste->isColumnHidden(s))
                    spalten << (*it)->text(s);
            z << ((*it)->parent() ? "  " : "") + spalten.join('|');
        }
        return z;
    }
    // Chooses a kind of problem in the log window.
    void grund(const QString& art) const
    {
        auto* gruende = el<QTreeWidget>("AnzGruende");
        gruende->setCurrentItem(gruende->findItems(art, Qt::MatchExactly | Qt::MatchRecursive).value(0));
    }
    // What was asked since the last look, as "title: text".
    QStringList meldungen()
    {
        QStringList m;
        for (const auto& a : fragen.asked)
            m << QString::fromStdString(a.title + ": " + a.text);
        fragen.asked.clear();
        return m;
    }
    // What the readiness check said, the found-file boxes (capital when found and converted, small
    // when found and only shown, "." when not found) and whether Start, the frames and the log box
    // are there.
    QString zustand()
    {
        QString z = meldungen().join(" / ") + " | ";
        for (const char* name : {"ChkExKreis", "ChkExVereine", "ChkExMitglieder", "ChkExStartrechte"}) {
            const QChar b = QLatin1Char(name[5]);
            z += !qobject_cast<QCheckBox*>(el(name))->isChecked() ? (an(name) ? QChar('!') : QChar('.'))
                 : an(name)                                       ? b
                                                                  : b.toLower();
        }
        const bool start = bedienbar("FundRahmen EinRahmen VDbInhaltRahmen ChkLog CmdStart").size() == 5;
        return z + (start ? " | Start" : "");
    }
};

} // namespace

class MainVdbVidazerTest : public QObject
{
    Q_OBJECT

private slots:
    // The readiness check after every choice as the export files come in: the underscore pattern
    // wins over the full-stop one, start rights need the definitions to be matched against, the
    // districts are never converted. A run refused for empty default definitions changes nothing
    // in the window, not even the definitions field.
    void bereitschaft()
    {
        Aufbau a;
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), "Hinweis: In diesem Ordner wurden keine Exportdaten gefunden! | ....");
        a.waehlen("AnzVDb", a.vdb);
        QCOMPARE(a.zustand(), kFehltExport + " | ....");
        a.exportDatei("x.m.1.csv", {"x"});
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), kFehltExport + " | ..M.");
        a.beispielexport();
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), kWkAk + " | kVMs | Start");
        ScriptedQuestions stumm;
        definitions::WkAkAnlegen(a.programm + "/wkak.zrv", {"", "", stumm});
        a.klick("CmdStart");
        QVERIFY(a.meldungen().back().startsWith("Fehler: Die Datei mit den Voreinstellungen der Disziplinen und "
                                                "Klassen ist (teilweise) leer"));
        QCOMPARE(a.zustand(), " | kVMs | Start");
        QCOMPARE(a.text("AnzWkAk"), "");
        a.waehlen("AnzExport", a.datenbanken); // no export there: Start is locked again
        QVERIFY(!a.an("CmdStart"));
    }

    // A club database that cannot be created is reported with the engine's number and
    // description, the comparison database is refused, and an existing file is only replaced
    // after Yes. None of them is left chosen, so that Start cannot run into a missing file.
    void vereinsdatenbankWaehlen()
    {
        Aufbau a;
        const std::string abgleich = a.tmp.file("Abgleich.vdb");
        a.einstellungen("\r\n" + abgleich + "\r\n\r\n\r\n");
        a.beispielexport();
        a.waehlen("AnzExport", a.export_);
        a.meldungen();
        const std::string fehlt = a.datenbanken + "/fehlt/Verein.vdb";
        a.waehlen("AnzVDb", fehlt);
        QVERIFY(a.meldungen().join("/").startsWith(QString::fromStdString(
            "Fehler: Die Vereinsdatenbank\r\n" + fehlt + "\r\nkonnte nicht angelegt werden.\r\n\r\nFehler 3044: ")));
        QVERIFY(!a.an("CmdStart"));
        a.waehlen("AnzVDb", abgleich);
        QCOMPARE(a.meldungen(), QStringList{"Hinweis: Die zu erstellende Vereinsdatenbank kann nicht die gleiche, wie "
                                            "die zu erstellende Datenbank sein!\r\nBitte Wählen Sie eine andere "
                                            "Datenbank für den Abgleich, oder geben Sie der zu erstellenden Datei "
                                            "einen anderen Namen!"});
        QVERIFY(!std::filesystem::exists(abgleich));
        std::ofstream(a.vdb) << "Daten des Vereins";
        a.fragen.answers = {Answer::No, Answer::Yes};
        a.waehlen("AnzVDb", a.vdb);
        QCOMPARE(a.fragen.asked.back().buttons, questions::Buttons::YesNo);
        QCOMPARE(readBytes(a.vdb), std::string("Daten des Vereins"));
        QCOMPARE(a.text("AnzVDb"), "");
        a.waehlen("AnzVDb", std::string()); // no name typed: nothing chosen, nothing said
        a.waehlen("AnzVDb", a.vdb);
        a.waehlen("AnzWkAk", a.wkak);
        // The found-file boxes show what was found; a click on the box itself changes nothing.
        for (const char* name : {"ChkExKreis", "ChkExVereine", "ChkExMitglieder", "ChkExStartrechte"})
            QTest::mouseClick(a.el(name), Qt::LeftButton, {}, QPoint(6, a.el(name)->height() / 2));
        // The same question before No and before Yes.
        const QString loeschen = "Löschen bestätigen: Soll die vorhandene Datei\r\n" + QString::fromStdString(a.vdb);
        QCOMPARE(a.zustand(), loeschen + "\r\ngelöscht werden? / " + loeschen + "\r\ngelöscht werden? / " + kWkAk +
                                  " | kVMS | Start");
    }

    // The log is offered and wanted. The program's own log window opens beside the main window, on
    // the largest kind of problem, and hands the log to a viewer (here one that cannot start) only
    // on request.
    void laufMitLogfenster()
    {
        Aufbau a;
        a.beispielexport();
        a.alleWaehlen();
        a.fragen.answers = {Answer::Yes};
        a.klick("CmdStart");
        a.meldungen();
        QCOMPARE(a.text(kFortschritt + " " + kVdbZahlen), "5 / 3|4 / 4|1 / 1|0|3|3|0|4|1|1");
        auto* logfenster = a.el<Logfenster>("Logfenster");
        QVERIFY(logfenster->isVisible() && !logfenster->isModal());
        const QString titel = logfenster->windowTitle();
        QVERIFY2(titel.startsWith(QString::fromStdString("Logdatei - " + a.datenbanken + "/Log_")), qPrintable(titel));
        const std::string log = titel.mid(11).toStdString();
        QCOMPARE(a.zeilen("AnzGruende"),
                 (QStringList{"Alle Problemzeilen|4|", "Vereine|3|", "  Vereinsabkürzung fehlt|2|",
                              "  Mindestangaben fehlen, Daten können nicht gespeichert werden|2|",
                              "  Vereinsnummer … bereits eingetragen!|1|", "Mitglieder|1|",
                              "  Eventuell doppelter Eintrag! Bitte Prüfen!|1|"}));
        QCOMPARE(a.el<QTreeWidget>("AnzGruende")->currentItem()->text(0), QString("Vereinsabkürzung fehlt"));
        QCOMPARE(a.zeilen("AnzZeilen"),
                 (QStringList{"4|Vereinsabkürzung fehlt|1,04-002,Ohne Kürzel,,,,,,,,Ort",
                              "5|Vereinsabkürzung fehlt|" + QString::fromStdString(kLang.substr(0, 500)) + " …"}));
        a.grund("Eventuell doppelter Eintrag! Bitte Prüfen!");
        QCOMPARE(a.zeilen("AnzZeilen"),
                 (QStringList{"4|Eventuell doppelter Eintrag! Bitte Prüfen!|" + QString::fromStdString(kNochmal),
                              "  |Person der Zeile|Müller, Hans · 24.12.1961 · m · Bahnhofstr. 12 · 86150 Augsburg · "
                              "04-001-0028",
                              "  |Gespeicherte Person|Müller, Hans · 24.12.1961 · m · Hauptstr. 12 · 86150 Augsburg · "
                              "04-001-0027"}));

        // The lines of the chosen kind are saved as CSV, the long line whole; an existing file is
        // replaced only after the question.
        const std::string csv = a.tmp.file("Probleme.csv");
        a.grund("Vereinsabkürzung fehlt");
        a.fragen.files = {csv};
        a.klick("CmdCsv");
        const questions::FileChoice& wahl = a.fragen.fileChoices.back();
        QCOMPARE(wahl.title + "|" + wahl.filter + "|" + wahl.startFolder + "|" + wahl.fileName + (wahl.save ? "|" : ""),
                 "Als CSV speichern|CSV-Datei|*.csv|" + a.datenbanken + "|" +
                     std::filesystem::path(log).stem().string() + "_Vereine_Vereinsabkürzung_fehlt.csv|");
        const std::string gespeichert = readBytes(csv);
        QCOMPARE(std::ranges::count(gespeichert, '\n'), 3);
        QVERIFY(gespeichert.ends_with(",Ort," + std::string(30'000, 'x') + "\"\r\n"));
        a.grund("Vereine");
        QCOMPARE(a.zeilen("AnzZeilen").size(), 5); // the reasons of the club lines alone
        a.grund("Alle Problemzeilen");
        QCOMPARE(a.zeilen("AnzZeilen").size(), 6 + 2); // six reasons of four lines, two persons
        QCOMPARE(a.zeilen("AnzZeilen")[0], "Vereine|3|Vereinsnummer 04-001 bereits eingetragen!|1,04-001,D,D,,,,,,,O");
        a.fragen.files = {csv, csv};
        a.fragen.answers = {Answer::No, Answer::Yes};
        a.klick("CmdCsv");
        QCOMPARE(readBytes(csv), gespeichert);
        QCOMPARE(a.meldungen().join("/").toStdString(),
                 "Löschen bestätigen: Soll die vorhandene Datei\r\n" + csv + "\r\nersetzt werden?");
        a.klick("CmdCsv");
        QCOMPARE(std::ranges::count(readBytes(csv), '\n'), 7);
        QCOMPARE(a.text("BezStatus"), QString::fromStdString("4 Problemzeilen mit 6 Gründen gespeichert in " + csv));

        // Strg+F searches the log, decoded from Windows-1252; a line too long to lay out ends in
        // a note.
        QTRY_VERIFY(QApplication::activeWindow() == logfenster);
        QTest::keyClick(logfenster, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(a.el<QTabWidget>("Seiten")->currentIndex(), 1);
        QVERIFY(a.el("Suchfeld")->hasFocus());
        const QString logtext = a.el<QPlainTextEdit>("AnzLog")->toPlainText();
        QVERIFY(logtext.contains("Vereinsabkürzung fehlt"));
        QVERIFY(logtext.contains(QString::fromStdString("Zeile  5\t" + kLang.substr(0, 20'000 - 9)) + " … ("));
        QTest::keyClicks(a.el("Suchfeld"), "Bahnhof");
        QTest::keyClick(a.el("Suchfeld"), Qt::Key_Return);
        QCOMPARE(a.el<QPlainTextEdit>("AnzLog")->textCursor().selectedText(), QString("Bahnhof"));
        QTest::keyClicks(a.el("Suchfeld"), "xyz");
        QTest::keyClick(a.el("Suchfeld"), Qt::Key_Return);
        QCOMPARE(a.text("BezSuchstand"), "„Bahnhofxyz“ nicht gefunden");

        QVERIFY(a.gezeigteLogs.empty());
        a.klick("CmdEditor");
        QCOMPARE(a.gezeigteLogs, std::vector<std::string>{log});
        QVERIFY(a.meldungen().back().startsWith(
            QString::fromStdString("Hinweis: Die Logdatei\r\n" + log + "\r\nkann nicht angezeigt werden")));
        QVERIFY(!logfenster->logZeigen(a.tmp.file("fehlt.log")));
        QVERIFY(a.meldungen().back().startsWith(
            QString::fromStdString("Fehler: Die Logdatei\r\n" + a.tmp.file("fehlt.log"))));
        // A log cut off in its last line, as a full disk leaves it, ends where it was cut.
        std::ofstream(a.tmp.file("kurz.log"), std::ios::binary) << "a\r\nb";
        QVERIFY(logfenster->logZeigen(a.tmp.file("kurz.log")));
        a.el<QTabWidget>("Seiten")->setCurrentIndex(1);
        QCOMPARE(a.el<QPlainTextEdit>("AnzLog")->toPlainText(), "a\nb");
    }

    // While the members step runs: the controls of a run, closing refused, Abbruch pressed. After
    // the run Start waits for the next choice, Ende and the log box are back; a new choice starts
    // the counters again, all database counts included.
    void abbruchImLauf()
    {
        Aufbau a;
        a.exportDatei("Verband_V_2024.csv", {verein("04-001"), verein("04-002"), verein("04-003")});
        a.exportDatei("Verband_M_2024.csv", mitglieder(40));
        a.alleWaehlen();
        QTest::mouseClick(a.el("ChkLog"), Qt::LeftButton, {}, QPoint(6, a.el("ChkLog")->height() / 2));
        QStringList imLauf;
        bool geschlossen = true;
        a.startenUnd("3", [&] {
            imLauf = a.bedienbar();
            geschlossen = a.fenster->close() || !a.fenster->isVisible();
            a.klick("CmdAbbruch");
        });
        QCOMPARE(imLauf, QStringList{"CmdAbbruch"});
        QVERIFY(!geschlossen);
        QVERIFY2(a.text("AnzMitglieder").section(" / ", 0, 0).toInt() < 40, qPrintable(a.text("AnzMitglieder")));
        QVERIFY(a.fragen.asked.empty());
        QCOMPARE(std::distance(std::filesystem::directory_iterator(a.datenbanken), {}), 1); // no log
        QCOMPARE(a.bedienbar(), (QStringList{"CmdEnde", "ChkLog", "AnzVDb"}));
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.text(kFortschritt + " " + kVdbZahlen), "|||0|0|0|0|0|0|0");
    }

    // Ende closes the window, the log window with it, and remembers the club-database folder and
    // the definitions for the next start, the comparison database as it was read; the export
    // folder is never remembered.
    void endeUndNaechsterStart()
    {
        Aufbau a;
        const std::string abgleich = a.tmp.file("Abgleich.vdb"), einstellungen = "\r\n" + abgleich + "\r\n\r\n\r\n";
        a.einstellungen(einstellungen);
        a.beispielexport();
        a.alleWaehlen();
        a.fragen.answers = {Answer::Yes};
        a.klick("CmdStart");
        auto* logfenster = a.el<Logfenster>("Logfenster");
        const std::string pfad = a.fenster->einstellungsdateiPfad();
        QCOMPARE(readBytes(pfad), einstellungen);
        a.klick("CmdEnde");
        QVERIFY(!a.fenster->isVisible() && !logfenster->isVisible());
        QCOMPARE(readBytes(pfad), a.datenbanken + "/\r\n" + abgleich + "\r\n\r\n" + a.wkak + "\r\n");
        a.starten();
        QCOMPARE(a.text("AnzWkAk AnzExport"), QString::fromStdString(a.wkak + "|"));
        a.waehlen("AnzVDb", std::nullopt);
        QCOMPARE(a.fragen.fileChoices.back().startFolder, a.datenbanken);
    }

    // Start looks at the export before it loads the definitions or creates the log: a file that
    // a spreadsheet program saved is refused, and of two members files the user is asked about the
    // one converted, whose name its found-file box shows. Nein changes nothing.
    void exportVorDemStartAnsehen()
    {
        Aufbau a;
        a.exportDatei("Verband_V_2025.csv", {verein("04-001")});
        a.exportDatei("Verband_M_2025.csv", {memberLine("04-001", "04-001-0027", "Müller")});
        a.exportDatei("Verband_M_2026.csv", {memberLine("04-001", "04-001-0028", "Huber")});
        a.alleWaehlen();
        QCOMPARE(a.el("ChkExMitglieder")->toolTip(), QString("Verband_M_2025.csv"));
        const std::string leer = readBytes(a.vdb);
        const auto unveraendert = [&] {
            return readBytes(a.vdb) == leer && a.an("CmdStart") &&
                   std::distance(std::filesystem::directory_iterator(a.datenbanken), {}) == 1; // no log
        };
        a.fragen.answers = {Answer::No};
        a.klick("CmdStart");
        QCOMPARE(a.meldungen(), QStringList{"Exportdateien: Im Exportordner liegen mehrere Dateien derselben Art:\r\n"
                                            "Mitglieder: umgesetzt wird «Verband_M_2025.csv», nicht umgesetzt: "
                                            "«Verband_M_2026.csv»\r\nTrotzdem umsetzen?"});
        QVERIFY(unveraendert());

        a.exportDatei("Verband_V_2025.csv", {"1;04-001;SG 04-001;V;;;;;;;Ort"});
        a.klick("CmdStart");
        // The whole text is the batch program's test.
        QVERIFY(a.meldungen().join('/').startsWith("Fehler: Die Datei «Verband_V_2025.csv» ist keine Exportdatei"));
        QVERIFY(unveraendert());

        a.exportDatei("Verband_V_2025.csv", {verein("04-001")});
        a.fragen.answers = {Answer::Yes};
        a.klick("CmdStart");
        QCOMPARE(a.meldungen().value(0).left(14), QString("Exportdateien:"));
        QCOMPARE(a.text("AnzMitglieder"), "1 / 1");
        QCOMPARE(queryRows(a.vdb, "SELECT M_Name FROM Schuetzendaten"), std::vector<std::string>{"Müller "});
    }

    // The disk fills up while the members step runs: after the step's own message, and before the
    // log is offered, the user learns that the club database is incomplete; the counter shows what
    // the file holds.
    void vollePlatteImMitgliederschritt()
    {
        Aufbau a;
        a.exportDatei("Verband_V_2024.csv", {verein("04-001"), verein("04-002")});
        a.exportDatei("Verband_M_2024.csv", mitglieder(30));
        a.alleWaehlen();
        WriteFaults platte(a.vdb);
        a.fragen.answers = {Answer::No};
        a.startenUnd("2", [&] { platte.fillDisk(); });
        QCOMPARE(a.meldungen(),
                 (QStringList{
                     "Fehler: Die Mitgliederdaten konnten nicht gespeichert werden.\r\n13 ; database or disk is full",
                     "Fehler: Die Indizes der Vereinsdatenbank konnten nicht angelegt werden.\r\n13 ; database or "
                     "disk is full",
                     "Fehler: Die Vereinsdatenbank ist unvollständig: 30 Zeilen konnten wegen eines Datei- oder "
                     "Speicherfehlers nicht gespeichert werden.\r\nDie Vereinsdatenbank ist unvollständig: 13 ; "
                     "database or disk is full",
                     "Logdatei: Bei der Umwandlung der Exportdateien wurden Probleme festgestellt.\r\nSoll die "
                     "Logdatei angezeigt werden?"}));
        QCOMPARE(a.text("AnzMitglieder AnzVdbSchützen"), "30 / 0|0");
    }

    // Every caption fits its control in the font actually chosen: a font of Arial's widths at the
    // design's sizes, or, where there is none, whatever font takes its place, made to fit; so does
    // a path too long for its field. The test runs a second time on a desktop without those fonts.
    void fensterUndSchrift()
    {
        Aufbau a;
        const QString familie = QFontInfo(a.el("BezVDb")->font()).family();
        const bool arialbreit = QStringList({"Liberation Sans", "Arimo", "Arial"}).contains(familie);
        QCOMPARE(arialbreit, !qEnvironmentVariableIsSet("TVX_OHNE_ARIALBREITE"));
        QVERIFY(!arialbreit || a.fenster->font().pointSizeF() == 9.75); // fits at the design's size
        for (QWidget* w : a.fenster->findChildren<QWidget*>()) {
            const QString text = beschriftung(w);
            if (text.isNull())
                continue;
            const QRect flaeche = textflaeche(w);
            const int breite = QFontMetrics(w->font()).horizontalAdvance(text);
            QVERIFY2(breite <= flaeche.width() && QFontMetrics(w->font()).height() <= flaeche.height(),
                     qPrintable(QStringLiteral("%1 in %2: %3 Pixel, Platz %4")
                                    .arg(text, familie)
                                    .arg(breite)
                                    .arg(flaeche.width())));
        }

        // A path too long for its field is shortened in the middle; the tooltip shows it whole.
        std::string ordner = a.datenbanken;
        for (int i = 0; i < 8; ++i)
            ordner += "/Unterordner " + std::to_string(i);
        std::filesystem::create_directories(ordner);
        const std::string vdb = ordner + "/Verein.vdb";
        a.waehlen("AnzVDb", vdb);
        auto* feld = a.el<Anzeigefeld>("AnzVDb");
        const QString gezeigt = feld->angezeigterText();
        QVERIFY2(gezeigt.startsWith(QString::fromStdString(a.datenbanken)) && gezeigt.contains(QChar(0x2026)) &&
                     gezeigt.endsWith("/Verein.vdb"),
                 qPrintable(gezeigt));
        QVERIFY(feld->fontMetrics().horizontalAdvance(gezeigt) <= feld->contentsRect().width());
        QHelpEvent frage(QEvent::ToolTip, QPoint(5, 5), feld->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(feld, &frage);
        QCOMPARE(feld->toolTip(),
                 QString::fromStdString(vdb) + "\nKlicken, um die zu erstellende Vereinsdatenbank zu wählen");
    }

    // Every dialog opens in a folder that exists: the previous choice, else the default folder
    // (created for the club database), else the nearest folder above, else the home folder. The
    // definitions dialog takes a new name too.
    void dialogeBeginnenInVorhandenenOrdnern()
    {
        const std::string heim = QDir::homePath().toStdString();
        std::filesystem::remove_all(heim + "/schiess");
        const auto aufraeumen = qScopeGuard([&] { std::filesystem::remove_all(heim + "/schiess"); });
        // The control; what was chosen before and what of it has gone since, in the test's folder;
        // where the dialog must start, in the test's folder or ("~") the home folder; whether a file
        // stands where the default folder would be created.
        // clang-format off
        const std::tuple<std::string, const char*, const char*, const char*, bool> faelle[] = {
            {"AnzExport", "", "", "~", false}, {"AnzExport", "Export/2024", "Export/2024", "Export", false},
            {"AnzVDb", "", "", "~/schiess/Datenbanken", false},
            {"AnzVDb", "Datenbanken/2024/Verein.vdb", "Datenbanken/2024", "Datenbanken", true},
            {"AnzWkAk", "", "", "Programm", false}, {"AnzWkAk", "wkak.zrv", "wkak.zrv", "", false},
            {"AnzWkAk", "weg/wkak.zrv", "weg", "Programm", false}};
        // clang-format on
        for (const auto& [feld, gewaehlt, weg, start, gesperrt] : faelle) {
            Aufbau a;
            if (gesperrt) {
                std::filesystem::remove_all(heim + "/schiess");
                std::ofstream(heim + "/schiess") << "kein Ordner";
            }
            if (*gewaehlt) {
                if (!std::filesystem::exists(a.tmp.file(weg))) // the definitions file is there already
                    std::filesystem::create_directories(a.tmp.file(weg));
                a.waehlen(feld.c_str(), a.tmp.file(gewaehlt));
                std::filesystem::remove_all(a.tmp.file(weg));
            }
            a.fragen.files.push_back(std::nullopt);
            a.fragen.folders.push_back(std::nullopt);
            a.klick(feld.c_str());
            const std::string gezeigt =
                feld == "AnzExport" ? a.fragen.folderStarts.back() : a.fragen.fileChoices.back().startFolder;
            const std::string erwartet = *start == '~' ? heim + (start + 1) : a.tmp.file(start);
            std::error_code nichtDa;
            QVERIFY2(std::filesystem::equivalent(gezeigt, erwartet, nichtDa),
                     qPrintable(QString::fromStdString(gezeigt + " statt " + erwartet)));
            QVERIFY(feld == "AnzExport" || a.fragen.fileChoices.back().allowNew == (feld == "AnzWkAk"));
        }
    }
};

TVX_QTEST_MAIN(MainVdbVidazerTest, QApplication)
#include "MainVdbVidazerTest.moc"
