#pragma once

#include <QSlider>

#include <cstdint>
#include <vector>

namespace verbanta::app {

/// The seek bar under the picture, in ms, with the video's shot changes marked along it.
class PositionBar : public QSlider {
    Q_OBJECT
public:
    explicit PositionBar(QWidget* parent = nullptr);

    void setShotChanges(const std::vector<std::int32_t>& shotsMs);
    const std::vector<std::int32_t>& shotChanges() const { return m_shotsMs; }
    /// The x of a time on the bar's groove.
    int markX(std::int32_t ms) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::int32_t> m_shotsMs;
};

}  // namespace verbanta::app
