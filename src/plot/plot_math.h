#pragma once

// The chart's numeric rules, apart from any window, by concern: the view and the axes, the
// readout and text boxes, and the series' reduction to what draws its picture. The plot window
// and its layers only draw what these compute, so everything here is testable without a display.

#include "plot/box_layout.h"
#include "plot/series_raster.h"
#include "plot/view_layout.h"
