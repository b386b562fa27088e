#include "caption_check_marks.h"

#include <QStringList>

#include "editor/caption_editor.h"
#include "settings/app_settings.h"

namespace verbanta::app {

CaptionCheckMarks::CaptionCheckMarks(const AppSettings& settings)
    : m_settings(settings),
      m_state(CheckProfile::fromSettings(settings), kDefaultFramesPerSecond),
      m_enabled(settings.CheckEnabled)
{
}

void CaptionCheckMarks::attach()
{
    if (m_enabled && m_editor)
        m_state.attach(m_editor->session().model().list(), m_editor->session().model().GetCurrentSlot());
    else
        m_state.detach();
}

void CaptionCheckMarks::bind(const CaptionEditor* editor)
{
    m_editor = editor;
    attach();
}

void CaptionCheckMarks::applySettings()
{
    const CheckProfile profile = CheckProfile::fromSettings(m_settings);
    if (!(profile == m_state.rules().profile()))
        m_state.setProfile(profile);
    if (m_enabled != m_settings.CheckEnabled) {
        m_enabled = m_settings.CheckEnabled;
        attach();
    }
}

void CaptionCheckMarks::setFrameRate(double framesPerSecond)
{
    const double rate = framesPerSecond > 0 ? framesPerSecond : kDefaultFramesPerSecond;
    if (rate != m_state.rules().framesPerSecond())
        m_state.setFrameRate(rate);
}

void CaptionCheckMarks::rowsInserted(int first, int count)
{
    if (m_enabled)
        m_state.rowsInserted(first, count);
}

void CaptionCheckMarks::rowsRemoved(int first, int count)
{
    if (m_enabled)
        m_state.rowsRemoved(first, count);
}

void CaptionCheckMarks::rowsChanged(int first, int last)
{
    if (m_enabled)
        m_state.rowsChanged(first, last);
}

CheckState::RowRange CaptionCheckMarks::settle()
{
    return m_enabled ? m_state.settle() : CheckState::RowRange{};
}

CheckRuleSet CaptionCheckMarks::rulesAt(int row)
{
    return m_enabled ? m_state.rulesAt(row) : 0;
}

QString CaptionCheckMarks::toolTip(int row)
{
    if (!m_enabled)
        return {};
    QStringList lines;
    for (const CheckFinding& f : m_state.findingsAt(row)) lines << findingText(f);
    return lines.join(QLatin1Char('\n'));
}

QString CaptionCheckMarks::valueText(const CheckFinding& f)
{
    if (!f.value)
        return {};
    // Twelve digits: values are whole numbers or hundredths, never an exponent.
    const QString number = QString::number(*f.value, 'g', 12);
    switch (f.rule) {
        case CheckRule::ReadingSpeed: return number + QStringLiteral("자/초");
        case CheckRule::LettersPerLine: return number + QStringLiteral("자");
        case CheckRule::LineCount: return number + QStringLiteral("줄");
        case CheckRule::UnbalancedTags: return number + QStringLiteral("개");
        default: return number + QStringLiteral("ms");  // durations and gaps
    }
}

QString CaptionCheckMarks::ruleName(CheckRule rule)
{
    const std::string_view name = checkRuleName(rule);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString CaptionCheckMarks::findingText(const CheckFinding& f)
{
    QString text = ruleName(f.rule);
    const QString value = valueText(f);
    if (!value.isEmpty())
        text += QStringLiteral(" (") + value + QLatin1Char(')');
    return text;
}

}  // namespace verbanta::app
