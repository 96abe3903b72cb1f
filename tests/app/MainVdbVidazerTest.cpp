#include "app/MainVdbVidazer.h"
#include "clubdb/VdbInhalt.h"
#include "support/DefinitionsFile.h"
#include "support/ExportFiles.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace fenster;
using questions::Answer;
using questions::Buttons;

namespace {

const char* const kFehltExport = "Eine oder beide Exportdateien wurden nicht gefunden.\r\n"
                                 "Für die Erstellung der Datenbank werden mindestens die Vereins- und "
                                 "Mitgliederdaten benötigt!";
const char* const kWkAkBenoetigt =
    "Für das Einlesen der Startrechte wird die Datei mit den voreingestellten Disziplinen benötigt!";
const char* const kWkAkFehlt = "Die Datei mit den voreingestellten Disziplinen wurde nicht gefunden!";

std::string verein(const std::string& nummer, const std::string& name)
{
    return "1," + nummer + "," + name + ",V,,,,,,,Augsburg";
}

std::string mitglied(const std::string& verein, const std::string& nummer, const std::string& name,
                     const std::string& vorname, const std::string& geburt)
{
    return "1," + verein + "," + nummer + ",01.03.1990,,," + name + "," + vorname + "," + geburt +
           ",M,,,,,,Hauptstr.,12,86150,Augsburg,0821 / 123-45";
}

// A folder in which even this user cannot create a file; empty when there is none.
std::string gesperrterOrdner()
{
    const std::string ordner = "/sys/kernel";
    const std::string probe = ordner + "/tvx-probe.zrv";
    if (std::FILE* datei = std::fopen(probe.c_str(), "wx")) {
        std::fclose(datei);
        std::remove(probe.c_str());
        return {};
    }
    return errno == EACCES || errno == EPERM || errno == EROFS ? ordner : std::string();
}

// The window on a scripted question interface, with an export folder, a folder for the club
// database and a definitions file at hand.
struct Aufbau
{
    TempFolder tmp;
    ScriptedQuestions fragen;
    std::vector<std::string> gezeigteLogs;
    bool betrachterDa = true;
    std::unique_ptr<MainVdbVidazer> fenster;
    std::string export_ = tmp.file("Export");
    std::string datenbanken = tmp.file("Datenbanken");
    std::string wkak = tmp.file("wkak.zrv");
    std::string programm = tmp.file("Programm"); // with its default definitions file

    Aufbau()
    {
        std::filesystem::create_directory(export_);
        std::filesystem::create_directory(datenbanken);
        std::filesystem::create_directory(programm);
        writeDefinitionsFile(wkak);
        writeDefinitionsFile(programm + "/wkak.zrv");
        starten();
    }

    void starten()
    {
        Programmumgebung umgebung = Programmumgebung::ermitteln();
        umgebung.programmOrdner = programm;
        fenster = std::make_unique<MainVdbVidazer>(fragen, umgebung);
        fenster->logbetrachterSetzen([this](const std::string& pfad) {
            gezeigteLogs.push_back(pfad);
            return betrachterDa;
        });
        fenster->show();
    }

    template <typename T = QWidget> T* el(const char* name) const
    {
        T* w = fenster->findChild<T*>(QString::fromUtf8(name));
        if (!w)
            qFatal("kein Steuerelement %s", name);
        return w;
    }
    QString text(const char* name) const
    {
        if (auto* knopf = qobject_cast<QAbstractButton*>(el(name)))
            return knopf->text();
        if (auto* rahmen = qobject_cast<QGroupBox*>(el(name)))
            return rahmen->title();
        return el<QLabel>(name)->text();
    }
    bool sichtbar(const char* name) const { return el(name)->isVisibleTo(fenster.get()); }
    bool an(const char* name) const { return el(name)->isEnabled(); }
    bool haken(const char* name) const { return el<QCheckBox>(name)->isChecked(); }
    void klick(const char* name) const { QTest::mouseClick(el(name), Qt::LeftButton); }
    // On the box itself, not somewhere right of its caption.
    void kaestchenKlick(const char* name) const
    {
        QTest::mouseClick(el(name), Qt::LeftButton, {}, QPoint(6, el(name)->height() / 2));
    }

    void exportWaehlen(const std::string& ordner)
    {
        fragen.folders.push_back(ordner);
        klick("AnzExport");
    }
    void vdbWaehlen(const std::string& pfad)
    {
        fragen.files.push_back(pfad);
        klick("AnzVDb");
    }
    void wkakWaehlen(const std::optional<std::string>& pfad)
    {
        fragen.files.push_back(pfad);
        klick("AnzWkAk");
    }
    void exportDatei(const std::string& name, std::initializer_list<std::string> zeilen) const
    {
        writeExportFile(export_ + "/" + name, zeilen);
    }
    // Clubs and members file, club database created: ready for Start.
    void bereit()
    {
        exportDatei("Bezirk_V_2024.csv", {verein("04-001", "SG Tell")});
        exportDatei("Bezirk_M_2024.csv", {mitglied("04-001", "04-001-0027", "Müller", "Hans", "24.12.1961")});
        exportWaehlen(export_);
        vdbWaehlen(datenbanken + "/Verein.vdb");
    }

