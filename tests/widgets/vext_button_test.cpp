#include "button_fixture.h"

TEST_F(ButtonTest, ConstructionKeepsPicturesLabelAndFaceColour) {
    EXPECT_EQ(button->GetId(), 38);
    EXPECT_EQ(button->GetLabel(), U8("Filter"));
    EXPECT_EQ(button->GetSize(), wxSize(70, 50));
    EXPECT_EQ(button->GetMinSize(), wxSize(70, 50));
    EXPECT_EQ(button->GetBackgroundColour(), face);
    EXPECT_EQ(button->GetName(), U8("button"));
    EXPECT_FALSE(button->GetBitmapPressed().IsOk());
    EXPECT_FALSE(button->GetBitmapCurrent().IsOk());

    SetAllPictures(button);
    EXPECT_EQ(PixelAt(button->GetBitmapHover(), 1, 1), *wxGREEN);
    EXPECT_EQ(PixelAt(button->GetBitmapCurrent(), 1, 1), *wxGREEN);
    EXPECT_EQ(PixelAt(button->GetBitmapPressed(), 1, 1), *wxBLUE);
    EXPECT_EQ(PixelAt(button->GetBitmapDisabled(), 1, 1), wxColour(128, 128, 128));
    EXPECT_EQ(PixelAt(button->GetBitmapLabel(), 1, 1), *wxRED);

    // A new id when none is given.
    auto* anyId = new wxVextButton(panel, wxID_ANY, Solid({10, 10}, *wxRED), wxString());
    EXPECT_NE(anyId->GetId(), wxID_ANY);
}

TEST_F(ButtonTest, PictureFollowsPointerPressAndEnabledState) {
    // No focus picture here: whether the button holds the focus depends on the display.
    SetAllPictures(button, false);
    EXPECT_EQ(Shown(), *wxRED);

    Mouse(wxEVT_ENTER_WINDOW);
    EXPECT_EQ(button->ChosenPicture(), ButtonPicture::Hover);
    EXPECT_EQ(Shown(), *wxGREEN);

    Mouse(wxEVT_LEFT_DOWN);
    EXPECT_EQ(Shown(), *wxBLUE);
    // Dragged out while held: no longer pressed, no longer hovered.
    Mouse(wxEVT_MOTION, 200, 20);
    EXPECT_EQ(Shown(), *wxRED);
    Mouse(wxEVT_MOTION, 30, 20);
    EXPECT_EQ(Shown(), *wxBLUE);
    Mouse(wxEVT_LEFT_UP);
    EXPECT_EQ(Shown(), *wxGREEN);

    Mouse(wxEVT_LEAVE_WINDOW);
    EXPECT_EQ(Shown(), *wxRED);

    button->Disable();
    EXPECT_EQ(Shown(), wxColour(128, 128, 128));
    // The pointer over a disabled button changes nothing.
    Mouse(wxEVT_ENTER_WINDOW);
    EXPECT_EQ(Shown(), wxColour(128, 128, 128));
    button->Enable();
    // Enabling looks where the display's pointer is; tell it the pointer is away.
    Mouse(wxEVT_LEAVE_WINDOW);
    EXPECT_EQ(Shown(), *wxRED);

    // Only the normal picture: the same in every state.
    wxBitmap normal = Solid({35, 30}, *wxRED);
    auto* logo = new wxVextButton(panel, 0, normal, U8("ZPM Version 4.8"), wxPoint(10, 100), wxSize(70, 50));
    const auto colourOf = [&] { return PixelAt(RenderButton(*logo, {70, 50}), 34, 12); };
    EXPECT_EQ(colourOf(), *wxRED);
    wxMouseEvent enter(wxEVT_ENTER_WINDOW);
    logo->ProcessWindowEvent(enter);
    EXPECT_EQ(colourOf(), *wxRED);
    logo->Disable();
    EXPECT_EQ(colourOf(), *wxRED);

    // Pictures replaced at run time show at once (the filter button swaps normal and hover).
    button->SetBitmapLabel(Solid({35, 30}, wxColour(0, 128, 128)));
    EXPECT_EQ(Shown(), wxColour(0, 128, 128));
}

