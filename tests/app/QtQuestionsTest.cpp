#include "app/QtQuestions.h"
#include "app/Sprache.h"
#include "support/TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
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

QStringList knopftexte(QMessageBox* box)
{
    QStringList texte;
    for (QAbstractButton* knopf : box->buttons())
        texte << knopf->text().remove(QLatin1Char('&'));
    texte.sort();
    return texte;
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
    }

    void meldungOhneSymbolMitDeutschenKnoepfen()
    {
        QtQuestions fragen;
        QString titel, text;
        QStringList knoepfe;
        QMessageBox::Icon symbol = QMessageBox::Information;
        sobaldOffen<QMessageBox>([&](QMessageBox* box) {
            titel = box->windowTitle();
            text = box->text();
            knoepfe = knopftexte(box);
            symbol = box->icon();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(fragen.ask("Löschen bestätigen", "Soll die vorhandene Datei\r\n/a/<b>.vdb\r\ngelöscht werden?",
                            Buttons::YesNo),
                 Answer::No);
        QCOMPARE(titel, QString("Löschen bestätigen"));
        QCOMPARE(text, QString("Soll die vorhandene Datei\n/a/<b>.vdb\ngelöscht werden?"));
        QCOMPARE(knoepfe, (QStringList{"Ja", "Nein"}));
        QCOMPARE(symbol, QMessageBox::NoIcon);

        sobaldOffen<QMessageBox>([&](QMessageBox* box) {
            knoepfe = knopftexte(box);
            box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(fragen.ask("Logdatei", "?", Buttons::YesNo), Answer::Yes);

        // Escape means No, Cancel or plain acknowledgement, never Yes or OK to a question.
        sobaldOffen<QMessageBox>([&](QMessageBox* box) {
            knoepfe = knopftexte(box);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(fragen.ask("Zervik - Sicherheitsabfrage", "?", Buttons::OkCancel), Answer::Cancel);
        QCOMPARE(knoepfe, (QStringList{"Abbrechen", "OK"}));

        sobaldOffen<QMessageBox>([&](QMessageBox* box) {
            knoepfe = knopftexte(box);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(fragen.ask("Logdatei", "?", Buttons::YesNo), Answer::No);

        sobaldOffen<QMessageBox>([&](QMessageBox* box) {
            knoepfe = knopftexte(box);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(fragen.ask("Hinweis", "?", Buttons::Ok), Answer::Ok);
        QCOMPARE(knoepfe, (QStringList{"OK"}));
    }

    void dateifilterDesEntwurfs()
    {
        QCOMPARE(Dateifilter("Vereinsdatenbank|*.vdb"), QString("Vereinsdatenbank (*.vdb)"));
        QCOMPARE(Dateifilter("TVX-Export|*.csv|Alle Dateien|*.*"), QString("TVX-Export (*.csv);;Alle Dateien (*.*)"));
        QCOMPARE(Dateifilter("Wettkampfdefinitionen|*.zrv;*.alt"), QString("Wettkampfdefinitionen (*.zrv *.alt)"));
    }

    // The save dialog leaves the question about an existing file to the window, and a name
    // typed without extension gets the one of the filter.
    void speicherdialogFragtNichtSelbstUndErgaenztDieEndung()
    {
        TempFolder tmp;
        const QString ordner = QString::fromStdString(tmp.path().string());
        QtQuestions fragen;
        bool ueberschreibenFragen = true;
        QString titel, verzeichnis;
        QStringList filter;
        sobaldOffen<QFileDialog>([&](QFileDialog* dialog) {
            titel = dialog->windowTitle();
            verzeichnis = dialog->directory().absolutePath();
            filter = dialog->nameFilters();
            ueberschreibenFragen = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            dialog->selectFile(QStringLiteral("Verein"));
            static_cast<QDialog*>(dialog)->accept();
        });
        const auto datei =
            fragen.chooseFile({"Vereinsdatenbank anlegen", "Vereinsdatenbank|*.vdb", tmp.path().string(), "", true});
        QCOMPARE(titel, QString("Vereinsdatenbank anlegen"));
        QCOMPARE(verzeichnis, ordner);
        QCOMPARE(filter, QStringList{"Vereinsdatenbank (*.vdb)"});
        QVERIFY(!ueberschreibenFragen);
        QVERIFY(datei);
        QCOMPARE(*datei, tmp.file("Verein.vdb"));
    }

    void abgebrocheneDialogeGebenNichts()
    {
        QtQuestions fragen;
        sobaldOffen<QFileDialog>([](QFileDialog* dialog) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
            dialog->reject();
        });
        QVERIFY(!fragen.chooseFile({"Wettkampfdefinitionen öffnen", "Wettkampfdefinitionen|*.zrv", "", "", false}));

        QString titel;
        sobaldOffen<QFileDialog>([&](QFileDialog* dialog) {
            titel = dialog->windowTitle();
            QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
            dialog->reject();
        });
        QVERIFY(!fragen.chooseFolder("Wählen Sie den Exportordner aus:", ""));
        QCOMPARE(titel, QString("Wählen Sie den Exportordner aus:"));
    }
};

QTEST_MAIN(QtQuestionsTest)
#include "QtQuestionsTest.moc"
