#include "help/help_dialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "commands/command_icons.h"
#include "commands/command_table.h"

namespace verbanta::app {

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent), m_browser(new QTextBrowser(this))
{
    setWindowTitle(QString::fromUtf8("Verbanta 도움말"));
    setWindowIcon(CommandIcons::programIcon());
    m_browser->setOpenExternalLinks(true);
    m_browser->setHtml(helpHtml());
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf8("닫기"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
    resize(640, 560);
    // The document opens at its beginning, not wherever its layout left the view.
    m_browser->moveCursor(QTextCursor::Start);
    m_browser->ensureCursorVisible();
}

QString HelpDialog::helpHtml()
{
    QFile file(QStringLiteral(":/help/verbanta_help.html"));
    if (!file.open(QIODevice::ReadOnly))
        return keyTableHtml();
    QString html = QString::fromUtf8(file.readAll());
    html.replace(QStringLiteral("<!--KEYS-->"), keyTableHtml());
    return html;
}

QString HelpDialog::keyTableHtml()
{
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">");
    for (const Command& command : commandTable()) {
        const QList<QKeySequence> keys = command.shortcuts();
        if (keys.isEmpty())
            continue;
        QStringList names;
        for (const QKeySequence& key : keys) names.append(key.toString(QKeySequence::NativeText));
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                    .arg(names.join(QStringLiteral(", ")).toHtmlEscaped(),
                         command.statusTip().toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}

}  // namespace verbanta::app
