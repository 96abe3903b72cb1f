#pragma once

// Every modal question and message of the core goes through this interface: the window
// answers with real dialogs, the batch front end with its own rules (every question No),
// and tests with scripted answers. The core never knows which of them it talks to.

#include <optional>
#include <string>

namespace questions {

enum class Buttons { Ok, YesNo, OkCancel };

enum class Answer { Ok, Cancel, Yes, No };

struct FileChoice
{
    std::string title;        // "Wettkampfdefinitionen öffnen"
    std::string filter;       // "Wettkampfdefinitionen|*.zrv": description and pattern
    std::string startFolder;  // empty: the dialog's own choice
    std::string fileName;     // proposed name, may be empty
    bool save = false;        // a save dialog lets the user type a new name
    bool allowNew = false;    // an open dialog that also takes the name of a file not there yet
};

class Questions
{
public:
    virtual ~Questions() = default;

    // Shows text (lines joined with CR LF) under title, without icon, with the given buttons,
    // and waits for the answer.
    virtual Answer ask(const std::string& title, const std::string& text, Buttons buttons) = 0;

    // Lets the user choose a file; nothing when cancelled.
    virtual std::optional<std::string> chooseFile(const FileChoice& choice) = 0;

    // Lets the user choose a folder; nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& startFolder) = 0;

    // A message with only an OK button.
    void inform(const std::string& title, const std::string& text) { ask(title, text, Buttons::Ok); }
};

} // namespace questions
