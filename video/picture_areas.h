#pragma once

// What the picture offers the pointer: the areas a Video CD's menu marks on it. A point is a
// share of the picture's width and of its height, 0 to 1 from its top left.
class PictureAreas {
public:
    virtual bool hasAreaAt(double x, double y) const = 0;
    // A click there, as the area's number or key would be.
    virtual void clickAt(double x, double y) = 0;

protected:
    ~PictureAreas() = default;
};
