#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace verbanta {
class FindClipboard;
}

namespace verbanta::app {

/// The modeless "찾기" and "바꾸기" dialogs over the caption texts of the current language.
/// Each button is one call into the caption editor's find component, which searches, replaces
/// and says when nothing more matches; the dialog stays open for the next search.
class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Find, Replace };

    FindReplaceDialog(FindClipboard& finder, Kind kind, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    /// The string to find, as the dialog opens with it.
    void setFindText(const QString& text);
    QString findText() const;

    QLineEdit& findField() const { return *m_find; }
    /// Null in the find dialog.
    QLineEdit* replaceField() const { return m_replace; }
    QCheckBox& matchCaseBox() const { return *m_matchCase; }
    /// Null in the replace dialog, which always searches down.
    QRadioButton* upOption() const { return m_up; }
    QRadioButton* downOption() const { return m_down; }

    void findNext();
    void replaceOne();
    void replaceAll();

private:
    void updateButtons();

    FindClipboard& m_finder;
    Kind m_kind;
    QLineEdit* m_find;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_matchCase;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QPushButton* m_findNext;
    QPushButton* m_replaceOne = nullptr;
    QPushButton* m_replaceAll = nullptr;
};

/// Opens the find or replace dialog of a window: one at a time, the open one raised when it is
/// asked for again and closed when the other kind is asked for.
FindReplaceDialog* showFindReplace(FindClipboard& finder, FindReplaceDialog::Kind kind,
                                   QWidget* window);

}  // namespace verbanta::app
