#pragma once

// The window's answers to the core's questions: message boxes without icon whose standard
// buttons read Ja, Nein, OK and Abbrechen, and the desktop's file and folder dialogs.

#include "questions/Questions.h"

#include <QPointer>
#include <QString>
#include <QWidget>

namespace fenster {

class QtQuestions : public questions::Questions
{
public:
    explicit QtQuestions(QWidget* fenster = nullptr) : m_fenster(fenster) {}

    // The window over which the dialogs open.
    void fensterSetzen(QWidget* fenster) { m_fenster = fenster; }

    questions::Answer ask(const std::string& title, const std::string& text, questions::Buttons buttons) override;
    std::optional<std::string> chooseFile(const questions::FileChoice& choice) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& startFolder) override;

private:
    QPointer<QWidget> m_fenster;
};

// A dialog filter as the core writes it, "Vereinsdatenbank|*.vdb" (description and pattern, pairs
// joined with "|"), as a file dialog takes it: "Vereinsdatenbank (*.vdb)".
QString Dateifilter(const std::string& filter);

} // namespace fenster
