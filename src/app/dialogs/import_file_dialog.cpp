#include "dialogs/import_file_dialog.h"

#include <QComboBox>

#include <array>

namespace verbanta::app {
namespace {

struct Rate {
    const char* label;
    double value;
};

constexpr std::array<Rate, 5> kRates = {{
    {"23.976", 23.976},
    {"24", 24.0},
    {"25", 25.0},
    {"29.97", 29.97},
    {"30", 30.0},
}};

}  // namespace

ImportFileDialog::ImportFileDialog(QWidget* parent, Messenger& messenger)
    : SubtitleFileDialog(parent, Mode::Open, kFilter, QString(), &messenger)
{
    QStringList labels;
    for (const Rate& r : kRates) labels << QString::fromLatin1(r.label);
    m_rate = addChoiceRow(QStringLiteral("### 동영상 프레임:"), labels, kDefaultRateIndex,
                          QStringLiteral("(MicroDVD 형식에만 적용)"));
    selectNameFilter(nameFilters().constFirst());
}

double ImportFileDialog::framesPerSecond() const
{
    return rateAt(m_rate->currentIndex());
}

double ImportFileDialog::rateAt(int index)
{
    if (index < 0 || index >= static_cast<int>(kRates.size()))
        index = kDefaultRateIndex;
    return kRates[static_cast<std::size_t>(index)].value;
}

}  // namespace verbanta::app
