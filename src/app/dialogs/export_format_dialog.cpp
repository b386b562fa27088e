#include "dialogs/export_format_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "caption_codec.h"
#include "dialogs/subtitle_file_dialog.h"
#include "model/language_operations.h"
#include "model/sami_model.h"
#include "platform/messenger.h"

namespace verbanta::app {
namespace {

struct FormatEntry {
    ExportFormat format;
    const char* label;
    const char* extension;
};

// In the order the combo lists them.
constexpr FormatEntry kFormats[] = {
    {ExportFormat::SubRip, "SubRip (*.srt)", "srt"},
    {ExportFormat::WebVtt, "WebVTT (*.vtt)", "vtt"},
    {ExportFormat::Ass, "Advanced SubStation Alpha (*.ass)", "ass"},
};

const FormatEntry& entryOf(ExportFormat format)
{
    for (const FormatEntry& e : kFormats)
        if (e.format == format)
            return e;
    return kFormats[0];
}

QString codeTag(const SamiModel& model, int languageIndex)
{
    const LanguageFields fields =
        fieldsOf(model.languages[static_cast<std::size_t>(languageIndex)]);
    return CaptionCodec::toDisplay(fields.code).section(QLatin1Char('-'), 0, 0).trimmed().toLower();
}

/// The short tag a player expects before the extension: "ko" for "ko-KR", or the class when
/// the code is missing or another language has the same one, so that no two files collide.
QString languageTag(const SamiModel& model, int languageIndex)
{
    const QString tag = codeTag(model, languageIndex);
    bool shared = tag.isEmpty();
    for (int i = 0; i < model.GetLanguageCount() && !shared; ++i)
        shared = i != languageIndex && codeTag(model, i) == tag;
    if (!shared)
        return tag;
    const LanguageFields fields =
        fieldsOf(model.languages[static_cast<std::size_t>(languageIndex)]);
    return CaptionCodec::toDisplay(fields.className).toLower();
}

}  // namespace

ExportFormatDialog::ExportFormatDialog(const SamiModel& model, const QString& documentPath,
                                       Messenger& messenger, QWidget* parent)
    : QDialog(parent), m_model(model), m_documentPath(documentPath), m_messenger(messenger)
{
    setWindowTitle(QStringLiteral("다른 포맷으로 내보내기"));
    m_format = new QComboBox(this);
    for (const FormatEntry& e : kFormats) m_format->addItem(QString::fromUtf8(e.label));
    m_language = new QComboBox(this);
    for (int i = 0; i < model.GetLanguageCount(); ++i) {
        const LanguageFields fields = fieldsOf(model.languages[static_cast<std::size_t>(i)]);
        m_language->addItem(QStringLiteral("%1 (%2)").arg(
            CaptionCodec::toDisplay(fields.name), CaptionCodec::toDisplay(fields.className)));
    }
    m_language->setEnabled(model.GetLanguageCount() > 1);
    m_path = new QLineEdit(this);
    m_path->setMinimumWidth(360);
    auto* browseButton = new QPushButton(QStringLiteral("찾아보기(&B)..."), this);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(browseButton);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("형식(&F):"), m_format);
    form->addRow(QStringLiteral("언어(&L):"), m_language);
    auto* pathLabel = new QLabel(QStringLiteral("파일(&N):"), this);
    pathLabel->setBuddy(m_path);  // a row holding a layout gets no buddy of its own
    form->addRow(pathLabel, pathRow);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &ExportFormatDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ExportFormatDialog::reject);
    connect(browseButton, &QPushButton::clicked, this, &ExportFormatDialog::browse);
    connect(m_format, &QComboBox::currentIndexChanged, this, &ExportFormatDialog::updateSuggestion);
    connect(m_language, &QComboBox::currentIndexChanged, this,
            &ExportFormatDialog::updateSuggestion);
    updateSuggestion();
}

ExportFormat ExportFormatDialog::format() const
{
    return kFormats[std::max(0, m_format->currentIndex())].format;
}

int ExportFormatDialog::languageIndex() const
{
    return std::max(0, m_language->currentIndex());
}

QString ExportFormatDialog::path() const
{
    return m_path->text().trimmed();
}

QString ExportFormatDialog::suggestedName(const SamiModel& model, const QString& documentPath,
                                          int languageIndex, ExportFormat format)
{
    const QFileInfo info(documentPath);
    QString base = documentPath.isEmpty() ? QStringLiteral("제목없음") : info.completeBaseName();
    if (model.GetLanguageCount() > 1 && languageIndex < model.GetLanguageCount())
        base += QLatin1Char('.') + languageTag(model, languageIndex);
    const QString folder = documentPath.isEmpty() ? QDir::homePath() : info.absolutePath();
    return QDir(folder).filePath(base + QLatin1Char('.') +
                                 QString::fromLatin1(entryOf(format).extension));
}

void ExportFormatDialog::updateSuggestion()
{
    // A name the user typed stays; only our own earlier suggestion follows the choices.
    if (!m_path->text().isEmpty() && m_path->text() != m_lastSuggestion)
        return;
    m_lastSuggestion = suggestedName(m_model, m_documentPath, languageIndex(), format());
    m_path->setText(m_lastSuggestion);
}

void ExportFormatDialog::browse()
{
    std::string filter;
    for (const FormatEntry& e : kFormats)
        filter += std::string(e.label) + "|*." + e.extension + "|";
    filter += "모든 파일 (*.*)|*.*||";
    // No messenger: the replace question comes once, when this dialog is confirmed.
    SubtitleFileDialog dialog(this, SubtitleFileDialog::Mode::Save, filter,
                              QString::fromLatin1(entryOf(format()).extension));
    dialog.setWindowTitle(QStringLiteral("다른 포맷으로 내보내기"));
    dialog.selectNameFilter(dialog.nameFilters().value(std::max(0, m_format->currentIndex())));
    const QFileInfo current(path());
    if (!path().isEmpty()) {
        dialog.setDirectory(current.absolutePath());
        dialog.selectFile(current.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return;
    const QString chosen = dialog.chosenFile();
    m_path->setText(chosen);
    if (const auto byName = exportFormatFromPath(chosen.toStdString())) {
        const QSignalBlocker block(m_format);
        for (int i = 0; i < static_cast<int>(std::size(kFormats)); ++i)
            if (kFormats[i].format == *byName)
                m_format->setCurrentIndex(i);
    }
}

void ExportFormatDialog::accept()
{
    const QString target = path();
    if (target.isEmpty() || QFileInfo(target).fileName().isEmpty()) {
        m_messenger.showMessage("저장할 파일의 이름을 입력하십시오.", MessageIcon::Warning);
        return;
    }
    if (QFileInfo(target).isDir()) {
        m_messenger.showMessage((target + QStringLiteral("\r은 디렉토리입니다.")).toStdString(),
                                MessageIcon::Warning);
        return;
    }
    if (QFileInfo::exists(target) && !SubtitleFileDialog::confirmReplace(m_messenger, target))
        return;
    QDialog::accept();
}

bool exportOtherFormat(const SamiModel& model, const QString& documentPath, Messenger& messenger,
                       QWidget* parent)
{
    ExportFormatDialog dialog(model, documentPath, messenger, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return exportSubtitlesToFile(model, dialog.languageIndex(), dialog.format(),
                                 dialog.path().toStdString(), messenger);
}

}  // namespace verbanta::app
