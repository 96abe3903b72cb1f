#include "app/MainVdbVidazer.h"
#include "clubdb/VdbInhalt.h"
#include "support/DefinitionsFile.h"
#include "support/ExportFiles.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <memory>

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

std::string anwendungsdaten()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/TVX_Dadazuror";
}

std::string einstellungspfad()
{
    return anwendungsdaten() + "/TVX_Vidazer.dir";
}

std::string verein(const std::string& nummer)
{
    return "1," + nummer + ",SG " + nummer + ",V,,,,,,,Ort";
}

// The window on a scripted question interface, with an export folder, a folder for the club
// database and a definitions file at hand.
struct Aufbau
{
    TempFolder tmp;
    ScriptedQuestions fragen;
    std::vector<std::string> gezeigteLogs;
    std::unique_ptr<MainVdbVidazer> fenster;
    std::string export_ = tmp.file("Export"), datenbanken = tmp.file("Datenbanken"), vdb = datenbanken + "/Verein.vdb";
    std::string wkak = tmp.file("wkak.zrv");

    Aufbau()
    {
        std::filesystem::create_directory(export_);
        std::filesystem::create_directory(datenbanken);
        writeDefinitionsFile(wkak);
        starten();
    }

    // The window, with a log viewer that cannot be started.
    void starten()
    {
        fenster = std::make_unique<MainVdbVidazer>(fragen, Programmumgebung{tmp.path().string(), anwendungsdaten()});
        fenster->logbetrachterSetzen([this](const std::string& pfad) {
            gezeigteLogs.push_back(pfad);
            return false;
        });
        fenster->show();
    }

    QWidget* el(const char* name) const { return fenster->findChild<QWidget*>(QString::fromUtf8(name)); }
    QString text(const char* name) const { return qobject_cast<QLabel*>(el(name))->text(); }
    QStringList texte(const QString& namen) const
    {
        QStringList t;
        for (const QString& name : namen.split(' '))
            t << text(name.toUtf8().constData());
        return t;
    }
    bool an(const char* name) const { return el(name)->isEnabled(); }
    // Which of the controls that a run locks can be used.
    QStringList bedienbar() const
    {
        QStringList b;
        for (const char* name : {"CmdStart", "CmdAbbruch", "CmdEnde", "ChkLog", "AnzVDb"})
            if (an(name))
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
    void exportDatei(const std::string& name, const std::vector<std::string>& zeilen) const
    {
        writeExportFile(export_ + "/" + name, zeilen);
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
        bool start = true;
        for (const char* teil : {"FundRahmen", "EinRahmen", "VDbInhaltRahmen", "ChkLog", "CmdStart"})
            start = start && el(teil)->isVisibleTo(fenster.get()) && an(teil);
        return z + (start ? " | Start" : "");
    }
};

} // namespace

class MainVdbVidazerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        std::error_code ec;
        std::filesystem::remove_all(anwendungsdaten(), ec);
    }

    // The club database to create: one that cannot be created is reported with the engine's
    // number and description, the comparison database is refused, and an existing file is only
    // replaced after Yes. None of them is left chosen, so that Start cannot run into a missing file.
    void vereinsdatenbankWahl()
    {
        TempFolder alt;
        const std::string abgleich = alt.file("Abgleich.vdb"), einstellungen = "\r\n" + abgleich + "\r\n\r\n\r\n";
        std::filesystem::create_directories(anwendungsdaten());
        std::ofstream(einstellungspfad(), std::ios::binary) << einstellungen;
        Aufbau a;
        a.exportDatei("B_V_1.csv", {verein("04-001")});
        a.exportDatei("B_M_1.csv", {});
        a.waehlen("AnzExport", a.export_);
        a.waehlen("AnzVDb", a.vdb);
        QVERIFY(a.an("CmdStart"));
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
        QCOMPARE(a.meldungen().join("/").toStdString(),
                 "Löschen bestätigen: Soll die vorhandene Datei\r\n" + a.vdb + "\r\ngelöscht werden?");
        QCOMPARE(readBytes(a.vdb), std::string("Daten des Vereins"));
        QCOMPARE(a.text("AnzVDb"), QString());
        a.waehlen("AnzVDb", a.vdb);
        QCOMPARE(a.text("AnzVDb"), QString::fromStdString(a.vdb));
        QCOMPARE(clubdb::VdbInhaltZaehlen(a.vdb).vereine, std::optional<std::int64_t>(0));
        QVERIFY(a.an("CmdStart"));
        QVERIFY(a.fenster->close()); // the comparison database is remembered as it was read
        QCOMPARE(readBytes(einstellungspfad()), a.datenbanken + "/" + einstellungen);
    }

    // The readiness check after every choice, as the export files come in, then a run, a run
    // stopped by Abbruch and the shut-down.
    void bereitschaftLaufUndEnde()
    {
        Aufbau a;
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), "Hinweis: In diesem Ordner wurden keine Exportdaten gefunden! | ....");
        a.waehlen("AnzVDb", a.vdb);
        QCOMPARE(a.zustand(), kFehltExport + " | ....");
        a.exportDatei("x.m.1.csv", {"x"});
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), kFehltExport + " | ..M.");
        // The underscore pattern wins over the full-stop one. Start rights need the definitions to
        // be matched against; the districts are never converted.
        a.exportDatei("Verband.V.2024.csv", {verein("04-009")});
        a.exportDatei("Verband_V_2024.csv", {verein("04-001"), verein("04-007"), "1,04-001,D,D,,,,,,,O"});
        a.exportDatei("Verband_M_2024.csv", {memberLine("04-001", "04-001-0027", "Müller"),
                                             memberLine("04-007", "04-001-0027", "Müller"),
                                             memberLine("04-007", "04-007-0003", "Huber")});
        a.exportDatei("Verband_Z_2024.csv", {"x,04-001,04-001-0027,04-007,04-007-0100,1.10"});
        a.exportDatei("Verband_K_2024.csv", {"x"});
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), kWkAk + " | kVMs | Start");
        a.waehlen("AnzWkAk", a.wkak);
        // The found-file boxes show what was found; a click on the box itself changes nothing.
        for (const char* name : {"ChkExKreis", "ChkExVereine", "ChkExMitglieder", "ChkExStartrechte"})
            QTest::mouseClick(a.el(name), Qt::LeftButton, {}, QPoint(6, a.el(name)->height() / 2));
        QCOMPARE(a.zustand(), " | kVMS | Start");

        // The clubs step finds the double club number: the log is offered and wanted, but no
        // viewer starts.
        a.fragen.answers = {Answer::Yes};
        a.klick("CmdStart");
        QCOMPARE(a.texte(kFortschritt), (QStringList{"3 / 3", "3 / 3", "1 / 1"}));
        QCOMPARE(a.texte(kVdbZahlen), (QStringList{"0", "3", "2", "0", "3", "1", "1"}));
        QCOMPARE(a.gezeigteLogs.size(), 1u);
        QVERIFY(a.meldungen().back().startsWith(QString::fromStdString(
            "Hinweis: Die Logdatei\r\n" + a.gezeigteLogs[0] + "\r\nkann nicht angezeigt werden")));
        // After the run: Start waits for the next choice, Ende and the log box are back; a new
        // choice starts the counters again, all database counts included.
        QCOMPARE(a.bedienbar(), (QStringList{"CmdEnde", "ChkLog", "AnzVDb"}));
        std::vector<std::string> mitglieder;
        for (int i = 0; i < 40; ++i)
            mitglieder.push_back(memberLine("04-001", "04-001-" + std::to_string(1000 + i), std::to_string(i)));
        a.exportDatei("Verband_M_2024.csv", mitglieder);
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.texte(kFortschritt + " " + kVdbZahlen), QStringList(3, "") + QStringList(7, "0"));

        // Again, into a new club database and without a log. While the members step runs: the
        // controls of a run, closing refused, Abbruch pressed. The clubs have been counted then:
        // the members step is under way (its labels follow only every 50 ms, so they cannot tell).
        a.fragen.answers = {Answer::Yes}; // replace the club database of the first run
        a.waehlen("AnzVDb", a.vdb);
        a.meldungen();
        QTest::mouseClick(a.el("ChkLog"), Qt::LeftButton, {}, QPoint(6, a.el("ChkLog")->height() / 2));
        QStringList imLauf;
        bool geschlossen = true;
        QTimer waechter;
        waechter.setInterval(0);
        connect(&waechter, &QTimer::timeout, [&] {
            if (!imLauf.isEmpty() || a.text("AnzVDbVereine") != "3")
                return;
            imLauf = a.bedienbar();
            geschlossen = a.fenster->close() || !a.fenster->isVisible();
            a.klick("CmdAbbruch");
        });
        waechter.start();
        a.klick("CmdStart");
        waechter.stop();
        QCOMPARE(imLauf, QStringList{"CmdAbbruch"});
        QVERIFY(!geschlossen);
        QVERIFY2(a.text("AnzMitglieder").section(" / ", 0, 0).toInt() < 40, qPrintable(a.text("AnzMitglieder")));
        QVERIFY(a.fragen.asked.empty());
        QCOMPARE(std::distance(std::filesystem::directory_iterator(a.datenbanken), {}), 2); // no second log
        QCOMPARE(a.bedienbar(), (QStringList{"CmdEnde", "ChkLog", "AnzVDb"}));

        // Ende closes the window and remembers the club-database folder and the definitions for
        // the next start; the export folder is never remembered.
        QVERIFY(!std::filesystem::exists(einstellungspfad()));
        a.klick("CmdEnde");
        QVERIFY(!a.fenster->isVisible());
        QCOMPARE(readBytes(einstellungspfad()), a.datenbanken + "/\r\n\r\n\r\n" + a.wkak + "\r\n");
        a.starten();
        QCOMPARE(a.texte("AnzWkAk AnzExport"), (QStringList{QString::fromStdString(a.wkak), ""}));
    }
};

QTEST_MAIN(MainVdbVidazerTest)
#include "MainVdbVidazerTest.moc"
