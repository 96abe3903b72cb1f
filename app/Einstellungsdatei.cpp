#include "app/Einstellungsdatei.h"

#include <QFile>
#include <QSaveFile>

namespace fenster {

std::optional<std::string> EinstellungsdateiLesen(const std::string& pfad)
{
    QFile datei(QString::fromStdString(pfad));
    if (!datei.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray inhalt = datei.readAll();
    if (datei.error() != QFileDevice::NoError)
        return std::nullopt;
    return inhalt.toStdString();
}

bool EinstellungsdateiSchreiben(const std::string& pfad, const std::string& inhalt)
{
    QSaveFile datei(QString::fromStdString(pfad));
    if (!datei.open(QIODevice::WriteOnly))
        return false;
    const auto laenge = static_cast<qint64>(inhalt.size());
    if (datei.write(inhalt.data(), laenge) != laenge) {
        datei.cancelWriting();
        return false;
    }
    return datei.commit();
}

} // namespace fenster
