#include "app/Anzeigefeld.h"
#include "app/Logfenster.h"
#include "batch/BatchCommand.h"
#include "support/Fensteraufbau.h"
#include "support/OwnHome.h"
#include "support/QueryRows.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <filesystem>
#include <sstream>

using namespace fenster;

namespace {

// The window with the example export, whose problem lines the log window shows.
struct Aufbau : Fensteraufbau
{
    Aufbau() { beispielexport(); }

    // A key pressed where a user presses it: into the active window, to whatever has the focus.
    static void taste(Qt::Key taste, Qt::KeyboardModifiers umschalter = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::activeWindow()->windowHandle(), taste, umschalter);
    }

    // The three choices from the keyboard: the club database with Enter on the field that has the
    // focus at start, the export folder with Space, the definitions file with F4.
    void waehlen()
    {
        fragen.files = {vdb, wkak};
        fragen.folders = {export_};
        taste(Qt::Key_Return);
        taste(Qt::Key_Tab);
        taste(Qt::Key_Space);
        taste(Qt::Key_Tab);
        taste(Qt::Key_F4);
    }
};

QString fokus()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

QString zugangstext(QWidget* w, QAccessible::Text art = QAccessible::Name)
{
    return QAccessible::queryAccessibleInterface(w)->text(art);
}

// The controls of a window that are shown and can be used and have no name a screen reader could
// read: what takes the focus, display fields, labels that show something, buttons and frames.
QStringList ohneNamen(QWidget* fenster)
{
    QStringList ohne;
    for (QWidget* w : fenster->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(w);
        const bool steuerelement = w->focusPolicy() != Qt::NoFocus || qobject_cast<Anzeigefeld*>(w) ||
                                   (label && !label->text().isEmpty()) || qobject_cast<QAbstractButton*>(w) ||
                                   qobject_cast<QGroupBox*>(w);
        if (steuerelement && w->isVisible() && w->isEnabled() && zugangstext(w).trimmed().isEmpty())
            ohne << w->metaObject()->className() + QStringLiteral(" ") + w->objectName();
    }
    return ohne;
}

} // namespace

