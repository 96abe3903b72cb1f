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
        if (buttons == questions::Buttons::Ok)
            return questions::Answer::Ok;
        if (answers.empty())
            throw std::logic_error("unerwartete Frage: " + title + ": " + text);
        const questions::Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<std::string> chooseFile(const questions::FileChoice& choice) override
    {
        fileChoices.push_back(choice);
        if (files.empty())
            throw std::logic_error("unerwartete Dateiauswahl: " + choice.title);
        auto file = files.front();
        files.pop_front();
        return file;
    }

    std::optional<std::string> chooseFolder(const std::string& title, const std::string& startFolder) override
    {
        folderStarts.push_back(startFolder);
        if (folders.empty())
            throw std::logic_error("unerwartete Ordnerauswahl: " + title);
        auto folder = folders.front();
        folders.pop_front();
        return folder;
    }
};
