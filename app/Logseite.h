#pragma once

// The page "Logdatei" of the log window: the whole conversion log, decoded from Windows-1252 so
// that its umlauts read right on any desktop, with a search field (Strg+F) that finds the next
// place from the cursor on and starts again at the top.

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace fenster {

class Logseite : public QWidget
{
    Q_OBJECT

public:
    explicit Logseite(QWidget* parent = nullptr);

    // The log's text; laid out only when the page is first shown, so that the overview opens
    // without waiting for a long log.
    void textSetzen(QString text);

    // Puts the cursor into the search field, its text selected.
    void suchen();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void auslegen();
    void weitersuchen();

    QString m_ausstehend;
    bool m_gesetzt = true;
    QPlainTextEdit* m_text = nullptr;
    QLineEdit* m_suchfeld = nullptr;
    QLabel* m_suchstand = nullptr;
};

} // namespace fenster
