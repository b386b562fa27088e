#include "qt_messenger.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <string>

namespace verbanta::app {
namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            break;
    }
    return QMessageBox::Information;
}

void printLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

QWidget* QtMessenger::parentWidget() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_parent ? m_parent->window() : QApplication::activeWindow();
}

void QtMessenger::showMessage(std::string_view text, MessageIcon icon)
{
    if (m_consoleOnly) {
        printLine(text);
        return;
    }
    QMessageBox box(iconOf(icon), QApplication::applicationName(), fromUtf8(text),
                    QMessageBox::NoButton, parentWidget());
    box.addButton(QString::fromUtf8("확인"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtMessenger::askYesNo(std::string_view text)
{
    return ask(text, true);
}

bool QtMessenger::askYesNoDefaultNo(std::string_view text)
{
    return ask(text, false);
}

bool QtMessenger::ask(std::string_view text, bool defaultYes)
{
    if (m_consoleOnly) {
        printLine(text);
        return false;
    }
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), fromUtf8(text),
                    QMessageBox::NoButton, parentWidget());
    QPushButton* yes = box.addButton(QString::fromUtf8("예(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf8("아니오(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(defaultYes ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

Answer QtMessenger::askYesNoCancel(std::string_view text)
{
    if (m_consoleOnly) {
        printLine(text);
        return Answer::Cancel;
    }
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), fromUtf8(text),
                    QMessageBox::NoButton, parentWidget());
    QPushButton* yes = box.addButton(QString::fromUtf8("예(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf8("아니오(&N)"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QString::fromUtf8("취소"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    return box.clickedButton() == no ? Answer::No : Answer::Cancel;
}

}  // namespace verbanta::app
