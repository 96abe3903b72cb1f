#include "app/Logseite.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace fenster {
namespace {

// A text view lays out a line of some megabytes only very slowly, and wrongly; such a line (an
// export line of garbage) is shown up to here, and whole in the desktop's viewer.
constexpr qsizetype kHoechstensZeichen = 20'000;

// The log with LF line ends, each line cut to what a text view can show.
QString zeigbar(const QString& log)
{
    QString text;
    text.reserve(log.size());
    qsizetype anfang = 0;
    while (anfang < log.size()) {
        qsizetype ende = log.indexOf(QStringLiteral("\r\n"), anfang);
        if (ende < 0)
            ende = log.size();
        const qsizetype laenge = ende - anfang;
        text += QStringView(log).mid(anfang, std::min(laenge, kHoechstensZeichen));
        if (laenge > kHoechstensZeichen)
            text += QStringLiteral(" … (%L1 weitere Zeichen, vollständig mit „Im Editor öffnen“)")
                        .arg(laenge - kHoechstensZeichen);
        if (ende < log.size())
            text += QLatin1Char('\n');
        anfang = ende + 2;
    }
    return text;
}

} // namespace

Logseite::Logseite(QWidget* parent) : QWidget(parent)
{
    m_text = new QPlainTextEdit;
    m_text->setObjectName(QStringLiteral("AnzLog"));
    m_text->setAccessibleName(QStringLiteral("Logdatei"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The log lines up its columns with TABs.
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* bezeichnung = new QLabel(QStringLiteral("Suchen:"));
    m_suchfeld = new QLineEdit;
    m_suchfeld->setObjectName(QStringLiteral("Suchfeld"));
    m_suchfeld->setClearButtonEnabled(true);
    bezeichnung->setBuddy(m_suchfeld);
    auto* weiter = new QPushButton(QStringLiteral("Weitersuchen"));
    weiter->setObjectName(QStringLiteral("CmdWeitersuchen"));
    weiter->setAutoDefault(false);
    m_suchstand = new QLabel;
    m_suchstand->setObjectName(QStringLiteral("BezSuchstand"));

    auto* suchzeile = new QHBoxLayout;
    suchzeile->addWidget(bezeichnung);
    suchzeile->addWidget(m_suchfeld, 1);
    suchzeile->addWidget(weiter);
    suchzeile->addWidget(m_suchstand, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(suchzeile);
    layout->addWidget(m_text);

    connect(m_suchfeld, &QLineEdit::returnPressed, this, &Logseite::weitersuchen);
    connect(weiter, &QPushButton::clicked, this, &Logseite::weitersuchen);
    connect(m_suchfeld, &QLineEdit::textChanged, m_suchstand, &QLabel::clear);
}

void Logseite::textSetzen(QString text)
{
    m_ausstehend = std::move(text);
    m_gesetzt = false;
    m_suchstand->clear();
    if (isVisible())
        auslegen();
}

void Logseite::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    auslegen();
}

void Logseite::auslegen()
{
    if (m_gesetzt)
        return;
    m_text->setPlainText(zeigbar(m_ausstehend));
    m_ausstehend.clear();
    m_gesetzt = true;
}

void Logseite::suchen()
{
    m_suchfeld->setFocus(Qt::ShortcutFocusReason);
    m_suchfeld->selectAll();
}

void Logseite::weitersuchen()
{
    const QString gesucht = m_suchfeld->text();
    if (gesucht.isEmpty())
        return;
    if (m_text->find(gesucht)) {
        m_suchstand->clear();
        return;
    }
    // From the top again.
    const QTextCursor vorher = m_text->textCursor();
    m_text->moveCursor(QTextCursor::Start);
    if (m_text->find(gesucht)) {
        m_suchstand->setText(QStringLiteral("Vom Anfang an weitergesucht"));
        return;
    }
    m_text->setTextCursor(vorher);
    m_suchstand->setText(QStringLiteral("„%1“ nicht gefunden").arg(gesucht));
}

} // namespace fenster
