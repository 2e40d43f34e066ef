#pragma once

#include "platform/picture.h"

// The splash window's picture, 400 x 250 pixels.
platform::Picture SplashPicture();
