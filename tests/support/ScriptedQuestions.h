#pragma once

// Answers the core's questions from a script and records what was asked, so that a test can
// check the exact title and text of every message.

#include "questions/Questions.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

class ScriptedQuestions : public questions::Questions
{
public:
    struct Asked
    {
        std::string title;
        std::string text;
        questions::Buttons buttons;
    };

    // The answers to give, in order. A question without a scripted answer fails the test
    // through an exception, so an unexpected question never passes unnoticed. Messages with
    // only an OK button need no scripted answer.
    std::deque<questions::Answer> answers;
    std::deque<std::optional<std::string>> files;
    std::deque<std::optional<std::string>> folders;
    std::vector<Asked> asked;
    std::vector<questions::FileChoice> fileChoices;
    std::vector<std::string> folderStarts; // the start folder of every folder choice

    questions::Answer ask(const std::string& title, const std::string& text, questions::Buttons buttons) override
    {
        asked.push_back({title, text, buttons});
        return buttons == questions::Buttons::Ok ? questions::Answer::Ok
                                                 : next(answers, "unerwartete Frage: " + title + ": " + text);
    }

    std::optional<std::string> chooseFile(const questions::FileChoice& choice) override
    {
        fileChoices.push_back(choice);
        return next(files, "unerwartete Dateiauswahl: " + choice.title);
    }

    std::optional<std::string> chooseFolder(const std::string& title, const std::string& startFolder) override
    {
        folderStarts.push_back(startFolder);
        return next(folders, "unerwartete Ordnerauswahl: " + title);
    }

private:
    template <typename T> static T next(std::deque<T>& script, const std::string& unexpected)
    {
        if (script.empty())
            throw std::logic_error(unexpected);
        T first = script.front();
        script.pop_front();
        return first;
    }
};
