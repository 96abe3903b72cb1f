#include "app/QtQuestions.h"
#include "app/Sprache.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace fenster;
using questions::Answer;
using questions::Buttons;

class QtQuestionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(DeutscheStandardtexteLaden(*QCoreApplication::instance()));
    }

    // German buttons, no symbol, plain text; Escape means No, Cancel or plain acknowledgement,
    // never Yes or OK to a question.
    void meldungOhneSymbolMitDeutschenKnoepfen()
    {
        // buttons, the button clicked (NoButton: the key instead), the key, the answer, the buttons seen
        const std::tuple<Buttons, QMessageBox::StandardButton, Qt::Key, Answer, const char*> faelle[] = {
            {Buttons::YesNo, QMessageBox::Yes, Qt::Key_unknown, Answer::Yes, "Ja Nein"},
            {Buttons::YesNo, QMessageBox::NoButton, Qt::Key_Escape, Answer::No, "Ja Nein"},
            {Buttons::OkCancel, QMessageBox::NoButton, Qt::Key_Escape, Answer::Cancel, "Abbrechen OK"},
            {Buttons::Ok, QMessageBox::NoButton, Qt::Key_Return, Answer::Ok, "OK"},
        };
        for (const auto& [knoepfe, klick, taste, antwort, texte] : faelle) {
            QtQuestions fragen;
            QStringList gesehen;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QStringList beschriftungen;
                for (QAbstractButton* knopf : box->buttons())
                    beschriftungen << knopf->text().remove(QLatin1Char('&'));
                beschriftungen.sort();
                gesehen << box->windowTitle() << box->text() << beschriftungen.join(' ') << QString::number(box->icon());
                if (klick == QMessageBox::NoButton)
                    QTest::keyClick(box, taste);
                else
                    box->button(klick)->click();
            });
            QCOMPARE(fragen.ask("Löschen bestätigen", "Soll die Datei\r\n/a/<b>.vdb\r\ngelöscht werden?", knoepfe),
                     antwort);
            QCOMPARE(gesehen, (QStringList{"Löschen bestätigen", "Soll die Datei\n/a/<b>.vdb\ngelöscht werden?", texte,
                                           QString::number(QMessageBox::NoIcon)}));
        }
    }
};

QTEST_MAIN(QtQuestionsTest)
#include "QtQuestionsTest.moc"
