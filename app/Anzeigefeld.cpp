#include "app/Anzeigefeld.h"

#include "app/Anzeigefeldzugang.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTextDocument>

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
    ZugangEinrichten(*this);
}

void Anzeigefeld::klickbarMachen(const QString& hinweis)
{
    m_klickbar = true;
    m_hinweis = hinweis;
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setToolTip(hinweis);
}

QString Anzeigefeld::angezeigterText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width() - indent());
}

// The tooltip follows the path shown at the moment it is asked for.
bool Anzeigefeld::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && m_klickbar) {
        const QString tipp = text().isEmpty() ? m_hinweis : text() + QLatin1Char('\n') + m_hinweis;
        // A path is plain text, even one that looks like markup.
        setToolTip(Qt::mightBeRichText(tipp) ? Qt::convertFromPlainText(tipp, Qt::WhiteSpacePre) : tipp);
    }
    return QLabel::event(event);
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

// F4 as for a drop-down list, which it opens.
void Anzeigefeld::keyPressEvent(QKeyEvent* event)
{
    if (m_klickbar && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                       event->key() == Qt::Key_Enter || event->key() == Qt::Key_F4)) {
        emit geklickt();
        return;
    }
    QLabel::keyPressEvent(event);
}

void Anzeigefeld::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QStylePainter maler(this);
    maler.drawItemText(contentsRect().adjusted(indent(), 0, 0, 0), static_cast<int>(alignment()), palette(),
                       isEnabled(), angezeigterText(), foregroundRole());
    if (!hasFocus())
        return;
    QStyleOptionFocusRect fokus;
    fokus.initFrom(this);
    fokus.rect = contentsRect().adjusted(1, 1, -1, -1);
    maler.drawPrimitive(QStyle::PE_FrameFocusRect, fokus);
}

} // namespace fenster
