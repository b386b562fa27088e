// Every dialog of the window, opened through its command as a user opens it: the Tab key
// visits the fields in the order they stand on the dialog, and with VERBANTA_SHOTS set each
// one is saved as a picture (in the theme VERBANTA_THEME names) for a look by eye.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <set>

#include "color_scheme.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "dialog_test_support.h"
#include "frame_fixture.h"

using namespace verbanta;
namespace cmd = app::cmd;

namespace {

/// Whether Tab stops at the widget, as Qt's own focus chain walk decides it.
bool takesTab(const QWidget* w, const QWidget* dialog)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy() &&
           w->isVisibleTo(dialog) && w->isEnabled() && w->window() == dialog;
}

/// Buttons act and the tab bar switches pages: the fields are everything else.
bool isField(const QWidget* w)
{
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    return !qobject_cast<const QTabBar*>(w) && (!button || button->isCheckable()) &&
           !qobject_cast<const QToolButton*>(w);
}

/// The fields in the order the Tab key reaches them from the dialog.
QList<QWidget*> tabChain(QWidget* dialog)
{
    QList<QWidget*> out;
    QWidget* w = dialog;
    for (int guard = 0; guard < 2000; ++guard) {
        w = w->nextInFocusChain();
        if (w == dialog)
            break;
        if (takesTab(w, dialog) && isField(w) && !out.contains(w))
            out << w;
    }
    return out;
}

