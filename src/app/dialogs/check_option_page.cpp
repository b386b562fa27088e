#include "dialogs/check_option_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "dialogs/number_field.h"
#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

/// One limit of the profile: its option, the name its field is found by, its label, range and
/// the step of its arrows.
struct Limit {
    std::int32_t AppSettings::*option;
    const char* name;
    const char* label;
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t step;
};

constexpr Limit kLimits[] = {
    {&AppSettings::CheckMaxReadingSpeed, "CheckMaxReadingSpeed", "1초에 읽을 글자 수(최대):", 1,
     100, 1},
    {&AppSettings::CheckMaxLineLetters, "CheckMaxLineLetters", "한 줄의 글자 수(최대):", 1, 200,
     1},
    {&AppSettings::CheckMaxLines, "CheckMaxLines", "줄 수(최대):", 1, 20, 1},
    {&AppSettings::CheckMinDuration, "CheckMinDuration", "표시 시간(최소, ms):", 0, 600000, 100},
    {&AppSettings::CheckMaxDuration, "CheckMaxDuration", "표시 시간(최대, ms):", 0, 600000, 500},
    {&AppSettings::CheckMinGapFrames, "CheckMinGapFrames", "다음 자막과의 간격(최소, 프레임):", 0,
     1000, 1},
};

}  // namespace

CheckOptionPage::CheckOptionPage(const AppSettings& settings, Messenger& messenger,
                                 QWidget* parent)
    : BaseOptionPage(settings, messenger, parent)
{
    QCheckBox* enabled = addCheck(&AppSettings::CheckEnabled, "CheckEnabled",
                                  "기준에 맞지 않는 자막을 목록에 표시");

    auto* limits = new QGroupBox(QStringLiteral("검사 기준"), this);
    auto* grid = new QGridLayout(limits);
    int row = 0;
    std::vector<NumberSpinBox*> boxes;
    for (const Limit& limit : kLimits) {
        NumberSpinBox* box = addNumber(limit.option, limit.name, limit.minimum, limit.maximum,
                                       limit.step, limit.step > 1);
        QLabel* label = plainLabel(limit.label);
        label->setBuddy(&box->field());
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        boxes.push_back(box);
        ++row;
    }
    // One width for the column of fields, whatever the digits of each one's largest value.
    int widest = 0;
    for (const NumberSpinBox* box : boxes) widest = std::max(widest, box->field().maximumWidth());
    for (NumberSpinBox* box : boxes) box->field().setFixedWidth(widest);
    grid->setColumnStretch(2, 1);

    QLabel* note = plainLabel(
        "한글과 한자는 한 글자, 영문·숫자·빈칸·문장 부호는 반 글자로 셉니다.\n"
        "프레임은 열려 있는 동영상을 따르며, 동영상이 없으면 1초에 24프레임으로 셉니다.");
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(enabled);
    layout->addWidget(limits);
    layout->addWidget(note);
    layout->addStretch(1);
}

}  // namespace verbanta::app
