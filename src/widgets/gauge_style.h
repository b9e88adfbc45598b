#pragma once

class wxGauge;

// GTK 3 draws a wxGauge as a hairline in the theme's colours and ignores the colours the program
// sets. This gives the gauge a bar a user can read at a glance, in the gauge's own foreground and
// background colours (set them first with SetForegroundColour / SetBackgroundColour); with
// themeColours the bar keeps the theme's colours and only gets its height.
void ApplyGaugeStyle(wxGauge* gauge, bool themeColours = false);
