#pragma once

#include <QDialog>

#include "model/language_operations.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace verbanta {
class Messenger;
}

namespace verbanta::app {

/// "다국어 정보 등록": one language's class, name, code and SAMI type, with the preset
/// languages to copy from and, when adding, the base language whose timing the new one takes.
class LanguageInfoDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    /// `baseNames`: the current languages' names for the base-language choice; `initial`: the
    /// fields shown first (CP949), the class with or without its dot.
    LanguageInfoDialog(Mode mode, const QStringList& baseNames, const LanguageFields& initial,
                       Messenger& messenger, QWidget* parent = nullptr);

    /// The fields as entered (CP949, trimmed), the class with its leading ".".
    LanguageFields fields() const;
    /// The chosen base language's index, or -1.
    int baseIndex() const;

    QLineEdit& classField() const { return *m_class; }
    QLineEdit& nameField() const { return *m_name; }
    QLineEdit& codeField() const { return *m_code; }
    QLineEdit& typeField() const { return *m_type; }
    QComboBox& baseChoice() const { return *m_base; }
    QListWidget& presets() const { return *m_presets; }
    QLabel& modeCaption() const { return *m_caption; }

public slots:
    void accept() override;

private:
    void showFields(const LanguageFields& fields);
    void presetChosen(int row);

    Messenger& m_messenger;
    QLineEdit* m_class;
    QLineEdit* m_name;
    QLineEdit* m_code;
    QLineEdit* m_type;
    QComboBox* m_base;
    QListWidget* m_presets;
    QLabel* m_caption;
};

}  // namespace verbanta::app