class BedienungTest : public QObject
{
    Q_OBJECT

private slots:
    // A whole conversion without the mouse: the three choices, Start by its shortcut, the
    // question after the run, the log window walked and closed with Esc, Ende by its shortcut.
    // The club database is the one the batch program makes of the same files.
    void umsetzungNurMitTasten()
    {
        Aufbau a;
        QVERIFY(QTest::qWaitForWindowActive(a.fenster.get()));
        QCOMPARE(fokus(), "AnzVDb");
        a.waehlen();
        QVERIFY(a.fragen.files.empty() && a.fragen.folders.empty());
        // Start is two Tab presses away, past the log box.
        QStringList tabs;
        for (int i = 0; i < 2; ++i) {
            Aufbau::taste(Qt::Key_Tab);
            tabs << fokus();
        }
        QCOMPARE(tabs, (QStringList{"ChkLog", "CmdStart"}));

        // Alt+S wherever the focus is, here on Ende.
        a.fragen.answers = {questions::Answer::Yes};
        Aufbau::taste(Qt::Key_Tab);
        Aufbau::taste(Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(a.fragen.asked.size(), 2u);
        // The export folder came before the definitions file, as the Tab key leads.
        QCOMPARE(a.fragen.asked[0].title + "|" + a.fragen.asked[1].title, "TVX_Dadazuror|Logdatei");
        auto* logfenster = a.el<Logfenster>("Logfenster");
        QTRY_VERIFY(QApplication::activeWindow() == logfenster);

        // In the log window Tab walks the pages, the reasons, their lines and the buttons.
        tabs.clear();
        for (int i = 0; i < 7; ++i) {
            tabs << fokus();
            Aufbau::taste(Qt::Key_Tab);
        }
        QCOMPARE(tabs, (QStringList{"qt_tabwidget_tabbar", "AnzGruende", "AnzZeilen", "CmdCsv", "CmdEditor",
                                    "CmdSchliessen", "qt_tabwidget_tabbar"}));
        // Enter on a reason goes to its lines.
        QCOMPARE(fokus(), "AnzGruende");
        Aufbau::taste(Qt::Key_Down);
        const QString grund = "Mindestangaben fehlen, Daten können nicht gespeichert werden";
        QCOMPARE(a.el<QTreeWidget>("AnzGruende")->currentItem()->text(0), grund);
        Aufbau::taste(Qt::Key_Return);
        QCOMPARE(fokus(), "AnzZeilen");
        QCOMPARE(a.el<QTreeWidget>("AnzZeilen")->currentItem()->text(2), grund);
        Aufbau::taste(Qt::Key_Escape);
        QVERIFY(!logfenster->isVisible());
        a.fenster->activateWindow(); // as the desktop does when the log window has gone
        QTRY_VERIFY(QApplication::activeWindow() == a.fenster.get());
        Aufbau::taste(Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(!a.fenster->isVisible());

        const std::string stapel = a.tmp.file("Stapel/Verein.vdb");
        std::filesystem::create_directory(a.tmp.file("Stapel"));
        std::ostringstream aus, fehler;
        QCOMPARE(batch::run({a.export_, stapel, a.wkak}, {a.tmp.path().string(), a.tmp.path().string()}, aus, fehler),
                 batch::kOk);
        const std::vector<std::string> gefenstert = databaseRows(a.vdb);
        QCOMPARE(gefenstert, databaseRows(stapel));
        QVERIFY(std::ranges::any_of(gefenstert, [](const std::string& z) { return z.starts_with("StartBerecht: "); }));
    }

    // Every control of both windows has a name of its own, which a run does not change; the
    // path fields are buttons that a screen reader can press; the Tab key walks the choices in the
    // order of the window, then what starts and ends a run.
    void namenUndTabfolge()
    {
        Aufbau a;
        QStringList tabfolge;
        for (QWidget* w = a.fenster->nextInFocusChain(); w != a.fenster.get(); w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus)
                tabfolge << w->objectName();
        QCOMPARE(tabfolge,
                 (QStringList{"AnzVDb", "AnzExport", "AnzWkAk", "ChkLog", "CmdStart", "CmdAbbruch", "CmdEnde"}));

        QVERIFY(QTest::qWaitForWindowActive(a.fenster.get()));
        a.waehlen();
        QCOMPARE(ohneNamen(a.fenster.get()), QStringList());
        auto* wkak = QAccessible::queryAccessibleInterface(a.el("AnzWkAk"));
        QCOMPARE(wkak->role(), QAccessible::Button);
        QCOMPARE(wkak->text(QAccessible::Name), "Startberechtigungen abgleichen mit");
        QCOMPARE(wkak->textInterface()->text(0, wkak->textInterface()->characterCount()),
                 QString::fromStdString(a.wkak));
        a.fragen.files = {a.wkak};
        wkak->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(a.fragen.fileChoices.size(), 3u);
        QCOMPARE(zugangstext(a.el("ChkExMitglieder")), "Gefundene Exportdatei: Mitglieder");
        QCOMPARE(zugangstext(a.el("ChkExMitglieder"), QAccessible::Description), "Verband_M_2024.csv");

        auto namen = [&] {
            QStringList n;
            for (Anzeigefeld* feld : a.fenster->findChildren<Anzeigefeld*>())
                n << zugangstext(feld);
            return n;
        };
        const QStringList vorher = namen();
        a.fragen.answers = {questions::Answer::Yes};
        Aufbau::taste(Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(a.fenster->findChild<Logfenster*>());
        QCOMPARE(namen(), vorher);
        QCOMPARE(zugangstext(a.el("AnzVdbSchützen")), "Datenbankinhalt: Schützen");
        QCOMPARE(zugangstext(a.el("AnzVdbSchützen"), QAccessible::Value), "3");
        QCOMPARE(zugangstext(a.el("AnzMitglieder"), QAccessible::Value), "4 / 4");

        auto* logfenster = a.el<Logfenster>("Logfenster");
        QCOMPARE(ohneNamen(logfenster), QStringList());
        a.el<QTabWidget>("Seiten")->setCurrentIndex(1);
        QCOMPARE(ohneNamen(logfenster), QStringList());
    }
};

TVX_QTEST_MAIN(BedienungTest, QApplication)
#include "BedienungTest.moc"
