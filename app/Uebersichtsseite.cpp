#include "app/Uebersichtsseite.h"

#include "app/Anteilbalken.h"
#include "text/Utf8.h"

#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace fenster {

using uebersicht::Fundstelle;
using uebersicht::Gruppe;
using uebersicht::Schritt;

namespace {

// What a row of the upper list stands for: every line, the lines of a step, or a group.
constexpr int kRolleGruppe = Qt::UserRole;      // index into gruppen, -1 for a step or all
constexpr int kRolleSchritt = Qt::UserRole + 1; // the step, -1 for all

// An export line, and a reason that quotes a value of it, may be very long and hold TABs and line
// feeds: the list shows the beginning on one row, the TABs and line feeds as signs; the CSV file
// and the log keep it whole.
constexpr std::size_t kHoechstensZeichen = 500;

QString qt(const std::string& s)
{
    return QString::fromStdString(s);
}

QString einzeilig(const std::string& zeile)
{
    QString anzeige = qt(text::left(zeile, kHoechstensZeichen));
    if (text::length(zeile) > kHoechstensZeichen)
        anzeige += QStringLiteral(" …");
    return anzeige.replace(QLatin1Char('\t'), QStringLiteral("→")).replace(QLatin1Char('\n'), QStringLiteral("↵"));
}

QTreeWidgetItem* zeile(const QString& text, std::size_t anzahl, int gruppe, int schritt)
{
    auto* item = new QTreeWidgetItem({text, QString::number(anzahl)});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(0, kRolleGruppe, gruppe);
    item->setData(0, kRolleSchritt, schritt);
    return item;
}

} // namespace

Uebersichtsseite::Uebersichtsseite(QWidget* parent) : QWidget(parent)
{
    m_gruende = new QTreeWidget;
    m_gruende->setObjectName(QStringLiteral("AnzGruende"));
    m_gruende->setAccessibleName(QStringLiteral("Gründe der Problemzeilen"));
    m_gruende->setHeaderLabels({QStringLiteral("Grund"), QStringLiteral("Zeilen"), QStringLiteral("Anteil")});
    m_gruende->setItemDelegateForColumn(2, new Anteilbalken(m_gruende));
    m_gruende->setUniformRowHeights(true);
    m_gruende->setAllColumnsShowFocus(true);

    m_zeilen = new QTreeWidget;
    m_zeilen->setObjectName(QStringLiteral("AnzZeilen"));
    m_zeilen->setAccessibleName(QStringLiteral("Problemzeilen"));
    m_zeilen->setHeaderLabels(
        {QStringLiteral("Schritt"), QStringLiteral("Zeile"), QStringLiteral("Grund"), QStringLiteral("Exportzeile")});
    m_zeilen->setUniformRowHeights(true);
    m_zeilen->setAllColumnsShowFocus(true);
    m_zeilen->setRootIsDecorated(false);
    m_zeilen->setColumnWidth(0, 140);
    m_zeilen->setColumnWidth(1, 60);
    m_zeilen->setColumnWidth(2, 300);

    auto* teilung = new QSplitter(Qt::Vertical);
    teilung->addWidget(m_gruende);
    teilung->addWidget(m_zeilen);
    teilung->setSizes({1, 1}); // half each to begin with
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(teilung);

    connect(m_gruende, &QTreeWidget::currentItemChanged, this, &Uebersichtsseite::gruppeGewaehlt);
    connect(m_gruende, &QTreeWidget::itemActivated, this, &Uebersichtsseite::zeilenAnsteuern);
}

// Enter on a reason (or a double click) leads to its lines, the first one chosen, so that the
// keyboard reads on where the eye goes next.
void Uebersichtsseite::zeilenAnsteuern()
{
    if (!m_zeilen->currentItem())
        m_zeilen->setCurrentItem(m_zeilen->topLevelItem(0));
    m_zeilen->setFocus(Qt::TabFocusReason);
}

