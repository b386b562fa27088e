#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <thread>

#include "files/batch_conversion.h"

class QLabel;

namespace verbanta {
class FileOperations;
class Messenger;
}  // namespace verbanta

namespace verbanta::app {

class CProgressBar;

/// One run of "자막 포맷 일괄 변경" at a time: the files are rewritten on a worker thread while
/// the window goes on working, with the progress in the status bar's message pane and the
/// result in one message at the end.
class BatchConversionRunner : public QObject {
    Q_OBJECT
public:
    /// `pane` shows the progress; `files` must be safe to use from another thread.
    BatchConversionRunner(QLabel& pane, Messenger& messenger, FileOperations& files,
                          QObject* parent = nullptr);
    /// Waits for a run in progress: every file is either converted or left as it was.
    ~BatchConversionRunner() override;

    bool isRunning() const { return m_progress != nullptr; }
    /// Starts converting the files in order with the options; false when a run is already in
    /// progress or there is nothing to convert.
    bool start(const QStringList& paths, const ConversionOptions& options);
    const CProgressBar* progressBar() const { return m_progress.get(); }
    /// The result of the last finished run.
    const BatchResult& lastResult() const { return m_result; }

signals:
    /// After each file, on the window's thread.
    void progressed(int done, int total, const QString& status);
    /// After the final message of a run.
    void finished();

private:
    void onProgress(int done, int total, const QString& status);
    void onFinished(const BatchResult& result);
    void joinWorker();

    QLabel& m_pane;
    Messenger& m_messenger;
    FileOperations& m_files;
    std::unique_ptr<CProgressBar> m_progress;
    std::thread m_worker;
    BatchResult m_result;
};

}  // namespace verbanta::app
