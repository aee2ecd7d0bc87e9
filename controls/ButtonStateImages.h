#pragma once

#include <QImage>

// The six state images that the labelled and the radio button carry for their owners; most are only stored.
class ButtonStateImages {
public:
    QImage normalImage() const { return _normalImage; }
    void setNormalImage(const QImage& image) { _normalImage = image; }
    QImage heightedImage() const { return _heightedImage; }
    void setHeightedImage(const QImage& image) { _heightedImage = image; }
    QImage selectedHeightedImage() const { return _selectedHeightedImage; }
    void setSelectedHeightedImage(const QImage& image) { _selectedHeightedImage = image; }
    QImage selectedImage() const { return _selectedImage; }
    void setSelectedImage(const QImage& image) { _selectedImage = image; }
    QImage disabledImage() const { return _disabledImage; }
    void setDisabledImage(const QImage& image) { _disabledImage = image; }
    QImage selectedDisabledImage() const { return _selectedDisabledImage; }
    void setSelectedDisabledImage(const QImage& image) { _selectedDisabledImage = image; }

private:
    QImage _normalImage;
    QImage _heightedImage;
    QImage _selectedHeightedImage;
    QImage _selectedImage;
    QImage _disabledImage;
    QImage _selectedDisabledImage;
};
