#include "dialogs/file_option_page.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/number_field.h"
#include "editor/find_clipboard.h"
#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

// Qt's filter syntax for "실행 파일(*.exe;*.com;*.bat)|…|모든 파일 (*.*)|*.*||"; "*.*" means
// every file, also one without an extension.
const QString kProgramFilter = QStringLiteral("실행 파일(*.exe *.com *.bat)");
const QString kAllFilesFilter = QStringLiteral("모든 파일 (*)");

// Recovery copies: 10 seconds per step, accelerating to 20 and 50.
constexpr std::int32_t kAutoSaveStep = 10;

}  // namespace

CFileOptionDlg::CFileOptionDlg(const AppSettings& settings, Messenger& messenger, QWidget* parent)
    : BaseOptionPage(settings, messenger, parent),
      m_editor(new QLineEdit(this)),
      m_browse(new QPushButton(QStringLiteral("찾기(&B)"), this))
{
    m_editor->setObjectName(QStringLiteral("EditorName"));
    m_editor->setText(QString::fromStdString(settings.EditorName));
    // Left empty, the command is the user's own editor: the field says which one that is.
    const std::string userEditor = userEditorPattern();
    m_editor->setPlaceholderText(
        userEditor.empty() ? QStringLiteral("(비워 두면 텍스트 파일에 연결된 프로그램)")
                           : QStringLiteral("(비워 두면 사용자 에디터: %1)")
                                 .arg(QString::fromStdString(userEditor)));
    m_editor->setMinimumWidth(260);
    connect(m_browse, &QPushButton::clicked, this, &CFileOptionDlg::browse);

    auto* editorBox = new QGroupBox(QStringLiteral("에디터"), this);
    auto* editorLayout = new QVBoxLayout(editorBox);
    QLabel* editorLabel = plainLabel("사용 에디터(%f 파라메터 - 자막 파일명):");
    editorLabel->setBuddy(m_editor);
    editorLayout->addWidget(editorLabel);
    auto* editorRow = new QHBoxLayout;
    editorRow->addWidget(m_editor, 1);
    editorRow->addWidget(m_browse);
    editorLayout->addLayout(editorRow);

    QCheckBox* noWatch =
        addCheck(&AppSettings::NoFileWatch, "NoFileWatch", "파일 변경 감시 기능 사용 안 함");
    QCheckBox* autoLoad = addCheck(&AppSettings::AutoLoadFile, "AutoLoadFile",
                                   "타 프로그램에서 파일 변경시 자동 리로드");
    // Reloading on a change means nothing while changes are not watched; the value stays.
    autoLoad->setEnabled(!noWatch->isChecked());
    connect(noWatch, &QCheckBox::toggled, autoLoad,
            [autoLoad](bool off) { autoLoad->setEnabled(!off); });
    QCheckBox* twoReturns = addCheck(&AppSettings::TwoReturnAsSync, "TwoReturnAsSync",
                                     "텍스트 파일 처리시 두 줄을 줄바꿈으로 인식");
    QLabel* note = plainLabel("(한 줄은 <br> 태그로 처리)");
    note->setIndent(20);

    // Made in the order they stand, which is the order Tab takes them in.
    QCheckBox* backup = addCheck(&AppSettings::MakeBackup, "MakeBackup", "백업 파일 작성");
    auto* autoSaveRow = new QHBoxLayout;
    NumberSpinBox* autoSave = addNumber(&AppSettings::AutoSaveSeconds, "AutoSaveSeconds",
                                        AppSettings::kAutoSaveSecondsMinimum,
                                        AppSettings::kAutoSaveSecondsMaximum, kAutoSaveStep, true);
    QLabel* autoSaveLabel = plainLabel(AppSettings::kAutoSaveSecondsLabel);
    autoSaveLabel->setBuddy(&autoSave->field());
    autoSaveRow->addWidget(autoSaveLabel);
    autoSaveRow->addWidget(autoSave);
    autoSaveRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editorBox);
    layout->addWidget(noWatch);
    layout->addWidget(autoLoad);
    layout->addWidget(twoReturns);
    layout->addWidget(note);
    layout->addWidget(backup);
    layout->addSpacing(8);
    layout->addLayout(autoSaveRow);
    layout->addStretch(1);
}

void CFileOptionDlg::store(AppSettings& settings) const
{
    BaseOptionPage::store(settings);
    settings.EditorName = m_editor->text().toStdString();
}

QString CFileOptionDlg::editorCommandFor(const QString& program)
{
    const bool quote = program.contains(QLatin1Char(' ')) || program.contains(QLatin1Char('\t'));
    return (quote ? QLatin1Char('"') + program + QLatin1Char('"') : program) +
           QStringLiteral(" %f");
}

void CFileOptionDlg::browse()
{
    QFileDialog dialog(this, QStringLiteral("에디터 선택"), QString(),
                       kProgramFilter + QStringLiteral(";;") + kAllFilesFilter);
    // The save kind lets the user name any file; choosing an existing program is no overwrite.
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
#ifdef Q_OS_WIN
    dialog.setDefaultSuffix(QStringLiteral("exe"));
#else
    // Programs here have no extension: an added ".exe" would name a file that does not exist.
    dialog.selectNameFilter(kAllFilesFilter);
#endif
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_editor->setText(editorCommandFor(dialog.selectedFiles().constFirst()));
}

}  // namespace verbanta::app
