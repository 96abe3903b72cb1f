#include "app/Anzeigefeld.h"
#include "app/Logfenster.h"
#include "app/MainVdbVidazer.h"
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

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

using namespace fenster;
using questions::Answer;
using questions::Buttons;

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

std::string verein(const std::string& nummer, const std::string& name)
{
    return "1," + nummer + "," + name + ",V,,,,,,,Augsburg";
}

std::string mitglied(const std::string& verein, const std::string& nummer, const std::string& name,
                     const std::string& geburt = "24.12.1961")
{
    return "1," + verein + "," + nummer + ",01.03.1990,,," + name + ",Hans," + geburt +
           ",M,,,,,,Hauptstr.,12,86150,Augsburg,0821 / 123-45";
}

// A folder in which even this user cannot create a file; empty when there is none.
std::string gesperrterOrdner()
{
    const std::string probe = "/sys/kernel/tvx-probe.zrv";
    if (std::FILE* datei = std::fopen(probe.c_str(), "wx")) {
        std::fclose(datei);
        std::remove(probe.c_str());
        return {};
    }
    return errno == EACCES || errno == EPERM || errno == EROFS ? "/sys/kernel" : "";
}

std::string anwendungsdaten()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/TVX_Dadazuror";
}

std::string standardordner()
{
    return QDir::homePath().toStdString() + "/schiess/Datenbanken";
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
    std::string export_ = tmp.file("Export");
    std::string datenbanken = tmp.file("Datenbanken");
    std::string wkak = tmp.file("wkak.zrv");
    std::string programm = tmp.file("Programm"); // with its default definitions file

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
    QStringList texte(const QString& namen) const
    {
        QStringList t;
        for (const QString& name : namen.split(' '))
            t << text(name.toUtf8().constData());
        return t;
    }
    bool sichtbar(const char* name) const { return el(name)->isVisibleTo(fenster.get()); }
    bool an(const char* name) const { return el(name)->isEnabled(); }
    bool haken(const char* name) const { return el<QCheckBox>(name)->isChecked(); }
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
            f += !haken(name) ? (an(name) ? QChar('!') : QChar('.')) : an(name) ? b : b.toLower();
        }
        return f;
    }
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
    void exportDatei(const std::string& name, const std::vector<std::string>& zeilen) const
    {
        std::ofstream datei(export_ + "/" + name, std::ios::binary);
        for (const std::string& zeile : zeilen)
            datei << text::encodeWindows1252(zeile) << "\r\n";
    }
    // Clubs and members file, club database created: ready for Start.
    void bereit()
    {
        exportDatei("Bezirk_V_2024.csv", {verein("04-001", "SG Tell")});
        exportDatei("Bezirk_M_2024.csv", {mitglied("04-001", "04-001-0027", "Müller")});
        exportWaehlen(export_);
        vdbWaehlen(datenbanken + "/Verein.vdb");
    }

    QStringList meldungen() const
    {
        QStringList m;
        for (const auto& a : fragen.asked)
            m << QString::fromStdString(a.title + ": " + a.text);
        return m;
    }
    // The last file dialog: title, filter, start folder, and whether it saves.
    std::string wahl() const
    {
        const questions::FileChoice& w = fragen.fileChoices.back();
        return w.title + " | " + w.filter + " | " + w.startFolder +
               (w.save ? " | speichern" : w.allowNew ? " | öffnen oder neu" : " | öffnen");
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

    // Name, kind, caption, frame and position in twips of every control; at 96 dots per inch 15
    // twips make one pixel.
    void steuerelementeWieEntworfen_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("in"); // empty: the window itself
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("zustand"); // v: shown, e: enabled, x: ticked

        auto zeile = [](const char* name, const char* art, const char* text, const char* in, QRect twips,
                        const char* zustand) {
            QTest::newRow(name) << QString(art) << QString(text) << QString(in) << twips << QString(zustand);
        };
        zeile("BezProgName", "QLabel", "Erstellen der Zervik-Vereinsdatenbank aus TVX-Export", "MainVdbVidazer",
              {120, 120, 8535, 495}, "ve");
        zeile("BezVersion", "QLabel", "Version 9.0.3", "", {8880, 240, 1575, 375}, "ve");
        zeile("BezVDb", "QLabel", "zu erstellende Zervik-Vereinsdatenbank:", "", {120, 840, 3735, 375}, "ve");
        zeile("AnzVDb", "Anzeigefeld", "", "", {3960, 840, 9495, 300}, "ve");
        zeile("BezTVXExport", "QLabel", "Ordner des TVX-Zervik - Exportes:", "", {120, 1320, 3735, 375}, "ve");
        zeile("AnzExport", "Anzeigefeld", "", "", {3960, 1320, 9495, 300}, "ve");
        zeile("BezWkAk", "QLabel", "Startberechtigungen abgleichen mit:", "", {120, 1800, 3735, 375}, "ve");
        zeile("AnzWkAk", "Anzeigefeld", "", "", {3960, 1800, 9495, 300}, "ve");
        zeile("FundRahmen", "QGroupBox", " gefundene Exportdateien ", "", {120, 2400, 2655, 1935}, "e");
        zeile("ChkExKreis", "QCheckBox", "Kreise", "FundRahmen", {240, 360, 2295, 375}, "v");
        zeile("ChkExVereine", "QCheckBox", "Vereine", "FundRahmen", {240, 720, 2295, 375}, "v");
        zeile("ChkExMitglieder", "QCheckBox", "Mitglieder", "FundRahmen", {240, 1080, 2295, 375}, "v");
        zeile("ChkExStartrechte", "QCheckBox", "Startberechtigungen", "FundRahmen", {240, 1440, 2295, 375}, "v");
        zeile("EinRahmen", "QGroupBox", " eingelesene Daten ", "", {3480, 2400, 4095, 1935}, "e");
        zeile("AnzKreise", "Anzeigefeld", "", "EinRahmen", {120, 360, 1815, 255}, "ve");
        zeile("BezKreise", "QLabel", "Kreise", "EinRahmen", {2040, 360, 1815, 255}, "ve");
        zeile("AnzVereine", "Anzeigefeld", "", "EinRahmen", {120, 720, 1815, 255}, "ve");
        zeile("BezVereine", "QLabel", "Vereine", "EinRahmen", {2040, 720, 1815, 255}, "ve");
        zeile("AnzMitglieder", "Anzeigefeld", "", "EinRahmen", {120, 1080, 1815, 255}, "ve");
        zeile("BezMitglieder", "QLabel", "Mitglieder", "EinRahmen", {2040, 1080, 1815, 255}, "ve");
        zeile("AnzStartberechtigungen", "Anzeigefeld", "", "EinRahmen", {120, 1440, 1815, 255}, "ve");
        zeile("BezStartrechte", "QLabel", "Startberechtigungen", "EinRahmen", {2040, 1440, 1815, 255}, "ve");
        zeile("VDbInhaltRahmen", "QGroupBox", " Datenbankinhalt ", "", {8400, 2400, 4455, 3015}, "e");
        zeile("AnzVDbKreise", "Anzeigefeld", "0", "VDbInhaltRahmen", {120, 360, 975, 255}, "ve");
        zeile("BezVDbKreise", "QLabel", "Kreise", "VDbInhaltRahmen", {1200, 360, 1815, 255}, "ve");
        zeile("AnzVDbVereine", "Anzeigefeld", "0", "VDbInhaltRahmen", {120, 720, 975, 255}, "ve");
        zeile("BezVDbVereine", "QLabel", "Vereine", "VDbInhaltRahmen", {1200, 720, 1815, 255}, "ve");
        zeile("AnzVdbSchützen", "Anzeigefeld", "0", "VDbInhaltRahmen", {120, 1080, 975, 255}, "ve");
        zeile("BezVdbSchützen", "QLabel", "Schützen", "VDbInhaltRahmen", {1200, 1080, 1815, 255}, "ve");
        zeile("AnzVdbHochmeldung", "Anzeigefeld", "0", "VDbInhaltRahmen", {120, 1440, 975, 255}, "ve");
        zeile("BezVdbHochmeldung", "QLabel", "Hochmeldungen", "VDbInhaltRahmen", {1200, 1440, 1815, 255}, "ve");
        zeile("AnzVDbGesMitglieder", "Anzeigefeld", "0", "VDbInhaltRahmen", {120, 1800, 975, 255}, "ve");
        zeile("BezVDbGesMitglieder", "QLabel", "Mitgliedschaften ges.", "VDbInhaltRahmen", {1200, 1800, 3015, 255},
              "ve");
        zeile("AnzVDbZweitmitgliedschaften", "Anzeigefeld", "0", "VDbInhaltRahmen", {120, 2160, 975, 255}, "ve");
        zeile("Label2", "QLabel", "Zweit-(Mehrfach-) Mitgliedschaften", "VDbInhaltRahmen", {1200, 2160, 3135, 255},
              "ve");
        zeile("AnzVDbStartrechte", "Anzeigefeld", "0", "VDbInhaltRahmen", {120, 2520, 975, 255}, "ve");
        zeile("Label3", "QLabel", "Startberechtigungen", "VDbInhaltRahmen", {1200, 2520, 1815, 255}, "ve");
        zeile("ChkLog", "QCheckBox", "Logdatei erstellen", "", {360, 4680, 2535, 375}, "ex");
        zeile("CmdStart", "QPushButton", "Start", "", {480, 5280, 1455, 495}, "v");
        zeile("CmdAbbruch", "QPushButton", "Abbruch", "", {3120, 5280, 1455, 495}, "v");
        zeile("CmdEnde", "QPushButton", "Ende", "", {5760, 5280, 1455, 495}, "ve");
    }

    void steuerelementeWieEntworfen()
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
        QCOMPARE(QString(w->metaObject()->className()).remove("fenster::"), art);
        QCOMPARE(a.text(name.constData()), text);
        QCOMPARE(w->parentWidget()->objectName(), in.isEmpty() ? QString("MainVdbVidazer") : in);
        QCOMPARE(w->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
        QCOMPARE(!w->isHidden(), zustand.contains('v'));
        QCOMPARE(w->isEnabled(), zustand.contains('e'));
        if (auto* kaestchen = qobject_cast<QCheckBox*>(w))
            QCOMPARE(kaestchen->isChecked(), zustand.contains('x'));
    }

    void fensterUndSchrift()
    {
        Aufbau a;
        QCOMPARE(a.fenster->windowTitle(), QString("TVX - Zervik - Vidazerierung"));
        QVERIFY(!a.fenster->windowIcon().pixmap(32).isNull());
        // 13545 × 5910 twips: 903 × 394 pixels at 96 dpi.
        const double dpiX = a.fenster->logicalDpiX();
        const double dpiY = a.fenster->logicalDpiY();
        QCOMPARE(a.fenster->size(), QSize(qRound(13545 * dpiX / 1440), qRound(5910 * dpiY / 1440)));

        const QFont schrift = a.el("BezVDb")->font();
        QVERIFY(!schrift.bold());
        QCOMPARE(a.el("AnzVdbHochmeldung")->font(), schrift);
        QCOMPARE(a.el("AnzVDb")->palette().color(QPalette::Window), QColor(Qt::white));
        const QFont titel = a.el("BezProgName")->font();
        QVERIFY(titel.bold());
        // In a font of Arial's widths the design's sizes; in any other every caption is made to fit.
        const QString familie = QFontInfo(schrift).family();
        const bool arialbreit = QStringList({"Liberation Sans", "Arimo", "Arial"}).contains(familie);
        QCOMPARE(arialbreit, !qEnvironmentVariableIsSet("TVX_OHNE_ARIALBREITE"));
        if (arialbreit) {
            QCOMPARE(schrift.pointSizeF(), 9.75);
            QCOMPARE(titel.pointSizeF(), 15.75);
        }
        const QList<QWidget*> alle = a.fenster->findChildren<QWidget*>();
        for (QWidget* w : alle) {
            const QString text = beschriftung(w);
            if (text.isNull())
                continue;
            const QRect flaeche = textflaeche(w);
            QVERIFY2(tintenbreite(text, w->font()) <= flaeche.width() && QFontMetrics(w->font()).height() <= flaeche.height(),
                     qPrintable(QStringLiteral("%1 in %2 %3 pt: %4 Pixel breit, Platz %5 × %6")
                                    .arg(text, familie)
                                    .arg(w->font().pointSizeF())
                                    .arg(tintenbreite(text, w->font()))
                                    .arg(flaeche.width())
                                    .arg(flaeche.height())));
        }
    }

    // The settings file as found at start ("@" is a folder holding Datenbanken/, Export/ and
    // wkak.zrv), the definitions file shown, the file written on closing, and where the club
    // database dialog of the next start, which reads that file, begins ("~": the default).
    void einstellungsdatei_data()
    {
        QTest::addColumn<QString>("datei"); // null: none
        QTest::addColumn<QString>("wkak");
        QTest::addColumn<QString>("danach");
        QTest::addColumn<QString>("start");
        QTest::newRow("erster Start") << QString() << ""
                                      << "\r\n\r\n\r\n\r\n"
                                      << "~";
        // The export folder is remembered but never searched, and always written empty.
        QTest::newRow("alles behalten") << "@/Datenbanken/\r\n@/Abgleich.vdb\r\n@/Export/\r\n@/wkak.zrv\r\n"
                                        << "@/wkak.zrv"
                                        << "@/Datenbanken/\r\n@/Abgleich.vdb\r\n\r\n@/wkak.zrv\r\n"
                                        << "@/Datenbanken";
        QTest::newRow("Ordner gelöscht, zwei Zeilen") << "@/weg/\r\n@/Abgleich.vdb\r\n"
                                                      << ""
                                                      << "\r\n@/Abgleich.vdb\r\n\r\n\r\n"
                                                      << "~";
        QTest::newRow("Definitionsdatei fehlt") << "@/Datenbanken/\r\n\r\n\r\n@/fehlt.zrv\r\n"
                                                << ""
                                                << "@/Datenbanken/\r\n\r\n\r\n\r\n"
                                                << "@/Datenbanken";
    }

    void einstellungsdatei()
    {
        QFETCH(QString, datei);
        QFETCH(QString, wkak);
        QFETCH(QString, danach);
        QFETCH(QString, start);
        TempFolder alt;
        std::filesystem::create_directory(alt.file("Datenbanken"));
        std::filesystem::create_directory(alt.file("Export"));
        writeDefinitionsFile(alt.file("wkak.zrv"));
        const auto pfade = [&](QString s) {
            return s.replace("@", QString::fromStdString(alt.path().string()))
                .replace("~", QString::fromStdString(standardordner()))
                .toStdString();
        };
        if (!datei.isNull())
            einstellungenAnlegen(pfade(datei));
        Aufbau a;
        QVERIFY(std::filesystem::is_directory(anwendungsdaten()));
        QCOMPARE(a.text("AnzWkAk").toStdString(), pfade(wkak));
        QCOMPARE(a.text("AnzExport"), QString());
        QVERIFY(a.fenster->close());
        QCOMPARE(einstellungen(), pfade(danach));

        a.starten();
        a.fragen.files.push_back(std::nullopt);
        a.klick("AnzVDb");
        QCOMPARE(a.fragen.fileChoices.back().startFolder, pfade(start));
    }

    // The comparison database cannot be the one to create.
    void vergleichsdatenbank()
    {
        TempFolder alt;
        einstellungenAnlegen("\r\n" + alt.file("Abgleich.vdb") + "\r\n\r\n\r\n");
        Aufbau a;
        a.vdbWaehlen(alt.file("Abgleich.vdb"));
        QCOMPARE(a.meldungen(), QStringList{"Hinweis: Die zu erstellende Vereinsdatenbank kann nicht die gleiche, wie "
                                            "die zu erstellende Datenbank sein!\r\nBitte Wählen Sie eine andere "
                                            "Datenbank für den Abgleich, oder geben Sie der zu erstellenden Datei "
                                            "einen anderen Namen!"});
        QVERIFY(!std::filesystem::exists(alt.file("Abgleich.vdb")));
        QCOMPARE(a.text("AnzVDb"), QString());
        QVERIFY(!a.an("CmdStart"));
    }

    // The readiness check after the export folder and then the club database were chosen: what
    // it says, the found-file boxes (see Aufbau::funde), and Start with the frames and the log box.
    void bereitschaft_data()
    {
        QTest::addColumn<QStringList>("dateien");
        QTest::addColumn<bool>("vdb");
        QTest::addColumn<QString>("wkak"); // chosen: "da", chosen and then deleted: "weg"
        QTest::addColumn<QStringList>("meldungen");
        QTest::addColumn<QString>("funde");
        QTest::addColumn<bool>("start");
        const QStringList alle{"Bezirk_V_2024.csv", "Bezirk_M_2024.csv", "Bezirk_Z_2024.csv", "Bezirk_K_2024.csv"};
        QTest::newRow("ohne Vereinsdatenbank nichts zu sagen")
            << QStringList{"Verband_V_2024.csv"} << false << "" << QStringList{} << "...." << false;
        QTest::newRow("nur Vereine") << QStringList{"Verband_V_2024.csv"} << true << "" << QStringList{kFehltExport}
                                     << ".V.." << false;
        QTest::newRow("nur x.m.1.csv") << QStringList{"x.m.1.csv"} << true << "" << QStringList{kFehltExport} << "..M."
                                       << false;
        QTest::newRow("Punktmuster") << QStringList{"x.m.1.csv", "Verband.V.2024.csv"} << true << "" << QStringList{}
                                     << ".VM." << true;
        QTest::newRow("keine Exportdaten")
            << QStringList{} << true << "" << QStringList{kKeineExportdaten, kFehltExport} << "...." << false;
        // Start rights need the definitions to be matched against; the districts are never converted.
        QTest::newRow("Startrechte ohne Definitionen")
            << alle << true << "" << QStringList{kWkAkBenoetigt} << "kVMs" << true;
        QTest::newRow("Startrechte mit Definitionen") << alle << true << "da" << QStringList{} << "kVMS" << true;
        QTest::newRow("Definitionen gelöscht") << alle << true << "weg" << QStringList{kWkAkFehlt} << "kVMs" << true;
    }

    void bereitschaft()
    {
        QFETCH(QStringList, dateien);
        QFETCH(bool, vdb);
        QFETCH(QString, wkak);
        QFETCH(QStringList, meldungen);
        QFETCH(QString, funde);
        QFETCH(bool, start);
        Aufbau a;
        for (const QString& datei : dateien)
            a.exportDatei(datei.toStdString(), {"x"});
        if (!wkak.isEmpty())
            a.wkakWaehlen(a.wkak);
        if (wkak == "weg")
            std::filesystem::remove(a.wkak);
        a.exportWaehlen(a.export_);
        if (vdb)
            a.vdbWaehlen(a.datenbanken + "/Verein.vdb");
        QCOMPARE(a.meldungen(), meldungen);
        QCOMPARE(a.text("AnzExport"), QString::fromStdString(a.export_ + "/"));
        QCOMPARE(a.funde(), funde);
        for (const char* teil : {"FundRahmen", "EinRahmen", "VDbInhaltRahmen", "ChkLog"})
            QCOMPARE(a.sichtbar(teil), start);
        QCOMPARE(a.an("CmdStart"), start);
        // The found-file boxes show what was found; a click changes nothing.
        for (const char* name : {"ChkExKreis", "ChkExVereine", "ChkExMitglieder", "ChkExStartrechte"})
            a.kaestchenKlick(name);
        QCOMPARE(a.funde(), funde);
    }

    void exportordnerAbbrechenUndSpeicherdialog()
    {
        Aufbau a;
        a.bereit();
        // Cancelling the folder browser leaves no export folder and nothing found.
        a.fragen.folders.push_back(std::nullopt);
        a.klick("AnzExport");
        QCOMPARE(a.text("AnzExport"), QString());
        QVERIFY(!a.an("CmdStart"));
        QVERIFY(a.fragen.asked.empty());

        // Without a folder browser a save dialog takes its place: any name in the wanted folder.
        a.fenster->ordnerauswahlErlauben(false);
        a.fragen.files = {a.export_ + "/irgendwas.csv", std::nullopt};
        a.klick("AnzExport");
        QCOMPARE(a.text("AnzExport"), QString::fromStdString(a.export_ + "/"));
        QVERIFY(a.an("CmdStart"));

        // Cancelling it keeps the folder but forgets its files: the readiness check misses them.
        a.klick("AnzExport");
        QCOMPARE(a.wahl(), "Exportordner einstellen | TVX-Export|*.csv | " + a.export_ + " | speichern");
        QCOMPARE(a.text("AnzExport"), QString());
        QCOMPARE(a.meldungen(), QStringList{kFehltExport});
        QVERIFY(!a.an("CmdStart"));
    }

    void vereinsdatenbankAnlegenLoeschenUndAbbrechen()
    {
        Aufbau a;
        const std::string vdb = a.datenbanken + "/Verein.vdb";
        std::ofstream(vdb) << "Daten des Vereins";

        // No: nothing deleted, nothing chosen.
        a.fragen.answers = {Answer::No};
        a.vdbWaehlen(vdb);
        QCOMPARE(a.meldungen(), QStringList{QString::fromStdString("Löschen bestätigen: Soll die vorhandene Datei\r\n" +
                                                                   vdb + "\r\ngelöscht werden?")});
        QCOMPARE(a.fragen.asked.back().buttons, Buttons::YesNo);
        QCOMPARE(readBytes(vdb), std::string("Daten des Vereins"));
        QCOMPARE(a.text("AnzVDb"), QString());

        // Yes: replaced by an empty club database, chosen.
        a.fragen.answers = {Answer::Yes};
        a.vdbWaehlen(vdb);
        QCOMPARE(a.text("AnzVDb"), QString::fromStdString(vdb));
        QVERIFY(a.fragen.answers.empty());
        QCOMPARE(clubdb::VdbInhaltZaehlen(vdb).vereine, std::optional<std::int64_t>(0));

        // The next dialog starts in its folder; cancelling it forgets the choice and the folder.
        a.fragen.files = {std::nullopt, std::nullopt};
        a.klick("AnzVDb");
        QCOMPARE(a.wahl(), "Vereinsdatenbank anlegen | Vereinsdatenbank|*.vdb | " + a.datenbanken + " | speichern");
        QCOMPARE(a.text("AnzVDb"), QString());
        a.klick("AnzVDb");
        QCOMPARE(a.fragen.fileChoices.back().startFolder, standardordner());
        QVERIFY(std::filesystem::exists(vdb));
    }

    // A club database that cannot be created is reported with the engine's number and description
    // and leaves no club database chosen, so that Start cannot run into a missing file.
    void vereinsdatenbankNichtAnlegbar()
    {
        Aufbau a;
        a.bereit();
        a.fragen.asked.clear();
        const std::string vdb = a.datenbanken + "/fehlt/Verein.vdb";
        a.vdbWaehlen(vdb);
        QCOMPARE(a.meldungen().size(), 1);
        QVERIFY(a.meldungen()[0].startsWith(QString::fromStdString(
            "Fehler: Die Vereinsdatenbank\r\n" + vdb + "\r\nkonnte nicht angelegt werden.\r\n\r\nFehler 3044: ")));
        QCOMPARE(a.text("AnzVDb"), QString());
        QVERIFY(!a.an("CmdStart"));
    }

    // The wkak dialog: unticking the log box survives the next choice, and the run then writes
    // no log; without a chosen definitions file the run takes the one in the program folder.
    void definitionsdialogLogkaestchenUndStandarddefinitionen()
    {
        Aufbau a;
        a.bereit();
        a.kaestchenKlick("ChkLog");
        // Nothing chosen before: the dialog opens beside the program's own file, and a new name may be given.
        a.wkakWaehlen(a.wkak);
        QCOMPARE(a.wahl(), "Wettkampfdefinitionen öffnen | Wettkampfdefinitionen|*.zrv | " + a.programm +
                               " | öffnen oder neu");
        QCOMPARE(a.text("AnzWkAk"), QString::fromStdString(a.wkak));
        // The next dialog starts beside the chosen file; cancelling it empties the field.
        a.wkakWaehlen(std::nullopt);
        QCOMPARE(a.fragen.fileChoices.back().startFolder, a.tmp.path().string());
        QCOMPARE(a.text("AnzWkAk"), QString());
        QVERIFY(a.sichtbar("ChkLog") && !a.haken("ChkLog"));

        // Empty default definitions refuse the run, and the window stays as it was.
        const std::string standard = a.programm + "/wkak.zrv";
        std::filesystem::rename(standard, a.tmp.file("voll.zrv"));
        ScriptedQuestions stumm;
        definitions::WkAkAnlegen(standard, {"", "", stumm});
        a.klick("CmdStart");
        QVERIFY(a.meldungen().back().startsWith("Fehler: Die Datei mit den Voreinstellungen der Disziplinen und "
                                                "Klassen ist (teilweise) leer"));
        QCOMPARE(a.text("AnzWkAk"), QString());
        QVERIFY(a.an("CmdStart"));

        std::filesystem::rename(a.tmp.file("voll.zrv"), standard);
        a.klick("CmdStart");
        QVERIFY(a.logdatei().empty());
        QCOMPARE(a.text("AnzVereine"), QString("1 / 1"));
        QCOMPARE(a.text("AnzWkAk"), QString::fromStdString(standard));
    }

    // Every dialog opens in a folder that exists: the previous choice, else the default folder
    // (created for the club database), else the nearest folder above, else the home folder.
    void dialogeBeginnenInVorhandenenOrdnern()
    {
        const std::string heim = QDir::homePath().toStdString();
        std::filesystem::remove_all(heim + "/schiess");
        const auto aufraeumen = qScopeGuard([&] { std::filesystem::remove_all(heim + "/schiess"); });
        using Schritt = std::function<void(Aufbau&)>;
        using Ordner = std::function<std::string(Aufbau&)>;
        const struct
        {
            const char* name;
            const char* feld;
            Schritt vorher;
            Ordner start;
        } faelle[] = {
            {"Export beim ersten Mal", "AnzExport", {}, [&](Aufbau&) { return heim; }},
            {"Export gelöscht", "AnzExport",
             [](Aufbau& a) {
                 std::filesystem::create_directory(a.export_ + "/2024");
                 a.exportWaehlen(a.export_ + "/2024");
                 std::filesystem::remove(a.export_ + "/2024");
             },
             [](Aufbau& a) { return a.export_; }},
            {"Vereinsdatenbank beim ersten Mal", "AnzVDb", {}, [](Aufbau&) { return standardordner(); }},
            {"Standardordner nicht anlegbar", "AnzVDb",
             [&](Aufbau& a) {
                 std::filesystem::remove_all(heim + "/schiess");
                 std::ofstream(heim + "/schiess") << "kein Ordner";
                 std::filesystem::create_directory(a.datenbanken + "/2024");
                 a.vdbWaehlen(a.datenbanken + "/2024/Verein.vdb");
                 std::filesystem::remove_all(a.datenbanken + "/2024");
             },
             [](Aufbau& a) { return a.datenbanken; }},
            {"Definitionen beim ersten Mal", "AnzWkAk", {}, [](Aufbau& a) { return a.programm; }},
            {"Definitionsdatei gelöscht", "AnzWkAk",
             [](Aufbau& a) {
                 a.wkakWaehlen(a.wkak);
                 std::filesystem::remove(a.wkak);
             },
             [](Aufbau& a) { return a.tmp.path().string(); }},
            {"Definitionsordner gelöscht", "AnzWkAk", [](Aufbau& a) { a.wkakWaehlen(a.tmp.file("weg/wkak.zrv")); },
             [](Aufbau& a) { return a.programm; }},
        };
        for (const auto& f : faelle) {
            Aufbau a;
            if (f.vorher)
                f.vorher(a);
            a.fragen.files.push_back(std::nullopt);
            a.fragen.folders.push_back(std::nullopt);
            a.klick(f.feld);
            const std::string start =
                f.feld == std::string("AnzExport") ? a.fragen.folderStarts.back() : a.fragen.fileChoices.back().startFolder;
            QVERIFY2(start == f.start(a), f.name);
            QVERIFY2(std::filesystem::is_directory(start), f.name);
        }
    }

    // A path too long for its field is shortened in the middle; the tooltip shows it whole.
    void langerPfadInDerMitteGekuerzt()
    {
        Aufbau a;
        std::string ordner = a.datenbanken;
        for (int i = 0; i < 8; ++i)
            ordner += "/Unterordner " + std::to_string(i);
        std::filesystem::create_directories(ordner);
        const std::string vdb = ordner + "/Verein.vdb";
        a.vdbWaehlen(vdb);

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

    void ganzerLaufMitKlicks()
    {
        Aufbau a;
        // Two files of the clubs kind: the underscore pattern wins over the full-stop one.
        a.exportDatei("Verband_V_2024.csv",
                      {verein("04-001", "SG Tell"), verein("04-007", "SV Hubertus"), verein("04-001", "Doppelt")});
        a.exportDatei("Verband.V.2024.csv", {verein("04-009", "Falsche Datei")});
        a.exportDatei("Verband_M_2024.csv",
                      {mitglied("04-001", "04-001-0027", "Müller"), mitglied("04-007", "04-001-0027", "Müller"),
                       mitglied("04-007", "04-007-0003", "Huber", "02.05.1970")});
        a.exportDatei("Verband_Z_2024.csv", {"x,04-001,04-001-0027,04-007,04-007-0100,1.10"});
        a.wkakWaehlen(a.wkak);
        a.exportWaehlen(a.export_);
        a.vdbWaehlen(a.datenbanken + "/Verein.vdb");

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
        a.exportWaehlen(a.export_);
        QCOMPARE(a.texte(kFortschritt), (QStringList{"", "", ""}));
        QCOMPARE(a.texte(kVdbZahlen), QStringList(7, "0"));

        // Again into a new club database; this time the log is wanted: the program's own log window
        // opens beside the main window, and hands the log to a viewer only on request.
        a.fragen.answers = {Answer::Yes, Answer::Yes};
        a.vdbWaehlen(a.datenbanken + "/Verein.vdb");
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

        // Ende closes the window, the log window with it, and remembers the club-database folder
        // and the definitions.
        a.klick("CmdEnde");
        QVERIFY(!a.fenster->isVisible() && !logfenster->isVisible());
        QCOMPARE(einstellungen(), a.datenbanken + "/\r\n\r\n\r\n" + a.wkak + "\r\n");
    }

    void abbruchImMitgliederschrittUndSchliessenVerweigert()
    {
        Aufbau a;
        std::vector<std::string> mitglieder;
        for (int i = 0; i < 40; ++i)
            mitglieder.push_back(mitglied("04-001", "04-001-" + std::to_string(1000 + i),
                                          "Name" + std::string(1, static_cast<char>('A' + i % 26)),
                                          std::to_string(1 + i % 28) + ".01.19" + std::to_string(50 + i)));
        a.exportDatei("Bezirk_M_2024.csv", mitglieder);
        a.exportDatei("Bezirk_V_2024.csv", {verein("04-001", "SG Tell")});
        a.exportDatei("Bezirk_Z_2024.csv", {"1,04-001-1000,1.10"});
        a.exportWaehlen(a.export_);
        a.wkakWaehlen(a.wkak);
        a.vdbWaehlen(a.datenbanken + "/Verein.vdb");
        // Without a log no question can come at the end.
        a.kaestchenKlick("ChkLog");

        // While the members step runs: the controls of a run, closing refused, Abbruch pressed.
        QStringList imLauf;
        bool geschlossen = true;
        QTimer waechter;
        waechter.setInterval(0);
        connect(&waechter, &QTimer::timeout, [&] {
            // The clubs have been counted: the members step is under way (its labels follow only
            // every 50 ms, so they cannot tell).
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
        // The start-rights step is skipped.
        QCOMPARE(a.text("AnzStartberechtigungen"), QString());
        QVERIFY(a.fragen.asked.empty());
        QVERIFY(a.logdatei().empty());
        QVERIFY(!std::filesystem::exists(anwendungsdaten() + "/TVX_Vidazer.dir"));

        // Once the run is over the window closes.
        QCOMPARE(a.bedienbar(), (QStringList{"CmdEnde", "ChkLog", "AnzVDb"}));
        QVERIFY(a.fenster->close());
        QVERIFY(std::filesystem::exists(anwendungsdaten() + "/TVX_Vidazer.dir"));
    }

    // A definitions file that cannot be created for lack of permission ends the program at once,
    // without the shut-down that would remember it.
    void gesperrteWettkampfdefinitionenBeendenSofort()
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
};

QTEST_MAIN(MainVdbVidazerTest)
#include "MainVdbVidazerTest.moc"
