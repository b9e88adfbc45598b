// Focus, clicks and keys through the window system. They move the display's one pointer, send
// real keys and depend on which window is active, so this binary runs alone (RUN_SERIAL), never
// beside other tests on the same display.
#include "button_fixture.h"
#include "support/cannot_run.h"

TEST_F(ButtonTest, RealMouseClickThroughTheWindowSystem) {
    wxUIActionSimulator sim;
    if (!PointerOnto(sim, button, wxPoint(35, 25)))
        ZPM_CANNOT_RUN("another window covers the button on this display");
    ASSERT_TRUE(sim.MouseClick());
    EXPECT_TRUE(PumpUntil([&] { return !clicks.empty(); }, 3000));
    PumpEvents(10);
    EXPECT_EQ(clicks, std::vector<int>{38});

    // Disabled and enabled again under the pointer: it lights up at once, although a disabled
    // window is told nothing of the pointer.
    SetAllPictures(button, false);
    button->Disable();
    PumpEvents();
    button->Enable();
    EXPECT_EQ(Shown(), *wxGREEN);
    // And not when the pointer went away meanwhile.
    button->Disable();
    sim.MouseMove(frame->ClientToScreen(wxPoint(390, 290)));
    PumpEvents();
    button->Enable();
    EXPECT_EQ(Shown(), *wxRED);
}

TEST_F(ButtonTest, RealKeysThroughTheWindowSystem) {
    button->SetFocus();
    if (!PumpUntil([&] { return button->HasFocus(); }, 2000))
        ZPM_CANNOT_RUN("the display gives no keyboard focus");
    wxUIActionSimulator sim;
    // Without a window manager the keys go to the window under the pointer.
    if (!PointerOnto(sim, panel, wxPoint(390, 290)))
        ZPM_CANNOT_RUN("another window covers the test window on this display");
    ASSERT_TRUE(sim.Char(WXK_SPACE));
    EXPECT_TRUE(PumpUntil([&] { return !clicks.empty(); }, 3000));
    ASSERT_TRUE(sim.Char(WXK_RETURN));
    EXPECT_TRUE(PumpUntil([&] { return clicks.size() >= 2; }, 3000));
    PumpEvents(10);
    EXPECT_EQ(clicks, (std::vector<int>{38, 38}));
    // Tab from the keyboard reaches the next button (the window system does the traversal).
    ASSERT_TRUE(sim.Char(WXK_TAB));
    EXPECT_TRUE(PumpUntil([&] { return other->HasFocus(); }, 3000));
}

TEST_F(ButtonTest, FocusPictureWhenFocused) {
    SetAllPictures(button);
    button->SetFocus();
    if (!PumpUntil([&] { return button->HasFocus(); }, 2000))
        ZPM_CANNOT_RUN("the display gives no keyboard focus");
    EXPECT_EQ(Shown(), wxColour(255, 255, 0));
    Mouse(wxEVT_ENTER_WINDOW);
    EXPECT_EQ(Shown(), *wxGREEN);
    Mouse(wxEVT_LEAVE_WINDOW);
    other->SetFocus();
    EXPECT_TRUE(PumpUntil([&] { return other->HasFocus(); }, 2000));
    EXPECT_EQ(Shown(), *wxRED);
}
