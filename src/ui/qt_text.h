// The station's UTF-8 texts in and out of Qt's widgets.
#pragma once

#include <QString>

#include <string>

inline QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

inline std::string ToStdString(const QString& text)
{
    return text.toStdString();
}
