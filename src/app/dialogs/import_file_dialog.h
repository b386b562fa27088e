#pragma once

#include "dialogs/subtitle_file_dialog.h"

namespace verbanta::app {

/// The open dialog of "다른 포맷 자막 가져오기": the file, the reader chosen by its file type
/// entry, and the frame rate for MicroDVD frame numbers, all confirmed together.
class ImportFileDialog : public SubtitleFileDialog {
    Q_OBJECT
public:
    /// Entries numbered from 1: 1 all supported, 2 SubRip (with braces), 3 to 7 one reader
    /// each, 8 all files.
    static constexpr const char* kFilter =
        "지원 가능한 자막 파일|*.ass;*.srt;*.ssa;*.sub;*.xss;*.txt|"
        "SubRipper 파일(*.srt;*.txt)|*.srt;*.txt|MicroDVD 파일(*.sub;*.txt)|*.sub;*.txt|"
        "SubViewer 파일(*.sub;*.txt)|*.sub;*.txt|"
        "Sub Station Alpha 파일(*.ass;*.ssa;*.txt)|*.ass;*.ssa;*.txt|VPlayer 파일(*.txt)|*.txt|"
        "Xombie 파일(*.xss;*.txt)|*.xss;*.txt|모든 파일 (*.*)|*.*||";
    /// The frame rate each run starts with: 25, the third entry.
    static constexpr int kDefaultRateIndex = 2;

    ImportFileDialog(QWidget* parent, Messenger& messenger);

    /// The rate chosen in the row "### 동영상 프레임:".
    double framesPerSecond() const;
    /// The rates offered, in the order shown.
    static double rateAt(int index);

private:
    QComboBox* m_rate = nullptr;
};

}  // namespace verbanta::app
