#pragma once

#include "platform/screen_size.h"

// The primary screen's size in whole pixels, as a page shown full screen sees it.
class PrimaryScreenSize : public ScreenSizeProvider {
public:
    QSize pixelSize() const override;
};
