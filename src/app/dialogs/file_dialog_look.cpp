#include "dialogs/file_dialog_look.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QListView>
#include <QLocale>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace verbanta::app {
namespace {

// The columns of Qt's file list.
constexpr int kNameColumn = 0;
constexpr int kSizeColumn = 1;
constexpr int kTypeColumn = 2;
constexpr int kDateColumn = 3;
// Room around a cell's text: the view's margins and the sort arrow of the header.
constexpr int kCellPadding = 28;
constexpr int kMinimumNameWidth = 240;

QLocale korean()
{
    return QLocale(QLocale::Korean, QLocale::SouthKorea);
}

QString sizeText(qint64 bytes)
{
    // Whole kilobytes rounded up, with the thousands grouped: "1,234 KB", as Korean file
    // managers write sizes, rather than the system locale's "1.2 MiB".
    return korean().toString((bytes + 1023) / 1024) + QStringLiteral(" KB");
}

QString dateText(const QDateTime& time)
{
    return korean().toString(time, QLocale::ShortFormat);
}

QString typeText(const QFileInfo& info)
{
    // The MIME database's names are English ("SMIL document" for a .smi file): the type is
    // said the way Korean file managers say it, by the extension.
    if (info.isDir())
        return QStringLiteral("파일 폴더");
    const QString suffix = info.suffix().toUpper();
    return suffix.isEmpty() ? QStringLiteral("파일") : suffix + QStringLiteral(" 파일");
}

/// The file system model's sizes, types and dates, written in Korean; Qt writes them in the
/// system's locale and the MIME database's English, which a Korean program does not want.
class KoreanFileModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == kNameColumn)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        if (index.column() == kDateColumn)
            return dateText(info.lastModified());
        if (index.column() == kTypeColumn)
            return typeText(info);
        return info.isDir() ? QString() : sizeText(info.size());
    }
};

int textWidth(const QWidget& view, const QString& text)
{
    return view.fontMetrics().horizontalAdvance(text) + kCellPadding;
}

void fitColumns(QFileDialog& dialog)
{
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!tree)
        return;
    QHeaderView* header = tree->header();
    if (header->count() <= kDateColumn)
        return;
    // The widest values a column shows in practice, and its header.
    const int size = std::max(textWidth(*tree, sizeText(99'999'999'999)),
                              textWidth(*header, QStringLiteral("크기")));
    const int type = std::max(textWidth(*tree, QStringLiteral("MPEG 파일")),
                              textWidth(*tree, typeText(QFileInfo(QDir::rootPath()))));
    const int date = textWidth(*tree, dateText(QDateTime(QDate(2026, 12, 28), QTime(22, 58))));
    header->setStretchLastSection(false);
    header->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    header->resizeSection(kSizeColumn, size);
    header->resizeSection(kTypeColumn, type);
    header->resizeSection(kDateColumn, date);
    header->setSectionResizeMode(kSizeColumn, QHeaderView::Interactive);
    header->setSectionResizeMode(kTypeColumn, QHeaderView::Interactive);
    header->setSectionResizeMode(kDateColumn, QHeaderView::Interactive);

    // The sidebar as wide as its longest entry.
    auto* sidebar = dialog.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
    int side = 0;
    if (sidebar && sidebar->model()) {
        for (int row = 0; row < sidebar->model()->rowCount(); ++row)
            side = std::max(side, textWidth(*sidebar, sidebar->model()
                                                           ->index(row, 0)
                                                           .data(Qt::DisplayRole)
                                                           .toString()) +
                                      sidebar->iconSize().width() + sidebar->spacing() + 12);
    }
    // The dialog grows when the name column would be left too narrow.
    const int files = kMinimumNameWidth + size + type + date + 24;
    const int wanted = side + files + 40;
    if (dialog.width() < wanted)
        dialog.resize(wanted, dialog.height());
    if (splitter && sidebar && splitter->count() == 2 && side > 0)
        splitter->setSizes({side, std::max(files, splitter->width() - side)});
}

class FileDialogLook : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        auto* dialog = qobject_cast<QFileDialog*>(watched);
        // A native dialog has none of Qt's widgets to adjust.
        if (!dialog || !dialog->findChild<QTreeView*>(QStringLiteral("treeView")))
            return false;
        if (!dialog->proxyModel())
            dialog->setProxyModel(new KoreanFileModel(dialog));
        fitColumns(*dialog);
        // The splitter takes its sizes only once it is laid out at the shown size.
        QTimer::singleShot(0, dialog, [dialog] { fitColumns(*dialog); });
        return false;
    }
};

}  // namespace

void installFileDialogLook()
{
    static FileDialogLook* look = [] {
        auto* filter = new FileDialogLook(qApp);
        qApp->installEventFilter(filter);
        return filter;
    }();
    Q_UNUSED(look);
}

}  // namespace verbanta::app
