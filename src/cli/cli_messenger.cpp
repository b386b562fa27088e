#include "cli_messenger.h"

#include <unistd.h>

#include <iostream>
#include <string>

namespace verbanta::cli {
namespace {

// The core's messages start a reason with a carriage return, which a terminal would use to
// overwrite the line: there a line feed shows the same break. Scripts get the exact text.
std::string forTerminal(std::string_view text)
{
    std::string out(text);
    if (::isatty(STDERR_FILENO) == 1) {
        for (char& c : out)
            if (c == '\r')
                c = '\n';
    }
    return out;
}

}  // namespace

void CliMessenger::showMessage(std::string_view text, MessageIcon icon)
{
    if (icon == MessageIcon::Error)
        m_errorShown = true;
    std::cerr << forTerminal(text) << '\n';
}

bool CliMessenger::askYesNo(std::string_view text)
{
    std::cerr << forTerminal(text) << '\n';
    return false;
}

Answer CliMessenger::askYesNoCancel(std::string_view text)
{
    std::cerr << forTerminal(text) << '\n';
    return Answer::Cancel;
}

}  // namespace verbanta::cli
