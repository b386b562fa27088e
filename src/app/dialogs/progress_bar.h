#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QString>

namespace verbanta::app {

/// A progress bar inside a status-bar pane: the pane shows a message and the bar sits to its
/// right, four spaces after the text, taking a share of the width that remains. While it
/// lives, command prompts do not overwrite the pane; when it goes, the pane's previous text
/// comes back.
class CProgressBar : public QObject {
    Q_OBJECT
public:
    /// `sizePercent` of the width after the text; range 0 to `maximum`, step 1.
    CProgressBar(QLabel& pane, const QString& message, int sizePercent, int maximum);
    ~CProgressBar() override;
    CProgressBar(const CProgressBar&) = delete;
    CProgressBar& operator=(const CProgressBar&) = delete;

    /// A new message; the bar moves to stay beside it.
    void setText(const QString& message);
    void stepIt();
    void setPos(int value);
    int pos() const;
    QProgressBar* bar() const { return m_bar; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void layOut();

    QPointer<QLabel> m_pane;
    QPointer<QWidget> m_window;
    QPointer<QProgressBar> m_bar;
    QString m_previousText;
    int m_sizePercent;
};

}  // namespace verbanta::app
