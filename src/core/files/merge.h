#pragma once

#include <string>
#include <vector>

namespace verbanta {

class FileOperations;
class Messenger;
class SamiModel;

/// The merge dialog's list of files to join, in order, with its selection; the dialog's
/// buttons call these and show the list.
class MergeList {
public:
    const std::vector<std::string>& paths() const { return m_paths; }
    int count() const { return static_cast<int>(m_paths.size()); }
    /// The selected row, -1 for none.
    int selected() const { return m_selected; }
    void select(int row);
    /// "합칠 대상 파일 수: %d개".
    std::string countLabel() const;

    /// "추가(&A)": appends an existing file and selects it; a path already in the list (ASCII
    /// case ignored) is left alone. False after a refusal, whose message has been shown.
    bool add(const std::string& path, FileOperations& files, Messenger& messenger);
    /// "수정(&E)": replaces the selected path after the same checks, without the duplicate one.
    bool replaceSelected(const std::string& path, FileOperations& files, Messenger& messenger);
    /// "삭제(&D)": removes the selected path; the one that took its place, or the new last one,
    /// is selected.
    void removeSelected();
    /// "↑" and "↓": the selected path changes place with its neighbour; the selection follows.
    void moveSelectedUp();
    void moveSelectedDown();

private:
    bool check(const std::string& path, FileOperations& files, Messenger& messenger) const;

    std::vector<std::string> m_paths;
    int m_selected = -1;
};

/// The merge dialog's OK: loads the first file in place of the model's content and appends the
/// others, bookmarking the first sync of each appended file and marking the whole list as the
/// range; the model keeps the first file's title and every file keeps its own times. A file
/// that fails to load is reported by the reader and skipped; until one has loaded, the next
/// one replaces the content. The number of files loaded, or -1 for an empty list (message
/// shown, the dialog stays open).
int mergeSamiFiles(SamiModel& model, const std::vector<std::string>& paths, Messenger& messenger);

}  // namespace verbanta
