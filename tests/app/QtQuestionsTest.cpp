#include "app/QtQuestions.h"
#include "app/Sprache.h"
#include "support/OwnHome.h"
#include "support/TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace fenster;
using questions::Answer;
using questions::Buttons;

namespace {

// Runs handle on the dialog that the next modal call opens, once it is shown.
template <typename Dialog> void sobaldOffen(std::function<void(Dialog*)> handle)
{
    QTimer::singleShot(0, [handle] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        handle(dialog);
    });
}

} // namespace

class QtQuestionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(DeutscheStandardtexteLaden(*QCoreApplication::instance()));
        QCOMPARE(QLocale().toString(10035), "10.035"); // numbers in Qt's dialogs as in German
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
            sobaldOffen<QMessageBox>([&](QMessageBox* box) {
                QStringList beschriftungen;
                for (QAbstractButton* knopf : box->buttons())
                    beschriftungen << knopf->text().remove(QLatin1Char('&'));
                beschriftungen.sort();
                gesehen << box->windowTitle() << box->text() << beschriftungen.join(' ')
                        << QString::number(box->icon());
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

    // The save dialog leaves the question about an existing file to the window, and a name typed
    // without extension gets the one of the filter; the definitions dialog takes a new name too.
    // A start folder that does not exist (here the first one) gives the nearest one above it, and
    // never a file name.
    void dateidialoge()
    {
        TempFolder tmp;
        const std::string ordner = tmp.path().string();
        const struct
        {
            questions::FileChoice wahl;
            const char* eingabe;
            std::string ergebnis;
            const char* filter; // as the dialog shows it
        } faelle[] = {
            {{"Vereinsdatenbank anlegen", "Vereinsdatenbank|*.vdb", ordner + "/schiess/Datenbanken", "", true},
             "Verein",
             tmp.file("Verein.vdb"),
             "Vereinsdatenbank (*.vdb)"},
            {{"Wettkampfdefinitionen öffnen", "Wettkampfdefinitionen|*.zrv;*.alt", ordner, "", false, true},
             "neu",
             tmp.file("neu.zrv"),
             "Wettkampfdefinitionen (*.zrv *.alt)"},
        };
        for (const auto& f : faelle) {
            QtQuestions fragen;
            QStringList gesehen;
            sobaldOffen<QFileDialog>([&](QFileDialog* dialog) {
                gesehen << dialog->windowTitle() << dialog->directory().absolutePath() << dialog->nameFilters()
                        << dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
                if (dialog->testOption(QFileDialog::DontConfirmOverwrite))
                    gesehen << "ohne Rückfrage";
                dialog->selectFile(QString::fromUtf8(f.eingabe));
                static_cast<QDialog*>(dialog)->accept();
                if (dialog->isVisible())
                    dialog->reject(); // not taken: the test fails instead of waiting
            });
            QCOMPARE(fragen.chooseFile(f.wahl).value_or(""), f.ergebnis);
            QCOMPARE(gesehen, (QStringList{QString::fromStdString(f.wahl.title), QString::fromStdString(ordner),
                                           f.filter, "", "ohne Rückfrage"}));
        }
    }
};

TVX_QTEST_MAIN(QtQuestionsTest, QApplication)
#include "QtQuestionsTest.moc"
