#pragma once

// A white display field of the window: a path or a counter that the user reads but does not
// type into. The three path fields open their choice when clicked, or when Space, Enter or F4
// is pressed while they have the focus. A path too long for its field is shortened in the middle,
// where it keeps the start of the path and the name at its end; the tooltip shows it whole.

#include <QLabel>

namespace fenster {

class Anzeigefeld : public QLabel
{
    Q_OBJECT

public:
    explicit Anzeigefeld(QWidget* parent);

    // Makes the field open a choice: hand cursor, reachable with the Tab key, the whole path and
    // the hint as tooltip.
    void klickbarMachen(const QString& hinweis);
    bool klickbar() const { return m_klickbar; }
    const QString& hinweis() const { return m_hinweis; }

    // The text as the field draws it: shortened in the middle when it does not fit.
    QString angezeigterText() const;

signals:
    void geklickt();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_klickbar = false;
    QString m_hinweis;
    bool m_gedrueckt = false;
};

} // namespace fenster
