#pragma once

#include <string>

// A fresh folder removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }  // no trailing "/"
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes bytes to name (folders made as needed) and answers its path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};
