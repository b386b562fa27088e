#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <string>

#include "model/paragraph_style.h"
#include "model/sami_model.h"

class QComboBox;
class QLineEdit;
class QTextBrowser;

namespace verbanta {
struct AppSettings;
class Messenger;
}  // namespace verbanta

namespace verbanta::app {

class CColourPicker;
class NumberField;

/// "문단 포맷 변경": the file's title and the P rule every caption inherits, edited on a copy
/// with a live preview of a sample text; nothing reaches the model before OK.
class ParagraphFormatDialog : public QDialog {
    Q_OBJECT
public:
    enum Margin { Top, Bottom, Left, Right };
    static constexpr const char* kSampleText = "가나다AaBbCc123";

    ParagraphFormatDialog(SamiModel& model, const AppSettings& settings, Messenger& messenger,
                          QWidget* parent = nullptr);

    /// Whether OK would change the model: the style or the title differs from what it was.
    bool changed() const;
    const ParagraphStyle& workingStyle() const { return m_preview.paragraphStyle; }
    /// The preview page as the core writes it (CP949).
    std::string previewHtml() const;
    /// That page as Qt's rich text takes it: the style sheet out of its comment and the
    /// margins in pixels, which are the lengths Qt's margins understand.
    static QString qtPreviewHtml(const QString& html);
    /// A typed title made safe to write between the title tags: markup that would end the
    /// title or start captions, once written, is kept as text.
    static std::string safeTitle(std::string title);

    QLineEdit& titleField() const { return *m_title; }
    QComboBox& weightList() const { return *m_weight; }
    QComboBox& sizeList() const { return *m_size; }
    QComboBox& alignList() const { return *m_align; }
    QComboBox& fontList(int which) const { return which == 1 ? *m_font1 : *m_font2; }
    CColourPicker& colourPicker() const { return *m_colour; }
    CColourPicker& backgroundPicker() const { return *m_background; }
    NumberField& marginField(Margin margin) const { return *m_margins[margin]; }
    QTextBrowser& preview() const { return *m_previewView; }

public slots:
    void accept() override;

private:
    void buildControls(Messenger& messenger);
    void loadStyle();
    void connectControls();
    StyleProperty& property(std::uint32_t bit);
    void setString(std::uint32_t bit, const std::string& value);
    void setPoints(std::uint32_t bit, std::int32_t points);
    void fontsChosen();
    void rewritePreview();

    SamiModel& m_model;
    ParagraphStyle m_original;
    QString m_originalTitle;
    /// Holds the working style as its P rule, so that the preview is the core's own page.
    SamiModel m_preview;
    QLineEdit* m_title = nullptr;
    QComboBox* m_weight = nullptr;
    QComboBox* m_size = nullptr;
    QComboBox* m_align = nullptr;
    QComboBox* m_font1 = nullptr;
    QComboBox* m_font2 = nullptr;
    CColourPicker* m_colour = nullptr;
    CColourPicker* m_background = nullptr;
    std::array<NumberField*, 4> m_margins{};
    QTextBrowser* m_previewView = nullptr;
};

/// The whole-file format command: the dialog on the model; true when OK changed something.
bool editParagraphFormat(SamiModel& model, const AppSettings& settings, Messenger& messenger,
                         QWidget* parent);

}  // namespace verbanta::app
