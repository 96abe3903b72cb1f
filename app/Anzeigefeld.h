#pragma once

// A white display field of the window: a path or a counter that the user reads but does not
// type into. The three path fields open their choice when clicked, or when Space or Enter is
// pressed while they have the focus.

#include <QLabel>

namespace fenster {

class Anzeigefeld : public QLabel
{
    Q_OBJECT

public:
    explicit Anzeigefeld(QWidget* parent);

    // Makes the field open a choice: hand cursor, reachable with the Tab key, the hint as tooltip.
    void klickbarMachen(const QString& hinweis);

signals:
    void geklickt();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_klickbar = false;
    bool m_gedrueckt = false;
};

} // namespace fenster
