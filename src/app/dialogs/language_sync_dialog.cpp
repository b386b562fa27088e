#include "dialogs/language_sync_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace verbanta::app {

LanguageSyncDialog::LanguageSyncDialog(const QStringList& names, std::vector<int> indices,
                                       QWidget* parent)
    : QDialog(parent), m_indices(std::move(indices)), m_choices(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("다국어 자막 동기화"));
    m_choices->addItems(names);
    m_choices->setCurrentIndex(m_choices->count() > 0 ? 0 : -1);
    m_choices->setMinimumContentsLength(12);

    auto* text =
        new QLabel(QStringLiteral("현재 선택한 언어의 자막을 일치시킬 기준 언어 선택"), this);
    auto* label = new QLabel(QStringLiteral("기준 언어:"), this);
    label->setBuddy(m_choices);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_choices, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    // Without another language there is nothing to take the times from.
    ok->setEnabled(m_choices->count() > 0);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &LanguageSyncDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LanguageSyncDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(row);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int LanguageSyncDialog::referenceIndex() const
{
    const int i = m_choices->currentIndex();
    return i >= 0 && i < static_cast<int>(m_indices.size()) ? m_indices[static_cast<std::size_t>(i)]
                                                            : -1;
}

}  // namespace verbanta::app
