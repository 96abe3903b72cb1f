// The log window over the log of a real conversion: it opens on the largest kind of problem,
// lists the lines of the kind chosen with the persons of a duplicate report, saves them as CSV
// through the question interface, searches the log with Strg+F and still hands the log to the
// desktop's viewer.

#include "app/Logfenster.h"
#include "run/RunSetup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace fenster;
using questions::Answer;

namespace {

std::string mitglied(const std::string& nummer, const std::string& plz)
{
    return "1,04-001," + nummer + ",01.03.1990,,,Huber,Anna,24.12.1961,W,,,,,,Hauptstr.,12," + plz + ",Augsburg,0821";
}

// A run whose log holds three clubs without abbreviation, one of them a line too long to show
// whole, and one possible duplicate, and the window over that log.
struct Aufbau
{
    RunSetup r;
    std::vector<std::string> gezeigt;
    std::unique_ptr<Logfenster> fenster;
    const std::string lang = "1,04-004,Lang,,,,,,,,Ort," + std::string(30'000, 'x');

    Aufbau()
    {
        r.write("V", {"1,04-001,SG Tell,SGT,,,,,,,Augsburg", "1,04-002,Ohne;\"Kürzel\",,,,,,,,Ort",
                      "1,04-003,Auch ohne,,,,,,,,Ort", lang});
        r.write("M", {mitglied("04-001-0001", "86150"), mitglied("04-001-0002", "86152")});
        r.frontend.questions.answers = {Answer::No};
        r.start();
        fenster = std::make_unique<Logfenster>(r.frontend.questions, [this](const std::string& pfad) {
            gezeigt.push_back(pfad);
            return false;
        });
    }

    template <typename T> T* el(const char* name) const
    {
        T* w = fenster->findChild<T*>(QString::fromUtf8(name));
        if (!w)
            qFatal("kein Steuerelement %s", name);
        return w;
    }
    // The rows of a list: its shown columns joined by "|", a bar as count/largest count, child
    // rows indented.
    QStringList zeilen(const char* name) const
    {
        QTreeWidget* liste = el<QTreeWidget>(name);
        QStringList z;
        for (QTreeWidgetItemIterator it(liste); *it; ++it) {
            QStringList spalten;
            for (int s = 0; s < liste->columnCount(); ++s) {
                const QVariant balken = (*it)->data(s, Qt::UserRole);
                if (s == 2 && liste->objectName() == "AnzGruende")
                    spalten << (balken.isValid() ? balken.toString() + "/" + (*it)->data(s, Qt::UserRole + 1).toString()
                                                 : QString());
                else if (!liste->isColumnHidden(s))
                    spalten << (*it)->text(s);
            }
            z << ((*it)->parent() ? "  " : "") + spalten.join('|');
        }
        return z;
    }
    void waehlen(const QString& grund) const
    {
        QTreeWidget* gruende = el<QTreeWidget>("AnzGruende");
        gruende->setCurrentItem(gruende->findItems(grund, Qt::MatchExactly | Qt::MatchRecursive).value(0));
    }
};

} // namespace

class LogfensterTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void uebersichtMitGroessterGruppeGewaehlt()
    {
        Aufbau a;
        QVERIFY(a.fenster->logZeigen(a.r.logPath()));
        QVERIFY(a.fenster->isVisible());
        QCOMPARE(a.zeilen("AnzGruende"),
                 (QStringList{"Alle Problemzeilen|4|", "Vereine|3|", "  Vereinsabkürzung fehlt|3|3/3",
                              "  Mindestangaben fehlen, Daten können nicht gespeichert werden|3|3/3", "Mitglieder|1|",
                              "  Eventuell doppelter Eintrag! Bitte Prüfen!|1|1/3"}));
        QCOMPARE(a.el<QTreeWidget>("AnzGruende")->currentItem()->text(0), QString("Vereinsabkürzung fehlt"));
        QCOMPARE(a.zeilen("AnzZeilen"),
                 (QStringList{"2|Vereinsabkürzung fehlt|1,04-002,Ohne;\"Kürzel\",,,,,,,,Ort",
                              "3|Vereinsabkürzung fehlt|1,04-003,Auch ohne,,,,,,,,Ort",
                              "4|Vereinsabkürzung fehlt|" + QString::fromStdString(a.lang.substr(0, 500)) + " …"}));

        a.waehlen("Eventuell doppelter Eintrag! Bitte Prüfen!");
        QCOMPARE(a.zeilen("AnzZeilen"),
                 (QStringList{"2|Eventuell doppelter Eintrag! Bitte Prüfen!|" +
                                  QString::fromStdString(mitglied("04-001-0002", "86152")),
                              "  |Person der Zeile|Huber, Anna · 24.12.1961 · w · Hauptstr. 12 · 86152 Augsburg · "
                              "04-001-0002",
                              "  |Gespeicherte Person|Huber, Anna · 24.12.1961 · w · Hauptstr. 12 · 86150 Augsburg · "
                              "04-001-0001"}));
        a.waehlen("Alle Problemzeilen");
        QCOMPARE(a.zeilen("AnzZeilen").size(), 7 + 2); // seven reasons of four lines, two persons
        QVERIFY(a.zeilen("AnzZeilen")[0].startsWith("Vereine|2|Vereinsabkürzung fehlt|"));

