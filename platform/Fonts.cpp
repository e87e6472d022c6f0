#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace {

// Wine's Tahoma lies outside fontconfig's folders.
const char* const TahomaFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
};
constexpr const char* ArialStandIn = "Liberation Sans";

struct TLoadedFonts {
    bool Tried = false;
    bool Ok = true;
    QString Tahoma = QString::fromLatin1(TahomaFontName);
};

TLoadedFonts& Loaded()
{
    static TLoadedFonts fonts;
    return fonts;
}

} // namespace

bool LoadApplicationFonts()
{
    TLoadedFonts& fonts = Loaded();
    if (fonts.Tried || !qGuiApp)
        return fonts.Ok;
    fonts.Tried = true;
    for (const char* file : TahomaFiles) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        if (id < 0) {
            fonts.Ok = false;
            continue;
        }
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            fonts.Tahoma = families.front();
    }
    return fonts.Ok;
}

QString FontFamily(const QString& windowsName)
{
    LoadApplicationFonts();
    if (windowsName.compare(QLatin1String(TahomaFontName), Qt::CaseInsensitive) == 0)
        return Loaded().Tahoma;
    if (windowsName.compare(QLatin1String(ArialFontName), Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(ArialStandIn);
    return windowsName;
}
