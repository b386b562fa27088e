#pragma once

#include <QDialog>

namespace verbanta::app {

/// "Pelorin~ 버젼 정보": the program's icon, name and version ("Ver %s" with the build's
/// version), a few lines about it and two links.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const QString& version, QWidget* parent = nullptr);
};

}  // namespace verbanta::app
