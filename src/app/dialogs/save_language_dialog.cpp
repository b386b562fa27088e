#include "dialogs/save_language_dialog.h"

#include <QComboBox>

#include "caption_codec.h"
#include "model/language_operations.h"
#include "model/sami_model.h"

namespace verbanta::app {

SaveLanguageDialog::SaveLanguageDialog(const SamiModel& model, QWidget* parent,
                                       Messenger& messenger)
    : SubtitleFileDialog(parent, Mode::Save, kFilter, QStringLiteral("smi"), &messenger)
{
    QStringList names;
    int current = 0;
    for (int i = 0; i < model.GetLanguageCount(); ++i) {
        const LanguageInfo& language = model.languages[static_cast<std::size_t>(i)];
        QString name = CaptionCodec::toDisplay(fieldsOf(language).name);
        // A language without a name is still told apart by its class.
        if (name.trimmed().isEmpty())
            name = CaptionCodec::toDisplay(fieldsOf(language).className);
        names << name;
        if (model.slotOrder[static_cast<std::size_t>(i)] == model.GetCurrentSlot())
            current = i;
    }
    m_language = addChoiceRow(QStringLiteral("### 저장할 언어:"), names, current);
}

int SaveLanguageDialog::languageIndex() const
{
    return m_language->currentIndex();
}

}  // namespace verbanta::app
