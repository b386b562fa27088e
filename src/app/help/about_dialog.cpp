#include "help/about_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/command_icons.h"

namespace verbanta::app {
namespace {

QLabel* link(const QString& target, const QString& shown, QWidget* parent)
{
    auto* label = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>").arg(target, shown), parent);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(true);
    return label;
}

}  // namespace

AboutDialog::AboutDialog(const QString& version, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Pelorin~ 버젼 정보"));
    auto* icon = new QLabel(this);
    icon->setPixmap(CommandIcons::programIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel(QStringLiteral("Pelorin~"), this);
    QFont bold = name->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    name->setFont(bold);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(new QLabel(QStringLiteral("Ver %1").arg(version), this));
    text->addWidget(new QLabel(QString::fromUtf8("SAMI 자막 편집기"), this));
    text->addSpacing(8);
    text->addWidget(new QLabel(QString::fromUtf8("파일명 일괄 변경과 자막 싱크 조정을"), this));
    text->addWidget(new QLabel(QString::fromUtf8("손쉽게 해결!!!"), this));
    text->addSpacing(8);
    auto* links = new QGridLayout;
    links->addWidget(new QLabel(QString::fromUtf8("홈페이지:"), this), 0, 0);
    links->addWidget(link(QStringLiteral("https://verbanta.example.org/"),
                          QStringLiteral("verbanta.example.org"), this), 0, 1);
    links->addWidget(new QLabel(QString::fromUtf8("메일주소:"), this), 1, 0);
    links->addWidget(link(QStringLiteral("mailto:verbanta@quandelsoft.example"),
                          QStringLiteral("verbanta@quandelsoft.example"), this), 1, 1);
    text->addLayout(links);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QString::fromUtf8("확인"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace verbanta::app
