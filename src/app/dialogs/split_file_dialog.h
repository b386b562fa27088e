#pragma once

#include <QDialog>
#include <QString>

#include <vector>

#include "files/split.h"

class QLabel;
class QLineEdit;
class QTableWidget;

namespace verbanta {
class FileOperations;
class Messenger;
class SamiModel;
}  // namespace verbanta

namespace verbanta::app {

/// "자막 파일 나누기": one row per part with its first sync and the file it goes to; the file
/// names are edited below the list, and OK writes every part that has one.
class SplitFileDialog : public QDialog {
    Q_OBJECT
public:
    SplitFileDialog(const SamiModel& model, std::vector<SplitPart> parts, FileOperations& files,
                    Messenger& messenger, QWidget* parent = nullptr);

    const std::vector<SplitPart>& parts() const { return m_parts; }
    /// The parts written by OK (valid once the dialog was accepted).
    int written() const { return m_written; }
    int selectedRow() const;
    void selectRow(int row);

    /// The name typed or chosen, as a path: a relative name is taken inside the folder of
    /// the parts.
    QString editedPath() const;

public slots:
    void accept() override;
    /// "찾기(&F)": a file chosen in an open dialog goes into the edit box.
    void browse();
    /// "수정(&E)": the edit box's name becomes the selected part's file.
    void storeName();
    /// "삭제(&D)": the selected part is not to be written.
    void clearName();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillRow(int row);
    void showSelectedPath();

    const SamiModel& m_model;
    std::vector<SplitPart> m_parts;
    FileOperations& m_files;
    Messenger& m_messenger;
    QString m_folder;
    QTableWidget* m_table = nullptr;
    QLineEdit* m_name = nullptr;
    int m_written = 0;
};

}  // namespace verbanta::app
