#pragma once

#include <string>
#include <string_view>

namespace verbanta {

/// The icon a message box shows.
enum class MessageIcon { Error, Warning, Information, Question };

/// The answer to a question.
enum class Answer { Yes, No, Cancel };

/// How the core shows a message or asks the user; texts are UTF-8.
/// The app implements it with message boxes, the CLI with stderr, tests record the calls.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void showMessage(std::string_view text, MessageIcon icon) = 0;
    /// A Yes/No question with the question icon.
    virtual bool askYesNo(std::string_view text) = 0;
    /// The same with No as the answer Enter gives: for a question whose Yes loses work.
    virtual bool askYesNoDefaultNo(std::string_view text) { return askYesNo(text); }
    /// A Yes/No/Cancel question with the question icon.
    virtual Answer askYesNoCancel(std::string_view text) = 0;
};

/// A messenger that shows nothing and answers No: for batch work without a user.
class SilentMessenger : public Messenger {
public:
    void showMessage(std::string_view, MessageIcon) override {}
    bool askYesNo(std::string_view) override { return false; }
    Answer askYesNoCancel(std::string_view) override { return Answer::Cancel; }
};

}  // namespace verbanta
