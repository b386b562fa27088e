#include "dialogs/batch_conversion_runner.h"

#include <QApplication>
#include <QMetaObject>

#include <string>
#include <vector>

#include "dialogs/progress_bar.h"
#include "platform/messenger.h"

namespace verbanta::app {
namespace {

/// The bar's share of the pane's width after the text.
constexpr int kBarPercent = 20;

}  // namespace

BatchConversionRunner::BatchConversionRunner(QLabel& pane, Messenger& messenger,
                                             FileOperations& files, QObject* parent)
    : QObject(parent), m_pane(pane), m_messenger(messenger), m_files(files)
{
}

BatchConversionRunner::~BatchConversionRunner()
{
    joinWorker();
    if (m_progress)
        QApplication::restoreOverrideCursor();
}

void BatchConversionRunner::joinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

bool BatchConversionRunner::start(const QStringList& paths, const ConversionOptions& options)
{
    if (isRunning() || paths.isEmpty())
        return false;
    joinWorker();  // the previous run's thread has ended; its handle is released here
    std::vector<std::string> files;
    files.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& p : paths) files.push_back(p.toStdString());

    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_progress = std::make_unique<CProgressBar>(m_pane, QString::fromUtf8(kBatchStartText),
                                                kBarPercent, static_cast<int>(files.size()));
    // Everything the worker reports goes through the event queue to this object; what is
    // still queued when it is destroyed is dropped with it.
    m_worker = std::thread([this, files = std::move(files), options] {
        const BatchResult result = convertStyleFiles(
            files, options, m_files, [this](int done, int total, const std::string& status) {
                QMetaObject::invokeMethod(
                    this,
                    [this, done, total, text = QString::fromStdString(status)] {
                        onProgress(done, total, text);
                    },
                    Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this, [this, result] { onFinished(result); }, Qt::QueuedConnection);
    });
    return true;
}

void BatchConversionRunner::onProgress(int done, int total, const QString& status)
{
    if (m_progress) {
        m_progress->setText(status);
        m_progress->stepIt();
    }
    emit progressed(done, total, status);
}

void BatchConversionRunner::onFinished(const BatchResult& result)
{
    joinWorker();
    m_result = result;
    m_progress.reset();
    QApplication::restoreOverrideCursor();
    m_messenger.showMessage(batchResultMessage(result),
                            result.failed > 0 ? MessageIcon::Warning : MessageIcon::Information);
    emit finished();
}

}  // namespace verbanta::app