TEST_F(ButtonTest, ClickIssuesExactlyOneCommandWithTheButtonsId) {
    // Released inside: one command.
    Mouse(wxEVT_ENTER_WINDOW);
    Mouse(wxEVT_LEFT_DOWN);
    EXPECT_TRUE(clicks.empty());
    Mouse(wxEVT_LEFT_UP);
    ASSERT_EQ(clicks, std::vector<int>{38});
    EXPECT_EQ(clickSources[0], button);

    // Released outside: none.
    clicks.clear();
    Mouse(wxEVT_LEFT_DOWN);
    Mouse(wxEVT_LEFT_UP, 200, 20);
    EXPECT_TRUE(clicks.empty());

    // A stray release without a press: none.
    Mouse(wxEVT_LEFT_UP);
    EXPECT_TRUE(clicks.empty());

    // A double click is two clicks, as with any button.
    Mouse(wxEVT_LEFT_DOWN);
    Mouse(wxEVT_LEFT_UP);
    Mouse(wxEVT_LEFT_DOWN);
    Mouse(wxEVT_LEFT_DCLICK);
    Mouse(wxEVT_LEFT_UP);
    EXPECT_EQ(clicks, (std::vector<int>{38, 38}));

    // Disabled while held down, or disabled altogether: none.
    clicks.clear();
    Mouse(wxEVT_LEFT_DOWN);
    button->Disable();
    button->Enable();
    Mouse(wxEVT_LEFT_UP);
    button->Disable();
    Mouse(wxEVT_LEFT_DOWN);
    Mouse(wxEVT_LEFT_UP);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(ButtonTest, KeyboardPressesLikeAButton) {
    SetAllPictures(button, false);
    Key(wxEVT_KEY_DOWN, WXK_SPACE);
    EXPECT_EQ(Shown(), *wxBLUE);
    Key(wxEVT_KEY_DOWN, WXK_SPACE);  // auto-repeat
    EXPECT_TRUE(clicks.empty());
    Key(wxEVT_KEY_UP, WXK_SPACE);
    EXPECT_EQ(clicks, std::vector<int>{38});
    Key(wxEVT_KEY_DOWN, WXK_RETURN);
    Key(wxEVT_KEY_DOWN, WXK_NUMPAD_ENTER);
    EXPECT_EQ(clicks, (std::vector<int>{38, 38, 38}));
    button->Disable();
    Key(wxEVT_KEY_DOWN, WXK_SPACE);
    Key(wxEVT_KEY_UP, WXK_SPACE);
    Key(wxEVT_KEY_DOWN, WXK_RETURN);
    EXPECT_EQ(clicks.size(), 3u);

    EXPECT_TRUE(other->AcceptsFocusFromKeyboard());
    EXPECT_FALSE(button->AcceptsFocusFromKeyboard());
}

TEST_F(ButtonTest, LabelCentredOnTheBottomEdge) {
    // Find the box of the dark label pixels in a rendering without a picture.
    const auto labelBox = [](const wxVextButton& b, const wxSize& size) {
        wxImage img = RenderButton(b, size).ConvertToImage();
        wxRect box;
        for (int y = 0; y < size.y; ++y)
            for (int x = 0; x < size.x; ++x)
                if (img.GetRed(x, y) < 120 && img.GetGreen(x, y) < 120 && img.GetBlue(x, y) < 120)
                    box = box.IsEmpty() ? wxRect(x, y, 1, 1) : box.Union(wxRect(x, y, 1, 1));
        return box;
    };
    auto* b = new wxVextButton(panel, 0, wxNullBitmap, U8("Messwerte 1"), wxPoint(10, 100), wxSize(100, 70));
    const wxSize extent = b->GetTextExtent(U8("Messwerte 1"));
    wxRect box = labelBox(*b, {100, 70});
    ASSERT_FALSE(box.IsEmpty());
    // Horizontally centred to a pixel; ink ends at or above the bottom edge, inside the text line.
    EXPECT_NEAR(box.x + box.width / 2.0, 50.0, 1.5);
    EXPECT_GE(box.y, 70 - extent.y);
    EXPECT_LE(box.GetBottom(), 69);
    EXPECT_GE(box.GetBottom(), 70 - extent.y / 2);

    // A new label replaces the old one.
    b->SetLabel(U8("Messwerte V"));
    EXPECT_EQ(b->GetLabel(), U8("Messwerte V"));
    wxRect box2 = labelBox(*b, {100, 70});
    EXPECT_NEAR(box2.x + box2.width / 2.0, 50.0, 1.5);

    // Wider than the button: cut on both sides.
    b->SetLabel(U8("Durchflussanzeigefarbe ändern"));
    wxRect wide = labelBox(*b, {60, 70});
    // Ink up to both edges (give or take the gap between two letters).
    EXPECT_LE(wide.x, 1);
    EXPECT_GE(wide.GetRight(), 58);

    // An empty label draws nothing.
    b->SetLabel(wxString());
    EXPECT_TRUE(labelBox(*b, {100, 70}).IsEmpty());
}

TEST_F(ButtonTest, PictureCentredAndCutWhenLarger) {
    // 70 x 70 picture with a marked 2 x 2 square at (10, 10) and at (59, 59).
    wxBitmap big = Solid({70, 70}, *wxWHITE);
    {
        wxMemoryDC dc(big);
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(*wxBLUE_BRUSH);
        dc.DrawRectangle(10, 10, 2, 2);
        dc.DrawRectangle(58, 58, 2, 2);
    }
    auto* b = new wxVextButton(panel, 17, big, wxString(), wxPoint(10, 100), wxSize(50, 50));
    wxBitmap shown = RenderButton(*b, {50, 50});
    EXPECT_EQ(PixelAt(shown, 0, 0), *wxBLUE);
    EXPECT_EQ(PixelAt(shown, 49, 49), *wxBLUE);
    EXPECT_EQ(PixelAt(shown, 2, 2), *wxWHITE);

    // A smaller picture leaves the face colour around it: 35 x 30 in 70 x 50 starts at (17, 10).
    wxBitmap small = RenderButton(*other, {70, 50});
    EXPECT_EQ(PixelAt(small, 16, 20), face);
    EXPECT_EQ(PixelAt(small, 17, 20), *wxRED);
    EXPECT_EQ(PixelAt(small, 51, 10), *wxRED);
    EXPECT_EQ(PixelAt(small, 52, 10), face);
    EXPECT_EQ(PixelAt(small, 30, 9), face);
}