        QVERIFY(!a.fenster->logZeigen(a.r.folder.file("fehlt.log")));
        QVERIFY(
            a.r.frontend.questions.asked.back().text.starts_with("Die Logdatei\r\n" + a.r.folder.file("fehlt.log")));
    }

    void alsCsvSpeichernUndImEditorOeffnen()
    {
        Aufbau a;
        a.fenster->logZeigen(a.r.logPath());
        ScriptedQuestions& fragen = a.r.frontend.questions;
        const std::string csv = a.r.folder.file("Probleme.csv");
        fragen.files = {csv};
        a.el<QPushButton>("CmdCsv")->click();
        const questions::FileChoice& wahl = fragen.fileChoices.back();
        QCOMPARE(wahl.title + "|" + wahl.filter + "|" + wahl.startFolder + "|" + wahl.fileName,
                 "Als CSV speichern|CSV-Datei|*.csv|" + a.r.folder.path().string() +
                     "|Log_20240307_0905_Vereine_Vereinsabkürzung_fehlt.csv");
        QVERIFY(wahl.save);
        const std::string gespeichert = readBytes(csv);
        QVERIFY(gespeichert.starts_with(
            "\xEF\xBB\xBFSchritt;Zeile;Grund;Exportzeile\r\n"
            "Vereine;2;Vereinsabkürzung fehlt;\"1,04-002,Ohne;\"\"Kürzel\"\",,,,,,,,Ort\"\r\n"));
        QCOMPARE(std::count(gespeichert.begin(), gespeichert.end(), '\n'), 4);
        QVERIFY(gespeichert.ends_with(",Ort," + std::string(30'000, 'x') + "\"\r\n")); // whole

        // An existing file is replaced only after the question.
        a.waehlen("Alle Problemzeilen");
        fragen.files = {csv, csv};
        fragen.answers = {Answer::No, Answer::Yes};
        a.el<QPushButton>("CmdCsv")->click();
        QCOMPARE(readBytes(csv), gespeichert);
        QCOMPARE(fragen.asked.back().title + ": " + fragen.asked.back().text,
                 "Löschen bestätigen: Soll die vorhandene Datei\r\n" + csv + "\r\nersetzt werden?");
        a.el<QPushButton>("CmdCsv")->click();
        const std::string ersetzt = readBytes(csv);
        QCOMPARE(std::count(ersetzt.begin(), ersetzt.end(), '\n'), 8);
        QCOMPARE(a.el<QLabel>("BezStatus")->text(),
                 QString::fromStdString("4 Problemzeilen mit 7 Gründen gespeichert in " + csv));

        a.el<QPushButton>("CmdEditor")->click();
        QCOMPARE(a.gezeigt, std::vector<std::string>{a.r.logPath()});
        QVERIFY(fragen.asked.back().text.starts_with("Die Logdatei\r\n" + a.r.logPath() +
                                                     "\r\nkann nicht angezeigt werden"));
    }

    void strgFSuchtInDerLogdatei()
    {
        Aufbau a;
        a.fenster->logZeigen(a.r.logPath());
        QVERIFY(QTest::qWaitForWindowActive(a.fenster.get()));
        QTest::keyClick(a.fenster.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(a.el<QTabWidget>("Seiten")->currentIndex(), 1);
        QVERIFY(a.el<QLineEdit>("Suchfeld")->hasFocus());
        // The log is decoded from Windows-1252: its umlauts read right; a line too long to lay out
        // ends in a note.
        const QString log = a.el<QPlainTextEdit>("AnzLog")->toPlainText();
        QVERIFY(log.contains("Vereinsabkürzung fehlt"));
        QVERIFY(log.contains(QString::fromStdString("Zeile  4\t" + a.lang.substr(0, 20'000 - 9)) + " … ("));
        QTest::keyClicks(a.el<QLineEdit>("Suchfeld"), "Huber");
        QTest::keyClick(a.el<QLineEdit>("Suchfeld"), Qt::Key_Return);
        QCOMPARE(a.el<QPlainTextEdit>("AnzLog")->textCursor().selectedText(), QString("Huber"));
        QTest::keyClicks(a.el<QLineEdit>("Suchfeld"), "xyz");
        QTest::keyClick(a.el<QLineEdit>("Suchfeld"), Qt::Key_Return);
        QCOMPARE(a.el<QLabel>("BezSuchstand")->text(), QString("„Huberxyz“ nicht gefunden"));
    }
};

QTEST_MAIN(LogfensterTest)
#include "LogfensterTest.moc"
