#include "app/Schrift.h"

#include "app/Anzeigefeld.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QWidget>

namespace fenster {
namespace {

constexpr double kPunkt = 9.75;
// Below this a caption is no longer read comfortably; the window then rather clips it.
constexpr double kKleinstePunkte = 7.0;
constexpr double kSchritt = 0.25;

// The captions of the window: labels that are not display fields, check boxes, buttons and the
// titles of the frames.
QList<QWidget*> beschriftungen(QWidget& fenster)
{
    QList<QWidget*> ergebnis;
    for (QWidget* w : fenster.findChildren<QWidget*>()) {
        const bool beschriftung = (qobject_cast<QLabel*>(w) && !qobject_cast<Anzeigefeld*>(w)) ||
                                  qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w);
        if (beschriftung)
            ergebnis << w;
    }
    return ergebnis;
}

// Whether the control has room for its caption in its own font: as much as Qt's layouts would
// give it, and for a frame's title as much room to the right edge as the style keeps on the left.
bool passt(const QWidget* w)
{
    if (const auto* rahmen = qobject_cast<const QGroupBox*>(w)) {
        QStyleOptionGroupBox o;
        o.initFrom(rahmen);
        o.text = rahmen->title();
        o.textAlignment = rahmen->alignment();
        o.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect titel = w->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, w);
        return titel.right() < w->width() - titel.left();
    }
    const QSize noetig = w->sizeHint();
    return noetig.width() <= w->width() && noetig.height() <= w->height();
}

bool allePassen(const QList<QWidget*>& beschriftungen)
{
    for (const QWidget* w : beschriftungen)
        if (!passt(w))
            return false;
    return true;
}

// Makes the font of traeger, which the widgets follow, smaller until all of them fit.
void verkleinern(const QList<QWidget*>& widgets, QWidget& traeger)
{
    QFont schrift = traeger.font();
    while (!allePassen(widgets) && schrift.pointSizeF() - kSchritt >= kKleinstePunkte) {
        schrift.setPointSizeF(schrift.pointSizeF() - kSchritt);
        traeger.setFont(schrift);
    }
}

} // namespace

void SchriftSetzen(QWidget& fenster)
{
    QFont schrift = fenster.font();
    schrift.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial")});
    schrift.setPointSizeF(kPunkt);
    fenster.setFont(schrift);
}

void BeschriftungenEinpassen(QWidget& fenster)
{
    QList<QWidget*> gemeinsam;
    for (QWidget* w : beschriftungen(fenster)) {
        if (w->testAttribute(Qt::WA_SetFont))
            verkleinern({w}, *w);
        else
            gemeinsam << w;
    }
    verkleinern(gemeinsam, fenster);
}

} // namespace fenster
