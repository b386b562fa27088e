#include "dialogs/group_option_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "dialogs/buddy_label.h"
#include "dialogs/colour_picker.h"
#include "dialogs/number_field.h"
#include "dialogs/style_choice_lists.h"
#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

constexpr std::int32_t kMarginMaximum = 40;

int choiceIndex(std::span<const StyleChoice> choices, const std::string& value)
{
    // A value that is none of the list's shows its first entry.
    return std::max(0, StyleChoiceLists::indexOf(choices, value));
}

}  // namespace

CGroupOptionDlg::CGroupOptionDlg(const AppSettings& settings, Messenger& messenger, QWidget* parent)
    : BaseOptionPage(settings, messenger, parent),
      m_colour(QString::fromStdString(settings.FontColor)),
      m_weight(QString::fromStdString(settings.FontWeight)),
      m_align(QString::fromStdString(settings.FontAlign)),
      m_font1(QString::fromStdString(settings.FontName1)),
      m_font2(QString::fromStdString(settings.FontName2))
{
    auto* fonts = new QGroupBox(QStringLiteral("자막 폰트"), this);
    buildFontGroup(fonts);

    auto* margins = new QGroupBox(QStringLiteral("자막 여백"), this);
    auto* marginLayout = new QHBoxLayout(margins);
    struct Margin {
        std::int32_t AppSettings::*option;
        const char* name;
        const char* label;
    };
    for (const Margin& m : {Margin{&AppSettings::TopMargin, "TopMargin", "위(&T)"},
                            Margin{&AppSettings::BottomMargin, "BottomMargin", "아래(&D)"},
                            Margin{&AppSettings::LeftMargin, "LeftMargin", "왼쪽(&L)"},
                            Margin{&AppSettings::RightMargin, "RightMargin", "오른쪽(&R)"}}) {
        // A refused margin returns to 0, not to the option's default.
        NumberSpinBox* box = addNumber(m.option, m.name, 0, kMarginMaximum, 1, false, 0);
        marginLayout->addWidget(buddyLabel(m.label, &box->field(), margins));
        marginLayout->addWidget(box);
        marginLayout->addSpacing(8);
    }
    marginLayout->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts);
    layout->addWidget(margins);
    layout->addStretch(1);
}

void CGroupOptionDlg::buildFontGroup(QWidget* group)
{
    // A refused size returns to the option's default, 14, which lies in the range.
    NumberSpinBox* size = addNumber(&AppSettings::FontSize, "FontSize", 10, 40, 1, false);
    m_colourPicker = new CColourPicker(Qt::white, group);
    m_colourPicker->setColourText(m_settings.FontColor);
    m_weightList = new QComboBox(group);
    StyleChoiceLists::fill(*m_weightList, kWeightChoices);
    m_weightList->setCurrentIndex(choiceIndex(kWeightChoices, m_settings.FontWeight));
    m_alignList = new QComboBox(group);
    StyleChoiceLists::fill(*m_alignList, kAlignChoices);
    m_alignList->setCurrentIndex(choiceIndex(kAlignChoices, m_settings.FontAlign));
    m_font1List = new QComboBox(group);
    m_font2List = new QComboBox(group);
    StyleChoiceLists::fillFontFamilies(*m_font1List, m_font1, false);
    StyleChoiceLists::fillFontFamilies(*m_font2List, m_font2, true);
    for (QComboBox* list : {m_font1List, m_font2List}) {
        list->setMinimumContentsLength(14);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }

    connect(m_colourPicker, &CColourPicker::colourPicked, this,
            [this] { m_colour = m_colourPicker->colourText(); });
    connect(m_weightList, &QComboBox::currentIndexChanged, this,
            [this] { m_weight = StyleChoiceLists::selectedValue(*m_weightList); });
    connect(m_alignList, &QComboBox::currentIndexChanged, this,
            [this] { m_align = StyleChoiceLists::selectedValue(*m_alignList); });
    connect(m_font1List, &QComboBox::currentIndexChanged, this,
            [this] { m_font1 = m_font1List->currentText(); });
    connect(m_font2List, &QComboBox::currentIndexChanged, this,
            [this] { m_font2 = m_font2List->currentText(); });

    auto* grid = new QGridLayout(group);
    grid->addWidget(buddyLabel("크기(&S):", &size->field(), group), 0, 0);
    grid->addWidget(size, 0, 1, Qt::AlignLeft);
    grid->addWidget(buddyLabel("글꼴색(&C):", m_colourPicker, group), 0, 2);
    grid->addWidget(m_colourPicker, 0, 3, Qt::AlignLeft);
    grid->addWidget(buddyLabel("글꼴 두께(&O):", m_weightList, group), 1, 0);
    grid->addWidget(m_weightList, 1, 1);
    grid->addWidget(buddyLabel("정렬(&A):", m_alignList, group), 1, 2);
    grid->addWidget(m_alignList, 1, 3);
    grid->addWidget(buddyLabel("폰트 1(&F):", m_font1List, group), 2, 0);
    grid->addWidget(m_font1List, 2, 1, 1, 3);
    grid->addWidget(buddyLabel("폰트 2(&N):", m_font2List, group), 3, 0);
    grid->addWidget(m_font2List, 3, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

void CGroupOptionDlg::store(AppSettings& settings) const
{
    BaseOptionPage::store(settings);
    settings.FontColor = m_colour.toStdString();
    settings.FontWeight = m_weight.toStdString();
    settings.FontAlign = m_align.toStdString();
    settings.FontName1 = m_font1.toStdString();
    settings.FontName2 = m_font2.toStdString();
}

}  // namespace verbanta::app
