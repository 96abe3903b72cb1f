#include "app/Logfenster.h"

#include "app/Logseite.h"
#include "app/Uebersichtsseite.h"
#include "uebersicht/Logleser.h"
#include "uebersicht/ProblemCsv.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <set>
#include <system_error>

namespace fenster {
namespace {

QString qt(const std::string& s)
{
    return QString::fromStdString(s);
}

// A file name part of what is chosen: letters and digits, a "_" for every run of anything else.
QString dateinamenteil(const QString& text)
{
    QString teil;
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            teil += c;
        else if (!teil.endsWith(QLatin1Char('_')))
            teil += QLatin1Char('_');
    }
    while (teil.endsWith(QLatin1Char('_')))
        teil.chop(1);
    return teil.left(60);
}

} // namespace

Logfenster::Logfenster(questions::Questions& fragen, Logbetrachter betrachter, QWidget* parent)
    : QWidget(parent, Qt::Window), m_fragen(fragen), m_betrachter(std::move(betrachter))
{
    setObjectName(QStringLiteral("Logfenster"));
    // The program's font, as in the main window; a window of its own would not take it on.
    setAttribute(Qt::WA_WindowPropagation);
    setWindowTitle(QStringLiteral("Logdatei"));
    resize(1000, 650);

    m_uebersichtsseite = new Uebersichtsseite;
    m_logseite = new Logseite;
    m_seiten = new QTabWidget;
    m_seiten->setObjectName(QStringLiteral("Seiten"));
    m_seiten->setAccessibleName(QStringLiteral("Ansicht"));
    m_seiten->addTab(m_uebersichtsseite, QStringLiteral("Übersicht"));
    m_seiten->addTab(m_logseite, QStringLiteral("Logdatei"));

    m_bezStatus = new QLabel;
    m_bezStatus->setObjectName(QStringLiteral("BezStatus"));
    m_bezStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred); // a long path must not widen the window
    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* csv = knoepfe->addButton(QStringLiteral("Als CSV speichern…"), QDialogButtonBox::ActionRole);
    csv->setObjectName(QStringLiteral("CmdCsv"));
    QPushButton* editor = knoepfe->addButton(QStringLiteral("Im Editor öffnen"), QDialogButtonBox::ActionRole);
    editor->setObjectName(QStringLiteral("CmdEditor"));
    QPushButton* schliessen = knoepfe->button(QDialogButtonBox::Close);
    schliessen->setObjectName(QStringLiteral("CmdSchliessen"));

    auto* unten = new QHBoxLayout;
    unten->addWidget(m_bezStatus, 1);
    unten->addWidget(knoepfe);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_seiten);
    layout->addLayout(unten);
    // The Tab key takes the buttons as they stand, once they are in the window; the box alone
    // would lead it past "Schließen".
    setTabOrder(csv, editor);
    setTabOrder(editor, schliessen);

    connect(csv, &QPushButton::clicked, this, &Logfenster::CmdCsv_Click);
    connect(editor, &QPushButton::clicked, this, &Logfenster::CmdEditor_Click);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QWidget::close);
    // Esc closes it as it closes a dialog.
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this, &QWidget::close);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        m_seiten->setCurrentWidget(m_logseite);
        m_logseite->suchen();
    });
}

bool Logfenster::logZeigen(const std::string& pfad)
{
    std::string text;
    try {
        text = uebersicht::LogdateiText(pfad);
    } catch (const std::system_error& e) {
        m_fragen.inform("Fehler",
                        "Die Logdatei\r\n" + pfad + "\r\nkonnte nicht gelesen werden.\r\n" + e.code().message());
        return false;
    }
    m_pfad = pfad;
    m_uebersicht = uebersicht::UebersichtBilden(uebersicht::LogtextLesen(text));
    setWindowTitle(QStringLiteral("Logdatei - ") + qt(pfad));
    m_bezStatus->clear();
    m_uebersichtsseite->anzeigen(m_uebersicht);
    m_logseite->textSetzen(qt(text));
    m_seiten->setCurrentWidget(m_uebersichtsseite);
    show();
    raise();
    activateWindow();
    return true;
}

std::string Logfenster::csvVorschlag() const
{
    const QString log = qt(std::filesystem::path(m_pfad).stem().string());
    return (log + QLatin1Char('_') + dateinamenteil(m_uebersichtsseite->auswahlName()) + QStringLiteral(".csv"))
        .toStdString();
}

void Logfenster::CmdCsv_Click()
{
    const std::vector<uebersicht::Fundstelle>& auswahl = m_uebersichtsseite->auswahl();
    if (auswahl.empty()) {
        m_fragen.inform("Hinweis", "Es ist keine Problemzeile ausgewählt.");
        return;
    }
    const questions::FileChoice wahl{"Als CSV speichern", "CSV-Datei|*.csv",
                                     std::filesystem::path(m_pfad).parent_path().string(), csvVorschlag(), true};
    const std::optional<std::string> pfad = m_fragen.chooseFile(wahl);
    if (!pfad || pfad->empty())
        return;
    std::error_code ec;
    if (std::filesystem::equivalent(*pfad, m_pfad, ec)) {
        m_fragen.inform("Hinweis", "Die CSV-Datei kann nicht die Logdatei selbst sein. Bitte wählen Sie einen "
                                   "anderen Dateinamen.");
        return;
    }
    if (std::filesystem::exists(std::filesystem::symlink_status(*pfad, ec)) &&
        m_fragen.ask("Löschen bestätigen", "Soll die vorhandene Datei\r\n" + *pfad + "\r\nersetzt werden?",
                     questions::Buttons::YesNo) != questions::Answer::Yes)
        return;
    try {
        uebersicht::DateiSchreiben(*pfad, uebersicht::ProblemCsv(m_uebersicht, auswahl));
    } catch (const std::system_error& e) {
        m_fragen.inform("Fehler",
                        "Die Datei\r\n" + *pfad + "\r\nkonnte nicht gespeichert werden.\r\n" + e.code().message());
        return;
    }
    std::set<std::size_t> zeilen;
    for (const uebersicht::Fundstelle& f : auswahl)
        zeilen.insert(f.zeile);
    const QString wieviel =
        zeilen.size() == auswahl.size()
            ? QStringLiteral("%1 Problemzeilen").arg(zeilen.size())
            : QStringLiteral("%1 Problemzeilen mit %2 Gründen").arg(zeilen.size()).arg(auswahl.size());
    m_bezStatus->setText(wieviel + QStringLiteral(" gespeichert in ") + qt(*pfad));
}

void Logfenster::CmdEditor_Click()
{
    if (!m_betrachter(m_pfad))
        m_fragen.inform("Hinweis", "Die Logdatei\r\n" + m_pfad +
                                       "\r\nkann nicht angezeigt werden, weil kein Programm zum Anzeigen von "
                                       "Textdateien gestartet werden konnte. Sie können die Datei mit einem "
                                       "beliebigen Texteditor öffnen.");
}

} // namespace fenster
