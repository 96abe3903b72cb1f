#pragma once

#include "definitions/Definitionen.h"

namespace definitions {

// The competition program shows a subtotal after every ZwSuNachSer series; that only makes
// sense when the series divide into whole groups, so any other value means "no subtotal".
inline void ZwischensummeBereinigen(Disziplin& disziplin)
{
    if (disziplin.ZwSuNachSer > 0 && disziplin.SerienAnzahl % disziplin.ZwSuNachSer != 0)
        disziplin.ZwSuNachSer = 0;
}

} // namespace definitions