    std::vector<std::string> meldungen() const
    {
        std::vector<std::string> m;
        for (const auto& a : fragen.asked)
            m.push_back(a.title + ": " + a.text);
        return m;
    }
    std::string logdatei() const
    {
        for (const auto& eintrag : std::filesystem::directory_iterator(datenbanken))
            if (eintrag.path().extension() == ".log")
                return eintrag.path().string();
        return {};
    }
};

std::string meldung(const std::string& titel, const std::string& text)
{
    return titel + ": " + text;
}

std::string anwendungsdaten()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/TVX_Dadazuror";
}

std::string einstellungen()
{
    return readBytes(anwendungsdaten() + "/TVX_Vidazer.dir");
}

void einstellungenAnlegen(const std::string& inhalt)
{
    std::filesystem::create_directories(anwendungsdaten());
    std::ofstream(anwendungsdaten() + "/TVX_Vidazer.dir", std::ios::binary) << inhalt;
}

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

    void steuerelementeWieEntworfen_data();
    void steuerelementeWieEntworfen();
    void fensterUndSchrift();
    void ersterStart();
    void einstellungenVomLetztenMal();
    void bereitschaftJeNachGefundenemUndGewaehltem();
    void wettkampfdefinitionenUndStartrechte();
    void fundkaestchenUndLogkaestchen();
    void exportordnerWaehlenUndAbbrechen();
    void vereinsdatenbankAnlegenLoeschenUndAbbrechen();
    void vereinsdatenbankNichtAnlegbar();
    void ganzerLaufMitKlicks();
    void abbruchImMitgliederschrittUndSchliessenVerweigert();
    void gesperrteWettkampfdefinitionenBeendenSofort();
};

// Name, kind, caption, frame and position in twips of every control; at 96 dots per inch 15
// twips make one pixel.
void MainVdbVidazerTest::steuerelementeWieEntworfen_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("zustand"); // v: shown, e: enabled, x: ticked

    auto zeile = [](const char* name, const char* art, const char* text, const char* in, QRect twips,
                    const char* zustand) {
        QTest::newRow(name) << QString(art) << QString(text) << QString(in) << twips << QString(zustand);
    };
    zeile("BezProgName", "QLabel", "Erstellen der Zervik-Vereinsdatenbank aus TVX-Export", "MainVdbVidazer",
          {120, 120, 8535, 495}, "ve");
    zeile("BezVersion", "QLabel", "Version 9.0.3", "MainVdbVidazer", {8880, 240, 1575, 375}, "ve");
    zeile("BezVDb", "QLabel", "zu erstellende Zervik-Vereinsdatenbank:", "MainVdbVidazer", {120, 840, 3735, 375}, "ve");
    zeile("AnzVDb", "fenster::Anzeigefeld", "", "MainVdbVidazer", {3960, 840, 9495, 300}, "ve");
    zeile("BezTVXExport", "QLabel", "Ordner des TVX-Zervik - Exportes:", "MainVdbVidazer", {120, 1320, 3735, 375},
          "ve");
    zeile("AnzExport", "fenster::Anzeigefeld", "", "MainVdbVidazer", {3960, 1320, 9495, 300}, "ve");
    zeile("BezWkAk", "QLabel", "Startberechtigungen abgleichen mit:", "MainVdbVidazer", {120, 1800, 3735, 375}, "ve");
    zeile("AnzWkAk", "fenster::Anzeigefeld", "", "MainVdbVidazer", {3960, 1800, 9495, 300}, "ve");
    zeile("FundRahmen", "QGroupBox", " gefundene Exportdateien ", "MainVdbVidazer", {120, 2400, 2655, 1935}, "e");
    zeile("ChkExKreis", "QCheckBox", "Kreise", "FundRahmen", {240, 360, 2295, 375}, "v");
    zeile("ChkExVereine", "QCheckBox", "Vereine", "FundRahmen", {240, 720, 2295, 375}, "v");
    zeile("ChkExMitglieder", "QCheckBox", "Mitglieder", "FundRahmen", {240, 1080, 2295, 375}, "v");
    zeile("ChkExStartrechte", "QCheckBox", "Startberechtigungen", "FundRahmen", {240, 1440, 2295, 375}, "v");
    zeile("EinRahmen", "QGroupBox", " eingelesene Daten ", "MainVdbVidazer", {3480, 2400, 4095, 1935}, "e");
    zeile("AnzKreise", "fenster::Anzeigefeld", "", "EinRahmen", {120, 360, 1815, 255}, "ve");
    zeile("BezKreise", "QLabel", "Kreise", "EinRahmen", {2040, 360, 1815, 255}, "ve");
    zeile("AnzVereine", "fenster::Anzeigefeld", "", "EinRahmen", {120, 720, 1815, 255}, "ve");
    zeile("BezVereine", "QLabel", "Vereine", "EinRahmen", {2040, 720, 1815, 255}, "ve");
    zeile("AnzMitglieder", "fenster::Anzeigefeld", "", "EinRahmen", {120, 1080, 1815, 255}, "ve");
    zeile("BezMitglieder", "QLabel", "Mitglieder", "EinRahmen", {2040, 1080, 1815, 255}, "ve");
    zeile("AnzStartberechtigungen", "fenster::Anzeigefeld", "", "EinRahmen", {120, 1440, 1815, 255}, "ve");
    zeile("BezStartrechte", "QLabel", "Startberechtigungen", "EinRahmen", {2040, 1440, 1815, 255}, "ve");
    zeile("VDbInhaltRahmen", "QGroupBox", " Datenbankinhalt ", "MainVdbVidazer", {8400, 2400, 4455, 3015}, "e");
    zeile("AnzVDbKreise", "fenster::Anzeigefeld", "0", "VDbInhaltRahmen", {120, 360, 975, 255}, "ve");
    zeile("BezVDbKreise", "QLabel", "Kreise", "VDbInhaltRahmen", {1200, 360, 1815, 255}, "ve");
    zeile("AnzVDbVereine", "fenster::Anzeigefeld", "0", "VDbInhaltRahmen", {120, 720, 975, 255}, "ve");
    zeile("BezVDbVereine", "QLabel", "Vereine", "VDbInhaltRahmen", {1200, 720, 1815, 255}, "ve");
    zeile("AnzVdbSchützen", "fenster::Anzeigefeld", "0", "VDbInhaltRahmen", {120, 1080, 975, 255}, "ve");
    zeile("BezVdbSchützen", "QLabel", "Schützen", "VDbInhaltRahmen", {1200, 1080, 1815, 255}, "ve");
    zeile("AnzVdbHochmeldung", "fenster::Anzeigefeld", "0", "VDbInhaltRahmen", {120, 1440, 975, 255}, "ve");
    zeile("BezVdbHochmeldung", "QLabel", "Hochmeldungen", "VDbInhaltRahmen", {1200, 1440, 1815, 255}, "ve");
    zeile("AnzVDbGesMitglieder", "fenster::Anzeigefeld", "0", "VDbInhaltRahmen", {120, 1800, 975, 255}, "ve");
    zeile("BezVDbGesMitglieder", "QLabel", "Mitgliedschaften ges.", "VDbInhaltRahmen", {1200, 1800, 3015, 255}, "ve");
    zeile("AnzVDbZweitmitgliedschaften", "fenster::Anzeigefeld", "0", "VDbInhaltRahmen", {120, 2160, 975, 255}, "ve");
    zeile("Label2", "QLabel", "Zweit-(Mehrfach-) Mitgliedschaften", "VDbInhaltRahmen", {1200, 2160, 3135, 255}, "ve");
    zeile("AnzVDbStartrechte", "fenster::Anzeigefeld", "0", "VDbInhaltRahmen", {120, 2520, 975, 255}, "ve");
    zeile("Label3", "QLabel", "Startberechtigungen", "VDbInhaltRahmen", {1200, 2520, 1815, 255}, "ve");
    zeile("ChkLog", "QCheckBox", "Logdatei erstellen", "MainVdbVidazer", {360, 4680, 2535, 375}, "ex");
    zeile("CmdStart", "QPushButton", "Start", "MainVdbVidazer", {480, 5280, 1455, 495}, "v");
    zeile("CmdAbbruch", "QPushButton", "Abbruch", "MainVdbVidazer", {3120, 5280, 1455, 495}, "v");
    zeile("CmdEnde", "QPushButton", "Ende", "MainVdbVidazer", {5760, 5280, 1455, 495}, "ve");
}

