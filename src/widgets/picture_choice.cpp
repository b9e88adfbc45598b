#include "widgets/picture_choice.h"

ButtonPicture ChooseButtonPicture(const ButtonCondition& c, const ButtonPicturesSet& set) {
    if (c.enabled && c.pressed && set.pressed)
        return ButtonPicture::Pressed;
    if (c.enabled && c.pointerInside && set.hover)
        return ButtonPicture::Hover;
    if (c.enabled && c.focused && set.focus)
        return ButtonPicture::Focus;
    if (!c.enabled && set.disabled)
        return ButtonPicture::Disabled;
    return ButtonPicture::Normal;
}

wxPoint CentredOrigin(const wxSize& area, const wxSize& item) {
    return {(area.x - item.x) / 2, (area.y - item.y) / 2};
}
