#include "dialogs/option_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/check_option_page.h"
#include "dialogs/file_option_page.h"
#include "dialogs/group_option_page.h"
#include "dialogs/number_field.h"
#include "dialogs/sync_option_page.h"
#include "dialogs/view_option_page.h"
#include "korean_fonts.h"

namespace verbanta::app {

COptionSheet::COptionSheet(AppSettings& settings, Messenger& messenger, QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_tabs(new QTabWidget(this)),
      m_sync(new CSyncOptionDlg(settings, messenger, m_tabs)),
      m_view(new CViewOptionDlg(settings, messenger, m_tabs)),
      m_file(new CFileOptionDlg(settings, messenger, m_tabs)),
      m_group(new CGroupOptionDlg(settings, messenger, m_tabs)),
      m_check(new CheckOptionPage(settings, messenger, m_tabs))
{
    setWindowTitle(QStringLiteral("Pelorin~ 옵션 설정"));
    // The pages were designed in "굴림" 9 pt; the whole sheet is laid out in that font.
    setFont(KoreanFonts::dialogFont());
    for (BaseOptionPage* page : pages()) m_tabs->addTab(page, page->title());

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole)
        ->setProperty(NumberField::kDiscardsProperty, true);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

std::vector<BaseOptionPage*> COptionSheet::pages() const
{
    return {m_sync, m_view, m_file, m_group, m_check};
}

void COptionSheet::accept()
{
    for (BaseOptionPage* page : pages()) {
        for (NumberField* field : page->numberFields()) {
            if (!field->entryAcceptable()) {
                m_tabs->setCurrentWidget(page);
                field->checkEntry();
                return;
            }
        }
    }
    for (BaseOptionPage* page : pages()) page->store(m_settings);
    QDialog::accept();
}

}  // namespace verbanta::app
