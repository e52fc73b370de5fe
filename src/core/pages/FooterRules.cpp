#include "FooterRules.h"

namespace quillery {

ChevronLook previousChevron(int number, PageSide side)
{
    if (side == PageSide::Right)
        return ChevronLook::Hidden;
    return number < 2 ? ChevronLook::Faded : ChevronLook::Active;
}

ChevronLook nextChevron(PageSide side)
{
    return side == PageSide::Left ? ChevronLook::Hidden : ChevronLook::Active;
}

} // namespace quillery
