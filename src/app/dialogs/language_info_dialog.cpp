#include "dialogs/language_info_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "caption_codec.h"
#include "platform/messenger.h"

namespace verbanta::app {
namespace {

constexpr const char* kBadClass = "클래스 명은 영문자, 숫자, '_', '-'로 입력해 주십시오.";
constexpr const char* kBadCharacter =
    "언어 정보에는 ';', '{', '}', '<', '>' 문자를 사용할 수 없습니다.";
constexpr const char* kNotInCodePage =
    "언어 정보에는 한국어 코드 페이지(CP949)에 없는 문자를 사용할 수 없습니다.";

QString display(const std::string& cp949)
{
    return CaptionCodec::toDisplay(cp949);
}

/// A class is written bare into every caption's tag and as a selector into the style sheet:
/// only characters that end neither may be used.
bool isClassName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') ||
                        (u >= '0' && u <= '9') || u == '_' || u == '-';
        if (!ok)
            return false;
    }
    return true;
}

/// Characters that would end a descriptor, the rule or the style block it is written into.
bool hasRuleBreaker(const QString& text)
{
    for (const QChar c : text)
        if (c == u';' || c == u'{' || c == u'}' || c == u'<' || c == u'>' || c.unicode() < 0x20)
            return true;
    return false;
}

}  // namespace

LanguageInfoDialog::LanguageInfoDialog(Mode mode, const QStringList& baseNames,
                                       const LanguageFields& initial, Messenger& messenger,
                                       QWidget* parent)
    : QDialog(parent),
      m_messenger(messenger),
      m_class(new QLineEdit(this)),
      m_name(new QLineEdit(this)),
      m_code(new QLineEdit(this)),
      m_type(new QLineEdit(this)),
      m_base(new QComboBox(this)),
      m_presets(new QListWidget(this)),
      m_caption(new QLabel(
          mode == Mode::Add ? QStringLiteral("[추  가]") : QStringLiteral("[수  정]"), this))
{
    setWindowTitle(QStringLiteral("다국어 정보 등록"));
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);

    m_base->addItems(baseNames);
    m_base->setCurrentIndex(m_base->count() > 0 ? 0 : -1);
    m_base->setEnabled(mode == Mode::Add);
    for (const LanguagePreset& preset : kLanguagePresets)
        m_presets->addItem(display(std::string(preset.name)));
    m_presets->setCurrentRow(0);
    m_presets->setMinimumWidth(
        m_presets->fontMetrics().horizontalAdvance(QStringLiteral("네델란드어")) + 40);
    showFields(initial);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const auto addRow = [&](const char* text, QWidget* field) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow("클래스 명(&C):", m_class);
    addRow("언  어  명(&L):", m_name);
    addRow("언어 코드(&O):", m_code);
    addRow("사미 타입(&T):", m_type);
    form->addItem(new QSpacerItem(0, 6));
    addRow("기준 언어(&B):", m_base);
    for (QLineEdit* field : {m_class, m_name, m_code, m_type})
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("M")) * 14);

    auto* body = new QHBoxLayout;
    body->addLayout(form, 1);
    body->addSpacing(8);
    body->addWidget(m_presets);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &LanguageInfoDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LanguageInfoDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);

    // A pick copies the preset; clicking the row already current picks it again.
    connect(m_presets, &QListWidget::currentRowChanged, this, &LanguageInfoDialog::presetChosen);
    connect(m_presets, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { presetChosen(m_presets->row(item)); });
    m_class->setFocus();
    m_class->selectAll();
}

void LanguageInfoDialog::showFields(const LanguageFields& fields)
{
    const std::string_view cls = fields.className;
    m_class->setText(display(std::string(cls.starts_with('.') ? cls.substr(1) : cls)));
    m_name->setText(display(fields.name));
    m_code->setText(display(fields.code));
    m_type->setText(display(fields.samiType));
}

void LanguageInfoDialog::presetChosen(int row)
{
    if (row >= 0 && row < static_cast<int>(kLanguagePresets.size()))
        showFields(fieldsOf(kLanguagePresets[static_cast<std::size_t>(row)]));
}

LanguageFields LanguageInfoDialog::fields() const
{
    return {classSelector(CaptionCodec::toModel(m_class->text().trimmed())),
            CaptionCodec::toModel(m_name->text().trimmed()),
            CaptionCodec::toModel(m_code->text().trimmed()),
            CaptionCodec::toModel(m_type->text().trimmed())};
}

int LanguageInfoDialog::baseIndex() const
{
    return m_base->currentIndex();
}

void LanguageInfoDialog::accept()
{
    const auto refuse = [this](QLineEdit* field, const char* message) {
        m_messenger.showMessage(message, MessageIcon::Warning);
        field->setFocus();
        field->selectAll();
    };
    QString cls = m_class->text().trimmed();
    if (cls.startsWith(u'.'))
        cls.remove(0, 1);
    if (!isClassName(cls))
        return refuse(m_class, kBadClass);
    for (QLineEdit* field : {m_name, m_code, m_type}) {
        const QString text = field->text().trimmed();
        if (hasRuleBreaker(text))
            return refuse(field, kBadCharacter);
        // A character the code page lacks would be stored as a "&#N;" reference, whose ";"
        // ends the descriptor.
        if (CaptionCodec::toModel(text).find(';') != std::string::npos)
            return refuse(field, kNotInCodePage);
    }
    QDialog::accept();
}

}  // namespace verbanta::app
