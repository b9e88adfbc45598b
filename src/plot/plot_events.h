#pragma once

// The chart's own command events. A series that sets its measuring marker sends
// zpmEVT_PLOT_MEASURE (string "x y" from a primary series with int 1, "y " from a secondary one
// with int 2, the series as event object); the text box sends zpmEVT_PLOT_TEXTBOX at every draw
// that shows text (the box as event object). Both are processed at once, inside the plot
// window's paint, and travel up to the main window like any command event: their handlers must
// not repaint the plot window synchronously.
//
// zpmEVT_PLOT_SPAN tells that the span of the span mode was set, changed (int 1) or removed
// (int 0). It is sent from the mouse and key handlers, never from a paint: its handler may repaint.

#include <wx/event.h>

wxDECLARE_EVENT(zpmEVT_PLOT_MEASURE, wxCommandEvent);
wxDECLARE_EVENT(zpmEVT_PLOT_TEXTBOX, wxCommandEvent);
wxDECLARE_EVENT(zpmEVT_PLOT_SPAN, wxCommandEvent);

#define EVT_PLOT_MEASURE(func) wx__DECLARE_EVT1(zpmEVT_PLOT_MEASURE, wxID_ANY, wxCommandEventHandler(func))
#define EVT_PLOT_TEXTBOX(func) wx__DECLARE_EVT1(zpmEVT_PLOT_TEXTBOX, wxID_ANY, wxCommandEventHandler(func))
