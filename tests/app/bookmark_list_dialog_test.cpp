#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "dialog_test_support.h"
#include "dialogs/bookmark_list_dialog.h"
#include "dialogs/stepped_time_field.h"
#include "editor/editor_ports.h"
#include "editor/player_bookmarks.h"
#include "frame_fixture.h"
#include "time_field_widget.h"

using namespace verbanta;
using app::BookmarkListDialog;

using test::button;

namespace {

/// A player that records where it was asked to seek.
class SeekRecorder : public PlayerPort {
public:
    std::vector<std::int32_t> seeks;

    bool IsMediaOpen() const override { return true; }
    std::int32_t GetPositionMs() const override { return 0; }
    std::int32_t GetLengthMs() const override { return 60000; }
    bool SeekTo(std::int32_t ms, bool fromList) override
    {
        if (fromList)
            return false;
        seeks.push_back(ms);
        return true;
    }
    void SetReplayRange(std::int32_t, std::int32_t) override {}
    void ClearReplayRange() override {}
    void StopRepeat() override {}
    void ResyncCursor() override {}
    int BookmarkCount() const override { return 0; }
    std::int32_t BookmarkAt(int) const override { return -1; }
    void SetRangeMarks(std::int32_t, std::int32_t) override {}
};

QStringList column(const QTableWidget& list, int c)
{
    QStringList out;
    for (int i = 0; i < list.rowCount(); ++i) out << list.item(i, c)->text();
    return out;
}

std::vector<std::int32_t> marksOf(const VideoBookmarks& bookmarks)
{
    std::vector<std::int32_t> out;
    for (int i = 0; i < bookmarks.BookmarkCount(); ++i) out.push_back(bookmarks.BookmarkAt(i));
    return out;
}

/// Bookmarks of a 60-second clip added in this order.
void fill(VideoBookmarks& bookmarks, std::initializer_list<std::int32_t> times)
{
    bookmarks.SetLength(60000);
    for (const std::int32_t ms : times) bookmarks.AddBookmark(ms);
}

/// Captions at 10, 20 and 30 seconds with an end sync at 35.
const char* const kCaptions =
    "<SAMI><BODY>\r\n"
    "<SYNC Start=10000><P Class=KRCC>\r\n<b>열</b> 초\r\n"
    "<SYNC Start=20000><P Class=KRCC>\r\n스무 초<br>\r\n둘째 줄\r\n"
    "<SYNC Start=30000><P Class=KRCC>\r\n서른 초\r\n"
    "<SYNC Start=35000><P Class=KRCC>&nbsp;\r\n"
    "</BODY></SAMI>\r\n";

struct Fixture {
    test::FrameFixture f;
    VideoBookmarks bookmarks;
    SeekRecorder player;

    Fixture()
    {
        f.open(f.write(QStringLiteral("marks.smi"), kCaptions));
        f.t.messenger.shown.clear();
    }
    const SyncList& captions() const { return f.editor().session().model().list(); }
    std::unique_ptr<BookmarkListDialog> dialog()
    {
        return std::make_unique<BookmarkListDialog>(bookmarks, captions(), f.t.settings,
                                                    f.t.messenger, player);
    }
};

}  // namespace

class BookmarkListDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithOneRowPerBookmarkInTheirOrder()
    {
        Fixture x;
        fill(x.bookmarks, {30000, 10000, 25000});
        auto d = x.dialog();
        test::shoot(*d, "bookmark_list_dialog");
        QCOMPARE(d->windowTitle(), QStringLiteral("동영상 북마크"));
        QCOMPARE(d->countLabel().text(), QStringLiteral("동영상 북마크 수: 3개"));
        QCOMPARE(column(d->list(), 0), (QStringList{"30000", "10000", "25000"}));
        QCOMPARE(d->list().horizontalHeaderItem(0)->text(), QStringLiteral("싱크시간"));
        QCOMPARE(d->list().horizontalHeaderItem(1)->text(), QStringLiteral("자막 내용"));
        QVERIFY(d->list().item(0, 0)->textAlignment() & Qt::AlignRight);
        QVERIFY(!d->list().item(0, 0)->icon().isNull());
        QCOMPARE(d->selectedIndex(), 0);
        QCOMPARE(d->positionField().value(), 30000);
        QCOMPARE(d->positionField().field().maximum(), 60000);
        QCOMPARE(d->positionField().field().minimum(), 0);
        for (const char* text : {"추가(&A)", "수정(&E)", "삭제(&D)", "이동(&G)", "확인", "취소"})
            QVERIFY2(button(*d, QString::fromUtf8(text)), text);
        d->list().selectRow(2);
        QCOMPARE(d->positionField().value(), 25000);
    }

    void showsTheCaptionOnScreenAtEachTimeInTheChosenForm()
    {
        Fixture x;
        x.f.t.settings.DisplayAsTime = true;
        fill(x.bookmarks, {25000, 5000, 20000, 36000});
        x.bookmarks.SetLength(4000000);
        x.bookmarks.AddBookmark(3723004);
        auto d = x.dialog();
        QCOMPARE(column(d->list(), 0).first(), QStringLiteral("0:00:25.000"));
        QCOMPARE(column(d->list(), 0).last(), QStringLiteral("1:02:03.004"));
        // Tags removed and the break shown as the list shows it (its CR a space); before the
        // first caption the first one; at a start the one before it (the entry before the
        // first start at or after the time); past the last start nothing.
        QCOMPARE(column(d->list(), 1), (QStringList{"스무 초↘ 둘째 줄", "열 초", "열 초", "", ""}));
        QCOMPARE(d->positionField().field().text(), QStringLiteral(" 0:00:25.000"));
    }

    void captionTextsAreCutAtTheListLimit()
    {
        Fixture x;
        std::string longText(300, 'a');
        x.f.open(x.f.write(QStringLiteral("long.smi"),
                           "<SAMI><BODY><SYNC Start=1000><P Class=KRCC>" + longText +
                               "<SYNC Start=9000><P Class=KRCC>&nbsp;</BODY></SAMI>"));
        QCOMPARE(BookmarkListDialog::captionAt(x.captions(), 5000), std::string(256, 'a'));
        QCOMPARE(BookmarkListDialog::captionAt(x.captions(), 9001), std::string());
    }

    void addChangeAndDeleteEditTheRows()
    {
        Fixture x;
        fill(x.bookmarks, {10000, 20000});
        auto d = x.dialog();
        d->positionField().setValue(30000);
        button(*d, QStringLiteral("추가(&A)"))->click();
        QCOMPARE(column(d->list(), 0), (QStringList{"10000", "20000", "30000"}));
        QCOMPARE(d->selectedIndex(), 2);
        QCOMPARE(d->countLabel().text(), QStringLiteral("동영상 북마크 수: 3개"));
        QCOMPARE(d->list().item(2, 1)->text(), QStringLiteral("스무 초↘ 둘째 줄"));

        d->list().selectRow(0);
        d->positionField().setValue(15000);
        button(*d, QStringLiteral("수정(&E)"))->click();
        QCOMPARE(column(d->list(), 0), (QStringList{"15000", "20000", "30000"}));
        QCOMPARE(d->list().item(0, 1)->text(), QStringLiteral("열 초"));
        QCOMPARE(d->selectedIndex(), 0);

        // Deleting the last row selects the new last row; another the row taking its place.
        d->list().selectRow(2);
        button(*d, QStringLiteral("삭제(&D)"))->click();
        QCOMPARE(d->selectedIndex(), 1);
        QCOMPARE(d->positionField().value(), 20000);
        button(*d, QStringLiteral("삭제(&D)"))->click();
        QCOMPARE(d->selectedIndex(), 0);
        QCOMPARE(column(d->list(), 0), QStringList{"15000"});
        button(*d, QStringLiteral("삭제(&D)"))->click();
        QCOMPARE(d->countLabel().text(), QStringLiteral("동영상 북마크 수: 0개"));
        QCOMPARE(d->selectedIndex(), -1);
        // With no row, change, delete and go do nothing.
        button(*d, QStringLiteral("수정(&E)"))->click();
        button(*d, QStringLiteral("삭제(&D)"))->click();
        button(*d, QStringLiteral("이동(&G)"))->click();
        QVERIFY(x.player.seeks.empty());
        QCOMPARE(d->list().rowCount(), 0);
    }

    void goSeeksTheSelectedBookmarkAndOkHandsTheListOver()
    {
        Fixture x;
        fill(x.bookmarks, {30000, 10000});
        auto d = x.dialog();
        d->list().selectRow(1);
        button(*d, QStringLiteral("이동(&G)"))->click();
        QCOMPARE(x.player.seeks, std::vector<std::int32_t>{10000});
        // Two bookmarks at one time are allowed here.
        d->positionField().setValue(10000);
        button(*d, QStringLiteral("추가(&A)"))->click();
        QCOMPARE(marksOf(x.bookmarks), (std::vector<std::int32_t>{30000, 10000}));
        button(*d, QStringLiteral("확인"))->click();
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(marksOf(x.bookmarks), (std::vector<std::int32_t>{30000, 10000, 10000}));
    }

    void cancelLeavesTheBookmarksAsTheyWere()
    {
        Fixture x;
        fill(x.bookmarks, {30000, 10000});
        auto d = x.dialog();
        button(*d, QStringLiteral("삭제(&D)"))->click();
        d->positionField().setValue(5000);
        button(*d, QStringLiteral("추가(&A)"))->click();
        button(*d, QStringLiteral("취소"))->click();
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(marksOf(x.bookmarks), (std::vector<std::int32_t>{30000, 10000}));
    }

    void okKeepsTheFirstHundredRows()
    {
        Fixture x;
        x.bookmarks.SetLength(600000);
        for (int i = 0; i < 100; ++i) x.bookmarks.AddBookmark(1000 * i);
        auto d = x.dialog();
        for (int i = 0; i < 20; ++i) {
            d->positionField().setValue(500000 + i);
            button(*d, QStringLiteral("추가(&A)"))->click();
        }
        QCOMPARE(d->countLabel().text(), QStringLiteral("동영상 북마크 수: 120개"));
        button(*d, QStringLiteral("확인"))->click();
        QCOMPARE(x.bookmarks.BookmarkCount(), 100);
        QCOMPARE(x.bookmarks.BookmarkAt(99), 99000);
    }

    void thePositionFieldKeepsToTheClip()
    {
        Fixture x;
        fill(x.bookmarks, {10000});
        x.f.t.settings.SyncIncrease = 700;
        auto d = x.dialog();
        d->show();
        app::TimeFieldWidget& field = d->positionField().field();
        field.setFocus();
        field.selectAll();
        QTest::keyClicks(&field, QStringLiteral("70000"));
        QCOMPARE(x.f.t.messenger.shown.size(), std::size_t{1});
        QCOMPARE(x.f.t.messenger.shown[0].text,
                 std::string("60000 보다 큰 값은 입력할 수 없습니다 "));
        QCOMPARE(d->positionField().value(), 0);
        QTest::keyClick(&field, Qt::Key_Up);
        QCOMPARE(d->positionField().value(), 700);
        d->positionField().setValue(59500);
        d->positionField().step(2);
        QCOMPARE(d->positionField().value(), 60000);
        // An emptied field adds nothing.
        field.selectAll();
        QTest::keyClick(&field, Qt::Key_Backspace);
        button(*d, QStringLiteral("추가(&A)"))->click();
        QCOMPARE(x.f.t.messenger.shown.back().text, std::string("값을 입력해 주십시요"));
        QCOMPARE(d->list().rowCount(), 1);
    }

    void clicksOnTheEmptyPartKeepTheSelection()
    {
        Fixture x;
        fill(x.bookmarks, {10000, 20000});
        auto d = x.dialog();
        d->resize(500, 400);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        d->list().selectRow(1);
        const QPoint empty(20, d->list().viewport()->height() - 5);
        QVERIFY(!d->list().itemAt(empty));
        QTest::mouseClick(d->list().viewport(), Qt::LeftButton, {}, empty);
        QTest::mouseDClick(d->list().viewport(), Qt::LeftButton, {}, empty);
        QCOMPARE(d->selectedIndex(), 1);
    }
};

QTEST_MAIN(BookmarkListDialogTest)
#include "bookmark_list_dialog_test.moc"
