#include "app/MainVdbVidazer.h"
#include "app/QtQuestions.h"
#include "app/Sprache.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication anwendung(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tvx-vidazer"));
    QApplication::setApplicationVersion(QStringLiteral(TVX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tvx-vidazer"));
    fenster::DeutscheStandardtexteLaden(anwendung);

    fenster::QtQuestions fragen;
    fenster::MainVdbVidazer hauptfenster(fragen);
    fragen.fensterSetzen(&hauptfenster);
    hauptfenster.show();
    return QApplication::exec();
}
