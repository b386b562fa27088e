#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <string_view>

class QComboBox;

namespace verbanta {
class Messenger;
}

namespace verbanta::app {

/// The program's open and save dialogs: filters written as "label|patterns|…||" pairs, the
/// labels shown exactly as written, Korean captions, a default extension and, for saving, one
/// Korean question before an existing file is replaced. Always Qt's own dialog, so that a row
/// of choices can join it and be confirmed together with the file.
class SubtitleFileDialog : public QFileDialog {
    Q_OBJECT
public:
    enum class Mode { Open, OpenMany, OpenAnyName, Save };

    /// `messenger` asks before replacing a file; it is needed for `Mode::Save` only.
    SubtitleFileDialog(QWidget* parent, Mode mode, std::string_view pairedFilter,
                       const QString& defaultSuffix = QString(), Messenger* messenger = nullptr);

    /// "A (*.a)|*.a;*.b|B|*.*||" as Qt filters, "A (*.a) (*.a *.b)" and "B (*)": the label
    /// first, as the dialog shows it, then the patterns Qt matches ("*.*" also matches names
    /// without a dot).
    static QStringList qtFilters(std::string_view pairedFilter);

    /// The filter entry chosen, numbered from 1 in the order of the paired filter.
    int filterEntry() const;
    /// The first chosen file, or empty.
    QString chosenFile() const;

    /// Adds a row below the file list: a label, a drop-down list with `selected` chosen, and
    /// an optional note after it. The list is read when the dialog is confirmed.
    QComboBox* addChoiceRow(const QString& label, const QStringList& items, int selected,
                            const QString& note = QString());

    /// The question before an existing file is replaced; true to go on.
    static bool confirmReplace(Messenger& messenger, const QString& path);

public slots:
    void accept() override;

private:
    Messenger* m_messenger;
    QStringList m_labels;  ///< each filter's label, as the dialog shows it
};

}  // namespace verbanta::app
