#include "dialogs/view_option_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/number_field.h"
#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

constexpr std::int32_t kTimeStep = 100;

}  // namespace

CViewOptionDlg::CViewOptionDlg(const AppSettings& settings, Messenger& messenger, QWidget* parent)
    : BaseOptionPage(settings, messenger, parent)
{
    auto* captions = new QGroupBox(QStringLiteral("자막 보기"), this);
    auto* captionLayout = new QVBoxLayout(captions);
    captionLayout->addWidget(
        addCheck(&AppSettings::DisplayTag, "DisplayTag", "자막 내용 태그 표시"));
    captionLayout->addWidget(
        addCheck(&AppSettings::DisplayAsTime, "DisplayAsTime", "싱크 값을 시간으로 표시"));
    captionLayout->addWidget(
        addCheck(&AppSettings::DisplayErrorSync, "DisplayErrorSync", "오류 자막 색상 표시"));

    auto* video = new QGroupBox(QStringLiteral("동영상 보기"), this);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    const auto row = [&](const char* label, NumberSpinBox* box) {
        QLabel* text = plainLabel(label);
        text->setBuddy(&box->field());
        form->addRow(text, box);
    };
    row("동영상 이동 시간:",
        addNumber(&AppSettings::MovieMoveTime, "MovieMoveTime", 0, 100000, kTimeStep, true));
    row("리플레이 시간:",
        addNumber(&AppSettings::MovieRepeatTime, "MovieRepeatTime", 0, 100000, kTimeStep, true));
    auto* videoLayout = new QVBoxLayout(video);
    videoLayout->addLayout(form);
    videoLayout->addWidget(
        addCheck(&AppSettings::NotDisplayBanner, "NotDisplayBanner", "배너 광고 표시 안 함"));
    videoLayout->addWidget(addCheck(&AppSettings::MatchListToMovie, "MatchListToMovie",
                                    "동영상 이동시 해당 자막으로 이동"));

    // The window's colours: the desktop's scheme, or one of the two forced.
    auto* look = new QGroupBox(QStringLiteral("화면 색상"), this);
    auto* lookLayout = new QHBoxLayout(look);
    m_scheme = new QComboBox(look);
    m_scheme->setObjectName(QStringLiteral("ColorScheme"));
    m_scheme->addItems({QStringLiteral("바탕 화면 설정을 따름"), QStringLiteral("밝은 색"),
                        QStringLiteral("어두운 색")});
    const int scheme = settings.ColorScheme;
    m_scheme->setCurrentIndex(scheme >= 0 && scheme < m_scheme->count() ? scheme : 0);
    QLabel* schemeLabel = plainLabel("색 구성:");
    schemeLabel->setBuddy(m_scheme);
    lookLayout->addWidget(schemeLabel);
    lookLayout->addWidget(m_scheme);
    lookLayout->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(captions);
    layout->addWidget(video);
    layout->addWidget(look);
    layout->addStretch(1);
}

void CViewOptionDlg::store(AppSettings& settings) const
{
    BaseOptionPage::store(settings);
    settings.ColorScheme = m_scheme->currentIndex();
}

}  // namespace verbanta::app
