#include "app/Anteilbalken.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionProgressBar>

namespace fenster {

void Anteilbalken::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QVariant anzahl = index.data(kAnzahl);
    const int hoechstwert = index.data(kHoechstwert).toInt();
    if (!anzahl.isValid() || hoechstwert <= 0)
        return;
    QStyleOptionProgressBar balken;
    balken.state = option.state;
    balken.palette = option.palette;
    balken.direction = option.direction;
    balken.fontMetrics = option.fontMetrics;
    balken.rect = option.rect.adjusted(2, 3, -2, -3);
    balken.minimum = 0;
    balken.maximum = hoechstwert;
    balken.progress = anzahl.toInt();
    balken.textVisible = false;
    balken.state |= QStyle::State_Horizontal;
    const QStyle* stil = option.widget ? option.widget->style() : QApplication::style();
    stil->drawControl(QStyle::CE_ProgressBar, &balken, painter, option.widget);
}

} // namespace fenster