void MainVdbVidazerTest::steuerelementeWieEntworfen()
{
    QFETCH(QString, art);
    QFETCH(QString, text);
    QFETCH(QString, in);
    QFETCH(QRect, twips);
    QFETCH(QString, zustand);
    Aufbau a;
    if (a.fenster->logicalDpiX() != 96 || a.fenster->logicalDpiY() != 96)
        QSKIP("Die Lage in Pixeln ist für 96 dpi angegeben.");
    const QByteArray name = QTest::currentDataTag();
    QWidget* w = a.el(name.constData());
    QCOMPARE(QString(w->metaObject()->className()), art);
    QCOMPARE(a.text(name.constData()), text);
    QCOMPARE(w->parentWidget()->objectName(), in);
    QCOMPARE(w->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(!w->isHidden(), zustand.contains('v'));
    QCOMPARE(w->isEnabled(), zustand.contains('e'));
    if (auto* kaestchen = qobject_cast<QCheckBox*>(w))
        QCOMPARE(kaestchen->isChecked(), zustand.contains('x'));
}

void MainVdbVidazerTest::fensterUndSchrift()
{
    Aufbau a;
    QCOMPARE(a.fenster->windowTitle(), QString("TVX - Zervik - Vidazerierung"));
    QCOMPARE(a.fenster->objectName(), QString("MainVdbVidazer"));
    QVERIFY(QFile::exists(":/tvx-vidazer.png"));
    QVERIFY(!a.fenster->windowIcon().pixmap(32).isNull());
    const double dpiX = a.fenster->logicalDpiX();
    const double dpiY = a.fenster->logicalDpiY();
    QCOMPARE(a.fenster->size(), QSize(qRound(13545 * dpiX / 1440), qRound(5910 * dpiY / 1440)));
    if (dpiX == 96 && dpiY == 96)
        QCOMPARE(a.fenster->size(), QSize(903, 394));

    const QFont schrift = a.el("BezVDb")->font();
    QCOMPARE(schrift.families().value(0), QString("Arial"));
    QCOMPARE(schrift.pointSizeF(), 9.75);
    QVERIFY(!schrift.bold());
    // Arial or, where it is missing, its metric twin.
    QVERIFY(QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(schrift).family()));
    const QFont titel = a.el("BezProgName")->font();
    QCOMPARE(titel.pointSizeF(), 15.75);
    QVERIFY(titel.bold());
    QCOMPARE(a.el("AnzVdbHochmeldung")->font(), schrift);
    QCOMPARE(a.el("AnzVDb")->palette().color(QPalette::Window), QColor(Qt::white));
}