/// The children sorted as a reader takes them: lines from the top, each from the left; two
/// widgets are on one line when they overlap by half the lower one's height.
QList<QWidget*> readingOrder(QList<QWidget*> widgets)
{
    std::stable_sort(widgets.begin(), widgets.end(),
                     [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    QList<QList<QWidget*>> lines;
    for (QWidget* w : widgets) {
        if (!lines.isEmpty()) {
            const QWidget* first = lines.back().front();
            const int overlap = std::min(first->geometry().bottom(), w->geometry().bottom()) -
                                std::max(first->y(), w->y());
            if (overlap * 2 >= std::min(first->height(), w->height())) {
                lines.back() << w;
                continue;
            }
        }
        lines.append({w});
    }
    QList<QWidget*> out;
    for (QList<QWidget*>& line : lines) {
        std::stable_sort(line.begin(), line.end(),
                         [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
        out << line;
    }
    return out;
}

/// The fields in the order they stand: the boxes and panes of a container in reading order,
/// each one's fields before the next one's.
void visualOrder(QWidget* container, QWidget* dialog, const QSet<QWidget*>& fields,
                 QList<QWidget*>& out)
{
    QList<QWidget*> children;
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisibleTo(dialog) && !child->isWindow())
            children << child;
    for (QWidget* child : readingOrder(children)) {
        if (fields.contains(child))
            out << child;
        visualOrder(child, dialog, fields, out);
    }
}

QString describe(const QList<QWidget*>& widgets)
{
    QStringList names;
    for (QWidget* w : widgets) {
        QString name = w->objectName();
        if (const auto* b = qobject_cast<QAbstractButton*>(w))
            name = b->text();
        names << QStringLiteral("%1[%2]").arg(QString::fromLatin1(w->metaObject()->className()),
                                              name);
    }
    return names.join(QStringLiteral(", "));
}

/// The Tab chain of the dialog as it stands, compared with the visual order; empty when they
/// agree, else both.
QString tabOrderFault(QWidget* dialog)
{
    const QList<QWidget*> chain = tabChain(dialog);
    const QSet<QWidget*> fields(chain.begin(), chain.end());
    QList<QWidget*> shown;
    visualOrder(dialog, dialog, fields, shown);
    if (chain == shown)
        return QString();
    return QStringLiteral("%1:\n  Tab:   %2\n  shown: %3")
        .arg(dialog->windowTitle(), describe(chain), describe(shown));
}

/// The dialogs a command opened, met while it runs (modal) or after it returned (modeless).
struct Walk {
    QStringList faults;
    QStringList seen;
    int shot = 0;

    void look(QDialog* dialog)
    {
        // Qt's own file dialog keeps Qt's order; it is only looked at.
        if (qobject_cast<QFileDialog*>(dialog)) {
            QApplication::processEvents();
            shoot(dialog);
        }
        if (qobject_cast<QMessageBox*>(dialog) || qobject_cast<QFileDialog*>(dialog)) {
            dialog->reject();
            return;
        }
        seen << dialog->windowTitle();
        QApplication::processEvents();
        if (auto* tabs = dialog->findChild<QTabWidget*>()) {
            // A sheet: every page in turn.
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                QApplication::processEvents();
                const QString fault = tabOrderFault(dialog);
                if (!fault.isEmpty())
                    faults << tabs->tabText(i) + QStringLiteral(" - ") + fault;
                shoot(dialog);
            }
        } else {
            const QString fault = tabOrderFault(dialog);
            if (!fault.isEmpty())
                faults << fault;
            shoot(dialog);
        }
        dialog->reject();
        dialog->close();
    }

    void shoot(QDialog* dialog)
    {
        const QByteArray name = QStringLiteral("dialog_%1_%2")
                                    .arg(qEnvironmentVariable("VERBANTA_THEME", "default"))
                                    .arg(++shot, 2, 10, QLatin1Char('0'))
                                    .toLatin1();
        test::shoot(*dialog, name.constData());
    }
};

}  // namespace

class DialogWalkTest : public QObject {
    Q_OBJECT

private slots:
    void everyDialogsTabOrderFollowsItsFields()
    {
        // VERBANTA_THEME=dark (or light) forces that scheme for the pictures.
        const QString theme = qEnvironmentVariable("VERBANTA_THEME");
        if (theme == QLatin1String("dark") || theme == QLatin1String("light"))
            app::ColorScheme::apply(theme == QLatin1String("dark") ? AppSettings::kSchemeDark
                                                                   : AppSettings::kSchemeLight);
        test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        Walk walk;
        // Each command that opens a dialog; whatever asks a question first is answered no.
        const int commands[] = {
            cmd::EditFind,      cmd::EditReplace,    cmd::ShiftSyncs,     cmd::ResetEndSyncs,
            cmd::FindSyncErrors, cmd::CaptionChecks, cmd::WholeFileFormat, cmd::Options,
            cmd::LanguageInfo,  cmd::SyncLanguages,  cmd::CheckLanguages, cmd::SplitFile,
            cmd::MergeFiles,    cmd::SaveByLanguage, cmd::ImportOtherFormat, cmd::AppAbout,
            cmd::HelpContents};
        for (int id : commands) {
            QTimer watcher;
            watcher.setInterval(20);
            connect(&watcher, &QTimer::timeout, [&walk] {
                if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                    walk.look(dialog);
            });
            watcher.start();
            f.frame->commands().run(id);
            watcher.stop();
            // The modeless ones stay open beside the window.
            // A closed one may be deleted while another is looked at.
            QList<QPointer<QDialog>> shown;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog->isVisible())
                    shown << dialog;
            for (const QPointer<QDialog>& dialog : shown)
                if (dialog && dialog->isVisible())
                    walk.look(dialog);
        }
        for (const QString& fault : walk.faults) qWarning("%s", qPrintable(fault));
        QVERIFY2(walk.faults.isEmpty(), "the Tab order differs from the visual one (above)");
        qInfo("%s", qPrintable(walk.seen.join(QStringLiteral(", "))));
        // The walk met the dialogs, so the comparison above compared something.
        QVERIFY2(walk.seen.size() >= 12, qPrintable(walk.seen.join(QStringLiteral(", "))));
    }

    void theAboutBoxShowsTheBuildsVersion()
    {
        test::FrameFixture f;
        QString shown;
        QTimer::singleShot(0, [&shown] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            QWidget* box = QApplication::activeModalWidget();
            for (QLabel* label : box->findChildren<QLabel*>())
                if (label->text().startsWith(QStringLiteral("Ver")))
                    shown = label->text();
            box->close();
        });
        f.frame->commands().run(cmd::AppAbout);
        QVERIFY(!QStringLiteral(VERBANTA_VERSION).isEmpty());
        QCOMPARE(shown, QStringLiteral("Ver " VERBANTA_VERSION));
    }
};

QTEST_MAIN(DialogWalkTest)
#include "dialog_walk_test.moc"