void Uebersichtsseite::anzeigen(const uebersicht::Problemuebersicht& u)
{
    m_uebersicht = &u;
    m_gruende->clear();
    const auto groesste = uebersicht::GroessteGruppen(u, 1);
    const int hoechstwert = groesste.empty() ? 0 : static_cast<int>(groesste.front()->anzahl);

    m_gruende->addTopLevelItem(zeile(QStringLiteral("Alle Problemzeilen"), u.zeilen.size(), -1, -1));
    QTreeWidgetItem* schrittZeile = nullptr;
    QTreeWidgetItem* gewaehlt = m_gruende->topLevelItem(0);
    for (std::size_t g = 0; g < u.gruppen.size(); ++g) {
        const Gruppe& gruppe = u.gruppen[g];
        const int schritt = static_cast<int>(gruppe.schritt);
        if (!schrittZeile || schrittZeile->data(0, kRolleSchritt).toInt() != schritt) {
            const auto anzahl = std::count_if(u.zeilen.begin(), u.zeilen.end(),
                                              [&](const auto& z) { return z.schritt == gruppe.schritt; });
            schrittZeile = zeile(QString::fromUtf8(uebersicht::Schrittname(gruppe.schritt)),
                                 static_cast<std::size_t>(anzahl), -1, schritt);
            m_gruende->addTopLevelItem(schrittZeile);
        }
        QTreeWidgetItem* item = zeile(qt(gruppe.art), gruppe.anzahl, static_cast<int>(g), schritt);
        item->setData(2, Anteilbalken::kAnzahl, static_cast<int>(gruppe.anzahl));
        item->setData(2, Anteilbalken::kHoechstwert, hoechstwert);
        schrittZeile->addChild(item);
        if (!groesste.empty() && &gruppe == groesste.front())
            gewaehlt = item;
    }
    m_gruende->expandAll();
    m_gruende->resizeColumnToContents(0);
    m_gruende->resizeColumnToContents(1);
    m_gruende->setCurrentItem(nullptr);
    m_gruende->setCurrentItem(gewaehlt);
}

QString Uebersichtsseite::auswahlName() const
{
    const QTreeWidgetItem* item = m_gruende->currentItem();
    if (!item || item->data(0, kRolleSchritt).toInt() < 0)
        return QStringLiteral("Alle");
    const QString schritt =
        QString::fromUtf8(uebersicht::Schrittname(static_cast<Schritt>(item->data(0, kRolleSchritt).toInt())));
    return item->data(0, kRolleGruppe).toInt() < 0 ? schritt : schritt + QLatin1Char('_') + item->text(0);
}

void Uebersichtsseite::gruppeGewaehlt()
{
    m_auswahl.clear();
    const QTreeWidgetItem* item = m_gruende->currentItem();
    if (!m_uebersicht || !item) {
        zeilenZeigen(false);
        return;
    }
    const int gruppe = item->data(0, kRolleGruppe).toInt();
    const int schritt = item->data(0, kRolleSchritt).toInt();
    if (gruppe >= 0) {
        m_auswahl = m_uebersicht->gruppen[static_cast<std::size_t>(gruppe)].fundstellen;
    } else {
        for (const Fundstelle& f : uebersicht::AlleFundstellen(*m_uebersicht))
            if (schritt < 0 || m_uebersicht->zeilen[f.zeile].schritt == static_cast<Schritt>(schritt))
                m_auswahl.push_back(f);
    }
    zeilenZeigen(schritt < 0);
}

void Uebersichtsseite::zeilenZeigen(bool mitSchritt)
{
    m_zeilen->clear();
    m_zeilen->setColumnHidden(0, !mitSchritt);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(m_auswahl.size()));
    for (const Fundstelle& f : m_auswahl) {
        const uebersicht::Problemzeile& z = m_uebersicht->zeilen[f.zeile];
        const uebersicht::Grund& grund = z.gruende[f.grund];
        auto* item = new QTreeWidgetItem({QString::fromUtf8(uebersicht::Schrittname(z.schritt)),
                                          QString::number(z.zeile), einzeilig(grund.text), einzeilig(z.rohzeile)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        for (const uebersicht::Person& person : grund.personen)
            item->addChild(new QTreeWidgetItem(
                {{},
                 {},
                 person.ausDerZeile ? QStringLiteral("Person der Zeile") : QStringLiteral("Gespeicherte Person"),
                 einzeilig(person.angaben).replace(QStringLiteral("→"), QStringLiteral(" · "))}));
        items.append(item);
    }
    m_zeilen->addTopLevelItems(items);
    for (QTreeWidgetItem* item : items)
        if (item->childCount() > 0)
            item->setExpanded(true);
}

} // namespace fenster