void MainVdbVidazerTest::ersterStart()
{
    Aufbau a;
    QVERIFY(std::filesystem::is_directory(anwendungsdaten()));
    QVERIFY(!std::filesystem::exists(anwendungsdaten() + "/TVX_Vidazer.dir"));
    QCOMPARE(a.fenster->einstellungsdateiPfad(), anwendungsdaten() + "/TVX_Vidazer.dir");
    for (const char* feld : {"AnzVDb", "AnzExport", "AnzWkAk"})
        QCOMPARE(a.text(feld), QString());
    QVERIFY(a.fragen.asked.empty());

    // Closing writes the settings file: four empty lines, as nothing was chosen.
    QVERIFY(a.fenster->close());
    QCOMPARE(einstellungen(), std::string("\r\n\r\n\r\n\r\n"));
}

void MainVdbVidazerTest::einstellungenVomLetztenMal()
{
    TempFolder alt;
    std::filesystem::create_directory(alt.file("Datenbanken"));
    std::filesystem::create_directory(alt.file("Export"));
    writeDefinitionsFile(alt.file("wkak.zrv"));
    {
        // All kept: the club database dialog starts in the remembered folder, the definitions
        // file is shown. The export folder is remembered but not searched: nothing is found.
        einstellungenAnlegen(alt.file("Datenbanken") + "/\r\n" + alt.file("Abgleich.vdb") + "\r\n" +
                             alt.file("Export") + "/\r\n" + alt.file("wkak.zrv") + "\r\n");
        Aufbau a;
        QCOMPARE(a.text("AnzWkAk"), QString::fromStdString(alt.file("wkak.zrv")));
        QCOMPARE(a.text("AnzExport"), QString());
        a.vdbWaehlen(alt.file("Abgleich.vdb"));
        QCOMPARE(a.fragen.fileChoices.back().startFolder, alt.file("Datenbanken"));
        // The comparison database cannot be the one to create.
        QCOMPARE(a.meldungen(), std::vector<std::string>{meldung(
                                    "Hinweis", "Die zu erstellende Vereinsdatenbank kann nicht die gleiche, wie die "
                                               "zu erstellende Datenbank sein!\r\nBitte Wählen Sie eine andere "
                                               "Datenbank für den Abgleich, oder geben Sie der zu erstellenden "
                                               "Datei einen anderen Namen!")});
        QVERIFY(!std::filesystem::exists(alt.file("Abgleich.vdb")));
        QCOMPARE(a.text("AnzVDb"), QString());
        QVERIFY(!a.an("CmdStart"));

        // The settings go back as they came, the export folder always empty, the club-database
        // folder cleared with the cleared choice.
        QVERIFY(a.fenster->close());
        QCOMPARE(einstellungen(), "\r\n" + alt.file("Abgleich.vdb") + "\r\n\r\n" + alt.file("wkak.zrv") + "\r\n");
    }
    {
        // A deleted folder in line 1 and a missing definitions file in line 4 are dropped; a file
        // of fewer than four lines is read all the same.
        einstellungenAnlegen(alt.file("weg") + "/\r\n" + alt.file("Abgleich.vdb") + "\r\n");
        Aufbau a;
        QCOMPARE(a.text("AnzWkAk"), QString());
        a.fragen.files.push_back(std::nullopt);
        a.klick("AnzVDb");
        QCOMPARE(a.fragen.fileChoices.back().startFolder, QDir::homePath().toStdString() + "/schiess/Datenbanken");
        QVERIFY(a.fenster->close());
        QCOMPARE(einstellungen(), "\r\n" + alt.file("Abgleich.vdb") + "\r\n\r\n\r\n");

        einstellungenAnlegen(alt.file("Datenbanken") + "/\r\n\r\n\r\n" + alt.file("fehlt.zrv") + "\r\n");
        a.starten();
        QCOMPARE(a.text("AnzWkAk"), QString());
    }
}

