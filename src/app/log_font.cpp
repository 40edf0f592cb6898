#include "app/log_font.h"

#include <QFontMetrics>

#include <fontconfig/fontconfig.h>

namespace {

constexpr char kLogFontName[] = "Courier New";
constexpr int kCellHeight = 16;

}  // namespace

std::string LogFontFamily()
{
    std::string family = kLogFontName;
    if (!FcInit())
        return family;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kLogFontName));
    if (pattern) {
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcChar8* name = nullptr;
        if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
            family = reinterpret_cast<const char*>(name);
        if (match)
            FcPatternDestroy(match);
        FcPatternDestroy(pattern);
    }
    return family;
}

QFont MakeLogFont()
{
    QFont font(QString::fromStdString(LogFontFamily()));
    font.setStyleHint(QFont::TypeWriter);
    font.setWeight(QFont::Medium);
    for (int pixels = kCellHeight; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= kCellHeight)
            break;
    }
    return font;
}
