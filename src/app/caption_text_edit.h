#pragma once

#include <QPlainTextEdit>

#include <string>

namespace verbanta {
struct AppSettings;
}

namespace verbanta::app {

/// The caption text field of the edit panel, with its keys: Enter inserts a line break (with
/// "<br>" when `InsertBR` is on), Tab a tab character, Alt+B "<br>", Alt+E "&nbsp;", Alt+F and
/// Alt+T the font tags, Alt+R clears; Alt+Enter, Esc and the Alt keys of the time fields are
/// requests to the caption view.
class CaptionTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    CaptionTextEdit(const AppSettings& settings, QWidget* parent = nullptr);

    /// The field's text as the model stores it: CP949 with "\r\n" line ends.
    std::string modelText() const;
    /// Shows a model text (CP949, "\r\n" line ends).
    void setModelText(const std::string& cp949);
    /// The selection as byte offsets into modelText().
    std::pair<int, int> modelSelection() const;
    /// Selects by byte offsets into modelText().
    void setModelSelection(int start, int end);

signals:
    void registerRequested();
    void cancelRequested();
    void leaveFullScreenRequested();
    /// Alt+A / Alt+Z: the start field one step up (+1) or down (-1).
    void startStepRequested(int direction);
    /// Alt+S / Alt+X: the end field one step up or down.
    void endStepRequested(int direction);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    int modelOffsetOf(int position) const;
    int positionOfModelOffset(int offset) const;
    /// Whether a key is one of the field's own Alt keys.
    static bool isOwnAltKey(int key);
    void insert(const QString& text);
    bool inFullScreen() const;

    const AppSettings& m_settings;
    bool m_focusedByClick = false;
    bool m_selectedByClick = false;
};

}  // namespace verbanta::app