void MainVdbVidazerTest::bereitschaftJeNachGefundenemUndGewaehltem()
{
    Aufbau a;
    a.exportDatei("Verband_V_2024.csv", {verein("04-001", "SG Tell")});

    // Export folder without a club database: nothing to say yet.
    a.exportWaehlen(a.export_);
    QCOMPARE(a.text("AnzExport"), QString::fromStdString(a.export_ + "/"));
    QVERIFY(a.fragen.asked.empty());
    QVERIFY(!a.sichtbar("FundRahmen"));
    QVERIFY(!a.an("CmdStart"));

    // Clubs file only: the members file is missing.
    a.vdbWaehlen(a.datenbanken + "/Verein.vdb");
    QCOMPARE(a.meldungen(), std::vector<std::string>{meldung("Fehler", kFehltExport)});
    QCOMPARE(a.fragen.asked.back().buttons, Buttons::Ok);
    for (const char* teil : {"FundRahmen", "EinRahmen", "VDbInhaltRahmen", "ChkLog"})
        QVERIFY(!a.sichtbar(teil));
    QVERIFY(!a.an("CmdStart"));

    // Only «x.m.1.csv»: found as the members file whatever its case; now the clubs file is missing.
    std::filesystem::remove(a.export_ + "/Verband_V_2024.csv");
    a.exportDatei("x.m.1.csv", {mitglied("04-001", "04-001-0027", "Müller", "Hans", "24.12.1961")});
    a.fragen.asked.clear();
    a.exportWaehlen(a.export_);
    QCOMPARE(a.meldungen(), std::vector<std::string>{meldung("Fehler", kFehltExport)});
    QVERIFY(a.haken("ChkExMitglieder"));
    QVERIFY(!a.haken("ChkExVereine"));
    QVERIFY(!a.an("CmdStart"));

    // Both files: all shown, Start possible, nothing said.
    a.exportDatei("Verband.V.2024.csv", {verein("04-001", "SG Tell")});
    a.fragen.asked.clear();
    a.exportWaehlen(a.export_);
    QVERIFY(a.fragen.asked.empty());
    for (const char* teil : {"FundRahmen", "EinRahmen", "VDbInhaltRahmen", "ChkLog"})
        QVERIFY(a.sichtbar(teil));
    QVERIFY(a.an("CmdStart"));
    QVERIFY(a.haken("ChkLog"));

    // Choosing a path again hides everything until it is complete again.
    a.fragen.files.push_back(std::nullopt);
    a.klick("AnzVDb");
    QVERIFY(!a.sichtbar("FundRahmen"));
    QVERIFY(!a.an("CmdStart"));
    QVERIFY(a.fragen.asked.empty());

    // A folder without any export file.
    a.fragen.answers = {Answer::Yes};
    a.vdbWaehlen(a.datenbanken + "/Verein.vdb");
    a.fragen.asked.clear();
    a.exportWaehlen(a.datenbanken);
    QCOMPARE(a.meldungen(), (std::vector<std::string>{meldung("Hinweis", "In diesem Ordner wurden keine Exportdaten "
                                                                         "gefunden!"),
                                                      meldung("Fehler", kFehltExport)}));
    QVERIFY(!a.sichtbar("FundRahmen"));
}

// The start rights are matched against the competition definitions: a start-rights file without
// them is pointed out, though Start stays possible.
void MainVdbVidazerTest::wettkampfdefinitionenUndStartrechte()
{
    Aufbau a;
    a.exportDatei("Bezirk_Z_2024.csv", {"x"});
    a.exportDatei("Bezirk_K_2024.csv", {"x"});
    a.bereit();
    QCOMPARE(a.meldungen(), std::vector<std::string>{meldung("TVX_Dadazuror", kWkAkBenoetigt)});
    QVERIFY(a.an("CmdStart"));
    QVERIFY(a.sichtbar("FundRahmen"));
    // Found, but off; the districts file is shown, never converted.
    QVERIFY(a.haken("ChkExStartrechte") && !a.an("ChkExStartrechte"));
    QVERIFY(a.haken("ChkExKreis") && !a.an("ChkExKreis"));
    QVERIFY(a.haken("ChkExVereine") && a.an("ChkExVereine"));

    a.fragen.asked.clear();
    a.wkakWaehlen(a.wkak);
    QVERIFY(a.fragen.asked.empty());
    QCOMPARE(a.text("AnzWkAk"), QString::fromStdString(a.wkak));
    QVERIFY(a.haken("ChkExStartrechte") && a.an("ChkExStartrechte"));
    const questions::FileChoice& wahl = a.fragen.fileChoices.back();
    QCOMPARE(wahl.title, std::string("Wettkampfdefinitionen öffnen"));
    QCOMPARE(wahl.filter, std::string("Wettkampfdefinitionen|*.zrv"));
    QCOMPARE(wahl.startFolder, std::string());
    QVERIFY(!wahl.save);

    // The next dialog starts beside the chosen file; cancelling it empties the field.
    a.wkakWaehlen(std::nullopt);
    QCOMPARE(a.fragen.fileChoices.back().startFolder, a.tmp.path().string() + "/");
    QCOMPARE(a.text("AnzWkAk"), QString());
    QCOMPARE(a.meldungen().back(), meldung("TVX_Dadazuror", kWkAkBenoetigt));

    a.wkakWaehlen(a.wkak);
    std::filesystem::remove(a.wkak);
    a.fragen.asked.clear();
    a.exportWaehlen(a.export_);
    QCOMPARE(a.meldungen(), std::vector<std::string>{meldung("TVX_Dadazuror", kWkAkFehlt)});
    QVERIFY(!a.an("ChkExStartrechte"));
    QVERIFY(a.an("CmdStart"));
}

