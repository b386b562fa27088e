#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/messenger.h"

namespace verbanta::test {

/// A messenger that records every message and answers questions from a queue.
class RecordingMessenger : public Messenger {
public:
    struct Shown {
        std::string text;
        MessageIcon icon;
    };

    void showMessage(std::string_view text, MessageIcon icon) override
    {
        shown.push_back({std::string(text), icon});
    }
    bool askYesNo(std::string_view text) override
    {
        questions.emplace_back(text);
        return next() == Answer::Yes;
    }
    bool askYesNoDefaultNo(std::string_view text) override
    {
        defaultNoQuestions.emplace_back(text);
        return askYesNo(text);
    }
    Answer askYesNoCancel(std::string_view text) override
    {
        questions.emplace_back(text);
        return next();
    }

    std::vector<Shown> shown;
    std::vector<std::string> questions;
    std::vector<std::string>
        defaultNoQuestions;      ///< the questions of those asked with No as default
    std::deque<Answer> answers;  ///< answers given in order; No once they run out

private:
    Answer next()
    {
        if (answers.empty())
            return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace verbanta::test
