#include "panel/skin/skin_bitmap_twin.h"

#include <QGuiApplication>

#include "core/skin_twin.h"
#include "panel/skin/skin_bitmap.h"

std::string Skin_TwinName(std::string_view fileName)
{
    if (fileName.empty())
        return {};
    const size_t slash = fileName.find_last_of("/\\");
    const size_t pieceStart = slash == std::string_view::npos ? 0 : slash + 1;
    const size_t dot = fileName.rfind('.');
    // A name whose last piece has no extension (or is only one, ".bmp") takes the mark at its end.
    const size_t mark = dot == std::string_view::npos || dot <= pieceStart ? fileName.size() : dot;
    std::string name(fileName.substr(0, mark));
    name.append("@2x").append(fileName.substr(mark));
    return name;
}

std::optional<QImage> Skin_LoadTwin(std::string_view rcDir, std::string_view fileName,
                                    const std::optional<QImage>& picture)
{
    // The application's ratio is the highest of its screens'.
    if (!picture || !qGuiApp || !Skin_TwinsWanted(qGuiApp->devicePixelRatio()))
        return std::nullopt;
    std::optional<QImage> twin = Skin_LoadBitmap(rcDir, Skin_TwinName(fileName));
    if (!twin || !Skin_IsTwin(*picture, *twin))
        return std::nullopt;
    return twin;
}
