// Writes the help document as the help window shows it, key table included, so that the
// installed page and the program's own help are one text.
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#include "help/help_dialog.h"

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.html\n", argv[0]);
        return 2;
    }
    QFile out(QString::fromLocal8Bit(argv[1]));
    const QByteArray html = verbanta::app::HelpDialog::helpHtml().toUtf8();
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(html) != html.size() ||
        !out.flush()) {
        std::fprintf(stderr, "Could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
