#pragma once

#include "dialogs/subtitle_file_dialog.h"

namespace verbanta {
class SamiModel;
}

namespace verbanta::app {

/// The save dialog of "다국어 자막 언어별 저장": the file and, in the row "### 저장할 언어:",
/// the language to write, confirmed together.
class SaveLanguageDialog : public SubtitleFileDialog {
    Q_OBJECT
public:
    static constexpr const char* kFilter = "SAMI 자막 파일 (*.smi)|*.smi|모든 파일(*.*)|*.*||";

    /// The languages are listed in the model's order with the current one chosen.
    SaveLanguageDialog(const SamiModel& model, QWidget* parent, Messenger& messenger);

    /// The index of the chosen language in the model's language list.
    int languageIndex() const;

private:
    QComboBox* m_language = nullptr;
};

}  // namespace verbanta::app
