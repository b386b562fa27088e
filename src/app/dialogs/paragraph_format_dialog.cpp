#include "dialogs/paragraph_format_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTextBrowser>

#include <cmath>

#include "caption_codec.h"
#include "dialogs/buddy_label.h"
#include "dialogs/colour_picker.h"
#include "dialogs/number_field.h"
#include "dialogs/style_choice_lists.h"
#include "korean_fonts.h"
#include "sami/sami_reader.h"

namespace verbanta::app {
namespace {

constexpr int kMinimumSize = 10;
constexpr int kMaximumSize = 40;
constexpr std::int32_t kMarginMaximum = 40;

struct MarginControl {
    const char* label;
    std::uint32_t bit;
};

// In the order of ParagraphFormatDialog::Margin.
constexpr MarginControl kMarginControls[] = {
    {"위(&T)", ParagraphStyle::kMarginTop},
    {"아래(&D)", ParagraphStyle::kMarginBottom},
    {"왼쪽(&L)", ParagraphStyle::kMarginLeft},
    {"오른쪽(&R)", ParagraphStyle::kMarginRight},
};

/// The two names of a font-family value: the text before the first comma without its
/// trailing white space, and the text after it trimmed (empty without a comma).
std::pair<QString, QString> familyNames(const QString& value)
{
    const qsizetype comma = value.indexOf(QLatin1Char(','));
    if (comma < 0) {
        QString first = value;
        while (!first.isEmpty() && first.back().isSpace()) first.chop(1);
        return {first, QString()};
    }
    QString first = value.left(comma);
    while (!first.isEmpty() && first.back().isSpace()) first.chop(1);
    return {first, value.mid(comma + 1).trimmed()};
}

}  // namespace

ParagraphFormatDialog::ParagraphFormatDialog(SamiModel& model, const AppSettings& settings,
                                             Messenger& messenger, QWidget* parent)
    : QDialog(parent),
      m_model(model),
      m_original(model.paragraphStyle),
      m_originalTitle(CaptionCodec::toDisplay(model.title)),
      m_preview(settings)
{
    setWindowTitle(QStringLiteral("문단 포맷 변경"));
    setFont(KoreanFonts::dialogFont());
    m_preview.paragraphStyle = m_original;
    buildControls(messenger);
    loadStyle();
    connectControls();
    rewritePreview();
}

void ParagraphFormatDialog::buildControls(Messenger& messenger)
{
    m_title = new QLineEdit(this);
    m_weight = new QComboBox(this);
    m_size = new QComboBox(this);
    m_align = new QComboBox(this);
    m_font1 = new QComboBox(this);
    m_font2 = new QComboBox(this);
    m_colour = new CColourPicker(Qt::white, this);
    m_background = new CColourPicker(Qt::black, this);
    for (QComboBox* fonts : {m_font1, m_font2}) {
        fonts->setMinimumContentsLength(14);
        fonts->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }

    auto* grid = new QGridLayout;
    grid->addWidget(buddyLabel("자막 제목(&E):", m_title, this), 0, 0);
    grid->addWidget(m_title, 0, 1, 1, 3);
    grid->addWidget(buddyLabel("글꼴 두께(&O):", m_weight, this), 1, 0);
    grid->addWidget(m_weight, 1, 1);
    grid->addWidget(buddyLabel("크기(&S):", m_size, this), 1, 2);
    grid->addWidget(m_size, 1, 3);
    grid->addWidget(buddyLabel("정렬(&A):", m_align, this), 2, 0);
    grid->addWidget(m_align, 2, 1);
    grid->addWidget(buddyLabel("글꼴색(&C):", m_colour, this), 3, 0);
    grid->addWidget(m_colour, 3, 1, Qt::AlignLeft);
    grid->addWidget(buddyLabel("배경색(&B):", m_background, this), 3, 2);
    grid->addWidget(m_background, 3, 3, Qt::AlignLeft);
    grid->addWidget(buddyLabel("폰트 1(&F):", m_font1, this), 4, 0);
    grid->addWidget(m_font1, 4, 1);
    grid->addWidget(buddyLabel("폰트 2(&N):", m_font2, this), 4, 2);
    grid->addWidget(m_font2, 4, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* margins = new QHBoxLayout;
    for (std::size_t i = 0; i < std::size(kMarginControls); ++i) {
        auto* box =
            new NumberSpinBox(messenger, NumberFieldRules(0, kMarginMaximum, 0), 1, false, this);
        m_margins[i] = &box->field();
        margins->addWidget(buddyLabel(kMarginControls[i].label, &box->field(), this));
        margins->addWidget(box);
        margins->addSpacing(10);
    }
    margins->addStretch(1);
    grid->addLayout(margins, 5, 0, 1, 4);

    m_previewView = new QTextBrowser(this);
    m_previewView->setFocusPolicy(Qt::NoFocus);
    m_previewView->setMinimumSize(420, 110);
    m_previewView->setOpenLinks(false);
    auto* previewBox = new QGroupBox(QStringLiteral("미리보기"), this);
    auto* previewLayout = new QVBoxLayout(previewBox);
    previewLayout->addWidget(m_previewView);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole)
        ->setProperty(NumberField::kDiscardsProperty, true);
    connect(buttons, &QDialogButtonBox::accepted, this, &ParagraphFormatDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ParagraphFormatDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(previewBox, 1);
    layout->addWidget(buttons);
}

void ParagraphFormatDialog::loadStyle()
{
    const ParagraphStyle& style = m_original;
    m_title->setText(m_originalTitle);
    for (std::size_t i = 0; i < std::size(kMarginControls); ++i) {
        const std::uint32_t bit = kMarginControls[i].bit;
        m_margins[i]->setValue(style.has(bit) ? property(bit).points : 0);
    }

    StyleChoiceLists::fill(*m_weight, kWeightChoices);
    StyleChoiceLists::fill(*m_align, kAlignChoices);
    for (int size = kMinimumSize; size <= kMaximumSize; ++size)
        m_size->addItem(QString::number(size));
    const auto chosen = [&](std::uint32_t bit, std::span<const StyleChoice> choices) {
        return style.has(bit) ? StyleChoiceLists::indexOf(choices, property(bit).value) : -1;
    };
    m_weight->setCurrentIndex(chosen(ParagraphStyle::kFontWeight, kWeightChoices));
    m_align->setCurrentIndex(chosen(ParagraphStyle::kTextAlign, kAlignChoices));
    const std::int32_t size = property(ParagraphStyle::kFontSize).points;
    m_size->setCurrentIndex(style.has(ParagraphStyle::kFontSize) && size >= kMinimumSize &&
                                    size <= kMaximumSize
                                ? size - kMinimumSize
                                : -1);

    // A colour text that names no colour shows the picker's default.
    if (!style.has(ParagraphStyle::kColor) ||
        !m_colour->setColourText(property(ParagraphStyle::kColor).value))
        m_colour->setColour(m_colour->defaultColour());
    if (!style.has(ParagraphStyle::kBackgroundColor) ||
        !m_background->setColourText(property(ParagraphStyle::kBackgroundColor).value))
        m_background->setColour(m_background->defaultColour());

    const auto [first, second] =
        familyNames(CaptionCodec::toDisplay(property(ParagraphStyle::kFontFamily).value));
    StyleChoiceLists::fillFontFamilies(*m_font1, first, false);
    StyleChoiceLists::fillFontFamilies(*m_font2, second, true);
}

void ParagraphFormatDialog::connectControls()
{
    for (std::size_t i = 0; i < std::size(kMarginControls); ++i) {
        const std::uint32_t bit = kMarginControls[i].bit;
        connect(m_margins[i], &NumberField::valueEdited, this,
                [this, bit](std::int32_t value) { setPoints(bit, value); });
    }
    connect(m_size, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            setPoints(ParagraphStyle::kFontSize, index + kMinimumSize);
    });
    const auto valueList = [this](QComboBox* list, std::uint32_t bit) {
        connect(list, &QComboBox::currentIndexChanged, this, [this, list, bit](int index) {
            if (index >= 0)
                setString(bit, StyleChoiceLists::selectedValue(*list).toStdString());
        });
    };
    valueList(m_weight, ParagraphStyle::kFontWeight);
    valueList(m_align, ParagraphStyle::kTextAlign);
    connect(m_font1, &QComboBox::currentIndexChanged, this, &ParagraphFormatDialog::fontsChosen);
    connect(m_font2, &QComboBox::currentIndexChanged, this, &ParagraphFormatDialog::fontsChosen);
    connect(m_colour, &CColourPicker::colourPicked, this,
            [this] { setString(ParagraphStyle::kColor, m_colour->colourText().toStdString()); });
    connect(m_background, &CColourPicker::colourPicked, this, [this] {
        setString(ParagraphStyle::kBackgroundColor, m_background->colourText().toStdString());
    });
}

StyleProperty& ParagraphFormatDialog::property(std::uint32_t bit)
{
    ParagraphStyle& style = m_preview.paragraphStyle;
    for (StyleProperty& p : style.pointProperties)
        if (p.bit == bit)
            return p;
    for (StyleProperty& p : style.stringProperties)
        if (p.bit == bit)
            return p;
    return style.descriptors[0];  // not reached: every bit used here names a property
}

void ParagraphFormatDialog::setString(std::uint32_t bit, const std::string& value)
{
    property(bit).value = value;
    m_preview.paragraphStyle.flags |= bit;
    rewritePreview();
}

void ParagraphFormatDialog::setPoints(std::uint32_t bit, std::int32_t points)
{
    property(bit).points = points;
    m_preview.paragraphStyle.flags |= bit;
    rewritePreview();
}

void ParagraphFormatDialog::fontsChosen()
{
    const QString first = m_font1->currentText();
    const QString second = m_font2->currentText();
    // With no second family the value names the first alone, not "name, ".
    const QString families = second.isEmpty() ? first : first + QStringLiteral(", ") + second;
    setString(ParagraphStyle::kFontFamily, CaptionCodec::toModel(families));
}

std::string ParagraphFormatDialog::previewHtml() const
{
    SyncEntry sample;
    sample.text = CaptionCodec::toModel(QString::fromUtf8(kSampleText));
    return m_preview.BuildPreviewHtml(sample);
}

void ParagraphFormatDialog::rewritePreview()
{
    m_previewView->setHtml(qtPreviewHtml(CaptionCodec::toDisplay(previewHtml())));
}

QString ParagraphFormatDialog::qtPreviewHtml(const QString& html)
{
    const qsizetype start = html.indexOf(QStringLiteral("<STYLE"), 0, Qt::CaseInsensitive);
    const qsizetype end = html.indexOf(QStringLiteral("</STYLE>"), start, Qt::CaseInsensitive);
    if (start < 0 || end < start)
        return html;
    // Qt's parser takes the comment that hides the rules from old browsers as a comment.
    QString sheet = html.mid(start, end - start);
    sheet.remove(QStringLiteral("<!--"));
    sheet.remove(QStringLiteral("-->"));
    static const QRegularExpression margin(
        QStringLiteral("(margin-(?:left|right|top|bottom)\\s*:\\s*)(-?\\d+)pt"),
        QRegularExpression::CaseInsensitiveOption);
    QString converted;
    qsizetype from = 0;
    for (auto it = margin.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        // A point is 4/3 of a pixel at the 96 dpi the page was designed for.
        const long long pixels = std::llround(match.captured(2).toLongLong() * 4.0 / 3.0);
        converted += sheet.mid(from, match.capturedStart() - from) + match.captured(1) +
                     QString::number(pixels) + QStringLiteral("px");
        from = match.capturedEnd();
    }
    converted += sheet.mid(from);
    return html.left(start) + converted + html.mid(end);
}

std::string ParagraphFormatDialog::safeTitle(std::string title)
{
    neutraliseJoinedMarkup(title);
    // Any end tag ends the title or is dropped from it when the file is read again.
    for (std::size_t i = title.find("</"); i != std::string::npos; i = title.find("</", i + 4))
        title.replace(i, 1, "&lt;");
    return title;
}

bool ParagraphFormatDialog::changed() const
{
    return !(workingStyle() == m_original) || m_title->text() != m_originalTitle;
}

void ParagraphFormatDialog::accept()
{
    for (NumberField* field : m_margins)
        if (!field->checkEntry())
            return;
    m_model.paragraphStyle = workingStyle();
    if (m_title->text() != m_originalTitle)
        m_model.title = safeTitle(CaptionCodec::toModel(m_title->text()));
    QDialog::accept();
}

bool editParagraphFormat(SamiModel& model, const AppSettings& settings, Messenger& messenger,
                         QWidget* parent)
{
    ParagraphFormatDialog dialog(model, settings, messenger, parent);
    return dialog.exec() == QDialog::Accepted && dialog.changed();
}

}  // namespace verbanta::app
