#include "app/MainVdbVidazer.h"
#include "app/Anzeigefeld.h"
#include "app/Logfenster.h"
#include "clubdb/VdbInhalt.h"
#include "support/DefinitionsFile.h"
#include "support/ExportFiles.h"
#include "support/ScriptedQuestions.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

using namespace fenster;
using questions::Answer;

namespace {

const QString kFehltExport = "Fehler: Eine oder beide Exportdateien wurden nicht gefunden.\r\n"
                             "Für die Erstellung der Datenbank werden mindestens die Vereins- und "
                             "Mitgliederdaten benötigt!";
const QString kWkAkBenoetigt =
    "TVX_Dadazuror: Für das Einlesen der Startrechte wird die Datei mit den voreingestellten Disziplinen benötigt!";
const QString kWkAkFehlt = "TVX_Dadazuror: Die Datei mit den voreingestellten Disziplinen wurde nicht gefunden!";
const QString kKeineExportdaten = "Hinweis: In diesem Ordner wurden keine Exportdaten gefunden!";
const QString kFortschritt = "AnzVereine AnzMitglieder AnzStartberechtigungen";
const QString kVdbZahlen = "AnzVDbKreise AnzVDbVereine AnzVdbSchützen AnzVdbHochmeldung AnzVDbGesMitglieder "
                           "AnzVDbZweitmitgliedschaften AnzVDbStartrechte";

std::string anwendungsdaten()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/TVX_Dadazuror";
}

std::string standardordner()
{
    return QDir::homePath().toStdString() + "/schiess/Datenbanken";
}

// The caption of a label, check box, button or frame; null for any other control.
QString beschriftung(QWidget* w)
{
    if (qobject_cast<Anzeigefeld*>(w))
        return {};
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* knopf = qobject_cast<QAbstractButton*>(w))
        return knopf->text();
    if (auto* rahmen = qobject_cast<QGroupBox*>(w))
        return rahmen->title();
    return {};
}

// Where the control draws its caption, as its style lays it out. A frame's title may reach to
// the same distance from the right edge as it keeps from the left.
QRect textflaeche(QWidget* w)
{
    QStyleOptionButton knopf;
    knopf.initFrom(w);
    knopf.text = beschriftung(w);
    if (qobject_cast<QCheckBox*>(w))
        return w->style()->subElementRect(QStyle::SE_CheckBoxContents, &knopf, w);
    if (qobject_cast<QPushButton*>(w))
        return w->style()->subElementRect(QStyle::SE_PushButtonContents, &knopf, w);
    if (auto* rahmen = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox o;
        o.initFrom(w);
        o.text = rahmen->title();
        o.textAlignment = rahmen->alignment();
        o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect titel = w->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, w);
        return QRect(titel.left(), titel.top(), w->width() - 2 * titel.left(), titel.height());
    }
    return static_cast<QLabel*>(w)->contentsRect();
}

