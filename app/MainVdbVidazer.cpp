#include "app/MainVdbVidazer.h"

#include "app/Anzeigefeld.h"
#include "app/Einstellungen.h"
#include "app/Einstellungsdatei.h"
#include "app/Logfenster.h"
#include "app/Schrift.h"
#include "app/Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include <filesystem>

namespace fenster {
namespace {

constexpr const char* kEinstellungsdatei = "TVX_Vidazer.dir";

QString qt(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

bool textbetrachterOeffnen(const std::string& pfad)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(pfad)));
}

} // namespace

Programmumgebung Programmumgebung::ermitteln()
{
    return {QCoreApplication::applicationDirPath().toStdString(),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/TVX_Dadazuror"};
}

MainVdbVidazer::MainVdbVidazer(questions::Questions& fragen, Programmumgebung umgebung, QWidget* parent)
    : QWidget(parent), m_fragen(fragen), m_umgebung(std::move(umgebung)), m_lauf(*this),
      m_logbetrachter(&textbetrachterOeffnen)
{
    setObjectName(QStringLiteral("MainVdbVidazer"));
    setWindowTitle(QStringLiteral("TVX - Zervik - Vidazerierung"));
    setWindowIcon(QIcon(QStringLiteral(":/tvx-vidazer.png")));
    SchriftSetzen(*this);
    steuerelementeAnlegen();
    bedienungEinrichten();
    m_bezVersion->setText(QStringLiteral("Version " TVX_VERSION));
    BeschriftungenEinpassen(*this);

    std::error_code ec;
    std::filesystem::create_directories(m_umgebung.anwendungsdatenOrdner, ec);
    einstellungenLaden();
    m_cmdStart->setEnabled(false);
}

MainVdbVidazer::~MainVdbVidazer() = default;

QRect MainVdbVidazer::pixel(int links, int oben, int breite, int hoehe) const
{
    return twipsInPixel(Twips{links, oben, breite, hoehe}, logicalDpiX(), logicalDpiY());
}

void MainVdbVidazer::steuerelementeAnlegen()
{
    auto platzieren = [this](QWidget* w, const char* name, QRect lage) {
        w->setObjectName(qt(name));
        w->setGeometry(lage);
    };
    auto beschriftung = [&](QWidget* in, const char* name, const char* text, QRect lage) {
        auto* w = new QLabel(qt(text), in);
        w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        platzieren(w, name, lage);
        return w;
    };
    auto feld = [&](QWidget* in, const char* name, const char* text, QRect lage) {
        auto* w = new Anzeigefeld(in);
        w->setText(qt(text));
        platzieren(w, name, lage);
        return w;
    };
    auto rahmen = [&](const char* name, const char* text, QRect lage) {
        auto* w = new QGroupBox(qt(text), this);
        platzieren(w, name, lage);
        w->hide();
        return w;
    };
    auto kaestchen = [&](QWidget* in, const char* name, const char* text, QRect lage) {
        auto* w = new QCheckBox(qt(text), in);
        platzieren(w, name, lage);
        return w;
    };
    auto knopf = [&](const char* name, const char* text, QRect lage) {
        auto* w = new QPushButton(qt(text), this);
        platzieren(w, name, lage);
        return w;
    };

    setFixedSize(pixel(0, 0, 13545, 5910).size());

    QLabel* titel = beschriftung(this, "BezProgName", "Erstellen der Zervik-Vereinsdatenbank aus TVX-Export",
                                 pixel(120, 120, 8535, 495));
    QFont gross = font();
    gross.setPointSizeF(15.75);
    gross.setBold(true);
    titel->setFont(gross);
    m_bezVersion = beschriftung(this, "BezVersion", "Version 9.x.x", pixel(8880, 240, 1575, 375));

    beschriftung(this, "BezVDb", "zu erstellende Zervik-Vereinsdatenbank:", pixel(120, 840, 3735, 375));
    m_anzVDb = feld(this, "AnzVDb", "", pixel(3960, 840, 9495, 300));
    m_anzVDb->klickbarMachen(qt("Klicken, um die zu erstellende Vereinsdatenbank zu wählen"));
    beschriftung(this, "BezTVXExport", "Ordner des TVX-Zervik - Exportes:", pixel(120, 1320, 3735, 375));
    m_anzExport = feld(this, "AnzExport", "", pixel(3960, 1320, 9495, 300));
    m_anzExport->klickbarMachen(qt("Klicken, um den Ordner mit den TVX-Exportdateien zu wählen"));
    beschriftung(this, "BezWkAk", "Startberechtigungen abgleichen mit:", pixel(120, 1800, 3735, 375));
    m_anzWkAk = feld(this, "AnzWkAk", "", pixel(3960, 1800, 9495, 300));
    m_anzWkAk->klickbarMachen(qt("Klicken, um die Datei mit den Wettkampfdefinitionen zu wählen"));

    m_fundRahmen = rahmen("FundRahmen", " gefundene Exportdateien ", pixel(120, 2400, 2655, 1935));
    m_chkExKreis = kaestchen(m_fundRahmen, "ChkExKreis", "Kreise", pixel(240, 360, 2295, 375));
    m_chkExVereine = kaestchen(m_fundRahmen, "ChkExVereine", "Vereine", pixel(240, 720, 2295, 375));
    m_chkExMitglieder = kaestchen(m_fundRahmen, "ChkExMitglieder", "Mitglieder", pixel(240, 1080, 2295, 375));
    m_chkExStartrechte =
        kaestchen(m_fundRahmen, "ChkExStartrechte", "Startberechtigungen", pixel(240, 1440, 2295, 375));
    for (QCheckBox* fund : {m_chkExKreis, m_chkExVereine, m_chkExMitglieder, m_chkExStartrechte}) {
        fund->setEnabled(false);
        // The boxes show what was found; a click must not change that.
        connect(fund, &QCheckBox::clicked, this, &MainVdbVidazer::fundeZeigen);
    }

    m_einRahmen = rahmen("EinRahmen", " eingelesene Daten ", pixel(3480, 2400, 4095, 1935));
    m_anzKreise = feld(m_einRahmen, "AnzKreise", "", pixel(120, 360, 1815, 255));
    beschriftung(m_einRahmen, "BezKreise", "Kreise", pixel(2040, 360, 1815, 255));
    m_anzVereine = feld(m_einRahmen, "AnzVereine", "", pixel(120, 720, 1815, 255));
    beschriftung(m_einRahmen, "BezVereine", "Vereine", pixel(2040, 720, 1815, 255));
    m_anzMitglieder = feld(m_einRahmen, "AnzMitglieder", "", pixel(120, 1080, 1815, 255));
    beschriftung(m_einRahmen, "BezMitglieder", "Mitglieder", pixel(2040, 1080, 1815, 255));
    m_anzStartberechtigungen = feld(m_einRahmen, "AnzStartberechtigungen", "", pixel(120, 1440, 1815, 255));
    beschriftung(m_einRahmen, "BezStartrechte", "Startberechtigungen", pixel(2040, 1440, 1815, 255));

    m_vdbInhaltRahmen = rahmen("VDbInhaltRahmen", " Datenbankinhalt ", pixel(8400, 2400, 4455, 3015));
    QWidget* inhalt = m_vdbInhaltRahmen;
    m_anzVDbKreise = feld(inhalt, "AnzVDbKreise", "0", pixel(120, 360, 975, 255));
    beschriftung(inhalt, "BezVDbKreise", "Kreise", pixel(1200, 360, 1815, 255));
    m_anzVDbVereine = feld(inhalt, "AnzVDbVereine", "0", pixel(120, 720, 975, 255));
    beschriftung(inhalt, "BezVDbVereine", "Vereine", pixel(1200, 720, 1815, 255));
    m_anzVdbSchuetzen = feld(inhalt, "AnzVdbSchützen", "0", pixel(120, 1080, 975, 255));
    beschriftung(inhalt, "BezVdbSchützen", "Schützen", pixel(1200, 1080, 1815, 255));
    m_anzVdbHochmeldung = feld(inhalt, "AnzVdbHochmeldung", "0", pixel(120, 1440, 975, 255));
    beschriftung(inhalt, "BezVdbHochmeldung", "Hochmeldungen", pixel(1200, 1440, 1815, 255));
    m_anzVDbGesMitglieder = feld(inhalt, "AnzVDbGesMitglieder", "0", pixel(120, 1800, 975, 255));
    beschriftung(inhalt, "BezVDbGesMitglieder", "Mitgliedschaften ges.", pixel(1200, 1800, 3015, 255));
    m_anzVDbZweitmitgliedschaften = feld(inhalt, "AnzVDbZweitmitgliedschaften", "0", pixel(120, 2160, 975, 255));
    beschriftung(inhalt, "Label2", "Zweit-(Mehrfach-) Mitgliedschaften", pixel(1200, 2160, 3135, 255));
    m_anzVDbStartrechte = feld(inhalt, "AnzVDbStartrechte", "0", pixel(120, 2520, 975, 255));
    beschriftung(inhalt, "Label3", "Startberechtigungen", pixel(1200, 2520, 1815, 255));

    m_chkLog = kaestchen(this, "ChkLog", "Logdatei erstellen", pixel(360, 4680, 2535, 375));
    m_chkLog->setChecked(true);
    m_chkLog->hide();

    m_cmdStart = knopf("CmdStart", "&Start", pixel(480, 5280, 1455, 495));
    m_cmdStart->setEnabled(false);
    m_cmdAbbruch = knopf("CmdAbbruch", "&Abbruch", pixel(3120, 5280, 1455, 495));
    m_cmdAbbruch->setEnabled(false);
    m_cmdEnde = knopf("CmdEnde", "&Ende", pixel(5760, 5280, 1455, 495));

    connect(m_anzExport, &Anzeigefeld::geklickt, this, &MainVdbVidazer::AnzExport_Click);
    connect(m_anzVDb, &Anzeigefeld::geklickt, this, &MainVdbVidazer::AnzVDb_Click);
    connect(m_anzWkAk, &Anzeigefeld::geklickt, this, &MainVdbVidazer::AnzWkAk_Click);
    connect(m_chkLog, &QCheckBox::clicked, this, &MainVdbVidazer::ChkLog_Click);
    connect(m_cmdStart, &QPushButton::clicked, this, &MainVdbVidazer::CmdStart_Click);
    connect(m_cmdAbbruch, &QPushButton::clicked, this, &MainVdbVidazer::CmdAbbruch_Click);
    connect(m_cmdEnde, &QPushButton::clicked, this, &MainVdbVidazer::CmdEnde_Click);
}

std::string MainVdbVidazer::einstellungsdateiPfad() const
{
    return m_umgebung.anwendungsdatenOrdner + "/" + kEinstellungsdatei;
}

void MainVdbVidazer::einstellungenLaden()
{
    const std::optional<std::string> inhalt = EinstellungsdateiLesen(einstellungsdateiPfad());
    if (!inhalt)
        return;
    const Einstellungen e = EinstellungenPruefen(EinstellungenLesen(*inhalt));
    m_vdbOrdner = e.vdbOrdner;
    m_vergleichsdatenbank = e.vergleichsdatenbank;
    m_exportOrdner = e.exportOrdner;
    m_definitionsPfad = e.definitionsPfad;
    m_anzWkAk->setText(QString::fromStdString(m_definitionsPfad));
}

void MainVdbVidazer::einstellungenSpeichern()
{
    const Einstellungen e{m_vdbOrdner, m_vergleichsdatenbank, {}, m_definitionsPfad};
    const std::string pfad = einstellungsdateiPfad();
    if (!EinstellungsdateiSchreiben(pfad, EinstellungenSchreiben(e)))
        m_fragen.inform("Fehler", "Die Einstellungen konnten nicht in der Datei\r\n" + pfad +
                                      "\r\ngespeichert werden. Beim nächsten Start sind die zuletzt gewählten "
                                      "Ordner und Dateien nicht voreingestellt.");
}

// Shut-down: refused while a conversion runs, so that the run is never cut off between two
// lines; otherwise the folders and files chosen are remembered for the next start. The log
// window goes with the program.
void MainVdbVidazer::closeEvent(QCloseEvent* event)
{
    if (laufAktiv() && !m_beendet) {
        event->ignore();
        return;
    }
    if (!m_beendet)
        einstellungenSpeichern();
    if (m_logfenster)
        m_logfenster->close();
    event->accept();
}

} // namespace fenster
