#include "dialogs/sync_option_page.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/number_field.h"
#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

// The time spinners step by 100 ms, accelerating to 200 and 500.
constexpr std::int32_t kTimeStep = 100;

}  // namespace

CSyncOptionDlg::CSyncOptionDlg(const AppSettings& settings, Messenger& messenger, QWidget* parent)
    : BaseOptionPage(settings, messenger, parent), m_newSync(new QLineEdit(this))
{
    m_newSync->setObjectName(QStringLiteral("NewSync"));
    m_newSync->setText(QString::fromStdString(settings.NewSync));

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    const auto row = [&](const char* label, QWidget* field) {
        QLabel* text = plainLabel(label);
        text->setBuddy(field->focusProxy() ? field->focusProxy() : field);
        form->addRow(text, field);
    };
    row("싱크 증가치:",
        addNumber(&AppSettings::SyncIncrease, "SyncIncrease", 0, 100000, kTimeStep, true));
    row("싱크 보정치:",
        addNumber(&AppSettings::SyncModify, "SyncModify", -10000, 100000, kTimeStep, true));
    m_newSync->setMinimumWidth(200);
    row("새 싱크 내용:", m_newSync);
    row("자막 한 글자 당 지속 시간:",
        addNumber(&AppSettings::OneLetterSync, "OneLetterSync", 0, 1000, kTimeStep, true));
    row("장면 전환에 맞출 거리:",
        addNumber(&AppSettings::ShotSnapMs, "ShotSnapMs", 0, 1000, 10, true));
    // The text field was made first; Tab takes it where it stands, between the numbers.
    setTabOrder(numberField("SyncModify"), m_newSync);
    setTabOrder(m_newSync, numberField("OneLetterSync"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addWidget(addCheck(&AppSettings::InsertEndAuto, "InsertEndAuto",
                               "단일 싱크 맞출 시 자동 종료 싱크 맞춤"));
    layout->addWidget(addCheck(&AppSettings::InsertBR, "InsertBR", "엔터 입력시 <br> 삽입"));
    layout->addWidget(addCheck(&AppSettings::MoveToNextSync, "MoveToNextSync",
                               "단일 싱크 맞출 시 다음 싱크로 이동"));
    layout->addWidget(
        addCheck(&AppSettings::DeleteEndToo, "DeleteEndToo", "삭제시 종료싱크 함께 삭제"));
    layout->addWidget(addCheck(&AppSettings::MoveEndToo, "MoveEndToo",
                               "시작 싱크 에디트 값 변경시 종료 싱크도 변경"));
    layout->addWidget(addCheck(&AppSettings::SnapCaptureToShot, "SnapCaptureToShot",
                               "장면 전환 가까이에서 맞춘 싱크는 장면 전환에 맞춤"));
    layout->addStretch(1);
}

void CSyncOptionDlg::store(AppSettings& settings) const
{
    BaseOptionPage::store(settings);
    settings.NewSync = m_newSync->text().toStdString();
}

}  // namespace verbanta::app
