#include "dialogs/subtitle_file_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QTranslator>

#include "platform/messenger.h"

namespace verbanta::app {
namespace {

/// Korean for the texts of Qt's own file dialog that it cannot be given directly: column
/// headers, tooltips, the context menu and the type column. Other texts pass through.
class FileDialogKorean : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        static const QHash<QByteArray, QString> texts = {
            {"Name", QStringLiteral("이름")},
            {"Size", QStringLiteral("크기")},
            {"Type", QStringLiteral("유형")},
            {"Date Modified", QStringLiteral("수정한 날짜")},
            {"Computer", QStringLiteral("컴퓨터")},
            {"Folder", QStringLiteral("폴더")},
            {"File", QStringLiteral("파일")},
            {"%1 File", QStringLiteral("%1 파일")},
            {"Back", QStringLiteral("뒤로")},
            {"Forward", QStringLiteral("앞으로")},
            {"Parent Directory", QStringLiteral("상위 폴더")},
            {"Create New Folder", QStringLiteral("새 폴더 만들기")},
            {"List View", QStringLiteral("목록")},
            {"Detail View", QStringLiteral("자세히")},
            {"&Rename", QStringLiteral("이름 바꾸기(&R)")},
            {"&Delete", QStringLiteral("삭제(&D)")},
            {"Show &hidden files", QStringLiteral("숨김 파일 표시(&H)")},
            {"&New Folder", QStringLiteral("새 폴더(&N)")},
            {"New Folder", QStringLiteral("새 폴더")},
            {"&Open", QStringLiteral("열기(&O)")},
            {"&Save", QStringLiteral("저장(&S)")},
            {"&Choose", QStringLiteral("선택(&C)")},
        };
        const QByteArray where(context);
        if (where != "QFileDialog" && where != "QFileSystemModel" &&
            where != "QAbstractFileIconProvider")
            return QString();
        return texts.value(QByteArray(source));
    }
};

/// Installed once, for every file dialog of the program.
void installFileDialogKorean()
{
    static FileDialogKorean* translator = [] {
        auto* t = new FileDialogKorean;
        QCoreApplication::installTranslator(t);
        return t;
    }();
    Q_UNUSED(translator);
}

QFileDialog::FileMode fileModeOf(SubtitleFileDialog::Mode mode)
{
    switch (mode) {
        case SubtitleFileDialog::Mode::Open:
            return QFileDialog::ExistingFile;
        case SubtitleFileDialog::Mode::OpenMany:
            return QFileDialog::ExistingFiles;
        case SubtitleFileDialog::Mode::OpenAnyName:
        case SubtitleFileDialog::Mode::Save:
            return QFileDialog::AnyFile;
    }
    return QFileDialog::ExistingFile;
}

}  // namespace

SubtitleFileDialog::SubtitleFileDialog(QWidget* parent, Mode mode, std::string_view pairedFilter,
                                       const QString& defaultSuffix, Messenger* messenger)
    : QFileDialog(parent), m_messenger(messenger)
{
    installFileDialogKorean();
    // Qt's own dialog: rows can be added to it, and it behaves the same on every desktop.
    setOption(QFileDialog::DontUseNativeDialog);
    // The combo shows each filter's label as written; the patterns stay out of sight.
    setOption(QFileDialog::HideNameFilterDetails);
    // The replace question is ours, in Korean, and asked once (see accept()).
    setOption(QFileDialog::DontConfirmOverwrite);
    setAcceptMode(mode == Mode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    setFileMode(fileModeOf(mode));
    const QStringList filters = qtFilters(pairedFilter);
    for (const QString& f : filters) m_labels << f.left(f.lastIndexOf(QStringLiteral(" (")));
    setNameFilters(filters);
    if (!defaultSuffix.isEmpty())
        setDefaultSuffix(defaultSuffix);
    setLabelText(QFileDialog::LookIn, QStringLiteral("찾는 위치:"));
    setLabelText(QFileDialog::FileName, QStringLiteral("파일 이름(&N):"));
    setLabelText(QFileDialog::FileType, QStringLiteral("파일 형식:"));
    setLabelText(QFileDialog::Accept,
                 mode == Mode::Save ? QStringLiteral("저장(&S)") : QStringLiteral("열기(&O)"));
    setLabelText(QFileDialog::Reject, QStringLiteral("취소"));
    // Room for the file list and long Korean file names from the start.
    resize(sizeHint().expandedTo(QSize(640, 440)));
    setWindowTitle(mode == Mode::Save ? QStringLiteral("다른 이름으로 저장")
                                      : QStringLiteral("열기"));
}

QStringList SubtitleFileDialog::qtFilters(std::string_view pairedFilter)
{
    const QStringList parts =
        QString::fromUtf8(pairedFilter.data(), static_cast<qsizetype>(pairedFilter.size()))
            .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;  // the "||" that ends the list
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");  // here a file name need not contain a dot
        }
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

int SubtitleFileDialog::filterEntry() const
{
    // With the details hidden, some Qt versions name the chosen filter by its label alone.
    const QString chosen = selectedNameFilter();
    qsizetype index = nameFilters().indexOf(chosen);
    if (index < 0)
        index = m_labels.indexOf(chosen);
    return index < 0 ? 1 : static_cast<int>(index) + 1;
}

QString SubtitleFileDialog::chosenFile() const
{
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

QComboBox* SubtitleFileDialog::addChoiceRow(const QString& label, const QStringList& items,
                                            int selected, const QString& note)
{
    auto* combo = new QComboBox(this);
    combo->addItems(items);
    combo->setCurrentIndex(selected);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(combo);
    auto* row = new QHBoxLayout;
    row->addWidget(combo);
    if (!note.isEmpty())
        row->addWidget(new QLabel(note, this));
    row->addStretch(1);
    // Qt's own dialog lays itself out on a grid: label column, field column, button column.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int r = grid->rowCount();
        grid->addWidget(caption, r, 0);
        grid->addLayout(row, r, 1);
    } else if (layout()) {
        auto* line = new QHBoxLayout;
        line->addWidget(caption);
        line->addLayout(row, 1);
        if (auto* box = qobject_cast<QBoxLayout*>(layout()))
            box->addLayout(line);
    }
    return combo;
}

bool SubtitleFileDialog::confirmReplace(Messenger& messenger, const QString& path)
{
    return messenger.askYesNo(
        (path + QStringLiteral("\n이미 있는 파일입니다. 바꾸시겠습니까?")).toStdString());
}

void SubtitleFileDialog::accept()
{
    // A name that is a folder opens the folder; only files are checked here.
    if (m_messenger) {
        for (const QString& file : selectedFiles()) {
            const QFileInfo info(file);
            if (info.isDir())
                break;
            if (acceptMode() == QFileDialog::AcceptSave) {
                if (info.exists() && !confirmReplace(*m_messenger, file))
                    return;
            } else if (fileMode() != QFileDialog::AnyFile && !info.exists()) {
                m_messenger->showMessage(
                    (file + QStringLiteral("\n이 파일을 찾을 수 없음.\n경로와 파일 이름이 정확한지 "
                                           "확인하십시오."))
                        .toStdString(),
                    MessageIcon::Warning);
                return;
            }
        }
    }
    QFileDialog::accept();
}

}  // namespace verbanta::app
