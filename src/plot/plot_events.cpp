#include "plot/plot_events.h"

wxDEFINE_EVENT(zpmEVT_PLOT_MEASURE, wxCommandEvent);
wxDEFINE_EVENT(zpmEVT_PLOT_TEXTBOX, wxCommandEvent);
wxDEFINE_EVENT(zpmEVT_PLOT_SPAN, wxCommandEvent);
