#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "files/merge.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace verbanta {
class FileOperations;
class Messenger;
}  // namespace verbanta

namespace verbanta::app {

/// "자막 파일 합치기": the files to join, in order, edited below the list; OK hands them to
/// the merge, which may refuse (the dialog then stays open).
class MergeFilesDialog : public QDialog {
    Q_OBJECT
public:
    /// Joins the files into the document; false keeps the dialog open.
    using Merge = std::function<bool(const std::vector<std::string>& paths)>;

    /// A relative name typed into the edit box is taken inside `folder`.
    MergeFilesDialog(FileOperations& files, Messenger& messenger, const QString& folder,
                     Merge merge, QWidget* parent = nullptr);

    const MergeList& list() const { return m_list; }
    /// The edit box's name as a path.
    QString editedPath() const;

public slots:
    void accept() override;
    /// "추가(&A)", "수정(&E)", "삭제(&D)", "↑", "↓" and "찾기(&F)".
    void addName();
    void replaceName();
    void removeName();
    void moveUp();
    void moveDown();
    void browse();

private:
    void showList();
    void focusName();

    FileOperations& m_files;
    Messenger& m_messenger;
    QString m_folder;
    Merge m_merge;
    MergeList m_list;
    QLabel* m_count = nullptr;
    QListWidget* m_paths = nullptr;
    QLineEdit* m_name = nullptr;
    bool m_showing = false;
};

}  // namespace verbanta::app