void MainVdbVidazerTest::fundkaestchenUndLogkaestchen()
{
    Aufbau a;
    a.bereit();
    // The found-file boxes show what was found; a click changes nothing.
    a.kaestchenKlick("ChkExVereine");
    QVERIFY(a.haken("ChkExVereine"));
    a.kaestchenKlick("ChkExMitglieder");
    QVERIFY(a.haken("ChkExMitglieder"));

    // Unticking the log box survives the next choice of a path.
    a.kaestchenKlick("ChkLog");
    QVERIFY(!a.haken("ChkLog"));
    a.exportWaehlen(a.export_);
    QVERIFY(a.sichtbar("ChkLog"));
    QVERIFY(!a.haken("ChkLog"));

    // And the run writes no log. Without a chosen definitions file it takes the one in the
    // program folder, and the field shows it.
    a.klick("CmdStart");
    QVERIFY(a.logdatei().empty());
    QCOMPARE(a.text("AnzVereine"), QString("1 / 1"));
    QCOMPARE(a.text("AnzWkAk"), QString::fromStdString(a.programm + "/wkak.zrv"));
}

void MainVdbVidazerTest::exportordnerWaehlenUndAbbrechen()
{
    Aufbau a;
    a.bereit();
    QVERIFY(a.an("CmdStart"));

    // Cancelling the folder browser leaves no export folder and nothing found.
    a.fragen.folders.push_back(std::nullopt);
    a.klick("AnzExport");
    QCOMPARE(a.text("AnzExport"), QString());
    QVERIFY(!a.an("CmdStart"));
    QVERIFY(a.fragen.asked.empty());

    // Without a folder browser a save dialog takes its place: any name in the wanted folder.
    a.fenster->ordnerauswahlErlauben(false);
    a.fragen.files.push_back(a.export_ + "/irgendwas.csv");
    a.klick("AnzExport");
    QCOMPARE(a.text("AnzExport"), QString::fromStdString(a.export_ + "/"));
    QVERIFY(a.an("CmdStart"));
    const questions::FileChoice& wahl = a.fragen.fileChoices.back();
    QCOMPARE(wahl.title, std::string("Exportordner einstellen"));
    QCOMPARE(wahl.filter, std::string("TVX-Export|*.csv"));
    QCOMPARE(wahl.fileName, std::string());
    QVERIFY(wahl.save);

    // Cancelling it keeps the folder but forgets its files: the readiness check misses them.
    a.fragen.files.push_back(std::nullopt);
    a.klick("AnzExport");
    QCOMPARE(a.fragen.fileChoices.back().startFolder, a.export_);
    QCOMPARE(a.text("AnzExport"), QString());
    QCOMPARE(a.meldungen(), std::vector<std::string>{meldung("Fehler", kFehltExport)});
    QVERIFY(!a.an("CmdStart"));
}

void MainVdbVidazerTest::vereinsdatenbankAnlegenLoeschenUndAbbrechen()
{
    Aufbau a;
    const std::string vdb = a.datenbanken + "/Verein.vdb";
    std::ofstream(vdb) << "Daten des Vereins";

    a.fragen.answers = {Answer::No};
    a.vdbWaehlen(vdb);
    const questions::FileChoice& wahl = a.fragen.fileChoices.back();
    QCOMPARE(wahl.title, std::string("Vereinsdatenbank anlegen"));
    QCOMPARE(wahl.filter, std::string("Vereinsdatenbank|*.vdb"));
    QCOMPARE(wahl.startFolder, QDir::homePath().toStdString() + "/schiess/Datenbanken");
    QVERIFY(wahl.save);

    // No: nothing deleted, nothing chosen.
    QCOMPARE(a.meldungen(), std::vector<std::string>{meldung("Löschen bestätigen", "Soll die vorhandene Datei\r\n" +
                                                                                       vdb + "\r\ngelöscht werden?")});
    QCOMPARE(a.fragen.asked.back().buttons, Buttons::YesNo);
    QCOMPARE(readBytes(vdb), std::string("Daten des Vereins"));
    QCOMPARE(a.text("AnzVDb"), QString());

    // Yes: replaced by an empty club database, chosen and remembered.
    a.fragen.answers = {Answer::Yes};
    a.vdbWaehlen(vdb);
    QCOMPARE(a.text("AnzVDb"), QString::fromStdString(vdb));
    QVERIFY(a.fragen.answers.empty());
    QVERIFY(readBytes(vdb).starts_with("SQLite format 3"));
    QCOMPARE(clubdb::VdbInhaltZaehlen(vdb).vereine, std::optional<std::int64_t>(0));

    // The next dialog starts in its folder; cancelling it forgets the choice and the folder.
    a.fragen.files.push_back(std::nullopt);
    a.klick("AnzVDb");
    QCOMPARE(a.fragen.fileChoices.back().startFolder, a.datenbanken);
    QCOMPARE(a.text("AnzVDb"), QString());
    a.fragen.files.push_back(std::nullopt);
    a.klick("AnzVDb");
    QCOMPARE(a.fragen.fileChoices.back().startFolder, QDir::homePath().toStdString() + "/schiess/Datenbanken");
    QVERIFY(std::filesystem::exists(vdb));
}

