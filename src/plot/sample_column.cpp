#include "plot/sample_column.h"

#include <algorithm>
#include <cmath>

void SampleColumn::Take(SampleRef newValues, std::size_t unchanged) {
    if (!newValues)
        newValues = std::make_shared<const std::vector<float>>();
    const std::size_t from = newValues == values && unchanged <= count ? unchanged : 0;
    values = std::move(newValues);
    const std::size_t n = values->size();
    count = n;
    const float* v = values->data();
    // The last value before the changed ones joins them, so the order is checked across the seam.
    const std::size_t seam = from > 0 ? from - 1 : 0;
    const bool wasFinite = from > 0 && finite, wasSorted = from > 0 && sorted;
    finite = (from == 0 || wasFinite) && std::all_of(v + from, v + n, [](float x) { return std::isfinite(x); });
    sorted = finite && (from == 0 || wasSorted) && plotmath::IsSortedFinite(v + seam, n - seam);

    if (extremes && finite) {
        if (from > 0 && wasFinite)
            pyramid.Extend(v, from, n);
        else
            pyramid.Build(v, n);
    } else {
        pyramid.Clear();
    }
    // The range without a pass over the samples wherever the ends or the extremes give it.
    any = n > 0;
    if (!any)
        return;
    if (sorted) {
        lo = v[0];
        hi = v[n - 1];
    } else if (extremes && finite) {
        pyramid.Query(v, 0, n, lo, hi);
    } else {
        any = plotmath::FiniteValueRange(v, n, lo, hi);
    }
}

ColumnRef CopiedColumn(const std::vector<float>& values, bool extremes) {
    auto column = std::make_shared<SampleColumn>(extremes);
    column->Take(std::make_shared<const std::vector<float>>(values));
    return column;
}
