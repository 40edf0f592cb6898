// The About box: the mode icon, the version text, a few words on the station, "OK".
#pragma once

#include <QDialog>

#include <string>

class QIcon;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const QIcon& icon, const std::string& aboutText, const std::string& versionText,
             QWidget* parent = nullptr);
};
