#pragma once

#include "platform/form.h"

namespace CenterPart2 {

// Centres the form in the desktop work area, keeps it inside the area's top-left
// corner, then moves it 60 twips up and left.
void CenterForm(platform::Form& frm);

}  // namespace CenterPart2