// A club database that cannot be created is reported with the engine's number and description
// and leaves no club database chosen, so that Start cannot run into a missing file.
void MainVdbVidazerTest::vereinsdatenbankNichtAnlegbar()
{
    Aufbau a;
    a.bereit();
    QVERIFY(a.an("CmdStart"));
    a.fragen.asked.clear();

    const std::string vdb = a.datenbanken + "/fehlt/Verein.vdb";
    a.vdbWaehlen(vdb);
    QCOMPARE(a.fragen.asked.size(), std::size_t{1});
    QCOMPARE(a.fragen.asked[0].title, std::string("Fehler"));
    QVERIFY(a.fragen.asked[0].text.starts_with("Die Vereinsdatenbank\r\n" + vdb +
                                               "\r\nkonnte nicht angelegt werden.\r\n\r\nFehler 3044: "));
    QCOMPARE(a.text("AnzVDb"), QString());
    QVERIFY(!a.an("CmdStart"));
    QVERIFY(!a.sichtbar("FundRahmen"));

    // A folder in the way of the file cannot be deleted as if it were an old club database.
    std::filesystem::create_directory(a.datenbanken + "/Ordner.vdb");
    a.fragen.asked.clear();
    a.fragen.answers = {Answer::Yes};
    a.vdbWaehlen(a.datenbanken + "/Ordner.vdb");
    QCOMPARE(a.fragen.asked.back().title, std::string("Fehler"));
    QVERIFY(std::filesystem::is_directory(a.datenbanken + "/Ordner.vdb"));
    QVERIFY(!a.an("CmdStart"));
}

void MainVdbVidazerTest::ganzerLaufMitKlicks()
{
    Aufbau a;
    // Two files of the clubs kind: the underscore pattern wins over the full-stop one.
    a.exportDatei("Verband_V_2024.csv",
                  {verein("04-001", "SG Tell"), verein("04-007", "SV Hubertus"), verein("04-001", "Doppelt")});
    a.exportDatei("Verband.V.2024.csv", {verein("04-009", "Falsche Datei")});
    a.exportDatei("Verband_M_2024.csv", {mitglied("04-001", "04-001-0027", "Müller", "Hans", "24.12.1961"),
                                         mitglied("04-007", "04-001-0027", "Müller", "Hans", "24.12.1961"),
                                         mitglied("04-007", "04-007-0003", "Huber", "Georg", "02.05.1970")});
    a.exportDatei("Verband_Z_2024.csv", {"x,04-001,04-001-0027,04-007,04-007-0100,1.10"});
    a.wkakWaehlen(a.wkak);
    a.exportWaehlen(a.export_);
    a.vdbWaehlen(a.datenbanken + "/Verein.vdb");
    QVERIFY(a.fragen.asked.empty());
    QVERIFY(a.an("CmdStart"));

    // The clubs step finds the double club number: the log is offered, and declined.
    a.fragen.answers = {Answer::No};
    a.klick("CmdStart");
    QCOMPARE(a.text("AnzVereine"), QString("3 / 3"));
    QCOMPARE(a.text("AnzMitglieder"), QString("3 / 3"));
    QCOMPARE(a.text("AnzStartberechtigungen"), QString("1 / 1"));
    QCOMPARE(a.text("AnzVDbVereine"), QString("3"));
    QCOMPARE(a.text("AnzVdbSchützen"), QString("2"));
    QCOMPARE(a.text("AnzVDbGesMitglieder"), QString("3"));
    QCOMPARE(a.text("AnzVDbZweitmitgliedschaften"), QString("1"));
    QCOMPARE(a.text("AnzVDbStartrechte"), QString("1"));
    QCOMPARE(a.text("AnzVDbKreise"), QString("0"));
    QCOMPARE(a.fragen.asked.back().title, std::string("Logdatei"));
    QCOMPARE(a.fragen.asked.back().text, std::string("Bei der Umwandlung der Exportdateien wurden Probleme "
                                                     "festgestellt.\r\nSoll die Logdatei angezeigt werden?"));
    QCOMPARE(a.fragen.asked.back().buttons, Buttons::YesNo);
    QVERIFY(a.gezeigteLogs.empty());
    const std::string log = a.logdatei();
    QVERIFY(readLog(log).starts_with("Starte Vidazerierung\r\n"));

    // After the run: Start waits for the next choice, Ende and the log box are back.
    QVERIFY(!a.an("CmdStart"));
    QVERIFY(!a.an("CmdAbbruch"));
    QVERIFY(a.an("CmdEnde"));
    QVERIFY(a.an("ChkLog"));
    QVERIFY(a.an("AnzVDb"));

    // A new choice starts the counters again, all six database counts included.
    a.exportWaehlen(a.export_);
    QVERIFY(a.an("CmdStart"));
    for (const char* fortschritt : {"AnzVereine", "AnzMitglieder", "AnzStartberechtigungen"})
        QCOMPARE(a.text(fortschritt), QString());
    for (const char* zahl : {"AnzVDbVereine", "AnzVdbSchützen", "AnzVdbHochmeldung", "AnzVDbGesMitglieder",
                             "AnzVDbZweitmitgliedschaften", "AnzVDbStartrechte"})
        QCOMPARE(a.text(zahl), QString("0"));

    // Again into a new club database; this time the log is wanted, but no viewer starts.
    a.fragen.answers = {Answer::Yes, Answer::Yes};
    a.vdbWaehlen(a.datenbanken + "/Verein.vdb");
    a.betrachterDa = false;
    a.fragen.asked.clear();
    a.klick("CmdStart");
    QCOMPARE(a.text("AnzVDbVereine"), QString("3"));
    QCOMPARE(a.gezeigteLogs, std::vector<std::string>{log});
    QCOMPARE(a.fragen.asked.back().title, std::string("Hinweis"));
    QVERIFY(a.fragen.asked.back().text.starts_with("Die Logdatei\r\n" + log + "\r\nkann nicht angezeigt werden"));

    // Ende closes the window and remembers the club-database folder and the definitions.
    a.klick("CmdEnde");
    QVERIFY(!a.fenster->isVisible());
    QCOMPARE(einstellungen(), a.datenbanken + "/\r\n\r\n\r\n" + a.wkak + "\r\n");
}

