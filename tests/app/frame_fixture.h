#pragma once

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <memory>
#include <string>

#include "caption_list_view.h"
#include "caption_table_model.h"
#include "caption_view.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "support/cp949.h"
#include "test_context.h"

namespace verbanta::test {

/// A two-language subtitle with a comment, written as CP949.
inline const char* const kTwoLanguages =
    "<SAMI>\r\n<HEAD>\r\n<TITLE>test</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { margin-left:8pt; font-size:14pt; text-align:center; }\r\n"
    ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC { Name:English; lang:en-US; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\r\n첫 자막<br>\r\n둘째 줄\r\n"
    "<SYNC Start=2500><P Class=KRCC>&nbsp;\r\n"
    "<!--\r\n번역 확인\r\n-->\r\n"
    "<SYNC Start=3000><P Class=KRCC>\r\n<font color=\"yellow\">노란</font> 똠방\r\n"
    "<SYNC Start=4000><P Class=KRCC>&nbsp;\r\n"
    "<SYNC Start=5000><P Class=KRCC>\r\n마지막\r\n"
    "<SYNC Start=6000><P Class=KRCC>&nbsp;\r\n"
    "<SYNC Start=1000><P Class=ENCC>\r\nFirst\r\n"
    "<SYNC Start=2500><P Class=ENCC>&nbsp;\r\n"
    "</BODY>\r\n</SAMI>\r\n";

/// A main window over a context that records its messages, with a folder for files.
struct FrameFixture {
    TestContext t;
    QTemporaryDir dir;
    std::unique_ptr<app::CMainFrame> frame = std::make_unique<app::CMainFrame>(t.context);

    /// Writes UTF-8 text as a CP949 file in the folder; its path.
    QString write(const QString& name, const std::string& utf8Text) const
    {
        return writeBytes(name, cp949(utf8Text));
    }
    QString writeBytes(const QString& name, const std::string& bytes) const
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }
    bool open(const QString& path) { return frame->documentHost().openFile(path); }
    bool openTwoLanguages() { return open(write(QStringLiteral("two.smi"), kTwoLanguages)); }

    CaptionEditor& editor() const { return *frame->editor(); }
    app::CCaptionView& view() const { return frame->captionView(); }
    app::CaptionListView& list() const { return view().list(); }
    app::CaptionTableModel& rows() const { return view().tableModel(); }
    QString cell(int row, int column) const { return rows().cellText(row, column); }

    void showAndFocusList()
    {
        frame->show();
        frame->activateWindow();
        QApplication::processEvents();
        list().setFocus();
        QApplication::processEvents();
    }
};

/// Closes whatever modal dialog or popup menu opens while it lives, remembering the texts of
/// the menus it closed, so that commands which ask or offer a menu run through in a test.
class ModalCloser : public QObject {
public:
    explicit ModalCloser(int chooseIndex = -1) : m_choose(chooseIndex)
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] { closeOne(); });
        m_timer.start();
    }
    QStringList menuTexts;
    int closed = 0;

private:
    void closeOne()
    {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                menuTexts << (a->isSeparator() ? QStringLiteral("-") : a->text());
            QList<QAction*> items;
            for (QAction* a : menu->actions())
                if (!a->isSeparator())
                    items << a;
            if (m_choose >= 0 && m_choose < items.size()) {
                // Chosen the way a user does, so the menu reports the choice.
                menu->setActiveAction(items[m_choose]);
                QTest::keyClick(menu, Qt::Key_Return);
            } else {
                menu->close();
            }
            ++closed;
        } else if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            ++closed;
        }
    }
    QTimer m_timer;
    int m_choose;
};

}  // namespace verbanta::test
