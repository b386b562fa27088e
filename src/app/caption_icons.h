#pragma once

#include <QIcon>
#include <QPixmap>

namespace verbanta::app {

/// The 16 x 16 images of the caption list: the check box of column 0, the mark of a caption
/// that breaks a check rule and the five marks of the marker strip. Each call draws the image; callers keep what they use.
class CaptionIcons {
public:
    enum Marker { RangeStart = 0, RangeEnd = 1, Bookmark = 2, SyncError = 3, Replay = 4 };

    static QIcon checkBox(bool checked);
    static QIcon findingMark();
    static QPixmap marker(Marker marker);
};

}  // namespace verbanta::app