void MainVdbVidazerTest::abbruchImMitgliederschrittUndSchliessenVerweigert()
{
    Aufbau a;
    std::vector<std::string> mitglieder;
    for (int i = 0; i < 40; ++i)
        mitglieder.push_back(mitglied("04-001", "04-001-" + std::to_string(1000 + i),
                                      "Name" + std::string(1, 'A' + i % 26), "Vorname",
                                      std::to_string(1 + i % 28) + ".01.19" + std::to_string(50 + i)));
    {
        std::ofstream datei(a.export_ + "/Bezirk_M_2024.csv", std::ios::binary);
        for (const std::string& zeile : mitglieder)
            datei << text::encodeWindows1252(zeile) << "\r\n";
    }
    a.exportDatei("Bezirk_V_2024.csv", {verein("04-001", "SG Tell")});
    a.exportDatei("Bezirk_Z_2024.csv", {"1,04-001-1000,1.10"});
    a.exportWaehlen(a.export_);
    a.wkakWaehlen(a.wkak);
    a.vdbWaehlen(a.datenbanken + "/Verein.vdb");
    QVERIFY(a.fragen.asked.empty());
    // Without a log no question can come at the end.
    a.kaestchenKlick("ChkLog");

    // While the members step runs: the buttons of a run, closing refused, Abbruch pressed.
    bool geprueft = false;
    QTimer waechter;
    waechter.setInterval(0);
    connect(&waechter, &QTimer::timeout, [&] {
        // The clubs have been counted: the members step is under way (its labels follow only
        // every 50 ms, so they cannot tell).
        if (geprueft || a.text("AnzVDbVereine") != "1")
            return;
        geprueft = true;
        QVERIFY(!a.an("CmdStart"));
        QVERIFY(!a.an("CmdEnde"));
        QVERIFY(a.an("CmdAbbruch"));
        QVERIFY(!a.an("ChkLog"));
        QVERIFY(!a.an("AnzVDb"));
        QVERIFY(!a.fenster->close());
        QVERIFY(a.fenster->isVisible());
        a.klick("CmdAbbruch");
    });
    waechter.start();
    a.klick("CmdStart");
    waechter.stop();

    QVERIFY(geprueft);
    QCOMPARE(a.text("AnzVereine"), QString("1 / 1"));
    const QString mitgliederstand = a.text("AnzMitglieder");
    QVERIFY2(mitgliederstand != "40 / 40", qPrintable(mitgliederstand));
    QVERIFY(mitgliederstand.section(" / ", 0, 0).toInt() < 40);
    // The start-rights step is skipped.
    QCOMPARE(a.text("AnzStartberechtigungen"), QString());
    QVERIFY(a.fragen.asked.empty());
    QVERIFY(a.logdatei().empty());
    QVERIFY(!std::filesystem::exists(anwendungsdaten() + "/TVX_Vidazer.dir"));

    // Once the run is over the window closes.
    QVERIFY(a.an("CmdEnde"));
    QVERIFY(!a.an("CmdAbbruch"));
    QVERIFY(a.fenster->close());
    QVERIFY(std::filesystem::exists(anwendungsdaten() + "/TVX_Vidazer.dir"));
}

// A definitions file that cannot be created for lack of permission ends the program at once,
// without the shut-down that would remember it.
void MainVdbVidazerTest::gesperrteWettkampfdefinitionenBeendenSofort()
{
    const std::string ordner = gesperrterOrdner();
    if (ordner.empty())
        QSKIP("Dieses System lässt das Anlegen in jedem Ordner zu.");
    Aufbau a;
    a.wkakWaehlen(ordner + "/wkak.zrv");
    a.bereit();
    a.fragen.answers = {Answer::Yes};
    a.klick("CmdStart");
    QCOMPARE(a.fragen.asked.back().title, std::string("Zervik - Zugriffsfehler"));
    QVERIFY(!a.fenster->isVisible());
    QVERIFY(a.fenster->close());
    QVERIFY(!std::filesystem::exists(anwendungsdaten() + "/TVX_Vidazer.dir"));
    QVERIFY(a.logdatei().empty());
}

QTEST_MAIN(MainVdbVidazerTest)
#include "MainVdbVidazerTest.moc"
