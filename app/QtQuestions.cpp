#include "app/QtQuestions.h"

#include "app/Startordner.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace fenster {

using questions::Answer;
using questions::Buttons;

namespace {

QString qt(const std::string& s)
{
    return QString::fromStdString(s);
}

// The messages join their lines with CR LF; the box wants LF.
QString zeilen(const std::string& text)
{
    return qt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The extension of the first pattern, for names typed without one: "*.vdb" gives "vdb".
QString endung(const std::string& filter)
{
    const QStringList teile = qt(filter).split(QLatin1Char('|'));
    if (teile.size() < 2 || !teile[1].startsWith(QLatin1String("*.")))
        return {};
    const QString e = teile[1].mid(2).section(QLatin1Char(';'), 0, 0);
    return e.contains(QLatin1Char('*')) || e.contains(QLatin1Char('?')) ? QString() : e;
}

// Given a folder that does not exist, the dialog would open elsewhere and put that folder's
// name into its file-name box; the folder is therefore set on its own, and always one that exists.
void startordnerSetzen(QFileDialog& dialog, const std::string& startordner)
{
    dialog.setDirectory(qt(Startordner({startordner}, QDir::homePath().toStdString())));
}

} // namespace

QString Dateifilter(const std::string& filter)
{
    const QStringList teile = qt(filter).split(QLatin1Char('|'));
    QStringList eintraege;
    for (qsizetype i = 0; i + 1 < teile.size(); i += 2)
        eintraege << teile[i] + QStringLiteral(" (") + teile[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' ')) +
                         QLatin1Char(')');
    return eintraege.join(QStringLiteral(";;"));
}

Answer QtQuestions::ask(const std::string& title, const std::string& text, Buttons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, qt(title), zeilen(text), QMessageBox::NoButton, m_fenster);
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<std::string> QtQuestions::chooseFile(const questions::FileChoice& choice)
{
    QFileDialog dialog(m_fenster, qt(choice.title), QString(), Dateifilter(choice.filter));
    startordnerSetzen(dialog, choice.startFolder);
    dialog.setAcceptMode(choice.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.save || choice.allowNew ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The window asks its own question before it replaces a file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(endung(choice.filter));
    if (!choice.fileName.empty())
        dialog.selectFile(qt(choice.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<std::string> QtQuestions::chooseFolder(const std::string& title, const std::string& startFolder)
{
    QFileDialog dialog(m_fenster, qt(title));
    startordnerSetzen(dialog, startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace fenster
