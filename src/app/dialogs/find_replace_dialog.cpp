#include "dialogs/find_replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "caption_codec.h"
#include "editor/find_clipboard.h"

namespace verbanta::app {

FindReplaceDialog::FindReplaceDialog(FindClipboard& finder, Kind kind, QWidget* parent)
    : QDialog(parent),
      m_finder(finder),
      m_kind(kind),
      m_find(new QLineEdit(this)),
      m_matchCase(new QCheckBox(QStringLiteral("대/소문자 구분(&C)"), this)),
      m_findNext(new QPushButton(QStringLiteral("다음 찾기(&F)"), this))
{
    const bool replacing = kind == Kind::Replace;
    setWindowTitle(replacing ? QStringLiteral("바꾸기") : QStringLiteral("찾기"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* fields = new QGridLayout;
    auto* findLabel = new QLabel(QStringLiteral("찾을 내용(&N):"), this);
    findLabel->setBuddy(m_find);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_find, 0, 1);
    m_find->setMinimumWidth(m_find->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 18);
    if (replacing) {
        m_replace = new QLineEdit(this);
        auto* replaceLabel = new QLabel(QStringLiteral("바꿀 내용(&P):"), this);
        replaceLabel->setBuddy(m_replace);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_replace, 1, 1);
    }

    auto* options = new QHBoxLayout;
    options->addWidget(m_matchCase, 0, Qt::AlignBottom);
    options->addStretch(1);
    if (!replacing) {
        auto* direction = new QGroupBox(QStringLiteral("방향"), this);
        m_up = new QRadioButton(QStringLiteral("위로(&U)"), direction);
        m_down = new QRadioButton(QStringLiteral("아래로(&D)"), direction);
        m_down->setChecked(true);
        auto* directionLayout = new QHBoxLayout(direction);
        directionLayout->addWidget(m_up);
        directionLayout->addWidget(m_down);
        options->addWidget(direction);
    }

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    left->addStretch(1);

    auto* cancel = new QPushButton(QStringLiteral("취소"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    if (replacing) {
        m_replaceOne = new QPushButton(QStringLiteral("바꾸기(&R)"), this);
        m_replaceAll = new QPushButton(QStringLiteral("모두 바꾸기(&A)"), this);
        buttons->addWidget(m_replaceOne);
        buttons->addWidget(m_replaceAll);
    }
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    m_findNext->setDefault(true);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Tab goes through the fields as they stand, then the buttons: the fields made first
    // would otherwise send the replacement typed after one Tab into the check box.
    QList<QWidget*> order{m_find, m_replace, m_matchCase, m_up, m_down,
                          m_findNext, m_replaceOne, m_replaceAll, cancel};
    order.removeAll(nullptr);
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    connect(m_findNext, &QPushButton::clicked, this, &FindReplaceDialog::findNext);
    if (replacing) {
        connect(m_replaceOne, &QPushButton::clicked, this, &FindReplaceDialog::replaceOne);
        connect(m_replaceAll, &QPushButton::clicked, this, &FindReplaceDialog::replaceAll);
    }
    connect(cancel, &QPushButton::clicked, this, &FindReplaceDialog::close);
    connect(m_find, &QLineEdit::textChanged, this, &FindReplaceDialog::updateButtons);
    updateButtons();
}

void FindReplaceDialog::setFindText(const QString& text)
{
    m_find->setText(text);
    m_find->selectAll();
    m_find->setFocus();
}

QString FindReplaceDialog::findText() const
{
    return m_find->text();
}

void FindReplaceDialog::updateButtons()
{
    // An empty string matches nowhere, so there is nothing to search for.
    const bool any = !m_find->text().isEmpty();
    for (QPushButton* b : {m_findNext, m_replaceOne, m_replaceAll})
        if (b)
            b->setEnabled(any);
}

void FindReplaceDialog::findNext()
{
    if (m_find->text().isEmpty())
        return;
    m_finder.findNext(CaptionCodec::toModel(m_find->text()), !m_up || !m_up->isChecked(),
                      m_matchCase->isChecked());
}

void FindReplaceDialog::replaceOne()
{
    if (m_find->text().isEmpty() || !m_replace)
        return;
    m_finder.replace(CaptionCodec::toModel(m_find->text()),
                     CaptionCodec::toModel(m_replace->text()), m_matchCase->isChecked());
}

void FindReplaceDialog::replaceAll()
{
    if (m_find->text().isEmpty() || !m_replace)
        return;
    m_finder.replaceAll(CaptionCodec::toModel(m_find->text()),
                        CaptionCodec::toModel(m_replace->text()), m_matchCase->isChecked());
}

namespace {

/// The window's shown find or replace dialog, or null. A closed one lingers until its
/// deferred deletion: only a shown one counts.
FindReplaceDialog* shownDialog(const QWidget* window)
{
    for (FindReplaceDialog* d :
         window->findChildren<FindReplaceDialog*>(Qt::FindDirectChildrenOnly))
        if (d->isVisible())
            return d;
    return nullptr;
}

}  // namespace

FindReplaceDialog* showFindReplace(FindClipboard& finder, FindReplaceDialog::Kind kind,
                                   QWidget* window)
{
    QString start = CaptionCodec::toDisplay(finder.prepareFind());
    FindReplaceDialog* open = shownDialog(window);
    if (open && open->kind() != kind) {
        // The other kind takes over what was typed into this one.
        if (!open->findText().isEmpty())
            start = open->findText();
        open->close();
        open = nullptr;
    }
    if (!open) {
        open = new FindReplaceDialog(finder, kind, window);
        open->setFindText(start);
        open->show();
    }
    open->raise();
    open->activateWindow();
    open->findField().setFocus();
    return open;
}

}  // namespace verbanta::app
