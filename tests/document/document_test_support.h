#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/document_views.h"

namespace verbanta::test {

/// A SAMI file with one Korean-class caption per time, text "c<time>".
inline std::string samiFile(std::initializer_list<int> times, const std::string& title = "t")
{
    std::string text = "<SAMI>\r\n<HEAD>\r\n<TITLE>" + title +
                       "</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
                       "P { margin-left:8pt; font-size:12pt; }\r\n"
                       ".KRCC { Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n"
                       "</HEAD>\r\n<BODY>\r\n";
    for (int t : times)
        text += "<SYNC Start=" + std::to_string(t) + "><P Class=KRCC>\r\nc" + std::to_string(t) +
                "\r\n";
    return text + "</BODY>\r\n</SAMI>";
}

/// Views that record what the document asked of them.
class RecordingViews : public DocumentViews {
public:
    bool player = true;
    int stops = 0;
    int clears = 0;
    int rebuilds = 0;
    int captionRefreshes = 0;
    std::vector<std::string> videos;
    std::vector<std::string> titles;
    std::vector<std::string> recent;
    std::optional<std::string> saveAsAnswer;
    std::vector<std::string> saveAsSuggestions;
    std::vector<std::string> statuses;

    bool hasPlayerView() const override { return player; }
    void stopPlayerAndRewind() override { ++stops; }
    void clearPlayerFileState() override { ++clears; }
    void openCompanionVideo(const std::string& path) override { videos.push_back(path); }
    void rebuildList() override { ++rebuilds; }
    void refreshPlayerCaption() override { ++captionRefreshes; }
    void refreshTitle(const std::string& title) override { titles.push_back(title); }
    void addToRecentFiles(const std::string& path) override { recent.push_back(path); }
    void showStatus(const std::string& text) override { statuses.push_back(text); }
    std::optional<std::string> askSaveAsPath(const std::string& suggested) override
    {
        saveAsSuggestions.push_back(suggested);
        return saveAsAnswer;
    }
};

}  // namespace verbanta::test