// How far the letters of text reach when it is drawn in the font: from where the text begins to
// its last coloured column.
int tintenbreite(const QString& text, const QFont& schrift)
{
    constexpr int kAnfang = 50;
    QImage bild(1500, 120, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter maler(&bild);
    maler.setFont(schrift);
    maler.setPen(Qt::black);
    maler.drawText(kAnfang, 80, text);
    maler.end();
    int rechts = kAnfang - 1;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = rechts + 1; x < bild.width(); ++x)
            if (bild.pixel(x, y) != qRgb(255, 255, 255))
                rechts = x;
    return rechts - kAnfang + 1;
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
    std::string export_ = tmp.file("Export"), datenbanken = tmp.file("Datenbanken"), vdb = datenbanken + "/Verein.vdb";
    std::string wkak = tmp.file("wkak.zrv");
    std::string programm = tmp.file("Programm"); // with its default definitions file

    static std::string einstellungspfad() { return anwendungsdaten() + "/TVX_Vidazer.dir"; }
    static std::string verein(const std::string& nummer) { return "1," + nummer + ",SG " + nummer + ",V,,,,,,,Ort"; }
    static std::string mitglied(const std::string& verein, const std::string& nummer, const std::string& name,
                                const std::string& geburt = "24.12.1961")
    {
        return "1," + verein + "," + nummer + ",01.03.1990,,," + name + ",Hans," + geburt +
               ",M,,,,,,Hauptstr.,12,86150,Augsburg,0821 / 123-45";
    }

    Aufbau()
    {
        for (const std::string& ordner : {export_, datenbanken, programm})
            std::filesystem::create_directory(ordner);
        writeDefinitionsFile(wkak);
        writeDefinitionsFile(programm + "/wkak.zrv");
        starten();
    }

    void starten()
    {
        fenster = std::make_unique<MainVdbVidazer>(fragen, Programmumgebung{programm, anwendungsdaten()});
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
    QString text(const char* name) const { return el<QLabel>(name)->text(); }
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
    // The found-file boxes: capital when found and converted, small when found and only shown.
    QString funde() const
    {
        QString f;
        for (const char* name : {"ChkExKreis", "ChkExVereine", "ChkExMitglieder", "ChkExStartrechte"}) {
            const QChar b = QLatin1Char(name[5]);
            f += !qobject_cast<QCheckBox*>(el(name))->isChecked() ? (an(name) ? QChar('!') : QChar('.'))
                 : an(name)                                       ? b
                                                                  : b.toLower();
        }
        return f;
    }
    void klick(const char* name) const { QTest::mouseClick(el(name), Qt::LeftButton); }
    // On the box itself, not somewhere right of its caption.
    void kaestchenKlick(const char* name) const
    {
        QTest::mouseClick(el(name), Qt::LeftButton, {}, QPoint(6, el(name)->height() / 2));
    }
    // Clicks one of the path fields, with what its dialog returns.
    void waehlen(const char* feld, const std::optional<std::string>& pfad)
    {
        (std::string_view(feld) == "AnzExport" ? fragen.folders : fragen.files).push_back(pfad);
        klick(feld);
    }
    void exportDatei(const std::string& name, const std::vector<std::string>& zeilen) const
    {
        std::ofstream datei(export_ + "/" + name, std::ios::binary);
        for (const std::string& zeile : zeilen)
            datei << text::encodeWindows1252(zeile) << "\r\n";
    }
    QStringList meldungen() const
    {
        QStringList m;
        for (const auto& a : fragen.asked)
            m << QString::fromStdString(a.title + ": " + a.text);
        return m;
    }
    // What the readiness check said since the last look, the found-file boxes (see funde) and
    // whether Start, the frames and the log box are there.
    QString zustand()
    {
        bool start = true;
        for (const char* teil : {"FundRahmen", "EinRahmen", "VDbInhaltRahmen", "ChkLog", "CmdStart"})
            start = start && el(teil)->isVisibleTo(fenster.get()) && an(teil);
        const QString z = meldungen().join(" / ") + " | " + funde() + (start ? " | Start" : "");
        fragen.asked.clear();
        return z;
    }
    std::string logdatei() const
    {
        for (const auto& eintrag : std::filesystem::directory_iterator(datenbanken))
            if (eintrag.path().extension() == ".log")
                return eintrag.path().string();
        return {};
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
        std::ofstream(Aufbau::einstellungspfad(), std::ios::binary) << einstellungen;
        Aufbau a;
        a.exportDatei("B_V_1.csv", {Aufbau::verein("04-001")});
        a.exportDatei("B_M_1.csv", {});
        a.waehlen("AnzExport", a.export_);
        a.waehlen("AnzVDb", a.vdb);
        QVERIFY(a.an("CmdStart"));
        const std::string fehlt = a.datenbanken + "/fehlt/Verein.vdb";
        a.waehlen("AnzVDb", fehlt);
        QCOMPARE(a.meldungen().size(), 1);
        QVERIFY(a.meldungen()[0].startsWith(QString::fromStdString(
            "Fehler: Die Vereinsdatenbank\r\n" + fehlt + "\r\nkonnte nicht angelegt werden.\r\n\r\nFehler 3044: ")));
        QCOMPARE(a.text("AnzVDb"), QString());
        QVERIFY(!a.an("CmdStart"));
        a.fragen.asked.clear();
        a.waehlen("AnzVDb", abgleich);
        QCOMPARE(a.meldungen(), QStringList{"Hinweis: Die zu erstellende Vereinsdatenbank kann nicht die gleiche, wie "
                                            "die zu erstellende Datenbank sein!\r\nBitte Wählen Sie eine andere "
                                            "Datenbank für den Abgleich, oder geben Sie der zu erstellenden Datei "
                                            "einen anderen Namen!"});
        QVERIFY(!std::filesystem::exists(abgleich));
        QCOMPARE(a.text("AnzVDb"), QString());

        std::ofstream(a.vdb) << "Daten des Vereins";
        a.fragen.asked.clear();
        a.fragen.answers = {Answer::No, Answer::Yes};
        a.waehlen("AnzVDb", a.vdb);
        QCOMPARE(a.meldungen(), QStringList{QString::fromStdString("Löschen bestätigen: Soll die vorhandene Datei\r\n" +
                                                                   a.vdb + "\r\ngelöscht werden?")});
        QCOMPARE(a.fragen.asked.back().buttons, questions::Buttons::YesNo);
        QCOMPARE(readBytes(a.vdb), std::string("Daten des Vereins"));
        QCOMPARE(a.text("AnzVDb"), QString());
        a.waehlen("AnzVDb", a.vdb);
        QCOMPARE(a.text("AnzVDb"), QString::fromStdString(a.vdb));
        QCOMPARE(clubdb::VdbInhaltZaehlen(a.vdb).vereine, std::optional<std::int64_t>(0));
        QVERIFY(a.an("CmdStart"));
        QVERIFY(a.fenster->close()); // the comparison database is remembered as it was read
        QCOMPARE(readBytes(Aufbau::einstellungspfad()), a.datenbanken + "/" + einstellungen);
    }

    // The readiness check after every choice, as the export files come in (" | " separates what it
    // said, the found-file boxes and Start), then two runs and the shut-down.
    void bereitschaftGanzerLaufUndEnde()
    {
        Aufbau a;
        QCOMPARE(a.fenster->windowTitle(), QString("TVX - Zervik - Vidazerierung"));
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), kKeineExportdaten + " | ...."); // nothing more without a club database
        a.waehlen("AnzVDb", a.vdb);
        QCOMPARE(a.zustand(), kFehltExport + " | ....");
        a.exportDatei("x.m.1.csv", {"x"});
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), kFehltExport + " | ..M.");
        a.exportDatei("Verband.V.2024.csv", {Aufbau::verein("04-009")});
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), " | .VM. | Start");
        // The underscore pattern wins over the full-stop one. Start rights need the definitions to
        // be matched against; the districts are never converted.
        a.exportDatei("Verband_V_2024.csv",
                      {Aufbau::verein("04-001"), Aufbau::verein("04-007"), "1,04-001,D,D,,,,,,,O"});
        a.exportDatei("Verband_M_2024.csv", {Aufbau::mitglied("04-001", "04-001-0027", "Müller"),
                                             Aufbau::mitglied("04-007", "04-001-0027", "Müller"),
                                             Aufbau::mitglied("04-007", "04-007-0003", "Huber", "02.05.1970")});
        a.exportDatei("Verband_Z_2024.csv", {"x,04-001,04-001-0027,04-007,04-007-0100,1.10"});
        a.exportDatei("Verband_K_2024.csv", {"x"});
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.zustand(), kWkAkBenoetigt + " | kVMs | Start");
        a.waehlen("AnzWkAk", a.tmp.file("fehlt.zrv"));
        QCOMPARE(a.zustand(), kWkAkFehlt + " | kVMs | Start");
        a.waehlen("AnzWkAk", a.wkak);
        // The found-file boxes show what was found; a click changes nothing.
        for (const char* name : {"ChkExKreis", "ChkExVereine", "ChkExMitglieder", "ChkExStartrechte"})
            a.kaestchenKlick(name);
        QCOMPARE(a.zustand(), " | kVMS | Start");

        // The clubs step finds the double club number: the log is offered, and declined.
        a.fragen.answers = {Answer::No};
        a.klick("CmdStart");
        QCOMPARE(a.texte(kFortschritt), (QStringList{"3 / 3", "3 / 3", "1 / 1"}));
        QCOMPARE(a.texte(kVdbZahlen), (QStringList{"0", "3", "2", "0", "3", "1", "1"}));
        QCOMPARE(a.meldungen(), QStringList{"Logdatei: Bei der Umwandlung der Exportdateien wurden Probleme "
                                            "festgestellt.\r\nSoll die Logdatei angezeigt werden?"});
        QVERIFY(a.gezeigteLogs.empty());
        const std::string log = a.logdatei();
        QVERIFY(readLog(log).starts_with("Starte Vidazerierung\r\n"));
        // After the run: Start waits for the next choice, Ende and the log box are back.
        QCOMPARE(a.bedienbar(), (QStringList{"CmdEnde", "ChkLog", "AnzVDb"}));

        // A new choice starts the counters again, all database counts included.
        a.waehlen("AnzExport", a.export_);
        QCOMPARE(a.texte(kFortschritt), (QStringList{"", "", ""}));
        QCOMPARE(a.texte(kVdbZahlen), QStringList(7, "0"));

        // Again into a new club database; this time the log is wanted: the program's own log window
        // opens beside the main window, and hands the log to a viewer only on request.
        a.fragen.answers = {Answer::Yes, Answer::Yes};
        a.waehlen("AnzVDb", a.vdb);
        a.betrachterDa = false;
        a.fragen.asked.clear();
        a.klick("CmdStart");
        auto* logfenster = a.el<Logfenster>("Logfenster");
        QVERIFY(logfenster->isVisible() && !logfenster->isModal());
        QCOMPARE(logfenster->windowTitle(), QString::fromStdString("Logdatei - " + log));
        QVERIFY(a.gezeigteLogs.empty());
        QTest::mouseClick(logfenster->findChild<QPushButton*>("CmdEditor"), Qt::LeftButton);
        QCOMPARE(a.gezeigteLogs, std::vector<std::string>{log});
        QVERIFY(a.meldungen().back().startsWith(
            QString::fromStdString("Hinweis: Die Logdatei\r\n" + log + "\r\nkann nicht angezeigt werden")));

        // Ende closes the window, the log window with it, and remembers the club-database folder and
        // the definitions for the next start; the export folder is never remembered.
        a.klick("CmdEnde");
        QVERIFY(!a.fenster->isVisible() && !logfenster->isVisible());
        QCOMPARE(readBytes(Aufbau::einstellungspfad()), a.datenbanken + "/\r\n\r\n\r\n" + a.wkak + "\r\n");
        a.starten();
        QCOMPARE(a.text("AnzWkAk").toStdString(), a.wkak);
        QCOMPARE(a.text("AnzExport"), QString());
        a.waehlen("AnzVDb", std::nullopt);
        QCOMPARE(a.fragen.fileChoices.back().startFolder, a.datenbanken);
    }

    // Every caption fits its control in the font actually chosen: a font of Arial's widths at the
    // design's sizes, or, where there is none, whatever font takes its place, made to fit. The
    // test runs a second time on a desktop without those fonts.
    void fensterUndSchrift()
    {
        Aufbau a;
        QCOMPARE(a.fenster->windowTitle(), QString("TVX - Zervik - Vidazerierung"));
        const QFont schrift = a.el("BezVDb")->font();
        const QFont titel = a.el("BezProgName")->font();
        QVERIFY(!schrift.bold() && titel.bold());
        const QString familie = QFontInfo(schrift).family();
        const bool arialbreit = QStringList({"Liberation Sans", "Arimo", "Arial"}).contains(familie);
        QCOMPARE(arialbreit, !qEnvironmentVariableIsSet("TVX_OHNE_ARIALBREITE"));
        if (arialbreit) {
            QCOMPARE(schrift.pointSizeF(), 9.75);
            QCOMPARE(titel.pointSizeF(), 15.75);
        }
        for (QWidget* w : a.fenster->findChildren<QWidget*>()) {
            const QString text = beschriftung(w);
            if (text.isNull())
                continue;
            const QRect flaeche = textflaeche(w);
            const int breite = tintenbreite(text, w->font());
            QVERIFY2(breite <= flaeche.width() && QFontMetrics(w->font()).height() <= flaeche.height(),
                     qPrintable(QStringLiteral("%1 in %2 %3 pt: %4 Pixel breit, Platz %5 × %6")
                                    .arg(text, familie)
                                    .arg(w->font().pointSizeF())
                                    .arg(breite)
                                    .arg(flaeche.width())
                                    .arg(flaeche.height())));
        }
    }

    // Every dialog opens in a folder that exists: the previous choice, else the default folder
    // (created for the club database), else the nearest folder above, else the home folder. The
    // definitions dialog takes a new name too.
    void dialogeBeginnenInVorhandenenOrdnern()
    {
        const std::string heim = QDir::homePath().toStdString();
        std::filesystem::remove_all(heim + "/schiess");
        const auto aufraeumen = qScopeGuard([&] { std::filesystem::remove_all(heim + "/schiess"); });
        const struct
        {
            const char* name;
            const char* feld;
            std::function<void(Aufbau&)> vorher;
            std::function<std::string(Aufbau&)> start;
        } faelle[] = {
            {"Export beim ersten Mal", "AnzExport", {}, [&](Aufbau&) { return heim; }},
            {"Export gelöscht", "AnzExport",
             [](Aufbau& a) {
                 std::filesystem::create_directory(a.export_ + "/2024");
                 a.waehlen("AnzExport", a.export_ + "/2024");
                 std::filesystem::remove(a.export_ + "/2024");
             },
             [](Aufbau& a) { return a.export_; }},
            {"Vereinsdatenbank beim ersten Mal", "AnzVDb", {}, [](Aufbau&) { return standardordner(); }},
            {"Standardordner nicht anlegbar", "AnzVDb",
             [&](Aufbau& a) {
                 std::filesystem::remove_all(heim + "/schiess");
                 std::ofstream(heim + "/schiess") << "kein Ordner";
                 std::filesystem::create_directory(a.datenbanken + "/2024");
                 a.waehlen("AnzVDb", a.datenbanken + "/2024/Verein.vdb");
                 std::filesystem::remove_all(a.datenbanken + "/2024");
             },
             [](Aufbau& a) { return a.datenbanken; }},
            {"Definitionen beim ersten Mal", "AnzWkAk", {}, [](Aufbau& a) { return a.programm; }},
            {"Definitionsdatei gelöscht", "AnzWkAk",
             [](Aufbau& a) {
                 a.waehlen("AnzWkAk", a.wkak);
                 std::filesystem::remove(a.wkak);
             },
             [](Aufbau& a) { return a.tmp.path().string(); }},
            {"Definitionsordner gelöscht", "AnzWkAk",
             [](Aufbau& a) { a.waehlen("AnzWkAk", a.tmp.file("weg/wkak.zrv")); }, [](Aufbau& a) { return a.programm; }},
        };
        for (const auto& f : faelle) {
            Aufbau a;
            if (f.vorher)
                f.vorher(a);
            a.fragen.files.push_back(std::nullopt);
            a.fragen.folders.push_back(std::nullopt);
            a.klick(f.feld);
            const bool ordnerwahl = f.feld == std::string("AnzExport");
            const std::string start =
                ordnerwahl ? a.fragen.folderStarts.back() : a.fragen.fileChoices.back().startFolder;
            QVERIFY2(start == f.start(a), f.name);
            QVERIFY2(std::filesystem::is_directory(start), f.name);
            QVERIFY2(ordnerwahl || a.fragen.fileChoices.back().allowNew == (f.feld == std::string("AnzWkAk")), f.name);
        }
    }

    // A run refused for empty definitions changes nothing in the window, not even the definitions
    // field; a path too long for its field is shortened in the middle, the tooltip shows it whole.
    void verweigerterLaufUndLangerPfad()
    {
        Aufbau a;
        a.exportDatei("Bezirk_V_2024.csv", {Aufbau::verein("04-001")});
        a.exportDatei("Bezirk_M_2024.csv", {Aufbau::mitglied("04-001", "04-001-0027", "Müller")});
        a.waehlen("AnzExport", a.export_);
        a.waehlen("AnzVDb", a.vdb);
        std::filesystem::remove(a.programm + "/wkak.zrv");
        ScriptedQuestions stumm;
        definitions::WkAkAnlegen(a.programm + "/wkak.zrv", {"", "", stumm});
        a.klick("CmdStart");
        QVERIFY(a.meldungen().back().startsWith("Fehler: Die Datei mit den Voreinstellungen der Disziplinen und "
                                                "Klassen ist (teilweise) leer"));
        QCOMPARE(a.text("AnzWkAk"), QString());
        QVERIFY(a.an("CmdStart"));

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

    void abbruchImMitgliederschrittUndSchliessenVerweigert()
    {
        Aufbau a;
        std::vector<std::string> mitglieder;
        for (int i = 0; i < 40; ++i)
            mitglieder.push_back(Aufbau::mitglied("04-001", "04-001-" + std::to_string(1000 + i),
                                                  "Name" + std::string(1, static_cast<char>('A' + i % 26)),
                                                  std::to_string(1 + i % 28) + ".01.19" + std::to_string(50 + i)));
        a.exportDatei("Bezirk_M_2024.csv", mitglieder);
        a.exportDatei("Bezirk_V_2024.csv", {Aufbau::verein("04-001")});
        a.exportDatei("Bezirk_Z_2024.csv", {"1,04-001-1000,1.10"});
        a.waehlen("AnzExport", a.export_);
        a.waehlen("AnzWkAk", a.wkak);
        a.waehlen("AnzVDb", a.vdb);
        a.kaestchenKlick("ChkLog"); // without a log no question can come at the end

        // While the members step runs: the controls of a run, closing refused, Abbruch pressed.
        // The clubs have been counted then: the members step is under way (its labels follow only
        // every 50 ms, so they cannot tell).
        QStringList imLauf;
        bool geschlossen = true;
        QTimer waechter;
        waechter.setInterval(0);
        connect(&waechter, &QTimer::timeout, [&] {
            if (!imLauf.isEmpty() || a.text("AnzVDbVereine") != "1")
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
        QCOMPARE(a.text("AnzVereine"), QString("1 / 1"));
        const QString mitgliederstand = a.text("AnzMitglieder");
        QVERIFY2(mitgliederstand.section(" / ", 0, 0).toInt() < 40, qPrintable(mitgliederstand));
        QCOMPARE(a.text("AnzStartberechtigungen"), QString()); // the start-rights step is skipped
        QVERIFY(a.fragen.asked.empty());
        QVERIFY(a.logdatei().empty());
        QVERIFY(!std::filesystem::exists(Aufbau::einstellungspfad()));
        // Once the run is over the window closes.
        QCOMPARE(a.bedienbar(), (QStringList{"CmdEnde", "ChkLog", "AnzVDb"}));
        QVERIFY(a.fenster->close());
        QVERIFY(std::filesystem::exists(Aufbau::einstellungspfad()));
    }
};

QTEST_MAIN(MainVdbVidazerTest)
#include "MainVdbVidazerTest.moc"
