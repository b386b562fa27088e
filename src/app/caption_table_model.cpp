#include "caption_table_model.h"

#include "caption_check_marks.h"
#include "caption_codec.h"
#include "caption_icons.h"
#include "color_scheme.h"
#include "editor/edit_session.h"
#include "settings/app_settings.h"

namespace verbanta::app {

// The colours of marked rows, from their 0x00BBGGRR colour references.
const QColor CaptionTableModel::kMarkText(0xFF, 0xFF, 0x00);
const QColor CaptionTableModel::kBookmarkBack(0x00, 0x00, 0x80);
const QColor CaptionTableModel::kSyncErrorBack(0x80, 0x00, 0x00);
const QColor CaptionTableModel::kRangeBack(0x00, 0x80, 0x80);
const QColor CaptionTableModel::kCommentText(0x64, 0x64, 0x64);
const QColor CaptionTableModel::kCommentOnDark(0xA0, 0xA0, 0xA0);
const QColor CaptionTableModel::kCommentOnMark(0xC8, 0xC8, 0xC8);

CaptionTableModel::CaptionTableModel(const AppSettings& settings, QObject* parent)
    : QAbstractTableModel(parent),
      m_settings(settings),
      m_unchecked(CaptionIcons::checkBox(false)),
      m_checked(CaptionIcons::checkBox(true)),
      m_finding(CaptionIcons::findingMark())
{
}

bool CaptionTableModel::showsFindings() const
{
    return m_marks && m_marks->enabled();
}

void CaptionTableModel::bind(const EditSession* session)
{
    beginResetModel();
    m_session = session;
    m_rowCount = session ? session->rowCount() : 0;
    dropCache();
    endResetModel();
}

int CaptionTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int CaptionTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

void CaptionTableModel::dropCache()
{
    m_cache.clear();
    m_cacheFirst = 0;
}

void CaptionTableModel::prepareRows(int first, int last)
{
    if (!m_session)
        return;
    first = std::max(first, 0);
    last = std::min(last, m_rowCount - 1);
    if (last < first) {
        dropCache();
        return;
    }
    const int size = last - first + 1;
    m_cacheFirst = first;
    m_cache.resize(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        m_cache[static_cast<std::size_t>(i)] = m_session->entry(first + i);
}

void CaptionTableModel::releaseRows()
{
    dropCache();
}

const SyncEntry* CaptionTableModel::entryAt(int row) const
{
    if (!m_session || row < 0 || row >= m_rowCount)
        return nullptr;
    const int offset = row - m_cacheFirst;
    if (offset >= 0 && offset < static_cast<int>(m_cache.size()))
        return m_cache[static_cast<std::size_t>(offset)];
    return m_session->entry(row);
}

namespace {

/// No cell or tip shows more than this many bytes of a caption: painting and measuring a cell
/// shape its whole text, which for a caption of a million characters took seconds per paint.
constexpr std::size_t kMaxCellBytes = 4096;

/// The caption's first bytes, cut between CP949 characters, with "…" when it goes on.
QString cellCaption(const std::string& text)
{
    if (text.size() <= kMaxCellBytes)
        return CaptionCodec::toDisplay(text);
    std::size_t cut = 0;
    while (cut < kMaxCellBytes) {
        const std::size_t length = static_cast<unsigned char>(text[cut]) >= 0x80 ? 2 : 1;
        if (cut + length > kMaxCellBytes)
            break;
        cut += length;
    }
    return CaptionCodec::toDisplay(std::string_view(text).substr(0, cut)) + QChar(0x2026);
}

}  // namespace

QString CaptionTableModel::cellText(int row, int column) const
{
    if (!m_session || row < 0 || row >= m_rowCount)
        return {};
    switch (column) {
        case TimeColumn:
            return CaptionCodec::toDisplay(m_session->timeText(row));
        case TextColumn:
            return cellCaption(m_session->captionText(row));
        default:
            return {};
    }
}

QVariant CaptionTableModel::data(const QModelIndex& index, int role) const
{
    const SyncEntry* entry = entryAt(index.row());
    if (!entry)
        return {};
    switch (role) {
        case Qt::DisplayRole:
            return index.column() == CheckColumn || index.column() == FindingsColumn
                       ? QVariant()
                       : cellText(index.row(), index.column());
        case Qt::DecorationRole:
            if (index.column() == CheckColumn)
                return entry->checked ? m_checked : m_unchecked;
            if (index.column() == FindingsColumn && m_marks && m_marks->rulesAt(index.row()))
                return m_finding;
            return {};
        case Qt::ToolTipRole:
            if (index.column() == FindingsColumn && m_marks)
                return m_marks->toolTip(index.row());
            return {};
        case Qt::ForegroundRole:
        case Qt::BackgroundRole: {
            // Later rules win over earlier ones: bookmark, timing error, range, comment.
            QVariant text, back;
            if (entry->bookmarked) {
                text = kMarkText;
                back = kBookmarkBack;
            }
            if (entry->syncError && m_settings.DisplayErrorSync) {
                text = kMarkText;
                back = kSyncErrorBack;
            }
            if (entry->rangeStart || entry->rangeEnd) {
                text = kMarkText;
                back = kRangeBack;
            }
            // A comment is grey: light on a marked row's dark colour or a dark base, dark on
            // a light base.
            if (entry->isComment)
                text = back.isValid() ? kCommentOnMark
                                      : ColorScheme::pick(kCommentText, kCommentOnDark);
            return role == Qt::ForegroundRole ? text : back;
        }
        default:
            return {};
    }
}

QVariant CaptionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
        case TimeColumn:
            return QString::fromUtf8("싱크시간");
        case TextColumn:
            return QString::fromUtf8("자막 내용");
        default:
            return QString();
    }
}

Qt::ItemFlags CaptionTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void CaptionTableModel::rowsWereInserted(int first, int count)
{
    if (count <= 0)
        return;
    beginInsertRows({}, first, first + count - 1);
    m_rowCount += count;
    dropCache();
    endInsertRows();
}

void CaptionTableModel::rowsWereRemoved(int first, int count)
{
    if (count <= 0)
        return;
    beginRemoveRows({}, first, first + count - 1);
    m_rowCount -= count;
    dropCache();
    endRemoveRows();
}

void CaptionTableModel::rowsWereChanged(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, m_rowCount - 1);
    if (last < first)
        return;
    // A replaced row has a new node, so the cached pointers go too.
    dropCache();
    emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

void CaptionTableModel::findingsChanged(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, m_rowCount - 1);
    if (last >= first)
        emit dataChanged(index(first, FindingsColumn), index(last, FindingsColumn),
                         {Qt::DecorationRole, Qt::ToolTipRole});
}

void CaptionTableModel::listWasReplaced()
{
    bind(m_session);
}

}  // namespace verbanta::app
