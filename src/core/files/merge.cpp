#include "files/merge.h"

#include <algorithm>
#include <utility>

#include "document/file_operations.h"
#include "document/path_parts.h"
#include "model/sami_model.h"
#include "platform/messenger.h"

namespace verbanta {

void MergeList::select(int row)
{
    m_selected = (row >= 0 && row < count()) ? row : -1;
}

std::string MergeList::countLabel() const
{
    return "합칠 대상 파일 수: " + std::to_string(count()) + "개";
}

bool MergeList::check(const std::string& path, FileOperations& files, Messenger& messenger) const
{
    if (path.empty()) {
        messenger.showMessage("합칠 파일명을 입력해 주십시오.", MessageIcon::Warning);
        return false;
    }
    if (!files.exists(path) || files.isDirectory(path)) {
        messenger.showMessage("지정하신 파일이 존재하지 않습니다.", MessageIcon::Warning);
        return false;
    }
    return true;
}

bool MergeList::add(const std::string& path, FileOperations& files, Messenger& messenger)
{
    if (!check(path, files, messenger))
        return false;
    const bool listed = std::any_of(m_paths.begin(), m_paths.end(), [&](const std::string& p) {
        return equalsIgnoringCase(p, path);
    });
    if (listed)
        return true;
    m_paths.push_back(path);
    m_selected = count() - 1;
    return true;
}

bool MergeList::replaceSelected(const std::string& path, FileOperations& files,
                                Messenger& messenger)
{
    if (m_selected < 0 || !check(path, files, messenger))
        return false;
    m_paths[static_cast<std::size_t>(m_selected)] = path;
    return true;
}

void MergeList::removeSelected()
{
    if (m_selected < 0)
        return;
    m_paths.erase(m_paths.begin() + m_selected);
    m_selected = std::min(m_selected, count() - 1);
}

void MergeList::moveSelectedUp()
{
    if (m_selected <= 0)
        return;
    std::swap(m_paths[static_cast<std::size_t>(m_selected)],
              m_paths[static_cast<std::size_t>(m_selected - 1)]);
    --m_selected;
}

void MergeList::moveSelectedDown()
{
    if (m_selected < 0 || m_selected + 1 >= count())
        return;
    std::swap(m_paths[static_cast<std::size_t>(m_selected)],
              m_paths[static_cast<std::size_t>(m_selected + 1)]);
    ++m_selected;
}

int mergeSamiFiles(SamiModel& model, const std::vector<std::string>& paths, Messenger& messenger)
{
    if (paths.empty()) {
        messenger.showMessage("합칠 대상 파일을 설정해 주십시오.", MessageIcon::Warning);
        return -1;
    }
    int loaded = 0;
    std::string title;
    for (const std::string& path : paths) {
        if (loaded == 0) {
            // Appending after a file that failed would join the new files to the previous
            // document; the first file that loads replaces it instead.
            if (!model.LoadFile(path, true))
                continue;
            if (const Position last = model.GetTailPosition())
                last->entry.rangeEnd = 0;
            title = model.title;
        } else {
            const Position last = model.GetTailPosition();
            if (!model.LoadFile(path, false))
                continue;
            if (last) {
                if (const Position first = model.list().next(last))
                    first->entry.bookmarked = 1;
            }
        }
        ++loaded;
    }
    if (loaded == 0)
        return 0;
    const Position head = model.GetHeadPosition();
    const Position tail = model.GetTailPosition();
    if (head)
        head->entry.rangeStart = 1;
    if (tail && tail != head)
        tail->entry.rangeEnd = 1;
    model.title = title;
    return loaded;
}

}  // namespace verbanta
