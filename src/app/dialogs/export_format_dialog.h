#pragma once

#include <QDialog>
#include <QString>

#include "formats/export_format.h"

class QComboBox;
class QLineEdit;

namespace verbanta {
class Messenger;
class SamiModel;
}  // namespace verbanta

namespace verbanta::app {

/// "다른 포맷으로 내보내기": the format, the language and the file are chosen together, so a
/// multi-language document becomes one file per language without a second question.
class ExportFormatDialog : public QDialog {
    Q_OBJECT
public:
    /// `documentPath` (UTF-8, may be empty) gives the suggested folder and file name.
    ExportFormatDialog(const SamiModel& model, const QString& documentPath, Messenger& messenger,
                       QWidget* parent = nullptr);

    ExportFormat format() const;
    int languageIndex() const;
    QString path() const;

    /// The name suggested for a format and language: the document's name with the language's
    /// short code when the document has more than one language ("movie.ko.srt").
    static QString suggestedName(const SamiModel& model, const QString& documentPath,
                                 int languageIndex, ExportFormat format);

public slots:
    void accept() override;

private:
    void browse();
    void updateSuggestion();

    const SamiModel& m_model;
    QString m_documentPath;
    Messenger& m_messenger;
    QComboBox* m_format = nullptr;
    QComboBox* m_language = nullptr;
    QLineEdit* m_path = nullptr;
    QString m_lastSuggestion;
};

/// The file menu's export: shows the dialog and writes the chosen file; false when cancelled
/// or when the write failed (the messenger then said why).
bool exportOtherFormat(const SamiModel& model, const QString& documentPath, Messenger& messenger,
                       QWidget* parent);

}  // namespace verbanta::app
