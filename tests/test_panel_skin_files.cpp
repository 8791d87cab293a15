#include "tests/test_panel_skin_files.h"

#include <QImage>
#include <filesystem>
#include <stdexcept>

SkinFiles::SkinFiles()
{
    std::filesystem::create_directories(dir_.path() + "/skin/");
}

void SkinFiles::pointAt(PlayerSettings& settings) const
{
    settings.exeDir = dir_.path() + "/";
    settings.cfgPath = dir_.file("Quintara.CFG");
    settings.rcDir = dir_.path() + "/skin/";
}

SkinPaths SkinFiles::paths() const
{
    return {dir_.file("Quintara.CFG"), dir_.path() + "/skin/"};
}

void SkinFiles::config(const std::string& text) const
{
    dir_.write("Quintara.CFG", text);
}

void SkinFiles::picture(const std::string& name, int width, int height, QColor colour) const
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const std::string path = dir_.file("skin/" + name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (!image.save(QString::fromStdString(path), "BMP"))
        throw std::runtime_error("cannot write " + path);
}

void SkinFiles::raw(const std::string& name, const std::string& bytes) const
{
    dir_.write("skin/" + name, bytes);
}
