#include "app/Anzeigefeld.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace fenster {

Anzeigefeld::Anzeigefeld(QWidget* parent) : QLabel(parent)
{
    setAutoFillBackground(true);
    QPalette farben = palette();
    farben.setColor(QPalette::Window, Qt::white);
    farben.setColor(QPalette::WindowText, Qt::black);
    setPalette(farben);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setIndent(3);
    setTextFormat(Qt::PlainText);
}

void Anzeigefeld::klickbarMachen(const QString& hinweis)
{
    m_klickbar = true;
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setToolTip(hinweis);
}

void Anzeigefeld::mousePressEvent(QMouseEvent* event)
{
    m_gedrueckt = m_klickbar && event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

// As with a button, the choice opens when the mouse is released over the field it was pressed on.
void Anzeigefeld::mouseReleaseEvent(QMouseEvent* event)
{
    const bool klick = m_gedrueckt && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_gedrueckt = false;
    QLabel::mouseReleaseEvent(event);
    if (klick)
        emit geklickt();
}

void Anzeigefeld::keyPressEvent(QKeyEvent* event)
{
    if (m_klickbar &&
        (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        emit geklickt();
        return;
    }
    QLabel::keyPressEvent(event);
}

void Anzeigefeld::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter maler(this);
    QStyleOptionFocusRect fokus;
    fokus.initFrom(this);
    fokus.rect = contentsRect().adjusted(1, 1, -1, -1);
    maler.drawPrimitive(QStyle::PE_FrameFocusRect, fokus);
}

} // namespace fenster
