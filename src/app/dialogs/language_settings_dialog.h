#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace verbanta {
class Messenger;
class SamiModel;
}  // namespace verbanta

namespace verbanta::app {

/// "다국어 자막 설정": the document's languages in their order, added, changed, deleted and
/// reordered on the model at once. Every change is told through `languagesChanged` as it is
/// made, so that the caption list never shows a list the model no longer has.
class LanguageSettingsDialog : public QDialog {
    Q_OBJECT
public:
    LanguageSettingsDialog(SamiModel& model, Messenger& messenger, QWidget* parent = nullptr);

    /// Whether any button changed the languages.
    bool changed() const { return m_changed; }
    /// The selected language's index, or -1.
    int selectedIndex() const;

    QTreeWidget& list() const { return *m_list; }
    QPlainTextEdit& details() const { return *m_details; }

    void addLanguage();
    void modifyLanguage();
    void deleteLanguage();
    void moveUp();
    void moveDown();

signals:
    void languagesChanged();

private:
    void refill(int select);
    void showDetails();
    void changedNow();
    QStringList names() const;

    SamiModel& m_model;
    Messenger& m_messenger;
    QTreeWidget* m_list;
    QPlainTextEdit* m_details;
    bool m_changed = false;
};

}  // namespace verbanta::app
