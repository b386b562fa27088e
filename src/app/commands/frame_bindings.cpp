#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "commands/command_bindings.h"
#include "main_frame.h"
#include "waveform/timing_strip.h"

// The commands of the frame itself.
namespace verbanta::app::bindings {

bool isFullScreen(CMainFrame& frame)
{
    return frame.isFullScreenMode();
}

bool clipboardHasText(CMainFrame&)
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void appExit(CMainFrame& frame)
{
    frame.close();
}

void fullScreen(CMainFrame& frame)
{
    frame.toggleFullScreen();
}

void helpContents(CMainFrame& frame)
{
    frame.showHelp();
}

void about(CMainFrame& frame)
{
    frame.showAbout();
}

bool timingStripShown(CMainFrame& frame)
{
    return frame.timingStrip().wanted();
}

bool spectrogramShown(CMainFrame& frame)
{
    return frame.timingStrip().mode() == TimingStrip::Mode::Spectrogram;
}

void timingStrip(CMainFrame& frame)
{
    TimingStrip& strip = frame.timingStrip();
    strip.setWanted(!strip.wanted());
}

void timingStripSpectrogram(CMainFrame& frame)
{
    TimingStrip& strip = frame.timingStrip();
    strip.setMode(spectrogramShown(frame) ? TimingStrip::Mode::Waveform
                                          : TimingStrip::Mode::Spectrogram);
}

}  // namespace verbanta::app::bindings
