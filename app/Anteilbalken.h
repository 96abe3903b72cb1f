#pragma once

// Draws a count as a bar in the style's own progress-bar look, so that the largest kinds of
// problems stand out at a glance. The item holds its count under Qt::UserRole and the largest
// count of the list under Qt::UserRole + 1; items without a count get no bar.

#include <QStyledItemDelegate>

namespace fenster {

class Anteilbalken : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kAnzahl = Qt::UserRole;
    static constexpr int kHoechstwert = Qt::UserRole + 1;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace fenster
